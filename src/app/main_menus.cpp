#include "app/main_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/about_dialog.h"
#include "app/desktop.h"
#include "app/file_commands.h"
#include "app/main_dialog.h"
#include "app/project_session.h"
#include "app/workbench.h"
#include "ops/project_ops.h"

namespace velk {
namespace {

struct MainMenus {
    Q_DECLARE_TR_FUNCTIONS(MainMenus)
};

// An operation on a file the user chooses: its menu item, its undo step's
// name, its dialog (a save dialog when it writes) and the operation.
struct FileItem {
    const char* label;
    const char* step;
    Ask ask;
    bool save;
    Operation op;
};

const FileItem kExports[] = {
    {QT_TRANSLATE_NOOP("MainMenus", "名前リスト(&N)..."), QT_TRANSLATE_NOOP("MainMenus", "名前リストの書き出し"), Ask::NameList, true, exportNameList},
    {QT_TRANSLATE_NOOP("MainMenus", "テキスト集(&T)..."), QT_TRANSLATE_NOOP("MainMenus", "テキストの書き出し"), Ask::ExportTexts, true, exportTextCollection},
    {QT_TRANSLATE_NOOP("MainMenus", "顔グラフィック (FIG/PNG)(&F)..."), QT_TRANSLATE_NOOP("MainMenus", "顔グラフィックの抜き出し"), Ask::FaceGraphics, true, extractFaceGraphics},
    {QT_TRANSLATE_NOOP("MainMenus", "顔グラフィック一覧 (BMP)(&B)..."), QT_TRANSLATE_NOOP("MainMenus", "顔グラBMPの抜き出し"), Ask::FacePicture, true, exportFacePicture},
    {QT_TRANSLATE_NOOP("MainMenus", "ユニットグラフィック等 (FIG/PNG)(&U)..."), QT_TRANSLATE_NOOP("MainMenus", "ユニットグラフィック等の抜き出し"), Ask::UnitGraphics, true, extractUnitGraphics},
};
const FileItem kImports[] = {
    {QT_TRANSLATE_NOOP("MainMenus", "名前リスト(&N)..."), QT_TRANSLATE_NOOP("MainMenus", "名前リストの読み込み"), Ask::NameList, false, importNameList},
    {QT_TRANSLATE_NOOP("MainMenus", "テキスト集(&T)..."), QT_TRANSLATE_NOOP("MainMenus", "テキストの読み込み"), Ask::ImportTexts, false, importTextCollection},
    {QT_TRANSLATE_NOOP("MainMenus", "顔グラフィック (FIG/PNG)(&F)..."), QT_TRANSLATE_NOOP("MainMenus", "顔グラフィックの書き込み"), Ask::FaceGraphics, false, writeFaceGraphics},
    {QT_TRANSLATE_NOOP("MainMenus", "ユニットグラフィック等 (FIG/PNG)(&U)..."), QT_TRANSLATE_NOOP("MainMenus", "ユニットグラフィック等の書き込み"), Ask::UnitGraphics, false, writeUnitGraphics},
};

void showManual(QWidget* parent) {
    QDialog viewer(parent);
    viewer.setWindowTitle(MainMenus::tr("VELK マニュアル"));
    viewer.resize(820, 640);
    auto* text = new QTextBrowser(&viewer);
    QFile readme(QStringLiteral(":/doc/README.md"));
    text->setMarkdown(readme.open(QIODevice::ReadOnly) ? QString::fromUtf8(readme.readAll()) : MainMenus::tr("マニュアルが見つかりません。"));
    text->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &viewer);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &viewer, &QDialog::reject);
    auto* layout = new QVBoxLayout(&viewer);
    layout->addWidget(text);
    layout->addWidget(buttons);
    viewer.exec();
}

}  // namespace

