#include "gfx/face_graphics.h"

#include "image/rom_image.h"

#include <algorithm>

#include "gfx/colours.h"
#include "image/hex.h"
#include "image/parallel.h"
#include "pack/pack_profiles.h"

namespace velk {
namespace {

constexpr size_t kColourSetsPerFace = 8;
constexpr size_t kColoursPerSet = 15;

// Stores the records given new bytes and packs them, on every core.
void replaceAndPack(Catalogue records, ReplacedBytes replaced, const RomImage& image, const PackProfile& profile,
                    size_t grain) {
    const std::shared_ptr<const DictionaryIndex> dictionary = dictionaryFor(image, profile);
    parallelFor(std::min(records.size(), replaced.size()), [&](size_t i) {
        if (!replaced[i]) return;
        records[i].unpacked = *replaced[i];
        records[i].packed = packWithProfile(records[i].unpacked, *dictionary, profile);
    }, grain);
}

}  // namespace

std::vector<uint8_t> faceFileBytes(ConstCatalogue faces) {
    std::vector<uint8_t> bytes(kFaceFileBytes, 0);
    for (size_t f = 0; f < faces.size(); ++f) {
        const std::vector<uint8_t>& tiles = faces[f].unpacked;
        std::copy_n(tiles.begin(), std::min(tiles.size(), kFaceBytes), bytes.begin() + static_cast<std::ptrdiff_t>(faceFileOffset(f)));
    }
    return bytes;
}

std::array<uint8_t, kPaletteFileBytes> facePaletteFileBytes(ConstCatalogue colourSets, const RomImage& image, size_t f) {
    std::array<uint8_t, kPaletteFileBytes> bytes{};
    auto put = [&](size_t colour, Rgb rgb) {
        bytes[3 * colour] = rgb.red;
        bytes[3 * colour + 1] = rgb.green;
        bytes[3 * colour + 2] = rgb.blue;
    };
    for (size_t s = 0; s < kColourSetsPerFace; ++s)
        for (size_t c = 1; c <= kColoursPerSet; ++c)
            put(16 * s + c, consoleToRgb(colourAt(colourSets[kColourSetsPerFace * f + s].unpacked, c - 1)));
    for (int c = 0; c < 128; ++c) put(128 + static_cast<size_t>(c), consoleToRgb(sharedColour(image, c)));
    return bytes;
}

std::string facePaletteSuffix(size_t f) {
    return std::string{upperHexDigit(static_cast<unsigned>(f / 16)), upperHexDigit(static_cast<unsigned>(f))} + ".pal";
}

void writeFaceTiles(Catalogue faces, std::span<const uint8_t> fig, const RomImage& image) {
    std::vector<std::optional<std::vector<uint8_t>>> tiles(faces.size());
    for (size_t f = 0; f < faces.size(); ++f) {
        std::vector<uint8_t> unpacked = faces[f].unpacked;
        unpacked.resize(kFaceBytes);
        const size_t at = faceFileOffset(f);
        if (at < fig.size())
            std::copy_n(fig.begin() + static_cast<std::ptrdiff_t>(at), std::min(kFaceBytes, fig.size() - at), unpacked.begin());
        tiles[f] = std::move(unpacked);
    }
    replaceFaceTiles(faces, tiles, image);
}

void replaceFaceTiles(Catalogue faces, ReplacedBytes tiles, const RomImage& image) {
    replaceAndPack(faces, tiles, image, kFaceProfile, 8);
}

void writeFaceColours(Catalogue colourSets, std::span<const std::vector<uint8_t>> paletteFiles,
                      const RomImage& image) {
    std::vector<std::array<uint8_t, kPaletteFileBytes>> palettes;
    for (size_t f = 0; f < paletteFiles.size(); ++f) {
        palettes.push_back(facePaletteFileBytes(colourSets, image, f));
        const std::vector<uint8_t>& file = paletteFiles[f];
        std::copy_n(file.begin(), std::min(file.size(), kPaletteFileBytes), palettes.back().begin());
    }
    const size_t sets = std::min(colourSets.size(), palettes.size() * kColourSetsPerFace);
    std::vector<std::optional<std::vector<uint8_t>>> colours(sets);
    for (size_t e = 0; e < sets; ++e) {
        const auto& palette = palettes[e / kColourSetsPerFace];
        const size_t s = e % kColourSetsPerFace;
        std::vector<uint8_t> bytes;
        for (size_t c = 1; c <= kColoursPerSet; ++c) {
            const size_t at = 3 * (16 * s + c);
            const uint16_t console = rgbToConsole({palette[at], palette[at + 1], palette[at + 2]});
            bytes.push_back(static_cast<uint8_t>(console & 0xFF));
            bytes.push_back(static_cast<uint8_t>(console >> 8));
        }
        colours[e] = std::move(bytes);
    }
    replaceColourSets(colourSets, colours, image);
}

void replaceColourSets(Catalogue colourSets, ReplacedBytes colours, const RomImage& image) {
    replaceAndPack(colourSets, colours, image, kColourSetProfile, 64);
}

}  // namespace velk
