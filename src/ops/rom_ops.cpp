#include <algorithm>
#include <cctype>

#include <sys/stat.h>

#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "ops/output_checks.h"
#include "patch/bps.h"
#include "patch/ips.h"
#include "rom/save_layout.h"
#include "text/sjis.h"

namespace velk {
namespace {

// Shows the open dialog and loads the choice. Cancel gives nothing; a file
// that does not load is reported and gives nothing with `failed` set.
std::optional<LoadedRom> askAndLoad(const EditorState& state, Platform& platform, bool& failed,
                                    std::filesystem::path& path) {
    failed = false;
    const std::optional<ChosenFile> chosen = platform.openFileDialog(romOpenDialogOptions());
    if (!chosen) return std::nullopt;
    std::optional<LoadedRom> rom = loadRomFile(platform, *chosen, state.tables);
    failed = !rom;
    if (rom) path = chosen->path;
    return rom;
}

std::optional<EditorState::FileIdentity> identityOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return EditorState::FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                                     static_cast<uint64_t>(st.st_size),
                                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void install(EditorState& state, LoadedRom&& rom, std::filesystem::path&& path) {
    installRom(state, std::move(rom));
    state.loadedIdentity = identityOf(path).value_or(EditorState::FileIdentity{});
    state.loadedPath = std::move(path);
    state.loadedCopy.clear();
}

// How the ROM file as it was loaded differs from `target`, for a patch: read
// in pieces from the file itself while it is unchanged, or from the .bak this
// run made of it before saving over it.
std::optional<SourceDiff> loadedFileDiff(const EditorState& state, Platform& platform, std::span<const uint8_t> target) {
    const std::filesystem::path from = identityOf(state.loadedPath) == state.loadedIdentity ? state.loadedPath
                                                                                            : state.loadedCopy;
    if (!from.empty()) {
        SourceDiffBuilder diff(target);
        const Status read = platform.readFilePieces(from, state.loadedIdentity.size + 1,
                                                    [&](std::span<const uint8_t> piece) { diff.feed(piece); });
        SourceDiff d = diff.finish();
        if (read && d.sourceSize == state.loadedIdentity.size && d.sourceCrc == state.loadedCrc) return d;
    }
    showFileProblem(platform, cannotRead("changed since it was loaded, and a patch is made against the ROM as loaded"),
                    {state.loadedPath, toCp932(state.loadedPath.filename().string())});
    return std::nullopt;
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
    if (Status s = checkBackupIsNotTheTarget(backup.path, target.path); !s) {
        showFileProblem(platform, std::move(s.problem()), backup);
        return false;
    }
    // The loaded file was an image; read no more than the largest there is.
    constexpr size_t kLargest = kRomSize + kCopierHeaderSize;
    Result<std::vector<uint8_t>> current = platform.readFile(target.path, kLargest + 1);
    if (current && current->size() > kLargest)
        current = cannotRead(target.path.filename().string() + " has grown to more than " + std::to_string(kLargest) +
                             " bytes since it was loaded");
    Status s = current ? platform.writeFile(backup.path, *current) : Status(std::move(current.problem()));
    if (!s) {
        Problem p = std::move(s.problem());
        p.id = MessageId::CannotWrite;
        showFileProblem(platform, std::move(p), backup);
        return false;
    }
    state.backedUp.push_back(target.path);
    if (identityOf(target.path) == state.loadedIdentity) state.loadedCopy = backup.path;
    return true;
}

}  // namespace

std::optional<LoadedRom> loadRomFile(Platform& platform, const ChosenFile& file, const CharTables& tables) {
    // At most one byte more than the largest image there is.
    std::optional<std::vector<uint8_t>> bytes = readChosenFile(platform, file, kRomSize + kCopierHeaderSize + 1);
    if (!bytes) return std::nullopt;
    Result<LoadedRom> rom = loadRom(std::move(*bytes), tables);
    if (!rom) {
        showFileProblem(platform, std::move(rom.problem()), file);
        return std::nullopt;
    }
    return std::move(*rom);
}

bool openRomAtStart(EditorState& state, Platform& platform) {
    state.tables = builtInCharTables();
    for (;;) {
        bool failed = false;
        std::filesystem::path path;
        std::optional<LoadedRom> rom = askAndLoad(state, platform, failed, path);
        if (rom) {
            install(state, std::move(*rom), std::move(path));
            return true;
        }
        if (!failed) return false;
    }
}

void reloadRom(EditorState& state, Platform& platform) {
    bool failed = false;
    std::filesystem::path path;
    std::optional<LoadedRom> rom = askAndLoad(state, platform, failed, path);
    if (rom) install(state, std::move(*rom), std::move(path));
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
    const PatchKind kind = patchKindOf(file->path);
    if (kind == PatchKind::None && !backUpBeforeReplacing(state, platform, *file)) return false;
    if (kind != PatchKind::None) {
        if (Status s = checkNotTheLoadedFile(state, file->path); !s) {
            showFileProblem(platform, std::move(s.problem()), *file);
            return false;
        }
        if (Status s = checkLoadedFileCanBeReadAgain(state); !s) {
            showFileProblem(platform, std::move(s.problem()), {state.loadedPath, toCp932(state.loadedPath.filename().string())});
            return false;
        }
    }
    // The layout is planned whole before it writes, so it works on the image
    // itself: one that does not fit leaves it as it was.
    if (Status s = layOutImage(state.image, state); !s) {
        showFileProblem(platform, std::move(s.problem()), *file);
        return false;
    }
    if (!state.keepChecksum) writeChecksum(state.image);
    std::vector<uint8_t> withHeader;
    std::span<const uint8_t> fileBytes = state.image.bytes;
    if (!state.copierHeader.empty()) fileBytes = withHeader = romFileBytes(state.copierHeader, state.image);
    // A patch is made against the file as loaded, which is read in pieces
    // and kept only where it differs, so that two whole images are never
    // held at once.
    std::vector<uint8_t> patch;
    if (kind != PatchKind::None) {
        const std::optional<SourceDiff> source = loadedFileDiff(state, platform, fileBytes);
        if (!source) return false;
        fileBytes = patch = kind == PatchKind::Ips ? makeIps(*source, fileBytes) : makeBps(*source, fileBytes);
    }
    if (!writeChosenFile(platform, *file, fileBytes)) return false;
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
