// The unit graphics file's 29,408 tiles (the raw block, then the unit
// graphics in file order) as one indexed PNG sheet, 16 tiles a row, in the
// 256 shared colours; and back.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"
#include "image/rom_image.h"

namespace velk {

constexpr uint32_t kUnitSheetWidth = 128;
constexpr uint32_t kUnitSheetHeight = 14704;

std::vector<uint8_t> unitSheetPngBytes(ConstCatalogue units, const RomImage& image);

// The bytes of the unit graphics file (*.fig) the sheet stands for. A
// truecolour sheet is matched against colours 1-15 of the shared colours;
// the palette of an indexed one is not read.
Result<std::vector<uint8_t>> unitFileFromPng(std::span<const uint8_t> png, const RomImage& image);

// One unit graphic (its 128 bytes, four tiles two by two) as an indexed PNG
// of 16 x 16 pixels in the 256 shared colours, and back, read as the sheet is.
constexpr uint32_t kUnitPngSide = 16;
std::vector<uint8_t> unitPngBytes(std::span<const uint8_t> unit, const RomImage& image);
Result<std::vector<uint8_t>> unitFromPng(std::span<const uint8_t> png, const RomImage& image);

}  // namespace velk
