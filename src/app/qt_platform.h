// The window's platform: Qt file dialogs and message boxes, files on disk.
#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/disk_platform.h"

namespace velk {

// "label|pattern|label|pattern||" as a Qt name filter list.
QString qtNameFilters(std::string_view sjisFilter);

// The dialogs' initial folder when it exists below the current folder,
// otherwise empty (Qt's default).
QString initialDialogFolder();

class QtPlatform : public DiskPlatform, public Dialogs {
public:
    explicit QtPlatform(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    // Leaves the process's current folder at the chosen file's folder, as
    // file names written in a change script are relative to it.
    std::optional<ChosenFile> openFileDialog(const FileDialogOptions& options) override;
    std::optional<ChosenFile> saveFileDialog(const FileDialogOptions& options) override;
    std::optional<ChosenFile> folderDialog(const FileDialogOptions& options) override;
    void showMessage(const Message& message) override;
    SaveChoice askToSaveChanges(std::string_view question, bool mnemonics = false) override;

private:
    std::optional<ChosenFile> showDialog(const FileDialogOptions& options, bool save);

    QWidget* parent_;
    QString lastFolder_;  // where the last dialog's file was chosen
};

}  // namespace velk
