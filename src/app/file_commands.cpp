#include "app/file_commands.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QWidget>

#include "app/desktop.h"
#include "app/qt_text.h"
#include "ops/sharing_checks.h"

namespace velk {
namespace {

const QString kRecentKey = QStringLiteral("recentFiles");

}  // namespace

QString displayPath(const std::filesystem::path& path) { return QFile::decodeName(QByteArray::fromStdString(path.string())); }
std::filesystem::path filePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

FileCommands::FileCommands(EditorSession& session, QWidget* window) : QObject(window), session_(session), window_(window) {
    inform = [this](const QString& report) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("VELK"), report.section(u'\n', 0, 0), QMessageBox::Ok, window_);
        box.setDetailedText(report);
        box.exec();
    };
}

void FileCommands::open() { remember(session_.reload(tr("ROM の読み込み"))); }

void FileCommands::openFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        forget(path);
        showWords(tr("%1 が見つかりません。最近使ったファイルの一覧から外しました。").arg(QFileInfo(path).fileName()));
        return;
    }
    const std::filesystem::path file = filePath(QFileInfo(path).absoluteFilePath());
    remember(session_.reload(tr("ROM の読み込み"), ChosenFile{file, sjisText(QFileInfo(path).fileName())}));
}

void FileCommands::save() {
    // Over the loaded file, or in a project into its files.
    if (!session_.state().loaded.path.empty()) session_.saveInPlace();
}

void FileCommands::saveAs() {
    const std::filesystem::path loaded = session_.state().loaded.path;
    if (loaded.empty()) return;
    FileQuestion q = fileQuestion(Ask::SaveRom, true);
    // Starts in the ROM's folder with its name filled in.
    q.options.initialFileName = sjisText(displayPath(std::filesystem::absolute(loaded)));
    const std::optional<ChosenFile> file = session_.dialogs().saveFileDialog(q.options);
    if (!file) return;
    // A ROM written from a project is an output: the project keeps its base.
    const Operation write = session_.project() ? saveRom : saveRomAs;
    remember(session_.run(tr("名前を付けて保存"), [&](EditorState& s, Platform& p) { return write(s, p, file->path); }));
}

void FileCommands::exportPatch() {
    if (session_.state().loaded.path.empty()) return;
    const std::optional<ChosenFile> file = askForFile(session_.dialogs(), Ask::Patch, true);
    if (!file) return;
    std::filesystem::path path = file->path;
    if (patchKindOf(path) == PatchKind::None) path += ".ips";
    const Outcome o = session_.run(tr("パッチの書き出し"), [&](EditorState& s, Platform& p) {
        Outcome written = savePatchVerified(s, p, path).outcome;
        // The status line reads as the command line's first line: size, CRC32s, "verified".
        if (written.done()) written.summary = toCp932(written.report.substr(0, written.report.find('\n')));
        return written;
    });
    if (o.done() && inform) inform(QString::fromStdString(o.report).trimmed());
}

QStringList FileCommands::recentFiles() const { return velkSettings().value(kRecentKey).toStringList(); }

void FileCommands::remember(const Outcome& outcome) {
    if (outcome.done() && outcome.effect != Effect::Edit) rememberLoaded();
}

void FileCommands::rememberLoaded() {
    if (session_.state().loaded.path.empty()) return;
    const QString path = QFileInfo(displayPath(session_.state().loaded.path)).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentCount) files.removeLast();
    velkSettings().setValue(kRecentKey, files);
    emit recentFilesChanged();
}

void FileCommands::forget(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    velkSettings().setValue(kRecentKey, files);
    emit recentFilesChanged();
}

void FileCommands::showWords(const QString& words) {
    session_.dialogs().showMessage(Message{sjisText(words), words.toStdString(), {}});
}

}  // namespace velk
