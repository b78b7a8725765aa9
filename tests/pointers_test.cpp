#include <gtest/gtest.h>

#include "image/rom_image.h"

namespace velk {
namespace {

// Known offsets and their bytes, read back both ways; every offset of the
// image comes back; bytes the game never writes can lead outside.
TEST(LongPointer, BytesOfKnownOffsetsAndBack) {
    const std::pair<int32_t, LongPointer> known[] = {
        {0x000000, {0x00, 0x80, 0x80}}, {0x008000, {0x00, 0x80, 0x81}}, {0x118000, {0x00, 0x80, 0xA3}},
        {0x320000, {0x00, 0x80, 0xE4}}, {0x320666, {0x66, 0x86, 0xE4}}, {0x320CBE, {0xBE, 0x8C, 0xE4}},
        {0x348000 + 36 * 255, {0xDC, 0xA3, 0xE9}}, {0x3FFFFF, {0xFF, 0xFF, 0xFF}},
    };
    for (const auto& [offset, bytes] : known) {
        EXPECT_EQ(offsetToLongPointer(offset), bytes) << offset;
        EXPECT_EQ(longPointerToOffset(bytes), offset) << offset;
    }
    for (int32_t off = 0; off < kRomSize; off += 0x101) ASSERT_EQ(longPointerToOffset(offsetToLongPointer(off)), off);
    EXPECT_LT(longPointerToOffset({0x00, 0x00, 0x00}), 0);
    EXPECT_FALSE(isInsideImage(longPointerToOffset({0x00, 0x00, 0x00})));
    EXPECT_EQ(longPointerToOffset({0x10, 0x00, 0x81}), 0x10);  // bank 0x81 below 0x8000 reads as the bank before
}

TEST(LongPointer, StoresIntoTheImage) {
    RomImage image;
    writeLongPointer(image, 0x118000 + 3 * 5, 0x2A0001);
    EXPECT_EQ(std::vector<uint8_t>(image.at(0x11800F), image.at(0x118012)), (std::vector<uint8_t>{0x01, 0x80, 0xD4}));
    EXPECT_EQ(readLongPointer(image, 0x11800F), 0x2A0001);
}

TEST(ShortPointer, IsLittleEndianAboveItsBase) {
    RomImage image;
    writeShortPointer(image, 0x640C7, 0x58000, 0x65463);
    EXPECT_TRUE(image[0x640C7] == 0x63 && image[0x640C8] == 0xD4);
    EXPECT_EQ(readShortPointer(image, 0x640C7, 0x58000), 0x65463);
    writeShortPointer(image, 0x340002, 0x338000, 0x3409D2);
    EXPECT_TRUE(image[0x340002] == 0xD2 && image[0x340003] == 0x89);
}

TEST(ImageBounds, TheLastByteIsInsideAndTheNextIsNot) {
    EXPECT_TRUE(isInsideImage(0) && isInsideImage(kRomSize - 1));
    EXPECT_FALSE(isInsideImage(kRomSize) || isInsideImage(-1));
}

}  // namespace
}  // namespace velk
