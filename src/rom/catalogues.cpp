#include "rom/catalogues.h"

#include <algorithm>

#include "image/parallel.h"

#include "pack/pack_profiles.h"
#include "text/decode.h"

namespace velk {
namespace {

// Names what failed: "text 12 (pointer to 0x123456): <reason>". A pointer
// that leads outside the image is the trouble itself: the problem stands
// where the pointer does.
Problem describe(Problem p, Record what, int index, int32_t at, int32_t pointerAt) {
    p.record = what;
    p.entry = index;
    p.pointsTo = at;
    if (!isInsideImage(at)) p.offset = static_cast<size_t>(pointerAt);
    return p;
}

ResourceEntry newEntry(int32_t romOffset, int32_t id, int32_t tableIndex) {
    ResourceEntry e;
    e.romOffset = romOffset;
    e.id = id;
    e.tableIndex = tableIndex;
    return e;
}

int32_t faceIndex(const RomImage& image, int32_t i) { return image[kFaceIndexTable + 4 * i]; }

// Every record of every catalogue, numbered in catalogue order: names, faces,
// unit graphics, texts, colour sets. Each fills only its own record, so they
// can be filled on every core at once.
class RecordBuilder {
public:
    RecordBuilder(const RomImage& image, const CharTables& tables, Catalogues& c)
        : image_(image), tables_(tables), c_(c), relocated_(colourSetLayout(image) == ColourSetLayout::Relocated) {
        c.names.resize(kNameCount);
        c.resources.resize(kResourceCount);
        c.colourSets.resize(kColourSetCount);
        pointerAt_.resize(kCount);
    }
    static constexpr size_t kCount = kNameCount + kResourceCount + kColourSetCount;

    Status fill(size_t g) {
        const auto i = static_cast<int32_t>(g);
        if (i < kNameCount) {
            NameEntry& e = c_.names[g];
            pointerAt_[g] = kNamePointerTable + 2 * i;
            e = NameEntry{{}, {}, readShortPointer(image_, pointerAt_[g], kNamePointerBase)};
            return decodeName(image_, e, tables_);
        }
        const int32_t r = i - kNameCount;
        if (r < kResourceCount) {
            ResourceEntry& e = c_.resources[static_cast<size_t>(r)];
            if (r < kFirstUnitGraphicId) {
                const int32_t k = faceIndex(image_, r);
                pointerAt_[g] = kFacePointerTable + 3 * k;
                e = newEntry(readLongPointer(image_, pointerAt_[g]), r, k);
                return unpackEntry(image_, e, kFaceProfile);
            }
            const bool unit = r < kFirstTextId;
            const int32_t k = r - (unit ? kFirstUnitGraphicId : kFirstTextId);
            pointerAt_[g] = (unit ? kUnitGraphicPointerTable : kTextPointerTable) + 3 * k;
            e = newEntry(readLongPointer(image_, pointerAt_[g]), r, k);
            return unpackEntry(image_, e, unit ? kUnitGraphicProfile : kTextProfile);
        }
        const int32_t s = r - kResourceCount;
        ResourceEntry& e = c_.colourSets[static_cast<size_t>(s)];
        if (relocated_) {
            pointerAt_[g] = kColourSetRelocatedPointerTable + 2 * s;
            e = newEntry(readShortPointer(image_, pointerAt_[g], kColourSetRelocatedBase), s, s);
        } else {
            const int32_t j = image_[kColourSetIndexTable + s];
            pointerAt_[g] = kColourSetIndexedPointerTable + 2 * j;
            e = newEntry(readShortPointer(image_, pointerAt_[g], kColourSetIndexedBase), s, j);
        }
        return unpackEntry(image_, e, kColourSetProfile);
    }

    // The problem of record g, naming it.
    Problem describeFailure(size_t g) {
        Status s = fill(g);
        auto i = static_cast<int32_t>(g);
        const int32_t p = pointerAt_[g];
        if (i < kNameCount) return describe(std::move(s.problem()), Record::Name, i, c_.names[g].romOffset, p);
        i -= kNameCount;
        if (i < kResourceCount) {
            const ResourceEntry& e = c_.resources[static_cast<size_t>(i)];
            if (i < kFirstUnitGraphicId) return describe(std::move(s.problem()), Record::Face, i, e.romOffset, p);
            if (i < kFirstTextId)
                return describe(std::move(s.problem()), Record::UnitGraphic, i - kFirstUnitGraphicId, e.romOffset, p);
            return describe(std::move(s.problem()), Record::Text, i - kFirstTextId, e.romOffset, p);
        }
        i -= kResourceCount;
        return describe(std::move(s.problem()), Record::ColourSet, i, c_.colourSets[static_cast<size_t>(i)].romOffset, p);
    }

private:
    const RomImage& image_;
    const CharTables& tables_;
    Catalogues& c_;
    bool relocated_;
    std::vector<int32_t> pointerAt_;  // where each record's pointer stands
};

}  // namespace

ColourSetLayout colourSetLayout(const RomImage& image) {
    return image[kRelocationMarker] == 0x42 && image[kRelocationMarker + 1] == 0x42 ? ColourSetLayout::Relocated
                                                                                    : ColourSetLayout::Indexed;
}

Result<Catalogues> buildCatalogues(const RomImage& image, const CharTables& tables) {
    Catalogues c;
    RecordBuilder builder(image, tables, c);
    std::vector<uint8_t> failed(RecordBuilder::kCount, 0);
    parallelFor(RecordBuilder::kCount, [&](size_t g) { failed[g] = builder.fill(g) ? 0 : 1; }, 128);
    const auto bad = std::find(failed.begin(), failed.end(), 1);
    if (bad != failed.end()) return builder.describeFailure(static_cast<size_t>(bad - failed.begin()));
    for (ResourceEntry& e : c.resources) e.loadedLength = static_cast<int32_t>(e.packed.size());
    for (ResourceEntry& e : c.colourSets) e.loadedLength = static_cast<int32_t>(e.packed.size());
    return c;
}

}  // namespace velk
