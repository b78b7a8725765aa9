#include <gtest/gtest.h>

#include "test_support.h"
#include "text/decode.h"

namespace velk {
namespace {

const CharTables& tables() { return builtInCharTables(); }

NameEntry named(const std::string& utf8) {
    NameEntry e;
    e.text = test::bytesOf(sjis(utf8));
    e.text.push_back(0);
    return e;
}

TEST(DecodeName, CodesAndTheirText) {
    const std::pair<Bytes, std::string> cases[] = {
        {{0x02, 0x00, 0x00}, sjis("北")},  // zero as a slot number does not end the name
        {{0x00}, ""},
        {{0x71, 0x16, 0x72, 0x00}, sjis("ァ") + "\r\n" + sjis("ア")},
        {{0xF1, 0x23, 0x00}, "!F1!" + sjis("ぃ")},  // F0-FF: table-0 glyphs (blank, so escaped), not word references
        {{0x18, 0x0E, 0x01, 0x0E, 0x01, 0x13, 0x01, 0x1E, 0x00}, sjis("(騎士団)(冷や汗)(ハート)(旗)")},
        {{0x12, 0x1C, 0x0A, 0x18, 0x20, 0x00}, "!12!?1C 0A??18 20?"},
        {{0x01, 0x27, 0x0A, 0xC9, 0x00}, sjis("Ａ興")},
    };
    for (const auto& [code, text] : cases) {
        const std::optional<DecodedName> name = decodeNameCode(code, tables());
        EXPECT_EQ(name ? name->text : "(none)", text);
    }
}

TEST(DecodeName, ANameRunningOffTheImageIsRejectedWhereItStands) {
    EXPECT_FALSE(decodeNameCode(Bytes{0x71, 0x72}, tables()).has_value());
    EXPECT_FALSE(decodeNameCode(Bytes{0x71, 0x02}, tables()).has_value());  // half an item
    RomImage image;
    std::fill(image.bytes.end() - 16, image.bytes.end(), 0x71);
    NameEntry e{{}, {}, kRomSize - 16};
    const Status runsPast = decodeName(image, e, tables());
    ASSERT_FALSE(runsPast);
    EXPECT_EQ(runsPast.problem().code, ProblemCode::NameRunsPast);
    EXPECT_EQ(runsPast.problem().offset, static_cast<size_t>(kRomSize - 16));
    EXPECT_TRUE(e.code.empty());
    e.romOffset = -1;
    const Status outside = decodeName(image, e, tables());
    EXPECT_EQ(outside ? ProblemCode::NoRoom : outside.problem().code, ProblemCode::NamePointerOutside);
}

TEST(DecodeText, CodesAndTheirText) {
    std::vector<NameEntry> names(0x9CE);
    names[0x123] = named("剣士");
    names[0x9CD] = named("王");
    const std::pair<Bytes, std::string> cases[] = {
        {{0x11, 0x1B, 0x05}, "!11!?1B 05?"},
        {{0xF1, 0x23}, "[F1 23:(" + sjis("剣士") + ")]"},
        {{0xF9, 0xCD}, sjis("[F9 CD:(王)]")},  // all twelve bits of the entry
        {{0xF1, 0xCD}, "[F1 CD:()]"},
        {{0xFA, 0x12}, "[FA 12:()]"},  // beyond the last name: no name
        {{0xF9, 0xCE}, "[F9 CE:()]"},
        {{0x16, 0x02, 0x00, 0x20}, "\r\n" + sjis("北　")},
        {{0x18, 0x0D, 0x4E, 0xD3}, sjis("(主人公)の剣")},
        {{0x00, 0x2E, 0x00, 0x16}, sjis("ぎ") + "\r\n"},  // zero is a glyph of table 0
        {{}, ""},
        {{0x11, 0x12, 0x13, 0x15}, "!11!!12!!13!!15!"},
        {{0x14, 0x01, 0x1A, 0xFF, 0x1D, 0x00, 0x18, 0x0F}, "?14 01??1A FF??1D 00??18 0F?"},
        {{0x0B, 0x05, 0x1F, 0xA0, 0x17, 0x00}, "?0B 05??1F A0??17 00?"},  // tables 11-31 do not exist
        {{0x4E, 0xF3}, sjis("の") + "!F3!"},  // a last byte that needs a second one
        {{0x18}, "!18!"},
        {{0x03}, "!03!"},
        {{0x20}, sjis("　")},       // the full-width space
        {{0x00, 0x20}, "?00 20?"},  // table 0's blank slot 0x20 read as a two-byte glyph
        {{0xCF, 0xD0, 0xD1}, "!CF!!D0!" + sjis("斬")},
        {{0x01, 0x1A, 0x01, 0x10}, "?01 1A?" + sjis("♂")},
        {{0x09, 0xFF, 0x0A, 0xB1, 0x0A, 0xB2}, "?09 FF??0A B1?" + sjis("人")},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(decodeTextCode(code, names, tables()), text);
}

}  // namespace
}  // namespace velk
