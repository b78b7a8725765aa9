#include <algorithm>
#include <cctype>

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

// Shows the open dialog and loads the choice, with the path it came from.
struct ChosenRom {
    LoadedRom rom;
    std::filesystem::path path;
};
Step<ChosenRom> askAndLoad(const EditorState& state, Platform& platform) {
    const std::optional<ChosenFile> chosen = platform.openFileDialog(romOpenDialogOptions());
    if (!chosen) return cancelledOutcome();
    Step<LoadedRom> rom = loadRomFile(platform, *chosen, state.tables);
    if (!rom) return std::move(rom).stop();
    return ChosenRom{std::move(*rom), chosen->path};
}

Outcome install(EditorState& state, Platform& platform, ChosenRom&& chosen) {
    installRom(state, std::move(chosen.rom));
    state.loadedIdentity = platform.fileIdentity(chosen.path).value_or(FileIdentity{});
    state.loadedPath = std::move(chosen.path);
    state.loadedCopy.clear();
    Outcome loaded = doneOutcome(toCp932(state.loadedPath.filename().string() + " を読み込みました"));
    loaded.matchesRomFile = true;
    return loaded;
}

// How the image in the ROM file as it was loaded (behind its copier header,
// if it has one) differs from `target`, for a patch: read in pieces from the
// file itself while it is unchanged, or from the .bak this run made of it
// before saving over it. The whole file, header included, must still have
// the CRC-32 it had at load.
Step<SourceDiff> loadedFileDiff(const EditorState& state, Platform& platform, std::span<const uint8_t> target) {
    const std::filesystem::path from =
        platform.fileIdentity(state.loadedPath) == state.loadedIdentity ? state.loadedPath : state.loadedCopy;
    if (!from.empty()) {
        SourceDiffBuilder diff(target);
        const size_t header = state.copierHeader.size();
        uint32_t fileCrc = 0;
        size_t at = 0;
        const Status read = platform.readFilePieces(from, state.loadedIdentity.size + 1, [&](std::span<const uint8_t> piece) {
            fileCrc = crc32Of(piece, fileCrc);
            diff.feed(piece.subspan(std::min(piece.size(), at < header ? header - at : 0)));
            at += piece.size();
        });
        SourceDiff d = diff.finish();
        if (read && at == state.loadedIdentity.size && at >= header && fileCrc == state.loadedCrc) return d;
    }
    return fileFailure(problem(ProblemCode::LoadedRomChanged),
                       {state.loadedPath, toCp932(state.loadedPath.filename().string())});
}

bool sameFile(Platform& platform, const std::filesystem::path& a, const std::filesystem::path& b) {
    if (b.empty()) return false;
    const std::optional<FileIdentity> x = platform.fileIdentity(a), y = platform.fileIdentity(b);
    return x && y && x->sameFileAs(*y);
}

// Keeps the file the ROM was loaded from as NAME.bak before the first save
// that replaces it in this run. Failed when the copy cannot be made.
Outcome backUpBeforeReplacing(EditorState& state, Platform& platform, const ChosenFile& target) {
    if (!sameFile(platform, target.path, state.loadedPath)) return doneOutcome({});
    for (const std::filesystem::path& done : state.backedUp)
        if (sameFile(platform, target.path, done)) return doneOutcome({});
    const ChosenFile backup = sideFile(target, target.path.extension().string() + ".bak");
    if (Status s = checkBackupIsNotTheTarget(platform, backup.path, target.path); !s)
        return fileFailure(std::move(s.problem()), backup);
    // The loaded file was an image; read no more than the largest there is.
    constexpr size_t kLargest = kRomSize + kCopierHeaderSize;
    Result<std::vector<uint8_t>> current = platform.readFile(target.path, kLargest + 1);
    if (current && current->size() > kLargest) {
        Problem grown = problem(ProblemCode::RomHasGrown);
        grown.words = target.path.filename().string();
        grown.expected = kLargest;
        current = std::move(grown);
    }
    Status s = current ? platform.writeFile(backup.path, *current) : Status(std::move(current.problem()));
    if (!s) {
        s.problem().writing = true;
        return fileFailure(std::move(s.problem()), backup);
    }
    state.backedUp.push_back(target.path);
    if (platform.fileIdentity(target.path) == state.loadedIdentity) state.loadedCopy = backup.path;
    return doneOutcome({});
}

}  // namespace

