#include <QApplication>
#include <memory>

#include "app/editor_app.h"
#include "app/qt_platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELK"));
    velk::QtPlatform platform;
    auto state = std::make_unique<velk::EditorState>();
    return velk::EditorApp(*state, platform).run();
}
