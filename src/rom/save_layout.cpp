#include "rom/save_layout.h"

#include <algorithm>
#include <array>
#include <numeric>

#include <cstdio>

#include "rom/free_regions.h"

namespace velk {
namespace {

struct RelocatedBlock {
    int32_t pointer;  // where the game keeps its LongPointer
    int32_t size;
};
// In the order they are copied to kRelocatedBlocks.
constexpr std::array<RelocatedBlock, 3> kRelocatedBlockTable = {{{0x1E7DDB, 1638}, {0x1E7F52, 1624}, {0x1E7DAB, 1617}}};

constexpr std::array<uint8_t, 15> kPatchedCode = {0x0A, 0xAA, 0x68, 0xBF, 0x02, 0x80, 0xE8, 0xEA,
                                                  0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA, 0xEA};
constexpr int32_t kPatchedCodeAt = 0xE9F0;
constexpr int32_t kPatchedBankAt = 0xEA0C;
constexpr int32_t kRomSizeByteAt = 0x7FD7;
constexpr std::array<RomRange, 2> kNameRegionTable = {{{0x60031, 0x640C7}, {0x65463, 0x68000}}};
constexpr int kGlyphCount = 256;
constexpr int32_t kGlyphBytes = 36;

void put(RomImage& image, int32_t at, std::span<const uint8_t> bytes) { std::copy(bytes.begin(), bytes.end(), image.at(at)); }

// Glyph k: four groups of an LzFormatB flag byte 0xFF and eight literal bytes,
// the glyph's upper half then its lower half from the sheet.
void writeGlyphs(RomImage& image, const std::array<uint8_t, kGlyphSheetSize>& sheet) {
    for (int k = 0; k < kGlyphCount; ++k) {
        const int32_t at = kGlyphData + kGlyphBytes * k;
        for (int i = 0; i < 32; ++i) {
            const int h = i / 16, b = i % 16;
            const size_t from = static_cast<size_t>(512 * (k / 16) + 256 * h + 16 * (k % 16) + b);
            image[at + (i / 8) * 9 + 1 + i % 8] = sheet[from];
        }
        for (int g = 0; g < 4; ++g) image[at + 9 * g] = 0xFF;
        writeLongPointer(image, kGlyphPointerTable + 3 * k, at);
    }
}

bool blockInside(const RomImage& image, const RelocatedBlock& block) {
    const int32_t from = readLongPointer(image, block.pointer);
    return from >= 0 && from + block.size <= kRomSize;
}

// Copies the three blocks through one buffer, so that blocks already at their
// new place from an earlier save are copied correctly.
bool moveRelocatedBlocks(RomImage& image) {
    std::vector<uint8_t> buffer;
    for (const RelocatedBlock& block : kRelocatedBlockTable) {
        if (!blockInside(image, block)) return false;
        const int32_t from = readLongPointer(image, block.pointer);
        buffer.insert(buffer.end(), image.at(from), image.at(from + block.size));
    }
    put(image, kRelocatedBlocks, buffer);
    int32_t at = kRelocatedBlocks;
    for (const RelocatedBlock& block : kRelocatedBlockTable) {
        writeLongPointer(image, block.pointer, at);
        at += block.size;
    }
    return true;
}

void writeFixedBytes(RomImage& image) {
    image[kRomSizeByteAt] = 0x0D;
    image[kRelocationMarker] = 0x42;
    image[kRelocationMarker + 1] = 0x42;
    put(image, kPatchedCodeAt, kPatchedCode);
    image[kPatchedBankAt] = 0xE8;
}

bool writeColourSets(RomImage& image, ConstCatalogue parts) {
    const int64_t total = std::accumulate(parts.begin(), parts.end(), int64_t{0},
                                          [](int64_t sum, const ResourceEntry& e) { return sum + e.packedLength; });
    if (kColourSetData + total > kColourSetDataEnd) return false;
    int32_t at = kColourSetData;
    for (size_t i = 0; i < parts.size(); ++i) {
        put(image, at, parts[i].packed);
        writeShortPointer(image, kColourSetRelocatedPointerTable + 2 * static_cast<int32_t>(i), kColourSetRelocatedBase, at);
        at += parts[i].packedLength;
    }
    return true;
}

// Each name and its 0x00 go where they fit, region 0 first, then region 1.
bool writeNames(RomImage& image, ConstCatalogue names) {
    size_t region = 0;
    int32_t used = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const int32_t n = names[i].packedLength;
        if (kNameRegionTable[region].start + used + n >= kNameRegionTable[region].end) {
            if (++region == kNameRegionTable.size()) return false;
            used = 0;
            if (kNameRegionTable[region].start + n >= kNameRegionTable[region].end) return false;
        }
        const int32_t at = kNameRegionTable[region].start + used;
        put(image, at, names[i].packed);
        image[at + n] = 0x00;
        writeShortPointer(image, kNamePointerTable + 2 * static_cast<int32_t>(i), kNamePointerBase, at);
        used += n + 1;
    }
    return true;
}

int32_t pointerTableOf(int32_t id) {
    if (id < kFirstUnitGraphicId) return kFacePointerTable;
    if (id < kFirstTextId) return kUnitGraphicPointerTable;
    return kTextPointerTable;
}

// Greedy first fit: the regions from the smallest, and into each the largest
// records that still fit. Equal lengths keep id order, so saves repeat exactly.
bool placeResources(RomImage& image, std::vector<ResourceEntry>& records) {
    for (ResourceEntry& e : records) e.placed = 0;
    for (int i = kFirstPinnedFace; i < kFaceCount; ++i) records[static_cast<size_t>(i)].placed = 1;
    std::vector<int32_t> order(records.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return records[static_cast<size_t>(a)].packedLength > records[static_cast<size_t>(b)].packedLength;
    });
    for (int r = 0; r < kFreeRegionCount; ++r) {
        if (r == kFreeRegionInColourDictionary) continue;
        const RomRange region = kFreeRegionTable[static_cast<size_t>(r)];
        int32_t used = 0;
        for (int32_t index : order) {
            ResourceEntry& e = records[static_cast<size_t>(index)];
            if (e.placed || region.start + used + e.packedLength > region.end) continue;
            const int32_t at = region.start + used;
            put(image, at, e.packed);
            writeLongPointer(image, pointerTableOf(e.id) + 3 * e.tableIndex, at);
            used += e.packedLength;
            e.placed = 1;
        }
    }
    return std::all_of(records.begin(), records.end(), [](const ResourceEntry& e) { return e.placed == 1; });
}

}  // namespace

