// One face as an indexed PNG of 32 x 48 pixels, and back: the 24 tiles 4
// across and 6 down, palette entry 16s + v colour v of the face's colour set
// 8f + s (entries 16s black, entry 0 transparent).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"

namespace velk {

constexpr uint32_t kFacePngWidth = 32;
constexpr uint32_t kFacePngHeight = 48;
constexpr size_t kFacePngColours = 128;

// "face-000.png" ... "face-156.png"
std::string facePngName(size_t f);

// `tiles` are the face's 768 bytes, `sets` its eight colour sets.
std::vector<uint8_t> facePngBytes(std::span<const uint8_t> tiles, ConstCatalogue sets);

struct FacePng {
    std::vector<uint8_t> tiles;  // 768 bytes
    // The eight colour sets' 30 bytes, read from a palette of exactly 128
    // entries; a colour whose 15 bits did not change keeps its stored value.
    std::optional<std::vector<std::vector<uint8_t>>> colourSets;
    bool indexed = false;
    size_t paletteEntries = 0;  // of an indexed file
};

// A face's PNG read against its eight colour sets (a truecolour file is
// matched against colours 1-15 of the first).
Result<FacePng> readFacePng(std::span<const uint8_t> png, ConstCatalogue sets);

}  // namespace velk
