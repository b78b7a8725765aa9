// The workbench: every name, text, face and unit graphic of the loaded ROM,
// to browse, find and edit in place, with undo.
#pragma once

#include <QMainWindow>
#include <functional>

#include "app/editor_session.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QStackedWidget;
class QTableView;

namespace velk {

class EntryPage;
class FaceGrid;
class FacePage;
class GlyphGrid;
class ReplaceDialog;
class UnitPage;

class FileCommands;
class ListZoom;

class Workbench : public QMainWindow {
    Q_OBJECT

public:
    enum Kind { Names, Texts, Faces, UnitGraphics, AddedCharacters, Search, KindCount };

    explicit Workbench(EditorSession& session, QWidget* parent = nullptr);

    void showKind(Kind kind);
    EntryPage* namesPage() const { return names_; }
    EntryPage* textsPage() const { return texts_; }
    FaceGrid* faceGrid() const;
    QSpinBox* colourSetBox() const;
    FacePage* facePage() const { return facePage_; }
    UnitPage* unitPage() const { return unitPage_; }
    QLabel* statusLabel() const { return status_; }
    // Ctrl+F: one query over all names and texts.
    QLineEdit* searchField() const { return searchField_; }
    QTableView* searchNames() const { return searchNames_; }
    QTableView* searchTexts() const { return searchTexts_; }
    void searchAll();
    // Ctrl+F, Ctrl+L: the filter of the list in view (the search field elsewhere).
    void focusFilter();
    // Ctrl++ (1), Ctrl+- (-1), Ctrl+0 (0): the lists' and the edit fields' text size.
    void zoom(int steps);
    FileCommands* files() const { return files_; }
    // The button in the middle of the window while no ROM is loaded.
    QWidget* openHint() const { return openHint_; }
    // Ctrl+H: the replace dialog over the list shown.
    ReplaceDialog* openReplace();

signals:
    // The window has closed (after any question about unsaved edits).
    void closed();

public:
    // Reads again what the change touched.
    void refresh(const EditorSession::Change& change);

    // 編集's option: a one-byte character without a glyph is typed full-width.
    QAction* fullWidthAction();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // With unsaved edits, asks first; keeps the window's layout.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QWidget* buildSearchPage();
    void updateTitle();
    // The kinds' counts, the title and the status line.
    void showState();

    EditorSession& session_;
    QListWidget* kinds_;
    QStackedWidget* pages_;
    EntryPage* names_;
    EntryPage* texts_;
    FacePage* facePage_;
    UnitPage* unitPage_;
    GlyphGrid* glyphs_;
    QWidget* glyphPage_;
    QLineEdit* searchField_ = nullptr;
    QLabel* searchCount_ = nullptr;
    QTableView* searchNames_ = nullptr;
    QTableView* searchTexts_ = nullptr;
    QLabel* status_;
    QLabel* space_;
    QStackedWidget* central_;
    QWidget* openHint_;
    FileCommands* files_;
    ListZoom* zoom_;
    ReplaceDialog* replace_ = nullptr;
};

}  // namespace velk
