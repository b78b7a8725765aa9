#include "text/table_file.h"

#include <cstdio>

#include "text/sjis.h"

namespace velk {
namespace {

std::string glyphText(const Glyph& g) {
    return fromCp932(std::string{static_cast<char>(g[0]), static_cast<char>(g[1])});
}

std::string hex(unsigned v, int digits) {
    char s[8];
    std::snprintf(s, sizeof s, "%0*X", digits, v);
    return s;
}

}  // namespace

std::string tableFileText(const CharTables& tables) {
    std::string out =
        "# VELK character tables. One-byte codes, then two-byte codes (table, slot) big-endian.\n"
        "# Codes VELK writes as words in its text files, not as characters:\n"
        "#   00 ends a name (/00 below); 16 is a line break in a text, a new line in the file (*16 below)\n"
        "#   F0-FF xx in a text: a word reference, written [F1 23:(name)]\n"
        "#   11 12 13 15: one-byte codes, written !11!\n"
        "#   14 18 1A-1D xx and tables 0B-1F: two-byte codes, written ?18 05?\n"
        "#   tokens, written as a word in parentheses:\n";
    for (const Token& t : tokens()) out += "#   " + hex(t.b0, 2) + hex(t.b1, 2) + "=" + fromCp932(t.text) + "\n";
    out += "/00\n*16\n";
    for (unsigned code = 0x10; code < 0xF0; ++code) {
        if (code != 0x10 && code < 0x20) continue;
        const Glyph& g = tables[0][code];
        if (showsNoCharacter(g) && code != 0x20) continue;
        out += hex(code, 2) + "=" + glyphText(g) + "\n";
    }
    for (unsigned table = 1; table < kCharTableCount; ++table)
        for (unsigned slot = 0; slot < 256; ++slot) {
            const Glyph& g = tables[table][slot];
            if (showsNoCharacter(g) || findToken(static_cast<uint8_t>(table), static_cast<uint8_t>(slot))) continue;
            out += hex(table, 2) + hex(slot, 2) + "=" + glyphText(g) + "\n";
        }
    return out;
}

}  // namespace velk
