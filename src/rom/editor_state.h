// Everything the editor holds in memory between two operations.
#pragma once

#include <array>
#include <cstdint>

#include "rom/catalogues.h"
#include "image/rom_image.h"
#include "text/char_tables.h"

namespace velk {

constexpr size_t kGlyphSheetSize = 8192;

struct EditorState {
    RomImage image;
    CharTables tables = builtInCharTables();
    Catalogues catalogues;
    std::array<uint8_t, kGlyphSheetSize> glyphSheet{};  // the added characters' glyphs
    bool glyphSheetLoaded = false;                      // the save writes glyphSheet when set
};

}  // namespace velk
