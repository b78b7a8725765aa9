// Shift-JIS text to game code: names and texts.
#pragma once

#include <cstdint>
#include <span>

#include "platform/platform.h"
#include "rom/resource_entry.h"
#include "rom/rom_image.h"
#include "text/glyph_lookup.h"

namespace velk {

// A text's code may not exceed what the game's unpacker works on.
constexpr size_t kMaxTextCodeBytes = 4096;

// Encodes one name line starting at line[0] (behind any label) up to its
// CR or LF, or to the end of the data, and stores it in names[index]:
// packed = the code bytes, unpacked = the line as typed with its line end's
// first byte replaced by a zero. Returns the bytes consumed, line end
// included, or -1 after showing a message (the entry is left unchanged).
int32_t encodeName(Catalog names, int index, std::span<const uint8_t> line, const GlyphLookup& glyphs,
                   Platform& platform);

// Encodes one text block starting at its header's first '#': passes over the
// header line, encodes the text up to the '/' that closes it, stores the code
// in texts[index].unpacked and packs it with the text profile. Returns the
// bytes consumed up to and including the two bytes of the closing "//", or
// -1 after showing a message (the entry is left unchanged).
int32_t encodeText(Catalog texts, int index, std::span<const uint8_t> block, const GlyphLookup& glyphs,
                   const RomImage& image, Platform& platform);

}  // namespace velk
