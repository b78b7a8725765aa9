// A platform for tests: dialogs answer from a queue, messages are recorded,
// and chosen files can be made to fail.
#pragma once

#include <deque>
#include <set>

#include "platform/platform.h"

namespace velk {

class ScriptedPlatform : public Platform {
public:
    struct Dialog {
        bool save;
        FileDialogOptions options;
    };

    // Queue the answer to the next dialog; nothing means the user cancels.
    void answer(std::optional<std::filesystem::path> path) { answers_.push_back(std::move(path)); }
    void failReading(const std::filesystem::path& path) { unreadable_.insert(path); }
    void failWriting(const std::filesystem::path& path) { unwritable_.insert(path); }

    std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) override;
    std::optional<ChosenFile> saveFileDialog(const FileDialogOptions& options) override;
    void showMessage(const Message& message) override {
        messages.push_back(message.text);
        displays.push_back(message.display);
        details.push_back(message.detail);
    }
    void warning(std::string_view line) override { warnings.emplace_back(line); }
    bool utf8Files() const override { return utf8; }
    // Answers the save question from a queue; Cancel when it runs dry.
    SaveChoice askToSaveChanges(std::string_view question) override {
        questions.emplace_back(question);
        if (saveChoices.empty()) return SaveChoice::Cancel;
        const SaveChoice c = saveChoices.front();
        saveChoices.pop_front();
        return c;
    }
    std::deque<SaveChoice> saveChoices;
    std::vector<std::string> questions;
    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) override;
    // Through readFile, in pieces of an odd size, so that readers meet
    // pieces that end anywhere.
    Status readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                          const std::function<void(std::span<const uint8_t>)>& piece) override;
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override;

    std::vector<Dialog> dialogs;        // every dialog shown, in order
    std::vector<std::string> messages;  // every message shown, in order
    std::vector<std::string> details;   // the detail shown with each
    std::vector<std::string> displays;  // each as shown, in UTF-8
    std::vector<std::string> warnings;  // every warning line
    bool utf8 = false;                  // answer utf8Files() with this
    bool ignoreReadCap = false;         // read whole files, whatever the caller's cap

private:
    std::optional<ChosenFile> next(bool save, const FileDialogOptions& options);

    std::deque<std::optional<std::filesystem::path>> answers_;
    std::set<std::filesystem::path> unreadable_;
    std::set<std::filesystem::path> unwritable_;
};

}  // namespace velk
