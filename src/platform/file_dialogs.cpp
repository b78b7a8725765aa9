#include "platform/file_dialogs.h"

#include "platform/messages.h"

namespace velk {

std::optional<std::vector<uint8_t>> askAndReadFile(Platform& platform, const FileDialogOptions& options) {
    const std::optional<ChosenFile> file = platform.openFileDialog(options);
    if (!file) return std::nullopt;
    std::optional<std::vector<uint8_t>> data = platform.readFile(file->path);
    if (!data) platform.messageBox(cannotReadMessage(file->name));
    return data;
}

bool writeChosenFile(Platform& platform, const ChosenFile& file, std::span<const uint8_t> bytes) {
    if (platform.writeFile(file.path, bytes)) return true;
    platform.messageBox(cannotWriteMessage(file.name));
    return false;
}

}  // namespace velk
