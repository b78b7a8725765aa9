#include "app/replace_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/entry_page.h"
#include "app/qt_text.h"
#include "app/translation_desk.h"
#include "ops/messages.h"

namespace velk {
namespace {

QString previewWords(const char* text) { return QCoreApplication::translate("ReplacePreviewModel", text); }

constexpr char kRegexPrefix[] = "re:";

// The stretches, in bytes of `utf8`, as start and length in the string shown
// (line breaks as one mark, as the lists show them).
QList<int> shownMarks(const std::string& utf8, const std::vector<TextSpan>& spans) {
    auto at = [&](size_t byte) {
        QString head = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(byte));
        return static_cast<int>(head.replace(QStringLiteral("\r\n"), QStringLiteral("↵")).size());
    };
    QList<int> marks;
    for (const TextSpan& s : spans) {
        const int from = at(s.begin);
        marks << from << std::max(at(s.end) - from, s.end > s.begin ? 1 : 0);
    }
    return marks;
}

QString shownText(const std::string& utf8) { return QString::fromStdString(utf8).replace(QStringLiteral("\r\n"), QStringLiteral("↵")); }

}  // namespace

ReplacePreviewModel::ReplacePreviewModel(EditorSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {}

void ReplacePreviewModel::setRows(std::vector<ReplaceRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    shown_.assign(rows_.size(), {});
    for (size_t i = 0; i < rows_.size(); ++i) {
        const ReplaceRow& r = rows_[i];
        Shown& s = shown_[i];
        s.before = shownText(r.before);
        s.after = shownText(r.after);
        s.removed = shownMarks(r.before, r.removed);
        s.inserted = shownMarks(r.after, r.inserted);
        if (r.problem) s.reason = QString::fromStdString(renderMessage(*r.problem).display);
        else if (session_.desk().locked(r.entry.kind, r.entry.index)) s.reason = previewWords("固定されています");
        s.tickable = s.ticked = s.reason.isEmpty();
    }
    endResetModel();
}

std::vector<ReplaceRow> ReplacePreviewModel::ticked() const {
    std::vector<ReplaceRow> out;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (shown_[i].ticked) out.push_back(rows_[i]);
    return out;
}

int ReplacePreviewModel::tickable() const {
    return static_cast<int>(std::ranges::count_if(shown_, [](const Shown& s) { return s.tickable; }));
}

int ReplacePreviewModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : static_cast<int>(rows_.size()); }

int ReplacePreviewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ReplacePreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto at = static_cast<size_t>(index.row());
    const Shown& s = shown_[at];
    switch (index.column()) {
        case EntryColumn:
            if (role == Qt::DisplayRole) return qtText(entryLabel(rows_[at].entry.kind, rows_[at].entry.index));
            if (role == Qt::CheckStateRole) return s.ticked ? Qt::Checked : Qt::Unchecked;
            break;
        case BeforeColumn:
            if (role == Qt::DisplayRole) return s.before;
            if (role == MarksRole) return QVariant::fromValue(s.removed);
            break;
        case AfterColumn:
            if (role == Qt::DisplayRole) return s.after;
            if (role == MarksRole) return QVariant::fromValue(s.inserted);
            break;
        case ReasonColumn:
            if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return s.reason;
            if (role == Qt::ForegroundRole) return QColor(0xb0, 0x00, 0x20);
            break;
        default: break;
    }
    return {};
}

bool ReplacePreviewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != EntryColumn || role != Qt::CheckStateRole) return false;
    Shown& s = shown_[static_cast<size_t>(index.row())];
    if (!s.tickable) return false;
    s.ticked = value.value<Qt::CheckState>() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ReplacePreviewModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable;
    if (shown_[static_cast<size_t>(index.row())].tickable) f |= Qt::ItemIsEnabled;
    if (index.column() == EntryColumn && shown_[static_cast<size_t>(index.row())].tickable) f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant ReplacePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case EntryColumn: return previewWords("項目");
        case BeforeColumn: return previewWords("置換前");
        case AfterColumn: return previewWords("置換後");
        case ReasonColumn: return previewWords("置換できない理由");
        default: return {};
    }
}

void MarkedTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QList<int> marks = index.data(ReplacePreviewModel::MarksRole).value<QList<int>>();
    if (marks.isEmpty()) return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const std::pair<QString, QRect> drawn = drawItemWithoutText(painter, opt);
    const QString& text = drawn.first;
    const QRect& area = drawn.second;
    const QFontMetrics metrics(opt.font);
    painter->save();
    painter->setClipRect(area);
    painter->setFont(opt.font);
    // The marks' backgrounds first, then the text over them.
    for (qsizetype i = 0; i + 1 < marks.size(); i += 2) {
        const int x = area.left() + metrics.horizontalAdvance(text.left(marks[i]));
        const int w = std::max(2, metrics.horizontalAdvance(text.mid(marks[i], marks[i + 1])));
        painter->fillRect(QRect(x, area.top() + 1, w, area.height() - 2), mark_);
    }
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
    painter->restore();
}

