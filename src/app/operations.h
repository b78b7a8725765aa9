// Every operation a button or a command-line verb runs, in one form: given
// the editor's state and the platform to ask and report through.
#pragma once

#include "platform/platform.h"
#include "rom/editor_state.h"

namespace velk {

void saveRomOperation(EditorState& state, Platform& platform);
void reloadRomOperation(EditorState& state, Platform& platform);
void extractFacesOperation(EditorState& state, Platform& platform);
void writeFacesOperation(EditorState& state, Platform& platform);
void exportFacePictureOperation(EditorState& state, Platform& platform);
void extractUnitsOperation(EditorState& state, Platform& platform);
void writeUnitsOperation(EditorState& state, Platform& platform);
void exportNamesOperation(EditorState& state, Platform& platform);
void importNamesOperation(EditorState& state, Platform& platform);
void exportTextsOperation(EditorState& state, Platform& platform);
void importTextsOperation(EditorState& state, Platform& platform);

}  // namespace velk
