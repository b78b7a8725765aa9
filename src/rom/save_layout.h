// The save's layout: every resource packed back into the image at new
// places and the pointer tables rewritten.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/result.h"
#include "rom/document.h"
#include "rom/face_rules.h"
#include "rom/free_regions.h"

namespace velk {

// Where the save puts what it moves.
constexpr int32_t kRelocatedBlocks = 0x320000;
constexpr int32_t kColourSetData = 0x3409D2;
constexpr int32_t kColourSetDataEnd = 0x348000;
constexpr int32_t kGlyphData = 0x348000;
constexpr int32_t kGlyphPointerTable = 0x11D6B5;

// Whether the three blocks a save relocates lie inside the image; a problem
// naming the pointer that leads outside if not.
Status checkRelocatedBlocks(const RomImage& image);

// Lays every resource of `state` out in `image` (a copy of state.image):
// glyphs when loaded, the relocated blocks and fixed bytes, colour sets,
// names, then faces, unit graphics and texts, largest first, into the free
// regions; an edited pinned face in its own room (editedPinnedFaces).
// CannotWrite (with the pointer in its reason) when a relocated block's
// pointer leads outside the image; NoRoom when something does not fit (a
// pinned face longer than its room named, with both lengths);
// everything is planned before anything is written, so `image` is then
// untouched and may be the editor's own image.
Status layOutImage(RomImage& image, Document& state);

// Where a save would put each name and each record of the resource array
// (-1: a pinned face, or a record that found no room), planned as
// layOutImage plans them; `fits` is false when something found no room.
struct SavePlan {
    std::vector<int32_t> nameAt;
    std::vector<int32_t> recordAt;
    bool namesFit = false;
    bool recordsFit = false;
};
SavePlan planSave(const Catalogues& catalogues);
// The two stretches names are placed in, region 0 first.
std::span<const RomRange> nameRegions();
// The few bytes every save sets whatever the edits: the ROM size byte, the
// code patch, the moved blocks' pointers.
std::vector<RomRange> fixedSaveBytes();

// The cartridge checksum, written last: 0x7FDC-0x7FDF set to FF FF 00 00,
// then the sum of all bytes (mod 0x10000) little-endian at 0x7FDE and its
// complement at 0x7FDC.
constexpr int32_t kChecksumComplementAt = 0x7FDC;
constexpr int32_t kChecksumAt = 0x7FDE;
void writeChecksum(RomImage& image);

// The ROM file a save writes: the copier header the file had, then the image.
std::vector<uint8_t> romFileBytes(std::span<const uint8_t> copierHeader, const RomImage& image);

}  // namespace velk
