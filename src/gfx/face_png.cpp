#include "gfx/face_png.h"

#include <cstdio>

#include "gfx/colours.h"
#include "gfx/face_graphics.h"
#include "gfx/png_codec.h"
#include "gfx/png_pixels.h"

namespace velk {
namespace {

constexpr size_t kSetsPerFace = 8;
constexpr size_t kTilesAcross = 4;

}  // namespace

std::string facePngName(size_t f) {
    char name[16];
    std::snprintf(name, sizeof name, "face-%03zu.png", f);
    return name;
}

std::vector<uint8_t> facePngBytes(std::span<const uint8_t> tiles, ConstCatalogue sets) {
    std::vector<Rgb> palette(kFacePngColours, Rgb{0, 0, 0});
    for (size_t s = 0; s < kSetsPerFace && s < sets.size(); ++s)
        for (size_t v = 1; v <= 15 && 2 * v <= sets[s].unpacked.size(); ++v)
            palette[16 * s + v] = consoleToPngRgb(colourAt(sets[s].unpacked, v - 1));
    std::vector<uint8_t> faceTiles(tiles.begin(), tiles.end());
    faceTiles.resize(kFaceBytes);
    return encodeIndexedPng(kFacePngWidth, kFacePngHeight, tilesToPixels(faceTiles, kTilesAcross), palette);
}

Result<FacePng> readFacePng(std::span<const uint8_t> png, ConstCatalogue sets) {
    Result<PngPicture> picture = decodePng(png);
    if (!picture) return std::move(picture.problem());
    if (Status size = checkPictureSize(*picture, kFacePngWidth, kFacePngHeight); !size) return std::move(size.problem());
    std::array<uint16_t, 15> first{};
    for (size_t v = 0; v < 15 && !sets.empty() && 2 * v + 1 < sets[0].unpacked.size(); ++v)
        first[v] = colourAt(sets[0].unpacked, v);
    Result<std::vector<uint8_t>> values = pixelValues(*picture, first, kFacePngColours);
    if (!values) return std::move(values.problem());
    FacePng face{pixelsToTiles(*values, kTilesAcross), std::nullopt, picture->indexed, picture->palette.size()};
    if (!picture->indexed || picture->palette.size() != kFacePngColours) return face;
    std::vector<std::vector<uint8_t>> colourSets;
    for (size_t s = 0; s < kSetsPerFace && s < sets.size(); ++s) {
        std::vector<uint8_t> bytes = sets[s].unpacked;
        bytes.resize(30);
        for (size_t v = 1; v <= 15; ++v) {
            const uint16_t read = pngRgbToConsole(picture->palette[16 * s + v]);
            if ((colourAt(bytes, v - 1) & 0x7FFF) == read) continue;
            bytes[2 * (v - 1)] = static_cast<uint8_t>(read & 0xFF);
            bytes[2 * (v - 1) + 1] = static_cast<uint8_t>(read >> 8);
        }
        colourSets.push_back(std::move(bytes));
    }
    face.colourSets = std::move(colourSets);
    return face;
}

}  // namespace velk