Step<LoadedRom> loadRomFile(Platform& platform, const ChosenFile& file, const CharTables& tables) {
    // At most one byte more than the largest image there is.
    Step<std::vector<uint8_t>> bytes = readChosenFile(platform, file, kRomSize + kCopierHeaderSize + 1);
    if (!bytes) return std::move(bytes).stop();
    Result<LoadedRom> rom = loadRom(std::move(*bytes), tables);
    if (!rom) return fileFailure(std::move(rom.problem()), file);
    return std::move(*rom);
}

Outcome openRomAtStart(EditorState& state, Platform& platform) {
    state.tables = builtInCharTables();
    return reloadRom(state, platform);
}

Outcome reloadRom(EditorState& state, Platform& platform) {
    Step<ChosenRom> chosen = askAndLoad(state, platform);
    if (!chosen) return std::move(chosen).stop();
    return install(state, platform, std::move(*chosen));
}

PatchKind patchKindOf(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".ips") return PatchKind::Ips;
    if (ext == ".bps") return PatchKind::Bps;
    return PatchKind::None;
}

Outcome saveRom(EditorState& state, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(romSaveDialogOptions());
    if (!file) return cancelledOutcome();
    const PatchKind kind = patchKindOf(file->path);
    if (kind == PatchKind::None)
        if (Outcome backup = backUpBeforeReplacing(state, platform, *file); !backup.done()) return backup;
    if (kind != PatchKind::None) {
        if (Status s = checkNotTheLoadedFile(state, platform, file->path); !s) return fileFailure(std::move(s.problem()), *file);
        if (Status s = checkLoadedFileCanBeReadAgain(state, platform); !s)
            return fileFailure(std::move(s.problem()), {state.loadedPath, toCp932(state.loadedPath.filename().string())});
    }
    // The layout is planned whole before it writes, so it works on the image
    // itself: one that does not fit leaves it as it was.
    if (Status s = layOutImage(state.image, state); !s) return fileFailure(std::move(s.problem()), *file);
    if (!state.keepChecksum) writeChecksum(state.image);
    std::vector<uint8_t> withHeader;
    std::span<const uint8_t> fileBytes = state.image.bytes;
    if (!state.copierHeader.empty()) fileBytes = withHeader = romFileBytes(state.copierHeader, state.image);
    // A patch is made against the image in the file as loaded, which is read
    // in pieces and kept only where it differs, so that two whole images are
    // never held at once. It goes from the image without a copier header to
    // the image without one, as patchers expect; they add or drop a header
    // themselves.
    std::vector<uint8_t> patch;
    if (kind != PatchKind::None) {
        Step<SourceDiff> source = loadedFileDiff(state, platform, state.image.bytes);
        if (!source) return std::move(source).stop();
        fileBytes = patch = kind == PatchKind::Ips ? makeIps(*source, state.image.bytes) : makeBps(*source, state.image.bytes);
    }
    Outcome written = writeChosenFile(platform, *file, fileBytes);
    if (!written.done()) return written;
    written.summary = file->name + toCp932(kind == PatchKind::None ? " に保存しました" : " にパッチを書き出しました");
    if (kind != PatchKind::None && !state.copierHeader.empty()) written.summary += toCp932("（コピアヘッダーを除いたROM用）");
    written.matchesRomFile = true;
    return written;
}

Outcome confirmClose(EditorState& state, Platform& platform) {
    if (!state.unsavedEdits) return doneOutcome({});
    switch (platform.askToSaveChanges(toCp932("変更を保存しますか？"))) {
        case Platform::SaveChoice::Save: return saveRom(state, platform);
        case Platform::SaveChoice::Discard: return doneOutcome({});
        case Platform::SaveChoice::Cancel: return cancelledOutcome();
    }
    return cancelledOutcome();
}

}  // namespace velk
