// Icon 128: the window's large and small icon.
#pragma once

#include <QIcon>

namespace velk {

QIcon programIcon();

}  // namespace velk
