// 編集 > 置換: a pattern (plain, or a regular expression with groups), a
// replacement and a scope; a preview of each entry that changes, before and
// after with the differences marked and a tick per row; Apply stores the
// ticked rows as one undo step. Rows whose result cannot be stored, and
// locked entries, show why and cannot be ticked.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QStyledItemDelegate>
#include <vector>

#include "app/editor_session.h"
#include "ops/replace_ops.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace velk {

class EntryPage;

class ReplacePreviewModel : public QAbstractTableModel {
public:
    enum Column { EntryColumn, BeforeColumn, AfterColumn, ReasonColumn, ColumnCount };
    // Marked stretches of the shown text: start and length, one after another (QList<int>).
    static constexpr int MarksRole = Qt::UserRole + 1;

    explicit ReplacePreviewModel(EditorSession& session, QObject* parent = nullptr);

    // Shows these rows, each ticked unless it cannot be stored.
    void setRows(std::vector<ReplaceRow> rows);
    // The ticked rows.
    std::vector<ReplaceRow> ticked() const;
    int tickable() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Shown {
        QString before, after, reason;
        QList<int> removed, inserted;
        bool tickable = true, ticked = true;
    };
    EditorSession& session_;
    std::vector<ReplaceRow> rows_;
    std::vector<Shown> shown_;
};

// Draws a text with its marked stretches on a coloured background.
class MarkedTextDelegate : public QStyledItemDelegate {
public:
    MarkedTextDelegate(QColor mark, QObject* parent) : QStyledItemDelegate(parent), mark_(mark) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QColor mark_;
};

class ReplaceDialog : public QDialog {
    Q_OBJECT

public:
    enum Scope { NamesScope, TextsScope, FilteredScope };
    // `shown` is the list whose filtered rows the third scope takes.
    ReplaceDialog(EditorSession& session, EntryPage& shown, QWidget* parent = nullptr);

    QLineEdit* patternField() const { return pattern_; }
    QLineEdit* replacementField() const { return replacement_; }
    QCheckBox* regexBox() const { return regex_; }
    QComboBox* scopeBox() const { return scope_; }
    QTableView* preview() const { return table_; }
    ReplacePreviewModel* previewModel() const { return model_; }
    QPushButton* applyButton() const { return apply_; }
    QLabel* summaryLabel() const { return summary_; }

    // Reads the rule and the scope and fills the preview.
    void updatePreview();
    // Stores the ticked rows as one step.
    void applyTicked();

private:
    EditorSession& session_;
    EntryPage& shown_;
    QLineEdit* pattern_;
    QLineEdit* replacement_;
    QCheckBox* regex_;
    QComboBox* scope_;
    QTableView* table_;
    ReplacePreviewModel* model_;
    QLabel* summary_;
    QPushButton* apply_;
};

}  // namespace velk
