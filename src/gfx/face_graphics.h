// Face graphics files: the faces' tiles in one *.fig, one palette file per
// face, and a side file.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "rom/resource_entry.h"
#include "rom/rom_image.h"

namespace velk {

constexpr size_t kFaceBytes = 768;
constexpr size_t kFacesPerPage = 8;
constexpr size_t kFacePageBytes = 8192;
constexpr size_t kFaceFileBytes = 20 * kFacePageBytes;  // 163840
constexpr size_t kPaletteFileBytes = 768;               // 16 palettes of 16 colours

FileDialogOptions faceGraphicsDialogOptions();

// Where face f starts in the *.fig file: eight faces a page, then a gap.
inline size_t faceFileOffset(size_t f) { return f / kFacesPerPage * kFacePageBytes + f % kFacesPerPage * kFaceBytes; }

std::vector<uint8_t> faceFileBytes(ConstCatalog faces);
// Face f's palette file: palettes 0-7 from its colour sets (colour 0 black),
// palettes 8-15 the first 128 shared colours.
std::array<uint8_t, kPaletteFileBytes> facePaletteFileBytes(ConstCatalog colourSets, const RomImage& image, size_t f);
// "%s%X%X.pal"
std::string facePaletteSuffix(size_t f);

void extractFaceGraphics(ConstCatalog faces, ConstCatalog colourSets, const RomImage& image, Platform& platform);
void writeFaceGraphics(Catalog faces, Catalog colourSets, const RomImage& image, Platform& platform);

}  // namespace velk
