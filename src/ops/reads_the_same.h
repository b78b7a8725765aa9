// How a build, the workbench's Apply and a PO import store what they read:
// only the entries whose text the translator changed.
#pragma once

#include <functional>

#include "ops/outcome.h"
#include "ops/editor_state.h"

namespace velk {

// Runs `import` (anything that encodes names or texts into the state) and
// then gives every name and text whose new code reads the same as its code
// before (both decode to the same text, with the same tables and names)
// exactly what it had before: its code, its packed bytes and, for a name,
// its line as typed. So a character that stands in two slots (候 at 04 89)
// keeps its slot, an untouched text keeps its packing, and a build changes
// only the entries that were edited. The file imports of the window, the
// command line and change scripts do not take this rule: they re-encode and
// re-pack every entry they read. Returns what `import` returned.
Outcome importKeepingWhatReadsTheSame(EditorState& state, const std::function<Outcome()>& import);

enum class EntryKind;
// The same rule for `store`, which changes only the name or text `index` (by
// its number among the texts): only that entry is kept and compared.
void storeKeepingWhatReadsTheSame(EditorState& state, EntryKind kind, int index, const std::function<void()>& store);

}  // namespace velk
