#include <gtest/gtest.h>

#include <set>

#include "test_support.h"
#include "text/char_tables.h"
#include "text/sjis.h"

namespace velk {
namespace {

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

TEST(Sjis, ConvertsBothWaysAndMarksWhatItCannot) {
    EXPECT_EQ(toCp932("ROMが"), "ROM\x82\xAA");
    EXPECT_EQ(fromCp932("ROM\x82\xAA"), "ROMが");
    EXPECT_EQ(toCp932("a😀b"), "a?b");
    EXPECT_EQ(fromCp932("a\x82"), "a\xEF\xBF\xBD");  // a lone lead byte at the end
}

}  // namespace
}  // namespace velk
