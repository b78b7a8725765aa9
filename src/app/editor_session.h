// The one editing session both windows work through: the state, the
// platform, the undo stack, and what the last operation did.
#pragma once

#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <vector>

#include "ops/operations.h"
#include "ops/outcome.h"
#include "platform/platform.h"
#include "rom/editor_state.h"

namespace velk {

using SessionOperation = std::function<Outcome(EditorState&, Platform&)>;

class EditorSession {
public:
    static constexpr int kUndoLimit = 200;

    EditorSession(EditorState& state, Platform& platform);
    ~EditorSession();

    EditorState& state() { return state_; }
    Platform& platform() { return platform_; }
    QUndoStack& undoStack() { return undoStack_; }

    // Runs an operation; what it changed becomes one undo step named
    // `stepName`. What a save changes (the layout) joins the step before it,
    // so that undo after a save takes back the last edit; a load starts a
    // new history.
    // An operation that ends on what a ROM file holds (outcome.matchesRomFile)
    // is a load when it is `kind` Load or names another file, else a save.
    enum class Kind { Edit, Load };
    Outcome run(const QString& stepName, const SessionOperation& op, Kind kind = Kind::Edit);
    // The same for a button's operation.
    Outcome runOperation(const QString& stepName, Operation op);
    // After a ROM was loaded: forget the steps, keep the entries as loaded.
    void loaded();
    // The bytes the undo history holds.
    size_t bytesHeld() const;

    // Names and texts as the ROM held them when it was loaded.
    const std::vector<NameEntry>& namesAsLoaded() const { return namesAsLoaded_; }
    const std::vector<ResourceEntry>& textsAsLoaded() const { return textsAsLoaded_; }

    // "demo.smc *" (the mark while unsaved) and the last operation's words.
    QString fileTitle() const;
    QString statusText() const { return status_; }
    // The room a save would leave, or how far it would miss, as of the last change.
    QString spaceNote() const { return spaceNote_; }

    // What the last notify is about: everything (a load), or the names and
    // texts (by index) an edit, undo or redo changed; nothing but the status
    // when `state` is false.
    struct Change {
        bool all = true;
        bool state = true;
        bool graphics = true;  // faces, unit graphics, colour sets, added characters
        std::vector<int> names, texts;
    };
    const Change& lastChange() const { return change_; }

    // Called once after every change of the state (an edit, undo, redo,
    // load), and after every status change.
    int onChange(std::function<void()> listener);
    void removeListener(int id);
    void notify();
    void notify(Change change);

private:
    class StepCommand;

    EditorState& state_;
    Platform& platform_;
    QUndoStack undoStack_;
    std::vector<NameEntry> namesAsLoaded_;
    std::vector<ResourceEntry> textsAsLoaded_;
    void forgetSteps();

    QString status_, spaceNote_;
    Change change_;
    bool stepDone_ = false;  // an undo or redo waits for the stack to settle
    std::vector<std::pair<int, std::function<void()>>> listeners_;
    int nextListener_ = 1;
};

}  // namespace velk
