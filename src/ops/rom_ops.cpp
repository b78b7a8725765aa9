#include <algorithm>
#include <cctype>

#include "ops/file_steps.h"
#include "ops/operations.h"
#include "ops/output_checks.h"
#include "patch/bps.h"
#include "patch/ips.h"
#include "rom/save_layout.h"
#include "rom/state_change.h"
#include "text/sjis.h"

namespace velk {
namespace {

// Loads the file and makes it the document.
Outcome loadRomFrom(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    Result<LoadedRom> rom = loadRomFile(platform, path, state.tables);
    if (!rom) return failedWith(rom.problem());
    return installLoadedRom(state, platform, path, std::move(*rom));
}

// How the image in the ROM file as it was loaded (behind its copier header,
// if it has one) differs from `target`, for a patch: read in pieces from the
// file itself while it is unchanged, or from the .bak this run made of it
// before saving over it. The whole file, header included, must still have
// the CRC-32 it had at load.
Result<SourceDiff> loadedFileDiff(const EditorState& state, Platform& platform, std::span<const uint8_t> target) {
    const std::filesystem::path from =
        platform.fileIdentity(state.loaded.path) == state.loaded.identity ? state.loaded.path : state.loaded.copy;
    if (!from.empty()) {
        SourceDiffBuilder diff(target);
        const size_t header = state.loaded.copierHeader.size();
        uint32_t fileCrc = 0;
        size_t at = 0;
        const Status read = platform.readFilePieces(from, state.loaded.identity.size + 1, [&](std::span<const uint8_t> piece) {
            fileCrc = crc32Of(piece, fileCrc);
            diff.feed(piece.subspan(std::min(piece.size(), at < header ? header - at : 0)));
            at += piece.size();
        });
        SourceDiff d = diff.finish();
        if (read && at == state.loaded.identity.size && at >= header && fileCrc == state.loaded.crc) return d;
    }
    return aboutFile(problem(ProblemCode::LoadedRomChanged), state.loaded.path);
}

bool sameFile(Platform& platform, const std::filesystem::path& a, const std::filesystem::path& b) {
    if (b.empty()) return false;
    const std::optional<FileIdentity> x = platform.fileIdentity(a), y = platform.fileIdentity(b);
    return x && y && x->sameFileAs(*y);
}

// Keeps the file the ROM was loaded from as NAME.bak before the first save
// that replaces it in this run. Failed when the copy cannot be made.
Outcome backUpBeforeReplacing(EditorState& state, Platform& platform, const std::filesystem::path& target) {
    if (!sameFile(platform, target, state.loaded.path)) return doneOutcome({});
    for (const std::filesystem::path& done : state.backedUp)
        if (sameFile(platform, target, done)) return doneOutcome({});
    const std::filesystem::path backup = sideFile(target, target.extension().string() + ".bak");
    if (Status s = checkBackupIsNotTheTarget(platform, backup, target); !s)
        return fileFailure(std::move(s.problem()), backup);
    // The loaded file was an image; read no more than the largest there is.
    constexpr size_t kLargest = kRomSize + kCopierHeaderSize;
    Result<std::vector<uint8_t>> current = platform.readFile(target, kLargest + 1);
    if (current && current->size() > kLargest) {
        Problem grown = problem(ProblemCode::RomHasGrown);
        grown.words = target.filename().string();
        grown.expected = kLargest;
        current = std::move(grown);
    }
    Status s = current ? platform.writeFile(backup, *current) : Status(std::move(current.problem()));
    if (!s) return fileFailure(std::move(s.problem()), backup, true);
    state.backedUp.push_back(target);
    if (platform.fileIdentity(target) == state.loaded.identity) state.loaded.copy = backup;
    return doneOutcome({});
}

}  // namespace

Result<LoadedRom> loadRomFile(Platform& platform, const std::filesystem::path& path, const CharTables& tables) {
    // At most one byte more than the largest image there is.
    Result<std::vector<uint8_t>> bytes = readFileAt(platform, path, kRomSize + kCopierHeaderSize + 1);
    if (!bytes) return std::move(bytes.problem());
    Result<LoadedRom> rom = loadRom(std::move(*bytes), tables);
    if (!rom) return aboutFile(std::move(rom.problem()), path);
    return rom;
}

Outcome installLoadedRom(EditorState& state, Platform& platform, const std::filesystem::path& path, LoadedRom rom) {
    installRom(state, rom);
    state.laidOut.reset();
    const FileIdentity identity = platform.fileIdentity(path).value_or(FileIdentity{});
    state.loaded = {std::move(rom.copierHeader), path, identity, {}, rom.fileCrc};
    Outcome loaded = doneOutcome(toCp932(state.loaded.path.filename().string() + " を読み込みました"));
    loaded.effect = Effect::Load;
    return loaded;
}

std::string saveBeforeReloadQuestion(const EditorState& state) {
    return toCp932(state.loaded.path.filename().string() + " への変更を保存しますか？");
}

std::string saveBeforeCloseQuestion() { return toCp932("変更を保存しますか？"); }

Outcome openRomAtStart(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    state.tables = builtInCharTables();
    return loadRomFrom(state, platform, path);
}

Outcome reloadRom(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    return loadRomFrom(state, platform, path);
}

PatchKind patchKindOf(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".ips") return PatchKind::Ips;
    if (ext == ".bps") return PatchKind::Bps;
    return PatchKind::None;
}

