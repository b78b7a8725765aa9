// Turning a ROM file's bytes into the editor's image and catalogues.
#pragma once

#include <cstdint>
#include <span>

#include "image/result.h"
#include "rom/editor_state.h"

namespace velk {

struct LoadedRom {
    RomImage image;
    Catalogues catalogues;
};

// Makes a fresh image from the file's bytes (a shorter file leaves the rest
// zero; only the first 4 MiB count) and builds its catalogues with the tables
// given, the added characters' table blank. A problem (CannotRead, with the
// reason; the caller names the file) if it is not an image of the game,
// including the three blocks a save relocates lying outside it.
Result<LoadedRom> loadRom(std::span<const uint8_t> file, const CharTables& tables);

// Makes a loaded ROM the editor's: image and catalogues replaced, the added
// characters' table blank again and loaded glyphs forgotten.
void installRom(EditorState& state, LoadedRom&& rom);

}  // namespace velk
