#include <gtest/gtest.h>

#include "rom/free_regions.h"
#include "rom/save_layout.h"
#include "test_support.h"

namespace velk {
namespace {

class Save : public ::testing::Test {
protected:
    void SetUp() override { state = test::demoState(platform); }
    Outcome saveAs(const std::string& name) { return test::run(state, platform, saveRom, name); }
    Bytes save(const std::string& name) {
        const Outcome o = saveAs(name);
        EXPECT_TRUE(o.done()) << (o.problem ? o.problem->detail : "");
        return test::fileOf(platform, name);
    }
    ScriptedPlatform platform;
    EditorState state;
};

TEST_F(Save, WritesTheFixedLayoutChanges) {
    const Bytes out = save("out.smc");
    ASSERT_EQ(out.size(), static_cast<size_t>(kRomSize));
    EXPECT_EQ(out[0x7FD7], 0x0D);
    EXPECT_EQ(Bytes(out.begin() + 0xE9F0, out.begin() + 0xE9FF),
              (Bytes{0x0A, 0xAA, 0x68, 0xBF, 0x02, 0x80, 0xE8, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA}));
    EXPECT_EQ(out[0xEA0C], 0xE8);
    EXPECT_TRUE(out[0x340000] == 0x42 && out[0x340001] == 0x42);
    // the three blocks, back to back, with their pointers
    const RomImage& before = test::demoImage();
    const int32_t blocks[3][3] = {{0x1E7DDB, 1638, 0x320000}, {0x1E7F52, 1624, 0x320666}, {0x1E7DAB, 1617, 0x320CBE}};
    for (const auto& [pointer, size, to] : blocks) {
        const int32_t from = readLongPointer(before, pointer);
        EXPECT_TRUE(std::equal(out.begin() + to, out.begin() + to + size, before.at(from)));
        const LongPointer p = offsetToLongPointer(to);
        EXPECT_EQ(Bytes(out.begin() + pointer, out.begin() + pointer + 3), Bytes(p.begin(), p.end()));
    }
    EXPECT_EQ(out[0x1E7DDB + 2], 0xE4);
    const RomRange row8 = kFreeRegionTable[kFreeRegionInColourDictionary];  // nothing placed in the colour sets' dictionary
    EXPECT_TRUE(std::equal(out.begin() + row8.start, out.begin() + row8.end, test::demoImage().at(row8.start)));
}

TEST_F(Save, ANameWhoseTerminatorWouldPassTheRegionsEndMoves) {
    // 2361 names of 7 bytes with terminators leave 7 bytes of region 0: 7 code bytes leave no room for a terminator
    for (NameEntry& name : state.catalogues.names) name.code = Bytes(6, 0x72);
    state.catalogues.names[2361].code = Bytes(7, 0x74);
    RomImage saved;
    saved.bytes = save("out.smc");
    EXPECT_EQ(readShortPointer(saved, kNamePointerTable + 2 * 2360, kNamePointerBase), 0x60031 + 7 * 2360);
    EXPECT_EQ(readShortPointer(saved, kNamePointerTable + 2 * 2361, kNamePointerBase), 0x65463);
    EXPECT_EQ(saved[0x65463 + 7], 0x00);
    // with 6 code bytes it fits exactly, terminator on the region's last byte
    state.catalogues.names[2361].code = Bytes(6, 0x74);
    saved.bytes = save("exact.smc");
    EXPECT_EQ(readShortPointer(saved, kNamePointerTable + 2 * 2361, kNamePointerBase), 0x60031 + 7 * 2361);
    EXPECT_EQ(saved[0x640C7 - 1], 0x00);
}

TEST_F(Save, EqualLengthRecordsTakeTheRegionsInIdOrder) {
    // Regions 1 and 2 are exactly 5 bytes: the first two 5-byte records by id fill them to their ends.
    state.catalogues.texts()[9].packed = Bytes{0x05, 0x00, 0x9F, 0x01, 0x02};
    state.catalogues.texts()[5].packed = Bytes{0x05, 0x00, 0x9F, 0x03, 0x04};
    std::vector<const ResourceEntry*> fives;
    for (const ResourceEntry& e : state.catalogues.resources)
        if (e.packed.size() == 5) fives.push_back(&e);
    ASSERT_TRUE(fives.size() >= 2 && kFreeRegionTable[1].size() == 5 && kFreeRegionTable[2].size() == 5);
    RomImage saved;
    saved.bytes = save("out.smc");
    auto pointerOf = [&](const ResourceEntry& e) {
        const int32_t table = e.id >= kFirstTextId ? kTextPointerTable : e.id >= kFirstUnitGraphicId ? kUnitGraphicPointerTable : kFacePointerTable;
        return readLongPointer(saved, table + 3 * e.tableIndex);
    };
    EXPECT_EQ(pointerOf(*fives[0]), kFreeRegionTable[1].start);
    EXPECT_EQ(pointerOf(*fives[1]), kFreeRegionTable[2].start);
    EXPECT_TRUE(std::equal(fives[0]->packed.begin(), fives[0]->packed.end(), saved.at(kFreeRegionTable[1].start)));
}

// Names, a record or colour sets that fit in no region: the save fails and writes nothing.
TEST_F(Save, WhatDoesNotFitWritesNoFile) {
    for (NameEntry& name : state.catalogues.names) name.code = Bytes(11, 0x72);  // 30120 bytes
    const Outcome full = saveAs("full.smc");
    ASSERT_TRUE(full.failed());
    EXPECT_EQ(full.problem->text, sjis("容量が足りません"));
    state.catalogues.names = test::demoCatalogues().names;
    state.catalogues.texts()[9].packed = Bytes(40000, 0x01);  // larger than any region
    EXPECT_TRUE(saveAs("big.smc").failed());
    state.catalogues.texts()[9].packed = test::demoCatalogues().texts()[9].packed;
    for (ResourceEntry& part : state.catalogues.colourSets) part.packed = Bytes(25, 0x80);  // 31400 bytes
    EXPECT_TRUE(saveAs("parts.smc").failed());
    for (const char* file : {"full.smc", "big.smc", "parts.smc"}) EXPECT_FALSE(platform.files.count(file)) << file;
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
}

TEST_F(Save, GlyphsAreWrittenOnlyOnceLoaded) {
    Bytes out = save("out.smc");
    EXPECT_TRUE(std::equal(out.begin() + 0x348000, out.begin() + 0x34A400, test::demoImage().at(0x348000)));
    EXPECT_TRUE(std::equal(out.begin() + 0x11D6B5, out.begin() + 0x11D9B5, test::demoImage().at(0x11D6B5)));

    for (size_t i = 0; i < state.glyphSheet.size(); ++i) state.glyphSheet[i] = static_cast<uint8_t>(i * 7 + i / 512);
    state.glyphSheetLoaded = true;
    out = save("glyphs.smc");
    for (int k : {0, 17, 255}) {
        const int32_t at = 0x348000 + 36 * k;
        for (int g = 0; g < 4; ++g) EXPECT_EQ(out[static_cast<size_t>(at + 9 * g)], 0xFF);
        for (int i = 0; i < 32; ++i) {
            const size_t sheet = static_cast<size_t>(512 * (k / 16) + 256 * (i / 16) + 16 * (k % 16) + i % 16);
            ASSERT_EQ(out[static_cast<size_t>(at + 9 * (i / 8) + 1 + i % 8)], state.glyphSheet[sheet]) << k << " " << i;
        }
        const LongPointer p = offsetToLongPointer(at);
        EXPECT_EQ(Bytes(out.begin() + 0x11D6B5 + 3 * k, out.begin() + 0x11D6B5 + 3 * k + 3), Bytes(p.begin(), p.end()));
        EXPECT_EQ(p[2], 0xE9);
    }
}

}  // namespace
}  // namespace velk
