// A platform for one step of a larger operation: its dialog answered with a
// given file, its messages and warnings kept for an Outcome instead of shown,
// text files read and written as UTF-8, and (when capturing) its writes kept
// in memory instead of reaching the disk.
#pragma once

#include <map>

#include "ops/outcome.h"
#include "platform/platform.h"
#include "text/sjis.h"

namespace velk {

class StepPlatform : public Platform {
public:
    explicit StepPlatform(Platform& inner, bool capture = false) : inner_(inner), capture_(capture) {}

    void answer(std::filesystem::path path) { answer_ = std::move(path); }

    std::optional<ChosenFile> openFileDialog(const FileDialogOptions&) override { return take(); }
    std::optional<ChosenFile> saveFileDialog(const FileDialogOptions&) override { return take(); }
    void showMessage(const Message& message) override { messages.push_back(message); }
    void warning(std::string_view line) override { warnings.emplace_back(line); }
    bool utf8Files() const override { return true; }
    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) override {
        read.push_back(path);
        return inner_.readFile(path, maxBytes);
    }
    Status readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                          const std::function<void(std::span<const uint8_t>)>& piece) override {
        read.push_back(path);
        return inner_.readFilePieces(path, maxBytes, piece);
    }
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override {
        if (!capture_) return inner_.writeFile(path, bytes);
        written[path].assign(bytes.begin(), bytes.end());
        return {};
    }

    // Done with the summary, or failed with the first message shown.
    Outcome outcome(std::string summarySjis) const {
        if (!messages.empty()) return failedOutcome(messages.front(), warnings);
        return doneOutcome(std::move(summarySjis), warnings);
    }

    std::vector<Message> messages;
    std::vector<std::string> warnings;
    std::map<std::filesystem::path, std::vector<uint8_t>> written;  // when capturing
    std::vector<std::filesystem::path> read;                        // every file read

private:
    std::optional<ChosenFile> take() {
        if (!answer_) return std::nullopt;
        ChosenFile f{*answer_, toCp932(answer_->filename().string())};
        answer_.reset();
        return f;
    }

    Platform& inner_;
    bool capture_;
    std::optional<std::filesystem::path> answer_;
};

}  // namespace velk
