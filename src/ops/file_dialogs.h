// The ways every operation meets its files: ask, read or write, and report.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/result.h"
#include "ops/messages.h"
#include "platform/platform.h"

namespace velk {

struct FileContents {
    ChosenFile file;
    std::vector<uint8_t> bytes;
};

// Shows the problem's message; with a source, its detail says where in it.
void showProblem(Platform& platform, const Problem& problem, const SourceText* source = nullptr);
// Shows a problem with a file ("%sが読み込めません", "%sに書き込めませんでした"),
// naming the file.
void showFileProblem(Platform& platform, Problem problem, const ChosenFile& file);

// The largest name list, text collection or change script that is read.
constexpr size_t kMaxTextFileBytes = size_t{64} << 20;

// A text file the user edits (name list, text collection, change script),
// as Shift-JIS bytes: a file that starts with a UTF-8 byte-order mark, or any
// file when the platform asks for UTF-8, is converted from UTF-8 first. A
// file larger than kMaxTextFileBytes is refused, after reading one byte more.
struct TextFile {
    ChosenFile file;
    std::vector<uint8_t> bytes;
    SourceText source() const { return {file.displayName(), bytes}; }
};
// Reads and converts a chosen text file; nothing after reporting why not (a
// character with no Shift-JIS form is reported where it stands).
std::optional<TextFile> readTextFile(Platform& platform, const ChosenFile& file);
std::optional<TextFile> askAndReadTextFile(Platform& platform, const FileDialogOptions& options);
// The bytes of an exported text file: as they are, or in UTF-8 with a
// byte-order mark when the platform asks for UTF-8.
std::vector<uint8_t> textFileBytes(Platform& platform, std::vector<uint8_t> sjis);

// Shows each warning as "FILE:LINE: warning: ...".
void showWarnings(Platform& platform, const SourceText& source, const std::vector<Warning>& warnings);

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
