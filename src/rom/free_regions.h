// Where a save may place packed faces, unit graphics and texts.
#pragma once

#include <array>
#include <cstdint>

namespace velk {

// A half-open stretch [start, end) of the image.
struct RomRange {
    int32_t start;
    int32_t end;
    int32_t size() const { return end - start; }
    bool contains(int32_t offset) const { return offset >= start && offset < end; }
};

constexpr int kFreeRegionCount = 361;
extern const std::array<RomRange, kFreeRegionCount> kFreeRegionTable;

// Row 8 lies inside the colour sets' dictionary window; nothing is placed there.
constexpr int kFreeRegionInColourDictionary = 8;

}  // namespace velk
