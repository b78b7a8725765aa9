// Files written beside a chosen graphics file: same folder, named from its title.
#pragma once

#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace velk {

// `<folder>/<title><suffix>` for the chosen file `<folder>/<title>.<ext>`.
ChosenFile sideFile(const ChosenFile& chosen, const std::string& suffix);

}  // namespace velk
