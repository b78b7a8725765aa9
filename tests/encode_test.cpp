#include <gtest/gtest.h>

#include "ops/messages.h"
#include "test_support.h"
#include "text/decode.h"
#include "text/encode.h"
#include "text/sjis.h"

namespace velk {
namespace {

class Encoding : public ::testing::Test {
protected:
    Encoding() : names(2510), texts(5607), glyphs(builtInCharTables()) {}

    // Encodes `utf8` (converted to Shift-JIS) as name `index`.
    int32_t name(const std::string& utf8, int index = 0) {
        const Bytes line = bytesOf(sjis(utf8));
        return orReport(encodeName(names, index, line, glyphs));
    }
    // Encodes a block "##No.00 00\n" + `bodyUtf8` as text `index`.
    int32_t text(const std::string& bodyUtf8, int index = 0) {
        const Bytes block = bytesOf("##No.00 00\n" + sjis(bodyUtf8));
        return orReport(encodeText(texts, index, block, glyphs, image));
    }
    Bytes textCode(const std::string& bodyUtf8) {
        EXPECT_GT(text(bodyUtf8), 0) << fromCp932(lastMessage());
        return texts[0].unpacked;
    }
    Bytes nameCode(const std::string& utf8) {
        EXPECT_GT(name(utf8), 0) << fromCp932(lastMessage());
        return names[0].code;
    }
    // The count consumed, or -1 with the problem recorded.
    int32_t orReport(const Result<int32_t>& r) {
        if (r) return *r;
        problems.push_back(r.problem());
        return -1;
    }
    std::string lastMessage() const { return problems.empty() ? "" : messageText(problems.back()); }

