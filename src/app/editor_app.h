// The application: loads the ROM (the one given, or asks for it), then runs
// the main window, and the workbench on the same session, until it closes.
#pragma once

#include <filesystem>
#include <optional>

#include "ops/editor_state.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

namespace velk {

class EditorApp {
public:
    EditorApp(EditorState& state, Platform& platform, Dialogs& dialogs)
        : state_(state), platform_(platform), dialogs_(dialogs) {}
    // The program's exit code: 0, also when the user cancels the first dialog.
    // With a ROM, the first dialog is not shown unless that file does not load
    // (reported as from the dialog); the workbench opens beside the main window.
    // With a project folder, its project is opened (asking for its base ROM
    // unless the settings remember it).
    int run(const std::optional<std::filesystem::path>& rom = std::nullopt,
            const std::optional<std::filesystem::path>& project = std::nullopt);

private:
    EditorState& state_;
    Platform& platform_;
    Dialogs& dialogs_;
};

}  // namespace velk
