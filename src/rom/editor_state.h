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

// Which file a path names, and whether it changed: device, inode, size and
// time of the last change.
struct FileIdentity {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modifiedNs = 0;
    enum class Kind : uint8_t { Regular, Folder, Other } kind = Kind::Regular;  // Other: a FIFO, a device, ...
    bool operator==(const FileIdentity&) const = default;
    bool sameFileAs(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
};

struct EditorState {
    using FileIdentity = velk::FileIdentity;
    // Empty until a ROM is loaded, so that a state never holds two images.
    RomImage image{std::span<const uint8_t>{}};
    CharTables tables = builtInCharTables();
    Catalogues catalogues;
    std::array<uint8_t, kGlyphSheetSize> glyphSheet{};  // the added characters' glyphs
    bool glyphSheetLoaded = false;                      // the save writes glyphSheet when set

    // The ROM file as loaded: the 512-byte copier header in front of the
    // image (or none), where it came from, and how to tell that the file
    // there is still the one loaded (a patch is made against it; its bytes
    // are not kept in memory).
    std::vector<uint8_t> copierHeader;
    std::filesystem::path loadedPath;
    FileIdentity loadedIdentity;
    std::filesystem::path loadedCopy;  // a .bak this run made of the file as loaded
    uint32_t loadedCrc = 0;            // CRC-32 of the loaded file, copier header included

    bool unsavedEdits = false;                    // an edit since the last load or successful save
    bool keepChecksum = false;                    // saves leave the cartridge checksum as it stands
    bool scriptFilesAnywhere = false;             // change scripts may name files outside their folder
    bool fullWidth = false;                       // one-byte characters without a glyph typed full-width
    std::vector<std::filesystem::path> backedUp;  // files this run has kept a .bak of
};

}  // namespace velk
