#include <gtest/gtest.h>

#include "rom/free_regions.h"

namespace velk {
namespace {

TEST(FreeRegionTable, IsTheSavesMapOfSpace) {
    ASSERT_EQ(kFreeRegionTable.size(), 361u);
    int64_t total = 0;
    for (size_t i = 0; i < kFreeRegionTable.size(); ++i) {
        const RomRange r = kFreeRegionTable[i];
        total += r.size();
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
    EXPECT_EQ(total, 842789);
    EXPECT_EQ(kFreeRegionTable.front().size(), 2);
    EXPECT_EQ(kFreeRegionTable.back().size(), 32768);
    EXPECT_EQ(kFreeRegionTable[8].start, 0x24FFAE);  // inside the colour sets' dictionary window
}

}  // namespace
}  // namespace velk
