#include <gtest/gtest.h>

#include "gfx/colours.h"
#include "gfx/face_graphics.h"
#include "pack/pack_profiles.h"
#include "ops/operations.h"
#include "test_support.h"

namespace velk {
namespace {

class FaceGraphics : public ::testing::Test {
protected:
    void SetUp() override {
        catalogues = test::demoCatalogues();
        state.image = test::demoImage();
    }
    Outcome extract(const char* name = "face.fig") { return extractFaceGraphics(state, platform, name); }
    Outcome writeBack(const char* name = "face.fig") { return writeFaceGraphics(state, platform, name); }
    EditorState state;
    Catalogues& catalogues = state.catalogues;
    ScriptedPlatform platform;
};

TEST_F(FaceGraphics, WritingBackUnchangedFilesChangesNoUnpackedByte) {
    ASSERT_EQ(extract().summary, sjis("顔グラフィック 157 件を書き出しました"));
    ASSERT_TRUE(writeBack().done());
    const Catalogues& demo = test::demoCatalogues();
    for (size_t f = 0; f < 157; ++f) ASSERT_EQ(catalogues.faces()[f].unpacked, demo.faces()[f].unpacked);
    for (size_t e = 0; e < 1256; ++e) ASSERT_EQ(catalogues.colourSets[e].unpacked, demo.colourSets[e].unpacked);
    // every record was packed anew by the editor's packer
    EXPECT_NE(catalogues.faces()[3].packed, demo.faces()[3].packed);
}

TEST_F(FaceGraphics, EditedPixelsAndColoursArePackedInButNotColourZeroOrTheSharedPalettes) {
    extract();
    Bytes& fig = platform.files["face.fig"];
    std::fill(fig.begin() + 8192, fig.begin() + 8192 + 768, 0x0F);  // face 8
    Bytes& pal = platform.files["face08.pal"];
    pal[3] = 0xFF, pal[4] = 0x07, pal[5] = 0x08;  // palette 0, colour 1: red 31, green 0, blue 1
    Bytes& other = platform.files["face05.pal"];
    for (size_t i = 0; i < 3; ++i) other[i] = 0xFF;      // colour 0 of palette 0
    for (size_t i = 384; i < 768; ++i) other[i] = 0x5A;  // palettes 8-15
    writeBack();
    EXPECT_EQ(catalogues.faces()[8].unpacked, Bytes(768, 0x0F));
    EXPECT_EQ(catalogues.colourSets[64].unpacked[0], 0x1F);
    EXPECT_EQ(catalogues.colourSets[64].unpacked[1], 0x04);
    EXPECT_EQ(catalogues.colourSets[64].packed, packWithProfile(test::demoImage(), catalogues.colourSets[64].unpacked,
                                                                kColourSetProfile));
    for (size_t e = 40; e < 48; ++e) ASSERT_EQ(catalogues.colourSets[e].unpacked, test::demoCatalogues().colourSets[e].unpacked);
}

TEST_F(FaceGraphics, AShortTileFileFillsWhatItHas) {
    extract();
    Bytes fig = platform.files["face.fig"];
    std::fill(fig.begin(), fig.end(), 0x33);
    fig.resize(768 + 100);
    platform.files["face.fig"] = fig;
    writeBack();
    EXPECT_EQ(catalogues.faces()[0].unpacked, Bytes(768, 0x33));
    const Bytes& before = test::demoCatalogues().faces()[1].unpacked;
    EXPECT_TRUE(std::all_of(catalogues.faces()[1].unpacked.begin(), catalogues.faces()[1].unpacked.begin() + 100,
                            [](uint8_t b) { return b == 0x33; }));
    EXPECT_TRUE(std::equal(before.begin() + 100, before.end(), catalogues.faces()[1].unpacked.begin() + 100));
    EXPECT_EQ(catalogues.faces()[2].unpacked, test::demoCatalogues().faces()[2].unpacked);
}

TEST_F(FaceGraphics, OnlyThePaletteFilesFirst768BytesCountEvenFromAReaderThatIgnoresItsCap) {
    extract("f.fig");
    std::vector<uint8_t> pal = platform.files["f00.pal"];
    pal[3 * 1] = 0xF8;  // face 0, colour set 0, colour 1: red 31
    pal.resize(4096, 0xEE);  // longer than any palette file
    platform.files["f00.pal"] = pal;
    platform.ignoreReadCap = true;
    ASSERT_TRUE(writeBack("f.fig").done());
    EXPECT_EQ(colourAt(catalogues.colourSets[0].unpacked, 0) & 31, 31);
    EXPECT_EQ(catalogues.colourSets[8].unpacked, test::demoCatalogues().colourSets[8].unpacked);
}

TEST_F(FaceGraphics, AMissingPaletteStopsBeforeAnyColourSetChanges) {
    extract();
    platform.files["face.fig"][0] ^= 0xFF;
    platform.files["face00.pal"][3] ^= 0xF8;
    platform.files.erase("face9C.pal");
    EXPECT_EQ(writeBack().problem->text, sjis("face9C.palが読み込めません"));
    EXPECT_NE(catalogues.faces()[0].unpacked, test::demoCatalogues().faces()[0].unpacked);  // faces written back
    EXPECT_EQ(catalogues.colourSets[0].unpacked, test::demoCatalogues().colourSets[0].unpacked);
}

TEST_F(FaceGraphics, FilesThatCannotBeWrittenOrReadAreReported) {
    platform.failWriting("face.fig");
    EXPECT_EQ(extract().problem->text, sjis("face.figに書き込めませんでした"));
    EXPECT_FALSE(platform.files.count("face.dat"));
    EXPECT_EQ(writeBack("missing.fig").problem->text, sjis("missing.figが読み込めません"));
    platform.failWriting("other03.pal");
    EXPECT_EQ(extract("other.fig").problem->text, sjis("other03.palに書き込めませんでした"));
    EXPECT_TRUE(platform.files.count("other02.pal"));
    EXPECT_FALSE(platform.files.count("other04.pal"));
    for (size_t f = 0; f < 157; ++f) ASSERT_EQ(catalogues.faces()[f].packed, test::demoCatalogues().faces()[f].packed);
}

}  // namespace
}  // namespace velk
