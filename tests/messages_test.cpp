#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "ops/dialog_options.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "scripted_platform.h"
#include "test_support.h"
#include "text/sjis.h"
#include "text/text_collection.h"

namespace velk {
namespace {

using Bytes = std::vector<uint8_t>;
using test::bytesOf;
using test::sjis;
namespace fs = std::filesystem;

// Imports through the operations, as the window does, and keeps what was shown.
class WhereAndWhy : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::scratchFolder();
        state.image = test::demoImage();
        state.catalogues = test::demoCatalogues();
    }
    void importNames(const std::string& utf8, const std::string& file = "names.txt") {
        test::writeBytes(folder / file, bytesOf(sjis(utf8)));
        platform.answer(folder / file);
        importNamesOperation(state, platform);
    }
    void importTexts(const std::string& utf8, const std::string& file = "texts.txt") {
        test::writeBytes(folder / file, bytesOf(sjis(utf8)));
        platform.answer(folder / file);
        importTextsOperation(state, platform);
    }
    std::string detail() const { return platform.details.empty() ? "(none)" : platform.details.back(); }
    fs::path folder;
    EditorState state;
    ScriptedPlatform platform;
};

TEST_F(WhereAndWhy, NameCharactersInCrLfAndLfFiles) {
    importNames("[F0 00] ア\r\n[F0 01] イ\r\n[F0 02] アa\r\n");
    EXPECT_EQ(platform.messages.back(), "a\r" + sjis("は使用できません2 97"));
    EXPECT_EQ(detail(), "names.txt:3:10: 'a' (byte 61) is in no character table, in name 2; its full-width form 'ａ' has one, which --fullwidth would take");
    EXPECT_EQ(platform.displays.back(), "a\\x0Dは使用できません2 97");
    importNames("[F0 00] ア\n[F0 01] 熊イ\n");
    EXPECT_EQ(detail(), "names.txt:2:9: '熊' (bytes 8C 46) is in no character table, in name 1");
    importNames("[F0 00] ア\n[F0 01] イ熊\n");  // at the end of the line
    EXPECT_EQ(detail(), "names.txt:2:10: '熊' (bytes 8C 46) is in no character table, in name 1");
    importNames("[F0 00] ア\r\n[F0 01] (勇者)\r\n");
    EXPECT_EQ(platform.messages.back(), sjis("(勇者)は使用できません"));
    EXPECT_EQ(detail(), "names.txt:2:9: (勇者) is none of the tokens (主人公) (騎士団) (冷や汗) (ハート) (旗), in name 1");
}

TEST_F(WhereAndWhy, TextCharactersAndTokens) {
    importTexts("##No.00 00\nア//\r\n##No.00 01\r\nアイ\r\n熊ウ//\r\n");
    EXPECT_EQ(platform.messages.back(), sjis("熊は使用できません-116 70 1 18"));
    EXPECT_EQ(detail(), "texts.txt:5:1: '熊' (bytes 8C 46) is in no character table, in text 1");
    importTexts("##No.00 00\nアイb\n//");
    EXPECT_EQ(detail(), "texts.txt:2:3: 'b' (byte 62) is in no character table, in text 0; its full-width form 'ｂ' has one, which --fullwidth would take");
    importTexts("##No.00 00\nア(主人公\nイ//");
    EXPECT_EQ(platform.messages.back(), sjis("(主人公)は使用できません"));
    EXPECT_EQ(detail(), "texts.txt:2:2: \"(主人公\" has no closing \")\" on its line, in text 0");
    importTexts("##No.00 00\n(勇者)//");
    EXPECT_EQ(detail(), "texts.txt:2:1: (勇者) is none of the tokens (主人公) (騎士団) (冷や汗) (ハート) (旗), in text 0");
    importTexts("##No.00 00\nア");
    EXPECT_EQ(detail(), "texts.txt:2:2: text 0 ends without its closing \"//\"");
}

TEST_F(WhereAndWhy, ALeadByteFromF0OnTakesItsSecondByteAlong) {
    for (int lead : {0xF0, 0xFC}) {
        const std::string line = std::string("[F0 00] ") + static_cast<char>(lead) + "@\n";
        test::writeBytes(folder / "n.txt", bytesOf(line));
        platform.answer(folder / "n.txt");
        importNamesOperation(state, platform);
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X 40", lead);
        EXPECT_NE(detail().find(std::string("(bytes ") + hex + ") is in no character table"), std::string::npos) << detail();
    }
}

TEST_F(WhereAndWhy, AStrayByteNeverSwallowsTheMessagesNextCharacter) {
    importNames("[F0 00] ?あ\n");
    EXPECT_EQ(platform.messages.back(), "?\x82" + sjis("は使用できません0 63"));
    EXPECT_EQ(platform.displays.back(), "?\\x82は使用できません0 63");
    EXPECT_EQ(detail(), "names.txt:1:9: '?' is not followed by \"XX YY?\" (two digits each), in name 0");
}

