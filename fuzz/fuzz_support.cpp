#include "fuzz_support.h"

#include <cstdlib>

#include "demo_image.h"
#include "rom/load.h"

namespace velk::fuzz {

const EditorState& demoState() {
    static const EditorState state = [] {
        EditorState s;
        Result<LoadedRom> rom = loadRom(makeDemoImage(), s.tables);
        if (!rom) std::abort();
        installRom(s, *rom);
        return s;
    }();
    return state;
}

}  // namespace velk::fuzz
