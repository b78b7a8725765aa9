#include "cli/cli_platform.h"

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

void CliPlatform::showMessage(const Message& message) {
    err_ << message.display << '\n';
    if (!message.detail.empty()) err_ << message.detail << '\n';
}

}  // namespace velk
