// The application: loads the ROM (the one given, or asks for it), then runs
// the main window, and the workbench on the same session, until it closes.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/platform.h"
#include "rom/editor_state.h"

namespace velk {

class EditorApp {
public:
    EditorApp(EditorState& state, Platform& platform) : state_(state), platform_(platform) {}
    // The program's exit code: 0, also when the user cancels the first dialog.
    // With a ROM, the first dialog is not shown unless that file does not load
    // (reported as from the dialog); the workbench opens beside the main window.
    int run(const std::optional<std::filesystem::path>& rom = std::nullopt);

private:
    EditorState& state_;
    Platform& platform_;
};

// A platform that answers its first open dialog with a given file, and hands
// everything else to another.
class FirstFilePlatform : public Platform {
public:
    FirstFilePlatform(Platform& inner, std::filesystem::path first) : inner_(inner), first_(std::move(first)) {}
    std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) override;
    std::optional<ChosenFile> saveFileDialog(const FileDialogOptions& options) override {
        return inner_.saveFileDialog(options);
    }
    std::optional<ChosenFile> folderDialog(const FileDialogOptions& options) override { return inner_.folderDialog(options); }
    void showMessage(const Message& message) override { inner_.showMessage(message); }
    SaveChoice askToSaveChanges(std::string_view question) override { return inner_.askToSaveChanges(question); }
    bool utf8Files() const override { return inner_.utf8Files(); }
    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes) override {
        return inner_.readFile(path, maxBytes);
    }
    Status readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                          const std::function<void(std::span<const uint8_t>)>& piece) override {
        return inner_.readFilePieces(path, maxBytes, piece);
    }
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override {
        return inner_.writeFile(path, bytes);
    }
    std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) override {
        return inner_.fileIdentity(path);
    }
    Status makeFolder(const std::filesystem::path& path) override { return inner_.makeFolder(path); }
    Result<std::vector<std::string>> listFolder(const std::filesystem::path& path) override {
        return inner_.listFolder(path);
    }

private:
    Platform& inner_;
    std::optional<std::filesystem::path> first_;
};

}  // namespace velk
