// The language of the window's own sentences (messages): the one the user
// chose in 表示 > 言語, Japanese unless English was chosen.
#pragma once

#include <QString>

#include "app/desktop.h"

#include "ops/messages.h"

namespace velk {

inline WindowLanguage windowLanguage() {
    return chosenLanguage() == kEnglish ? WindowLanguage::English : WindowLanguage::Japanese;
}

// A problem as the window says it, at `place`.
inline QString windowText(const Problem& problem, const EntryPlace& place = {}) {
    return QString::fromStdString(windowMessage(problem, place, windowLanguage()));
}

}  // namespace velk
