// A team's glossary (glossary.tsv: the agreed translation of each term) and
// the repeats (entries whose original is the same text), as the check and
// the translation desk use them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/result.h"

namespace velk {

constexpr const char* kGlossaryFileName = "glossary.tsv";

struct GlossaryTerm {
    std::string original;     // UTF-8, as the original text spells it
    std::string translation;  // UTF-8; empty: not agreed yet
    std::string note;
    int64_t line = 0;         // 1-based, in glossary.tsv
};

// Reads glossary.tsv: UTF-8, one ORIGINAL<TAB>TRANSLATION[<TAB>NOTE] per
// line (LF or CR LF), '#' lines and empty lines passed over. A line without
// a tab is GlossaryNoTranslation; bytes that are no UTF-8 are NotUtf8. The
// problem's `line` and `x` are its line and column.
Result<std::vector<GlossaryTerm>> parseGlossary(std::span<const uint8_t> bytes);

// The glossary file with a line ORIGINAL<TAB>TRANSLATION[<TAB>NOTE] added
// at its end (LF) for each term whose original it does not hold yet, the
// rest kept byte for byte; a term whose fields hold a tab or line break is
// passed over. Adding the same terms again gives the same bytes.
std::vector<uint8_t> glossaryWithTerms(std::span<const uint8_t> file, std::span<const GlossaryTerm> terms);

// The terms whose original the entry's original holds and whose agreed
// translation its text lacks (terms without a translation never count).
std::vector<const GlossaryTerm*> missingTerms(std::span<const GlossaryTerm> glossary, std::string_view original,
                                              std::string_view text);

// The entries whose originals are the same non-empty text: groups of two or
// more, each in ascending order, the groups by their first entry.
std::vector<std::vector<size_t>> repeatGroups(std::span<const std::string> originals);

}  // namespace velk
