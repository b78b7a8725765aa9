// The command line's platform: each dialog is answered by the next path the
// user gave, messages go to the error stream as UTF-8, files are on disk.
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
    bool utf8Files() const override { return utf8Files_; }

    void setUtf8Files(bool on) { utf8Files_ = on; }

private:
    std::optional<ChosenFile> next();

    std::ostream& err_;
    std::deque<std::filesystem::path> answers_;
    bool utf8Files_ = false;
};

}  // namespace velk
