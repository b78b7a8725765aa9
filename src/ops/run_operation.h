// The one way an operation is run on the editor's state: it is compared
// before and after, so that every outcome carries what it changed, and the
// unsaved-edits flag is set from that here and nowhere else.
#pragma once

#include <functional>

#include "ops/outcome.h"
#include "rom/editor_state.h"
#include "rom/state_change.h"

namespace velk {

// Runs `operation` on `state`. The outcome's `change` holds what it changed
// (none when nothing changed, whatever the outcome: a failed import that
// stored some entries before its problem is one change). A change marks the
// state as having unsaved edits, unless the outcome says the state is now
// what a ROM file holds.
Outcome runOperation(EditorState& state, const std::function<Outcome()>& operation);
Outcome runOperation(EditorState& state, Platform& platform, Outcome (*operation)(EditorState&, Platform&));

// Undo and redo of a step the state took, with the flag kept true to the
// file: `clean` says whether the state after it is what the file holds.
void undoStep(EditorState& state, StateChange& change, bool cleanAfter);
void redoStep(EditorState& state, StateChange& change, bool cleanAfter);

}  // namespace velk
