// The name list (first byte '['), a project's status.tsv and glossary.tsv
// (first byte 'n' or 't'), or the text collection import on any bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "text/desk_status.h"
#include "text/glossary.h"
#include "text/name_list.h"
#include "text/text_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    static Catalogues catalogues = fuzz::demoState().catalogues;
    static const GlyphLookup glyphs(fuzz::demoState().tables);
    if (size > 0 && (data[0] == 'n' || data[0] == 't')) {
        // A status file that reads writes back to one that reads the same.
        const DeskCounts counts{catalogues.names.size(), catalogues.texts().size()};
        if (const Result<DeskBook> book = parseDeskStatus(std::span(data, size), counts)) {
            const Result<DeskBook> again = parseDeskStatus(deskStatusBytes(*book), counts);
            if (!again || !(*again == *book)) __builtin_trap();
        }
        (void)parseGlossary(std::span(data, size));
        return 0;
    }
    if (size > 0 && data[0] == '[') return (void)readNameList(catalogues.names, std::span(data, size), glyphs), 0;
    (void)readTextCollection(catalogues.texts(), std::span(data, size), glyphs, fuzz::demoState().image);
    return 0;
}
