#include "text/glyph_lookup.h"

namespace velk {

std::optional<GlyphCode> findGlyph(const CharTables& tables, uint8_t c0, uint8_t c1) {
    for (size_t table = 0; table < tables.size(); ++table)
        for (size_t slot = 0; slot < 256; ++slot)
            if (tables[table][slot] == Glyph{c0, c1})
                return GlyphCode{static_cast<uint8_t>(table), static_cast<uint8_t>(slot)};
    return std::nullopt;
}

GlyphLookup::GlyphLookup(const CharTables& tables) : codes_(65536, kNone) {
    // Walk backwards so that the first occurrence is written last and wins.
    for (size_t table = tables.size(); table-- > 0;)
        for (size_t slot = 256; slot-- > 0;) {
            const Glyph g = tables[table][slot];
            codes_[static_cast<size_t>(g[0] << 8 | g[1])] = static_cast<uint16_t>(table << 8 | slot);
        }
}

std::optional<GlyphCode> GlyphLookup::find(uint8_t c0, uint8_t c1) const {
    const uint16_t code = codes_[static_cast<size_t>(c0 << 8 | c1)];
    if (code == kNone) return std::nullopt;
    return GlyphCode{static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code & 0xFF)};
}

}  // namespace velk
