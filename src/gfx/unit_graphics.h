// Unit graphics files: the raw graphics block and the 5900 unit graphics in
// one *.fig, the shared colours in a *.pal, and a side file.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <span>

#include "image/resource_entry.h"

namespace velk {

struct RomImage;

constexpr int32_t kRawGraphicBlock = 0x1B8000;
constexpr size_t kRawGraphicBlockBytes = 185856;
constexpr size_t kUnitGraphicBytes = 128;
constexpr size_t kUnitFileBytes = kRawGraphicBlockBytes + 5900 * kUnitGraphicBytes;  // 941056

// The entry at file position i: within every four, the order 0, 2, 1, 3.
inline size_t unitEntryAt(size_t i) { return 4 * (i / 4) + 2 * (i % 2) + (i / 2) % 2; }

std::vector<uint8_t> unitFileBytes(ConstCatalogue units, const RomImage& image);
std::array<uint8_t, 768> sharedPaletteFileBytes(const RomImage& image);

// Stores the file's raw block straight into the image and repacks every unit
// graphic from it. A short file fills what it holds; the rest keeps its bytes.
// With onlyChanged, a unit graphic whose bytes are the ones it holds is left
// as it is, packed bytes included.
void writeUnitFile(Catalogue units, RomImage& image, std::span<const uint8_t> file, bool onlyChanged = false);

// The unit graphic at file position i takes `bytes` (128) and is repacked,
// unless it holds them already.
void writeUnit(Catalogue units, const RomImage& image, size_t position, std::vector<uint8_t> bytes);

}  // namespace velk
