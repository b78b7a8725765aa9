#include "app/desktop.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QMainWindow>
#include <QSplitter>
#include <QTranslator>
#include <string_view>

namespace velk {

QString chosenLanguage() { return velkSettings().value(QStringLiteral("language"), kJapanese).toString(); }

void chooseLanguage(const QString& language) { velkSettings().setValue(QStringLiteral("language"), language); }

bool installLanguage(QTranslator& translator, const QString& language) {
    if (language != kEnglish) return true;
    if (!translator.load(QStringLiteral(":/i18n/velk_en.qm"))) return false;
    return QCoreApplication::installTranslator(&translator);
}

bool hasDisplay(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        if (arg == "-platform" || arg == "--platform" || arg.starts_with("-platform=")) return true;
    }
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(variable)) return true;
    return false;
}

void restoreLayout(QMainWindow& window) {
    QSettings settings = velkSettings();
    window.restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    window.restoreState(settings.value(QStringLiteral("window/state")).toByteArray());
    for (QSplitter* split : window.findChildren<QSplitter*>())
        if (!split->objectName().isEmpty())
            split->restoreState(settings.value(QStringLiteral("splitters/") + split->objectName()).toByteArray());
}

void saveLayout(const QMainWindow& window) {
    QSettings settings = velkSettings();
    settings.setValue(QStringLiteral("window/geometry"), window.saveGeometry());
    settings.setValue(QStringLiteral("window/state"), window.saveState());
    for (const QSplitter* split : window.findChildren<QSplitter*>())
        if (!split->objectName().isEmpty())
            settings.setValue(QStringLiteral("splitters/") + split->objectName(), split->saveState());
}

namespace {
QString folderKey(const QString& kind) {
    return QStringLiteral("folders/") +
           QString::fromLatin1(QCryptographicHash::hash(kind.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
}
}  // namespace

QString lastFolder(const QString& kind) { return velkSettings().value(folderKey(kind)).toString(); }

void setLastFolder(const QString& kind, const QString& folder) { velkSettings().setValue(folderKey(kind), folder); }

}  // namespace velk
