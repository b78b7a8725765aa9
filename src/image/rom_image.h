// The in-memory copy of the ROM file and the game's two pointer forms.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velk {

// The image is always exactly 4 MiB; a ROM offset is a file offset.
constexpr int32_t kRomSize = 0x400000;
constexpr int32_t kBankSize = 0x8000;

struct RomImage {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kRomSize, 0);

    RomImage() = default;
    // The image of exactly these 4 MiB.
    explicit RomImage(std::span<const uint8_t> image) : bytes(image.begin(), image.end()) {}
    explicit RomImage(std::vector<uint8_t>&& image) : bytes(std::move(image)) {}

    uint8_t& operator[](int32_t offset) { return bytes[static_cast<size_t>(offset)]; }
    uint8_t operator[](int32_t offset) const { return bytes[static_cast<size_t>(offset)]; }
    uint8_t* at(int32_t offset) { return bytes.data() + offset; }
    const uint8_t* at(int32_t offset) const { return bytes.data() + offset; }
    uint16_t u16(int32_t offset) const {
        return static_cast<uint16_t>(bytes[static_cast<size_t>(offset)] |
                                     bytes[static_cast<size_t>(offset) + 1] << 8);
    }
};

inline bool isInsideImage(int64_t offset) { return offset >= 0 && offset < kRomSize; }

// LongPointer: three bytes low, middle, bank.
using LongPointer = std::array<uint8_t, 3>;

// ((bank - 0x81) * 128 + middle) * 256 + low; may lie outside the image for
// bytes the game never writes.
int32_t longPointerToOffset(const LongPointer& p);
LongPointer offsetToLongPointer(int32_t offset);
int32_t readLongPointer(const RomImage& image, int32_t at);
void writeLongPointer(RomImage& image, int32_t at, int32_t offset);

// ShortPointer: a 16-bit little-endian value v relative to a fixed base.
inline int32_t readShortPointer(const RomImage& image, int32_t at, int32_t base) {
    return base + image.u16(at);
}
void writeShortPointer(RomImage& image, int32_t at, int32_t base, int32_t offset);

}  // namespace velk
