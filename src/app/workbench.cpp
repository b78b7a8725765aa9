#include "app/workbench.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QCoreApplication>
#include <QVBoxLayout>

#include "app/desk_panel.h"
#include "app/desktop.h"
#include "app/dropped_files.h"
#include "app/entry_page.h"
#include "app/file_commands.h"
#include "app/keyboard_path.h"
#include "app/main_menus.h"
#include "app/face_page.h"
#include "app/graphics_views.h"
#include "app/program_icon.h"
#include "app/project_session.h"
#include "app/qt_text.h"
#include "app/replace_dialog.h"
#include "app/unit_page.h"
#include "rom/catalogues.h"

namespace velk {
namespace {

QScrollArea* scrolled(QWidget* inner, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setWidget(inner);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return area;
}

QTableView* resultTable(EntryTableModel* model, QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setModel(new EntryFilterModel(model, table));
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(EntryTableModel::TextColumn, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(EntryTableModel::LabelColumn, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(EntryTableModel::EditedColumn, QHeaderView::ResizeToContents);
    return table;
}

}  // namespace

Workbench::Workbench(EditorSession& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    setObjectName(QStringLiteral("Workbench"));
    setWindowIcon(programIcon());
    // The first size, until the settings remember one, fits a small screen
    // (1280 x 720 at 125 % leaves 1024 x 576).
    resize(QSize(1000, 680).boundedTo(screen()->availableSize()));

    kinds_ = new QListWidget(this);
    kinds_->setObjectName(QStringLiteral("KindList"));
    const char* labels[KindCount] = {QT_TR_NOOP("名前"), QT_TR_NOOP("テキスト"), QT_TR_NOOP("顔グラフィック"), QT_TR_NOOP("ユニットグラフィック"), QT_TR_NOOP("追加文字"), QT_TR_NOOP("検索")};
    for (const char* label : labels) kinds_->addItem(tr(label));
    const int kindsWidth = kinds_->fontMetrics().horizontalAdvance(tr("ユニットグラフィック (5900)")) + 32;
    kinds_->setMinimumWidth(kindsWidth);

    pages_ = new QStackedWidget(this);
    names_ = new EntryPage(session, EntryKind::Name, pages_);
    texts_ = new EntryPage(session, EntryKind::Text, pages_);
    facePage_ = new FacePage(session, pages_);
    unitPage_ = new UnitPage(session, pages_);
    glyphs_ = new GlyphGrid(session.state(), this);
    names_->onFindUses = [this](int name) {
        // The name's label [F1 23] is the code of a word reference to it.
        QString code = qtText(entryLabel(EntryKind::Name, name));
        code.replace(u'[', u'<').replace(u']', u'>');
        showKind(Texts);
        texts_->filterField()->setText(code);
    };
    const auto jumpTo = [this](EntryKind kind, int index) {
        showKind(kind == EntryKind::Name ? Names : Texts);
        (kind == EntryKind::Name ? names_ : texts_)->select(index);
    };
    names_->desk()->onJump = jumpTo;
    texts_->desk()->onJump = jumpTo;
    pages_->addWidget(names_);
    pages_->addWidget(texts_);
    pages_->addWidget(facePage_);
    pages_->addWidget(unitPage_);
    glyphPage_ = new QStackedWidget(pages_);
    auto* noGlyphs = new QLabel(tr("追加文字はまだありません。\n変更スクリプトの「文字追加」で 256 文字まで追加できます。"), glyphPage_);
    noGlyphs->setAlignment(Qt::AlignCenter);
    static_cast<QStackedWidget*>(glyphPage_)->addWidget(noGlyphs);
    static_cast<QStackedWidget*>(glyphPage_)->addWidget(scrolled(glyphs_, glyphPage_));
    pages_->addWidget(glyphPage_);
    pages_->addWidget(buildSearchPage());

    auto* split = new QSplitter(this);
    split->setObjectName(QStringLiteral("KindSplit"));
    split->addWidget(kinds_);
    split->addWidget(pages_);
    // The kinds list keeps its width when the window grows and fills its
    // side of the splitter (a fixed width left an empty strip beside it).
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    split->setSizes({kindsWidth, width() - kindsWidth});
    central_ = new QStackedWidget(this);
    openHint_ = new QPushButton(tr("ROM を開く") + QStringLiteral(" (Ctrl+O)"), central_);
    openHint_->setObjectName(QStringLiteral("OpenHint"));
    auto* hint = new QWidget(central_);
    auto* hintLayout = new QGridLayout(hint);
    hintLayout->addWidget(openHint_, 0, 0, Qt::AlignCenter);
    central_->addWidget(hint);
    central_->addWidget(split);
    setCentralWidget(central_);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusText"));
    space_ = new QLabel(this);
    space_->setObjectName(QStringLiteral("SpaceText"));
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(space_);
    addProgressLabel(statusBar(), session_);

    files_ = new FileCommands(session_, this);
    connect(static_cast<QPushButton*>(openHint_), &QPushButton::clicked, files_, &FileCommands::open);
    zoom_ = new ListZoom(this);
    for (EntryPage* page : {names_, texts_}) {
        installKeyboardPath(*page);
        zoom_->add(page->table());
        zoom_->add(page->editor());
        page->findChild<QSplitter*>()->setObjectName(page == names_ ? QStringLiteral("NameSplit") : QStringLiteral("TextSplit"));
    }
    zoom_->add(searchNames_);
    zoom_->add(searchTexts_);
    setAcceptDrops(true);
    setMinimumSize(800, 480);  // fits 1280 x 720 at 125 %
    buildMainMenus(*this, session_, *files_);
    connect(kinds_, &QListWidget::currentRowChanged, pages_, &QStackedWidget::setCurrentIndex);
    connect(&session_, &EditorSession::changed, this, &Workbench::refresh);
    connect(&session_, &EditorSession::statusChanged, this, &Workbench::showState);
    connect(&session_, &EditorSession::cleanChanged, this, &Workbench::updateTitle);
    kinds_->setCurrentRow(Texts);
    showState();  // the lists have just read the entries
}

FaceGrid* Workbench::faceGrid() const { return facePage_->grid(); }
QSpinBox* Workbench::colourSetBox() const { return facePage_->colourSetBox(); }

QWidget* Workbench::buildSearchPage() {
    auto* page = new QWidget(this);
    searchField_ = new QLineEdit(page);
    searchField_->setObjectName(QStringLiteral("SearchField"));
    searchField_->setClearButtonEnabled(true);
    searchField_->setPlaceholderText(tr("名前とテキストを検索（<F0 12> でコード）"));
    searchCount_ = new QLabel(page);
    searchNames_ = resultTable(names_->model(), page);
    searchTexts_ = resultTable(texts_->model(), page);
    auto* top = new QHBoxLayout;
    top->addWidget(searchField_, 1);
    top->addWidget(searchCount_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(new QLabel(tr("名前"), page));
    layout->addWidget(searchNames_, 1);
    layout->addWidget(new QLabel(tr("テキスト"), page));
    layout->addWidget(searchTexts_, 3);
    connect(searchField_, &QLineEdit::textChanged, this, [this](const QString& q) {
        auto* n = static_cast<EntryFilterModel*>(searchNames_->model());
        auto* t = static_cast<EntryFilterModel*>(searchTexts_->model());
        n->setQuery(q);
        t->setQuery(q);
        searchCount_->setText(tr("名前 %1 件・テキスト %2 件").arg(n->rowCount()).arg(t->rowCount()));
    });
    auto jump = [this](QTableView* table, EntryPage* target, Kind kind) {
        connect(table, &QAbstractItemView::activated, this, [this, table, target, kind](const QModelIndex& index) {
            const int row = static_cast<QSortFilterProxyModel*>(table->model())->mapToSource(index).row();
            showKind(kind);
            target->select(row);
        });
    };
    jump(searchNames_, names_, Names);
    jump(searchTexts_, texts_, Texts);
    return page;
}

QAction* Workbench::fullWidthAction() {
    // Applying an edit types a one-byte character without a glyph full-width: remembered.
    static const QString key = QStringLiteral("edit/fullWidth");
    auto* action = new QAction(QCoreApplication::translate("Workbench", "半角の文字を全角で書き込む(&W)"), this);
    action->setObjectName(QStringLiteral("FullWidthAction"));
    action->setCheckable(true);
    action->setChecked(QSettings(QStringLiteral("VELK"), QStringLiteral("velk")).value(key, false).toBool());
    auto take = [this](bool on) {
        names_->setTakeFullWidth(on);
        texts_->setTakeFullWidth(on);
    };
    take(action->isChecked());
    connect(action, &QAction::toggled, this, [take](bool on) {
        QSettings(QStringLiteral("VELK"), QStringLiteral("velk")).setValue(key, on);
        take(on);
    });
    return action;
}

ReplaceDialog* Workbench::openReplace() {
    if (replace_) replace_->deleteLater();
    replace_ = new ReplaceDialog(session_, kinds_->currentRow() == Names ? *names_ : *texts_, this);
    replace_->show();
    return replace_;
}

void Workbench::showKind(Kind kind) { kinds_->setCurrentRow(kind); }

void Workbench::focusFilter() {
    const int kind = kinds_->currentRow();
    if (kind != Names && kind != Texts) return searchAll();
    QLineEdit* filter = (kind == Names ? names_ : texts_)->filterField();
    filter->setFocus(Qt::ShortcutFocusReason);
    filter->selectAll();
}

void Workbench::zoom(int steps) { zoom_->zoom(steps); }

void Workbench::searchAll() {
    showKind(Search);
    searchField_->setFocus();
    searchField_->selectAll();
}

void Workbench::refresh(const EditorSession::Change& change) {
    if (session_.state().catalogues.resources.empty()) return;
    // Texts show the names they refer to: a changed name reads them all again.
    const bool allTexts = change.all || !change.names.empty();
    names_->refresh(change.all ? nullptr : &change.names);
    texts_->refresh(allTexts ? nullptr : &change.texts);
    if (change.graphics) {
        facePage_->refresh();
        unitPage_->grid()->update();
        glyphs_->update();
    }
}

void Workbench::showState() {
    const EditorState& s = session_.state();
    static_cast<QStackedWidget*>(glyphPage_)->setCurrentIndex(s.glyphSheetLoaded ? 1 : 0);
    const int counts[KindCount] = {kNameCount, kTextCount, kFaceCount, kUnitGraphicCount, s.glyphSheetLoaded ? 256 : 0, -1};
    const char* labels[KindCount] = {QT_TR_NOOP("名前"), QT_TR_NOOP("テキスト"), QT_TR_NOOP("顔グラフィック"), QT_TR_NOOP("ユニットグラフィック"), QT_TR_NOOP("追加文字"), QT_TR_NOOP("検索")};
    for (int k = 0; k < KindCount; ++k)
        kinds_->item(k)->setText(tr(labels[k]) +
                                 (counts[k] >= 0 ? QStringLiteral(" (%1)").arg(counts[k]) : QString()));
    status_->setText(session_.statusText());
    space_->setText(session_.spaceNote());
    updateTitle();
}

void Workbench::updateTitle() {
    const bool loaded = !session_.state().loaded.path.empty();
    central_->setCurrentIndex(loaded ? 1 : 0);
    setWindowTitle(loaded ? session_.fileTitle() + QStringLiteral(" — VELK") : QStringLiteral("VELK"));
}

void Workbench::closeEvent(QCloseEvent* event) {
    if (!files_->mayClose()) return event->ignore();
    saveLayout(*this);
    event->accept();
    emit closed();
}

void Workbench::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void Workbench::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // After the drop has ended: opening asks questions of its own.
    QTimer::singleShot(0, this, [this, urls] { dropFiles(*this, session_, *files_, urls); });
}

void Workbench::keyPressEvent(QKeyEvent* event) {
    // A stray Enter or Escape does not close anything here.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) return;
    QMainWindow::keyPressEvent(event);
}

}  // namespace velk
