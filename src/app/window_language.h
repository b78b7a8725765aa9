// The language of the window's own sentences (messages): the one the user
// chose in the settings, Japanese unless English was chosen.
#pragma once

#include <QSettings>
#include <QString>

#include "ops/messages.h"

namespace velk {

inline WindowLanguage windowLanguage() {
    const QString chosen = QSettings(QStringLiteral("VELK"), QStringLiteral("velk")).value(QStringLiteral("view/language")).toString();
    return chosen.startsWith(QStringLiteral("en")) ? WindowLanguage::English : WindowLanguage::Japanese;
}

// A problem as the window says it, at `place`.
inline QString windowText(const Problem& problem, const EntryPlace& place = {}) {
    return QString::fromStdString(windowMessage(problem, place, windowLanguage()));
}

}  // namespace velk
