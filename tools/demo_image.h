// A deterministic stand-in for the game's ROM image, which is not ours to
// ship: every table the editor reads is filled, and every resource is packed
// in the game's formats, so the editor loads it like the real thing.
#pragma once

#include <cstdint>
#include <vector>

namespace velk {

constexpr uint64_t kDemoSeed = 0x56454C4B;  // "VELK"

// Where the generator keeps what the editor never moves.
constexpr int32_t kDemoPinnedFaceArea = 0x2E0000;  // faces 127-156
constexpr int32_t kDemoGlyphArea = 0x2E8000;        // the game's own glyphs
constexpr int32_t kDemoRelocatableBlocks = 0x1E8000;
constexpr int32_t kDemoColourSetData = 0x218201;     // behind the colour sets' pointer table

// The 4 MiB image for `seed`; the same seed always gives the same bytes.
std::vector<uint8_t> makeDemoImage(uint64_t seed = kDemoSeed);

}  // namespace velk
