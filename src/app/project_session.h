// A project open in the window: opening one (its base ROM asked for once
// and remembered per project in the settings, never in the project), saving
// its files back, exporting the open ROM as one, and building it again when
// its files change on disk. One per session (projectSessionOf).
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "app/editor_session.h"
#include "platform/file_identity.h"

class QMenu;
class QStatusBar;
class QWidget;

namespace velk {

class ProjectSession : public QObject {
    Q_OBJECT

public:
    explicit ProjectSession(EditorSession& session);

    // Opens the project in `dir`: loads its base (the path remembered for
    // it, or one the user chooses), checks it, builds the project and shows
    // the result with a clean history. A failure leaves the window as it was.
    Outcome open(const std::filesystem::path& dir);
    // Asks for the folder, then opens it.
    Outcome openAsking();
    // Writes the project's changed files (names, texts, faces, units, status.tsv).
    Outcome save();
    // Asks for a new or empty folder, exports the open ROM into it as a
    // project and opens that.
    Outcome exportAsking();
    // Builds the project again from its files, asking first when the window
    // holds unsaved edits (保存しない builds, キャンセル keeps them).
    Outcome rebuild();

    // The settings key under which a project's base path is kept.
    static QString baseKey(const std::filesystem::path& dir);
    // The status line's progress ("名前 1,234 / 2,510 (49%)  テキスト ..."), or empty outside a project.
    QString progressText() const { return progress_; }
    // Works the progress out again (after a status changed in the project's book).
    void refreshProgress();

signals:
    void progressChanged(const QString& text);

private:
    // Loads the base from `rom` and opens the project on it, without asking.
    // With `refused`, a ROM that does not load or is not the base is not
    // reported: *refused says so.
    Outcome openOn(const std::filesystem::path& dir, const std::filesystem::path& rom, bool* refused = nullptr);
    void watch();
    void filesChanged();
    // Which entries still hold their original, read again where the change touched them.
    void entriesChanged(const EditorSession::Change& change);
    std::map<std::filesystem::path, std::optional<FileIdentity>> snapshot() const;

    EditorSession& session_;
    QFileSystemWatcher watcher_;
    QTimer settle_;  // gathers a burst of file events into one build
    std::map<std::filesystem::path, std::optional<FileIdentity>> seen_;
    QString progress_;
    bool opening_ = false;  // a load is putting a project in place
    std::vector<char> namesSame_, textsSame_;  // by entry: still the original
};

// The session's project side, made on first use (a child of the session).
ProjectSession& projectSessionOf(EditorSession& session);

// ファイル > プロジェクトを開く(&P)… and プロジェクトとして書き出す(&J)…
void addProjectActions(QMenu* file, EditorSession& session);
// The status line's translated/total per kind while a project is open.
void addProgressLabel(QStatusBar* bar, EditorSession& session);

}  // namespace velk
