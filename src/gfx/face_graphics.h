// Face graphics files: the faces' tiles in one *.fig, one palette file per
// face, and a side file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/resource_entry.h"

namespace velk {

struct RomImage;

constexpr size_t kFaceBytes = 768;
constexpr size_t kFacesPerPage = 8;
constexpr size_t kFacePageBytes = 8192;
constexpr size_t kFaceFileBytes = 20 * kFacePageBytes;  // 163840
constexpr size_t kPaletteFileBytes = 768;               // 16 palettes of 16 colours

// Where face f starts in the *.fig file: eight faces a page, then a gap.
inline size_t faceFileOffset(size_t f) { return f / kFacesPerPage * kFacePageBytes + f % kFacesPerPage * kFaceBytes; }

std::vector<uint8_t> faceFileBytes(ConstCatalogue faces);
// Face f's palette file: palettes 0-7 from its colour sets (colour 0 black),
// palettes 8-15 the first 128 shared colours.
std::array<uint8_t, kPaletteFileBytes> facePaletteFileBytes(ConstCatalogue colourSets, const RomImage& image, size_t f);
// "%s%X%X.pal"
std::string facePaletteSuffix(size_t f);

// Face f takes its 768 bytes from the *.fig at faceFileOffset(f) and is
// repacked; a short file fills what it holds, the rest keeps its bytes.
void writeFaceTiles(Catalogue faces, std::span<const uint8_t> fig, const RomImage& image);

// Colour set 8f + s takes colours 1-15 of palette s of face f's palette file
// and is repacked. paletteFiles[f] is that file's content; only its first
// 768 bytes count, and a short one keeps the colours it does not reach.
void writeFaceColours(Catalogue colourSets, std::span<const std::vector<uint8_t>> paletteFiles,
                      const RomImage& image);

// What both write-backs end in: entry i takes bytes[i] where it holds a
// value, and is repacked; the others stay as they are.
using ReplacedBytes = std::span<const std::optional<std::vector<uint8_t>>>;
void replaceFaceTiles(Catalogue faces, ReplacedBytes tiles, const RomImage& image);
void replaceColourSets(Catalogue colourSets, ReplacedBytes colours, const RomImage& image);

}  // namespace velk
