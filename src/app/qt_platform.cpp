#include "app/qt_platform.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include "app/desktop.h"
#include "app/qt_text.h"

namespace velk {

QString qtNameFilters(std::string_view sjisFilter) {
    const QStringList parts = qtText(sjisFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& label = parts[i];
        const QString& pattern = parts[i + 1];
        if (label.isEmpty() && pattern.isEmpty()) break;  // the closing "||"
        const QString patterns = QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the label's last parentheses.
        filters << (label.endsWith(QLatin1Char(')')) && label.contains(QLatin1Char('('))
                        ? label.left(label.lastIndexOf(QLatin1Char('('))) + QLatin1Char('(') + patterns + QLatin1Char(')')
                        : label + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString initialDialogFolder() {
    const QString folder = qtText(kInitialFolder);
    return QFileInfo(folder).isDir() ? QFileInfo(folder).absoluteFilePath() : QString();
}

std::optional<ChosenFile> QtPlatform::showDialog(const FileDialogOptions& options, bool save) {
    // The captions the home platform's common dialogs carry.
    const QString caption = QString::fromUtf8(save ? "名前を付けて保存" : "開く");
    // Each kind of dialog (told by its filter) opens where it last chose a file.
    const QString kind = qtText(options.filter);
    QString folder = lastFolder(kind);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = lastFolder_.isEmpty() ? initialDialogFolder() : lastFolder_;
    QFileDialog dialog(parent_, caption, folder, qtNameFilters(options.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(qtText(options.defaultExtension));
    // A typed name without an extension takes the chosen filter's ("*.png"),
    // or the dialog's own under a filter of several or of any.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &options](const QString& filter) {
        const QRegularExpressionMatch one = QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)\\)$")).match(filter);
        dialog.setDefaultSuffix(one.hasMatch() ? one.captured(1) : qtText(options.defaultExtension));
    });
    const QString initialName = qtText(options.initialFileName);
    if (!initialName.contains(QLatin1Char('*')) && !initialName.contains(QLatin1Char('?')))
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QFileInfo chosen(dialog.selectedFiles().front());
    lastFolder_ = chosen.absolutePath();  // the next dialog opens here
    setLastFolder(kind, lastFolder_);
    if (!save) QDir::setCurrent(chosen.absolutePath());
    return ChosenFile{std::filesystem::path(QFile::encodeName(chosen.absoluteFilePath()).toStdString()),
                      sjisText(chosen.fileName())};
}

std::optional<ChosenFile> QtPlatform::openFileDialog(const FileDialogOptions& options) {
    return showDialog(options, false);
}

std::optional<ChosenFile> QtPlatform::saveFileDialog(const FileDialogOptions& options) {
    return showDialog(options, true);
}

std::optional<ChosenFile> QtPlatform::folderDialog(const FileDialogOptions&) {
    const QString folder = QFileDialog::getExistingDirectory(parent_, QString::fromUtf8("フォルダーの選択"), initialDialogFolder());
    if (folder.isEmpty()) return std::nullopt;
    const QFileInfo chosen(folder);
    return ChosenFile{std::filesystem::path(QFile::encodeName(chosen.absoluteFilePath()).toStdString()),
                      sjisText(chosen.fileName())};
}

Dialogs::SaveChoice QtPlatform::askToSaveChanges(std::string_view question, bool mnemonics) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("VELK"), qtText(question), QMessageBox::NoButton, parent_);
    auto label = [mnemonics](const char* text, const char* key) {
        return QString::fromUtf8(text) + (mnemonics ? QString::fromUtf8(key) : QString());
    };
    QPushButton* save = box.addButton(label("保存", "(&S)"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(label("保存しない", "(&N)"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(label("キャンセル", "(&C)"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::Save;
    if (box.clickedButton() == discard) return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

void QtPlatform::showMessage(const Message& message) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("VELK"), QString::fromStdString(message.display),
                    QMessageBox::Ok, parent_);
    if (!message.detail.empty()) box.setInformativeText(QString::fromStdString(message.detail));
    box.exec();
}

}  // namespace velk
