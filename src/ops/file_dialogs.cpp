#include "ops/file_dialogs.h"

#include "ops/messages.h"
#include "text/sjis.h"

namespace velk {

void showProblem(Platform& platform, const Problem& problem) {
    std::string detail = problem.reason;
    const bool aboutAFile = problem.id == MessageId::CannotRead || problem.id == MessageId::CannotWrite;
    if (aboutAFile && !detail.empty() && !problem.text.empty()) detail = fromCp932(problem.text) + ": " + detail;
    platform.messageBox(messageText(problem), detail);
}

std::optional<std::vector<uint8_t>> readChosenFile(Platform& platform, const ChosenFile& file, size_t maxBytes) {
    Result<std::vector<uint8_t>> bytes = platform.readFile(file.path, maxBytes);
    if (!bytes) {
        Problem p = std::move(bytes.problem());
        p.text = file.name;
        showProblem(platform, p);
        return std::nullopt;
    }
    return std::move(*bytes);
}

std::optional<FileContents> askAndReadFile(Platform& platform, const FileDialogOptions& options, size_t maxBytes) {
    std::optional<ChosenFile> file = platform.openFileDialog(options);
    if (!file) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes = readChosenFile(platform, *file, maxBytes);
    if (!bytes) return std::nullopt;
    return FileContents{std::move(*file), std::move(*bytes)};
}

bool writeChosenFile(Platform& platform, const ChosenFile& file, std::span<const uint8_t> bytes) {
    Status s = platform.writeFile(file.path, bytes);
    if (s) return true;
    Problem p = std::move(s.problem());
    p.id = MessageId::CannotWrite;
    p.text = file.name;
    showProblem(platform, p);
    return false;
}

ChosenFile sideFile(const ChosenFile& chosen, const std::string& suffix) {
    const std::string name = chosen.path.stem().string() + suffix;
    return {chosen.path.parent_path() / name, toCp932(name)};
}

}  // namespace velk
