// The name list import on any bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "text/name_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    static std::vector<ResourceEntry> names = fuzz::demoState().catalogues.names;
    static const GlyphLookup glyphs(fuzz::demoState().tables);
    (void)readNameList(names, std::span(data, size), glyphs);
    return 0;
}
