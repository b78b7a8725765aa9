#include "gfx/unit_png.h"

#include "gfx/colours.h"
#include "gfx/png_codec.h"
#include "gfx/png_pixels.h"
#include "gfx/unit_graphics.h"

namespace velk {
namespace {

constexpr size_t kTilesAcross = kUnitSheetWidth / 8;

std::vector<Rgb> sharedPalette(const RomImage& image) {
    std::vector<Rgb> palette;
    for (int c = 0; c < 256; ++c) palette.push_back(consoleToPngRgb(sharedColour(image, c)));
    return palette;
}

// The tiles of a picture `width` x `height` pixels, matched as the sheet's.
Result<std::vector<uint8_t>> tilesFromPng(std::span<const uint8_t> png, const RomImage& image, uint32_t width, uint32_t height) {
    Result<PngPicture> picture = decodePng(png);
    if (!picture) return std::move(picture.problem());
    if (Status size = checkPictureSize(*picture, width, height); !size) return std::move(size.problem());
    std::array<uint16_t, 15> shared{};
    for (int v = 1; v <= 15; ++v) shared[static_cast<size_t>(v - 1)] = sharedColour(image, v);
    Result<std::vector<uint8_t>> values = pixelValues(*picture, shared);
    if (!values) return std::move(values.problem());
    return pixelsToTiles(*values, width / 8);
}

}  // namespace

std::vector<uint8_t> unitSheetPngBytes(ConstCatalogue units, const RomImage& image) {
    std::vector<uint8_t> file = unitFileBytes(units, image);
    file.resize(kUnitFileBytes);
    return encodeIndexedPng(kUnitSheetWidth, kUnitSheetHeight, tilesToPixels(file, kTilesAcross), sharedPalette(image));
}

Result<std::vector<uint8_t>> unitFileFromPng(std::span<const uint8_t> png, const RomImage& image) {
    return tilesFromPng(png, image, kUnitSheetWidth, kUnitSheetHeight);
}

std::vector<uint8_t> unitPngBytes(std::span<const uint8_t> unit, const RomImage& image) {
    std::vector<uint8_t> tiles(unit.begin(), unit.begin() + static_cast<std::ptrdiff_t>(std::min(unit.size(), kUnitGraphicBytes)));
    tiles.resize(kUnitGraphicBytes, 0);
    return encodeIndexedPng(kUnitPngSide, kUnitPngSide, tilesToPixels(tiles, kUnitPngSide / 8), sharedPalette(image));
}

Result<std::vector<uint8_t>> unitFromPng(std::span<const uint8_t> png, const RomImage& image) {
    return tilesFromPng(png, image, kUnitPngSide, kUnitPngSide);
}

}  // namespace velk
