#include "scripted_platform.h"

#include <string_view>

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

Dialogs::SaveChoice ScriptedPlatform::askToSaveChanges(std::string_view question, bool) {
    questions.emplace_back(question);
    if (saveChoices.empty()) return SaveChoice::Cancel;
    const SaveChoice c = saveChoices.front();
    saveChoices.pop_front();
    return c;
}

Result<std::vector<uint8_t>> ScriptedPlatform::readFile(const std::filesystem::path& path, size_t maxBytes) {
    if (onDisk) return disk_.readFile(path, maxBytes);
    const auto it = files.find(path);
    if (it == files.end()) return systemError("No such file or directory");
    const size_t n = ignoreReadCap ? it->second.size() : std::min(maxBytes, it->second.size());
    return std::vector<uint8_t>(it->second.begin(), it->second.begin() + static_cast<std::ptrdiff_t>(n));
}

Status ScriptedPlatform::readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                                        const std::function<void(std::span<const uint8_t>)>& piece) {
    if (onDisk) return disk_.readFilePieces(path, maxBytes, piece);
    Result<std::vector<uint8_t>> whole = readFile(path, maxBytes);
    if (!whole) return std::move(whole.problem());
    constexpr size_t kPiece = 4099;
    for (size_t at = 0; at < whole->size(); at += kPiece)
        piece(std::span<const uint8_t>(*whole).subspan(at, std::min(kPiece, whole->size() - at)));
    return {};
}

Status ScriptedPlatform::writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    if (unwritable_.count(path)) return systemError({}, true);
    if (onDisk) return disk_.writeFile(path, bytes);
    const std::lock_guard lock(writing_);  // exports write several files at once
    files[path].assign(bytes.begin(), bytes.end());
    return {};
}

Status ScriptedPlatform::removeFile(const std::filesystem::path& path) {
    if (onDisk) return disk_.removeFile(path);
    files.erase(path);
    return {};
}

Status ScriptedPlatform::makeFolder(const std::filesystem::path& path) {
    if (onDisk) return disk_.makeFolder(path);
    folders.insert(path);
    return {};
}

Result<std::vector<std::string>> ScriptedPlatform::listFolder(const std::filesystem::path& path) {
    if (onDisk) return disk_.listFolder(path);
    std::vector<std::string> names;
    for (const auto& [file, bytes] : files)
        if (file.parent_path() == path) names.push_back(file.filename().string());
    if (names.empty() && !folders.count(path)) return systemError("No such file or directory");
    return names;
}

std::optional<FileIdentity> ScriptedPlatform::fileIdentity(const std::filesystem::path& path) {
    if (onDisk) return disk_.fileIdentity(path);
    if (folders.count(path)) return FileIdentity{1, std::hash<std::string>{}(path.string()), 0, 0, FileIdentity::Kind::Folder};
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    const std::string_view content(reinterpret_cast<const char*>(it->second.data()), it->second.size());
    return FileIdentity{1, std::hash<std::string>{}(path.string()), it->second.size(),
                        static_cast<int64_t>(std::hash<std::string_view>{}(content))};
}

}  // namespace velk
