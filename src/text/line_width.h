// How many character cells a line of a name or text takes on screen, and the
// box rules it is measured against.
//
// Every glyph of the tables is one cell. A word reference is as wide as the
// name it shows, as that name stands now; a token takes its own width, an
// escape (a control code) `escapeWidth`. Code 0x16 ends a line; the escape
// set as `textBoxBreak` ends the box (and its line: a line break right
// behind it starts no further line).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"
#include "text/char_tables.h"
#include "text/name_entry.h"

namespace velk {

struct BoxRules {
    int textColumns = 0;                  // cells per line of a text
    int textLines = 0;                    // lines per text, or per box with a box break
    std::vector<uint8_t> textBoxBreak;    // the code of the escape that starts a new box; empty: none
    int nameColumns = 0;                  // cells of a name
    std::array<int, 5> tokenWidths{1, 1, 1, 1, 1};  // in the order of tokens()
    int escapeWidth = 0;

    bool operator==(const BoxRules&) const = default;
};

// What one item of code is, for its width.
enum class ItemKind : uint8_t { Character, Token, WordReference, Escape, LineBreak, BoxBreak };

struct CodeItem {
    size_t offset;  // into the code
    size_t length;  // bytes
    ItemKind kind;
    int width;      // cells (0 for the breaks)
};
// The items of a name's or text's code with their widths; `nameWidths` are
// the cells of each name, by number, for the word references of a text.
std::vector<CodeItem> codeItems(std::span<const uint8_t> code, CodeKind kind, std::span<const int> nameWidths,
                                const BoxRules& rules);

// The cells of a name (a line break in one counts as an escape).
int nameWidth(std::span<const uint8_t> nameCode, const BoxRules& rules);
std::vector<int> nameWidths(ConstNameCatalogue names, const BoxRules& rules);

// The width of one line of a text: the sum of its items' cells.
int lineWidth(std::span<const uint8_t> lineCode, std::span<const int> nameWidths, const BoxRules& rules);

// One line of a text as it falls into its boxes.
struct TextLine {
    size_t begin = 0;  // its code bytes [begin, end), without the break that ends it
    size_t end = 0;
    int width = 0;      // cells
    int box = 0;        // 0-based; always 0 without a box break
    int lineInBox = 0;  // 0-based
    size_t firstPast = SIZE_MAX;  // where the first item that reaches past textColumns starts; SIZE_MAX: none
};
std::vector<TextLine> textLines(std::span<const uint8_t> code, std::span<const int> nameWidths, const BoxRules& rules);

// Whether every line of the text fits its columns and every box its lines.
bool textFits(std::span<const TextLine> lines, const BoxRules& rules);

// What keeps a text from fitting its boxes: a LinePastColumns for each line
// past text-columns (offset: its first item past them), a TextPastLines for
// each text or box past text-lines (offset: where its first line past them
// begins, the code's size for an empty last line). Offsets are into the code.
std::vector<Problem> fitProblems(std::span<const TextLine> lines, size_t codeSize, const BoxRules& rules);
// The same for a name or text's code; a name past name-columns is one
// NamePastColumns (offset: its first item past them).
std::vector<Problem> fitProblems(std::span<const uint8_t> code, CodeKind kind, std::span<const int> nameWidths,
                                 const BoxRules& rules);

// The limits the base's own texts and names keep, measured with the rules'
// widths and box break: the widest line, the most lines in one box (or
// text), the widest name; and where each was found (entry and 0-based line).
struct InferredLimits {
    int textColumns = 0, textLines = 0, nameColumns = 0;
    int widestText = 0, widestTextLine = 0, longestText = 0, widestName = 0;
};
InferredLimits inferLimits(ConstCatalogue texts, ConstNameCatalogue names, const BoxRules& rules);

}  // namespace velk
