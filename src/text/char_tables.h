// The eleven character tables that map game codes to Shift-JIS characters,
// and the five tokens.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velk {

using Glyph = std::array<uint8_t, 2>;  // the two bytes of one Shift-JIS character
using CharTable = std::array<Glyph, 256>;
constexpr int kCharTableCount = 11;
using CharTables = std::array<CharTable, kCharTableCount>;

constexpr int kAddedCharTable = 8;
constexpr Glyph kFullWidthSpace = {0x81, 0x40};
constexpr uint8_t kLineBreakCode = 0x16;

// Names and texts share the game code, but differ in a few rules (word
// references, line ends, how an item's length is read).
enum class CodeKind { Name, Text };

// Tables 0-10 with their built-in contents (table 8 and 9 blank). Built once.
const CharTables& builtInCharTables();
CharTable blankCharTable();

struct Token {
    uint8_t b0;
    uint8_t b1;
    std::string text;  // Shift-JIS, parentheses included
};
// The five code pairs that are written as a word in parentheses.
const std::array<Token, 5>& tokens();
const Token* findToken(uint8_t b0, uint8_t b1);

// A slot that shows no character of its own: blank, or holding a zero byte
// (the added characters' table behind a short table file).
inline bool showsNoCharacter(const Glyph& g) { return g == kFullWidthSpace || g[0] == 0 || g[1] == 0; }

}  // namespace velk
