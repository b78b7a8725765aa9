// The workbench's face page: every face with its number, at a zoom of 1x to
// 4x, the selected face large with its colour sets, and one face out to a
// PNG, back in, or into the desktop's picture editor and back each time it
// is saved there.
#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "app/editor_session.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTemporaryDir;
class QUrl;

namespace velk {

class FaceDetail;
class FaceGrid;

class FacePage : public QWidget {
    Q_OBJECT

public:
    explicit FacePage(EditorSession& session, QWidget* parent = nullptr);
    ~FacePage() override;

    FaceGrid* grid() const { return grid_; }
    QSpinBox* colourSetBox() const { return colourSet_; }
    QSpinBox* zoomBox() const { return zoom_; }

    // Face `face` as a PNG at `file`, and back as one undo step; the
    // session shows what stopped them.
    Outcome exportFace(int face, const std::filesystem::path& file);
    Outcome importFace(int face, const std::filesystem::path& file);
    // Writes the face into this session's temporary folder, opens it with
    // the desktop's program for PNG files, and reads it back each time it
    // changes there.
    void openInEditor(int face);
    // How a file is opened in the desktop's program (QDesktopServices's way).
    std::function<bool(const QUrl&)> openUrl;
    // Where openInEditor writes its files (empty before the first).
    QString editFolder() const;
    // Reads the faces again after a change.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showFace();
    void askToExport();
    void askToImport();
    // The edited files whose time or size moved since they were last read.
    void readChangedFiles();

    struct Edited {
        int face;
        QDateTime modified;
        qint64 size;
    };

    EditorSession& session_;
    FaceGrid* grid_;
    QScrollArea* faces_;
    FaceDetail* detail_;
    QSpinBox* colourSet_;
    QSpinBox* zoom_;
    QLabel* faceName_;
    QLabel* faceNote_;
    std::unique_ptr<QTemporaryDir> editFolder_;  // made on first use, gone with the page
    QFileSystemWatcher watcher_;
    QTimer settle_;  // a picture editor writes in several steps: read once they stop
    std::map<QString, Edited> edited_;
};

}  // namespace velk
