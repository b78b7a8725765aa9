// Everything the editor's operations need of the outside world: file
// dialogs, a message box and file access. The window, the command line and
// the tests each provide their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velk {

// What a file dialog is opened with. Texts are Shift-JIS bytes.
struct FileDialogOptions {
    std::string defaultExtension;  // appended when the user types a name without one
    std::string initialFileName;   // e.g. "*.smc"
    std::string filter;            // "label|pattern|label|pattern||"
};

// The dialogs' common initial folder, as Shift-JIS bytes ("c:" and two
// full-width reverse solidus characters, then "temp").
inline const std::string kInitialFolder = "c:\x81\x5F\x81\x5Ftemp";

struct ChosenFile {
    std::filesystem::path path;  // full path, as the file system spells it
    std::string name;            // file name without folder, Shift-JIS, for messages
};

class Platform {
public:
    virtual ~Platform() = default;

    // Open dialogs accept existing files only; save dialogs ask before
    // overwriting. Nothing when the user cancels.
    virtual std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<ChosenFile> saveFileDialog(const FileDialogOptions& options) = 0;

    // A modal box with an OK button showing one Shift-JIS text.
    virtual void messageBox(std::string_view text) = 0;

    // Reads at most maxBytes from the start of the file (all of it by
    // default); nothing if it cannot be opened or read.
    virtual std::optional<std::vector<uint8_t>> readFile(const std::filesystem::path& path,
                                                         size_t maxBytes = SIZE_MAX);

    // Creates or replaces the file with exactly these bytes. The bytes go to a
    // temporary file beside the target, which replaces the target only once
    // complete, so a failed write leaves an existing file as it was.
    virtual bool writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);
};

}  // namespace velk
