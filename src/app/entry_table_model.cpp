#include "app/entry_table_model.h"

#include <QApplication>
#include <QPainter>
#include <QFont>

#include "app/qt_text.h"
#include "app/text_filter.h"
#include "app/translation_desk.h"

namespace velk {
namespace {

// "[F1 23:(name)]" as it stands in a text's file form.
constexpr char16_t kReferenceOpen[] = u":(";

}  // namespace

EntryTableModel::EntryTableModel(EditorSession& session, EntryKind kind, QObject* parent)
    : QAbstractTableModel(parent), session_(session), kind_(kind) {
    refresh();
    connect(&session.desk(), &TranslationDesk::entriesChanged, this, [this](EntryKind k, const std::vector<int>& rows) {
        if (k != kind_) return;
        for (const int i : rows) emit dataChanged(index(i, StatusColumn), index(i, StatusColumn));
    });
    connect(&session.desk(), &TranslationDesk::originalsChanged, this, [this] {
        for (size_t i = 0; i < rows_.size(); ++i) rows_[i].asOriginal = rows_[i].form == session_.desk().original(kind_, static_cast<int>(i));
        if (!rows_.empty()) emit dataChanged(index(0, StatusColumn), index(static_cast<int>(rows_.size()) - 1, OriginalColumn));
    });
}

size_t EntryTableModel::entryCount() const {
    const Catalogues& c = session_.state().catalogues;
    if (c.resources.empty()) return 0;  // nothing loaded yet
    return kind_ == EntryKind::Name ? c.names.size() : c.texts().size();
}

EntryTableModel::Row EntryTableModel::rowFor(int index) const {
    const QString form = qtText(entryForm(session_.state(), kind_, index));
    Row row;
    row.asOriginal = form == session_.desk().original(kind_, index);
    row.form = form;
    row.folded = foldForSearch(form);
    row.folded.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    // Word references show as the name between corner brackets.
    row.shown.reserve(form.size());
    for (qsizetype i = 0; i < form.size();) {
        if (form[i] == u'\r' && i + 1 < form.size() && form[i + 1] == u'\n') {
            row.shown += QChar(u'↵');
            i += 2;
            continue;
        }
        if (kind_ == EntryKind::Text && form[i] == u'[' && form.mid(i + 6, 2) == QStringView(kReferenceOpen)) {
            const qsizetype close = form.indexOf(QStringLiteral(")]"), i + 8);
            if (close > 0) {
                row.ranges << static_cast<int>(row.shown.size()) << static_cast<int>(close - i - 8 + 2);
                row.shown += QChar(u'「') + form.mid(i + 8, close - i - 8) + QChar(u'」');
                if (!row.codes.isEmpty()) row.codes += u'\n';
                row.codes += form.mid(i, close + 2 - i);
                row.hasReference = true;
                i = close + 2;
                continue;
            }
        }
        row.shown += form[i++];
    }
    return row;
}

void EntryTableModel::refresh() {
    beginResetModel();
    const int n = static_cast<int>(entryCount());
    rows_.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) rows_[static_cast<size_t>(i)] = rowFor(i);
    endResetModel();
}

void EntryTableModel::refreshRows(const std::vector<int>& rows) {
    for (const int i : rows) {
        if (i < 0 || static_cast<size_t>(i) >= rows_.size()) continue;
        rows_[static_cast<size_t>(i)] = rowFor(i);
        emit dataChanged(index(i, 0), index(i, ColumnCount - 1));
    }
}

bool EntryTableModel::edited(int row) const {
    const auto at = static_cast<size_t>(row);
    const Catalogues& c = session_.state().catalogues;
    if (kind_ == EntryKind::Name) {
        const std::vector<NameEntry>& loaded = session_.namesAsLoaded();
        return at < loaded.size() && (c.names[at].code != loaded[at].code || c.names[at].text != loaded[at].text);
    }
    const std::vector<ResourceEntry>& loaded = session_.textsAsLoaded();
    return at < loaded.size() && (c.texts()[at].packed != loaded[at].packed || c.texts()[at].unpacked != loaded[at].unpacked);
}

std::span<const uint8_t> EntryTableModel::code(int row) const {
    const Catalogues& c = session_.state().catalogues;
    const auto at = static_cast<size_t>(row);
    return kind_ == EntryKind::Name ? std::span<const uint8_t>(c.names[at].code) : std::span<const uint8_t>(c.texts()[at].unpacked);
}

int EntryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Row& row = rows_[static_cast<size_t>(index.row())];
    switch (index.column()) {
        case LabelColumn:
            if (role == Qt::DisplayRole) return qtText(entryLabel(kind_, index.row()));
            if (role == Qt::FontRole) return QFont(QStringLiteral("monospace"));
            break;
        case TextColumn:
            if (role == Qt::DisplayRole) return row.shown;
            if (role == Qt::ToolTipRole && row.hasReference) return row.codes;
            if (role == ReferenceRangesRole && row.hasReference) return QVariant::fromValue(row.ranges);
            break;
        case EditedColumn:
            if (role == Qt::DisplayRole && edited(index.row())) return QString::fromUtf8("●");
            if (role == Qt::ToolTipRole && edited(index.row())) return QString::fromUtf8("読み込んだ時から変更されています");
            if (role == Qt::TextAlignmentRole) return Qt::AlignCenter;
            break;
        case StatusColumn:
            if (role == Qt::DisplayRole) return deskStatusName(session_.desk().status(kind_, index.row(), row.asOriginal));
            if (role == Qt::ToolTipRole && !session_.desk().note(kind_, index.row()).isEmpty())
                return session_.desk().note(kind_, index.row());
            break;
        case OriginalColumn:
            if (role == Qt::DisplayRole) {
                QString shown = session_.desk().original(kind_, index.row());
                return shown.replace(QStringLiteral("\r\n"), QStringLiteral("↵"));
            }
            if (role == Qt::ForegroundRole) return QApplication::palette().color(QPalette::PlaceholderText);
            break;
        default: break;
    }
    return {};
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case LabelColumn: return QString::fromUtf8("番号");
        case TextColumn: return kind_ == EntryKind::Name ? QString::fromUtf8("名前") : QString::fromUtf8("テキスト");
        case EditedColumn: return QString::fromUtf8("変更");
        case StatusColumn: return QCoreApplication::translate("EntryTableModel", "状態");
        case OriginalColumn: return QCoreApplication::translate("EntryTableModel", "原文");
        default: return {};
    }
}

std::pair<QString, QRect> drawItemWithoutText(QPainter* painter, QStyleOptionViewItem& opt) {
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    return {text, style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(3, 0, -3, 0)};
}

void ReferenceDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QVariant ranges = index.data(EntryTableModel::ReferenceRangesRole);
    const auto* filter = dynamic_cast<const EntryFilterModel*>(index.model());
    const auto matches = filter ? matchRanges(index.data().toString(), filter->query()) : decltype(matchRanges({}, {})){};
    if (!ranges.isValid() && matches.empty()) return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const std::pair<QString, QRect> drawn = drawItemWithoutText(painter, opt);
    const QString& text = drawn.first;
    const QRect& area = drawn.second;
    const bool selected = opt.state & QStyle::State_Selected;
    const QColor plain = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor reference = selected ? plain : opt.palette.color(QPalette::Link);
    QFont bold = opt.font;
    bold.setBold(true);
    painter->save();
    painter->setClipRect(area);
    // The filter's matches, marked behind the text.
    for (const auto& [from, length] : matches) {
        const QFontMetrics metrics(opt.font);
        const int left = metrics.horizontalAdvance(text.left(from)), width = metrics.horizontalAdvance(text.mid(from, length));
        painter->fillRect(QRect(area.left() + left, area.top() + 1, width, area.height() - 2), QColor(255, 224, 96, 160));
    }
    int x = area.left();
    auto run = [&](qsizetype from, qsizetype length, bool isReference) {
        if (length <= 0 || x > area.right()) return;
        const QString part = text.mid(from, length);
        painter->setFont(isReference ? bold : opt.font);
        painter->setPen(isReference ? reference : plain);
        painter->drawText(QRect(x, area.top(), area.right() - x + 1, area.height()), Qt::AlignLeft | Qt::AlignVCenter, part);
        x += QFontMetrics(painter->font()).horizontalAdvance(part);
    };
    const QList<int> list = ranges.isValid() ? ranges.value<QList<int>>() : QList<int>();
    qsizetype at = 0;
    for (qsizetype i = 0; i + 1 < list.size(); i += 2) {
        run(at, list[i] - at, false);
        run(list[i], list[i + 1], true);
        at = list[i] + list[i + 1];
    }
    run(at, text.size() - at, false);
    painter->restore();
}

EntryFilterModel::EntryFilterModel(EntryTableModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source) {
    setSourceModel(source);
}

void EntryFilterModel::setQuery(const QString& query) {
    query_ = query;
    bytes_ = codeQuery(query);
    folded_ = bytes_ ? QString() : foldForSearch(query);
    invalidateFilter();
}

void EntryFilterModel::setRowTest(RowTest which, std::function<bool(int)> test) {
    rowTests_[which] = std::move(test);
    invalidateFilter();
}

bool EntryFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    for (const auto& test : rowTests_)
        if (test && !test(sourceRow)) return false;
    if (bytes_) return holdsBytes(source_->code(sourceRow), *bytes_);
    return folded_.isEmpty() || source_->folded(sourceRow).contains(folded_);
}

}  // namespace velk
