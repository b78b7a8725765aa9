#include "gfx/png_pixels.h"

namespace velk {
namespace {

constexpr size_t kTileSide = 8;

Problem pixelProblem(ProblemCode code, size_t i, uint32_t width, int64_t found) {
    Problem p = problem(code);
    p.x = static_cast<int64_t>(i % width);
    p.y = static_cast<int64_t>(i / width);
    p.found = found;
    return p;
}

}  // namespace

std::vector<uint8_t> tilesToPixels(std::span<const uint8_t> tiles, size_t tilesAcross) {
    const size_t count = tiles.size() / kTileBytes;
    const size_t width = tilesAcross * kTileSide;
    // Whole rows of tiles: a last row that is not full is padded with 0.
    const size_t rows = (count + tilesAcross - 1) / tilesAcross;
    std::vector<uint8_t> pixels(rows * kTileSide * width);
    for (size_t t = 0; t < count; ++t) {
        const uint8_t* tile = tiles.data() + t * kTileBytes;
        uint8_t* corner = pixels.data() + (t / tilesAcross) * kTileSide * width + (t % tilesAcross) * kTileSide;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) corner[static_cast<size_t>(y) * width + static_cast<size_t>(x)] = tilePixel(tile, x, y);
    }
    return pixels;
}

std::vector<uint8_t> pixelsToTiles(std::span<const uint8_t> pixels, size_t tilesAcross) {
    const size_t width = tilesAcross * kTileSide;
    const size_t count = pixels.size() / (kTileSide * kTileSide);
    std::vector<uint8_t> tiles(count * kTileBytes, 0);
    for (size_t t = 0; t < count; ++t) {
        uint8_t* tile = tiles.data() + t * kTileBytes;
        const uint8_t* corner = pixels.data() + (t / tilesAcross) * kTileSide * width + (t % tilesAcross) * kTileSide;
        for (size_t y = 0; y < 8; ++y)
            for (size_t x = 0; x < 8; ++x) {
                const unsigned v = corner[y * width + x];
                const unsigned bit = 1u << (7 - x);
                if (v & 1) tile[2 * y] |= static_cast<uint8_t>(bit);
                if (v & 2) tile[2 * y + 1] |= static_cast<uint8_t>(bit);
                if (v & 4) tile[16 + 2 * y] |= static_cast<uint8_t>(bit);
                if (v & 8) tile[17 + 2 * y] |= static_cast<uint8_t>(bit);
            }
    }
    return tiles;
}

Status checkPictureSize(const PngPicture& picture, uint32_t width, uint32_t height) {
    if (picture.width == width && picture.height == height) return {};
    Problem p = problem(ProblemCode::PictureSize);
    p.width = width;
    p.height = height;
    p.x = picture.width;
    p.y = picture.height;
    return p;
}

Result<std::vector<uint8_t>> pixelValues(const PngPicture& picture, const std::array<uint16_t, 15>& colours,
                                         unsigned indexLimit) {
    const size_t count = size_t{picture.width} * picture.height;
    std::vector<uint8_t> values(count);
    if (picture.indexed) {
        for (size_t i = 0; i < count; ++i) {
            const uint8_t index = picture.pixels[i];
            if (index >= indexLimit) {
                Problem p = pixelProblem(ProblemCode::PaletteIndexTooLarge, i, picture.width, index);
                p.expected = indexLimit - 1;
                return p;
            }
            values[i] = index % 16;
        }
        return values;
    }
    // A picture repeats few colours: remember the last one looked up.
    uint32_t lastRgb = UINT32_MAX;
    uint8_t lastValue = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = picture.pixels.data() + 4 * i;
        if (p[3] == 0) continue;
        const uint32_t rgb = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        if (rgb != lastRgb) {
            const uint16_t c = pngRgbToConsole({p[0], p[1], p[2]});
            int found = -1;
            for (size_t v = 0; v < colours.size() && found < 0; ++v)
                if ((colours[v] & 0x7FFF) == c) found = static_cast<int>(v + 1);
            if (found < 0 && c == 0) found = 0;
            if (found < 0) return pixelProblem(ProblemCode::ColourNotInPalette, i, picture.width, rgb);
            lastRgb = rgb;
            lastValue = static_cast<uint8_t>(found);
        }
        values[i] = lastValue;
    }
    return values;
}

}  // namespace velk
