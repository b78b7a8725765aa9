#include <gtest/gtest.h>

#include <sstream>

#include "ops/messages.h"
#include "ops/operations.h"
#include "scripted_platform.h"
#include "test_support.h"
#include "text/sjis.h"
#include "text/text_collection.h"

namespace velk {
namespace {

using namespace std::string_literals;

// Every field set, also those a code does not use: they must not show.
Problem everyField() {
    Problem p = problem(ProblemCode::SystemError, 0x1F);
    p.record = Record::Text, p.entry = 3, p.innerOffset = 9, p.line = 4, p.expected = 8, p.found = 2;
    p.width = 32, p.height = 48, p.x = 5, p.y = 6, p.bytes = "\x8C\x46", p.words = "g.smc";
    return p;
}

// Every message of every code, as tests/golden/messages.txt keeps it.
std::string allMessages() {
    std::ostringstream out;
    out << "# Every message's display and detail, one code (and variant) a line.\n"
           "# Written by: VELK_WRITE_GOLDEN=1 build/tests/velk_tests --gtest_filter=Golden.*\n";
    auto line = [&](const char* tag, int code, const Problem& p) {
        const Message m = renderMessage(p);
        out << tag << code << " " << m.display << " | " << m.detail << "\n";
        return m.display + m.detail;
    };
    Problem p = everyField();
    for (int c = 0; c <= static_cast<int>(ProblemCode::LastCode); ++c) {
        p.code = static_cast<ProblemCode>(c);
        const std::string base = line("", c, p);
        // Where they change the words: a write to a named file, a name's pointer, a one-byte character.
        Problem w = p, n = p, c1 = p;
        w.writing = true, w.file = "\x83\x41.smc", w.cause = "gone", w.found = 9;
        n.record = Record::Name, n.pointsTo = 0x12345;
        c1.bytes = "a\r", c1.found = 1, c1.fullWidth = "\x82\x81";
        for (const auto& [tag, v] : {std::pair{"w", w}, {"n", n}, {"c", c1}})
            if (const Message m = renderMessage(v); m.display + m.detail != base) line(tag, c, v);
    }
    // Every warning, its fields set.
    for (int c = 0; c <= static_cast<int>(WarningCode::LastCode); ++c)
        out << "W" << c << " " << warningText({static_cast<WarningCode>(c), 0, 5, 7, 9, "\x8C\x46", "\x82\x60"}) << "\n";
    return out.str();
}

void expectGolden(const char* name, const std::string& now) {
    const fs::path golden = fs::path(VELK_TEST_SOURCE_DIR) / "golden" / name;
    if (std::getenv("VELK_WRITE_GOLDEN")) test::writeBytes(golden, bytesOf(now));
    const Bytes kept = test::readBytes(golden);
    EXPECT_EQ(now, std::string(kept.begin(), kept.end()));
}

TEST(Golden, MessagesAreAsReviewed) { expectGolden("messages.txt", allMessages()); }

// The window's sentence of every code in both languages, at an entry's place, and with a full-width form.
TEST(Golden, WindowMessagesAreAsReviewed) {
    std::ostringstream out;
    out << "# Every window message, Japanese and English, one code (and variant) a line.\n";
    Problem p = everyField();
    for (int c = 0; c <= static_cast<int>(ProblemCode::LastCode); ++c) {
        p.code = static_cast<ProblemCode>(c);
        Problem wide = p;
        wide.bytes = "a\r", wide.found = 1, wide.fullWidth = "\x82\x81";
        for (const WindowLanguage l : {WindowLanguage::Japanese, WindowLanguage::English}) {
            const std::string base = windowMessage(p, {"##No.15 98", 2, 5}, l), widened = windowMessage(wide, {"##No.15 98", 2, 5}, l);
            EXPECT_EQ((base + widened).find("--"), std::string::npos) << base << widened;
            out << c << " " << base << "\n";
            if (widened != base) out << "c" << c << " " << widened << "\n";
        }
    }
    out << windowMessage(problem(ProblemCode::NotAPng), {}, WindowLanguage::English) << "\n";
    expectGolden("window-messages.txt", out.str());
}

// Imports through the operations, as the window does, and keeps the outcome.
class WhereAndWhy : public ::testing::Test {
protected:
    void SetUp() override { state = test::demoState(platform); }
    void runOn(Operation operation, const std::string& file, const Bytes& bytes) {
        platform.files[file] = bytes;
        last = test::run(state, platform, operation, file);
    }
    std::string text() const { return last.problem ? last.problem->text : "(none)"; }
    std::string display() const { return last.problem ? last.problem->display : "(none)"; }
    std::string detail() const { return last.problem ? last.problem->detail : "(none)"; }
    ScriptedPlatform platform;
    EditorState state;
    Outcome last;
};

// Line and column count characters, whatever the line ends.
TEST_F(WhereAndWhy, ProblemsInImportedFilesStandAtTheirLineAndColumn) {
    const struct { bool names; const char* file; const char* message; const char* detail; } cases[] = {
        {true, "[F0 00] ア\r\n[F0 01] イ\r\n[F0 02] アa\r\n", "",
         "names.txt:3:10: 'a' (byte 61) is in no character table, in name 2; its full-width form 'ａ' has one, which --fullwidth would take"},
        {true, "[F0 00] ア\n[F0 01] 熊イ\n", "", "names.txt:2:9: '熊' (bytes 8C 46) is in no character table, in name 1"},
        {true, "[F0 00] ア\n[F0 01] イ熊\n", "", "names.txt:2:10: '熊' (bytes 8C 46) is in no character table, in name 1"},
        {true, "[F0 00] ア\r\n[F0 01] (勇者)\r\n", "(勇者)は使用できません",
         "names.txt:2:9: (勇者) is none of the tokens (主人公) (騎士団) (冷や汗) (ハート) (旗), in name 1"},
        {false, "##No.00 00\nア//\r\n##No.00 01\r\nアイ\r\n熊ウ//\r\n", "熊は使用できません-116 70 1 18",
         "texts.txt:5:1: '熊' (bytes 8C 46) is in no character table, in text 1"},
        {false, "##No.00 00\nアイb\n//", "", "texts.txt:2:3: 'b' (byte 62) is in no character table, in text 0; its full-width form 'ｂ' has one, which --fullwidth would take"},
        {false, "##No.00 00\nア(主人公\nイ//", "(主人公)は使用できません",
         "texts.txt:2:2: \"(主人公\" has no closing \")\" on its line, in text 0"},
        {false, "##No.00 00\n(勇者)//", "",
         "texts.txt:2:1: (勇者) is none of the tokens (主人公) (騎士団) (冷や汗) (ハート) (旗), in text 0"},
        {false, "##No.00 00\nア", "", "texts.txt:2:2: text 0 ends without its closing \"//\""},
    };
    for (const auto& c : cases) {
        runOn(c.names ? importNameList : importTextCollection, c.names ? "names.txt" : "texts.txt", bytesOf(sjis(c.file)));
        EXPECT_EQ(*c.message ? text() : "", *c.message ? sjis(c.message) : "");
        EXPECT_EQ(detail(), c.detail);
    }
    runOn(importNameList, "names.txt", bytesOf(sjis("[F0 00] ア\r\n[F0 01] イ\r\n[F0 02] アa\r\n")));
    EXPECT_EQ(text(), "a\r" + sjis("は使用できません2 97"));
    EXPECT_EQ(display(), "a\\x0Dは使用できません2 97");
}

// A file's name shows as the file system spells it; a bad ROM says which check failed.
TEST_F(WhereAndWhy, FilesRomsAndScriptsNameTheirPlace) {
    RomImage bad = test::demoImage();
    bad[0x1E7DDB + 2] = 0x00;  // a relocated block's pointer before the image
    platform.failWriting("out.txt");
    const struct { Operation operation; const char* file; Bytes bytes; const char* display; const char* detail; } cases[] = {
        {importNameList, "é.txt", {}, "é.txtが読み込めません", "é.txt: No such file or directory"},
        {exportNameList, "out.txt", {}, "out.txtに書き込めませんでした", ""},
        {reloadRom, "bad.smc", bad.bytes, "bad.smcが読み込めません",
         "bad.smc: the block pointer at 0x1E7DDB holds 00 80 00, which leads outside the image"},
        {applyChangeScript, "s.txt", bytesOf(sjis(";;単語リスト\nremark\n  [F9 CE] ア\n")), "3行目の番号が範囲外です",
         "s.txt:3:3: a name entry must be [F0 00] to [F9 CD]"},
    };
    for (const auto& c : cases) {
        if (!c.bytes.empty()) platform.files[c.file] = c.bytes;
        last = test::run(state, platform, c.operation, c.file);
        EXPECT_EQ(display(), c.display);
        EXPECT_EQ(detail(), c.detail);
    }
    last = test::run(state, platform, importNameList, "é.txt");
    EXPECT_EQ(text(), "?.txt" + sjis("が読み込めません"));
}

// Warnings stop nothing. A whole file and one more line (or the start of one, shorter than a
// label) warns that the rest is not read.
TEST_F(WhereAndWhy, WarningsSayWhereTheyStand) {
    for (Operation o : {exportNameList, importNameList}) ASSERT_TRUE(test::run(state, platform, o, "n.txt").warnings.empty());
    for (Operation o : {exportTextCollection, importTextCollection}) ASSERT_TRUE(test::run(state, platform, o, "t.txt").warnings.empty());
    const Bytes names = platform.files["n.txt"], texts = platform.files["t.txt"];
    auto plus = [](Bytes whole, const std::string& utf8) { return whole.insert(whole.end(), utf8.begin(), utf8.end()), whole; };
    const std::string textsEnd = std::to_string(std::count(texts.begin(), texts.end(), '\n') + 1);
    const struct { Operation operation; Bytes file; std::vector<std::string> warnings; } cases[] = {
        {importTextCollection, bytesOf(sjis("##No.00 00\nア/イ//\n##No.00 05\nウ//\n")),
         {"w.txt:2: warning: a '/' ends text 0 here, before its closing \"//\"; the rest of the block is not read",
          "w.txt:3: warning: block 2 is text 1 (##No.00 01) by its position, whatever its header says; the position "
          "decides",
          "w.txt:5: warning: 2 blocks, not 5607: texts 2 and after keep their text"}},
        {importNameList, bytesOf(sjis("[F0 00] ア\r\n[F0 02] イ\r\n")),
         {"w.txt:2: warning: line 2 is name 1 [F0 01] by its position, whatever its label says; the position decides",
          "w.txt:3: warning: 2 lines, not 2510: names 2 and after keep their text"}},
        {importNameList, bytesOf(sjis("[F0 00] ア\r\n[F")),  // fewer lines, nothing more
         {"w.txt:2: warning: 1 lines, not 2510: names 1 and after keep their text"}},
        {applyChangeScript, bytesOf(sjis("\n;;テキスト2\n##No.00 00\nア//\n")),
         {"w.txt:2: warning: the section word \"テキスト2\" is no keyword (\"テキスト\" must stand alone); the section "
          "is skipped"}},
        {importNameList, plus(names, sjis("[F9 CE] ア\r\n")), {"w.txt:2511: warning: more than 2510 lines: the lines from here on are not read"}},
        {importNameList, plus(names, "[F9"), {"w.txt:2511: warning: more than 2510 lines: the lines from here on are not read"}},
        {importTextCollection, plus(texts, sjis("##No.15 E7\nア//\r\n")),
         {"w.txt:" + textsEnd + ": warning: more than 5607 blocks: the blocks from here on are not read"}},
    };
    for (const auto& c : cases) {
        runOn(c.operation, "w.txt", c.file);
        EXPECT_TRUE(last.done());
        EXPECT_EQ(last.warnings, c.warnings);
    }
}

// Under --strict a warning fails its verb and stops the chain; a run without one exits 0.
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

// Every character of every table, added ones too, comes back from UTF-8; a file with a
// byte-order mark is read as UTF-8 without being asked, one without only when asked.
TEST_F(WhereAndWhy, Utf8FilesRoundTripEveryTableCharacter) {
    const std::string added = sjis("鬱熊鰐");
    for (size_t i = 0; i < added.size(); ++i)
        state.tables[kAddedCharTable][i / 2][i % 2] = static_cast<uint8_t>(added[i]);
    // Texts made of every glyph code: table 0's one-byte glyphs, then every slot of tables 1-10.
    std::vector<Bytes> codes(kCharTableCount);
    for (int s = 0x20; s < 256; ++s) codes[0].push_back(static_cast<uint8_t>(s));
    for (uint8_t t = 1; t < kCharTableCount; ++t)
        for (int s = 0; s < 256; ++s) codes[t].insert(codes[t].end(), {t, static_cast<uint8_t>(s)});
    for (size_t i = 0; i < codes.size(); ++i) state.catalogues.texts()[i].unpacked = codes[i];
    platform.utf8 = true;
    const std::pair<Operation, const char*> steps[] = {{exportTextCollection, "t1.txt"}, {importTextCollection, "t1.txt"},
                                                       {exportTextCollection, "t2.txt"}, {exportNameList, "n1.txt"},
                                                       {importNameList, "n1.txt"}, {exportNameList, "n2.txt"}};
    for (const auto& [operation, file] : steps) ASSERT_TRUE(test::run(state, platform, operation, file).done());
    EXPECT_EQ(platform.files["t1.txt"], platform.files["t2.txt"]);
    EXPECT_EQ(platform.files["n1.txt"], platform.files["n2.txt"]);
    const Bytes sjisExport = textCollectionBytes(state.catalogues.texts(), state.catalogues.names, state.tables);
    const Bytes utf8 = platform.files["t2.txt"];
    EXPECT_EQ(Bytes(utf8.begin(), utf8.begin() + 3), (Bytes{0xEF, 0xBB, 0xBF}));
    EXPECT_EQ(std::string(utf8.begin() + 3, utf8.end()),
              fromCp932(std::string(reinterpret_cast<const char*>(sjisExport.data()), sjisExport.size())));
    platform.utf8 = false;
    EXPECT_TRUE(test::run(state, platform, importTextCollection, "t1.txt").done());  // the mark says UTF-8
    runOn(importTextCollection, "u.txt", bytesOf("##No.00 00\nウ//"));  // UTF-8 bytes, no mark
    EXPECT_TRUE(last.failed());
    platform.utf8 = true;
    runOn(importTextCollection, "u.txt", bytesOf("##No.00 00\nウ//"));
    EXPECT_EQ(state.catalogues.texts()[0].unpacked, Bytes{0x76});
}

}  // namespace
}  // namespace velk
