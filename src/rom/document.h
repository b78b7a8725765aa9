// What the user edits: the image, its catalogues, the character tables and
// the added characters' glyphs. Undo and redo cover this and nothing else;
// where the file came from is the loaded file's business (ops/editor_state.h).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "image/rom_image.h"
#include "rom/catalogues.h"
#include "text/char_tables.h"

namespace velk {

constexpr size_t kGlyphSheetSize = 8192;

struct Document {
    // Empty until a ROM is loaded, so that a document never holds two images.
    RomImage image{std::span<const uint8_t>{}};
    CharTables tables = builtInCharTables();
    Catalogues catalogues;
    std::array<uint8_t, kGlyphSheetSize> glyphSheet{};  // the added characters' glyphs
    bool glyphSheetLoaded = false;                      // the save writes glyphSheet when set
};

}  // namespace velk