TEST_F(WhereAndWhy, FileNamesShowAsTheFileSystemSpellsThem) {
    platform.answer(folder / "é.txt");
    importNamesOperation(state, platform);
    EXPECT_EQ(platform.messages.back(), "?.txt" + sjis("が読み込めません"));
    EXPECT_EQ(platform.displays.back(), "é.txtが読み込めません");
    EXPECT_EQ(detail(), "é.txt: No such file or directory");
    platform.answer(folder / "no-such-folder" / "out.txt");
    exportNamesOperation(state, platform);
    EXPECT_EQ(platform.displays.back(), "out.txtに書き込めませんでした");
    EXPECT_EQ(detail(), "out.txt: No such file or directory");
}

TEST_F(WhereAndWhy, ARomThatIsNotAnImageOfTheGameSaysWhichCheckFailed) {
    RomImage bad = test::demoImage();
    bad[0x1E7DDB + 2] = 0x00;  // a relocated block's pointer before the image
    test::writeBytes(folder / "bad.smc", bad.bytes);
    platform.answer(folder / "bad.smc");
    reloadRomOperation(state, platform);
    EXPECT_EQ(platform.displays.back(), "bad.smcが読み込めません");
    EXPECT_EQ(detail(), "bad.smc: pointer at 0x1E7DDB leads outside the image");
    bad = test::demoImage();
    bad[0x118000 + 3 * 12 + 2] = 0x00;  // text 12's pointer, before the image
    test::writeBytes(folder / "bad.smc", bad.bytes);
    platform.answer(folder / "bad.smc");
    reloadRomOperation(state, platform);
    EXPECT_NE(detail().find("text 12"), std::string::npos) << detail();
}

TEST_F(WhereAndWhy, TheScriptsOwnMessagesPointIntoTheScript) {
    test::writeBytes(folder / "s.txt", bytesOf(sjis(";;単語リスト\nremark\n  [F9 CE] ア\n")));
    platform.answer(folder / "s.txt");
    applyChangeScriptOperation(state, platform);
    EXPECT_EQ(platform.messages.back(), sjis("3行目の番号が範囲外です"));
    EXPECT_EQ(detail(), "s.txt:3:3: a name entry must be [F0 00] to [F9 CD]");
    test::writeBytes(folder / "s.txt", bytesOf(sjis(";;テキスト\n##No.00 00\nアb//\n")));
    platform.answer(folder / "s.txt");
    applyChangeScriptOperation(state, platform);
    EXPECT_EQ(detail(), "s.txt:3:2: 'b' (byte 62) is in no character table, in text 0; its full-width form 'ｂ' has one, which --fullwidth would take");
}

// ------------------------------------------------------------------ warnings

using test::cli;
using test::CliRun;

class Warnings : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::scratchFolder();
        rom = (folder / "demo.smc").string();
        test::writeBytes(rom, test::demoImage().bytes);
    }
    std::string file(const std::string& name, const std::string& utf8) {
        test::writeBytes(folder / name, bytesOf(sjis(utf8)));
        return (folder / name).string();
    }
    fs::path folder;
    std::string rom;
};

TEST_F(Warnings, TextCollectionTraps) {
    const std::string t = file("t.txt", "##No.00 00\nア/イ//\n##No.00 05\nウ//\n");
    const CliRun r = cli({rom, "import-texts", t});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err,
              "t.txt:2: warning: a '/' ends text 0 here, before its closing \"//\"; the rest of the block is not read\n"
              "t.txt:3: warning: block 2 is text 1 (##No.00 01) by its position, whatever its header says; the position "
              "decides\n"
              "t.txt:5: warning: 2 blocks, not 5607: texts 2 and after keep their text\n");
    const CliRun strict = cli({"--strict", rom, "import-texts", t, "export-texts", (folder / "o.txt").string()});
    EXPECT_EQ(strict.code, 1);
    EXPECT_FALSE(fs::exists(folder / "o.txt"));  // a warning under --strict stops the chain after its verb
}

