#include <gtest/gtest.h>

#include "cli/cli.h"
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

// Imports through the operations, as the window does, and keeps the outcome.
class WhereAndWhy : public ::testing::Test {
protected:
    void SetUp() override { state = test::demoState(platform); }
    void runOn(Operation operation, const std::string& file, const Bytes& bytes) {
        platform.files[file] = bytes;
        last = test::run(state, platform, operation, file);
    }
    void importNames(const std::string& utf8) { runOn(importNamesOperation, "names.txt", bytesOf(sjis(utf8))); }
    void importTexts(const std::string& utf8) { runOn(importTextsOperation, "texts.txt", bytesOf(sjis(utf8))); }
    std::string text() const { return last.problem ? last.problem->text : "(none)"; }
    std::string display() const { return last.problem ? last.problem->display : "(none)"; }
    std::string detail() const { return last.problem ? last.problem->detail : "(none)"; }
    ScriptedPlatform platform;
    EditorState state;
    Outcome last;
};

TEST_F(WhereAndWhy, NameCharactersInCrLfAndLfFiles) {
    importNames("[F0 00] ア\r\n[F0 01] イ\r\n[F0 02] アa\r\n");
    EXPECT_EQ(text(), "a\r" + sjis("は使用できません2 97"));
    EXPECT_EQ(detail(), "names.txt:3:10: 'a' (byte 61) is in no character table, in name 2");
    EXPECT_EQ(display(), "a\\x0Dは使用できません2 97");
    importNames("[F0 00] ア\n[F0 01] 熊イ\n");
    EXPECT_EQ(detail(), "names.txt:2:9: '熊' (bytes 8C 46) is in no character table, in name 1");
    importNames("[F0 00] ア\n[F0 01] イ熊\n");  // at the end of the line
    EXPECT_EQ(detail(), "names.txt:2:10: '熊' (bytes 8C 46) is in no character table, in name 1");
    importNames("[F0 00] ア\r\n[F0 01] (勇者)\r\n");
    EXPECT_EQ(text(), sjis("(勇者)は使用できません"));
    EXPECT_EQ(detail(), "names.txt:2:9: (勇者) is none of the tokens (主人公) (騎士団) (冷や汗) (ハート) (旗), in name 1");
}

TEST_F(WhereAndWhy, TextCharactersAndTokens) {
    importTexts("##No.00 00\nア//\r\n##No.00 01\r\nアイ\r\n熊ウ//\r\n");
    EXPECT_EQ(text(), sjis("熊は使用できません-116 70 1 18"));
    EXPECT_EQ(detail(), "texts.txt:5:1: '熊' (bytes 8C 46) is in no character table, in text 1");
    importTexts("##No.00 00\nアイb\n//");
    EXPECT_EQ(detail(), "texts.txt:2:3: 'b' (byte 62) is in no character table, in text 0");
    importTexts("##No.00 00\nア(主人公\nイ//");
    EXPECT_EQ(text(), sjis("(主人公)は使用できません"));
    EXPECT_EQ(detail(), "texts.txt:2:2: \"(主人公\" has no closing \")\" on its line, in text 0");
    importTexts("##No.00 00\n(勇者)//");
    EXPECT_EQ(detail(), "texts.txt:2:1: (勇者) is none of the tokens (主人公) (騎士団) (冷や汗) (ハート) (旗), in text 0");
    importTexts("##No.00 00\nア");
    EXPECT_EQ(detail(), "texts.txt:2:2: text 0 ends without its closing \"//\"");
}

TEST_F(WhereAndWhy, ALeadByteFromF0OnTakesItsSecondByteAlong) {
    for (int lead : {0xF0, 0xFC}) {
        const std::string line = std::string("[F0 00] ") + static_cast<char>(lead) + "@\n";
        runOn(importNamesOperation, "n.txt", bytesOf(line));
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X 40", lead);
        EXPECT_NE(detail().find(std::string("(bytes ") + hex + ") is in no character table"), std::string::npos) << detail();
    }
}

TEST_F(WhereAndWhy, AStrayByteNeverSwallowsTheMessagesNextCharacter) {
    importNames("[F0 00] ?あ\n");
    EXPECT_EQ(text(), "?\x82" + sjis("は使用できません0 63"));
    EXPECT_EQ(display(), "?\\x82は使用できません0 63");
    EXPECT_EQ(detail(), "names.txt:1:9: '?' is not followed by \"XX YY?\" (two digits each), in name 0");
}

