// The face and unit graphics write-back on any bytes: the input is the .fig
// and, in turn, every palette file. A few faces, colour sets and units are
// written, so that each run stays short.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "gfx/face_graphics.h"
#include "gfx/unit_graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    static EditorState state = fuzz::demoState();
    const std::span<const uint8_t> input(data, size);
    if (size > 0 && data[0] % 2 == 0) {
        // The raw block, then the unit graphics from the input.
        std::vector<uint8_t> file(data[0] % 4 == 0 ? kRawGraphicBlockBytes : 0);
        file.insert(file.end(), data, data + size);
        writeUnitFile(state.catalogues.unitGraphics().first(64), state.image, file);
        return 0;
    }
    writeFaceTiles(state.catalogues.faces().first(8), input, state.image);
    std::vector<std::vector<uint8_t>> palettes(8);
    for (size_t f = 0; f < palettes.size(); ++f) {
        const size_t from = std::min(size, f * 7), to = std::min(size, from + f % 13 * 97);
        palettes[f].assign(data + from, data + to);
    }
    writeFaceColours(std::span(state.catalogues.colourSets).first(64), palettes, state.image);
    return 0;
}
