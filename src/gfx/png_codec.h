// Indexed PNG in and out, through libpng: bytes in, pixels and palette out
// (or the reason it cannot be read); pixels and palette in, the same PNG
// bytes on every run out.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/colours.h"
#include "image/result.h"

namespace velk {

struct PngPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    bool indexed = false;         // colour type 3: one palette index a pixel
    std::vector<uint8_t> pixels;  // indexed: one index a pixel; otherwise red, green, blue, alpha
    std::vector<Rgb> palette;     // the PLTE entries (indexed only)
};

// Any PNG: an indexed one keeps its indices (whatever the bit depth, one byte
// each); grey and truecolour ones, 8 or 16 bits, with or without alpha or
// tRNS, come out as 8-bit RGBA (16-bit channels rounded). A file that is not
// a PNG, or is damaged, gives libpng's own words as the reason.
Result<PngPicture> decodePng(std::span<const uint8_t> bytes);

// An indexed PNG, bit depth 8: IHDR, PLTE, tRNS (palette entry 0
// transparent), IDAT, IEND and nothing else, at a fixed zlib level, so the
// same pixels give the same bytes on every run. pixels.size() must be
// width x height and every index below palette.size() (at most 256).
std::vector<uint8_t> encodeIndexedPng(uint32_t width, uint32_t height, std::span<const uint8_t> pixels,
                                      std::span<const Rgb> palette);

// A 5-bit console channel as 8 bits, by bit replication, and back, rounded;
// the two invert each other for all 32 levels.
inline uint8_t channelTo8(unsigned c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); }
inline uint8_t channelTo5(unsigned x) { return static_cast<uint8_t>((x * 31 + 127) / 255); }
inline Rgb consoleToPngRgb(uint16_t c) {
    return {channelTo8(c & 31), channelTo8((c >> 5) & 31), channelTo8((c >> 10) & 31)};
}
// The 15 bits of a colour read from a file.
inline uint16_t pngRgbToConsole(Rgb rgb) {
    return static_cast<uint16_t>(channelTo5(rgb.red) | channelTo5(rgb.green) << 5 | channelTo5(rgb.blue) << 10);
}

}  // namespace velk
