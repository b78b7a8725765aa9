// The text collection import on any bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "text/text_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    static Catalogues catalogues = fuzz::demoState().catalogues;
    static const GlyphLookup glyphs(fuzz::demoState().tables);
    (void)readTextCollection(catalogues.texts(), std::span(data, size), glyphs, fuzz::demoState().image);
    return 0;
}
