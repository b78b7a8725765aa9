#include <gtest/gtest.h>

#include "ops/messages.h"
#include "test_support.h"
#include "text/decode.h"
#include "text/encode.h"
#include "text/sjis.h"

namespace velk {
namespace {

using Bytes = std::vector<uint8_t>;
using test::bytesOf;
using test::sjis;

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
        EXPECT_GT(text(bodyUtf8), 0) << (messages.empty() ? "" : fromCp932(messages.back()));
        return texts[0].unpacked;
    }
    Bytes nameCode(const std::string& utf8) {
        EXPECT_GT(name(utf8), 0) << (messages.empty() ? "" : fromCp932(messages.back()));
        return names[0].packed;
    }
    // The count consumed, or -1 with the problem's message recorded.
    int32_t orReport(const Result<int32_t>& r) {
        if (r) return *r;
        messages.push_back(messageText(r.problem()));
        return -1;
    }
    // The last message's exact bytes.
    std::string lastMessage() const { return messages.empty() ? "" : messages.back(); }

    std::vector<ResourceEntry> names;
    std::vector<ResourceEntry> texts;
    GlyphLookup glyphs;
    RomImage image;
    std::vector<std::string> messages;
};

TEST_F(Encoding, TheNameExample) {
    EXPECT_EQ(name("(主人公)の剣\r\n"), 14);
    EXPECT_EQ(names[0].packed, (Bytes{0x18, 0x0D, 0x4E, 0xD3}));
    EXPECT_EQ(names[0].packedLength, 4);
    EXPECT_EQ(names[0].unpackedLength, 14);
    Bytes expected = bytesOf(sjis("(主人公)の剣"));
    expected.push_back(0);
    expected.push_back('\n');
    EXPECT_EQ(names[0].unpacked, expected);
    EXPECT_EQ(nameText(names[0]), sjis("(主人公)の剣"));
}

TEST_F(Encoding, GlyphsTakeTheirFirstSlot) {
    EXPECT_EQ(nameCode("　≫の剣\n"), (Bytes{0x20, 0x10, 0x4E, 0xD3}));
    EXPECT_EQ(nameCode("Ａ北興×ぎ\n"), (Bytes{0x01, 0x27, 0x02, 0x00, 0x0A, 0xC9, 0x01, 0x17, 0x2E}));
    EXPECT_EQ(nameCode("候\n"), (Bytes{0x03, 0x80}));
    EXPECT_EQ(textCode("候//"), (Bytes{0x03, 0x80}));
    EXPECT_EQ(textCode("／//"), (Bytes{0xD9}));
}

TEST_F(Encoding, LookupAgreesWithThePlainScanForEveryPair) {
    CharTables tables = builtInCharTables();
    tables[kAddedCharTable][5] = {0x8C, 0x46};  // 熊, found only there
    tables[kAddedCharTable][6] = {0x82, 0xA0};  // あ, also in table 0
    const GlyphLookup lookup(tables);
    for (int c0 = 0; c0 < 256; ++c0)
        for (int c1 = 0; c1 < 256; ++c1) {
            const auto a = findGlyph(tables, static_cast<uint8_t>(c0), static_cast<uint8_t>(c1));
            const auto b = lookup.find(static_cast<uint8_t>(c0), static_cast<uint8_t>(c1));
            ASSERT_EQ(a.has_value(), b.has_value()) << c0 << " " << c1;
            if (a) {
                ASSERT_TRUE(a->table == b->table && a->slot == b->slot) << c0 << " " << c1;
            }
        }
}

TEST_F(Encoding, AddedCharactersAreFoundOnceInTheTable) {
    EXPECT_EQ(name("熊\n", 5), -1);
    CharTables tables = builtInCharTables();
    tables[kAddedCharTable][5] = {0x8C, 0x46};
    glyphs = GlyphLookup(tables);
    EXPECT_EQ(nameCode("熊\n"), (Bytes{0x08, 0x05}));
    EXPECT_EQ(decodeTextCode(nameCode("熊\n"), {}, tables), sjis("熊"));
}

TEST_F(Encoding, TokensAndTheirFailures) {
    EXPECT_EQ(nameCode("(騎士団)(冷や汗)(ハート)(旗)\n"), (Bytes{0x18, 0x0E, 0x01, 0x0E, 0x01, 0x13, 0x01, 0x1E}));
    EXPECT_EQ(textCode("(主人公)の//"), (Bytes{0x18, 0x0D, 0x4E}));
    EXPECT_EQ(name("(勇者)\n"), -1);
    EXPECT_EQ(lastMessage(), sjis("(勇者)は使用できません"));
    EXPECT_EQ(text("(勇者)//"), -1);
    EXPECT_EQ(lastMessage(), sjis("(勇者)は使用できません"));
    // unclosed, and in a name an odd-length token, end at the line
    EXPECT_EQ(text("(主人公\r\nの//"), -1);
    EXPECT_EQ(lastMessage(), sjis("(主人公)は使用できません"));
    EXPECT_EQ(name("(旗a)\r\n次の行)\r\n"), -1);
    EXPECT_EQ(lastMessage(), sjis("(旗a))は使用できません"));
    EXPECT_EQ(name("(主人公"), -1);
    EXPECT_EQ(lastMessage(), sjis("(主人公)は使用できません"));
}

