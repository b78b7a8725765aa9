// Reading the ROM file: at start-up and on reload.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/platform.h"
#include "rom/editor_state.h"

namespace velk {

// The ROM dialogs' options.
FileDialogOptions romOpenDialogOptions();

// Reads a ROM file into a fresh image (a shorter file leaves the rest zero,
// a longer one gives its first 4 MiB) and builds its catalogues with the
// current character tables, with the added characters' table blank. Nothing
// if the file cannot be read or is not an image of the game (including the
// three blocks a save relocates lying outside it).
struct LoadedRom {
    RomImage image;
    Catalogues catalogues;
};
std::optional<LoadedRom> loadRom(Platform& platform, const std::filesystem::path& path, const CharTables& tables);

// Asks for the ROM until one loads: false if the user cancels (the program
// then ends). A file that does not load is reported and asked for again.
bool openRomAtStart(EditorState& state, Platform& platform);

// Asks for a ROM and, if it loads, replaces the image and every catalogue,
// restores the added characters' table and forgets loaded glyphs. Cancel or
// a file that does not load (reported) leave everything as it was.
void reloadRom(EditorState& state, Platform& platform);

}  // namespace velk
