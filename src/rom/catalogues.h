// The five catalogues unpacked from the image, and the tables they come from.
#pragma once

#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"
#include "image/rom_image.h"
#include "text/char_tables.h"
#include "text/name_entry.h"

namespace velk {

constexpr int kNameCount = 2510;
constexpr int kFaceCount = 157;
constexpr int kUnitGraphicCount = 5900;
constexpr int kTextCount = 5607;
constexpr int kColourSetCount = 1256;
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
constexpr int32_t kColourSetIndexTable = 0x225F2F;
constexpr int32_t kColourSetIndexedPointerTable = 0x218001;
constexpr int32_t kColourSetIndexedBase = 0x210000;
constexpr int32_t kRelocationMarker = 0x340000;  // "BB" once saved by the editor
constexpr int32_t kColourSetRelocatedPointerTable = 0x340002;
constexpr int32_t kColourSetRelocatedBase = 0x338000;

enum class ColourSetLayout { Indexed, Relocated };

ColourSetLayout colourSetLayout(const RomImage& image);

struct Catalogues {
    // ResourceArray: faces, then unit graphics, then texts; id == position.
    std::vector<ResourceEntry> resources;
    std::vector<ResourceEntry> colourSets;
    std::vector<NameEntry> names;

    Catalogue faces() { return Catalogue(resources).subspan(0, kFaceCount); }
    Catalogue unitGraphics() { return Catalogue(resources).subspan(kFirstUnitGraphicId, kUnitGraphicCount); }
    Catalogue texts() { return Catalogue(resources).subspan(kFirstTextId, kTextCount); }
    ConstCatalogue faces() const { return ConstCatalogue(resources).subspan(0, kFaceCount); }
    ConstCatalogue unitGraphics() const { return ConstCatalogue(resources).subspan(kFirstUnitGraphicId, kUnitGraphicCount); }
    ConstCatalogue texts() const { return ConstCatalogue(resources).subspan(kFirstTextId, kTextCount); }
};

// Unpacks every resource of the image. A problem, saying which record and
// why, when the image cannot be a game image: a pointer that leads outside
// it, a packed stream or a name that runs past its end, or an unpacked length
// beyond the working size. Never reads outside the image.
Result<Catalogues> buildCatalogues(const RomImage& image, const CharTables& tables);

}  // namespace velk