TEST_F(Encoding, EscapesReadHexInEitherCase) {
    EXPECT_EQ(textCode("?1b 0a?!13!!F3!//"), (Bytes{0x1B, 0x0A, 0x13, 0xF3}));
    EXPECT_EQ(nameCode("?0B 05?!11!\n"), (Bytes{0x0B, 0x05, 0x11}));
    // the name between ":(" and ")]" is never read
    EXPECT_EQ(textCode("[F1 23:(だれでも)][f9 cd:()]//"), (Bytes{0xF1, 0x23, 0xF9, 0xCD}));
    // in names "[" is an ordinary character, and ASCII is in no table
    EXPECT_EQ(name("[F1 23:()]\n", 9), -1);
    EXPECT_EQ(lastMessage(), sjis("[Fは使用できません9 91"));
}

TEST_F(Encoding, EscapesWithoutDigitsOrEndsFailWhereTheyStand) {
    EXPECT_EQ(text("ア?xx?//", 3), -1);
    EXPECT_EQ(lastMessage(), sjis("?xは使用できません63 120 3 13"));
    EXPECT_EQ(text("!zz!//"), -1);
    EXPECT_EQ(name("!\n", 2), -1);
    EXPECT_EQ(lastMessage(), sjis("!\nは使用できません2 33"));
    EXPECT_EQ(text("[F1 23:(名前)//", 4), -1);
    EXPECT_EQ(lastMessage(), sjis("[Fは使用できません91 70 4 11"));
    EXPECT_TRUE(texts[4].unpacked.empty());
}

TEST_F(Encoding, EscapesTakeExactlyTwoDigitsEach) {
    EXPECT_EQ(text("?1 2?ア//"), -1);  // read as scanf would, this dropped the ア
    EXPECT_EQ(lastMessage(), sjis("?1は使用できません63 49 0 11"));
    for (const char* bad : {"?1B 0A5?//", "?1B  0A?//", "?1B\n0A?//", "?1B 0A//", "!1!ア//", "!123!//", "!1B//", "?0x1 02?//"})
        EXPECT_EQ(text(bad), -1) << bad;
    EXPECT_EQ(textCode("?1B 0A?!13!?ff FF?//"), (Bytes{0x1B, 0x0A, 0x13, 0xFF, 0xFF}));
    EXPECT_EQ(text("!13"), -1);  // the data ends inside the escape
}

TEST_F(Encoding, AnEscapedZeroThatWouldEndANameIsRefused) {
    EXPECT_EQ(name("ア!00!イ\n", 1), -1);
    EXPECT_EQ(lastMessage(), sjis("!0は使用できません1 33"));
    EXPECT_EQ(name("?00 05?\n"), -1);
    EXPECT_EQ(name("?20 00?\n"), -1);  // 20 is read alone, so the 00 would start an item
    EXPECT_EQ(name("?11 00?\n"), -1);  // so is the one-byte control 11
    EXPECT_EQ(nameCode("?1B 00?\n"), (Bytes{0x1B, 0x00}));  // 1B takes its argument: the export writes these
    EXPECT_EQ(nameCode("?0B 00?\n"), (Bytes{0x0B, 0x00}));
    EXPECT_EQ(textCode("!00!?00 05?//"), (Bytes{0x00, 0x00, 0x05}));  // a text has a length, not an end mark
}

TEST_F(Encoding, AWordReferenceMustCloseBeforeItsTextEnds) {
    EXPECT_EQ(text("[F1 23ア//\n##No.00 01\n[F0 01:(x)]//", 5), -1);
    EXPECT_EQ(lastMessage(), sjis("[Fは使用できません91 70 5 11"));
    EXPECT_EQ(text("[F1 23:(名/前)]//"), -1);  // a '/' ends the text, inside the name too
}

TEST_F(Encoding, LeadBytesWithoutAGlyphAreRefusedWithTheirSignedValue) {
    for (int lead = 0xF0; lead <= 0xFC; ++lead) {
        const Bytes line = {static_cast<uint8_t>(lead), 0x40, '\n'};
        EXPECT_EQ(orReport(encodeName(names, 4, line, glyphs)), -1) << lead;
        const std::string expected = std::string(1, static_cast<char>(lead)) + "@" + sjis("は使用できません4 ") +
                                     std::to_string(lead - 256);
        EXPECT_EQ(lastMessage(), expected);
    }
}