TEST_F(WhereAndWhy, FileNamesShowAsTheFileSystemSpellsThem) {
    last = test::run(state, platform, importNamesOperation, "é.txt");
    EXPECT_EQ(text(), "?.txt" + sjis("が読み込めません"));
    EXPECT_EQ(display(), "é.txtが読み込めません");
    EXPECT_EQ(detail(), "é.txt: No such file or directory");
    platform.failWriting("out.txt");
    last = test::run(state, platform, exportNamesOperation, "out.txt");
    EXPECT_EQ(display(), "out.txtに書き込めませんでした");
}

TEST_F(WhereAndWhy, ARomThatIsNotAnImageOfTheGameSaysWhichCheckFailed) {
    RomImage bad = test::demoImage();
    bad[0x1E7DDB + 2] = 0x00;  // a relocated block's pointer before the image
    runOn(reloadRomOperation, "bad.smc", bad.bytes);
    EXPECT_EQ(display(), "bad.smcが読み込めません");
    EXPECT_EQ(detail(), "bad.smc: the block pointer at 0x1E7DDB holds 00 80 00, which leads outside the image");
    bad = test::demoImage();
    bad[0x118000 + 3 * 12 + 2] = 0x00;  // text 12's pointer, before the image
    runOn(reloadRomOperation, "bad.smc", bad.bytes);
    EXPECT_NE(detail().find("text 12"), std::string::npos) << detail();
}

TEST_F(WhereAndWhy, TheScriptsOwnMessagesPointIntoTheScript) {
    runOn(applyChangeScriptOperation, "s.txt", bytesOf(sjis(";;単語リスト\nremark\n  [F9 CE] ア\n")));
    EXPECT_EQ(text(), sjis("3行目の番号が範囲外です"));
    EXPECT_EQ(detail(), "s.txt:3:3: a name entry must be [F0 00] to [F9 CD]");
    runOn(applyChangeScriptOperation, "s.txt", bytesOf(sjis(";;テキスト\n##No.00 00\nアb//\n")));
    EXPECT_EQ(detail(), "s.txt:3:2: 'b' (byte 62) is in no character table, in text 0");
}

// ------------------------------------------------------------------ warnings

// Warnings stop nothing; each says where it stands. A whole file and one
// more line (or the start of one, shorter than a label) warns that the
// rest is not read.
TEST_F(WhereAndWhy, WarningsSayWhereTheyStand) {
    ASSERT_TRUE(test::run(state, platform, exportNamesOperation, "n.txt").warnings.empty());
    ASSERT_TRUE(test::run(state, platform, exportTextsOperation, "t.txt").warnings.empty());
    const Bytes names = platform.files["n.txt"], texts = platform.files["t.txt"];
    ASSERT_TRUE(test::run(state, platform, importNamesOperation, "n.txt").warnings.empty());
    ASSERT_TRUE(test::run(state, platform, importTextsOperation, "t.txt").warnings.empty());
    auto plus = [](Bytes whole, const std::string& utf8) {
        const std::string more = sjis(utf8);
        whole.insert(whole.end(), more.begin(), more.end());
        return whole;
    };
    const std::string textsEnd = std::to_string(std::count(texts.begin(), texts.end(), '\n') + 1);
    const struct {
        Operation operation;
        Bytes file;
        std::vector<std::string> warnings;
    } cases[] = {
        {importTextsOperation, bytesOf(sjis("##No.00 00\nア/イ//\n##No.00 05\nウ//\n")),
         {"w.txt:2: warning: a '/' ends text 0 here, before its closing \"//\"; the rest of the block is not read",
          "w.txt:3: warning: block 2 is text 1 (##No.00 01) by its position, whatever its header says; the position "
          "decides",
          "w.txt:5: warning: 2 blocks, not 5607: texts 2 and after keep their text"}},
        {importNamesOperation, bytesOf(sjis("[F0 00] ア\r\n[F0 02] イ\r\n")),
         {"w.txt:2: warning: line 2 is name 1 [F0 01] by its position, whatever its label says; the position decides",
          "w.txt:3: warning: 2 lines, not 2510: names 2 and after keep their text"}},
        {importNamesOperation, bytesOf(sjis("[F0 00] ア\r\n[F")),  // fewer lines, nothing more
         {"w.txt:2: warning: 1 lines, not 2510: names 1 and after keep their text"}},
        {applyChangeScriptOperation, bytesOf(sjis("\n;;テキスト2\n##No.00 00\nア//\n")),
         {"w.txt:2: warning: the section word \"テキスト2\" is no keyword (\"テキスト\" must stand alone); the section "
          "is skipped"}},
        {importNamesOperation, plus(names, "[F9 CE] ア\r\n"),
         {"w.txt:2511: warning: more than 2510 lines: the lines from here on are not read"}},
        {importNamesOperation, plus(names, "[F9"),
         {"w.txt:2511: warning: more than 2510 lines: the lines from here on are not read"}},
        {importTextsOperation, plus(texts, "##No.15 E7\nア//\r\n"),
         {"w.txt:" + textsEnd + ": warning: more than 5607 blocks: the blocks from here on are not read"}},
    };
    for (const auto& c : cases) {
        runOn(c.operation, "w.txt", c.file);
        EXPECT_TRUE(last.done());
        EXPECT_EQ(last.warnings, c.warnings);
    }
}

