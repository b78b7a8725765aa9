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

using namespace std::string_literals;

// Every message and every detail, word for word, from a problem's code and
// fields alone. Fields the code does not use are set too: they must not show.
TEST(Messages, EachCodeHasItsExactWords) {
    using C = ProblemCode;
    auto make = [](ProblemCode code, std::string bytes = {}, std::string words = {}) {
        Problem p = problem(code, 0x1F);
        p.record = Record::Text, p.entry = 3, p.innerOffset = 9, p.line = 4, p.expected = 8, p.found = 2;
        p.width = 32, p.height = 48, p.x = 5, p.y = 6, p.bytes = std::move(bytes), p.words = std::move(words);
        return p;
    };
    Problem writing = make(C::SystemError, "", "Disk full"), named = make(C::NameRunsPast);
    writing.writing = true, writing.file = "\x83\x41.smc";
    named.record = Record::UnitGraphic, named.pointsTo = 0x12345;
    Problem nameChar = make(C::CharacterNotInTable, "\x8C\x46"), oneByte = make(C::CharacterNotInTable, "a\r");
    Problem big = make(C::NotARomImage), colour = make(C::ColourNotInPalette);
    nameChar.record = Record::Name, oneByte.found = 1, big.found = 9, colour.found = 0xA0B0C;
    Problem wide = oneByte, failedCheck = make(C::PatchFailedCheck, "", "applied, it does not give the saved image");
    wide.fullWidth = "\x82\x81";
    const struct { Problem problem; const char* display; std::string detail; } cases[] = {
        {writing, "ア.smcに書き込めませんでした", "ア.smc: Disk full"},
        {make(C::SystemError), "が読み込めません", ""},
        {tooLarge(size_t{64} << 20), "が読み込めません", "larger than 64 MiB"},
        {tooLarge(size_t{64} << 10), "が読み込めません", "larger than 64 KiB"},
        {tooLarge((size_t{1} << 20) + 1024), "が読み込めません", "larger than 1025 KiB"},
        {make(C::Utf16ByteOrderMark), "", "begins with a UTF-16 byte-order mark; save it as Shift-JIS or UTF-8"},
        {make(C::Utf16ZeroByte), "", "holds a zero byte, so it looks like UTF-16; save it as Shift-JIS or UTF-8"},
        {make(C::NotUtf8, "\xC0"), "", "is not UTF-8: \\xC0 is no UTF-8 character"},
        {make(C::NoShiftJisForm, "Ƀ"), "", "'Ƀ' has no Shift-JIS (CP932) form"},
        {make(C::NotUtf8Text), "", "not UTF-8 text"},
        {make(C::AbsoluteScriptPath), "",
         "is an absolute path; a script names files in its own folder or below it (--script-files-anywhere allows any)"},
        {make(C::ScriptPathLeadsOut), "",
         "leads out of the script's folder; a script names files in its own folder or below it (--script-files-anywhere "
         "allows any)"},
        {make(C::IsAFolder), "", "is a folder, not a file"},
        {make(C::NotARegularFile), "", "is not a regular file (a FIFO or a device); a script names regular files only"},
        {make(C::IsTheLoadedRom, "", "g.smc"), "に書き込めませんでした",
         "is the loaded ROM g.smc (after following links); it is never replaced by a patch"},
        {make(C::BackupIsALink, "", "g.smc"), "に書き込めませんでした",
         "is a link to g.smc, the file this save replaces; the backup would not keep it. Remove or rename it"},
        {make(C::LoadedFromPipe), "",
         "was read from a pipe or a device, which cannot be read again as the patch's source; load the ROM from a file"},
        {make(C::LoadedRomChanged), "", "changed since it was loaded, and a patch is made against the ROM as loaded"},
        {make(C::RomHasGrown, "", "g.smc"), "", "g.smc has grown to more than 8 bytes since it was loaded"},
        {make(C::NotARomImage), "", "2 bytes, not a 4 MiB image (4194304 bytes, or 4194816 with a copier header)"},
        {big, "", "more than 8 bytes, not a 4 MiB image (4194304 bytes, or 4194816 with a copier header)"},
        {make(C::BlockPointerOutside, "\x00\x80\xFF"s), "", "the block pointer at 0x00001F holds 00 80 FF, which leads outside the image"},
        {make(C::NoRoom), "容量が足りません", ""},
        {make(C::PackedStreamOutside), "", "packed stream starts outside the image"},
        {make(C::PackedStreamRunsPast), "", "packed stream runs past the end of the image"},
        {make(C::BackReferenceOutside), "", "back-reference leads outside the image"},
        {make(C::LengthHeaderTooLarge), "", "length header asks for 2 bytes, more than 4096"},
        {make(C::UnpackedLengthTooLarge), "", "unpacked length beyond 4096 bytes"},
        {make(C::NamePointerOutside), "", "name pointer leads outside the image"},
        {named, "", "unit graphic 3 (pointer to 0x012345): name runs past the end of the image"},
        {nameChar, "熊は使用できません3 -116", "'熊' (bytes 8C 46) is in no character table, in name 3"},
        {oneByte, "a\\x0Dは使用できません97 13 3 9", "'a' (byte 61) is in no character table, in text 3"},
        {make(C::EntryNotClosed, "\0\0"s), "は使用できません0 0 3 9", "text 3 ends without its closing \"//\""},
        {make(C::HexEscapeMalformed, "[F"), "", "'[' is not followed by two hexadecimal numbers, in text 3"},
        {make(C::HexEscapeNotClosed, "[F"), "", "'[' has no closing \")]\" before the text ends, in text 3"},
        {make(C::PairEscapeMalformed, "?\x82"), "?\\x82は使用できません63 -126 3 9",
         "'?' is not followed by \"XX YY?\" (two digits each), in text 3"},
        {make(C::ByteEscapeMalformed, "!\n"), "", "'!' is not followed by \"XX!\" (two digits), in text 3"},
        {make(C::EscapeEndsName, "!0"), "", "the escape's 00 would end the name there, in text 3"},
        {make(C::UnknownToken, "\x97\x45\x8E\xD2"), "(勇者)は使用できません",
         "(勇者) is none of the tokens (主人公) (騎士団) (冷や汗) (ハート) (旗), in text 3"},
        {make(C::TokenNotClosed, "\x8A\xF8"), "(旗)は使用できません", "\"(旗\" has no closing \")\" on its line, in text 3"},
        {make(C::TextTooLong), "テキスト3が長すぎます", "text 3 needs more than 4096 code bytes"},
        {make(C::NoFileName), "4行目の指定が足りません", "no file name behind \"@@\""},
        {make(C::GlyphsWithoutTable), "", "the glyph file has no table file (\"@@\") behind it in its section"},
        {make(C::SheetWithoutPalette), "", "the sheet file has no palette file (\"@@\") behind it in its section"},
        {make(C::EntryNeedsFiveNumbers), "", "the entry needs '#' and five numbers, each behind a '.'"},
        {make(C::EntryNeedsThreeNumbers), "", "the entry needs '#' and three numbers, each behind a '.'"},
        {make(C::NameEntryUnsigned), "4行目の番号が範囲外です", "an entry number has no sign: [F0 00] to [F9 CD]"},
        {make(C::NameEntryOutOfRange), "", "a name entry must be [F0 00] to [F9 CD]"},
        {make(C::TextEntryUnsigned), "", "an entry number has no sign: ##No.00 00 to ##No.15 E6"},
        {make(C::TextEntryOutOfRange), "", "a text entry must be ##No.00 00 to ##No.15 E6"},
        {make(C::ClassNumberOutOfRange), "", "U2 must be 00-0A, or FF to leave it alone"},
        {make(C::ItemNumberOutOfRange), "", "G3 must be 04B-156, or FF to leave it alone"},
        {make(C::IpsIsBps), "", "a BPS patch (it begins with \"BPS1\"), not an IPS patch"},
        {make(C::IpsNoHeader), "", "not an IPS patch: it does not begin with \"PATCH\""},
        {make(C::IpsTooShort), "", "IPS patch of 2 bytes, fewer than 8"},
        {make(C::IpsNoEof), "", "IPS record at 0x9 runs past the end of the patch without \"EOF\""},
        {make(C::IpsRecordRunsPast), "", "IPS record at 0x9 runs past the end of the patch"},
        {make(C::IpsZeroRun), "", "IPS record at 0x9 is a run of length 0"},
        {make(C::IpsWritesBeyond), "", "IPS record at 0x9 writes beyond the end of the image"},
        {make(C::BpsNoHeader), "", "BPS patch: no \"BPS1\" header"},
        {make(C::BpsPatchChecksum), "", "BPS patch: the patch's checksum does not match"},
        {make(C::BpsHeaderRunsPast), "", "BPS patch: header runs past the end"},
        {make(C::BpsSourceSize), "", "BPS patch: made for a source of 8 bytes"},
        {make(C::BpsSourceChecksum), "", "BPS patch: the source's checksum does not match"},
        {make(C::BpsSizesBeyond), "", "BPS patch: sizes beyond the patch"},
        {make(C::BpsActionRunsPast), "", "BPS patch: action runs past the end"},
        {make(C::BpsActionBeyondTarget), "", "BPS patch: action writes beyond the target"},
        {make(C::BpsReadsBeyondSource), "", "BPS patch: reads beyond the source"},
        {make(C::BpsNewBytesRunPast), "", "BPS patch: new bytes run past the end"},
        {make(C::BpsOffsetRunsPast), "", "BPS patch: offset runs past the end"},
        {make(C::BpsCopyOutsideSource), "", "BPS patch: copies from outside the source"},
        {make(C::BpsCopyOutsideTarget), "", "BPS patch: copies from outside the target so far"},
        {make(C::BpsTargetSize), "", "BPS patch: makes 2 bytes, not 8"},
        {make(C::BpsTargetChecksum), "", "BPS patch: the target's checksum does not match"},
        {make(C::NotAPng), "", "not a PNG file"},
        {make(C::PngLibrary, "", "the file ends early"), "", "the file ends early"},
        {make(C::PictureSize), "", "32 x 48 pixels expected, found 5 x 6"},
        {make(C::PaletteIndexTooLarge), "", "pixel (5, 6) has palette index 2; indexes 0-8 are read"},
        {colour, "", "pixel (5, 6) has colour #0A0B0C, which is not in the palette"},
        {wide, "", "'a' (byte 61) is in no character table, in text 3; its full-width form 'ａ' has one, which --fullwidth would take"},
        {make(C::FolderNotEmpty), "", "the folder is not empty; a project is exported into a new or empty folder"},
        {make(C::ProjectFileInvalid, "", "line 2: no \"format\""), "", "line 2: no \"format\""},
        {failedCheck, "", "the patch failed its check and was not written: applied, it does not give the saved image"},
    };
    for (const auto& c : cases) {
        const Message m = renderMessage(c.problem);
        if (*c.display) {
            EXPECT_EQ(m.display, c.display) << c.detail;
        }
        EXPECT_EQ(m.detail, c.detail);
    }
}

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

