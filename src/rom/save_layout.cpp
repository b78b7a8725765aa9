#include "rom/save_layout.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <set>


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

// Where the save puts every name and packed record, worked out before any
// byte of the image is written.
struct Layout {
    std::vector<int32_t> nameAt;
    std::vector<int32_t> recordAt;
    std::vector<int32_t> placementOrder;  // record indices in the order they were placed
};

bool colourSetsFit(ConstCatalogue parts) {
    const int64_t total = std::accumulate(parts.begin(), parts.end(), int64_t{0},
                                          [](int64_t sum, const ResourceEntry& e) { return sum + static_cast<int64_t>(e.packed.size()); });
    return kColourSetData + total <= kColourSetDataEnd;
}

void writeColourSets(RomImage& image, ConstCatalogue parts) {
    int32_t at = kColourSetData;
    for (size_t i = 0; i < parts.size(); ++i) {
        put(image, at, parts[i].packed);
        writeShortPointer(image, kColourSetRelocatedPointerTable + 2 * static_cast<int32_t>(i), kColourSetRelocatedBase, at);
        at += static_cast<int32_t>(parts[i].packed.size());
    }
}

// Each name and its 0x00 go where they fit, region 0 first, then region 1.
bool planNames(ConstNameCatalogue names, std::vector<int32_t>& nameAt) {
    size_t region = 0;
    int32_t used = 0;
    nameAt.resize(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        const auto n = static_cast<int32_t>(names[i].code.size());
        if (kNameRegionTable[region].start + used + n >= kNameRegionTable[region].end) {
            if (++region == kNameRegionTable.size()) return false;
            used = 0;
            if (kNameRegionTable[region].start + n >= kNameRegionTable[region].end) return false;
        }
        nameAt[i] = kNameRegionTable[region].start + used;
        used += n + 1;
    }
    return true;
}

void writeNames(RomImage& image, ConstNameCatalogue names, const std::vector<int32_t>& nameAt) {
    for (size_t i = 0; i < names.size(); ++i) {
        put(image, nameAt[i], names[i].code);
        image[nameAt[i] + static_cast<int32_t>(names[i].code.size())] = 0x00;
        writeShortPointer(image, kNamePointerTable + 2 * static_cast<int32_t>(i), kNamePointerBase, nameAt[i]);
    }
}

int32_t pointerTableOf(int32_t id) {
    if (id < kFirstUnitGraphicId) return kFacePointerTable;
    if (id < kFirstTextId) return kUnitGraphicPointerTable;
    return kTextPointerTable;
}

// Greedy first fit: the regions from the smallest, and into each the largest
// records that still fit; among equal lengths the lowest id first, so saves
// repeat exactly. The records wait in queues by length, so each placement
// finds the largest that fits at once.
bool planResources(ConstCatalogue records, std::vector<int32_t>& recordAt, std::vector<int32_t>& order) {
    recordAt.assign(records.size(), -1);
    order.clear();
    std::vector<std::vector<int32_t>> byLength;
    std::set<int32_t> lengths;
    for (size_t i = 0; i < records.size(); ++i) {
        const bool pinned = static_cast<int>(i) >= kFirstPinnedFace && static_cast<int>(i) < kFaceCount;
        if (pinned) continue;
        const size_t n = records[i].packed.size();
        if (byLength.size() <= n) byLength.resize(n + 1);
        byLength[n].push_back(static_cast<int32_t>(i));
        lengths.insert(static_cast<int32_t>(n));
    }
    std::vector<size_t> next(byLength.size(), 0);
    for (int r = 0; r < kFreeRegionCount && !lengths.empty(); ++r) {
        if (r == kFreeRegionInColourDictionary) continue;
        const RomRange region = kFreeRegionTable[static_cast<size_t>(r)];
        int32_t used = 0;
        for (;;) {
            auto fit = lengths.upper_bound(region.size() - used);
            if (fit == lengths.begin()) break;
            const int32_t n = *--fit;
            const auto length = static_cast<size_t>(n);
            const int32_t record = byLength[length][next[length]++];
            recordAt[static_cast<size_t>(record)] = region.start + used;
            order.push_back(record);
            if (next[length] == byLength[length].size()) lengths.erase(fit);
            used += n;
        }
    }
    return lengths.empty();
}

// Pointers are written in placement order, so that two records sharing one
// pointer slot leave it at the one placed last (faces sharing one are kept
// one picture by every operation). Pinned faces are not placed.
void writeResources(RomImage& image, ConstCatalogue records, const Layout& layout) {
    for (const int32_t i : layout.placementOrder) {
        const ResourceEntry& e = records[static_cast<size_t>(i)];
        const int32_t at = layout.recordAt[static_cast<size_t>(i)];
        put(image, at, e.packed);
        writeLongPointer(image, pointerTableOf(e.id) + 3 * e.tableIndex, at);
    }
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
        Problem p = problem(ProblemCode::BlockPointerOutside, static_cast<size_t>(block.pointer));
        const uint8_t* held = image.at(block.pointer);
        p.bytes.assign(held, held + 3);
        return p;
    }
    return {};
}

SavePlan planSave(const Catalogues& catalogues) {
    SavePlan plan;
    plan.namesFit = planNames(catalogues.names, plan.nameAt);
    std::vector<int32_t> order;
    plan.recordsFit = planResources(catalogues.resources, plan.recordAt, order);
    return plan;
}

std::span<const RomRange> nameRegions() { return kNameRegionTable; }

std::vector<RomRange> fixedSaveBytes() {
    std::vector<RomRange> bytes = {{kRomSizeByteAt, kRomSizeByteAt + 1},
                                   {kPatchedCodeAt, kPatchedCodeAt + static_cast<int32_t>(kPatchedCode.size())},
                                   {kPatchedBankAt, kPatchedBankAt + 1}};
    for (const RelocatedBlock& block : kRelocatedBlockTable) bytes.push_back({block.pointer, block.pointer + 3});
    return bytes;
}

Status layOutImage(RomImage& image, Document& state) {
    // Everything is planned first, so that a layout that does not fit leaves
    // the image untouched and the save can work on the image itself.
    Layout layout;
    if (Status s = checkRelocatedBlocks(image); !s) {
        // Loaded images have them inside, so something since (an IPS piece)
        // wrote the pointer: the image cannot be written, space is not short.
        s.problem().writing = true;
        return s;
    }
    const std::vector<PinnedFaceEdit> pinned = state.catalogues.resources.size() == kResourceCount
                                                   ? editedPinnedFaces(image, state.catalogues.faces())
                                                   : std::vector<PinnedFaceEdit>{};
    for (const PinnedFaceEdit& edit : pinned)
        if (!edit.fits()) return pinnedFaceTooLong(edit);
    if (!colourSetsFit(state.catalogues.colourSets) ||
        !planNames(state.catalogues.names, layout.nameAt) || !planResources(state.catalogues.resources, layout.recordAt, layout.placementOrder))
        return problem(ProblemCode::NoRoom);
    if (state.glyphSheetLoaded) writeGlyphs(image, state.glyphSheet);
    (void)moveRelocatedBlocks(image);  // checked above
    writeFixedBytes(image);
    writeColourSets(image, state.catalogues.colourSets);
    writeNames(image, state.catalogues.names, layout.nameAt);
    writeResources(image, state.catalogues.resources, layout);
    // In place, its pointer as it is; the room's bytes past it stay.
    for (const PinnedFaceEdit& edit : pinned) put(image, edit.at, state.catalogues.faces()[static_cast<size_t>(edit.face)].packed);
    return {};
}

}  // namespace velk
