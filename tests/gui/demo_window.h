// The workbench on the demo image, as the window tests start from it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/editor_session.h"
#include "app/workbench.h"
#include "ops/operations.h"
#include "scripted_platform.h"
#include "test_support.h"

namespace velk::test {

struct DemoWindow {
    // Loads the demo image as demo.smc and makes the workbench on it (not yet shown).
    void openDemo() {
        platform.files["demo.smc"] = demoImage().bytes;
        ASSERT_TRUE(openRomAtStart(state, platform, "demo.smc").done());
        session = std::make_unique<EditorSession>(state, platform, platform);
        window = std::make_unique<Workbench>(*session);
    }

    ScriptedPlatform platform;
    EditorState state;
    std::unique_ptr<EditorSession> session;
    std::unique_ptr<Workbench> window;
};

}  // namespace velk::test
