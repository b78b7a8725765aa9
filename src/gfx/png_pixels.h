// Tiles laid out as a picture of pixel values, and the pixel values of a
// decoded PNG, whatever its colour type.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/png_codec.h"
#include "image/result.h"

namespace velk {

// One byte a pixel (its 4-bit value); tile t stands at tile column
// t mod tilesAcross and tile row t div tilesAcross (a last row that is not
// full is padded with 0).
std::vector<uint8_t> tilesToPixels(std::span<const uint8_t> tiles, size_t tilesAcross);
// The inverse: the 32-byte planar tiles of a picture tilesAcross tiles wide.
std::vector<uint8_t> pixelsToTiles(std::span<const uint8_t> pixels, size_t tilesAcross);

// "W x H pixels expected, found w x h" unless the picture has that size.
Status checkPictureSize(const PngPicture& picture, uint32_t width, uint32_t height);

// The 4-bit value of every pixel. Indexed: the index mod 16 (an index of
// indexLimit or more is refused). Otherwise alpha 0 is 0, and a colour,
// rounded to 5 bits a channel, is the first of `colours` (values 1-15,
// compared in 15 bits) it equals, or 0 for black; any other colour is
// refused with its pixel (x, y) and #RRGGBB.
Result<std::vector<uint8_t>> pixelValues(const PngPicture& picture, const std::array<uint16_t, 15>& colours,
                                         unsigned indexLimit = 256);

}  // namespace velk
