#include <gtest/gtest.h>

#include <algorithm>

#include "demo_image.h"
#include "pack/lz_formats.h"
#include "rom/free_regions.h"
#include "pack/pack_profiles.h"
#include "test_support.h"
#include "text/decode.h"

namespace velk {
namespace {

using test::demoCatalogues;
using test::demoImage;

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

int regionOf(int32_t offset) {
    for (size_t i = 0; i < kFreeRegionTable.size(); ++i)
        if (kFreeRegionTable[i].contains(offset)) return static_cast<int>(i);
    return -1;
}

TEST(DemoImage, PlacesWhatASaveMovesInsideTheFreeRegionsAndTheRestOutside) {
    const Catalogues& c = demoCatalogues();
    std::vector<RomRange> used;
    for (const ResourceEntry& e : c.resources) {
        const bool pinned = e.id >= 127 && e.id < kFaceCount;
        const int region = regionOf(e.romOffset);
        if (pinned) {
            ASSERT_EQ(region, -1) << e.id;
            ASSERT_EQ(regionOf(e.romOffset + e.packedLength - 1), -1) << e.id;
            continue;
        }
        ASSERT_GE(region, 0) << e.id;
        ASSERT_NE(region, kFreeRegionInColourDictionary);
        ASSERT_LE(e.romOffset + e.packedLength, kFreeRegionTable[static_cast<size_t>(region)].end) << e.id;
        used.push_back({e.romOffset, e.romOffset + e.packedLength});
    }
    std::sort(used.begin(), used.end(), [](RomRange a, RomRange b) { return a.start < b.start; });
    used.erase(std::unique(used.begin(), used.end(),
                           [](RomRange a, RomRange b) { return a.start == b.start && a.end == b.end; }),
               used.end());  // faces sharing one resource
    int64_t bytes = 0;
    for (size_t i = 0; i < used.size(); ++i) {
        if (i > 0) {
            ASSERT_LE(used[i - 1].end, used[i].start) << "resources overlap";
        }
        bytes += used[i].size();
    }
    int64_t space = 0;
    for (size_t i = 0; i < kFreeRegionTable.size(); ++i)
        if (i != kFreeRegionInColourDictionary && kFreeRegionTable[i].start < 0x320000) space += kFreeRegionTable[i].size();
    EXPECT_GE(bytes * 100, space * 75) << bytes << " of " << space;
    EXPECT_LE(bytes * 100, space * 90) << bytes << " of " << space;
}

TEST(DemoImage, IsNotPackedTheWayTheEditorPacks) {
    const RomImage& image = demoImage();
    const Catalogues& c = demoCatalogues();
    int differ = 0;
    int overshoot = 0;
    for (const ResourceEntry& e : c.resources) {
        ResourceEntry copy = e;
        const PackProfile& p = e.id < kFaceCount ? kFaceProfile : e.id < kFirstTextId ? kUnitGraphicProfile : kTextProfile;
        repackEntry(image, copy, p);
        differ += copy.packed != e.packed;
    }
    for (const ResourceEntry& e : c.colourSets) {
        // an LzFormatA stream whose last back-reference runs past the end
        int32_t produced = 0;
        for (size_t i = 0; i < e.packed.size();) {
            const uint8_t item = e.packed[i];
            produced += item >= 0x80 ? item - 0x7F : (item >> 4) + 3;
            i += item >= 0x80 ? 1u + item - 0x7F : 2u;
        }
        overshoot += produced > e.unpackedLength;
    }
    EXPECT_GT(differ, 1000);
    EXPECT_GT(overshoot, 0);
}

TEST(DemoImage, HoldsTheTextFeaturesAnEditorMeets) {
    const Catalogues& c = demoCatalogues();
    int tokens = 0, wordRefs = 0, lineBreaks = 0, oneByte = 0, twoByte = 0, empty = 0, longTexts = 0;
    for (const ResourceEntry& e : c.texts()) {
        const std::string text = decodeText(c.texts(), e.id - kFirstTextId, c.names, builtInCharTables());
        tokens += text.find(test::sjis("(主人公)")) != std::string::npos;
        wordRefs += text.find(":(") != std::string::npos;
        lineBreaks += text.find("\r\n") != std::string::npos;
        oneByte += text.find("!1") != std::string::npos;
        twoByte += text.find("?1") != std::string::npos;
        empty += e.unpackedLength == 0;
        longTexts += e.unpackedLength > 400;
    }
    EXPECT_GT(tokens, 500);
    EXPECT_GT(wordRefs, 1000);
    EXPECT_GT(lineBreaks, 2000);
    EXPECT_GT(oneByte, 1000);
    EXPECT_GT(twoByte, 1000);
    EXPECT_GE(empty, 1);
    EXPECT_GT(longTexts, 20);
    int emptyNames = 0, tokenNames = 0, twoByteNames = 0;
    for (const ResourceEntry& e : c.names) {
        emptyNames += e.packedLength == 0;
        tokenNames += nameText(e).find('(') != std::string_view::npos;
        twoByteNames += !e.packed.empty() && e.packed[0] >= 1 && e.packed[0] <= 10;
    }
    EXPECT_GE(emptyNames, 1);
    EXPECT_LE(emptyNames, 3);
    EXPECT_GT(tokenNames, 20);
    EXPECT_GT(twoByteNames, 200);
}

}  // namespace
}  // namespace velk
