#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/editor_app.h"
#include "app/qt_platform.h"

int main(int argc, char** argv) {
    // --help, --version and a usage error need no display; Qt's own options
    // (-platform, ...) are known only once Qt has read them.
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i)
        for (const char* option : {"-h", "--help", "-V", "--version"})
            if (std::string_view(argv[i]) == option) return *velk::parseWindowArguments({option}, std::cout, std::cerr).exitNow;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELK"));
    QApplication::setDesktopFileName(QStringLiteral("velk"));
    // Qt's own dialogs and buttons speak Japanese, as the editor does.
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    // Qt has taken its own options (-platform, ...) out of argc/argv by now.
    // The rest stay raw bytes: a file name need not be valid in any encoding.
    const std::vector<std::string> args(argv + 1, argv + argc);
    const velk::WindowArguments parsed = velk::parseWindowArguments(args, std::cout, std::cerr);
    if (parsed.exitNow) return *parsed.exitNow;

    velk::QtPlatform platform;
    auto state = std::make_unique<velk::EditorState>();
    return velk::EditorApp(*state, platform, platform).run(parsed.rom, parsed.project);
}
