#include "app/entry_page.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTextEdit>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextCursor>
#include <QVBoxLayout>

#include "app/desk_panel.h"
#include "app/fit_ruler.h"
#include "app/qt_text.h"
#include "app/window_language.h"
#include "text/sjis.h"

namespace velk {
namespace {

// The Menu key opens a table's context menu at its current row.
class MenuKeyTable : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Menu) {
            const QRect cell = visualRect(currentIndex());
            emit customContextMenuRequested(cell.isValid() ? cell.center() : QPoint(0, 0));
            return;
        }
        QTableView::keyPressEvent(event);
    }
};

}  // namespace

EntryPage::EntryPage(EditorSession& session, EntryKind kind, QWidget* parent)
    : QWidget(parent), session_(session), kind_(kind) {
    model_ = new EntryTableModel(session, kind, this);
    filterModel_ = new EntryFilterModel(model_, this);

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("FilterField"));
    filter_->setClearButtonEnabled(true);
    filter_->setPlaceholderText(tr("絞り込み（全角・半角、大文字・小文字を区別しません。<F0 12> でコード）"));
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("MatchCount"));

    table_ = new MenuKeyTable(this);
    table_->setObjectName(QStringLiteral("EntryTable"));
    table_->setModel(filterModel_);
    table_->setItemDelegateForColumn(EntryTableModel::TextColumn, new ReferenceDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(EntryTableModel::LabelColumn, QHeaderView::Fixed);
    table_->horizontalHeader()->setSectionResizeMode(EntryTableModel::TextColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(EntryTableModel::EditedColumn, QHeaderView::Fixed);
    table_->setColumnWidth(EntryTableModel::LabelColumn, table_->fontMetrics().horizontalAdvance(QStringLiteral("##No.00 00")) + 16);
    table_->setColumnWidth(EntryTableModel::EditedColumn, table_->fontMetrics().horizontalAdvance(tr("変更")) + 16);

    entryTitle_ = new QLabel(this);
    editor_ = new QPlainTextEdit(this);
    editor_->setObjectName(QStringLiteral("EntryEditor"));
    editor_->setTabChangesFocus(true);
    editor_->setEnabled(false);
    if (kind == EntryKind::Name) editor_->setMaximumHeight(editor_->fontMetrics().height() * 3 + 12);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("EntryProblem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00020;"));
    apply_ = new QPushButton(tr("適用"), this);
    apply_->setObjectName(QStringLiteral("ApplyButton"));
    apply_->setEnabled(false);
    apply_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    apply_->setToolTip(tr("この項目を書き込みます (Ctrl+Enter)"));
    restore_ = new QPushButton(tr("元に戻す"), this);
    restore_->setObjectName(QStringLiteral("RestoreButton"));
    restore_->setToolTip(tr("この項目を読み込んだ時のコードに戻します"));
    restore_->setEnabled(false);
    fullWidth_ = new QPushButton(QCoreApplication::translate("EntryPage", "全角にする(&W)"), this);
    fullWidth_->setObjectName(QStringLiteral("FullWidthButton"));
    fullWidth_->setToolTip(QCoreApplication::translate("EntryPage", "この項目で、文字表にない半角の文字を全角にします"));
    fullWidth_->hide();

    desk_ = new DeskPanel(session, kind, *this);
    table_->horizontalHeader()->moveSection(EntryTableModel::StatusColumn, EntryTableModel::TextColumn);
    table_->horizontalHeader()->moveSection(EntryTableModel::OriginalColumn, EntryTableModel::TextColumn + 1);
    table_->horizontalHeader()->setSectionResizeMode(EntryTableModel::OriginalColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(EntryTableModel::StatusColumn, QHeaderView::Fixed);
    table_->setColumnWidth(EntryTableModel::StatusColumn, table_->fontMetrics().horizontalAdvance(QString::fromUtf8("要確認")) + 16);

    auto* top = new QHBoxLayout;
    top->addWidget(filter_, 1);
    top->addWidget(desk_->statusFilter());

    fit_ = new LiveFit(session, kind, editor_, this);
    fit_->attachFilter(filterModel_, [this] { updateCount(); });
    fit_->onRefit = [this] {
        if (!showing_) check();
    };

    top->addWidget(fit_->overflowBox());
    top->addWidget(count_);
    auto* list = new QWidget(this);
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addLayout(top);
    listLayout->addWidget(table_);

    // The problem has a line of its own above the buttons, and wraps.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fullWidth_);
    buttons->addStretch(1);
    buttons->addWidget(restore_);
    buttons->addWidget(apply_);
    auto* pane = new QWidget(this);
    auto* paneLayout = new QVBoxLayout(pane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->addWidget(entryTitle_);
    paneLayout->addWidget(desk_->originalView());
    auto* field = new QHBoxLayout;
    field->setSpacing(0);
    field->addWidget(fit_->ruler());
    field->addWidget(editor_, 1);
    paneLayout->addLayout(field, 1);
    paneLayout->addWidget(fit_->previewArea());
    paneLayout->addWidget(problem_);
    paneLayout->addWidget(desk_->noteField());
    paneLayout->addLayout(buttons);
    auto* beside = new QSplitter(Qt::Horizontal, this);
    beside->addWidget(pane);
    beside->addWidget(desk_->sidePane());
    beside->setStretchFactor(0, 3);
    beside->setStretchFactor(1, 1);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(list);
    split->addWidget(beside);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& q) {
        filterModel_->setQuery(q);
        updateCount();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& now) {
        if (now.isValid()) showEntry(filterModel_->mapToSource(now).row());
    });
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { contextMenu(at); });
    connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing_) check();
    });
    connect(apply_, &QPushButton::clicked, this, [this] {
        const std::optional<std::string> form = typedForm();
        if (!form || current_ < 0) return;
        const int index = current_;
        const QString step = (kind_ == EntryKind::Name ? tr("名前 %1 の変更") : tr("テキスト %1 の変更")).arg(qtText(entryLabel(kind_, index)));
        // With the option on, the check let through only what typing full-width mends.
        desk_->apply(index, takeFullWidth_ ? fullWidthForm(session_.state(), kind_, index, *form) : *form, step);
    });
    connect(fullWidth_, &QPushButton::clicked, this, [this] {
        const std::optional<std::string> form = typedForm();
        if (!form || current_ < 0) return;
        QString wide = qtText(fullWidthForm(session_.state(), kind_, current_, *form));
        wide.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QTextCursor all(editor_->document());
        all.select(QTextCursor::Document);
        all.insertText(wide);  // one step of the field's own undo
    });
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (current_ < 0) return;
        const int index = current_;
        const QString step = tr("%1 を元に戻す").arg(qtText(entryLabel(kind_, index)));
        session_.run(step, [&](EditorState& s, Platform&) {
            const auto at = static_cast<size_t>(index);
            return kind_ == EntryKind::Name ? restoreEntry(s, index, session_.namesAsLoaded()[at])
                                            : restoreEntry(s, index, session_.textsAsLoaded()[at]);
        }, EntryScope{kind_, {index}});
    });
    connect(desk_, &DeskPanel::filterChanged, this, [this] { updateCount(); });
    updateCount();
}

