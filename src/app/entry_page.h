// One list of the workbench for names or texts: the filter field, the match
// count, the table, and below it the selected entry in its file form, checked
// as it is typed, with Apply and "元に戻す".
#pragma once

#include <QWidget>
#include <functional>

#include "app/editor_session.h"
#include "app/entry_table_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace velk {

class DeskPanel;
class LiveFit;

class EntryPage : public QWidget {
    Q_OBJECT

public:
    EntryPage(EditorSession& session, EntryKind kind, QWidget* parent = nullptr);

    QLineEdit* filterField() const { return filter_; }
    QLabel* countLabel() const { return count_; }
    QTableView* table() const { return table_; }
    QPlainTextEdit* editor() const { return editor_; }
    QLabel* problemLabel() const { return problem_; }
    QPushButton* applyButton() const { return apply_; }
    // "全角にする": shown when typing a character full-width would let the entry encode.
    QPushButton* fullWidthButton() const { return fullWidth_; }
    EntryTableModel* model() const { return model_; }
    EntryFilterModel* filterModel() const { return filterModel_; }
    DeskPanel* desk() const { return desk_; }
    LiveFit* liveFit() const { return fit_; }

    // Shows entry `index` (clearing the filter if it hides it).
    void select(int index);
    int current() const { return current_; }
    // Reads the entries again (all, or only `rows`) and shows the current one
    // as it now stands; text typed in the field and not applied stays while
    // the entry itself has not changed.
    void refresh(const std::vector<int>* rows = nullptr);
    // The form in the field, as Shift-JIS with CR LF line breaks; nothing
    // when a character has no Shift-JIS form.
    std::optional<std::string> typedForm() const;
    // Applies type one-byte characters without a glyph full-width.
    void setTakeFullWidth(bool on);
    // Checks the field again.
    void check();
    // Offered in a name's context menu: show the texts that use name `index`.
    std::function<void(int index)> onFindUses;

private:
    void showEntry(int index);
    void showTitle(int index);
    void updateCount();
    void contextMenu(const QPoint& at);

    EditorSession& session_;
    EntryKind kind_;
    EntryTableModel* model_;
    EntryFilterModel* filterModel_;
    QLineEdit* filter_;
    QLabel* count_;
    QTableView* table_;
    QLabel* entryTitle_;
    QPlainTextEdit* editor_;
    QLabel* problem_;
    QPushButton* apply_;
    QPushButton* restore_;
    QPushButton* fullWidth_;
    bool takeFullWidth_ = false;
    DeskPanel* desk_;
    LiveFit* fit_;
    int current_ = -1;
    QString shownForm_;  // the entry as the field last showed it
    bool showing_ = false;
};

}  // namespace velk
