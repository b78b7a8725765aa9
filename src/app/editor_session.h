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

    // Runs an edit; what it changed becomes one undo step named `stepName`.
    Outcome run(const QString& stepName, const SessionOperation& op);
    // The same for a button's operation: an edit, a save or a reload as it is.
    Outcome runOperation(const QString& stepName, Operation op);
    // After a ROM was loaded outside run(): forget the steps, keep the entries as loaded.
    void loaded();
    // After a save: the state as it stands is the saved one.
    void saved();

    // Names and texts as the ROM held them when it was loaded.
    const std::vector<ResourceEntry>& namesAsLoaded() const { return namesAsLoaded_; }
    const std::vector<ResourceEntry>& textsAsLoaded() const { return textsAsLoaded_; }

    // "demo.smc *" (the mark while unsaved) and the last operation's words.
    QString fileTitle() const;
    QString statusText() const { return status_; }
    // What a save would leave free, shown after the status; empty until known.
    void setSpaceNote(const QString& note);
    QString spaceNote() const { return spaceNote_; }

    // Called after every change of the state (an edit, undo, redo, load),
    // and after every status change.
    int onChange(std::function<void()> listener);
    void removeListener(int id);
    void notify();

private:
    struct Step;
    class StepCommand;
    void recordOutcome(const QString& stepName, const Outcome& outcome);

    EditorState& state_;
    Platform& platform_;
    QUndoStack undoStack_;
    std::vector<ResourceEntry> namesAsLoaded_, textsAsLoaded_;
    QString status_, spaceNote_;
    std::vector<std::pair<int, std::function<void()>>> listeners_;
    int nextListener_ = 1;
};

}  // namespace velk
