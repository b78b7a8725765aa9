#include "scripted_platform.h"

#include "text/sjis.h"

namespace velk {

std::optional<ChosenFile> ScriptedPlatform::next(bool save, const FileDialogOptions& options) {
    dialogs.push_back({save, options});
    if (answers_.empty()) return std::nullopt;
    std::optional<std::filesystem::path> path = std::move(answers_.front());
    answers_.pop_front();
    if (!path) return std::nullopt;
    return ChosenFile{*path, toCp932(path->filename().string())};
}

std::optional<ChosenFile> ScriptedPlatform::openFileDialog(const FileDialogOptions& options) {
    return next(false, options);
}

std::optional<ChosenFile> ScriptedPlatform::saveFileDialog(const FileDialogOptions& options) {
    return next(true, options);
}

Result<std::vector<uint8_t>> ScriptedPlatform::readFile(const std::filesystem::path& path, size_t maxBytes) {
    if (unreadable_.count(path)) return cannotRead("made to fail by the test");
    return Platform::readFile(path, ignoreReadCap ? SIZE_MAX : maxBytes);
}

Status ScriptedPlatform::readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                                        const std::function<void(std::span<const uint8_t>)>& piece) {
    Result<std::vector<uint8_t>> whole = readFile(path, maxBytes);
    if (!whole) return std::move(whole.problem());
    constexpr size_t kPiece = 4099;
    for (size_t at = 0; at < whole->size(); at += kPiece)
        piece(std::span<const uint8_t>(*whole).subspan(at, std::min(kPiece, whole->size() - at)));
    return {};
}

Status ScriptedPlatform::writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    if (unwritable_.count(path)) return problem(MessageId::CannotWrite);
    return Platform::writeFile(path, bytes);
}

}  // namespace velk
