// The checks a translator runs before sharing: room left for a save, what
// differs from another image, the character tables as a table file, and a
// patch checked by applying it.
#pragma once

#include <filesystem>
#include <string>

#include "ops/outcome.h"
#include "ops/patch_notes.h"
#include "platform/platform.h"
#include "ops/editor_state.h"

namespace velk {

// The layout a save would make now, as the outcome's report: per place,
// bytes used and left; failed with "容量が足りません" and the largest record
// without room when a save would not fit.
Outcome spaceCheck(const EditorState& state);

// One line for a status bar (Shift-JIS), from the same plan: the bytes a
// save would leave free ("空き 274,520 バイト"), or, when it would fail,
// "容量が足りません" and by how many bytes the largest record misses.
std::string spaceNote(const EditorState& state);

// Loads the image at `path` and lists per kind how many entries differ from
// the state's and which (ranges folded, hex), as the outcome's report.
Outcome diffCheck(const EditorState& state, Platform& platform, const std::filesystem::path& path);
// "texts: 14 (0012-0015, 0100, …)": at most `shown` ranges, then "…".
std::string foldedNumbers(const std::vector<int64_t>& numbers, int digits, size_t shown = 8);

// Writes the character tables as a UTF-8 table file.
Outcome exportTableFile(EditorState& state, Platform& platform, const std::filesystem::path& path);

// Makes a patch as saveRom does, applies it in memory to the image in the
// file as loaded (behind its copier header, if any) and compares with the
// image a save writes, without a header; only a patch that gives it is
// written, once (a FIFO or a link to standard output takes it as a file
// does). The outcome's report gives size, both CRC32s and "verified", then
// patchHashLines; `facts`, what the notes need.
struct VerifiedPatch {
    Outcome outcome;
    PatchFacts facts;
};
VerifiedPatch savePatchVerified(EditorState& state, Platform& platform, const std::filesystem::path& path);

}  // namespace velk
