// velk-screenshot ROM OUT_DIR: shows the main window, the version box and
// the workbench's lists on the current display, with ROM answering the first
// dialog, and saves each as a PNG for a look by eye (for example under
// xvfb-run, or QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <memory>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

#include "app/about_dialog.h"
#include "app/editor_session.h"
#include "app/entry_page.h"
#include "app/main_dialog.h"
#include "app/workbench.h"
#include "app/qt_platform.h"
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
    velk::MainDialog dialog(session);
    platform.setParent(&dialog);
    const std::filesystem::path rom(argv[1]);
    if (!session.run({}, [&](velk::EditorState& s, velk::Platform& p) { return velk::openRomAtStart(s, p, rom); }).done()) {
        std::fprintf(stderr, "velk-screenshot: the ROM did not load\n");
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    dialog.show();
    QTimer::singleShot(300, [&] {
        QGuiApplication::primaryScreen()->grabWindow(0).save(out + QStringLiteral("/screen.png"));
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

        velk::Workbench workbench(session);
        workbench.show();
        QApplication::processEvents();
        velk::EntryPage* texts = workbench.textsPage();
        texts->select(2);
        texts->editor()->setPlainText(texts->editor()->toPlainText() + QString::fromUtf8("<ZZ>"));
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
        QApplication::processEvents();
        workbench.grab().save(out + QStringLiteral("/workbench-units.png"));
        app.quit();
    });
    return app.exec();
}