void writeChecksum(RomImage& image) {
    image[kChecksumComplementAt] = 0xFF;
    image[kChecksumComplementAt + 1] = 0xFF;
    image[kChecksumAt] = 0x00;
    image[kChecksumAt + 1] = 0x00;
    uint32_t sum = 0;
    for (const uint8_t b : image.bytes) sum += b;
    sum &= 0xFFFF;
    const uint32_t complement = sum ^ 0xFFFF;
    image[kChecksumAt] = static_cast<uint8_t>(sum & 0xFF);
    image[kChecksumAt + 1] = static_cast<uint8_t>(sum >> 8);
    image[kChecksumComplementAt] = static_cast<uint8_t>(complement & 0xFF);
    image[kChecksumComplementAt + 1] = static_cast<uint8_t>(complement >> 8);
}

std::vector<uint8_t> romFileBytes(std::span<const uint8_t> copierHeader, const RomImage& image) {
    std::vector<uint8_t> bytes;
    bytes.reserve(copierHeader.size() + image.bytes.size());
    bytes.insert(bytes.end(), copierHeader.begin(), copierHeader.end());
    bytes.insert(bytes.end(), image.bytes.begin(), image.bytes.end());
    return bytes;
}

Status checkRelocatedBlocks(const RomImage& image) {
    for (const RelocatedBlock& block : kRelocatedBlockTable) {
        if (blockInside(image, block)) continue;
        char reason[80];
        std::snprintf(reason, sizeof reason, "pointer at 0x%06X leads outside the image", block.pointer);
        return cannotRead(reason, static_cast<size_t>(block.pointer));
    }
    return {};
}

Status layOutImage(RomImage& image, EditorState& state) {
    if (state.glyphSheetLoaded) writeGlyphs(image, state.glyphSheet);
    if (!moveRelocatedBlocks(image)) return problem(MessageId::NoRoom);
    writeFixedBytes(image);
    if (!writeColourSets(image, state.catalogues.colourSets)) return problem(MessageId::NoRoom);
    if (!writeNames(image, state.catalogues.names)) return problem(MessageId::NoRoom);
    if (!placeResources(image, state.catalogues.resources)) return problem(MessageId::NoRoom);
    return {};
}

}  // namespace velk
