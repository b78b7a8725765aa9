// What the main window's file menu does around the operations: open another
// ROM (asking about unsaved edits once it has loaded), save over the loaded
// file, save under another name, write a checked patch, the recent files;
// and the question before the window closes.
#pragma once

#include <QObject>
#include <QStringList>
#include <filesystem>
#include <functional>

#include "app/editor_session.h"

class QWidget;

namespace velk {

class FileCommands : public QObject {
    Q_OBJECT

public:
    static constexpr int kRecentCount = 10;

    FileCommands(EditorSession& session, QWidget* window);

    void open();
    // A file chosen elsewhere (the recent list, a drop, the command line).
    void openFile(const QString& path);
    void save();
    void saveAs();
    void exportPatch();
    // With unsaved edits, asks whether to save them; false when the user cancels.
    bool mayClose() { return session_.settleUnsavedEdits(); }

    // The ROM the window started with joins the recent files.
    void openedAtStart() { rememberLoaded(); }
    // Most recent first; files that have gone are dropped when chosen.
    QStringList recentFiles() const;
    // Shows a report of several lines (a patch's sizes and checksums).
    std::function<void(const QString& report)> inform;

signals:
    void recentFilesChanged();

private:
    // Puts the loaded file first in the recent list after `outcome` if it loaded or saved it.
    void remember(const Outcome& outcome);
    void rememberLoaded();
    void forget(const QString& path);
    void showWords(const QString& words);

    EditorSession& session_;
    QWidget* window_;
};

QString displayPath(const std::filesystem::path& path);
std::filesystem::path filePath(const QString& path);

}  // namespace velk
