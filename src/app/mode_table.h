// The seven modes of the main window: the combo box item, and for each of the
// two buttons whether it shows, its label, the file it asks for and the
// operation it runs on that file.
#pragma once

#include <array>
#include <string>

#include "app/file_questions.h"
#include "ops/operations.h"

namespace velk {

struct ButtonAction {
    bool shown = false;
    std::string label;             // Shift-JIS; a hidden button keeps the label it had
    Operation run = nullptr;       // nothing to run (yet) when null
    Ask ask = Ask::OpenRom;        // the dialog before it runs
    bool save = false;             // a save dialog (the operation writes the file)
};

struct Mode {
    std::string item;  // Shift-JIS
    ButtonAction extract;
    ButtonAction write;
};

constexpr int kModeCount = 7;

const std::array<Mode, kModeCount>& modeTable();
// The mode at a combo box selection; nothing outside 0-6.
const Mode* modeAt(int selection);

}  // namespace velk
