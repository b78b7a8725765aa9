#include <gtest/gtest.h>
#include <unistd.h>

#include "demo_script.h"
#include "ops/operations.h"
#include "pack/pack_profiles.h"
#include "rom/save_layout.h"
#include "scripted_platform.h"
#include "test_support.h"

namespace velk {
namespace {

using Bytes = std::vector<uint8_t>;
using test::bytesOf;
using test::sjis;
namespace fs = std::filesystem;

class ScriptOperation : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::scratchFolder();
        state.image = test::demoImage();
        state.catalogues = test::demoCatalogues();
    }
    // Writes the script (UTF-8, converted) and applies it through the dialog.
    void apply(const fs::path& script, const std::string& utf8) {
        test::writeBytes(script, bytesOf(sjis(utf8)));
        platform.answer(script);
        applyChangeScript(state, platform);
    }
    fs::path folder;
    EditorState state;
    ScriptedPlatform platform;
};

// Restores the current folder when a test leaves.
struct CurrentFolder {
    fs::path saved = fs::current_path();
    ~CurrentFolder() { fs::current_path(saved); }
};

TEST_F(ScriptOperation, NamesResolveAgainstTheScriptsFolderWhateverTheCurrentFolder) {
    fs::create_directories(folder / "work" / "sub");
    test::writeBytes(folder / "work" / "sub" / "p.ips", bytesOf(std::string("PATCH\x00\x00\x10\x00\x01\x5A" "EOF", 14)));
    const CurrentFolder keep;
    fs::current_path(folder);
    apply(folder / "work" / "s.txt", ";;IPSパッチ @@sub/p.ips");
    EXPECT_TRUE(platform.messages.empty()) << (platform.messages.empty() ? "" : platform.details.back());
    EXPECT_EQ(state.image[0x10], 0x5A);
    // a name that is not there is reported as written, with the reason
    apply(folder / "work" / "s.txt", ";;IPSパッチ @@sub/none.ips");
    EXPECT_EQ(platform.messages.back(), sjis("sub/none.ipsが読み込めません"));
    EXPECT_EQ(platform.details.back(), "s.txt:1:12: sub/none.ips: No such file or directory");
}

TEST_F(ScriptOperation, AShiftJisNameIsFoundUnderItsUtf8Spelling) {
    test::writeBytes(folder / "パッチ.ips", bytesOf(std::string("PATCH\x00\x00\x11\x00\x01\x6B" "EOF", 14)));
    apply(folder / "s.txt", ";;IPSパッチ @@パッチ.ips");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(state.image[0x11], 0x6B);
    apply(folder / "s.txt", ";;IPSパッチ @@ないパッチ.ips");
    EXPECT_EQ(platform.messages.back(), sjis("ないパッチ.ipsが読み込めません"));
}

TEST_F(ScriptOperation, AScriptOverTheSizeLimitIsRefused) {
    {
        std::string big = sjis(";;単語リスト\n[F0 00] ア\n");
        big.resize(kMaxScriptBytes + 1, ' ');
        test::writeBytes(folder / "big.txt", bytesOf(big));
    }
    platform.answer(folder / "big.txt");
    applyChangeScript(state, platform);
    EXPECT_EQ(platform.messages, std::vector<std::string>{sjis("big.txtが読み込めません")});
    EXPECT_EQ(state.catalogues.names[0].packed, test::demoCatalogues().names[0].packed);
    fs::resize_file(folder / "big.txt", kMaxScriptBytes);  // exactly at the limit: applied
    platform.answer(folder / "big.txt");
    applyChangeScript(state, platform);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(state.catalogues.names[0].packed, Bytes{0x72});
}

TEST_F(ScriptOperation, CancelAppliesNothing) {
    platform.answer(std::nullopt);
    applyChangeScript(state, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
}

// The example script on the demo image, saved and loaded again: every entry
// it changes reads back as the script wrote it.
TEST_F(ScriptOperation, TheExampleScriptSurvivesASaveAndAReload) {
    for (const DemoScriptFile& f : makeDemoScript()) test::writeBytes(folder / f.name, f.bytes);
    test::writeBytes(folder / "demo.smc", test::demoImage().bytes);
    platform.answer(folder / "demo.smc");
    ASSERT_TRUE(openRomAtStart(state, platform));
    platform.answer(folder / kDemoScriptName);
    applyChangeScript(state, platform);
    ASSERT_TRUE(platform.messages.empty()) << platform.details.back();
    const Catalogues& before = test::demoCatalogues();
    const Catalogues applied = state.catalogues;
    EXPECT_NE(applied.names[5].packed, before.names[5].packed);
    EXPECT_EQ(applied.names[5].packed, (Bytes{0x08, 0x01, 0x72, 0x74}));  // 熊 from the added table
    EXPECT_NE(applied.texts()[0].unpacked, before.texts()[0].unpacked);
    EXPECT_NE(applied.faces()[0x10].unpacked, before.faces()[0x10].unpacked);
    EXPECT_NE(applied.unitGraphics()[24 * 7 + 2680].unpacked, before.unitGraphics()[24 * 7 + 2680].unpacked);

    platform.answer(folder / "out.smc");
    saveRom(state, platform);
    ASSERT_TRUE(platform.messages.empty());
    EditorState reloaded;
    platform.answer(folder / "out.smc");
    ASSERT_TRUE(openRomAtStart(reloaded, platform));
    const Catalogues& back = reloaded.catalogues;
    for (size_t i = 0; i < back.names.size(); ++i) ASSERT_EQ(back.names[i].packed, applied.names[i].packed) << i;
    for (size_t i = 0; i < back.resources.size(); ++i)
        ASSERT_EQ(back.resources[i].unpacked, applied.resources[i].unpacked) << i;
    for (size_t i = 0; i < back.colourSets.size(); ++i)
        ASSERT_EQ(back.colourSets[i].unpacked, applied.colourSets[i].unpacked) << i;
    EXPECT_EQ(Bytes(reloaded.image.at(0x1B8000), reloaded.image.at(0x1B8004)), bytesOf("VELK"));
    EXPECT_EQ(Bytes(reloaded.image.at(0x1B8010), reloaded.image.at(0x1B8020)), Bytes(16, 0xAA));
    EXPECT_EQ(reloaded.image[0x1C6600 + 1536 * 5], state.image[0x1C6600 + 1536 * 5]);  // an S-class image block
    EXPECT_EQ(reloaded.image[kGlyphData + 1], 0);  // the added glyphs reach the font
    EXPECT_EQ(reloaded.image[kGlyphData + 2], 1);
}

}  // namespace
}  // namespace velk
