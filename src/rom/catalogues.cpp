#include "rom/catalogues.h"

#include <cstdio>

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

Status buildNames(const RomImage& image, const CharTables& tables, std::vector<ResourceEntry>& names) {
    names.reserve(kNameCount);
    for (int32_t i = 0; i < kNameCount; ++i) {
        ResourceEntry e = newEntry(readShortPointer(image, kNamePointerTable + 2 * i, kNamePointerBase),
                                   kFirstNameId + i, i);
        if (Status s = decodeName(image, e, tables); !s) return describe(std::move(s.problem()), "name", i, e.romOffset);
        names.push_back(std::move(e));
    }
    return {};
}

// Appends `count` records found through a LongPointer table and unpacked with `profile`.
Status buildPacked(const RomImage& image, const char* what, int count, int32_t firstId, const PackProfile& profile,
                   int32_t (*tableIndexOf)(const RomImage&, int32_t), int32_t pointerTable,
                   std::vector<ResourceEntry>& out) {
    for (int32_t i = 0; i < count; ++i) {
        const int32_t k = tableIndexOf(image, i);
        ResourceEntry e = newEntry(readLongPointer(image, pointerTable + 3 * k), firstId + i, k);
        if (Status s = unpackEntry(image, e, profile); !s) return describe(std::move(s.problem()), what, i, e.romOffset);
        out.push_back(std::move(e));
    }
    return {};
}

int32_t ownIndex(const RomImage&, int32_t i) { return i; }
int32_t faceIndex(const RomImage& image, int32_t i) { return image[kFaceIndexTable + 4 * i]; }

Status buildColourSets(const RomImage& image, std::vector<ResourceEntry>& parts) {
    parts.reserve(kColourSetCount);
    const bool relocated = colourSetLayout(image) == ColourSetLayout::Relocated;
    for (int32_t i = 0; i < kColourSetCount; ++i) {
        ResourceEntry e;
        if (relocated) {
            e = newEntry(readShortPointer(image, kColourSetRelocatedPointerTable + 2 * i, kColourSetRelocatedBase), i, i);
        } else {
            const int32_t j = image[kColourSetIndexTable + i];
            e = newEntry(readShortPointer(image, kColourSetIndexedPointerTable + 2 * j, kColourSetIndexedBase), i, j);
        }
        if (Status s = unpackEntry(image, e, kColourSetProfile); !s)
            return describe(std::move(s.problem()), "colour set", i, e.romOffset);
        parts.push_back(std::move(e));
    }
    return {};
}

}  // namespace

ColourSetLayout colourSetLayout(const RomImage& image) {
    return image[kRelocationMarker] == 0x42 && image[kRelocationMarker + 1] == 0x42 ? ColourSetLayout::Relocated
                                                                                    : ColourSetLayout::Indexed;
}

Result<Catalogues> buildCatalogues(const RomImage& image, const CharTables& tables) {
    Catalogues c;
    c.resources.reserve(kResourceCount);
    Status s = buildNames(image, tables, c.names);
    if (s) s = buildPacked(image, "face", kFaceCount, 0, kFaceProfile, faceIndex, kFacePointerTable, c.resources);
    if (s)
        s = buildPacked(image, "unit graphic", kUnitGraphicCount, kFirstUnitGraphicId, kUnitGraphicProfile, ownIndex,
                        kUnitGraphicPointerTable, c.resources);
    if (s) s = buildPacked(image, "text", kTextCount, kFirstTextId, kTextProfile, ownIndex, kTextPointerTable, c.resources);
    if (s) s = buildColourSets(image, c.colourSets);
    if (!s) return std::move(s.problem());
    return c;
}

}  // namespace velk
