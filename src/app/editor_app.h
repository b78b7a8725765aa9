// The application: asks for the ROM, then runs the main window until it closes.
#pragma once

#include "platform/platform.h"
#include "rom/editor_state.h"

namespace velk {

class EditorApp {
public:
    EditorApp(EditorState& state, Platform& platform) : state_(state), platform_(platform) {}
    // The program's exit code: 0, also when the user cancels the first dialog.
    int run();

private:
    EditorState& state_;
    Platform& platform_;
};

}  // namespace velk
