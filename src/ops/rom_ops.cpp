#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "rom/save_layout.h"

namespace velk {
namespace {

// Shows the open dialog and loads the choice. Cancel gives nothing; a file
// that does not load is reported and gives nothing with `failed` set.
std::optional<LoadedRom> askAndLoad(const EditorState& state, Platform& platform, bool& failed) {
    failed = false;
    const std::optional<ChosenFile> file = platform.openFileDialog(romOpenDialogOptions());
    if (!file) return std::nullopt;
    std::optional<LoadedRom> rom = loadRomFile(platform, *file, state.tables);
    failed = !rom;
    return rom;
}

}  // namespace

std::optional<LoadedRom> loadRomFile(Platform& platform, const ChosenFile& file, const CharTables& tables) {
    std::optional<std::vector<uint8_t>> bytes = readChosenFile(platform, file, kRomSize);
    if (!bytes) return std::nullopt;
    Result<LoadedRom> rom = loadRom(*bytes, tables);
    if (!rom) {
        Problem p = std::move(rom.problem());
        p.text = file.name;
        showProblem(platform, p);
        return std::nullopt;
    }
    return std::move(*rom);
}

bool openRomAtStart(EditorState& state, Platform& platform) {
    state.tables = builtInCharTables();
    for (;;) {
        bool failed = false;
        std::optional<LoadedRom> rom = askAndLoad(state, platform, failed);
        if (rom) {
            installRom(state, std::move(*rom));
            return true;
        }
        if (!failed) return false;
    }
}

void reloadRom(EditorState& state, Platform& platform) {
    bool failed = false;
    std::optional<LoadedRom> rom = askAndLoad(state, platform, failed);
    if (rom) installRom(state, std::move(*rom));
}

void saveRom(EditorState& state, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(romSaveDialogOptions());
    if (!file) return;
    RomImage image = state.image;
    if (Status s = layOutImage(image, state); !s) {
        showProblem(platform, s.problem());
        return;
    }
    state.image = std::move(image);
    writeChosenFile(platform, *file, state.image.bytes);
}

}  // namespace velk
