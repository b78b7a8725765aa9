#include "gfx/unit_graphics.h"

#include <algorithm>

#include "gfx/colours.h"
#include "gfx/side_files.h"
#include "pack/lz_formats.h"
#include "platform/file_dialogs.h"
#include "text/sjis.h"

namespace velk {

FileDialogOptions unitGraphicsDialogOptions() {
    return {"fig", "*.fig", toCp932("ユニットグラフィック等(*.fig)|*.fig|全て(*.*)|*.*||")};
}

std::vector<uint8_t> unitFileBytes(ConstCatalog units, const RomImage& image) {
    std::vector<uint8_t> bytes(image.at(kRawGraphicBlock), image.at(kRawGraphicBlock + static_cast<int32_t>(kRawGraphicBlockBytes)));
    bytes.reserve(kRawGraphicBlockBytes + units.size() * kUnitGraphicBytes);
    for (size_t i = 0; i < units.size(); ++i) {
        std::vector<uint8_t> unit = units[unitEntryAt(i)].unpacked;
        unit.resize(kUnitGraphicBytes);
        bytes.insert(bytes.end(), unit.begin(), unit.end());
    }
    return bytes;
}

std::array<uint8_t, 768> sharedPaletteFileBytes(const RomImage& image) {
    std::array<uint8_t, 768> bytes{};
    for (int c = 0; c < 256; ++c) {
        const Rgb rgb = consoleToRgb(sharedColour(image, c));
        bytes[3 * static_cast<size_t>(c)] = rgb.red;
        bytes[3 * static_cast<size_t>(c) + 1] = rgb.green;
        bytes[3 * static_cast<size_t>(c) + 2] = rgb.blue;
    }
    return bytes;
}

void extractUnitGraphics(ConstCatalog units, const RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(unitGraphicsDialogOptions());
    if (!file) return;
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (writeChosenFile(platform, *file, unitFileBytes(units, image)) &&
        writeChosenFile(platform, sideFile(*file, ".dat"), side))
        writeChosenFile(platform, sideFile(*file, ".pal"), sharedPaletteFileBytes(image));
}

void writeUnitGraphics(Catalog units, RomImage& image, Platform& platform) {
    const std::optional<FileContents> fig = askAndReadFile(platform, unitGraphicsDialogOptions(), kUnitFileBytes);
    if (!fig) return;
    const std::vector<uint8_t>& bytes = fig->bytes;
    // A short file fills what it holds; the rest keeps its bytes.
    const size_t raw = std::min(bytes.size(), kRawGraphicBlockBytes);
    std::copy_n(bytes.begin(), raw, image.at(kRawGraphicBlock));
    for (size_t i = 0; i < units.size(); ++i) {
        ResourceEntry& unit = units[unitEntryAt(i)];
        std::vector<uint8_t> unpacked = unit.unpacked;
        unpacked.resize(kUnitGraphicBytes);
        const size_t at = kRawGraphicBlockBytes + i * kUnitGraphicBytes;
        if (at < bytes.size())
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), std::min(kUnitGraphicBytes, bytes.size() - at),
                        unpacked.begin());
        storeUnpacked(unit, std::move(unpacked));
        packWithProfile(image, unit, kUnitGraphicProfile);
    }
}

}  // namespace velk
