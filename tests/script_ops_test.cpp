#include <gtest/gtest.h>

#include "demo_script.h"
#include "pack/pack_profiles.h"
#include "rom/save_layout.h"
#include "test_support.h"

namespace velk {
namespace {

class ScriptOperation : public ::testing::Test {
protected:
    void SetUp() override { state = test::demoState(platform); }
    // Puts the script (UTF-8, converted) at `path` and applies it through the dialog.
    Outcome apply(const std::string& path, const std::string& utf8) {
        platform.files[path] = bytesOf(sjis(utf8));
        return test::run(state, platform, applyChangeScript, path);
    }
    ScriptedPlatform platform;
    EditorState state;
};

TEST_F(ScriptOperation, NamesResolveAgainstTheScriptsFolderAndAShiftJisNameAlsoAsUtf8) {
    platform.files["/w/work/sub/p.ips"] = bytesOf(std::string("PATCH\x00\x00\x10\x00\x01\x5A" "EOF", 14));
    platform.files["/w/work/パッチ.ips"] = bytesOf(std::string("PATCH\x00\x00\x11\x00\x01\x6B" "EOF", 14));
    const Outcome o = apply("/w/work/s.txt", ";;IPSパッチ @@sub/p.ips\n;;IPSパッチ @@パッチ.ips\n");
    ASSERT_TRUE(o.done()) << o.problem->detail;
    EXPECT_EQ(o.summary, sjis("変更スクリプトを適用しました: 2 件"));
    EXPECT_EQ(state.image[0x10], 0x5A);
    EXPECT_EQ(state.image[0x11], 0x6B);
    // a name that is not there is reported as written, with the reason
    const Outcome missing = apply("/w/work/s.txt", ";;IPSパッチ @@sub/none.ips");
    ASSERT_TRUE(missing.failed());
    EXPECT_EQ(missing.problem->text, sjis("sub/none.ipsが読み込めません"));
    EXPECT_EQ(missing.problem->detail, "s.txt:1:12: sub/none.ips: No such file or directory");
    EXPECT_EQ(apply("/w/s.txt", ";;IPSパッチ @@ないパッチ.ips").problem->text, sjis("ないパッチ.ipsが読み込めません"));
}

TEST_F(ScriptOperation, AScriptOverTheSizeLimitIsRefused) {
    std::string big = sjis(";;単語リスト\n[F0 00] ア\n");
    big.resize(kMaxScriptBytes + 1, ' ');
    platform.files["big.txt"] = bytesOf(big);
    const Outcome refused = test::run(state, platform, applyChangeScript, "big.txt");
    ASSERT_TRUE(refused.failed());
    EXPECT_EQ(refused.problem->text, sjis("big.txtが読み込めません"));
    EXPECT_EQ(state.catalogues.names[0].code, test::demoCatalogues().names[0].code);
    EXPECT_FALSE(refused.change);
    platform.files["big.txt"].pop_back();  // exactly at the limit: applied
    EXPECT_TRUE(test::run(state, platform, applyChangeScript, "big.txt").done());
    EXPECT_EQ(state.catalogues.names[0].code, Bytes{0x72});
}

// A failing section leaves the entries before it stored and packed: they
// survive a save and a reload.
TEST_F(ScriptOperation, AFailingSectionKeepsEarlierEntriesThroughASave) {
    const Outcome o = apply("s.txt", ";;単語リスト\n[F0 03] アイ\n;;テキスト\n##No.00 07\nウ//\n##No.00 08\n熊//\n");
    ASSERT_TRUE(o.failed());
    EXPECT_TRUE(o.change);
    EXPECT_EQ(state.catalogues.texts()[7].packed, packWithProfile(state.image, Bytes{0x76}, kTextProfile));
    const EditorState back = test::savedAndReloaded(state, platform);
    EXPECT_EQ(back.catalogues.names[3].code, (Bytes{0x72, 0x74}));
    EXPECT_EQ(back.catalogues.texts()[7].unpacked, Bytes{0x76});
    EXPECT_EQ(back.catalogues.texts()[8].unpacked, test::demoCatalogues().texts()[8].unpacked);
}

// The example script on the demo image, saved and loaded again: every entry
// it changes reads back as the script wrote it.
TEST_F(ScriptOperation, TheExampleScriptSurvivesASaveAndAReload) {
    for (const DemoScriptFile& f : makeDemoScript()) platform.files[f.name] = f.bytes;
    const Outcome o = test::run(state, platform, applyChangeScript, kDemoScriptName);
    ASSERT_TRUE(o.done()) << o.problem->detail;
    const Catalogues applied = state.catalogues;  // each section's effect: the change script tests
    EXPECT_EQ(applied.names[5].code, (Bytes{0x08, 0x01, 0x72, 0x74}));  // 熊 from the added table

    const EditorState reloaded = test::savedAndReloaded(state, platform);
    const Catalogues& back = reloaded.catalogues;
    for (size_t i = 0; i < back.names.size(); ++i) ASSERT_EQ(back.names[i].code, applied.names[i].code) << i;
    EXPECT_EQ(test::firstDifference(back.resources, applied.resources), std::nullopt);
    EXPECT_EQ(test::firstDifference(back.colourSets, applied.colourSets), std::nullopt);
    EXPECT_EQ(Bytes(reloaded.image.at(0x1B8000), reloaded.image.at(0x1B8004)), bytesOf("VELK"));
    EXPECT_EQ(Bytes(reloaded.image.at(0x1B8010), reloaded.image.at(0x1B8020)), Bytes(16, 0xAA));
    EXPECT_EQ(reloaded.image[0x1C6600 + 1536 * 5], state.image[0x1C6600 + 1536 * 5]);  // an S-class image block
    EXPECT_EQ(reloaded.image[kGlyphData + 1], 0);  // the added glyphs reach the font
    EXPECT_EQ(reloaded.image[kGlyphData + 2], 1);
}

}  // namespace
}  // namespace velk
