#include "text/glyph_lookup.h"

#include <string_view>

#include "text/sjis.h"

namespace velk {
namespace {

// Half-width katakana 0xA1-0xDF (U+FF61-U+FF9F), each in its full-width form.
constexpr std::string_view kWideKatakana =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

Glyph sjisGlyph(std::string_view utf8) {
    const std::optional<std::string> s = toCp932Strict(utf8);
    if (!s || s->size() != 2) return {0, 0};
    return {static_cast<uint8_t>((*s)[0]), static_cast<uint8_t>((*s)[1])};
}

std::array<Glyph, 256> fullWidthForms() {
    std::array<Glyph, 256> forms{};
    forms[0x20] = kFullWidthSpace;
    for (unsigned c = 0x21; c <= 0x7E; ++c) {
        const unsigned u = 0xFF01 + (c - 0x21);  // three UTF-8 bytes: EF BC/BD xx
        const char utf8[3] = {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
                              static_cast<char>(0x80 | (u & 0x3F))};
        forms[c] = sjisGlyph(std::string_view(utf8, 3));
    }
    for (unsigned c = 0xA1; c <= 0xDF; ++c) forms[c] = sjisGlyph(kWideKatakana.substr(3 * (c - 0xA1), 3));
    return forms;
}

}  // namespace

std::optional<GlyphCode> findGlyph(const CharTables& tables, uint8_t c0, uint8_t c1) {
    for (size_t table = 0; table < tables.size(); ++table)
        for (size_t slot = 0; slot < 256; ++slot)
            if (tables[table][slot] == Glyph{c0, c1})
                return GlyphCode{static_cast<uint8_t>(table), static_cast<uint8_t>(slot)};
    return std::nullopt;
}

GlyphLookup::GlyphLookup(const CharTables& tables, bool takeFullWidth)
    : codes_(65536, kNone), takeFullWidth_(takeFullWidth) {
    static const std::array<Glyph, 256> forms = fullWidthForms();
    fullWidth_ = forms;
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

std::optional<GlyphLookup::FullWidth> GlyphLookup::fullWidthOf(uint8_t c) const {
    const Glyph wide = fullWidth_[c];
    if (wide == Glyph{0, 0}) return std::nullopt;
    // The full-width space is code 0x20 itself, whatever the tables hold.
    const std::optional<GlyphCode> code = wide == kFullWidthSpace ? GlyphCode{0, 0x20} : find(wide[0], wide[1]);
    if (!code) return std::nullopt;
    return FullWidth{*code, wide};
}

}  // namespace velk
