#include "rom/catalogues.h"

#include <algorithm>
#include <cstdio>

#include "image/parallel.h"

#include "pack/pack_profiles.h"
#include "text/decode.h"

namespace velk {
namespace {

std::string hex6(int64_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06llX", static_cast<unsigned long long>(v));
    return buf;
}

// Names what failed: "text 12 at 0x123456: <reason>".
Problem describe(Problem p, const char* what, int index, int32_t at) {
    p.reason = std::string(what) + " " + std::to_string(index) + " (pointer to " + hex6(at) + "): " + p.reason;
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
    }
    static constexpr size_t kCount = kNameCount + kResourceCount + kColourSetCount;

    Status fill(size_t g) {
        const auto i = static_cast<int32_t>(g);
        if (i < kNameCount) {
            ResourceEntry& e = c_.names[g];
            e = newEntry(readShortPointer(image_, kNamePointerTable + 2 * i, kNamePointerBase), kFirstNameId + i, i);
            return decodeName(image_, e, tables_);
        }
        const int32_t r = i - kNameCount;
        if (r < kResourceCount) {
            ResourceEntry& e = c_.resources[static_cast<size_t>(r)];
            if (r < kFirstUnitGraphicId) {
                const int32_t k = faceIndex(image_, r);
                e = newEntry(readLongPointer(image_, kFacePointerTable + 3 * k), r, k);
                return unpackEntry(image_, e, kFaceProfile);
            }
            const bool unit = r < kFirstTextId;
            const int32_t k = r - (unit ? kFirstUnitGraphicId : kFirstTextId);
            e = newEntry(readLongPointer(image_, (unit ? kUnitGraphicPointerTable : kTextPointerTable) + 3 * k), r, k);
            return unpackEntry(image_, e, unit ? kUnitGraphicProfile : kTextProfile);
        }
        const int32_t s = r - kResourceCount;
        ResourceEntry& e = c_.colourSets[static_cast<size_t>(s)];
        if (relocated_) {
            e = newEntry(readShortPointer(image_, kColourSetRelocatedPointerTable + 2 * s, kColourSetRelocatedBase), s, s);
        } else {
            const int32_t j = image_[kColourSetIndexTable + s];
            e = newEntry(readShortPointer(image_, kColourSetIndexedPointerTable + 2 * j, kColourSetIndexedBase), s, j);
        }
        return unpackEntry(image_, e, kColourSetProfile);
    }

    // The problem of record g, naming it.
    Problem describeFailure(size_t g) {
        Status s = fill(g);
        auto i = static_cast<int32_t>(g);
        if (i < kNameCount) return describe(std::move(s.problem()), "name", i, c_.names[g].romOffset);
        i -= kNameCount;
        if (i < kResourceCount) {
            const ResourceEntry& e = c_.resources[static_cast<size_t>(i)];
            if (i < kFirstUnitGraphicId) return describe(std::move(s.problem()), "face", i, e.romOffset);
            if (i < kFirstTextId)
                return describe(std::move(s.problem()), "unit graphic", i - kFirstUnitGraphicId, e.romOffset);
            return describe(std::move(s.problem()), "text", i - kFirstTextId, e.romOffset);
        }
        i -= kResourceCount;
        return describe(std::move(s.problem()), "colour set", i, c_.colourSets[static_cast<size_t>(i)].romOffset);
    }

private:
    const RomImage& image_;
    const CharTables& tables_;
    Catalogues& c_;
    bool relocated_;
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
    return c;
}

}  // namespace velk
