#include "image/rom_image.h"

namespace velk {

int32_t longPointerToOffset(const LongPointer& p) {
    return ((static_cast<int32_t>(p[2]) - 0x81) * 128 + p[1]) * 256 + p[0];
}

LongPointer offsetToLongPointer(int32_t offset) {
    return {static_cast<uint8_t>(offset & 0xFF),
            static_cast<uint8_t>(0x80 + ((offset >> 8) & 0x7F)),
            static_cast<uint8_t>(0x80 + offset / kBankSize)};
}

int32_t readLongPointer(const RomImage& image, int32_t at) {
    return longPointerToOffset({image[at], image[at + 1], image[at + 2]});
}

void writeLongPointer(RomImage& image, int32_t at, int32_t offset) {
    const LongPointer p = offsetToLongPointer(offset);
    image[at] = p[0];
    image[at + 1] = p[1];
    image[at + 2] = p[2];
}

void writeShortPointer(RomImage& image, int32_t at, int32_t base, int32_t offset) {
    const int32_t v = offset - base;
    image[at] = static_cast<uint8_t>(v & 0xFF);
    image[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

}  // namespace velk
