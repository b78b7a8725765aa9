// The main window: the mode list and its two buttons.
#pragma once

#include <QDialog>
#include <QString>

#include "app/editor_session.h"

class QComboBox;
class QMenu;
class QPushButton;

namespace velk {

class MainDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kAboutCommand = 16;

    // The buttons run their operations through the session, each an undo step
    // named as its button.
    explicit MainDialog(EditorSession& session, QWidget* parent = nullptr);

    // Asks for the ROM and builds the catalogues; false when the user cancels.
    bool initialise();

    // A window-menu command: the version box for kAboutCommand.
    void systemCommand(int id);

    QComboBox* modeCombo() const { return modeCombo_; }
    QPushButton* extractButton() const { return extractButton_; }
    QPushButton* writeButton() const { return writeButton_; }
    QMenu* windowMenu() const { return windowMenu_; }

    // Every way of closing ends here: with unsaved edits, asks first.
    void done(int result) override;

signals:
    // "一覧" was pressed.
    void workbenchRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applyMode(int selection);
    void runExtract();
    void runWrite();

    EditorSession& session_;
    QComboBox* modeCombo_;
    QPushButton* extractButton_;
    QPushButton* writeButton_;
    QMenu* windowMenu_;
    QPushButton* workbenchButton_;
};

}  // namespace velk
