// The names or the texts as a table: the entry's label, its text on one line
// and a mark when it differs from the ROM as loaded; and the filter over it.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "app/editor_session.h"
#include "ops/entry_ops.h"

namespace velk {

class EntryTableModel : public QAbstractTableModel {
public:
    enum Column { LabelColumn, TextColumn, EditedColumn, StatusColumn, OriginalColumn, ColumnCount };
    // The text column's word references: start and length of each name in
    // the shown text, one after another (QList<int>).
    static constexpr int ReferenceRangesRole = Qt::UserRole + 1;

    EntryTableModel(EditorSession& session, EntryKind kind, QObject* parent = nullptr);

    EntryKind kind() const { return kind_; }
    // Reads every entry again from the state (after an edit, undo or load).
    void refresh();
    // Reads only these entries again (after an edit that changed only them).
    void refreshRows(const std::vector<int>& rows);
    bool edited(int row) const;
    // The entry's code: a name's bytes, a text's unpacked code.
    std::span<const uint8_t> code(int row) const;
    const QString& folded(int row) const { return rows_[static_cast<size_t>(row)].folded; }
    // Whether the entry's text is its original (原文).
    bool asOriginal(int row) const { return rows_[static_cast<size_t>(row)].asOriginal; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        QString shown;    // one line: line breaks as a mark, word references as their name
        QString codes;    // the word references' codes, for the tooltip
        QList<int> ranges;  // where the names stand in `shown`
        QString folded;   // the file form, folded for the filter
        bool hasReference = false;
        bool asOriginal = true;
        QString form;     // the file form, to compare with the original
    };
    Row rowFor(int index) const;
    size_t entryCount() const;

    EditorSession& session_;
    EntryKind kind_;
    std::vector<Row> rows_;
};

// For a delegate that draws its own text: draws the item of `opt` (already
// initialised) with its background and selection but without its text, and
// returns the text and the rectangle it goes in.
std::pair<QString, QRect> drawItemWithoutText(QPainter* painter, QStyleOptionViewItem& opt);

// Draws a text whose word references show as names in their own style.
class ReferenceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Keeps the rows whose folded text holds the folded query, or whose code
// holds the bytes of a "<F0 12>" query.
class EntryFilterModel : public QSortFilterProxyModel {
public:
    explicit EntryFilterModel(EntryTableModel* source, QObject* parent = nullptr);
    void setQuery(const QString& query);
    const QString& query() const { return query_; }
    // The further tests a row must pass besides the query: the status
    // filter's and the fit filter's (an empty test lets every row pass).
    enum RowTest { ByStatus, ByFit, RowTestCount };
    void setRowTest(RowTest which, std::function<bool(int sourceRow)> test);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    EntryTableModel* source_;
    QString query_;
    QString folded_;
    std::optional<std::vector<uint8_t>> bytes_;
    std::array<std::function<bool(int)>, RowTestCount> rowTests_;
};

}  // namespace velk
