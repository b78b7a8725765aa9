#include <algorithm>

#include "script/script_scan.h"

namespace velk {
namespace {

constexpr size_t kTableFileBytes = 512;

// Copies the file's first whitespace-delimited token (at most 512 bytes,
// ending at the last byte the file supplied) and a terminating zero into the
// added characters' table, byte by byte from its start. The bytes behind the
// terminator keep what they held.
void installTable(CharTable& table, std::span<const uint8_t> file) {
    file = file.first(std::min(file.size(), kTableFileBytes));
    size_t p = 0;
    while (p < file.size() && isScriptSpace(file[p])) ++p;
    size_t n = 0;
    auto put = [&](size_t i, uint8_t b) { table[i / 2][i % 2] = b; };
    while (p < file.size() && !isScriptSpace(file[p]) && file[p] != 0) put(n++, file[p++]);
    if (n < 2 * table.size()) put(n, 0);
}

}  // namespace

Result<size_t> applyAddedCharactersSection(ScriptRun& run, size_t start) {
    Document& state = run.state;
    return forEachFileEntry(run, start, [&](size_t mark) -> Result<size_t> {
        Result<std::vector<uint8_t>> glyphs = run.readNamedFile(mark, kGlyphSheetSize);
        if (!glyphs) return std::move(glyphs.problem());
        state.glyphSheetLoaded = true;
        std::copy_n(glyphs->begin(), std::min(glyphs->size(), kGlyphSheetSize), state.glyphSheet.begin());
        // The table file's mark is simply the next file mark.
        const std::optional<size_t> tableMark = run.findBeforeMarker(mark + 1, '@', '@');
        if (!tableMark) return run.incomplete(mark, ProblemCode::GlyphsWithoutTable);
        Result<std::vector<uint8_t>> table = run.readNamedFile(*tableMark, kTableFileBytes);
        if (!table) return std::move(table.problem());
        installTable(state.tables[kAddedCharTable], *table);
        run.glyphs.reset();
        return *tableMark + 1;
    });
}

}  // namespace velk
