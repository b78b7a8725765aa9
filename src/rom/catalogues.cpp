#include "rom/catalogues.h"

#include "pack/lz_formats.h"
#include "text/decode.h"

namespace velk {
namespace {

ResourceEntry newEntry(int32_t romOffset, int32_t id, int32_t tableIndex) {
    ResourceEntry e;
    e.romOffset = romOffset;
    e.id = id;
    e.tableIndex = tableIndex;
    return e;
}

bool buildNames(const RomImage& image, const CharTables& tables, std::vector<ResourceEntry>& names) {
    names.reserve(kNameCount);
    for (int32_t i = 0; i < kNameCount; ++i) {
        ResourceEntry e = newEntry(readShortPointer(image, kNamePointerTable + 2 * i, kNamePointerBase),
                                   kFirstNameId + i, i);
        if (!decodeName(image, e, tables)) return false;
        names.push_back(std::move(e));
    }
    return true;
}

// Appends `count` records found through a LongPointer table and unpacked with `profile`.
bool buildPacked(const RomImage& image, int count, int32_t firstId, const PackProfile& profile,
                 int32_t (*tableIndexOf)(const RomImage&, int32_t), int32_t pointerTable,
                 std::vector<ResourceEntry>& out) {
    for (int32_t i = 0; i < count; ++i) {
        const int32_t k = tableIndexOf(image, i);
        ResourceEntry e = newEntry(readLongPointer(image, pointerTable + 3 * k), firstId + i, k);
        if (!isInsideImage(e.romOffset) || !unpackWithProfile(image, e, profile)) return false;
        out.push_back(std::move(e));
    }
    return true;
}

int32_t ownIndex(const RomImage&, int32_t i) { return i; }
int32_t faceIndex(const RomImage& image, int32_t i) { return image[kFaceIndexTable + 4 * i]; }

bool buildFaceParts(const RomImage& image, std::vector<ResourceEntry>& parts) {
    parts.reserve(kFacePartCount);
    const bool relocated = facePartLayout(image) == FacePartLayout::Relocated;
    for (int32_t i = 0; i < kFacePartCount; ++i) {
        ResourceEntry e;
        if (relocated) {
            e = newEntry(readShortPointer(image, kFacePartRelocatedPointerTable + 2 * i, kFacePartRelocatedBase), i, i);
        } else {
            const int32_t j = image[kFacePartIndexTable + i];
            e = newEntry(readShortPointer(image, kFacePartIndexedPointerTable + 2 * j, kFacePartIndexedBase), i, j);
        }
        if (!unpackWithProfile(image, e, kFacePartProfile)) return false;
        parts.push_back(std::move(e));
    }
    return true;
}

}  // namespace

FacePartLayout facePartLayout(const RomImage& image) {
    return image[kRelocationMarker] == 0x42 && image[kRelocationMarker + 1] == 0x42 ? FacePartLayout::Relocated
                                                                                    : FacePartLayout::Indexed;
}

std::optional<Catalogues> buildCatalogues(const RomImage& image, const CharTables& tables) {
    Catalogues c;
    c.resources.reserve(kResourceCount);
    if (!buildNames(image, tables, c.names) ||
        !buildPacked(image, kFaceCount, 0, kFaceProfile, faceIndex, kFacePointerTable, c.resources) ||
        !buildPacked(image, kUnitGraphicCount, kFirstUnitGraphicId, kUnitGraphicProfile, ownIndex,
                     kUnitGraphicPointerTable, c.resources) ||
        !buildPacked(image, kTextCount, kFirstTextId, kTextProfile, ownIndex, kTextPointerTable, c.resources) ||
        !buildFaceParts(image, c.faceParts))
        return std::nullopt;
    return c;
}

}  // namespace velk