void buildMainMenus(Workbench& window, EditorSession& session, FileCommands& files) {
    QMenuBar* bar = window.menuBar();
    QList<QAction*> needRom;  // what only a loaded ROM can do
    auto fileItem = [&](QMenu* menu, const FileItem& item) {
        needRom << menu->addAction(MainMenus::tr(item.label), &window, [&session, item] {
            session.runAsking(MainMenus::tr(item.step), item.ask, item.save, item.op);
        });
    };

    QMenu* file = bar->addMenu(MainMenus::tr("ファイル(&F)"));
    file->addAction(MainMenus::tr("開く(&O)..."), QKeySequence::Open, &files, &FileCommands::open);
    QMenu* recent = file->addMenu(MainMenus::tr("最近使ったファイル(&R)"));
    QObject::connect(recent, &QMenu::aboutToShow, recent, [recent, &files] {
        recent->clear();
        int n = 0;
        for (const QString& path : files.recentFiles())
            recent->addAction(QStringLiteral("&%1 %2").arg((++n) % 10).arg(QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"))), &files,
                              [&files, path] { files.openFile(path); })
                ->setToolTip(path);
        if (n == 0) recent->addAction(MainMenus::tr("（なし）"))->setEnabled(false);
    });
    file->addSeparator();
    needRom << file->addAction(MainMenus::tr("保存(&S)"), QKeySequence::Save, &files, &FileCommands::save);
    needRom << file->addAction(MainMenus::tr("名前を付けて保存(&A)..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &files,
                               &FileCommands::saveAs);
    needRom << file->addAction(MainMenus::tr("パッチを書き出す(&T)..."), &files, &FileCommands::exportPatch);
    addProjectActions(file, session);
    file->addSeparator();
    QMenu* exports = file->addMenu(MainMenus::tr("書き出し(&E)"));
    for (const FileItem& item : kExports) fileItem(exports, item);
    QMenu* imports = file->addMenu(MainMenus::tr("読み込み(&I)"));
    for (const FileItem& item : kImports) fileItem(imports, item);
    fileItem(file, {QT_TRANSLATE_NOOP("MainMenus", "変更スクリプトを適用(&C)..."), QT_TRANSLATE_NOOP("MainMenus", "変更スクリプトの適用"),
                    Ask::ChangeScript, false, applyChangeScript});
    file->addSeparator();
    file->addAction(MainMenus::tr("終了(&Q)"), QKeySequence(Qt::CTRL | Qt::Key_Q), &window, &QWidget::close);

    QMenu* edit = bar->addMenu(MainMenus::tr("編集(&E)"));
    QAction* undo = session.undoStack().createUndoAction(&window, MainMenus::tr("元に戻す(&U)"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = session.undoStack().createRedoAction(&window, MainMenus::tr("やり直し(&R)"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    // Ctrl+F and Ctrl+L narrow the list in view; Ctrl+Shift+F searches every name and text.
    edit->addAction(MainMenus::tr("絞り込み(&L)"), &window, &Workbench::focusFilter)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::CTRL | Qt::Key_L)});
    edit->addAction(MainMenus::tr("名前とテキストを検索(&F)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), &window, &Workbench::searchAll);
    needRom << edit->addAction(MainMenus::tr("置換(&H)..."), QKeySequence(Qt::CTRL | Qt::Key_H), &window, [&window] { window.openReplace(); });
    edit->addSeparator();
    edit->addAction(window.fullWidthAction());

    QMenu* view = bar->addMenu(MainMenus::tr("表示(&V)"));
    view->addAction(MainMenus::tr("拡大(&I)"), &window, [&window] { window.zoom(1); })
        ->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    view->addAction(MainMenus::tr("縮小(&O)"), QKeySequence::ZoomOut, &window, [&window] { window.zoom(-1); });
    view->addAction(MainMenus::tr("元の大きさ(&R)"), QKeySequence(Qt::CTRL | Qt::Key_0), &window, [&window] { window.zoom(0); });
    view->addSeparator();
    QMenu* language = view->addMenu(MainMenus::tr("言語(&L)"));
    auto* languages = new QActionGroup(language);
    const struct { QString code, name, key; } choices[] = {{kJapanese, QStringLiteral("日本語"), QStringLiteral("(&J)")},
                                                           {kEnglish, QStringLiteral("English"), QStringLiteral("(&E)")}};
    for (const auto& [code, name, key] : choices) {
        QAction* a = language->addAction(name + key);
        a->setCheckable(true);
        a->setChecked(chosenLanguage() == code);
        a->setObjectName(QStringLiteral("Language-") + code);
        languages->addAction(a);
        QObject::connect(a, &QAction::triggered, &window, [&window, code = code, name = name] {
            chooseLanguage(code);
            window.statusLabel()->setText(MainMenus::tr("次に起動した時から %1 で表示します").arg(name));
        });
    }

    QMenu* tools = bar->addMenu(MainMenus::tr("ツール(&T)"));
    needRom << tools->addAction(MainMenus::tr("モード選択ダイアログ(&M)..."), QKeySequence(Qt::CTRL | Qt::Key_M), &window, [&window, &session] {
        MainDialog dialog(session, &window);
        // "一覧" goes back to this window without the closing question.
        QObject::connect(&dialog, &MainDialog::workbenchRequested, &dialog, [&dialog] { dialog.QDialog::done(QDialog::Accepted); });
        dialog.exec();
        window.activateWindow();
    });
    needRom << tools->addAction(MainMenus::tr("一括変換 (プロジェクトの適用)(&B)..."), &window, [&session] {
        const std::optional<ChosenFile> dir = session.dialogs().folderDialog({});
        if (dir) session.run(MainMenus::tr("一括変換"), [&](EditorState& s, Platform& p) { return buildProjectFrom(s, p, dir->path); });
    });

    QMenu* help = bar->addMenu(MainMenus::tr("ヘルプ(&H)"));
    help->addAction(MainMenus::tr("マニュアル(&M)"), QKeySequence::HelpContents, &window, [&window] { showManual(&window); });
    help->addAction(MainMenus::tr("バージョン情報(&A)..."), &window, [&window] {
        AboutDialog about(&window);
        about.exec();
    });

    auto enable = [needRom, &session] {
        for (QAction* a : needRom) a->setEnabled(!session.state().loaded.path.empty());
    };
    QObject::connect(&session, &EditorSession::statusChanged, &window, enable);
    enable();
}

}  // namespace velk