Outcome saveRom(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    const PatchKind kind = patchKindOf(path);
    if (kind == PatchKind::None)
        if (Outcome backup = backUpBeforeReplacing(state, platform, path); !backup.done()) return backup;
    if (kind != PatchKind::None) {
        if (Status s = checkNotTheLoadedFile(state, platform, path); !s) return fileFailure(std::move(s.problem()), path);
        if (Status s = checkLoadedFileCanBeReadAgain(state, platform); !s)
            return fileFailure(std::move(s.problem()), state.loaded.path);
    }
    // The layout is planned whole before it writes, so it works on the image
    // itself: one that does not fit leaves it as it was. A document unchanged
    // since the last save is laid out already.
    const bool laidOut = state.laidOut && sameDocument(*state.laidOut, state);
    if (!laidOut)
        if (Status s = layOutImage(state.image, state); !s) return fileFailure(std::move(s.problem()), path);
    if (!state.options.keepChecksum) writeChecksum(state.image);
    if (!laidOut && kind == PatchKind::None) state.laidOut = std::make_shared<const Document>(state);
    std::vector<uint8_t> withHeader;
    std::span<const uint8_t> fileBytes = state.image.bytes;
    if (!state.loaded.copierHeader.empty()) fileBytes = withHeader = romFileBytes(state.loaded.copierHeader, state.image);
    // A patch is made against the image in the file as loaded, which is read
    // in pieces and kept only where it differs, so that two whole images are
    // never held at once. It goes from the image without a copier header to
    // the image without one, as patchers expect; they add or drop a header
    // themselves.
    std::vector<uint8_t> patch;
    if (kind != PatchKind::None) {
        Result<SourceDiff> source = loadedFileDiff(state, platform, state.image.bytes);
        if (!source) return failedWith(source.problem());
        const std::span<const uint8_t> image = state.image.bytes;
        fileBytes = patch = kind == PatchKind::Ips ? makeIps(*source, image) : makeBps(*source, image);
    }
    Outcome written = writeFileAt(platform, path, fileBytes);
    if (!written.done()) return written;
    written.summary = toCp932(path.filename().string()) + toCp932(kind == PatchKind::None ? " に保存しました" : " にパッチを書き出しました");
    if (kind != PatchKind::None && !state.loaded.copierHeader.empty()) written.summary += toCp932("（コピアヘッダーを除いたROM用）");
    written.effect = Effect::Save;
    return written;
}

Outcome saveRomAs(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    Outcome saved = saveRom(state, platform, path);
    if (!saved.done() || patchKindOf(path) != PatchKind::None) return saved;
    state.loaded.identity = platform.fileIdentity(path).value_or(FileIdentity{});
    state.loaded.path = path;
    state.loaded.copy.clear();
    state.loaded.crc = crc32Of(state.image.bytes, crc32Of(state.loaded.copierHeader));
    return saved;
}

}  // namespace velk
