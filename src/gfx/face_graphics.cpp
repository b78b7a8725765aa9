#include "gfx/face_graphics.h"

#include <algorithm>

#include "gfx/colours.h"
#include "gfx/side_files.h"
#include "pack/lz_formats.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"
#include "text/sjis.h"

namespace velk {
namespace {

constexpr size_t kColourSetsPerFace = 8;
constexpr size_t kColoursPerSet = 15;

}  // namespace

FileDialogOptions faceGraphicsDialogOptions() {
    return {"fig", "*.fig", toCp932("顔グラフィック(*.fig)|*.fig|全て(*.*)|*.*||")};
}

std::vector<uint8_t> faceFileBytes(ConstCatalog faces) {
    std::vector<uint8_t> bytes(kFaceFileBytes, 0);
    for (size_t f = 0; f < faces.size(); ++f) {
        const std::vector<uint8_t>& tiles = faces[f].unpacked;
        std::copy_n(tiles.begin(), std::min(tiles.size(), kFaceBytes), bytes.begin() + static_cast<std::ptrdiff_t>(faceFileOffset(f)));
    }
    return bytes;
}

std::array<uint8_t, kPaletteFileBytes> facePaletteFileBytes(ConstCatalog colourSets, const RomImage& image, size_t f) {
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
    static const char digits[] = "0123456789ABCDEF";
    return std::string{digits[f / 16 % 16], digits[f % 16]} + ".pal";
}

void extractFaceGraphics(ConstCatalog faces, ConstCatalog colourSets, const RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(faceGraphicsDialogOptions());
    if (!file) return;
    if (!writeChosenFile(platform, *file, faceFileBytes(faces))) return;
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (!writeChosenFile(platform, sideFile(*file, ".dat"), side)) return;
    for (size_t f = 0; f < faces.size(); ++f)
        if (!writeChosenFile(platform, sideFile(*file, facePaletteSuffix(f)), facePaletteFileBytes(colourSets, image, f)))
            return;
}

void writeFaceGraphics(Catalog faces, Catalog colourSets, const RomImage& image, Platform& platform) {
    const std::optional<FileContents> fig = askAndReadFile(platform, faceGraphicsDialogOptions(), kFaceFileBytes);
    if (!fig) return;
    const std::vector<uint8_t>& tiles = fig->bytes;
    // A short file fills what it holds; the rest of each face stays as it was.
    for (size_t f = 0; f < faces.size(); ++f) {
        ResourceEntry& face = faces[f];
        std::vector<uint8_t> unpacked = face.unpacked;
        unpacked.resize(kFaceBytes);
        const size_t at = faceFileOffset(f);
        if (at < tiles.size())
            std::copy_n(tiles.begin() + static_cast<std::ptrdiff_t>(at), std::min(kFaceBytes, tiles.size() - at), unpacked.begin());
        storeUnpacked(face, std::move(unpacked));
        packWithProfile(image, face, kFaceProfile);
    }
    // Every palette file is read before any colour set changes; a short one
    // keeps the colours it does not reach.
    std::vector<std::array<uint8_t, kPaletteFileBytes>> palettes;
    for (size_t f = 0; f < faces.size(); ++f) {
        const ChosenFile pal = sideFile(fig->file, facePaletteSuffix(f));
        const std::optional<std::vector<uint8_t>> bytes = platform.readFile(pal.path, kPaletteFileBytes);
        if (!bytes) {
            platform.messageBox(cannotReadMessage(pal.name));
            return;
        }
        palettes.push_back(facePaletteFileBytes(colourSets, image, f));
        std::copy(bytes->begin(), bytes->end(), palettes.back().begin());
    }
    for (size_t e = 0; e < colourSets.size(); ++e) {
        const auto& palette = palettes[e / kColourSetsPerFace];
        const size_t s = e % kColourSetsPerFace;
        std::vector<uint8_t> colours;
        for (size_t c = 1; c <= kColoursPerSet; ++c) {
            const size_t at = 3 * (16 * s + c);
            const uint16_t console = rgbToConsole({palette[at], palette[at + 1], palette[at + 2]});
            colours.push_back(static_cast<uint8_t>(console & 0xFF));
            colours.push_back(static_cast<uint8_t>(console >> 8));
        }
        storeUnpacked(colourSets[e], std::move(colours));
        packWithProfile(image, colourSets[e], kFacePartProfile);
    }
}

}  // namespace velk
