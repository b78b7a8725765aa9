// Files dropped on the main window: a ROM (.smc, .sfc, .bin) opens, asking
// about unsaved edits; a text file is a change script, a text collection or
// a name list, as the user answers; a folder holds face PNG files to import.
#pragma once

#include <QList>
#include <optional>
#include <QUrl>

class QWidget;

namespace velk {

class EditorSession;
class FileCommands;

enum class DropKind { Rom, TextFile, ChangeScript, TextCollection, NameList, FacePngFolder, UnitPng, Unknown };

// What a dropped path is, by its extension (or for a folder).
DropKind dropKindOf(const QString& path);

// Asks what a text file is; nothing when the user cancels.
std::optional<DropKind> askTextKind(QWidget* parent, const QString& name);

void dropFiles(QWidget& window, EditorSession& session, FileCommands& files, const QList<QUrl>& urls);

}  // namespace velk
