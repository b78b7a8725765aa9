// Search and replace over names and texts: what one rule would change, for
// a preview; the rows a user ticked, stored as one operation; and a file of
// rules applied in order.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/result.h"
#include "ops/entry_ops.h"
#include "ops/outcome.h"
#include "platform/platform.h"
#include "ops/editor_state.h"
#include "text/replace.h"

namespace velk {

struct EntryRef {
    EntryKind kind;
    int index;
    bool operator==(const EntryRef&) const = default;
};

// Every name, or every text, in order: the scopes besides a list's filtered rows.
std::vector<EntryRef> allEntries(const EditorState& state, EntryKind kind);

// One entry a rule changes. The forms are UTF-8, as entryForm gives them
// (a text's line breaks as CR LF).
struct ReplaceRow {
    EntryRef entry{EntryKind::Name, 0};
    std::string before;
    std::string after;
    std::vector<TextSpan> removed;   // in `before`
    std::vector<TextSpan> inserted;  // in `after`
    // Why `after` cannot be stored, as the import's encoder finds it, and
    // where in `after` (bytes); nothing when it can.
    std::optional<Problem> problem;
    size_t problemAt = 0;
};

// Each of `entries` that the rule changes, in the order given. A problem only
// when PCRE2 gives up.
Result<std::vector<ReplaceRow>> previewReplace(const EditorState& state, const Replacer& replacer,
                                               std::span<const EntryRef> entries);

// Stores each row's `after` into its entry, as the import would: one
// operation, so one step to undo. Changes nothing and fails when a row cannot
// be stored or its entry no longer holds `before`.
Outcome applyReplace(EditorState& state, std::span<const ReplaceRow> rows);

// The rules file at `path` (see readReplaceRules) applied in order to every
// name and text; the outcome's report has a line for each rule, "FILE:LINE:
// N names, M texts". Each entry's final form is then checked: when any cannot be
// stored, nothing changes and the outcome fails, listing each as
// "FILE:LINE: [F0 05]: why" with the line of the last rule that changed it.
Outcome replaceWithRules(EditorState& state, Platform& platform, const std::filesystem::path& path);

}  // namespace velk
