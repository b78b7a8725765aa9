// Everything the editor holds in memory between two operations.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

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

    // The ROM file as loaded: the 512-byte copier header in front of the
    // image (or none), every byte as read (what a patch is made against), and
    // where it came from.
    std::vector<uint8_t> copierHeader;
    std::vector<uint8_t> loadedFile;
    std::filesystem::path loadedPath;

    bool unsavedEdits = false;                    // an edit since the last load or successful save
    bool keepChecksum = false;                    // saves leave the cartridge checksum as it stands
    std::vector<std::filesystem::path> backedUp;  // files this run has kept a .bak of
};

}  // namespace velk
