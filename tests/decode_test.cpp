#include <gtest/gtest.h>

#include "test_support.h"
#include "text/decode.h"

namespace velk {
namespace {

using test::sjis;

const CharTables& tables() { return builtInCharTables(); }

std::string decodeNameBytes(std::vector<uint8_t> bytes) {
    std::optional<DecodedName> name = decodeNameCode(bytes, tables());
    EXPECT_TRUE(name.has_value());
    return name ? name->text : "";
}

// Names for word references: entry i is called "N<i>" in full-width digits
// only where a test needs it; the rest are empty.
std::vector<ResourceEntry> someNames() {
    std::vector<ResourceEntry> names(0x9CE);
    const std::string text = sjis("剣士");
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    storeUnpacked(names[0x123], bytes);
    return names;
}

std::string decodeTextBytes(const std::vector<uint8_t>& code) {
    const std::vector<ResourceEntry> names = someNames();
    return decodeTextCode(code, names, tables());
}

TEST(DecodeName, StopsAtTheTerminatorAndKeepsTheCodeBytes) {
    RomImage image;
    const std::vector<uint8_t> code = {0x18, 0x0D, 0x4E, 0xD3, 0x00, 0x99};
    std::copy(code.begin(), code.end(), image.at(0x60031));
    ResourceEntry e;
    e.romOffset = 0x60031;
    ASSERT_TRUE(decodeName(image, e, tables()));
    EXPECT_EQ(e.packed, (std::vector<uint8_t>{0x18, 0x0D, 0x4E, 0xD3}));
    EXPECT_EQ(e.packedLength, 4);
    const std::string text = sjis("(主人公)の剣");
    EXPECT_EQ(nameText(e), text);
    EXPECT_EQ(e.unpackedLength, static_cast<int32_t>(text.size()) + 1);
    EXPECT_EQ(e.unpacked.back(), 0);
}

TEST(DecodeName, ZeroAsASlotNumberDoesNotEndTheName) {
    EXPECT_EQ(decodeNameBytes({0x02, 0x00, 0x00}), sjis("北"));
    EXPECT_EQ(decodeNameBytes({0x00}), "");
}

TEST(DecodeName, LineBreakCodeGivesCrLfAndHighBytesAreGlyphs) {
    EXPECT_EQ(decodeNameBytes({0x71, 0x16, 0x72, 0x00}), sjis("ァ") + "\r\n" + sjis("ア"));
    // in names, F0-FF are table-0 glyphs (blank, so escaped), not word references
    EXPECT_EQ(decodeNameBytes({0xF1, 0x23, 0x00}), "!F1!" + sjis("ぃ"));
}

TEST(DecodeName, EveryTokenAndEscapeForm) {
    EXPECT_EQ(decodeNameBytes({0x18, 0x0E, 0x01, 0x0E, 0x01, 0x13, 0x01, 0x1E, 0x00}),
              sjis("(騎士団)(冷や汗)(ハート)(旗)"));
    EXPECT_EQ(decodeNameBytes({0x12, 0x1C, 0x0A, 0x18, 0x20, 0x00}), "!12!?1C 0A??18 20?");
    EXPECT_EQ(decodeNameBytes({0x01, 0x27, 0x0A, 0xC9, 0x00}), sjis("Ａ興"));
}

TEST(DecodeName, ANameRunningOffTheImageIsRejected) {
    EXPECT_FALSE(decodeNameCode(std::vector<uint8_t>{0x71, 0x72}, tables()).has_value());
    EXPECT_FALSE(decodeNameCode(std::vector<uint8_t>{0x71, 0x02}, tables()).has_value());  // half an item
    RomImage image;
    std::fill(image.bytes.end() - 16, image.bytes.end(), 0x71);
    ResourceEntry e;
    e.romOffset = kRomSize - 16;
    EXPECT_FALSE(decodeName(image, e, tables()));
    EXPECT_TRUE(e.packed.empty());
    e.romOffset = -1;
    EXPECT_FALSE(decodeName(image, e, tables()));
}

TEST(DecodeText, Examples) {
    EXPECT_EQ(decodeTextBytes({0x11, 0x1B, 0x05}), "!11!?1B 05?");
    EXPECT_EQ(decodeTextBytes({0xF1, 0x23}), "[F1 23:(" + sjis("剣士") + ")]");
    EXPECT_EQ(decodeTextBytes({0x16, 0x02, 0x00, 0x20}), "\r\n" + sjis("北　"));
    EXPECT_EQ(decodeTextBytes({0x18, 0x0D, 0x4E, 0xD3}), sjis("(主人公)の剣"));
}

TEST(DecodeText, WordReferencesUseAllTwelveBitsOfTheEntry) {
    std::vector<ResourceEntry> names = someNames();
    const std::string text = sjis("王");
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    storeUnpacked(names[0x9CD], bytes);
    EXPECT_EQ(decodeTextCode(std::vector<uint8_t>{0xF9, 0xCD}, names, tables()), sjis("[F9 CD:(王)]"));
    EXPECT_EQ(decodeTextCode(std::vector<uint8_t>{0xF1, 0xCD}, names, tables()), "[F1 CD:()]");
}

TEST(DecodeText, ZeroIsAGlyphOfTableZero) {
    EXPECT_EQ(decodeTextBytes({0x00, 0x2E, 0x00, 0x16}), sjis("ぎ") + "\r\n");
    EXPECT_EQ(decodeTextBytes({}), "");
}

TEST(DecodeText, ControlCodesBecomeEscapes) {
    EXPECT_EQ(decodeTextBytes({0x11, 0x12, 0x13, 0x15}), "!11!!12!!13!!15!");
    EXPECT_EQ(decodeTextBytes({0x14, 0x01, 0x1A, 0xFF, 0x1D, 0x00, 0x18, 0x0F}), "?14 01??1A FF??1D 00??18 0F?");
}

TEST(DecodeText, CodesWithoutATableKeepEveryByte) {
    // tables 11-31 do not exist: the pair shows as a two-byte escape
    EXPECT_EQ(decodeTextBytes({0x0B, 0x05, 0x1F, 0xA0, 0x17, 0x00}), "?0B 05??1F A0??17 00?");
    // a last byte that needs a second one shows as a one-byte escape
    EXPECT_EQ(decodeTextBytes({0x4E, 0xF3}), sjis("の") + "!F3!");
    EXPECT_EQ(decodeTextBytes({0x18}), "!18!");
    EXPECT_EQ(decodeTextBytes({0x03}), "!03!");
    // a word reference beyond the last name shows no name
    EXPECT_EQ(decodeTextBytes({0xFA, 0x12}), "[FA 12:()]");
    EXPECT_EQ(decodeTextBytes({0xF9, 0xCE}), "[F9 CE:()]");
    EXPECT_EQ(decodeTextBytes({0xF9, 0xCD}), "[F9 CD:()]");  // the last name, empty here
}

TEST(DecodeText, ReadsTheAddedTableAsItStandsNow) {
    CharTables t = tables();
    const std::vector<ResourceEntry> names;
    EXPECT_EQ(decodeTextCode(std::vector<uint8_t>{0x08, 0x05}, names, t), "?08 05?");
    const std::string kuma = sjis("熊");
    t[kAddedCharTable][5] = {static_cast<uint8_t>(kuma[0]), static_cast<uint8_t>(kuma[1])};
    t[kAddedCharTable][6] = {0x00, 0x00};  // behind a short table file
    EXPECT_EQ(decodeTextCode(std::vector<uint8_t>{0x08, 0x05, 0x08, 0x06}, names, t), kuma + "?08 06?");
}

TEST(DecodeText, CodesOfBlankSlotsAreEscapedButTheSpaceItself) {
    const std::vector<ResourceEntry> names;
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
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
