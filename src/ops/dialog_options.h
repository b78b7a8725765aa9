// What each operation's file dialog is opened with.
#pragma once

#include "platform/platform.h"

namespace velk {

FileDialogOptions romOpenDialogOptions();
FileDialogOptions romSaveDialogOptions();
FileDialogOptions faceGraphicsDialogOptions();
FileDialogOptions facePictureDialogOptions();
FileDialogOptions unitGraphicsDialogOptions();
FileDialogOptions nameListDialogOptions();
FileDialogOptions textCollectionExportOptions();
FileDialogOptions textCollectionImportOptions();
FileDialogOptions changeScriptDialogOptions();

}  // namespace velk