std::optional<std::string> EntryPage::typedForm() const {
    QString text = editor_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toCp932Strict(text.toStdString());
}

void EntryPage::select(int index) {
    QModelIndex at = filterModel_->mapFromSource(model_->index(index, EntryTableModel::TextColumn));
    if (!at.isValid()) {
        filter_->clear();
        at = filterModel_->mapFromSource(model_->index(index, EntryTableModel::TextColumn));
    }
    table_->setCurrentIndex(at);
    table_->scrollTo(at, QAbstractItemView::PositionAtCenter);
}

namespace {

QString fieldForm(const EditorState& state, EntryKind kind, int index) {
    QString form = qtText(entryForm(state, kind, index));
    form.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return form;
}

}  // namespace

void EntryPage::refresh(const std::vector<int>* rows) {
    if (!rows) {
        model_->refresh();
    } else {
        model_->refreshRows(*rows);
        if (rows->empty()) return;
    }
    updateCount();
    if (current_ < 0) return;
    if (!rows) {  // a reset forgot the current row
        const QModelIndex at = filterModel_->mapFromSource(model_->index(current_, EntryTableModel::TextColumn));
        table_->selectionModel()->blockSignals(true);
        table_->setCurrentIndex(at);
        table_->selectionModel()->blockSignals(false);
    }
    if (editor_->toPlainText() != shownForm_ && fieldForm(session_.state(), kind_, current_) == shownForm_) {
        showTitle(current_);  // keep what is typed, checked against the entries as they now stand
        check();
        restore_->setEnabled(model_->edited(current_));
        return;
    }
    showEntry(current_);
}

