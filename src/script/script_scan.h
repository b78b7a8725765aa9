// What every section handler shares: the scan over the script buffer, the
// marks, tokens and numbers it finds.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/result.h"
#include "script/change_script.h"
#include "text/glyph_lookup.h"

namespace velk {

// One run of a script over the editor's state.
struct ScriptRun {
    std::span<const uint8_t> script;
    Document& state;
    ScriptFiles& files;
    bool fullWidth;                     // characters without a glyph tried full-width
    std::optional<GlyphLookup> glyphs;  // built on first use, dropped when the tables change

    const GlyphLookup& glyphLookup();
    bool hasPair(size_t at, uint8_t a, uint8_t b) const {
        return at + 1 < script.size() && script[at] == a && script[at + 1] == b;
    }
    bool isMarker(size_t at) const { return hasPair(at, ';', ';'); }
    int64_t lineOf(size_t at) const { return scriptLineOf(script, at); }

    // The first position >= from that holds `pair` (or the single byte `c`),
    // stopping at a section marker or the end of the data: nothing then.
    std::optional<size_t> findBeforeMarker(size_t from, uint8_t a, uint8_t b) const;
    std::optional<size_t> findByteBeforeMarker(size_t from, uint8_t c) const;

    // The whitespace-delimited token from `from` (leading white space
    // skipped), ending at white space, a zero byte or the end of the data,
    // at most 999 bytes.
    std::string tokenAt(size_t from) const;

    // Reads the file named behind the file mark at `mark`.
    Result<std::vector<uint8_t>> readNamedFile(size_t mark, size_t maxBytes);

    // The number behind the next '.' from `from`, before any marker: its
    // value (FF when no digits follow the '.') and the '.''s position.
    struct Number {
        int64_t value;
        size_t dot;
    };
    std::optional<Number> nextNumber(size_t from) const;

    // A problem at `at` with its line: an entry short of something, or a
    // number out of range (`which` of the entry's numbers).
    Problem incomplete(size_t at, ProblemCode code, int64_t which = 0) const;
    Problem outOfRange(size_t at, ProblemCode code, int64_t which = 0) const { return incomplete(at, code, which); }
};

// The scan every section makes: from `p`, each place where its entry mark
// (the two bytes a, b) stands is handed to `entry`, which applies that entry
// and returns where the scan goes on (the next byte, when it is no entry
// after all); any other byte is passed over. Ends at the next section marker
// or the end of the data, or with the first entry's problem.
template <typename Entry>
Result<size_t> forEachEntry(ScriptRun& run, size_t p, uint8_t a, uint8_t b, Entry entry) {
    while (p < run.script.size()) {
        if (run.isMarker(p)) return p;
        if (!run.hasPair(p, a, b)) {
            ++p;
            continue;
        }
        Result<size_t> next = entry(p);
        if (!next) return next;
        p = *next;
    }
    return p;
}

// The same for the sections whose entries start with a file mark ("@@").
template <typename Entry>
Result<size_t> forEachFileEntry(ScriptRun& run, size_t p, Entry entry) {
    return forEachEntry(run, p, '@', '@', entry);
}

// The script's white space: blank, tab, LF, VT, FF, CR.
inline bool isScriptSpace(uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The section handlers: each scans from `start` (just behind the marker) and
// returns the position of the next marker, or the data's size at its end.
Result<size_t> applyWordListSection(ScriptRun& run, size_t start);
Result<size_t> applyTextSection(ScriptRun& run, size_t start);
Result<size_t> applyAddedCharactersSection(ScriptRun& run, size_t start);
Result<size_t> applyIpsPatchSection(ScriptRun& run, size_t start);
Result<size_t> applyClassSGraphicsSection(ScriptRun& run, size_t start);
Result<size_t> applyItemGraphicsSection(ScriptRun& run, size_t start);

}  // namespace velk
