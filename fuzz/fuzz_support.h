// What the fuzz targets share: the demo image's state, built once.
#pragma once

#include "ops/editor_state.h"

namespace velk::fuzz {

// The demo image with its catalogues, as the editor holds it after loading.
const EditorState& demoState();

}  // namespace velk::fuzz