    std::vector<NameEntry> names;
    std::vector<ResourceEntry> texts;
    GlyphLookup glyphs;
    RomImage image;
    std::vector<Problem> problems;
};

// Each glyph takes its first slot; tokens, escapes (hex in either case,
// exactly two digits) and word references become their codes.
TEST_F(Encoding, CodesOfNamesAndTexts) {
    const struct { bool isText; const char* input; Bytes code; } cases[] = {
        {false, "　≫の剣\n", {0x20, 0x10, 0x4E, 0xD3}},
        {false, "Ａ北興×ぎ\n", {0x01, 0x27, 0x02, 0x00, 0x0A, 0xC9, 0x01, 0x17, 0x2E}},
        {false, "候\n", {0x03, 0x80}},
        {true, "候//", {0x03, 0x80}},
        {true, "／//", {0xD9}},
        {false, "(騎士団)(冷や汗)(ハート)(旗)\n", {0x18, 0x0E, 0x01, 0x0E, 0x01, 0x13, 0x01, 0x1E}},
        {true, "(主人公)の//", {0x18, 0x0D, 0x4E}},
        {false, "(主人公)の剣\r\n", {0x18, 0x0D, 0x4E, 0xD3}},
        {true, "?1b 0a?!13!!F3!//", {0x1B, 0x0A, 0x13, 0xF3}},
        {false, "?0B 05?!11!\n", {0x0B, 0x05, 0x11}},
        {true, "[F1 23:(だれでも)][f9 cd:()]//", {0xF1, 0x23, 0xF9, 0xCD}},  // the name is never read
        {true, "?1B 0A?!13!?ff FF?//", {0x1B, 0x0A, 0x13, 0xFF, 0xFF}},
        {false, "?1B 00?\n", {0x1B, 0x00}},  // 1B takes its argument: the export writes these
        {false, "?0B 00?\n", {0x0B, 0x00}},
        {true, "!00!?00 05?//", {0x00, 0x00, 0x05}},  // a text has a length, not an end mark
        {true, "ア\r\nイ\nウ\rXエ//", {0x72, 0x16, 0x74, 0x16, 0x76, 0x16, 0x78}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.isText ? textCode(c.input) : nameCode(c.input), c.code) << c.input;
}

// Each failure's code, the bytes it names (up to a zero) and where it
// stands; no code for a failure whose kind another case pins.
TEST_F(Encoding, FailuresAndWhereTheyStand) {
    using C = ProblemCode;
    const struct { bool isText; int index; const char* input; std::optional<ProblemCode> code; const char* bytes;
                   size_t offset; } cases[] = {
        {false, 0, "(勇者)\n", C::UnknownToken, "勇者", 0},
        {true, 0, "(勇者)//", C::UnknownToken, "勇者", 11},
        {true, 0, "(主人公\r\nの//", C::TokenNotClosed, "主人公", 11},  // unclosed: ends at the line
        {false, 0, "(旗a)\r\n次の行)\r\n", C::TokenNotClosed, "旗a)", 0},
        {false, 0, "(主人公", C::TokenNotClosed, "主人公", 0},
        {false, 9, "[F1 23:()]\n", C::CharacterNotInTable, "[F", 0},  // in names "[" is ordinary, ASCII in no table
        {true, 3, "ア?xx?//", C::PairEscapeMalformed, "?x", 13},
        {false, 2, "!\n", C::ByteEscapeMalformed, "!\n", 0},
        {true, 4, "[F1 23:(名前)//", C::HexEscapeNotClosed, "[F", 11},
        {true, 0, "?1 2?ア//", C::PairEscapeMalformed, "?1", 11},  // read as scanf would, this dropped the ア
        {false, 1, "ア!00!イ\n", C::EscapeEndsName, "!0", 2},       // a zero would end the name
        {true, 5, "[F1 23ア//\n##No.00 01\n[F0 01:(x)]//", C::HexEscapeNotClosed, "[F", 11},
        {false, 1, "/a\n", C::CharacterNotInTable, "/a", 0},  // '/' is not special in names
        {false, 5, "アイ熊\r\n", C::CharacterNotInTable, "熊", 4},
        {true, 7, "アイ熊//", C::CharacterNotInTable, "熊", 15},
        {true, 0, "アb//", C::CharacterNotInTable, "b/", 13},
        {true, 0, "ア##//", C::CharacterNotInTable, "##", 13},
        {true, 2, "アイ", C::EntryNotClosed, "", 15},  // no closing "//": no character met
        {true, 0, "!zz!//", {}, "", 0},
        {true, 0, "ｱ//", {}, "", 0},  // half-width katakana
        {true, 0, "[F1 23:(名/前)]//", {}, "", 0},  // a '/' ends the text, inside the name too
        {true, 0, "?1B 0A5?//", {}, "", 0},
        {true, 0, "?1B  0A?//", {}, "", 0},
        {true, 0, "?1B\n0A?//", {}, "", 0},
        {true, 0, "?1B 0A//", {}, "", 0},
        {true, 0, "!1!ア//", {}, "", 0},
        {true, 0, "!123!//", {}, "", 0},
        {true, 0, "!1B//", {}, "", 0},
        {true, 0, "?0x1 02?//", {}, "", 0},
        {true, 0, "!13", {}, "", 0},  // the data ends inside the escape
        {false, 0, "?00 05?\n", {}, "", 0},
        {false, 0, "?20 00?\n", {}, "", 0},  // 20 is read alone, so the 00 would start an item
        {false, 0, "?11 00?\n", {}, "", 0},  // so is the one-byte control 11
    };
    for (const auto& c : cases) {
        problems.clear();
        ASSERT_EQ(c.isText ? text(c.input, c.index) : name(c.input, c.index), -1) << c.input;
        if (!c.code) continue;
        const Problem& p = problems.back();
        EXPECT_EQ(p.code, *c.code) << c.input;
        EXPECT_EQ(p.record, c.isText ? Record::Text : Record::Name) << c.input;
        EXPECT_EQ(p.entry, c.index) << c.input;
        EXPECT_EQ(std::string(p.bytes.c_str()), sjis(c.bytes)) << c.input;
        EXPECT_EQ(p.offset, c.offset) << c.input;
        EXPECT_EQ(p.innerOffset, c.offset) << c.input;
    }
    const Bytes header = bytesOf("##No.00 00");  // not even a line end
    EXPECT_EQ(orReport(encodeText(texts, 0, header, glyphs, image)), -1);
}

TEST_F(Encoding, LookupAgreesWithThePlainScanForEveryPair) {
    CharTables tables = builtInCharTables();
    tables[kAddedCharTable][5] = {0x8C, 0x46};  // 熊, found only there
    tables[kAddedCharTable][6] = {0x82, 0xA0};  // あ, also in table 0
    const GlyphLookup lookup(tables);
    for (unsigned c = 0; c < 0x10000; ++c) {
        const auto a = findGlyph(tables, c >> 8 & 0xFF, c & 0xFF), b = lookup.find(c >> 8 & 0xFF, c & 0xFF);
        ASSERT_TRUE(a.has_value() == b.has_value() && (!a || (a->table == b->table && a->slot == b->slot))) << std::hex << c;
    }
}

TEST_F(Encoding, LeadBytesWithoutAGlyphAreRefusedWithBothBytes) {
    for (int lead = 0xF0; lead <= 0xFC; ++lead) {
        const Bytes line = {static_cast<uint8_t>(lead), 0x40, '\n'};
        EXPECT_EQ(orReport(encodeName(names, 4, line, glyphs)), -1) << lead;
        EXPECT_EQ(problems.back().bytes, std::string(1, static_cast<char>(lead)) + "@");
        EXPECT_EQ(problems.back().found, 2);  // a character of two bytes
    }
}

TEST_F(Encoding, LineEndsInNamesEndTheLine) {
    EXPECT_EQ(name("ア\r\n次"), 4);
    EXPECT_EQ(names[0].code, Bytes{0x72});
    EXPECT_EQ(name("ア\n次"), 3);
    EXPECT_EQ(name("ア\r次"), 4);  // a CR takes the byte after it along
    EXPECT_EQ(name("\r\n"), 2);
    EXPECT_TRUE(names[0].code.empty());
    EXPECT_EQ(nameText(names[0]), "");
    // the last line of a file may lack its line end
    EXPECT_EQ(name("アイ"), 4);
    EXPECT_EQ(names[0].code, (Bytes{0x72, 0x74}));
    EXPECT_EQ(nameText(names[0]), sjis("アイ"));
}

TEST_F(Encoding, FailuresLeaveTheEntryAsItWas) {
    ASSERT_EQ(name("アイ\n", 3), 5);
    ASSERT_EQ(text("アイ//", 3), 17);
    const NameEntry nameBefore = names[3];
    const ResourceEntry textBefore = texts[3];
    EXPECT_EQ(name("ウ熊\n", 3), -1);
    EXPECT_EQ(text("ウ熊//", 3), -1);
    EXPECT_EQ(names[3], nameBefore);
    EXPECT_EQ(texts[3], textBefore);
}

TEST_F(Encoding, ATextTooLongForTheGameIsRefused) {
    std::string body;
    for (int i = 0; i < 4096; ++i) body += "ア";
    EXPECT_GT(text(body + "//", 1), 0);  // an exact fit
    EXPECT_EQ(texts[1].unpacked.size(), 4096u);
    EXPECT_EQ(text(body + "イ//", 1), -1);
    EXPECT_EQ(problems.back().code, ProblemCode::TextTooLong);
    EXPECT_EQ(problems.back().entry, 1);
    EXPECT_EQ(texts[1].unpacked.size(), 4096u);
}

}  // namespace
}  // namespace velk
