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

TEST(ImageBounds, TheLastByteIsInsideAndTheNextIsNot) {
    EXPECT_TRUE(isInsideImage(0) && isInsideImage(kRomSize - 1));
    EXPECT_FALSE(isInsideImage(kRomSize) || isInsideImage(-1));
}

}  // namespace
}  // namespace velk
