// The five catalogues unpacked from the image, and the tables they come from.
#pragma once

#include <optional>
#include <vector>

#include "rom/resource_entry.h"
#include "rom/rom_image.h"
#include "text/char_tables.h"

namespace velk {

constexpr int kNameCount = 2510;
constexpr int kFaceCount = 157;
constexpr int kUnitGraphicCount = 5900;
constexpr int kTextCount = 5607;
constexpr int kFacePartCount = 1256;
constexpr int kFirstUnitGraphicId = kFaceCount;                          // 157
constexpr int kFirstTextId = kFirstUnitGraphicId + kUnitGraphicCount;    // 6057
constexpr int kResourceCount = kFirstTextId + kTextCount;                // 11664
constexpr int kFirstNameId = 1272;

// Where the game keeps its pointer and index tables.
constexpr int32_t kNamePointerTable = 0x640C7;
constexpr int32_t kNamePointerBase = 0x58000;
constexpr int32_t kFaceIndexTable = 0xECB3;  // one byte every 4
constexpr int32_t kFacePointerTable = 0x255987;
constexpr int32_t kUnitGraphicPointerTable = 0x1F8003;
constexpr int32_t kTextPointerTable = 0x118000;
constexpr int32_t kFacePartIndexTable = 0x225F2F;
constexpr int32_t kFacePartIndexedPointerTable = 0x218001;
constexpr int32_t kFacePartIndexedBase = 0x210000;
constexpr int32_t kRelocationMarker = 0x340000;  // "BB" once saved by the editor
constexpr int32_t kFacePartRelocatedPointerTable = 0x340002;
constexpr int32_t kFacePartRelocatedBase = 0x338000;

enum class FacePartLayout { Indexed, Relocated };

FacePartLayout facePartLayout(const RomImage& image);

struct Catalogues {
    // ResourceArray: faces, then unit graphics, then texts; id == position.
    std::vector<ResourceEntry> resources;
    std::vector<ResourceEntry> faceParts;
    std::vector<ResourceEntry> names;

    Catalog faces() { return Catalog(resources).subspan(0, kFaceCount); }
    Catalog unitGraphics() { return Catalog(resources).subspan(kFirstUnitGraphicId, kUnitGraphicCount); }
    Catalog texts() { return Catalog(resources).subspan(kFirstTextId, kTextCount); }
    ConstCatalog faces() const { return ConstCatalog(resources).subspan(0, kFaceCount); }
    ConstCatalog unitGraphics() const { return ConstCatalog(resources).subspan(kFirstUnitGraphicId, kUnitGraphicCount); }
    ConstCatalog texts() const { return ConstCatalog(resources).subspan(kFirstTextId, kTextCount); }
};

// Unpacks every resource of the image. Returns nothing when the image cannot
// be a game image: a pointer that leads outside it, a packed stream or a name
// that runs past its end, or an unpacked length beyond the working size.
// Never reads outside the image.
std::optional<Catalogues> buildCatalogues(const RomImage& image, const CharTables& tables);

}  // namespace velk
