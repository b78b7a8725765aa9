#include "app/workbench.h"

#include <QAction>
#include <QCoreApplication>
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
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "app/desk_panel.h"
#include "app/entry_page.h"
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
    resize(1000, 680);

    kinds_ = new QListWidget(this);
    kinds_->setObjectName(QStringLiteral("KindList"));
    const char* labels[KindCount] = {"名前", "テキスト", "顔グラフィック", "ユニットグラフィック", "追加文字", "検索"};
    for (const char* label : labels) kinds_->addItem(QString::fromUtf8(label));
    kinds_->setFixedWidth(kinds_->fontMetrics().horizontalAdvance(QString::fromUtf8("ユニットグラフィック (5900)")) + 32);

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
    auto* noGlyphs = new QLabel(QString::fromUtf8("追加文字はまだありません。\n変更スクリプトの「文字追加」で 256 文字まで追加できます。"), glyphPage_);
    noGlyphs->setAlignment(Qt::AlignCenter);
    static_cast<QStackedWidget*>(glyphPage_)->addWidget(noGlyphs);
    static_cast<QStackedWidget*>(glyphPage_)->addWidget(scrolled(glyphs_, glyphPage_));
    pages_->addWidget(glyphPage_);
    pages_->addWidget(buildSearchPage());

    auto* split = new QSplitter(this);
    split->addWidget(kinds_);
    split->addWidget(pages_);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    setCentralWidget(split);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusText"));
    space_ = new QLabel(this);
    space_->setObjectName(QStringLiteral("SpaceText"));
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(space_);
    addProgressLabel(statusBar(), session_);

    buildMenus();
    connect(kinds_, &QListWidget::currentRowChanged, pages_, &QStackedWidget::setCurrentIndex);
    connect(&session_, &EditorSession::changed, this, &Workbench::refresh);
    connect(&session_, &EditorSession::statusChanged, this, &Workbench::showState);
    connect(&session_, &EditorSession::cleanChanged, this, &Workbench::updateTitle);
    kinds_->setCurrentRow(Texts);
    showState();  // the lists have just read the entries
}

void Workbench::buildMenus() {
    QMenu* file = menuBar()->addMenu(QString::fromUtf8("ファイル(&F)"));
    auto addOperation = [this, file](const char* label, const char* step, Ask ask, bool save, Operation op,
                                     QKeySequence keys = {}) {
        QAction* a = file->addAction(QString::fromUtf8(label), this, [this, step, ask, save, op] {
            session_.runAsking(QString::fromUtf8(step), ask, save, op);
        });
        a->setShortcut(keys);
    };
    file->addAction(QString::fromUtf8("別の ROM を開く(&O)..."), this, [this] { session_.reload(QString::fromUtf8("ROM の読み込み")); })
        ->setShortcut(QKeySequence::Open);
    addOperation("ROM を保存(&S)...", "保存", Ask::SaveRom, true, saveRom);
    // In a project, Ctrl+S writes the project's files; the ROM is saved through the dialog.
    file->addAction(QString::fromUtf8("保存(&V)"), this, [this] {
            if (session_.project()) session_.saveInPlace();
            else session_.runAsking(QString::fromUtf8("保存"), Ask::SaveRom, true, saveRom);
        })->setShortcut(QKeySequence::Save);
    addProjectActions(file, session_);
    file->addSeparator();
    addOperation("名前リストの読み込み...", "名前リストの読み込み", Ask::NameList, false, importNameList);
    addOperation("テキストの読み込み...", "テキストの読み込み", Ask::ImportTexts, false, importTextCollection);
    addOperation("変更スクリプトの適用...", "変更スクリプトの適用", Ask::ChangeScript, false, applyChangeScript);
    file->addSeparator();
    addOperation("名前リストの書き出し...", "名前リストの書き出し", Ask::NameList, true, exportNameList);
    addOperation("テキストの書き出し...", "テキストの書き出し", Ask::ExportTexts, true, exportTextCollection);
    file->addSeparator();
    file->addAction(QString::fromUtf8("一覧を閉じる(&C)"), QKeySequence::Close, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QString::fromUtf8("編集(&E)"));
    QAction* undo = session_.undoStack().createUndoAction(this, QString::fromUtf8("元に戻す"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = session_.undoStack().createRedoAction(this, QString::fromUtf8("やり直し"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    QAction* find = edit->addAction(QString::fromUtf8("名前とテキストを検索(&F)"), this, [this] { searchAll(); });
    find->setShortcut(QKeySequence::Find);
    edit->addAction(QCoreApplication::translate("Workbench", "置換(&R)..."), this, [this] { openReplace(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    edit->addSeparator();
    edit->addAction(fullWidthAction());
}

FaceGrid* Workbench::faceGrid() const { return facePage_->grid(); }
QSpinBox* Workbench::colourSetBox() const { return facePage_->colourSetBox(); }

QWidget* Workbench::buildSearchPage() {
    auto* page = new QWidget(this);
    searchField_ = new QLineEdit(page);
    searchField_->setObjectName(QStringLiteral("SearchField"));
    searchField_->setClearButtonEnabled(true);
    searchField_->setPlaceholderText(QString::fromUtf8("名前とテキストを検索（<F0 12> でコード）"));
    searchCount_ = new QLabel(page);
    searchNames_ = resultTable(names_->model(), page);
    searchTexts_ = resultTable(texts_->model(), page);
    auto* top = new QHBoxLayout;
    top->addWidget(searchField_, 1);
    top->addWidget(searchCount_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QString::fromUtf8("名前"), page));
    layout->addWidget(searchNames_, 1);
    layout->addWidget(new QLabel(QString::fromUtf8("テキスト"), page));
    layout->addWidget(searchTexts_, 3);
    connect(searchField_, &QLineEdit::textChanged, this, [this](const QString& q) {
        auto* n = static_cast<EntryFilterModel*>(searchNames_->model());
        auto* t = static_cast<EntryFilterModel*>(searchTexts_->model());
        n->setQuery(q);
        t->setQuery(q);
        searchCount_->setText(QString::fromUtf8("名前 %1 件・テキスト %2 件").arg(n->rowCount()).arg(t->rowCount()));
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
    const char* labels[KindCount] = {"名前", "テキスト", "顔グラフィック", "ユニットグラフィック", "追加文字", "検索"};
    for (int k = 0; k < KindCount; ++k)
        kinds_->item(k)->setText(QString::fromUtf8(labels[k]) +
                                 (counts[k] >= 0 ? QStringLiteral(" (%1)").arg(counts[k]) : QString()));
    status_->setText(session_.statusText());
    space_->setText(session_.spaceNote());
    updateTitle();
}

void Workbench::updateTitle() { setWindowTitle(session_.fileTitle() + QString::fromUtf8(" — 一覧 — VELK")); }

void Workbench::keyPressEvent(QKeyEvent* event) {
    // A stray Enter or Escape does not close anything here.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) return;
    QMainWindow::keyPressEvent(event);
}

}  // namespace velk
