#include <gtest/gtest.h>

#include "scripted_platform.h"
#include "ops/dialog_options.h"
#include "ops/operations.h"
#include "test_support.h"
#include "text/decode.h"

namespace velk {
namespace {

using test::sjis;

class RomFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::scratchFolder();
        demoPath = folder / "demo.smc";
        test::writeBytes(demoPath, test::demoImage().bytes);
    }
    std::filesystem::path folder;
    std::filesystem::path demoPath;
    ScriptedPlatform platform;
    EditorState state;
};

TEST_F(RomFile, StartUpAsksWithTheRomDialog) {
    platform.answer(demoPath);
    ASSERT_TRUE(openRomAtStart(state, platform));
    ASSERT_EQ(platform.dialogs.size(), 1u);
    const ScriptedPlatform::Dialog& d = platform.dialogs[0];
    EXPECT_FALSE(d.save);
    EXPECT_EQ(d.options.defaultExtension, "smc");
    EXPECT_EQ(d.options.initialFileName, "*.smc");
    EXPECT_EQ(d.options.filter, sjis("ソルヴァーン　ROM(*.smc)|*.smc;*.sfc|全て(*.*)|*.*||"));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
    EXPECT_EQ(state.catalogues.texts().size(), 5607u);
}

TEST_F(RomFile, CancelAtStartUpEndsQuietly) {
    platform.answer(std::nullopt);
    EXPECT_FALSE(openRomAtStart(state, platform));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RomFile, AFileThatDoesNotLoadIsReportedAndAskedForAgain) {
    const std::filesystem::path zeros = folder / "zeros.smc";
    test::writeBytes(zeros, std::vector<uint8_t>(1024, 0));
    platform.answer(zeros);
    platform.answer(folder / "missing.smc");
    platform.answer(demoPath);
    ASSERT_TRUE(openRomAtStart(state, platform));
    EXPECT_EQ(platform.dialogs.size(), 3u);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{sjis("zeros.smcが読み込めません"),
                                                           sjis("missing.smcが読み込めません")}));
}

TEST_F(RomFile, AnUnreadableFileThenCancelEndsTheProgram) {
    platform.failReading(demoPath);
    platform.answer(demoPath);
    platform.answer(std::nullopt);
    EXPECT_FALSE(openRomAtStart(state, platform));
    EXPECT_EQ(platform.messages, (std::vector<std::string>{sjis("demo.smcが読み込めません")}));
}

TEST_F(RomFile, AShortFileLeavesTheRestZeroAndALongOneIsCut) {
    std::vector<uint8_t> shortFile(test::demoImage().bytes.begin(), test::demoImage().bytes.begin() + 0x340001);
    test::writeBytes(folder / "short.smc", shortFile);
    platform.answer(folder / "short.smc");
    ASSERT_TRUE(openRomAtStart(state, platform));
    EXPECT_EQ(state.image.bytes.size(), static_cast<size_t>(kRomSize));
    EXPECT_EQ(state.image[0x340000], 0);
    EXPECT_EQ(colourSetLayout(state.image), ColourSetLayout::Indexed);

    std::vector<uint8_t> longFile = test::demoImage().bytes;
    longFile.resize(kRomSize + 4096, 0xEE);
    test::writeBytes(folder / "long.smc", longFile);
    platform.answer(folder / "long.smc");
    reloadRom(state, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
}

TEST_F(RomFile, ReloadReplacesEverythingAndForgetsAddedCharacters) {
    platform.answer(demoPath);
    ASSERT_TRUE(openRomAtStart(state, platform));
    state.tables[kAddedCharTable][3] = {0x8C, 0x46};
    state.glyphSheet[10] = 0x5A;
    state.glyphSheetLoaded = true;
    state.catalogues.names[3].packed.clear();
    state.image[0x3FFFF0] = 0xAA;  // past the end of the next, shorter file

    std::vector<uint8_t> shortFile(test::demoImage().bytes.begin(), test::demoImage().bytes.begin() + 0x300000);
    test::writeBytes(folder / "short.smc", shortFile);
    platform.answer(folder / "short.smc");
    reloadRom(state, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(state.image[0x3FFFF0], 0);
    EXPECT_FALSE(state.glyphSheetLoaded);
    EXPECT_EQ(state.glyphSheet[10], 0x5A);  // the sheet keeps its bytes
    EXPECT_EQ(state.tables[kAddedCharTable], blankCharTable());
    EXPECT_EQ(state.tables[3], builtInCharTables()[3]);
    EXPECT_EQ(state.catalogues.names[3].packed.size(), 4u);
}

TEST_F(RomFile, ReloadCancelledOrFailedChangesNothing) {
    platform.answer(demoPath);
    ASSERT_TRUE(openRomAtStart(state, platform));
    state.glyphSheetLoaded = true;
    state.tables[kAddedCharTable][3] = {0x8C, 0x46};
    storeUnpacked(state.catalogues.texts()[5], {0x71});
    state.image[0x3FFFF0] = 0xAA;
    const EditorState before = state;

    platform.answer(std::nullopt);
    reloadRom(state, platform);
    EXPECT_TRUE(platform.messages.empty());

    std::vector<uint8_t> corrupt = test::demoImage().bytes;
    corrupt[0x118000 + 2] = 0x00;  // the first text's pointer leaves the image
    test::writeBytes(folder / "corrupt.smc", corrupt);
    platform.answer(folder / "corrupt.smc");
    reloadRom(state, platform);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{sjis("corrupt.smcが読み込めません")}));

    EXPECT_EQ(state.image.bytes, before.image.bytes);
    EXPECT_EQ(state.glyphSheetLoaded, before.glyphSheetLoaded);
    EXPECT_EQ(state.tables, before.tables);
    EXPECT_EQ(state.catalogues.texts()[5].unpacked, std::vector<uint8_t>{0x71});
    ASSERT_EQ(state.catalogues.names.size(), before.catalogues.names.size());
    for (size_t i = 0; i < state.catalogues.names.size(); ++i)
        ASSERT_EQ(state.catalogues.names[i].packed, before.catalogues.names[i].packed);
}

}  // namespace
}  // namespace velk
