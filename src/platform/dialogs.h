// What a front end asks its user: which file, through its dialogs, and
// whether to save, and what it shows: a message box. The window's are Qt's
// (app/qt_platform.h); the tests answer from a queue. Operations never ask:
// they are given paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace velk {

// What a file dialog is opened with. Texts are Shift-JIS bytes.
struct FileDialogOptions {
    std::string defaultExtension;  // appended when the user types a name without one
    std::string initialFileName;   // e.g. "*.smc"
    std::string filter;            // "label|pattern|label|pattern||"
};

// The dialogs' common initial folder, as Shift-JIS bytes ("c:" and two
// full-width reverse solidus characters, then "temp").
inline const std::string kInitialFolder = "c:\x81\x5F\x81\x5Ftemp";

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Open dialogs accept existing files only; save dialogs ask before
    // overwriting. Nothing when the user cancels.
    virtual std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<ChosenFile> saveFileDialog(const FileDialogOptions& options) = 0;

    // A folder to read from or write into (it need not exist yet). Without a
    // folder chooser, the save dialog answers.
    virtual std::optional<ChosenFile> folderDialog(const FileDialogOptions& options) { return saveFileDialog(options); }

    // A modal box with an OK button showing the message, its detail below.
    virtual void showMessage(const Message& message) = 0;

    // Asks whether to save the edits before the window closes or another
    // file replaces them (a Shift-JIS question); `mnemonics` gives the
    // buttons their keys. Without a way to ask: Discard.
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice askToSaveChanges(std::string_view question, bool mnemonics = false) {
        (void)question, (void)mnemonics;
        return SaveChoice::Discard;
    }
};

}  // namespace velk
