// The application: loads the ROM (the one given, or asks for it), then runs
// the main window, and the workbench on the same session, until it closes.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/forwarding_platform.h"
#include "ops/editor_state.h"

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
class FirstFilePlatform : public ForwardingPlatform {
public:
    FirstFilePlatform(Platform& inner, std::filesystem::path first) : ForwardingPlatform(inner), first_(std::move(first)) {}
    std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) override;

private:
    std::optional<std::filesystem::path> first_;
};

}  // namespace velk
