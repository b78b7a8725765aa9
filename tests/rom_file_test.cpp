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

TEST_F(RomFile, OnlyAFourMiBImageOrOneBehindACopierHeaderLoads) {
    const std::vector<uint8_t>& demo = test::demoImage().bytes;
    for (const size_t size : {size_t{0x340001}, size_t{kRomSize} - 1, size_t{kRomSize} + 1, size_t{kRomSize} + 511,
                              size_t{kRomSize} + 513, size_t{2 * kRomSize}}) {
        std::vector<uint8_t> file = demo;
        file.resize(size, 0xEE);
        test::writeBytes(folder / "odd.smc", file);
        platform.answer(folder / "odd.smc");
        platform.answer(std::nullopt);
        EXPECT_FALSE(openRomAtStart(state, platform)) << size;
        EXPECT_EQ(platform.messages.back(), sjis("odd.smcが読み込めません")) << size;
        const std::string shown = size > kRomSize + 512 ? "more than 4194816" : std::to_string(size);
        EXPECT_EQ(platform.details.back(),
                  "odd.smc: " + shown + " bytes, not a 4 MiB image (4194304 bytes, or 4194816 with a copier header)");
    }
    std::vector<uint8_t> headered(512 + demo.size(), 0x5C);
    std::copy(demo.begin(), demo.end(), headered.begin() + 512);
    test::writeBytes(folder / "headered.smc", headered);
    platform.answer(folder / "headered.smc");
    ASSERT_TRUE(openRomAtStart(state, platform));
    EXPECT_EQ(state.image.bytes, demo);
    EXPECT_EQ(state.copierHeader, std::vector<uint8_t>(512, 0x5C));
    EXPECT_EQ(state.loadedIdentity.size, headered.size());
    platform.answer(demoPath);  // a reload takes its own file's header, or none
    reloadRom(state, platform);
    EXPECT_TRUE(state.copierHeader.empty());
    EXPECT_EQ(state.loadedPath, demoPath);
}

TEST_F(RomFile, ReloadReplacesEverythingAndForgetsAddedCharacters) {
    platform.answer(demoPath);
    ASSERT_TRUE(openRomAtStart(state, platform));
    state.tables[kAddedCharTable][3] = {0x8C, 0x46};
    state.glyphSheet[10] = 0x5A;
    state.glyphSheetLoaded = true;
    state.catalogues.names[3].packed.clear();
    state.image[0x3FFFF0] = 0xAA;

    platform.answer(demoPath);
    reloadRom(state, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(state.image[0x3FFFF0], test::demoImage()[0x3FFFF0]);
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
