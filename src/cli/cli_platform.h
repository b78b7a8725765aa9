// The command line's platform: each dialog is answered by the next path the
// user gave, and messages go to the error stream as UTF-8.
#pragma once

#include <deque>
#include <ostream>

#include "platform/disk_platform.h"

namespace velk {

class CliPlatform : public DiskPlatform {
public:
    explicit CliPlatform(std::ostream& err) : err_(err) {}

    void answerNextDialog(std::filesystem::path path) { answers_.push_back(std::move(path)); }
    // Forgets answers an operation did not ask for (it stopped early).
    void dropUnusedAnswers() { answers_.clear(); }

    std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) override;
    std::optional<ChosenFile> saveFileDialog(const FileDialogOptions& options) override;
    void showMessage(const Message& message) override;
    void warning(std::string_view line) override;
    bool utf8Files() const override { return utf8Files_; }

    void setUtf8Files(bool on) { utf8Files_ = on; }
    int messagesShown() const { return messagesShown_; }
    int warningsShown() const { return warningsShown_; }

private:
    std::optional<ChosenFile> next();

    std::ostream& err_;
    std::deque<std::filesystem::path> answers_;
    int messagesShown_ = 0;
    int warningsShown_ = 0;
    bool utf8Files_ = false;
};

}  // namespace velk
