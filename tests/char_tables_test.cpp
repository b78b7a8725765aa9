#include <gtest/gtest.h>

#include <set>

#include "test_support.h"
#include "text/char_tables.h"
#include "text/sjis.h"

namespace velk {
namespace {

using test::sjis;

Glyph glyphOf(const std::string& utf8) {
    const std::string b = sjis(utf8);
    EXPECT_EQ(b.size(), 2u) << utf8;
    return {static_cast<uint8_t>(b[0]), static_cast<uint8_t>(b[1])};
}

TEST(CharTables, EverySlotHoldsOneDoubleByteCharacter) {
    const CharTables& t = builtInCharTables();
    ASSERT_EQ(t.size(), 11u);
    for (size_t table = 0; table < t.size(); ++table) {
        ASSERT_EQ(t[table].size(), 256u);
        for (size_t slot = 0; slot < 256; ++slot) {
            const Glyph g = t[table][slot];
            if (table == 0 && slot == kLineBreakCode) {
                EXPECT_EQ(g, (Glyph{0x0D, 0x0A}));
                continue;
            }
            EXPECT_TRUE(isSjisLeadByte(g[0])) << table << " " << slot;
            // and iconv agrees that it is one character
            EXPECT_EQ(toCp932(fromCp932(std::string{static_cast<char>(g[0]), static_cast<char>(g[1])})).size(), 2u);
        }
    }
}

TEST(CharTables, CharactersWithSeveralUnicodeFormsHaveTheirBytes) {
    const CharTable& t1 = builtInCharTables()[1];
    EXPECT_EQ(t1[0x09], (Glyph{0x81, 0x5C}));  // ―
    EXPECT_EQ(t1[0x0A], (Glyph{0x81, 0x60}));  // ～
    EXPECT_EQ(t1[0x15], (Glyph{0x81, 0x7C}));  // －
    EXPECT_EQ(t1[0x1F], (Glyph{0x87, 0x88}));  // ㊧
    EXPECT_EQ(t1[0x20], (Glyph{0x87, 0x89}));  // ㊨
}

TEST(CharTables, SlotsLandWhereTheRowsPutThem) {
    const CharTables& t = builtInCharTables();
    EXPECT_EQ(t[0][0x10], glyphOf("≫"));
    EXPECT_EQ(t[0][0x20], kFullWidthSpace);
    EXPECT_EQ(t[0][0x21], glyphOf("ぁ"));
    EXPECT_EQ(t[0][0x70], glyphOf("ん"));
    EXPECT_EQ(t[0][0x71], glyphOf("ァ"));
    EXPECT_EQ(t[0][0xC1], glyphOf("ヴ"));
    EXPECT_EQ(t[0][0xD3], glyphOf("剣"));
    EXPECT_EQ(t[0][0xD9], glyphOf("／"));
    EXPECT_EQ(t[0][0xDA], kFullWidthSpace);
    EXPECT_EQ(t[1][0x17], glyphOf("×"));
    EXPECT_EQ(t[1][0x5C], glyphOf("×"));
    EXPECT_EQ(t[1][0x27], glyphOf("Ａ"));
    EXPECT_EQ(t[2][0x00], glyphOf("北"));
    EXPECT_EQ(t[3][0x80], glyphOf("候"));
    EXPECT_EQ(t[4][0x89], glyphOf("候"));
    EXPECT_EQ(t[5][0xFF], glyphOf("拗"));
    EXPECT_EQ(t[6][0x9D], kFullWidthSpace);
    EXPECT_EQ(t[7][0x82], glyphOf("ぎ"));
    EXPECT_EQ(t[7][0xF4], glyphOf("緊"));
    EXPECT_EQ(t[7][0xF6], kFullWidthSpace);
    EXPECT_EQ(t[10][0xB1], kFullWidthSpace);
    EXPECT_EQ(t[10][0xB2], glyphOf("人"));
    EXPECT_EQ(t[10][0xC9], glyphOf("興"));
    EXPECT_EQ(t[10][0xFF], glyphOf("健"));
}

TEST(Sjis, ConvertsBothWaysAndMarksWhatItCannot) {
    EXPECT_EQ(toCp932("ROMが"), "ROM\x82\xAA");
    EXPECT_EQ(fromCp932("ROM\x82\xAA"), "ROMが");
    EXPECT_EQ(toCp932("a😀b"), "a?b");
    EXPECT_EQ(fromCp932("a\x82"), "a\xEF\xBF\xBD");  // a lone lead byte at the end
}

}  // namespace
}  // namespace velk
