#include "gfx/unit_graphics.h"

#include "image/rom_image.h"

#include <algorithm>

#include "gfx/colours.h"
#include "image/parallel.h"
#include "pack/pack_profiles.h"

namespace velk {

std::vector<uint8_t> unitFileBytes(ConstCatalogue units, const RomImage& image) {
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

void writeUnitFile(Catalogue units, RomImage& image, std::span<const uint8_t> bytes, bool onlyChanged) {
    const size_t raw = std::min(bytes.size(), kRawGraphicBlockBytes);
    std::copy_n(bytes.begin(), raw, image.at(kRawGraphicBlock));
    const std::shared_ptr<const DictionaryIndex> dictionary = dictionaryFor(image, kUnitGraphicProfile);
    parallelFor(units.size(), [&](size_t i) {
        ResourceEntry& unit = units[unitEntryAt(i)];
        std::vector<uint8_t> unpacked = unit.unpacked;
        unpacked.resize(kUnitGraphicBytes);
        const size_t at = kRawGraphicBlockBytes + i * kUnitGraphicBytes;
        if (at < bytes.size())
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), std::min(kUnitGraphicBytes, bytes.size() - at),
                        unpacked.begin());
        if (onlyChanged && unpacked == unit.unpacked) return;
        unit.unpacked = std::move(unpacked);
        unit.packed = packWithProfile(unit.unpacked, *dictionary, kUnitGraphicProfile);
    });
}

void writeUnit(Catalogue units, const RomImage& image, size_t position, std::vector<uint8_t> bytes) {
    ResourceEntry& unit = units[unitEntryAt(position)];
    if (bytes == unit.unpacked) return;
    unit.unpacked = std::move(bytes);
    unit.packed = packWithProfile(unit.unpacked, *dictionaryFor(image, kUnitGraphicProfile), kUnitGraphicProfile);
}

}  // namespace velk
