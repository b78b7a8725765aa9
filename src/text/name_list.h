// The name list file: one line per name, "[F1 23] " and the name's text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"
#include "text/name_entry.h"
#include "text/glyph_lookup.h"

namespace velk {

constexpr size_t kNameLabelLength = 8;

// Appends a name's text on one line: a line break (code 0x16, CR LF in the
// text) is written as its escape !16!, which the encoder reads back as 0x16.
void appendOnOneLine(std::string& out, std::string_view text);

// The whole file: line i is "[%X %X%X] " (0xF0 + (i >> 8), its low byte's
// two digits), the name's text and CR LF.
std::vector<uint8_t> nameListBytes(ConstNameCatalogue names);

// Encodes the file's lines into the names in line order, each behind its
// 8-byte label, until the names or the lines run out. Stops at the first line
// that cannot be encoded (its problem's offset is into `file`); the names
// before it stay stored.
// With `warnings`, notes a label that differs from its line's position and a
// line count other than the names'.
Status readNameList(NameCatalogue names, std::span<const uint8_t> file, const GlyphLookup& glyphs,
                    std::vector<Warning>* warnings = nullptr);

}  // namespace velk
