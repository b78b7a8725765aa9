#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>
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
    EXPECT_EQ(toCp932Strict("a\xC0\x80"), std::nullopt);   // overlong
    EXPECT_EQ(toCp932Strict("\xE3\x81"), std::nullopt);     // cut short
    EXPECT_EQ(toCp932("¬∵"), "\x81\xCA\x81\xE6");         // a character no code decodes to, beside one
}

// iconv asked directly, one character at a time.
std::optional<std::string> iconvOf(const char* to, const char* from, std::string in) {
    const iconv_t cd = iconv_open(to, from);
    char out[16];
    char *inPtr = in.data(), *outPtr = out;
    size_t inLeft = in.size(), outLeft = sizeof out;
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(cd);
    return ok ? std::optional<std::string>(std::string(out, outPtr)) : std::nullopt;
}

TEST(Sjis, EveryCodeAndCharacterConvertsAsIconvConvertsIt) {
    for (unsigned code = 0; code < 0x10000; ++code) {
        const std::string sjis = code < 0x100 ? std::string(1, static_cast<char>(code))
                                              : std::string{static_cast<char>(code >> 8), static_cast<char>(code)};
        if (code >= 0x100 && !isSjisLeadByte(static_cast<unsigned char>(code >> 8))) continue;
        ASSERT_EQ(fromCp932Strict(sjis), iconvOf("UTF-8", "CP932", sjis)) << code;
        if (code >= 0xD800 && code < 0xE000) continue;
        const std::string utf8 = code < 0x80 ? sjis : code < 0x800 ? std::string{static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))}
            : std::string{static_cast<char>(0xE0 | code >> 12), static_cast<char>(0x80 | (code >> 6 & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
        ASSERT_EQ(toCp932Strict(utf8), iconvOf("CP932", "UTF-8", utf8)) << code;
    }
}

}  // namespace
}  // namespace velk
