// Everything the editor's operations need of the outside world: file
// dialogs, a message box and file access. An interface only: DiskPlatform
// (disk_platform.h) does the file calls on the real disk for the window and
// the command line; the tests keep their files in memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/result.h"
#include "rom/editor_state.h"

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

// A message as the user sees it.
struct Message {
    std::string text;     // Shift-JIS, as the editor words it
    std::string display;  // the same in UTF-8, each inserted part converted on its own
    std::string detail;   // UTF-8, may be empty: where, and why
};

struct ChosenFile {
    std::filesystem::path path;  // full path, as the file system spells it
    std::string name;            // file name without folder, Shift-JIS, for messages
    // The file name as the file system spells it (UTF-8), for display.
    std::string displayName() const { return path.filename().string(); }
};

class Platform {
public:
    virtual ~Platform() = default;

    // Open dialogs accept existing files only; save dialogs ask before
    // overwriting. Nothing when the user cancels.
    virtual std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<ChosenFile> saveFileDialog(const FileDialogOptions& options) = 0;

    // A folder to read from or write into (it need not exist yet). A
    // platform without a folder chooser answers as its save dialog does.
    virtual std::optional<ChosenFile> folderDialog(const FileDialogOptions& options) { return saveFileDialog(options); }

    // A modal box with an OK button showing the message, its detail below.
    virtual void showMessage(const Message& message) = 0;

    // Asks whether to save the edits before the window closes or another
    // file replaces them (a Shift-JIS question); `mnemonics` gives the
    // buttons their keys. A platform that cannot ask answers Discard.
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice askToSaveChanges(std::string_view question, bool mnemonics = false) {
        (void)question, (void)mnemonics;
        return SaveChoice::Discard;
    }

    // Whether name lists, text collections and change scripts are UTF-8
    // files (without a byte-order mark too), and exports are written so.
    virtual bool utf8Files() const { return false; }

    // Reads at most maxBytes from the start of the file (all of it by
    // default). A problem with the system's reason if it cannot be read.
    virtual Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) = 0;
    // The same, a piece at a time (see readFileInPieces).
    virtual Status readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                                  const std::function<void(std::span<const uint8_t>)>& piece) = 0;

    // Creates or replaces the file with exactly these bytes, so that a failed
    // write leaves an existing file as it was (see file_io.h). Several files
    // may be written at once from different threads.
    virtual Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) = 0;

    // Which file the path names (following links), and its size and time;
    // nothing when there is none.
    virtual std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) = 0;
    // The path with its symbolic links followed, absolute and without "." or
    // ".." (as far as it exists; the rest as written).
    virtual std::filesystem::path resolvedPath(const std::filesystem::path& path) = 0;

    // Removes the file (a file that is not there is no problem).
    virtual Status removeFile(const std::filesystem::path& path) = 0;

    // Makes the folder, and those above it, where missing.
    virtual Status makeFolder(const std::filesystem::path& path) = 0;
    // The names of what a folder holds; a problem when it is no folder.
    virtual Result<std::vector<std::string>> listFolder(const std::filesystem::path& path) = 0;
};

}  // namespace velk
