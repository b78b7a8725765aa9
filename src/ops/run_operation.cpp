#include "ops/run_operation.h"

namespace velk {

Outcome runOperation(EditorState& state, const std::function<Outcome()>& operation) {
    const EditorState before = state;
    Outcome outcome = operation();
    StateChange change = diffStates(before, state);
    if (!change.empty()) outcome.change = std::make_shared<StateChange>(std::move(change));
    if (outcome.matchesRomFile)
        state.unsavedEdits = false;
    else if (outcome.change)
        state.unsavedEdits = true;
    return outcome;
}

Outcome runOperation(EditorState& state, Platform& platform, Outcome (*operation)(EditorState&, Platform&)) {
    return runOperation(state, [&] { return operation(state, platform); });
}

void undoStep(EditorState& state, StateChange& change, bool cleanAfter) {
    undoChange(state, change);
    state.unsavedEdits = !cleanAfter;
}

void redoStep(EditorState& state, StateChange& change, bool cleanAfter) {
    redoChange(state, change);
    state.unsavedEdits = !cleanAfter;
}

}  // namespace velk
