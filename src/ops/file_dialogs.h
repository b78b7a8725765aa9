// The ways every operation meets its files: ask, read or write, and report.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/result.h"
#include "platform/platform.h"

namespace velk {

struct FileContents {
    ChosenFile file;
    std::vector<uint8_t> bytes;
};

// Shows the problem's message, with its reason as the detail.
void showProblem(Platform& platform, const Problem& problem);

// Reads a file (at most maxBytes of it), reporting "%sが読み込めません" with
// `file.name` when it cannot be read.
std::optional<std::vector<uint8_t>> readChosenFile(Platform& platform, const ChosenFile& file,
                                                   size_t maxBytes = SIZE_MAX);

// Shows the open dialog and reads the chosen file. Nothing on cancel, or
// after reporting that it cannot be read.
std::optional<FileContents> askAndReadFile(Platform& platform, const FileDialogOptions& options,
                                           size_t maxBytes = SIZE_MAX);

// Writes the file, reporting "%sに書き込めませんでした" with its name when it
// cannot be written.
bool writeChosenFile(Platform& platform, const ChosenFile& file, std::span<const uint8_t> bytes);

// Shows the save dialog and writes the bytes `makeBytes` gives (made only once
// a file has been chosen) to the chosen file.
template <typename MakeBytes>
void askAndWriteFile(Platform& platform, const FileDialogOptions& options, MakeBytes makeBytes) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(options);
    if (file) writeChosenFile(platform, *file, makeBytes());
}

// `<folder>/<title><suffix>` for the chosen file `<folder>/<title>.<ext>`.
ChosenFile sideFile(const ChosenFile& chosen, const std::string& suffix);

}  // namespace velk
