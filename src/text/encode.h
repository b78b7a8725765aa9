// Shift-JIS text to game code: names and texts.
#pragma once

#include <cstdint>
#include <span>

#include "image/resource_entry.h"
#include "image/result.h"
#include "text/name_entry.h"
#include "text/glyph_lookup.h"

namespace velk {

struct RomImage;

// A text's code may not exceed what the game's unpacker works on.
constexpr size_t kMaxTextCodeBytes = 4096;

// Encodes one name line starting at line[0] (behind any label) up to its
// CR or LF, or to the end of the data, and stores it in names[index]:
// packed = the code bytes, unpacked = the line as typed with its line end's
// first byte replaced by a zero. Returns the bytes consumed, line end
// included; on a problem (offset into `line`) the entry is left unchanged.
// With `itemOffsets`, each code byte's item is found where it starts in `line`.
Result<int32_t> encodeName(NameCatalogue names, int index, std::span<const uint8_t> line, const GlyphLookup& glyphs,
                           std::vector<uint32_t>* itemOffsets = nullptr);

struct EncodedText {
    std::vector<uint8_t> code;
    size_t consumed = 0;  // from the header's first '#' through the closing "//"
};

// Encodes one text block starting at its header's first '#': passes over the
// header line and encodes the text up to the '/' that closes it. A problem's
// offset is into `block`. With `itemOffsets`, as for encodeName.
Result<EncodedText> encodeTextCode(std::span<const uint8_t> block, const GlyphLookup& glyphs, int index,
                                   std::vector<uint32_t>* itemOffsets = nullptr);

// The same, stored in texts[index].unpacked and packed with the text profile.
// Returns the bytes consumed; on a problem the entry is left unchanged.
Result<int32_t> encodeText(Catalogue texts, int index, std::span<const uint8_t> block, const GlyphLookup& glyphs,
                           const RomImage& image);

}  // namespace velk
