// Turning a ROM file's bytes into the editor's image and catalogues.
#pragma once

#include <cstdint>
#include <span>

#include "image/result.h"
#include "rom/document.h"

namespace velk {

constexpr size_t kCopierHeaderSize = 512;

struct LoadedRom {
    RomImage image;
    Catalogues catalogues;
    std::vector<uint8_t> copierHeader;  // empty, or the 512 bytes in front of the image
    uint32_t fileCrc = 0;               // CRC-32 of the file's bytes, header included
};

// Makes the image from a file of exactly 4 MiB, or of 4 MiB behind a 512-byte
// copier header (kept aside), taking the file's buffer over as the image's,
// and builds its catalogues with the tables given, the added characters'
// table blank. A problem (CannotRead, with the reason; the caller names the
// file) for another size, or if it is not an image of the game, including
// the three blocks a save relocates lying outside it.
Result<LoadedRom> loadRom(std::vector<uint8_t>&& file, const CharTables& tables);

// Makes a loaded ROM the document: image and catalogues replaced, the added
// characters' table blank again, loaded glyphs forgotten. The copier header
// and the CRC-32 stay in `rom` for the loaded file's facts.
void installRom(Document& document, LoadedRom& rom);

}  // namespace velk
