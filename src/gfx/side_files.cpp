#include "gfx/side_files.h"

#include "text/sjis.h"

namespace velk {

ChosenFile sideFile(const ChosenFile& chosen, const std::string& suffix) {
    const std::string name = chosen.path.stem().string() + suffix;
    return {chosen.path.parent_path() / name, toCp932(name)};
}

}  // namespace velk
