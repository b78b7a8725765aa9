#include <gtest/gtest.h>

#include "ops/png_ops.h"
#include "test_support.h"
#include "text/decode.h"

namespace velk {
namespace {

class RomFile : public ::testing::Test {
protected:
    void SetUp() override { platform.files["demo.smc"] = test::demoImage().bytes; }
    Outcome open(std::optional<std::filesystem::path> path) { return test::run(state, platform, openRomAtStart, path); }
    Outcome reload(std::optional<std::filesystem::path> path) { return test::run(state, platform, reloadRom, path); }
    ScriptedPlatform platform;
    EditorState state;
};

TEST_F(RomFile, StartUpAsksWithTheRomDialog) {
    const Outcome o = open("demo.smc");
    ASSERT_TRUE(o.done());
    EXPECT_EQ(o.summary, sjis("demo.smc を読み込みました"));
    EXPECT_EQ(o.effect, Effect::Load);
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
    EXPECT_TRUE(open(std::nullopt).cancelled());
    EXPECT_EQ(open("gone.smc").problem->text, sjis("gone.smcが読み込めません"));
}

TEST_F(RomFile, OnlyAFourMiBImageOrOneBehindACopierHeaderLoads) {
    const std::vector<uint8_t>& demo = test::demoImage().bytes;
    for (const size_t size : {size_t{0x340001}, size_t{kRomSize} - 1, size_t{kRomSize} + 1, size_t{kRomSize} + 511,
                              size_t{kRomSize} + 513, size_t{2 * kRomSize}}) {
        std::vector<uint8_t> file = demo;
        file.resize(size, 0xEE);
        platform.files["odd.smc"] = file;
        const Outcome o = open("odd.smc");
        ASSERT_TRUE(o.failed()) << size;
        EXPECT_EQ(o.problem->text, sjis("odd.smcが読み込めません")) << size;
        const std::string shown = size > kRomSize + 512 ? "more than 4194816" : std::to_string(size);
        EXPECT_EQ(o.problem->detail,
                  "odd.smc: " + shown + " bytes, not a 4 MiB image (4194304 bytes, or 4194816 with a copier header)");
    }
    std::vector<uint8_t> headered(512 + demo.size(), 0x5C);
    std::copy(demo.begin(), demo.end(), headered.begin() + 512);
    platform.files["headered.smc"] = headered;
    ASSERT_TRUE(open("headered.smc").done());
    EXPECT_EQ(state.image.bytes, demo);
    EXPECT_EQ(state.loaded.copierHeader, std::vector<uint8_t>(512, 0x5C));
    EXPECT_EQ(state.loaded.identity.size, headered.size());
    ASSERT_TRUE(reload("demo.smc").done());  // a reload takes its own file's header, or none
    EXPECT_TRUE(state.loaded.copierHeader.empty());
    EXPECT_EQ(state.loaded.path, "demo.smc");
}

TEST_F(RomFile, ReloadReplacesEverythingAndForgetsAddedCharacters) {
    ASSERT_TRUE(open("demo.smc").done());
    state.tables[kAddedCharTable][3] = {0x8C, 0x46};
    state.glyphSheet[10] = 0x5A;
    state.glyphSheetLoaded = true;
    state.catalogues.names[3].code.clear();
    state.image[0x3FFFF0] = 0xAA;
    ASSERT_TRUE(reload("demo.smc").done());
    EXPECT_EQ(state.image[0x3FFFF0], test::demoImage()[0x3FFFF0]);
    EXPECT_FALSE(state.glyphSheetLoaded);
    EXPECT_EQ(state.glyphSheet[10], 0x5A);  // the sheet keeps its bytes
    EXPECT_EQ(state.tables[kAddedCharTable], blankCharTable());
    EXPECT_EQ(state.tables[3], builtInCharTables()[3]);
    EXPECT_EQ(state.catalogues.names[3].code.size(), 4u);
}

TEST_F(RomFile, ReloadCancelledOrFailedChangesNothing) {
    ASSERT_TRUE(open("demo.smc").done());
    state.glyphSheetLoaded = true;
    state.tables[kAddedCharTable][3] = {0x8C, 0x46};
    state.catalogues.texts()[5].unpacked = {0x71};
    state.image[0x3FFFF0] = 0xAA;
    const EditorState before = state;
    EXPECT_TRUE(reload(std::nullopt).cancelled());
    std::vector<uint8_t> corrupt = test::demoImage().bytes;
    corrupt[0x118000 + 2] = 0x00;  // the first text's pointer leaves the image
    platform.files["corrupt.smc"] = corrupt;
    const Outcome o = reload("corrupt.smc");
    EXPECT_EQ(o.problem->text, sjis("corrupt.smcが読み込めません"));
    EXPECT_FALSE(o.change);
    EXPECT_TRUE(state.image.bytes == before.image.bytes && state.glyphSheetLoaded && state.tables == before.tables);
    EXPECT_TRUE(state.catalogues.texts()[5].unpacked == std::vector<uint8_t>{0x71} && state.catalogues.names == before.catalogues.names);
}

// A name's extension chooses what a save writes and what a folder import
// reads, in any case; only the last extension counts.
TEST(FileKinds, ExtensionsInAnyCase) {
    const struct { const char* name; PatchKind kind; bool png; } cases[] = {
        {"a.ips", PatchKind::Ips, false}, {"a.IPS", PatchKind::Ips, false}, {"a.Bps", PatchKind::Bps, false},
        {"a.BPS", PatchKind::Bps, false}, {"a.PNG", PatchKind::None, true}, {"a.pNg", PatchKind::None, true},
        {"a.ips.smc", PatchKind::None, false}, {"ips", PatchKind::None, false}, {".ips", PatchKind::None, false},
        {"a.png.txt", PatchKind::None, false}, {"a.ipsx", PatchKind::None, false}, {"a.pn", PatchKind::None, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(patchKindOf(c.name), c.kind) << c.name;
        EXPECT_EQ(isPngName(c.name), c.png) << c.name;
    }
}

}  // namespace
}  // namespace velk
