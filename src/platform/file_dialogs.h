// The two ways every extract and write operation meets its file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace velk {

struct FileContents {
    ChosenFile file;
    std::vector<uint8_t> bytes;
};

// Shows the open dialog and reads the chosen file (at most maxBytes of it).
// Nothing on cancel, or after reporting "%sが読み込めません" when it cannot be read.
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

}  // namespace velk
