// What the window asks before each operation: the file dialog, open or save,
// with its extension, initial name and filter. One table, beside the mode
// table; the operations themselves take paths.
#pragma once

#include <optional>

#include "platform/dialogs.h"

namespace velk {

enum class Ask {
    OpenRom,
    SaveRom,
    FaceGraphics,
    FacePicture,
    UnitGraphics,
    NameList,
    ExportTexts,
    ImportTexts,
    ChangeScript,
    Patch,
    Png,  // one face or unit graphic
};

struct FileQuestion {
    bool save;  // a save dialog (asks before overwriting), else an open dialog
    FileDialogOptions options;
};

// The dialog `ask` opens: saving or not as the operation writes or reads.
FileQuestion fileQuestion(Ask ask, bool save);

// Shows it; nothing when the user cancels.
std::optional<ChosenFile> askForFile(Dialogs& dialogs, Ask ask, bool save);

}  // namespace velk
