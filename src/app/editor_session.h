// The one editing session both windows work through: the state, the
// platform, the undo stack, and what the last operation did. The windows
// listen to its signals.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/file_questions.h"
#include "ops/editor_state.h"
#include "ops/operations.h"
#include "ops/outcome.h"
#include "ops/run_operation.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

namespace velk {

struct OpenProject;  // ops/desk_ops.h
class TranslationDesk;

using SessionOperation = std::function<Outcome(EditorState&, Platform&)>;

class EditorSession : public QObject {
    Q_OBJECT

public:
    static constexpr int kUndoLimit = 200;

    // What a change is about: everything (a load), or the names and texts
    // (by index) an edit, undo or redo changed.
    struct Change {
        bool all = true;
        bool graphics = true;  // faces, unit graphics, colour sets, added characters
        std::vector<int> names, texts;
    };

    // The operations work on files through `platform`; `dialogs` asks the
    // user for them and shows what stopped an operation.
    EditorSession(EditorState& state, Platform& platform, Dialogs& dialogs, QObject* parent = nullptr);
    ~EditorSession() override;

    EditorState& state() { return state_; }
    Platform& platform() { return platform_; }
    Dialogs& dialogs() { return dialogs_; }
    QUndoStack& undoStack() { return undoStack_; }
    // Edits since the load or the last save: the undo stack is not at its clean mark.
    bool isModified() const { return !undoStack_.isClean(); }

    // Runs an operation and shows the problem that stopped it. What it
    // changed in the document becomes one undo step named `stepName`. What a
    // save changes (the layout) joins the step before it, so that undo after
    // a save takes back the last edit, and the save marks the stack clean; a
    // load starts a new history. With `scope`, the operation changes only
    // those names or texts, and only they are compared.
    Outcome run(const QString& stepName, const SessionOperation& op, const std::optional<EntryScope>& scope = std::nullopt);
    // The same for an operation on a file: asks for it with the dialog `ask`
    // (a save dialog when `save`), then runs `op` on the path chosen.
    // Cancelled, with nothing run, when the user cancels.
    Outcome runAsking(const QString& stepName, Ask ask, bool save, Operation op);
    // Asks for another ROM and loads it. With unsaved edits, asks once it has
    // loaded whether to save them over the loaded file first (so that a
    // cancelled dialog or a file that does not load asks nothing); Cancel
    // keeps everything.
    Outcome reload(const QString& stepName);
    // The same for a file already chosen (a recent file, a dropped one).
    Outcome reload(const QString& stepName, const ChosenFile& file);
    // Before the window closes: with unsaved edits, asks whether to save them
    // over the loaded file. False when the user cancels or the save fails.
    bool settleUnsavedEdits();
    // After a ROM was loaded outside the session: forget the steps, keep the
    // entries as loaded, and tell the windows everything changed.
    void loaded();
    // The original, status and note of each name and text.
    TranslationDesk& desk() { return *desk_; }
    // Shows words in the status line.
    void showStatus(QString status) { setStatus(std::move(status)); }
    // The bytes the undo history holds.
    size_t bytesHeld() const;

    // Names and texts as the ROM held them when it was loaded.
    const std::vector<NameEntry>& namesAsLoaded() const { return namesAsLoaded_; }
    const std::vector<ResourceEntry>& textsAsLoaded() const { return textsAsLoaded_; }

    // "demo.smc *" (the mark while modified; in a project "proj (base.smc) *") and the last operation's words.
    QString fileTitle() const;
    QString statusText() const { return status_; }
    // The room a save would leave, or how far it would miss, as of the last change.
    QString spaceNote() const { return spaceNote_; }

    // The project open in the window (app/project_session.h opens and saves
    // it), or nullptr when a ROM is open on its own.
    OpenProject* project() { return project_.get(); }
    const OpenProject* project() const { return project_.get(); }
    void setProject(std::unique_ptr<OpenProject> project);
    // Saves where the edits belong: in a project its files (and only that
    // marks the edits saved: a ROM or patch written from a project is an
    // output), otherwise the ROM over the loaded file.
    Outcome saveInPlace();

signals:
    // A project was opened, built again or closed.
    void projectChanged();
    // saveInPlace wrote the project's files.
    void projectSaved();
    // The document changed (an edit, undo, redo or load).
    void changed(const velk::EditorSession::Change& change);
    // The status line's words, or the file's title, changed.
    void statusChanged(const QString& status);
    // The document came to be, or stopped being, what the file holds.
    void cleanChanged(bool clean);

private:
    class StepCommand;

    void forgetSteps();
    void setStatus(QString status);
    void documentChanged(const Change& change);

    EditorState& state_;
    Platform& platform_;
    Dialogs& dialogs_;
    QUndoStack undoStack_;
    TranslationDesk* desk_ = nullptr;
    std::vector<NameEntry> namesAsLoaded_;
    std::vector<ResourceEntry> textsAsLoaded_;

    std::unique_ptr<OpenProject> project_;
    bool savingProject_ = false;
    QString status_, spaceNote_;
    Change pending_;         // what an undo or redo changed, told once the stack settles
    bool stepDone_ = false;  // an undo or redo waits for the stack to settle
};

}  // namespace velk
