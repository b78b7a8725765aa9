// Saving: every resource packed back into the image at new places, the
// pointer tables rewritten, and the whole 4 MiB written to a file.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "rom/editor_state.h"

namespace velk {

FileDialogOptions romSaveDialogOptions();

// Where the save puts what it moves.
constexpr int32_t kRelocatedBlocks = 0x320000;
constexpr int32_t kFacePartData = 0x3409D2;
constexpr int32_t kFacePartDataEnd = 0x348000;
constexpr int32_t kGlyphData = 0x348000;
constexpr int32_t kGlyphPointerTable = 0x11D6B5;
constexpr int kFirstPinnedFace = 127;  // faces 127-156 never move

// Whether the three blocks a save relocates lie inside the image.
bool relocatedBlocksInside(const RomImage& image);

// Lays every resource of `state` out in `image` (a copy of state.image):
// glyphs when loaded, the relocated blocks and fixed bytes, colour sets,
// names, then faces, unit graphics and texts, largest first, into the free
// regions. Sets `placed` on the records. False when something does not fit;
// `image` is then only partly laid out.
bool layOutImage(RomImage& image, EditorState& state);

// Asks for a file, lays the image out and writes it. Reports "容量が足りません"
// (nothing written, the image in memory as it was) when the resources do not
// fit, and "%sに書き込めませんでした" when the file cannot be written; a file
// that existed is then left as it was.
void saveRom(EditorState& state, Platform& platform);

}  // namespace velk
