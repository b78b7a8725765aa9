// velk-screenshot ROM OUT_DIR: shows the main window and the version box on
// the current display, with ROM answering the first dialog, and saves each
// as a PNG for a look by eye (for example under xvfb-run).
#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <memory>

#include "app/about_dialog.h"
#include "app/main_dialog.h"
#include "cli/cli_platform.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: velk-screenshot ROM OUT_DIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    velk::CliPlatform platform(std::cerr);  // the ROM answers the first dialog
    platform.answerNextDialog(std::filesystem::path(argv[1]));
    auto state = std::make_unique<velk::EditorState>();
    velk::MainDialog dialog(*state, platform);
    if (!dialog.initialise()) {
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
        app.quit();
    });
    return app.exec();
}
