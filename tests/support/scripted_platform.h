// A platform for tests: dialogs answer from a queue, messages are recorded,
// and files live in memory, where a test can make one fail; or, for the tests
// of what only a real file system does (links, FIFOs, folders), on disk.
#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <set>

#include "platform/dialogs.h"
#include "platform/disk_platform.h"

namespace velk {

class ScriptedPlatform : public Platform, public Dialogs {
public:
    struct Dialog {
        bool save;
        FileDialogOptions options;
    };

    // Queue the answer to the next dialog; nothing means the user cancels.
    ScriptedPlatform() = default;
    // On disk, its writes going through `calls`.
    explicit ScriptedPlatform(FileCalls& calls) : onDisk(true), disk_(calls) {}
    void answer(std::optional<std::filesystem::path> path) { answers_.push_back(std::move(path)); }
    void failWriting(const std::filesystem::path& path) { unwritable_.insert(path); }

    std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) override;
    std::optional<ChosenFile> saveFileDialog(const FileDialogOptions& options) override;
    void showMessage(const Message& message) override {
        messages.push_back(message.text);
        details.push_back(message.detail);
    }
    bool utf8Files() const override { return utf8; }
    // An outcome as a front end shows it: its problem joins `messages`.
    template <typename O>
    O shown(O outcome) {
        if (outcome.problem) showMessage(*outcome.problem);
        return outcome;
    }
    // Answers the save question from a queue; Cancel when it runs dry.
    SaveChoice askToSaveChanges(std::string_view question, bool mnemonics = false) override;
    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) override;
    // Through readFile, in pieces of an odd size, so that readers meet
    // pieces that end anywhere.
    Status readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                          const std::function<void(std::span<const uint8_t>)>& piece) override;
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override;
    // A file's inode is its path's hash; its time, its content's.
    std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) override;
    // In memory there are no links: the path made absolute and normal.
    std::filesystem::path resolvedPath(const std::filesystem::path& path) override {
        return onDisk ? disk_.resolvedPath(path) : ("/" / path).lexically_normal();
    }
    Status removeFile(const std::filesystem::path& path) override;
    // A folder is there once made, or once a file is written into it.
    Status makeFolder(const std::filesystem::path& path) override;
    Result<std::vector<std::string>> listFolder(const std::filesystem::path& path) override;

    std::map<std::filesystem::path, std::vector<uint8_t>> files;  // the platform's whole disk
    std::set<std::filesystem::path> folders;
    std::deque<SaveChoice> saveChoices;
    std::vector<std::string> questions;
    std::vector<Dialog> dialogs;        // every dialog shown, in order
    std::vector<std::string> messages;  // every message shown (by a front end), in order
    std::vector<std::string> details;   // the detail shown with each
    bool utf8 = false;                  // answer utf8Files() with this
    bool ignoreReadCap = false;         // read whole files, whatever the caller's cap
    bool onDisk = false;                // file calls go to the disk, not to `files`

private:
    std::optional<ChosenFile> next(bool save, const FileDialogOptions& options);

    std::deque<std::optional<std::filesystem::path>> answers_;
    std::set<std::filesystem::path> unwritable_;
    std::mutex writing_;
    DiskPlatform disk_;
};

}  // namespace velk
