#include "platform/file_dialogs.h"

#include "platform/messages.h"

namespace velk {

std::optional<FileContents> askAndReadFile(Platform& platform, const FileDialogOptions& options, size_t maxBytes) {
    std::optional<ChosenFile> file = platform.openFileDialog(options);
    if (!file) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes = platform.readFile(file->path, maxBytes);
    if (!bytes) {
        platform.messageBox(cannotReadMessage(file->name));
        return std::nullopt;
    }
    return FileContents{std::move(*file), std::move(*bytes)};
}

bool writeChosenFile(Platform& platform, const ChosenFile& file, std::span<const uint8_t> bytes) {
    if (platform.writeFile(file.path, bytes)) return true;
    platform.messageBox(cannotWriteMessage(file.name));
    return false;
}

}  // namespace velk
