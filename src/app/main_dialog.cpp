#include "app/main_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include "app/about_dialog.h"
#include "app/dialog_units.h"
#include "app/mode_table.h"
#include "app/program_icon.h"
#include "app/qt_text.h"
#include "ops/operations.h"

namespace velk {

MainDialog::MainDialog(EditorSession& session, QWidget* parent) : QDialog(parent), session_(session) {
    setWindowTitle(QStringLiteral("VELK"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());
    setFont(editorFont());
    const DialogBaseUnits u = dialogBaseUnits(font());
    setFixedSize(fromDialogUnits(u, 0, 0, 111, 79).size());

    // The controls keep the names (and, in comments, the ids 1004-1006) of the dialog template.
    modeCombo_ = new QComboBox(this);  // 1004
    modeCombo_->setObjectName(QStringLiteral("ModeCombo"));
    for (const Mode& mode : modeTable()) modeCombo_->addItem(qtText(mode.item));
    modeCombo_->setMaxVisibleItems(kModeCount);
    const QRect comboRect = fromDialogUnits(u, 16, 19, 81, 87);
    modeCombo_->setGeometry(comboRect.x(), comboRect.y(), comboRect.width(), modeCombo_->sizeHint().height());

    // The template's labels are mode 0's.
    extractButton_ = new QPushButton(qtText(modeTable()[0].extract.label), this);  // 1005
    extractButton_->setObjectName(QStringLiteral("ExtractButton"));
    extractButton_->setGeometry(fromDialogUnits(u, 16, 45, 33, 15));
    writeButton_ = new QPushButton(qtText(modeTable()[0].write.label), this);  // 1006
    writeButton_->setObjectName(QStringLiteral("WriteButton"));
    writeButton_->setGeometry(fromDialogUnits(u, 61, 45, 35, 15));
    workbenchButton_ = new QPushButton(QString::fromUtf8("一覧"), this);
    workbenchButton_->setObjectName(QStringLiteral("WorkbenchButton"));
    workbenchButton_->setGeometry(fromDialogUnits(u, 61, 63, 35, 12));
    workbenchButton_->setToolTip(QString::fromUtf8("名前・テキスト・顔・ユニットグラフィックを一覧で見て編集します"));
    setTabOrder(modeCombo_, extractButton_);
    setTabOrder(extractButton_, writeButton_);
    setTabOrder(writeButton_, workbenchButton_);

    // Window managers here keep the title-bar menu to themselves, so the
    // version item lives in the window's context menu.
    windowMenu_ = new QMenu(this);
    QAction* about = windowMenu_->addAction(QString::fromUtf8("VELK のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    about->setData(kAboutCommand);
    connect(about, &QAction::triggered, this, [this] { systemCommand(kAboutCommand); });

    connect(modeCombo_, &QComboBox::currentIndexChanged, this, [this](int selection) { applyMode(selection); });
    connect(extractButton_, &QPushButton::clicked, this, [this] { runExtract(); });
    connect(writeButton_, &QPushButton::clicked, this, [this] { runWrite(); });
    connect(workbenchButton_, &QPushButton::clicked, this, &MainDialog::workbenchRequested);
    modeCombo_->setFocus();
}

bool MainDialog::initialise() {
    // Asks until a ROM loads, or the user cancels.
    for (;;) {
        const Outcome opened = session_.runAsking(QString(), Ask::OpenRom, false, openRomAtStart);
        if (opened.done()) break;
        if (opened.cancelled()) return false;
    }
    modeCombo_->blockSignals(true);  // selecting item 0 is not a mode change
    modeCombo_->setCurrentIndex(0);
    modeCombo_->blockSignals(false);
    return true;
}

void MainDialog::systemCommand(int id) {
    if ((id & 0xFFF0) != kAboutCommand) return;
    AboutDialog about(this);
    about.exec();
}

void MainDialog::applyMode(int selection) {
    const Mode* mode = modeAt(selection);
    if (!mode) return;
    const std::pair<QPushButton*, const ButtonAction*> buttons[] = {{extractButton_, &mode->extract},
                                                                    {writeButton_, &mode->write}};
    for (const auto& [button, action] : buttons) {
        if (action->shown) button->setText(qtText(action->label));
        button->setVisible(action->shown);
    }
}

void MainDialog::runExtract() {
    const Mode* mode = modeAt(modeCombo_->currentIndex());
    if (!mode || !mode->extract.shown || !mode->extract.run) return;
    mode->extract.run(session_, qtText(mode->extract.label));
}

void MainDialog::runWrite() {
    const Mode* mode = modeAt(modeCombo_->currentIndex());
    if (!mode || !mode->write.shown || !mode->write.run) return;
    mode->write.run(session_, qtText(mode->write.label));
}

void MainDialog::done(int result) {
    // A save made here is a step of the session like any other.
    // With unsaved edits, asks whether to save them; a cancelled or failed
    // save keeps the window open.
    if (session_.isModified()) {
        switch (session_.dialogs().askToSaveChanges(saveBeforeCloseQuestion())) {
            case Dialogs::SaveChoice::Save:
                if (!session_.runAsking(QString::fromUtf8("保存"), Ask::SaveRom, true, saveRom).done()) return;
                break;
            case Dialogs::SaveChoice::Discard: break;
            case Dialogs::SaveChoice::Cancel: return;
        }
    }
    QDialog::done(result);
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    // A focused button takes Enter itself; anywhere else a stray Enter does
    // nothing (Escape still closes the window). The Menu key opens the
    // context menu as a right click does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    if (event->key() == Qt::Key_Menu) {
        windowMenu_->popup(mapToGlobal(QPoint(width() / 2, height() / 2)));
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) { windowMenu_->popup(event->globalPos()); }

}  // namespace velk
