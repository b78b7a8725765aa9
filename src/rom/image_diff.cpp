#include "rom/image_diff.h"

#include <algorithm>

#include "rom/save_layout.h"

namespace velk {
namespace {

constexpr int kGlyphCount = 256;
constexpr int kFaceSlotCount = 256;  // an index byte names any of them
constexpr int32_t kGlyphRecordBytes = 36;
constexpr int32_t kRelocatedBlockBytes = 1638 + 1624 + 1617;

// Names compare by their code, records by their unpacked bytes.
template <typename Entry, typename Field>
KindDiff entriesDiffer(std::string kind, std::span<const Entry> a, std::span<const Entry> b, Field field) {
    KindDiff d{std::move(kind), {}};
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i].*field != b[i].*field) d.entries.push_back(static_cast<int64_t>(i));
    return d;
}

KindDiff entriesDiffer(std::string kind, ConstCatalogue a, ConstCatalogue b) {
    return entriesDiffer(std::move(kind), a, b, &ResourceEntry::unpacked);
}

std::vector<uint8_t> glyphRecord(const RomImage& image, int k) {
    const int32_t at = readLongPointer(image, kGlyphPointerTable + 3 * k);
    if (at < 0 || at + kGlyphRecordBytes > kRomSize) return {};
    return std::vector<uint8_t>(image.at(at), image.at(at) + kGlyphRecordBytes);
}

// Every byte a save may rewrite, but for the face pointer table: a save
// rewrites the slots the faces' index bytes name, which may be any of 256.
std::vector<bool> rewrittenBySave() {
    std::vector<bool> mask(kRomSize, false);
    auto mark = [&](int32_t from, int64_t n) {
        for (int64_t i = 0; i < n && from + i < kRomSize; ++i) mask[static_cast<size_t>(from + i)] = true;
    };
    for (const RomRange& r : kFreeRegionTable) mark(r.start, r.size());
    for (const RomRange& r : nameRegions()) mark(r.start, r.size());
    mark(kColourSetData, kColourSetDataEnd - kColourSetData);
    mark(kGlyphData, kGlyphCount * kGlyphRecordBytes);
    mark(kRelocatedBlocks, kRelocatedBlockBytes);
    mark(kRelocationMarker, 2);
    mark(kNamePointerTable, 2 * kNameCount);
    mark(kUnitGraphicPointerTable, 3 * kUnitGraphicCount);
    mark(kTextPointerTable, 3 * kTextCount);
    mark(kColourSetRelocatedPointerTable, 2 * kColourSetCount);
    mark(kGlyphPointerTable, 3 * kGlyphCount);
    mark(kChecksumComplementAt, 4);
    for (const RomRange& r : fixedSaveBytes()) mark(r.start, r.size());
    return mask;
}

}  // namespace

std::vector<KindDiff> diffImages(const Document& a, const Document& b) {
    const Catalogues& x = a.catalogues;
    const Catalogues& y = b.catalogues;
    std::vector<KindDiff> out;
    out.push_back(entriesDiffer<NameEntry>("names", x.names, y.names, &NameEntry::code));
    out.push_back(entriesDiffer("texts", x.texts(), y.texts()));
    out.push_back(entriesDiffer("faces", x.faces(), y.faces()));
    out.push_back(entriesDiffer("colour sets", x.colourSets, y.colourSets));
    out.push_back(entriesDiffer("unit graphics", x.unitGraphics(), y.unitGraphics()));
    KindDiff added{"added characters", {}};
    for (int k = 0; k < kGlyphCount; ++k)
        if (a.tables[kAddedCharTable][static_cast<size_t>(k)] != b.tables[kAddedCharTable][static_cast<size_t>(k)] ||
            glyphRecord(a.image, k) != glyphRecord(b.image, k))
            added.entries.push_back(k);
    out.push_back(std::move(added));
    KindDiff other{"other bytes", {}};
    static const std::vector<bool> rewritten = rewrittenBySave();
    std::vector<bool> faceSlot(kFaceSlotCount, false);
    for (const Catalogues* c : {&x, &y})
        for (const ResourceEntry& face : c->faces())
            if (face.tableIndex >= 0 && face.tableIndex < kFaceSlotCount) faceSlot[static_cast<size_t>(face.tableIndex)] = true;
    auto masked = [&](size_t i) {
        const auto slot = (static_cast<int64_t>(i) - kFacePointerTable) / 3;
        const bool usedSlot = static_cast<int64_t>(i) >= kFacePointerTable && slot < kFaceSlotCount &&
                              faceSlot[static_cast<size_t>(slot)];
        return usedSlot || rewritten[i];
    };
    for (size_t i = 0; i < a.image.bytes.size() && i < b.image.bytes.size(); ++i)
        if (a.image.bytes[i] != b.image.bytes[i] && !masked(i)) other.entries.push_back(static_cast<int64_t>(i));
    // A pinned face is saved in its room, and "faces" names it.
    std::vector<RomRange> rooms;
    for (const Document* s : {&a, &b})
        for (size_t f = kFirstPinnedFace; f < s->catalogues.faces().size(); ++f) {
            const ResourceEntry& e = s->catalogues.faces()[f];
            rooms.push_back({e.romOffset, e.romOffset + e.loadedLength});
        }
    std::erase_if(other.entries, [&](int64_t i) {
        return std::any_of(rooms.begin(), rooms.end(), [&](const RomRange& r) { return r.contains(static_cast<int32_t>(i)); });
    });
    out.push_back(std::move(other));
    return out;
}

}  // namespace velk