// The command line prints the warnings; under --strict a warning fails its
// verb and stops the chain, and a run without one exits 0.
TEST(CliWarnings, StrictFailsOnAWarningOnly) {
    const fs::path folder = test::scratchFolder();
    const std::string rom = (folder / "demo.smc").string(), t = (folder / "t.txt").string();
    test::writeBytes(rom, test::demoImage().bytes);
    EXPECT_EQ(test::cli({"--strict", rom, "export-texts", t, "import-texts", t}).code, 0);
    test::writeBytes(t, bytesOf(sjis("##No.00 00\nア//\n")));
    const test::CliRun r = test::cli({rom, "import-texts", t});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "t.txt:3: warning: 1 blocks, not 5607: texts 1 and after keep their text\n");
    EXPECT_EQ(test::cli({"--strict", rom, "import-texts", t, "export-texts", (folder / "o.txt").string()}).code, 1);
    EXPECT_FALSE(fs::exists(folder / "o.txt"));
    test::writeBytes(t, bytesOf("\xEF\xBB\xBF##No.00 00\nアイ\xC9\x83//"));  // Ƀ
    const test::CliRun u = test::cli({rom, "import-texts", t});
    EXPECT_EQ(u.code, 1);
    EXPECT_EQ(u.err, "t.txtが読み込めません\nt.txt:2:3: 'Ƀ' has no Shift-JIS (CP932) form\n");
}

// -------------------------------------------------------------------- UTF-8

// Every character of every table, the added characters' table included,
// comes back from a UTF-8 export exactly; a file with a byte-order mark is
// read as UTF-8 without being asked, one without only when asked.
TEST_F(WhereAndWhy, Utf8FilesRoundTripEveryTableCharacter) {
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
    for (size_t i = 0; i < codes.size(); ++i) state.catalogues.texts()[i].unpacked = codes[i];
    platform.utf8 = true;
    const std::pair<Operation, const char*> steps[] = {{exportTextsOperation, "t1.txt"}, {importTextsOperation, "t1.txt"},
                                                       {exportTextsOperation, "t2.txt"}, {exportNamesOperation, "n1.txt"},
                                                       {importNamesOperation, "n1.txt"}, {exportNamesOperation, "n2.txt"}};
    for (const auto& [operation, file] : steps) ASSERT_TRUE(test::run(state, platform, operation, file).done());
    EXPECT_EQ(platform.files["t1.txt"], platform.files["t2.txt"]);
    EXPECT_EQ(platform.files["n1.txt"], platform.files["n2.txt"]);
    const Bytes sjisExport = textCollectionBytes(state.catalogues.texts(), state.catalogues.names, state.tables);
    const Bytes utf8 = platform.files["t2.txt"];
    EXPECT_EQ(Bytes(utf8.begin(), utf8.begin() + 3), (Bytes{0xEF, 0xBB, 0xBF}));
    EXPECT_EQ(std::string(utf8.begin() + 3, utf8.end()),
              fromCp932(std::string(reinterpret_cast<const char*>(sjisExport.data()), sjisExport.size())));
    platform.utf8 = false;
    EXPECT_TRUE(test::run(state, platform, importTextsOperation, "t1.txt").done());  // the mark says UTF-8
    runOn(importTextsOperation, "u.txt", bytesOf("##No.00 00\nウ//"));  // UTF-8 bytes, no mark
    EXPECT_TRUE(last.failed());
    platform.utf8 = true;
    runOn(importTextsOperation, "u.txt", bytesOf("##No.00 00\nウ//"));
    EXPECT_EQ(state.catalogues.texts()[0].unpacked, Bytes{0x76});
}

}  // namespace
}  // namespace velk
