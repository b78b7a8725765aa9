#include "platform/cli_platform.h"

#include "text/sjis.h"

namespace velk {

std::optional<ChosenFile> CliPlatform::next() {
    if (answers_.empty()) return std::nullopt;
    std::filesystem::path path = std::move(answers_.front());
    answers_.pop_front();
    return ChosenFile{path, toCp932(path.filename().string())};
}

std::optional<ChosenFile> CliPlatform::openFileDialog(const FileDialogOptions&) { return next(); }

std::optional<ChosenFile> CliPlatform::saveFileDialog(const FileDialogOptions&) { return next(); }

void CliPlatform::messageBox(std::string_view text, std::string_view detail) {
    ++messagesShown_;
    err_ << fromCp932(text) << '\n';
    if (!detail.empty()) err_ << detail << '\n';
}

}  // namespace velk
