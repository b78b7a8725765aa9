#include <gtest/gtest.h>

#include "gfx/colours.h"
#include "ops/operations.h"
#include "pack/pack_profiles.h"
#include "rom/save_layout.h"
#include "script/change_script.h"
#include "test_support.h"
#include "text/glyph_lookup.h"

namespace velk {
namespace {

using C = ProblemCode;

// A picture of tiles whose byte i is a function of i.
Bytes sheetBytes(uint8_t salt = 0, size_t size = 16384) {
    Bytes sheet(size);
    for (size_t i = 0; i < size; ++i) sheet[i] = static_cast<uint8_t>((i * 7 + i / 256) ^ salt);
    return sheet;
}

Bytes ipsOf(std::initializer_list<Bytes> records, bool withEof = true) {
    Bytes patch = bytesOf("PATCH");
    for (const Bytes& r : records) patch.insert(patch.end(), r.begin(), r.end());
    if (withEof) patch.insert(patch.end(), {'E', 'O', 'F'});
    return patch;
}

class ChangeScript : public ::testing::Test {
protected:
    ChangeScript() {
        state.image = test::demoImage();
        state.catalogues = test::demoCatalogues();
    }
    // Runs `utf8` (converted to Shift-JIS); what stopped it, or "".
    std::string run(const std::string& utf8) {
        script = bytesOf(sjis(utf8));
        const Status s = applyChangeScript(script, state, files);
        if (s) return "";
        lastProblem = s.problem();
        return stop(s.problem().code, s.problem().line, s.problem().file);
    }
    // A problem's code, with the script line or the file it names.
    static std::string stop(ProblemCode code, int64_t line = 0, const std::string& file = {}) {
        return std::to_string(static_cast<int>(code)) + " line " + std::to_string(line) + " " + file;
    }
    static std::string unreadable(const std::string& file) { return stop(ProblemCode::SystemError, 0, file); }
    const NameEntry& name(int i) const { return state.catalogues.names[static_cast<size_t>(i)]; }
    const ResourceEntry& text(int i) const { return state.catalogues.texts()[static_cast<size_t>(i)]; }
    const ResourceEntry& unit(int64_t i) const { return state.catalogues.unitGraphics()[static_cast<size_t>(i)]; }
    EditorState state;
    ScriptedPlatform platform;
    ScriptFolderFiles files{platform, ""};
    Bytes script;
    std::optional<Problem> lastProblem;
    const Catalogues& before = test::demoCatalogues();
};

// A name's code bytes ('n') or a text's unpacked bytes ('t') after a script;
// no bytes: as the demo image has them.
struct Entry { char kind; int index; std::optional<Bytes> bytes; };

// Each script on a fresh state: the message it ends with ("" for none) and
// the entries it leaves.
TEST_F(ChangeScript, SectionsEntriesAndTheirLimits) {
    const std::string longToken(997, 'x');
    const struct { std::string script; std::string stop; std::vector<Entry> entries; } cases[] = {
        // the keyword may stand on the next line; text before the first marker is not read
        {"remark [F0 01] ア\n;;\n  テキスト\n##No.00 00\nア//\n", "", {{'t', 0, Bytes{0x72}}, {'n', 1, {}}}},
        // "テキスト2" is no keyword: skipped
        {";;テキスト2\n##No.00 01\nア//\n;;単語リスト\n[F0 02] イ\n", "", {{'t', 1, {}}, {'n', 2, Bytes{0x74}}}},
        {";;単語リスト\n[F0 00] ア\n;;終了\n;;単語リスト\n[F0 01] イ\n", "", {{'n', 0, Bytes{0x72}}, {'n', 1, {}}}},
        {";;終了2\n;;単語リスト\n[F0 01] イ\n", "", {{'n', 1, Bytes{0x74}}}},  // "終了2" is no keyword
        // the end of the data ends the script quietly
        {"", "", {}},
        {";;", "", {}},
        {";;   \n", "", {}},
        {";;単語リスト\n[F0 00] ア", "", {{'n', 0, Bytes{0x72}}}},
        {";;テキスト\n##No.00 00\nア", stop(C::EntryNotClosed), {{'t', 0, {}}}},  // no "//"
        {";;" + longToken + "テキスト\n##No.00 00\nア//", "", {{'t', 0, {}}}},  // 999 bytes match nothing
        // names go by their label: a lower-case f is no entry, the last of two wins
        {";;単語リスト\nremark\n[F1 23] アイ\r\n[F0 05] ウ\n[f0 06] エ\n[F0 07] \n[F0 08] イ\n[F0 08] ア\n", "",
         {{'n', 0x123, Bytes{0x72, 0x74}}, {'n', 5, Bytes{0x76}}, {'n', 6, {}}, {'n', 7, Bytes{}}, {'n', 8, Bytes{0x72}},
          {'n', 9, {}}}},
        // texts by their header; a single '/' ends the body
        {";;テキスト\n##No.0A 1F\nア\r\nイ//\n##No.00 03\nウ/エ//\n", "",
         {{'t', 0x0A1F, Bytes{0x72, 0x16, 0x74}}, {'t', 3, Bytes{0x76}}}},
        {";;単語リスト\n[F9 CD] ア\n\n[F9 CE] イ\n[F0 00] ウ\n", stop(C::NameEntryOutOfRange, 4),
         {{'n', 2509, Bytes{0x72}}, {'n', 0, {}}}},
        {";;単語リスト\n[FE 00] ア\n", stop(C::NameEntryOutOfRange, 2), {}},  // entry 0xE00
        {";;単語リスト\n[F 00] ア\n", stop(C::NameEntryOutOfRange, 2), {}},   // 0x0F is below F0
        {";;テキスト\n##No.15 E6\nア//\n##No.15 E7\nイ//\n", stop(C::TextEntryOutOfRange, 4), {{'t', 5606, Bytes{0x72}}}},
        {";;テキスト\n##No.-1 00\nア//\n", stop(C::TextEntryUnsigned, 2), {}},
        // unreadable numbers are no entries
        {";;単語リスト\n[Fx 01] ア\n[F0 zz] イ\n;;テキスト\n##No.zz\nウ//\n##No.00 04\nエ//\n", "",
         {{'t', 4, Bytes{0x78}}, {'n', 1, {}}}},
    };
    for (const auto& c : cases) {
        state.catalogues = before;
        EXPECT_EQ(run(c.script), c.stop) << c.script;
        for (const Entry& e : c.entries) {
            const auto i = static_cast<size_t>(e.index);
            const Bytes& got = e.kind == 'n' ? state.catalogues.names[i].code : state.catalogues.texts()[i].unpacked;
            const Bytes& old = e.kind == 'n' ? before.names[i].code : before.texts()[i].unpacked;
            EXPECT_EQ(got, e.bytes.value_or(old)) << c.script << " " << e.kind << e.index;
        }
    }
    EXPECT_EQ(text(4).packed, packWithProfile(state.image, text(4).unpacked, kTextProfile));
}

TEST_F(ChangeScript, EveryIpsSpellingAndBothSSpellingsSelectTheirSection) {
    int k = 0;
    for (const char* keyword : {"IPSパッチ", "ipsパッチ", "ＩＰＳパッチ", "ｉｐｓパッチ"}) {
        platform.files["p.ips"] = ipsOf({{0x00, 0x00, 0x10, 0x00, 0x01, static_cast<uint8_t>(0x40 + k)}});
        platform.files["p.ips"].push_back(0x77);  // behind "EOF": ignored
        EXPECT_EQ(run(std::string(";;") + keyword + " @@p.ips"), "") << keyword;
        EXPECT_EQ(state.image[0x10], 0x40 + k) << keyword;
        ++k;
    }
    platform.files["p.ips"] = ipsOf({{0x00, 0x00, 0x10, 0x00, 0x01, 0x99}});
    EXPECT_EQ(run(";;IpSパッチ @@p.ips ;;ＩＰＳﾊﾟｯﾁ @@p.ips"), "");  // mixed case, half-width: skipped
    EXPECT_EQ(state.image[0x10], 0x43);
    for (const char* keyword : {"Sクラスキャラグラ", "Ｓクラスキャラグラ"})
        EXPECT_EQ(run(std::string(";;") + keyword + "\n@@ none.bin\n"), unreadable("none.bin")) << keyword;
}

TEST_F(ChangeScript, AFailingThirdSectionLeavesWhatCameBefore) {
    platform.files["p.ips"] = ipsOf({{0x00, 0x00, 0x20, 0x00, 0x01, 0x99}});
    EXPECT_EQ(run(";;IPSパッチ @@p.ips\n;;単語リスト\n[F0 00] ア\n"
                  ";;テキスト\n##No.00 00\nア//\n##No.00 01\n熊//\n##No.00 02\nイ//\n;;単語リスト\n[F0 01] イ\n"),
              stop(C::CharacterNotInTable));
    EXPECT_EQ(state.image[0x20], 0x99);
    EXPECT_EQ(name(0).code, Bytes{0x72});
    EXPECT_EQ(text(0).unpacked, Bytes{0x72});
    EXPECT_EQ(text(1).unpacked, before.texts()[1].unpacked);
    EXPECT_EQ(text(2).unpacked, before.texts()[2].unpacked);
    EXPECT_EQ(name(1).code, before.names[1].code);
    // The problem stands where the character stands in the script.
    EXPECT_EQ(script[lastProblem->offset], 0x8C);
    EXPECT_EQ(script[lastProblem->offset + 1], 0x46);
}

// ------------------------------------------------------ added characters

TEST_F(ChangeScript, AddedCharactersAreFoundByALaterSection) {
    const GlyphLookup builtIn(state.tables);
    const std::string newChars = sjis("鬱熊");
    ASSERT_FALSE(builtIn.find(static_cast<uint8_t>(newChars[0]), static_cast<uint8_t>(newChars[1])));
    Bytes glyphs(8192);
    for (size_t i = 0; i < glyphs.size(); ++i) glyphs[i] = static_cast<uint8_t>(i * 3);
    platform.files["g.bin"] = glyphs;
    platform.files["t.txt"] = bytesOf("\r\n  " + newChars);  // leading blanks, no final blank, 4 bytes
    EXPECT_EQ(run(";;文字追加\n@@g.bin\n@@t.txt\n;;単語リスト\n[F0 00] 熊鬱ア\n"), "");
    EXPECT_TRUE(state.glyphSheetLoaded);
    EXPECT_EQ(Bytes(state.glyphSheet.begin(), state.glyphSheet.end()), glyphs);
    const CharTable& added = state.tables[kAddedCharTable];
    EXPECT_EQ(added[0], (Glyph{0x9F, 0x54}));  // 鬱
    EXPECT_EQ(added[2], (Glyph{0x00, 0x40}));  // the terminator, then the old second byte
    EXPECT_EQ(added[3], kFullWidthSpace);
    EXPECT_EQ(name(0).code, (Bytes{0x08, 0x01, 0x08, 0x00, 0x72}));
}

TEST_F(ChangeScript, AddedCharacterFilesFullShortOrMissing) {
    std::string table;
    for (int i = 0; i < 256; ++i) table += sjis("鬱");
    platform.files["g.bin"] = Bytes(10, 0x11);
    platform.files["t.txt"] = bytesOf(table + "\r\n");  // 256 characters and a line end fill the table
    state.glyphSheet[10] = 0x77;
    EXPECT_EQ(run(";;文字追加 @@g.bin @@t.txt"), "");
    for (const Glyph& g : state.tables[kAddedCharTable]) ASSERT_EQ(g, (Glyph{0x9F, 0x54}));
    EXPECT_EQ(state.glyphSheet[9], 0x11);  // a short glyph file replaces only what it holds
    EXPECT_EQ(state.glyphSheet[10], 0x77);
    state.glyphSheetLoaded = false, state.glyphSheet[0] = 0;
    EXPECT_EQ(run("\n;;文字追加\n\n@@g.bin\n;;単語リスト\n[F0 00] ア\n"), stop(C::GlyphsWithoutTable, 4));
    EXPECT_TRUE(state.glyphSheetLoaded && state.glyphSheet[0] == 0x11);  // what was set before stays set
    EXPECT_EQ(name(0).code, before.names[0].code);
    EXPECT_EQ(run(";;文字追加 @@g.bin @@missing.txt"), unreadable("missing.txt"));
}

TEST_F(ChangeScript, ABadPatchWritesNothingOfItselfAndStopsTheScript) {
    platform.files["good.ips"] = ipsOf({{0x00, 0x00, 0x30, 0x00, 0x01, 0x01}});
    platform.files["eof-first.ips"] = ipsOf({});
    // Every way a patch fails to parse: the patch tests; here, that none writes a byte. `record`: where it stands.
    const struct { const char* why; Bytes patch; ProblemCode code; size_t record; } cases[] = {
        {"no EOF", ipsOf({{0x00, 0x00, 0x40, 0x00, 0x01, 0x02}}, false), C::IpsNoEof, 11},
        {"past the image", ipsOf({{0x00, 0x00, 0x40, 0x00, 0x01, 0x02}, {0x3F, 0xFF, 0xFF, 0x00, 0x02, 1, 2}}), C::IpsWritesBeyond, 11},
        {"run past the image", ipsOf({{0x3F, 0xFF, 0xF0, 0x00, 0x00, 0x00, 0x11, 0x03}}), C::IpsWritesBeyond, 5},
    };
    for (const auto& c : cases) {
        state.image = test::demoImage();
        platform.files["bad.ips"] = c.patch;
        EXPECT_EQ(run(";;IPSパッチ @@eof-first.ips @@good.ips @@bad.ips ;;単語リスト [F0 00] ア"), stop(c.code, 0, "bad.ips"))
            << c.why;
        EXPECT_EQ(lastProblem->innerOffset, c.record) << c.why;
        EXPECT_EQ(state.image[0x30], 0x01) << c.why;                        // the patch before stays applied
        EXPECT_EQ(state.image[0x40], test::demoImage()[0x40]) << c.why;    // nothing of the bad one
        EXPECT_EQ(name(0).code, before.names[0].code) << c.why;        // and the script stopped
    }
}

// -------------------------------------------------------- S-class graphics

TEST_F(ChangeScript, SClassFaceAndColourSetsOnly) {
    platform.files["s.bin"] = sheetBytes();
    Bytes palette(768);
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i * 5 + 3);
    platform.files["p.pal"] = palette;
    EXPECT_EQ(run(";;Sクラスキャラグラ\n@@s.bin @@p.pal\n# face.9C colours .10 u1.ff u2.FF u3.FF\n"), "");
    const ResourceEntry& face = state.catalogues.faces()[0x9C];
    for (size_t i = 0; i < 768; ++i) ASSERT_EQ(face.unpacked[i], platform.files["s.bin"][512 * (i / 128) + i % 128]) << i;
    EXPECT_EQ(face.packed, packWithProfile(state.image, face.unpacked, kFaceProfile));
    for (int s = 0; s < 8; ++s) {
        const ResourceEntry& set = state.catalogues.colourSets[static_cast<size_t>(0x80 + s)];
        ASSERT_EQ(set.unpacked.size(), 30u);
        for (int c = 1; c <= 15; ++c) {
            const size_t at = static_cast<size_t>(48 * s + 3 * c);
            EXPECT_EQ(colourAt(set.unpacked, static_cast<size_t>(c - 1)), rgbToConsole({palette[at], palette[at + 1], palette[at + 2]}));
        }
    }
    EXPECT_EQ(state.catalogues.colourSets[0x88].unpacked, before.colourSets[0x88].unpacked);
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
    for (size_t i = 0; i < state.catalogues.unitGraphics().size(); ++i)
        ASSERT_EQ(unit(static_cast<int64_t>(i)).unpacked, before.unitGraphics()[i].unpacked);
}

TEST_F(ChangeScript, SClassUnitSetsFollowTheirTables) {
    const Bytes sheet = sheetBytes(0x33);
    platform.files["s.bin"] = sheet;
    platform.files["p.pal"] = Bytes(768);
    EXPECT_EQ(run(";;Sクラスキャラグラ @@s.bin @@p.pal #.FF.FF.51.0A.85"), "");
    auto sheetUnit = [&](int u) { return Bytes(sheet.begin() + 128 * u, sheet.begin() + 128 * u + 128); };
    const int64_t u1 = 0x51, u2 = 0x0A, u3 = 0x85;
    for (const auto& [u, at] : {std::pair{8 * u1 + 8, 48}, {8 * u1 + 10, 52}, {8 * u1 + 9, 56}, {8 * u1 + 1935, 30},
                                {8 * u2 + 2562, 7}, {2 * u2 + 2649, 71}, {24 * u3 + 2680, 64}, {24 * u3 + 2703, 94}})
        EXPECT_EQ(unit(u).unpacked, sheetUnit(at)) << u;
    EXPECT_EQ(unit(24 * u3 + 2703).packed, packWithProfile(state.image, sheetUnit(94), kUnitGraphicProfile));
    // the image blocks
    const int32_t b1 = static_cast<int32_t>(0x1C6600 + 1536 * u1), b2 = static_cast<int32_t>(0x1C6A00 + 1536 * u1);
    const int32_t v1 = static_cast<int32_t>(u1), v2 = static_cast<int32_t>(u2);  // U2 0A's block ends on the raw block's last byte
    for (const auto& [at, from] : {std::pair{b1, 4096}, {b1 + 64, 4096 + 512}, {b1 + 128 * 7 + 127, 4096 + 512 + 64 * 7 + 63},
                                   {b2 + 128 * 3 + 127, 6400 + 512 + 64 * 3 + 63}, {0x1E2080 + 128 * v1 + 127, 3199},
                                   {0x1E0000 + 128 * v2, 3584}, {0x1E4000 + 512 * v2 + 255, 7679},
                                   {0x1E4000 + 512 * v2 + 256, 7936}, {0x1E55FF, 8191}})
        EXPECT_EQ(state.image[at], sheet[static_cast<size_t>(from)]) << std::hex << at;
}

TEST_F(ChangeScript, SClassNumbersOneBeyondTheLastAreReportedBeforeAnythingIsWritten) {
    platform.files["s.bin"] = sheetBytes();
    platform.files["p.pal"] = Bytes(768);
    int64_t which = 0;
    for (const char* numbers : {".9D.FF.FF.FF.FF", ".00.9D.FF.FF.FF", ".00.00.52.FF.FF", ".00.00.00.0B.FF", ".00.00.00.00.86"}) {
        EXPECT_EQ(run(";;Sクラスキャラグラ\n@@s.bin\n@@p.pal\n#\n" + std::string(numbers) + "\n"), stop(C::ClassNumberOutOfRange, 5))
            << numbers;
        EXPECT_EQ(lastProblem->entry, which++);
        EXPECT_EQ(state.catalogues.faces()[0].unpacked, before.faces()[0].unpacked) << numbers;
        EXPECT_EQ(state.image.bytes, test::demoImage().bytes) << numbers;
    }
    EXPECT_EQ(run(";;Sクラスキャラグラ @@s.bin @@p.pal #\n.FF\n.FF\n.FF\n.FF\n.-1\n"), stop(C::ClassNumberOutOfRange, 6));
}

TEST_F(ChangeScript, SClassEntriesCutShortOrMissingFiles) {
    platform.files["s.bin"] = sheetBytes(0, 100);  // short: zeros behind
    platform.files["p.pal"] = Bytes(10, 0xFF);
    EXPECT_EQ(run(";;Sクラスキャラグラ @@s.bin @@p.pal # .00 .FF .FF .FF .FF"), "");
    EXPECT_EQ(state.catalogues.faces()[0].unpacked[99], sheetBytes()[99]);
    EXPECT_EQ(state.catalogues.faces()[0].unpacked[128], 0);
    EXPECT_EQ(run("\n;;Sクラスキャラグラ @@s.bin @@p.pal # .00 .FF .FF .FF\n;;終了 ."), stop(C::EntryNeedsFiveNumbers, 2));
    EXPECT_EQ(run(";;Sクラスキャラグラ\n\n@@s.bin\n;;テキスト @@p.pal"), stop(C::SheetWithoutPalette, 3));
    EXPECT_EQ(run(";;Sクラスキャラグラ @@s.bin @@p.pal .00 .00 .00 .00 .00"), stop(C::EntryNeedsFiveNumbers, 1));  // no '#'
    EXPECT_EQ(run(";;Sクラスキャラグラ @@s.bin @@none.pal #.FF.FF.FF.FF.FF"), unreadable("none.pal"));
    // a '.' without digits leaves that part alone; labels between the numbers are passed over
    state.catalogues = test::demoCatalogues();
    EXPECT_EQ(run(";;Sクラスキャラグラ @@s.bin @@p.pal # face. pal.FF unit1. unit2 . unit3.\n"), "");
    EXPECT_EQ(state.catalogues.faces()[0].unpacked, before.faces()[0].unpacked);
}

TEST_F(ChangeScript, ItemPicturesAndTheirNumbers) {
    const Bytes sheet = sheetBytes(0x5A);
    platform.files["i.bin"] = sheet;
    auto tiles = [&](int row, int tile) {
        const auto at = sheet.begin() + 512 * row + 32 * tile;
        return Bytes(at, at + 128);
    };
    EXPECT_EQ(run(";;アイテムグラ\n@@i.bin\n# small.00 medium.00 large.4B\n"), "");
    Bytes small(sheet.begin(), sheet.begin() + 64);
    small.insert(small.end(), sheet.begin() + 512, sheet.begin() + 576);
    EXPECT_EQ(unit(5632).unpacked, small);
    EXPECT_EQ(unit(5633).unpacked, before.unitGraphics()[5633].unpacked);
    // unit, then its tiles' row and column; 3752 is the lower half, directly behind
    for (const auto& [u, row, tile] : {std::array{4096, 0, 2}, {4098, 1, 2}, {4097, 2, 2}, {4099, 3, 2}, {3744, 0, 6},
                                       {3745, 2, 6}, {3751, 3, 10}, {3752, 4, 6}, {3759, 7, 10}})
        EXPECT_EQ(unit(u).unpacked, tiles(row, tile)) << u;
    EXPECT_EQ(unit(3760).unpacked, before.unitGraphics()[3760].unpacked);
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
    EXPECT_EQ(run(";;アイテムグラ @@i.bin #.FF.FF.4C"), "");
    EXPECT_EQ(unit(3752).unpacked, tiles(0, 6));
    // the numbers at and beyond their limits
    EXPECT_EQ(run(";;アイテムグラ @@i.bin #.10B.1C2.156"), "");
    EXPECT_EQ(unit(5899).unpacked, tiles(3, 2));   // G1 10B wrote it first, then G2 1C2's last entry
    EXPECT_EQ(unit(5895).unpacked, tiles(7, 10));  // G3 156's last entry
    const std::pair<const char*, int64_t> tooFar[] = {{".10C.FF.FF", 0}, {".FF.1C3.FF", 1}, {".FF.FF.157", 2}, {".FF.FF.4A", 2}};
    for (const auto& [numbers, which] : tooFar) {
        state.catalogues = test::demoCatalogues();
        EXPECT_EQ(run(";;アイテムグラ @@i.bin\n#\n" + std::string(numbers)), stop(C::ItemNumberOutOfRange, 3)) << numbers;
        EXPECT_EQ(lastProblem->entry, which);
        EXPECT_EQ(unit(5899).unpacked, before.unitGraphics()[5899].unpacked);
    }
    EXPECT_EQ(run(";;アイテムグラ @@i.bin # .00 .00"), stop(C::EntryNeedsThreeNumbers, 1));
    EXPECT_EQ(run(";;アイテムグラ @@missing.bin # .00 .00 .00"), unreadable("missing.bin"));
}

}  // namespace
}  // namespace velk
