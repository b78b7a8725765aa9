// The one way an operation is run on the editor's state when what it changed
// is wanted (the window's undo): the document is compared before and after,
// so that the outcome carries what it changed.
#pragma once

#include <functional>

#include "ops/editor_state.h"
#include "ops/entry_ops.h"
#include "ops/outcome.h"
#include "rom/state_change.h"

namespace velk {

// Runs `operation` on `state`. The outcome's `change` holds what it changed
// in the document (none when nothing changed, whatever the outcome: a failed
// import that stored some entries before its problem is one change). A load
// replaces the whole document and is not compared.
Outcome runOperation(EditorState& state, const std::function<Outcome()>& operation);

// The names or texts (by their number among the texts) an operation changes,
// and nothing else of the document.
struct EntryScope {
    EntryKind kind;
    std::vector<int> indices;
};
// The same for an operation that changes only the entries of `scope` (an
// applied or restored text): only those are kept before it and compared
// after it, not the whole document.
Outcome runOperation(EditorState& state, const EntryScope& scope, const std::function<Outcome()>& operation);

}  // namespace velk
