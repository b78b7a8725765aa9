#include <algorithm>
#include <cctype>

#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "patch/bps.h"
#include "patch/ips.h"
#include "rom/save_layout.h"
#include "text/sjis.h"

namespace velk {
namespace {

// Shows the open dialog and loads the choice. Cancel gives nothing; a file
// that does not load is reported and gives nothing with `failed` set.
std::optional<LoadedRom> askAndLoad(const EditorState& state, Platform& platform, bool& failed,
                                    std::vector<uint8_t>& file, std::filesystem::path& path) {
    failed = false;
    const std::optional<ChosenFile> chosen = platform.openFileDialog(romOpenDialogOptions());
    if (!chosen) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes = readChosenFile(platform, *chosen, kRomSize + kCopierHeaderSize + 1);
    if (!bytes) {
        failed = true;
        return std::nullopt;
    }
    Result<LoadedRom> rom = loadRom(*bytes, state.tables);
    if (!rom) {
        Problem p = std::move(rom.problem());
        p.text = chosen->name;
        p.textUtf8 = chosen->displayName();
        showProblem(platform, p);
        failed = true;
        return std::nullopt;
    }
    file = std::move(*bytes);
    path = chosen->path;
    return std::move(*rom);
}

void install(EditorState& state, LoadedRom&& rom, std::vector<uint8_t>&& file, std::filesystem::path&& path) {
    installRom(state, std::move(rom));
    state.loadedFile = std::move(file);
    state.loadedPath = std::move(path);
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return !b.empty() && std::filesystem::equivalent(a, b, ec);
}

// Keeps the file the ROM was loaded from as NAME.bak before the first save
// that replaces it in this run. False (reported) when the copy cannot be made.
bool backUpBeforeReplacing(EditorState& state, Platform& platform, const ChosenFile& target) {
    if (!sameFile(target.path, state.loadedPath)) return true;
    for (const std::filesystem::path& done : state.backedUp)
        if (sameFile(target.path, done)) return true;
    const ChosenFile backup = sideFile(target, target.path.extension().string() + ".bak");
    Result<std::vector<uint8_t>> current = platform.readFile(target.path);
    Status s = current ? platform.writeFile(backup.path, *current) : Status(std::move(current.problem()));
    if (!s) {
        Problem p = std::move(s.problem());
        p.id = MessageId::CannotWrite;
        p.text = backup.name;
        p.textUtf8 = backup.displayName();
        showProblem(platform, p);
        return false;
    }
    state.backedUp.push_back(target.path);
    return true;
}

}  // namespace

std::optional<LoadedRom> loadRomFile(Platform& platform, const ChosenFile& file, const CharTables& tables) {
    std::optional<std::vector<uint8_t>> bytes = readChosenFile(platform, file, kRomSize + kCopierHeaderSize + 1);
    if (!bytes) return std::nullopt;
    Result<LoadedRom> rom = loadRom(*bytes, tables);
    if (!rom) {
        Problem p = std::move(rom.problem());
        p.text = file.name;
        p.textUtf8 = file.displayName();
        showProblem(platform, p);
        return std::nullopt;
    }
    return std::move(*rom);
}

bool openRomAtStart(EditorState& state, Platform& platform) {
    state.tables = builtInCharTables();
    for (;;) {
        bool failed = false;
        std::vector<uint8_t> file;
        std::filesystem::path path;
        std::optional<LoadedRom> rom = askAndLoad(state, platform, failed, file, path);
        if (rom) {
            install(state, std::move(*rom), std::move(file), std::move(path));
            return true;
        }
        if (!failed) return false;
    }
}

void reloadRom(EditorState& state, Platform& platform) {
    bool failed = false;
    std::vector<uint8_t> file;
    std::filesystem::path path;
    std::optional<LoadedRom> rom = askAndLoad(state, platform, failed, file, path);
    if (rom) install(state, std::move(*rom), std::move(file), std::move(path));
}

PatchKind patchKindOf(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".ips") return PatchKind::Ips;
    if (ext == ".bps") return PatchKind::Bps;
    return PatchKind::None;
}

bool saveRom(EditorState& state, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(romSaveDialogOptions());
    if (!file) return false;
    RomImage image = state.image;
    if (Status s = layOutImage(image, state); !s) {
        showProblem(platform, s.problem());
        return false;
    }
    if (!state.keepChecksum) writeChecksum(image);
    const PatchKind kind = patchKindOf(file->path);
    if (kind == PatchKind::None && !backUpBeforeReplacing(state, platform, *file)) return false;
    state.image = std::move(image);
    std::vector<uint8_t> bytes = romFileBytes(state.copierHeader, state.image);
    if (kind == PatchKind::Ips) bytes = makeIps(state.loadedFile, bytes);
    if (kind == PatchKind::Bps) bytes = makeBps(state.loadedFile, bytes);
    if (!writeChosenFile(platform, *file, bytes)) return false;
    state.unsavedEdits = false;
    return true;
}

bool confirmClose(EditorState& state, Platform& platform) {
    if (!state.unsavedEdits) return true;
    switch (platform.askToSaveChanges(toCp932("変更を保存しますか？"))) {
        case Platform::SaveChoice::Save: return saveRom(state, platform);
        case Platform::SaveChoice::Discard: return true;
        case Platform::SaveChoice::Cancel: return false;
    }
    return false;
}

}  // namespace velk
