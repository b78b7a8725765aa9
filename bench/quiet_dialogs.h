// What the benchmarks' sessions ask and show: nothing (every dialog
// cancelled, messages dropped); their files are real.
#pragma once

#include "platform/dialogs.h"

namespace velk {

struct QuietDialogs : Dialogs {
    std::optional<ChosenFile> openFileDialog(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<ChosenFile> saveFileDialog(const FileDialogOptions&) override { return std::nullopt; }
    void showMessage(const Message&) override {}
};

}  // namespace velk
