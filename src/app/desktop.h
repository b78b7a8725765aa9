// How the window lives on a desktop: its settings (QSettings, organisation
// "VELK", application "velk"), its interface language, and whether there is
// a display to show it on at all.
#pragma once

#include <QSettings>
#include <QString>

class QMainWindow;
class QTranslator;

namespace velk {

inline QSettings velkSettings() { return QSettings(QStringLiteral("VELK"), QStringLiteral("velk")); }

// The interface languages: Japanese (the source texts) and English.
inline const QString kJapanese = QStringLiteral("ja");
inline const QString kEnglish = QStringLiteral("en");
QString chosenLanguage();
void chooseLanguage(const QString& language);  // applied at the next start
// Installs the window's translation for `language` (nothing for Japanese);
// false when it does not load.
bool installLanguage(QTranslator& translator, const QString& language);

// Whether Qt can find a display: a platform is named (-platform, QT_QPA_PLATFORM)
// or DISPLAY or WAYLAND_DISPLAY is set.
bool hasDisplay(int argc, char** argv);

// The window's geometry and dock state, and every splitter's, by object name.
void restoreLayout(QMainWindow& window);
void saveLayout(const QMainWindow& window);

// The folder each kind of file dialog last chose, by the dialog's filter.
QString lastFolder(const QString& kind);
void setLastFolder(const QString& kind, const QString& folder);

}  // namespace velk