TEST_F(Warnings, NameListTraps) {
    const CliRun r = cli({rom, "import-names", file("n.txt", "[F0 00] ア\r\n[F0 02] イ\r\n")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err,
              "n.txt:2: warning: line 2 is name 1 [F0 01] by its position, whatever its label says; the position decides\n"
              "n.txt:3: warning: 2 lines, not 2510: names 2 and after keep their text\n");
    // a whole exported file imports without a word
    const std::string full = (folder / "all.txt").string();
    EXPECT_EQ(cli({rom, "export-names", full, "import-names", full}).err, "");
}

TEST_F(Warnings, AScriptSectionWordThatOnlyBeginsWithAKeyword) {
    const CliRun r = cli({rom, "apply-script", file("s.txt", "\n;;テキスト2\n##No.00 00\nア//\n")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "s.txt:2: warning: the section word \"テキスト2\" is no keyword (\"テキスト\" must stand alone); the "
                     "section is skipped\n");
    EXPECT_EQ(cli({"--strict", rom, "apply-script", (folder / "s.txt").string()}).code, 1);
}

// -------------------------------------------------------------------- UTF-8

TEST_F(Warnings, Utf8ExportsAndImportsRoundTrip) {
    const std::string t1 = (folder / "t1.txt").string(), t2 = (folder / "t2.txt").string();
    const std::string n1 = (folder / "n1.txt").string(), n2 = (folder / "n2.txt").string();
    const CliRun r = cli({"--utf8", rom, "export-texts", t1, "import-texts", t1, "export-texts", t2, "export-names", n1,
                          "import-names", n1, "export-names", n2});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(test::readBytes(t1), test::readBytes(t2));
    EXPECT_EQ(test::readBytes(n1), test::readBytes(n2));
    const Bytes utf8 = test::readBytes(t1);
    ASSERT_GE(utf8.size(), 3u);
    EXPECT_EQ(Bytes(utf8.begin(), utf8.begin() + 3), (Bytes{0xEF, 0xBB, 0xBF}));
    // The same file read without --utf8: its byte-order mark says UTF-8.
    const std::string sjisExport = (folder / "s.txt").string();
    EXPECT_EQ(cli({rom, "import-texts", t1, "export-texts", sjisExport}).code, 0);
    const std::string expected = fromCp932(std::string(reinterpret_cast<const char*>(test::readBytes(sjisExport).data()),
                                                       test::readBytes(sjisExport).size()));
    EXPECT_EQ(std::string(utf8.begin() + 3, utf8.end()), expected);
}

TEST_F(Warnings, AUtf8FileWithoutAMarkNeedsTheOption) {
    test::writeBytes(folder / "u.txt", bytesOf("##No.00 00\nウ//"));  // UTF-8 bytes, no mark
    EXPECT_EQ(cli({rom, "import-texts", (folder / "u.txt").string()}).code, 1);
    const std::string out = (folder / "o.txt").string();
    EXPECT_EQ(cli({"--utf8", rom, "import-texts", (folder / "u.txt").string(), "export-texts", out}).code, 0);
    const Bytes exported = test::readBytes(out);
    EXPECT_EQ(std::string(exported.begin() + 3, exported.begin() + 3 + 16), "##No.00 00\nウ//");
}

TEST_F(Warnings, AUtf8CharacterWithoutAShiftJisFormStopsTheImportWhereItStands) {
    test::writeBytes(folder / "u.txt", bytesOf("\xEF\xBB\xBF##No.00 00\nアイ\xC9\x83//"));  // Ƀ
    const CliRun r = cli({rom, "import-texts", (folder / "u.txt").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "u.txtが読み込めません\nu.txt:2:3: 'Ƀ' has no Shift-JIS (CP932) form\n");
}

// Every character of every table, the added characters' table included,
// comes back from a UTF-8 export exactly.
TEST(Utf8RoundTrip, EveryTableCharacterSurvives) {
    EditorState state;
    state.image = test::demoImage();
    state.catalogues = test::demoCatalogues();
    const std::string added = sjis("鬱熊鰐");
    for (size_t i = 0; i < added.size(); ++i)
        state.tables[kAddedCharTable][i / 2][i % 2] = static_cast<uint8_t>(added[i]);
    // Texts made of every glyph code: table 0's one-byte glyphs, then every slot of tables 1-10.
    std::vector<Bytes> codes(1);
    for (int s = 0x20; s < 256; ++s) codes.back().push_back(static_cast<uint8_t>(s));
    for (uint8_t t = 1; t < kCharTableCount; ++t) {
        codes.emplace_back();
        for (int s = 0; s < 256; ++s) codes.back().insert(codes.back().end(), {t, static_cast<uint8_t>(s)});
    }
    for (size_t i = 0; i < codes.size(); ++i) storeUnpacked(state.catalogues.texts()[i], codes[i]);
    ScriptedPlatform platform;
    platform.utf8 = true;
    const fs::path folder = test::scratchFolder();
    platform.answer(folder / "t1.txt");
    exportTextsOperation(state, platform);
    platform.answer(folder / "t1.txt");
    importTextsOperation(state, platform);
    ASSERT_TRUE(platform.messages.empty()) << platform.details.back();
    platform.answer(folder / "t2.txt");
    exportTextsOperation(state, platform);
    EXPECT_EQ(test::readBytes(folder / "t1.txt"), test::readBytes(folder / "t2.txt"));
    // and the Shift-JIS text behind it is what the tables hold
    const Bytes sjisExport = textCollectionBytes(state.catalogues.texts(), state.catalogues.names, state.tables);
    const Bytes utf8 = test::readBytes(folder / "t2.txt");
    EXPECT_EQ(std::string(utf8.begin() + 3, utf8.end()),
              fromCp932(std::string(reinterpret_cast<const char*>(sjisExport.data()), sjisExport.size())));
}

}  // namespace
}  // namespace velk
