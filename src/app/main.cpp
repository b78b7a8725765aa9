#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <iostream>
#include <memory>

#include "app/command_line.h"
#include "app/editor_app.h"
#include "app/qt_platform.h"

int main(int argc, char** argv) {
    // --help and --version need no display.
    const velk::WindowArguments early =
        velk::parseWindowArguments(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    if (early.exitNow == 0) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELK"));
    QApplication::setDesktopFileName(QStringLiteral("velk"));
    // Qt's own dialogs and buttons speak Japanese, as the editor does.
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    // Qt has taken its own options (-platform, ...) out of the arguments by now.
    std::vector<std::string> args;
    for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toLocal8Bit().toStdString());
    const velk::WindowArguments parsed = velk::parseWindowArguments(args, std::cout, std::cerr);
    if (parsed.exitNow) return *parsed.exitNow;

    velk::QtPlatform platform;
    auto state = std::make_unique<velk::EditorState>();
    return velk::EditorApp(*state, platform).run(parsed.rom);
}
