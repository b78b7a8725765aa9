// velk-screenshot ROM OUT_DIR: shows the main window with its file menu,
// its lists, the seven-mode dialog and the version box on the current
// display, on ROM, and saves each as a PNG for a look by eye (for example
// under xvfb-run, or QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <memory>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableView>

#include "app/about_dialog.h"
#include "app/editor_session.h"
#include "app/entry_page.h"
#include "app/main_dialog.h"
#include "app/workbench.h"
#include "app/qt_platform.h"
#include "app/unit_page.h"
#include "ops/operations.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: velk-screenshot ROM OUT_DIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    velk::QtPlatform platform;
    auto state = std::make_unique<velk::EditorState>();
    velk::EditorSession session(*state, platform, platform);
    velk::Workbench workbench(session);
    velk::MainDialog dialog(session, &workbench);
    platform.setParent(&workbench);
    const std::filesystem::path rom(argv[1]);
    if (!session.run({}, [&](velk::EditorState& s, velk::Platform& p) { return velk::openRomAtStart(s, p, rom); }).done()) {
        std::fprintf(stderr, "velk-screenshot: the ROM did not load\n");
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    session.loaded();
    workbench.show();
    QTimer::singleShot(300, [&] {
        QMenu* file = workbench.menuBar()->actions().front()->menu();
        file->popup(workbench.mapToGlobal(QPoint(0, workbench.menuBar()->height())));
        QApplication::processEvents();
        QGuiApplication::primaryScreen()->grabWindow(0).save(out + QStringLiteral("/screen.png"));
        file->grab().save(out + QStringLiteral("/main-menu.png"));
        file->hide();
        dialog.show();
        QApplication::processEvents();
        dialog.grab().save(out + QStringLiteral("/main-mode0.png"));
        dialog.modeCombo()->setCurrentIndex(3);
        dialog.grab().save(out + QStringLiteral("/main-mode3.png"));
        dialog.modeCombo()->setCurrentIndex(6);
        dialog.grab().save(out + QStringLiteral("/main-mode6.png"));
        velk::AboutDialog about(&dialog);
        about.show();
        QApplication::processEvents();
        about.grab().save(out + QStringLiteral("/about.png"));
        about.hide();
        dialog.hide();
        velk::EntryPage* texts = workbench.textsPage();
        texts->select(2);
        texts->editor()->setPlainText(texts->editor()->toPlainText() + QString::fromUtf8("a"));
        QApplication::processEvents();
        workbench.grab().save(out + QStringLiteral("/workbench-texts.png"));
        texts->editor()->undo();
        texts->filterField()->setText(QString::fromUtf8("ｱ"));
        QApplication::processEvents();
        workbench.grab().save(out + QStringLiteral("/workbench-filter.png"));
        texts->filterField()->clear();
        texts->select(2);
        texts->editor()->setPlainText(QString(72, QChar(u'あ')) + QString::fromUtf8("\n(主人公)は[F0 02:()]を見た"));
        QApplication::processEvents();
        workbench.grab().save(out + QStringLiteral("/workbench-fit.png"));
        workbench.showKind(velk::Workbench::Names);
        QApplication::processEvents();
        workbench.grab().save(out + QStringLiteral("/workbench-names.png"));
        workbench.showKind(velk::Workbench::Faces);
        QApplication::processEvents();
        workbench.grab().save(out + QStringLiteral("/workbench-faces.png"));
        workbench.showKind(velk::Workbench::UnitGraphics);
        workbench.unitPage()->numberBox()->setValue(37);
        QApplication::processEvents();
        workbench.grab().save(out + QStringLiteral("/workbench-units.png"));
        app.quit();
    });
    return app.exec();
}
