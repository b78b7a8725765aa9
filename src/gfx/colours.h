// Console colours (15-bit, little-endian in the image) and tiles (8 x 8
// pixels, 4 bit planes).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "image/rom_image.h"

namespace velk {

constexpr int32_t kSharedColourTable = 0xDA0D0;  // 256 colours
constexpr size_t kTileBytes = 32;

struct Rgb {
    uint8_t red, green, blue;
};

// Each 5-bit component times 8: the low three bits are always 0.
inline Rgb consoleToRgb(uint16_t c) {
    return {static_cast<uint8_t>((c & 31) * 8), static_cast<uint8_t>(((c >> 5) & 31) * 8),
            static_cast<uint8_t>(((c >> 10) & 31) * 8)};
}

inline uint16_t rgbToConsole(Rgb rgb) {
    return static_cast<uint16_t>((rgb.red >> 3) + ((rgb.green >> 3) << 5) + ((rgb.blue >> 3) << 10));
}

inline uint16_t colourAt(std::span<const uint8_t> bytes, size_t index) {
    return static_cast<uint16_t>(bytes[2 * index] | bytes[2 * index + 1] << 8);
}

inline uint16_t sharedColour(const RomImage& image, int index) { return image.u16(kSharedColourTable + 2 * index); }

// Pixel (x, y) of a tile: bytes 2y and 2y + 1 hold planes 0 and 1, bytes
// 16 + 2y and 17 + 2y planes 2 and 3; bit 7 is the leftmost pixel.
inline uint8_t tilePixel(const uint8_t* tile, int x, int y) {
    const int bit = 7 - x;
    return static_cast<uint8_t>((tile[2 * y] >> bit & 1) | (tile[2 * y + 1] >> bit & 1) << 1 |
                                (tile[16 + 2 * y] >> bit & 1) << 2 | (tile[17 + 2 * y] >> bit & 1) << 3);
}

// The 32 bytes of every graphics side file (*.dat): 0x00-0x0F, then 0x30-0x3F.
std::array<uint8_t, 32> sideFileBytes();

}  // namespace velk
