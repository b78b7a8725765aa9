// The translation desk around one list's edit field: the original above it
// with the differences marked and the glossary's terms underlined, a note
// field under it, and beside it the glossary's terms, the missing ones, the
// names a text uses (or the texts that use a name) and the entries with the
// same original. It also holds the status filter, the status keys
// (Ctrl+1 to Ctrl+5), Ctrl+J and the Apply that keeps locked entries.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/editor_session.h"
#include "ops/entry_ops.h"
#include "text/desk_status.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QTextEdit;
class QWidget;

namespace velk {

class EntryPage;
class TranslationDesk;

// Where two texts differ, character by character: the stretches of `a` that
// `b` lacks and those of `b` that `a` lacks, each as (start, length).
struct TextDiff {
    std::vector<std::pair<int, int>> removed, inserted;
};
TextDiff diffText(const QString& a, const QString& b);

class DeskPanel : public QObject {
    Q_OBJECT

public:
    DeskPanel(EditorSession& session, EntryKind kind, EntryPage& page);

    QTextEdit* originalView() const { return original_; }
    QPlainTextEdit* noteField() const { return note_; }
    QWidget* sidePane() const { return side_; }
    QComboBox* statusFilter() const { return filter_; }
    QCheckBox* repeatsBox() const { return repeatsBox_; }
    QListWidget* repeatsList() const { return repeats_; }
    QLabel* missingLabel() const { return missing_; }

    // Shows entry `index` (or the one shown again), first keeping the note
    // typed for the entry shown before.
    void show(int index);
    // Stores `form` into the entry (and, when the box is ticked, into the
    // entries with the same original) with the note as one step; refuses a
    // locked entry.
    void apply(int index, const std::string& form, const QString& stepName);
    // Gives the shown entry the status (nothing: the implicit one).
    void setStatus(std::optional<DeskStatus> status);
    // Shows the next untranslated entry after the current one, wrapping.
    void nextUntranslated();
    // The status items of a row's menu.
    void addToMenu(QMenu& menu, int row);

    // Jumps to an entry of either kind (set by the workbench).
    std::function<void(EntryKind kind, int index)> onJump;

signals:
    void filterChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keepNote();
    void showDiff();
    void showSide();
    void applyFilter();

    EditorSession& session_;
    TranslationDesk& desk_;
    EntryKind kind_;
    EntryPage& page_;
    int shown_ = -1;
    QTextEdit* original_;
    QPlainTextEdit* note_;
    QWidget* side_;
    QComboBox* filter_;
    QListWidget* terms_;
    QLabel* missing_;
    QLabel* usesTitle_;
    QListWidget* uses_;
    QLabel* repeatsTitle_;
    QListWidget* repeats_;
    QCheckBox* repeatsBox_;
};

}  // namespace velk
