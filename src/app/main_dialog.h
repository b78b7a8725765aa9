// The main window: the mode list and its two buttons.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "ops/operations.h"
#include "platform/platform.h"
#include "rom/editor_state.h"

class QComboBox;
class QMenu;
class QPushButton;

namespace velk {

class MainDialog : public QDialog {
public:
    static constexpr int kAboutCommand = 16;

    MainDialog(EditorState& state, Platform& platform, QWidget* parent = nullptr);

    // Asks for the ROM and builds the catalogues; false when the user cancels.
    bool initialise();

    // A window-menu command: the version box for kAboutCommand.
    void systemCommand(int id);

    QComboBox* modeCombo() const { return modeCombo_; }
    QPushButton* extractButton() const { return extractButton_; }
    QPushButton* writeButton() const { return writeButton_; }
    QMenu* windowMenu() const { return windowMenu_; }
    QPushButton* workbenchButton() const { return workbenchButton_; }

    // How the buttons run their operations (named as the undo step), and
    // what "一覧" opens; without them the buttons call the operation directly.
    std::function<Outcome(const QString& stepName, Operation op)> runOperation;
    std::function<void()> openWorkbench;

    // Every way of closing ends here: with unsaved edits, asks first.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applyMode(int selection);
    void runExtract();
    void runWrite();

    EditorState& state_;
    Platform& platform_;
    QComboBox* modeCombo_;
    QPushButton* extractButton_;
    QPushButton* writeButton_;
    QMenu* windowMenu_;
    QPushButton* workbenchButton_;
};

}  // namespace velk