ReplaceDialog::ReplaceDialog(EditorSession& session, EntryPage& shown, QWidget* parent)
    : QDialog(parent), session_(session), shown_(shown) {
    setObjectName(QStringLiteral("ReplaceDialog"));
    setWindowTitle(tr("置換"));
    resize(900, 560);
    pattern_ = new QLineEdit(this);
    pattern_->setObjectName(QStringLiteral("ReplacePattern"));
    pattern_->setPlaceholderText(tr("探す文字列（re: で始めると正規表現）"));
    replacement_ = new QLineEdit(this);
    replacement_->setObjectName(QStringLiteral("ReplaceWith"));
    replacement_->setPlaceholderText(tr("置換後（正規表現では $1 や ${名前} でグループ）"));
    regex_ = new QCheckBox(tr("正規表現(&X)"), this);
    scope_ = new QComboBox(this);
    scope_->addItems({tr("名前"), tr("テキスト"), tr("一覧で絞り込んだ行")});
    scope_->setCurrentIndex(shown.model()->kind() == EntryKind::Name ? NamesScope : TextsScope);
    auto* previewButton = new QPushButton(tr("プレビュー(&P)"), this);

    model_ = new ReplacePreviewModel(session, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("ReplacePreview"));
    table_->setModel(model_);
    table_->setItemDelegateForColumn(ReplacePreviewModel::BeforeColumn, new MarkedTextDelegate(QColor(255, 215, 215), table_));
    table_->setItemDelegateForColumn(ReplacePreviewModel::AfterColumn, new MarkedTextDelegate(QColor(212, 247, 212), table_));
    table_->setWordWrap(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(ReplacePreviewModel::EntryColumn, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(ReplacePreviewModel::BeforeColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(ReplacePreviewModel::AfterColumn, QHeaderView::Stretch);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("ReplaceSummary"));
    summary_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    apply_ = buttons->addButton(tr("チェックした行を置換(&A)"), QDialogButtonBox::ApplyRole);
    apply_->setObjectName(QStringLiteral("ReplaceApply"));
    apply_->setEnabled(false);
    apply_->setAutoDefault(false);  // Enter shows the preview; only a click or Alt+A applies
    previewButton->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow(tr("探す(&S):"), pattern_);
    form->addRow(tr("置換後(&W):"), replacement_);
    auto* options = new QHBoxLayout;
    options->addWidget(regex_);
    options->addWidget(new QLabel(tr("範囲:"), this));
    options->addWidget(scope_);
    options->addStretch(1);
    options->addWidget(previewButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    layout->addWidget(buttons);

    connect(previewButton, &QPushButton::clicked, this, &ReplaceDialog::updatePreview);
    connect(apply_, &QPushButton::clicked, this, &ReplaceDialog::applyTicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] { apply_->setEnabled(!model_->ticked().empty()); });
}

void ReplaceDialog::updatePreview() {
    ReplaceRule rule{pattern_->text().toStdString(), replacement_->text().toStdString(), regex_->isChecked()};
    if (!rule.regex && rule.pattern.starts_with(kRegexPrefix)) rule.pattern.erase(0, sizeof kRegexPrefix - 1), rule.regex = true;
    model_->setRows({});
    apply_->setEnabled(false);
    Result<Replacer> replacer = Replacer::make(rule);
    if (!replacer) {
        summary_->setText(QString::fromStdString(renderMessage(replacer.problem()).display));
        return;
    }
    std::vector<EntryRef> entries;
    switch (scope_->currentIndex()) {
        case NamesScope: entries = allEntries(session_.state(), EntryKind::Name); break;
        case TextsScope: entries = allEntries(session_.state(), EntryKind::Text); break;
        default: {
            const EntryFilterModel* filtered = shown_.filterModel();
            for (int r = 0; r < filtered->rowCount(); ++r)
                entries.push_back({shown_.model()->kind(), filtered->mapToSource(filtered->index(r, 0)).row()});
        }
    }
    Result<std::vector<ReplaceRow>> rows = previewReplace(session_.state(), *replacer, entries);
    if (!rows) {
        summary_->setText(QString::fromStdString(renderMessage(rows.problem()).display));
        return;
    }
    model_->setRows(std::move(*rows));
    const int blocked = model_->rowCount() - model_->tickable();
    summary_->setText(tr("%1 件が変わります").arg(model_->rowCount()) +
                      (blocked ? tr("（うち %1 件は置換できません）").arg(blocked) : QString()));
    apply_->setEnabled(model_->tickable() > 0);
}

void ReplaceDialog::applyTicked() {
    const std::vector<ReplaceRow> rows = model_->ticked();
    if (rows.empty()) return;
    const Outcome outcome = session_.run(tr("置換（%1 件）").arg(rows.size()),
                                         [&](EditorState& s, Platform&) { return applyReplace(s, rows); });
    if (outcome.done()) {
        summary_->setText(session_.statusText());
        model_->setRows({});
        apply_->setEnabled(false);
    }
}

}  // namespace velk
