#include <gtest/gtest.h>

#include <functional>

#include "pack/lz_formats.h"
#include "rom/catalogues.h"
#include "test_support.h"
#include "text/decode.h"

namespace velk {
namespace {

using test::demoCatalogues;
using test::demoImage;

TEST(Catalogues, FollowTheGamesPointerTables) {
    const RomImage& image = demoImage();
    const Catalogues& c = demoCatalogues();
    EXPECT_EQ(c.names[9].romOffset, 0x58000 + image.u16(0x640C7 + 18));
    EXPECT_EQ(c.texts()[9].romOffset, readLongPointer(image, 0x118000 + 27));
    EXPECT_EQ(c.unitGraphics()[9].romOffset, readLongPointer(image, 0x1F8003 + 27));
    const int k = image[0xECB3 + 4 * 9];
    EXPECT_EQ(c.faces()[9].tableIndex, k);
    EXPECT_EQ(c.faces()[9].romOffset, readLongPointer(image, 0x255987 + 3 * k));
    const int j = image[0x225F2F + 9];
    EXPECT_EQ(c.colourSets[9].tableIndex, j);
    EXPECT_EQ(c.colourSets[9].romOffset, 0x210000 + image.u16(0x218001 + 2 * j));
}

// Each record keeps the packed bytes it was read from; a text's length is its header.
TEST(Catalogues, HoldThePackedBytesTheyWereReadFrom) {
    const Catalogues& c = demoCatalogues();
    for (const ResourceEntry& e : c.resources)
        ASSERT_TRUE(std::equal(e.packed.begin(), e.packed.end(), demoImage().at(e.romOffset)));
    for (const ResourceEntry& e : c.texts())
        ASSERT_EQ(e.unpacked.size(), size_t{e.packed[0]} | size_t{e.packed[1]} << 8);  // the length header
}

// Stores the colour sets as a save does: back to back behind the relocated table.
RomImage withRelocatedColourSets(const Catalogues& c) {
    RomImage image = demoImage();
    image[0x340000] = 0x42;
    image[0x340001] = 0x42;
    int32_t at = 0x3409D2;
    for (int i = 0; i < kColourSetCount; ++i) {
        const ResourceEntry& e = c.colourSets[static_cast<size_t>(i)];
        std::copy(e.packed.begin(), e.packed.end(), image.at(at));
        writeShortPointer(image, 0x340002 + 2 * i, 0x338000, at);
        at += static_cast<int32_t>(e.packed.size());
    }
    return image;
}

TEST(Catalogues, ReadTheRelocatedColourSetsOnlyWhenBothMarkerBytesSayItIs) {
    const Catalogues& indexed = demoCatalogues();
    const RomImage image = withRelocatedColourSets(indexed);
    ASSERT_EQ(colourSetLayout(image), ColourSetLayout::Relocated);
    const Result<Catalogues> relocated = buildCatalogues(image, builtInCharTables());
    ASSERT_TRUE(relocated);
    int32_t at = 0x3409D2;
    for (size_t i = 0; i < relocated->colourSets.size(); ++i) {
        const ResourceEntry& e = relocated->colourSets[i];
        ASSERT_EQ(e.tableIndex, static_cast<int32_t>(i));
        ASSERT_EQ(e.romOffset, at);
        ASSERT_EQ(e.unpacked, indexed.colourSets[i].unpacked);
        at += static_cast<int32_t>(e.packed.size());
    }
    RomImage one = image;  // only both marker bytes select it
    one[0x340001] = 0x41;
    EXPECT_EQ(colourSetLayout(one), ColourSetLayout::Indexed);
    EXPECT_EQ(buildCatalogues(one, builtInCharTables())->colourSets[300].tableIndex, one[0x225F2F + 300]);
}

// Each damage fails the load, with the record and the offset of the byte
// that gave it away.
TEST(CorruptImage, FailsWhereTheDamageStands) {
    const RomImage& demo = demoImage();
    const int k = demo[0xECB3 + 4 * 3];
    const int32_t text12 = readLongPointer(demo, 0x118000 + 3 * 12);
    const struct { const char* what; std::function<void(RomImage&)> damage; size_t offset; ProblemCode code; Record record;
                   int64_t entry; } cases[] = {
        {"a text pointer outside", [](RomImage& i) { i[0x118000 + 3 * 77 + 2] = 0x10; }, 0x118000 + 3 * 77,
         ProblemCode::PackedStreamOutside, Record::Text, 77},
        {"a face pointer outside", [k](RomImage& i) { i[0x255987 + 3 * k + 2] = 0x7F; }, size_t(0x255987 + 3 * k),
         ProblemCode::PackedStreamOutside, Record::Face, 3},
        {"a stream past the end",
         [](RomImage& i) {
             writeLongPointer(i, 0x1F8003 + 3 * 5899, kRomSize - 3);
             i[kRomSize - 3] = 0xFF;  // eight literals promised, two bytes left
         },
         kRomSize, ProblemCode::PackedStreamRunsPast, Record::UnitGraphic, 5899},
        {"a text longer than the working buffer", [text12](RomImage& i) { i[text12 + 1] = 0x10; }, size_t(text12),
         ProblemCode::LengthHeaderTooLarge, Record::Text, 12},
    };
    for (const auto& c : cases) {
        RomImage image = demo;
        c.damage(image);
        const Result<Catalogues> r = buildCatalogues(image, builtInCharTables());
        ASSERT_FALSE(r) << c.what;
        EXPECT_EQ(r.problem().offset, c.offset) << c.what;
        EXPECT_EQ(r.problem().code, c.code) << c.what;
        EXPECT_EQ(r.problem().record, c.record) << c.what;
        EXPECT_EQ(r.problem().entry, c.entry) << c.what;
    }
    RomImage image;
    EXPECT_FALSE(buildCatalogues(image, builtInCharTables()));  // zeros
    for (size_t i = 0; i < image.bytes.size(); ++i) image.bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    EXPECT_FALSE(buildCatalogues(image, builtInCharTables()));  // noise
}

}  // namespace
}  // namespace velk
