// Shift-JIS bytes to and from the window's text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "text/sjis.h"

namespace velk {

inline QString qtText(std::string_view sjis) { return QString::fromStdString(fromCp932(sjis)); }
inline std::string sjisText(const QString& text) { return toCp932(text.toStdString()); }

}  // namespace velk
