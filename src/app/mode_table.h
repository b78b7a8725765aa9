// The seven modes of the main window: the combo box item, and for each of the
// two buttons whether it shows, its label, the file it asks for and the
// operation it runs on that file.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>

#include "app/editor_session.h"

namespace velk {

// What a button does through the session: asks for its file, then runs its
// operation on it, as the undo step `stepName`.
using ButtonRun = std::function<Outcome(EditorSession& session, const QString& stepName)>;

struct ButtonAction {
    bool shown = false;
    std::string label;  // Shift-JIS; a hidden button keeps the label it had
    ButtonRun run;      // nothing to run when empty
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