TEST_F(Encoding, LineEndsInNamesEndTheLine) {
    EXPECT_EQ(name("ア\r\n次"), 4);
    EXPECT_EQ(names[0].packed, Bytes{0x72});
    EXPECT_EQ(name("ア\n次"), 3);
    EXPECT_EQ(name("ア\r次"), 4);  // a CR takes the byte after it along
    EXPECT_EQ(name("\r\n"), 2);
    EXPECT_TRUE(names[0].packed.empty());
    EXPECT_EQ(nameText(names[0]), "");
    // the last line of a file may lack its line end
    EXPECT_EQ(name("アイ"), 4);
    EXPECT_EQ(names[0].packed, (Bytes{0x72, 0x74}));
    EXPECT_EQ(nameText(names[0]), sjis("アイ"));
}

TEST_F(Encoding, LineEndsInTextsAreLineBreaks) {
    EXPECT_EQ(textCode("ア\r\nイ\nウ\rXエ//"), (Bytes{0x72, 0x16, 0x74, 0x16, 0x76, 0x16, 0x78}));
    // the header may end in CR LF too
    const Bytes block = bytesOf("##No.00 00\r\n" + sjis("ア//"));
    EXPECT_EQ(orReport(encodeText(texts, 1, block, glyphs, image)), static_cast<int32_t>(block.size()));
    EXPECT_EQ(texts[1].unpacked, Bytes{0x72});
}

TEST_F(Encoding, ASlashEndsATextWherePassed) {
    EXPECT_EQ(text("ア/イ//"), 11 + 2 + 2);
    EXPECT_EQ(texts[0].unpacked, Bytes{0x72});
    EXPECT_EQ(name("/a\n", 1), -1);  // not special in names
    EXPECT_EQ(lastMessage(), sjis("/aは使用できません1 47"));
}

TEST_F(Encoding, UnknownCharactersAreReportedWithSignedBytes) {
    EXPECT_EQ(name("アイ熊\r\n", 5), -1);
    EXPECT_EQ(lastMessage(), sjis("熊は使用できません5 -116"));
    EXPECT_EQ(text("アイ熊//", 7), -1);
    EXPECT_EQ(lastMessage(), sjis("熊は使用できません-116 70 7 15"));
    EXPECT_EQ(text("アb//"), -1);
    EXPECT_EQ(lastMessage(), sjis("b/は使用できません98 47 0 13"));
    EXPECT_EQ(text("ｱ//"), -1);  // half-width katakana
    EXPECT_EQ(text("ア##//"), -1);
    EXPECT_EQ(lastMessage(), sjis("##は使用できません35 35 0 13"));
}

TEST_F(Encoding, ATextWithoutItsClosingSlashesMeetsNoCharacter) {
    EXPECT_EQ(text("アイ", 2), -1);
    EXPECT_EQ(lastMessage(), sjis("は使用できません0 0 2 15"));
    const Bytes header = bytesOf("##No.00 00");  // not even a line end
    EXPECT_EQ(orReport(encodeText(texts, 0, header, glyphs, image)), -1);
}

TEST_F(Encoding, FailuresLeaveTheEntryAsItWas) {
    ASSERT_EQ(name("アイ\n", 3), 5);
    ASSERT_EQ(text("アイ//", 3), 17);
    const ResourceEntry nameBefore = names[3], textBefore = texts[3];
    EXPECT_EQ(name("ウ熊\n", 3), -1);
    EXPECT_EQ(text("ウ熊//", 3), -1);
    EXPECT_EQ(names[3].packed, nameBefore.packed);
    EXPECT_EQ(names[3].unpacked, nameBefore.unpacked);
    EXPECT_EQ(texts[3].unpacked, textBefore.unpacked);
    EXPECT_EQ(texts[3].packed, textBefore.packed);
}

TEST_F(Encoding, TextsArePackedWithTheTextProfile) {
    EXPECT_EQ(text("//"), 13);
    EXPECT_TRUE(texts[0].unpacked.empty());
    EXPECT_EQ(texts[0].packed, (Bytes{0x00, 0x00}));
    EXPECT_EQ(text("アイ//"), 17);
    EXPECT_EQ(texts[0].packed, (Bytes{0x02, 0x00, 0xC0, 0x72, 0x74}));
    EXPECT_EQ(texts[0].packedLength, 5);
}

TEST_F(Encoding, ATextTooLongForTheGameIsRefused) {
    std::string body;
    for (int i = 0; i < 4096; ++i) body += "ア";
    EXPECT_GT(text(body + "//", 1), 0);
    EXPECT_EQ(texts[1].unpackedLength, 4096);
    EXPECT_EQ(text(body + "イ//", 1), -1);
    EXPECT_EQ(lastMessage(), sjis("テキスト1が長すぎます"));
    EXPECT_EQ(texts[1].unpackedLength, 4096);
}

TEST_F(Encoding, LongNamesAreKeptWhole) {
    std::string line;
    for (int i = 0; i < 3000; ++i) line += "アイ";
    EXPECT_EQ(name(line + "\r\n"), 12002);
    EXPECT_EQ(names[0].packedLength, 6000);
}

}  // namespace
}  // namespace velk
