// The one way an operation is run on the editor's state when what it changed
// is wanted (the window's undo): the document is compared before and after,
// so that the outcome carries what it changed.
#pragma once

#include <functional>

#include "ops/editor_state.h"
#include "ops/outcome.h"
#include "rom/state_change.h"

namespace velk {

// Runs `operation` on `state`. The outcome's `change` holds what it changed
// in the document (none when nothing changed, whatever the outcome: a failed
// import that stored some entries before its problem is one change). A load
// replaces the whole document and is not compared.
Outcome runOperation(EditorState& state, const std::function<Outcome()>& operation);

}  // namespace velk
