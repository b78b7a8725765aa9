// Everything the editor's operations need of the outside world: file
// access. An interface only: DiskPlatform (disk_platform.h) does the file
// calls on the real disk for the window and the command line; the tests keep
// their files in memory. The dialogs and the message box are the front
// ends' (dialogs.h).
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
#include "platform/file_identity.h"

namespace velk {

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
