// The name list (first byte '[') or the text collection import on any bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "text/name_list.h"
#include "text/text_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    static Catalogues catalogues = fuzz::demoState().catalogues;
    static const GlyphLookup glyphs(fuzz::demoState().tables);
    if (size > 0 && data[0] == '[') return (void)readNameList(catalogues.names, std::span(data, size), glyphs), 0;
    (void)readTextCollection(catalogues.texts(), std::span(data, size), glyphs, fuzz::demoState().image);
    return 0;
}
