#include "ops/run_operation.h"

namespace velk {

Outcome runOperation(EditorState& state, const std::function<Outcome()>& operation) {
    const Document before = state;
    Outcome outcome = operation();
    if (outcome.effect == Effect::Load) return outcome;
    StateChange change = diffStates(before, state);
    if (!change.empty()) outcome.change = std::make_shared<StateChange>(std::move(change));
    return outcome;
}

Outcome runOperation(EditorState& state, Platform& platform, Outcome (*operation)(EditorState&, Platform&)) {
    return runOperation(state, [&] { return operation(state, platform); });
}

}  // namespace velk