// Each problem in an imported file stands at its line and column (in
// characters), whatever the line ends.
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
        c.names ? importNames(c.file) : importTexts(c.file);
        if (*c.message) {
            EXPECT_EQ(text(), sjis(c.message));
        }
        EXPECT_EQ(detail(), c.detail);
    }
    importNames("[F0 00] ア\r\n[F0 01] イ\r\n[F0 02] アa\r\n");
    EXPECT_EQ(text(), "a\r" + sjis("は使用できません2 97"));
    EXPECT_EQ(display(), "a\\x0Dは使用できません2 97");
}

// A file's name shows as the file system spells it; a ROM that is not an
// image of the game says which check failed; a script's own messages point into it.
TEST_F(WhereAndWhy, FilesRomsAndScriptsNameTheirPlace) {
    RomImage bad = test::demoImage();
    bad[0x1E7DDB + 2] = 0x00;  // a relocated block's pointer before the image
    platform.failWriting("out.txt");
    const struct { Operation operation; const char* file; Bytes bytes; const char* display; const char* detail; } cases[] = {
        {importNamesOperation, "é.txt", {}, "é.txtが読み込めません", "é.txt: No such file or directory"},
        {exportNamesOperation, "out.txt", {}, "out.txtに書き込めませんでした", ""},
        {reloadRomOperation, "bad.smc", bad.bytes, "bad.smcが読み込めません",
         "bad.smc: the block pointer at 0x1E7DDB holds 00 80 00, which leads outside the image"},
        {applyChangeScriptOperation, "s.txt", bytesOf(sjis(";;単語リスト\nremark\n  [F9 CE] ア\n")), "3行目の番号が範囲外です",
         "s.txt:3:3: a name entry must be [F0 00] to [F9 CD]"},
    };
    for (const auto& c : cases) {
        if (!c.bytes.empty()) platform.files[c.file] = c.bytes;
        last = test::run(state, platform, c.operation, c.file);
        EXPECT_EQ(display(), c.display);
        EXPECT_EQ(detail(), c.detail);
    }
    last = test::run(state, platform, importNamesOperation, "é.txt");
    EXPECT_EQ(text(), "?.txt" + sjis("が読み込めません"));
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
    const struct { Operation operation; Bytes file; std::vector<std::string> warnings; } cases[] = {
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
