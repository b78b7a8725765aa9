#include "rom/rom_file.h"

#include <algorithm>

#include "platform/messages.h"
#include "rom/save.h"
#include "text/sjis.h"

namespace velk {
namespace {

void install(EditorState& state, LoadedRom&& rom) {
    state.image = std::move(rom.image);
    state.catalogues = std::move(rom.catalogues);
    state.tables[kAddedCharTable] = blankCharTable();
    state.glyphSheetLoaded = false;
}

// Shows the open dialog and loads the choice. Cancel gives nothing; a file
// that does not load is reported and gives nothing with `failed` set.
std::optional<LoadedRom> askAndLoad(const EditorState& state, Platform& platform, bool& failed) {
    failed = false;
    const std::optional<ChosenFile> file = platform.openFileDialog(romOpenDialogOptions());
    if (!file) return std::nullopt;
    std::optional<LoadedRom> rom = loadRom(platform, file->path, state.tables);
    if (!rom) {
        platform.messageBox(cannotReadMessage(file->name));
        failed = true;
    }
    return rom;
}

}  // namespace

FileDialogOptions romOpenDialogOptions() {
    static const FileDialogOptions options{"smc", "*.smc", toCp932("ソルヴァーン　ROM(*.smc)|*.smc|全て(*.*)|*.*||")};
    return options;
}

std::optional<LoadedRom> loadRom(Platform& platform, const std::filesystem::path& path, const CharTables& tables) {
    std::optional<std::vector<uint8_t>> bytes = platform.readFile(path, kRomSize);
    if (!bytes) return std::nullopt;
    LoadedRom rom;
    std::copy(bytes->begin(), bytes->end(), rom.image.bytes.begin());
    if (!relocatedBlocksInside(rom.image)) return std::nullopt;  // a save could not move them
    CharTables withBlankAdded = tables;
    withBlankAdded[kAddedCharTable] = blankCharTable();
    std::optional<Catalogues> catalogues = buildCatalogues(rom.image, withBlankAdded);
    if (!catalogues) return std::nullopt;
    rom.catalogues = std::move(*catalogues);
    return rom;
}

bool openRomAtStart(EditorState& state, Platform& platform) {
    state.tables = builtInCharTables();
    for (;;) {
        bool failed = false;
        std::optional<LoadedRom> rom = askAndLoad(state, platform, failed);
        if (rom) {
            install(state, std::move(*rom));
            return true;
        }
        if (!failed) return false;
    }
}

void reloadRom(EditorState& state, Platform& platform) {
    bool failed = false;
    std::optional<LoadedRom> rom = askAndLoad(state, platform, failed);
    if (rom) install(state, std::move(*rom));
}

}  // namespace velk
