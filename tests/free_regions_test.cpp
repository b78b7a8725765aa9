#include <gtest/gtest.h>

#include "rom/free_regions.h"

namespace velk {
namespace {

// The regions are sorted by size, never overlap and never meet what a save
// writes in fixed places.
TEST(FreeRegionTable, IsTheSavesMapOfSpace) {
    for (size_t i = 0; i < kFreeRegionTable.size(); ++i) {
        const RomRange r = kFreeRegionTable[i];
        if (i > 0) {
            ASSERT_LE(kFreeRegionTable[i - 1].size(), r.size()) << i;
        }
        ASSERT_GE(r.start, 0x10FFF7);
        ASSERT_LE(r.end, 0x340000);
        for (size_t j = 0; j < i; ++j) ASSERT_FALSE(r.overlaps(kFreeRegionTable[j])) << i << " " << j;
        // none meets the fixed areas a save writes
        for (RomRange fixed : {RomRange{0x320000, 0x32130F}, RomRange{0x340000, 0x348000},
                               RomRange{0x118000, 0x118000 + 3 * 5607}, RomRange{0x1F8003, 0x1F8003 + 3 * 5900},
                               RomRange{0x255987, 0x255987 + 3 * 256}, RomRange{0x11D6B5, 0x11D9B5}})
            ASSERT_FALSE(r.overlaps(fixed)) << i;
    }
}

}  // namespace
}  // namespace velk
