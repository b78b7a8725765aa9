// The text of every message the operations show, as Shift-JIS bytes.
#pragma once

#include <string>

#include "image/result.h"

namespace velk {

// The message a problem stands for, its arguments filled in:
// "%sが読み込めません", "(%s)は使用できません", "%sは使用できません%d %d", ...
std::string messageText(const Problem& problem);

}  // namespace velk