void EntryPage::showTitle(int index) {
    entryTitle_->setText(qtText(entryLabel(kind_, index)) +
                         (model_->edited(index) ? tr("（変更あり）") : QString()));
    desk_->show(index);
}

void EntryPage::showEntry(int index) {
    current_ = index;
    showing_ = true;
    shownForm_ = fieldForm(session_.state(), kind_, index);
    showTitle(index);
    editor_->setEnabled(true);
    editor_->setPlainText(shownForm_);
    showing_ = false;
    check();
    apply_->setEnabled(false);  // nothing typed yet
    restore_->setEnabled(model_->edited(index));
}

void EntryPage::setTakeFullWidth(bool on) {
    takeFullWidth_ = on;
    check();
}

void EntryPage::check() {
    if (current_ < 0) return;
    const std::optional<std::string> form = typedForm();
    EntryPlace place{entryLabel(kind_, current_), 1, 1};
    std::optional<Problem> problem;
    if (!form) {
        // The first character without a Shift-JIS form.
        const QString text = editor_->toPlainText();
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            if (!toCp932Strict(text.mid(i, n).toStdString())) {
                problem = velk::problem(ProblemCode::NoShiftJisForm);
                problem->bytes = text.mid(i, n).toStdString();
                break;
            }
            if (text[i] == u'\n') ++place.line, place.column = 1; else ++place.column;
            i += n - 1;
        }
    } else if (std::optional<EntryProblem> p = checkEntry(session_.state(), kind_, current_, *form, takeFullWidth_)) {
        problem = p->problem;
        place.line = p->at.line, place.column = p->at.column;
    }
    // What is past the box is shown, and may still be applied.
    const QString past = fit_->measure(current_, problem ? std::nullopt : form);
    problem_->setText(problem ? windowText(*problem, place) : past);
    fullWidth_->setVisible(problem && !problem->fullWidth.empty());
    apply_->setEnabled(!problem && form && *form != entryForm(session_.state(), kind_, current_));
}

void EntryPage::updateCount() {
    count_->setText(tr("%1 件中 %2 件").arg(model_->rowCount()).arg(filterModel_->rowCount()));
}

void EntryPage::contextMenu(const QPoint& at) {
    const QModelIndex index = table_->indexAt(at).isValid() ? table_->indexAt(at) : table_->currentIndex();
    if (!index.isValid()) return;
    const int row = filterModel_->mapToSource(index).row();
    QMenu menu(this);
    menu.addAction(tr("ファイルの形でコピー"), this, [this, row] {
        QApplication::clipboard()->setText(qtText(entryForm(session_.state(), kind_, row)));
    });
    menu.addAction(tr("番号をコピー"), this,
                   [this, row] { QApplication::clipboard()->setText(qtText(entryLabel(kind_, row))); });
    if (onFindUses) menu.addAction(tr("この名前を使うテキストを探す"), this, [this, row] { onFindUses(row); });
    QAction* restore = menu.addAction(tr("元に戻す"), this, [this, row] {
        showEntry(row);
        restore_->click();
    });
    restore->setEnabled(model_->edited(row));
    desk_->addToMenu(menu, row);
    menu.exec(table_->viewport()->mapToGlobal(at));
}

}  // namespace velk
