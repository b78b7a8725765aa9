#include <gtest/gtest.h>

#include "gfx/unit_graphics.h"
#include "ops/operations.h"
#include "test_support.h"

namespace velk {
namespace {

class UnitGraphics : public ::testing::Test {
protected:
    void SetUp() override {
        catalogues = test::demoCatalogues();
        image = test::demoImage();
    }
    Outcome extract() { return extractUnitGraphics(state, platform, "unit.fig"); }
    Outcome writeBack(const char* name = "unit.fig") { return writeUnitGraphics(state, platform, name); }
    EditorState state;
    Catalogues& catalogues = state.catalogues;
    RomImage& image = state.image;
    ScriptedPlatform platform;
};

TEST_F(UnitGraphics, WritingBackAnUnchangedFileChangesNothing) {
    extract();
    ASSERT_TRUE(writeBack().done());
    EXPECT_EQ(image.bytes, test::demoImage().bytes);
    for (size_t i = 0; i < 5900; ++i) ASSERT_EQ(catalogues.unitGraphics()[i].unpacked, test::demoCatalogues().unitGraphics()[i].unpacked);
}

TEST_F(UnitGraphics, EditsGoToTheImageAndTheRightEntries) {
    extract();
    Bytes& fig = platform.files["unit.fig"];
    fig[10] = 0xEE;                                                      // the raw block
    std::fill(fig.begin() + 185984, fig.begin() + 185984 + 128, 0x42);  // file position 1: entry 2
    writeBack();
    EXPECT_EQ(image[0x1B8000 + 10], 0xEE);
    EXPECT_EQ(catalogues.unitGraphics()[2].unpacked, Bytes(128, 0x42));
    EXPECT_EQ(catalogues.unitGraphics()[1].unpacked, test::demoCatalogues().unitGraphics()[1].unpacked);
}

TEST_F(UnitGraphics, AShortFileFillsWhatItHas) {
    extract();
    Bytes fig(185856 + 128 + 64, 0x11);
    platform.files["unit.fig"] = fig;
    writeBack();
    EXPECT_EQ(image[0x1B8000 + 185855], 0x11);
    EXPECT_EQ(catalogues.unitGraphics()[0].unpacked, Bytes(128, 0x11));
    const Bytes& before = test::demoCatalogues().unitGraphics()[2].unpacked;
    EXPECT_TRUE(std::equal(before.begin() + 64, before.end(), catalogues.unitGraphics()[2].unpacked.begin() + 64));
    EXPECT_EQ(catalogues.unitGraphics()[1].unpacked, test::demoCatalogues().unitGraphics()[1].unpacked);
}

TEST(SharedPalette, EveryByteIsAFiveBitComponentTimesEight) {
    RomImage image;
    for (int c = 0; c < 256; ++c) {  // colour c: red c % 32, green (c / 8) % 32, blue 31 - c % 32, bit 15 c % 2
        const int v = (c % 32) | ((c / 8) % 32) << 5 | (31 - c % 32) << 10 | (c % 2) << 15;
        image[0xDA0D0 + 2 * c] = static_cast<uint8_t>(v & 0xFF);
        image[0xDA0D0 + 2 * c + 1] = static_cast<uint8_t>(v >> 8);
    }
    const std::array<uint8_t, 768> file = sharedPaletteFileBytes(image);
    for (int c = 0; c < 256; ++c)
        ASSERT_TRUE(file[3 * c] == (c % 32) * 8 && file[3 * c + 1] == ((c / 8) % 32) * 8 && file[3 * c + 2] == (31 - c % 32) * 8) << c;
}

TEST_F(UnitGraphics, FilesThatCannotBeWrittenOrReadAreReported) {
    platform.failWriting("unit.dat");
    EXPECT_EQ(extract().problem->text, sjis("unit.datに書き込めませんでした"));
    EXPECT_TRUE(platform.files.count("unit.fig"));
    EXPECT_FALSE(platform.files.count("unit.pal"));
    EXPECT_EQ(writeBack("none.fig").problem->text, sjis("none.figが読み込めません"));
    EXPECT_EQ(image.bytes, test::demoImage().bytes);
}

}  // namespace
}  // namespace velk
