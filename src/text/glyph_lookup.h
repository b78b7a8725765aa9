// Finding the game code of a Shift-JIS character.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "text/char_tables.h"

namespace velk {

struct GlyphCode {
    uint8_t table;  // 0-10
    uint8_t slot;
};

// The first slot holding c0 c1: table 0 to 10, each slot 0x00 to 0xFF in
// order. A plain scan; the reference for GlyphLookup.
std::optional<GlyphCode> findGlyph(const CharTables& tables, uint8_t c0, uint8_t c1);

// The same answers from a table of all 65536 byte pairs, built from the
// tables as they stand; build a new one after the tables change.
class GlyphLookup {
public:
    // With takeFullWidth, a one-byte character without a glyph of its own is
    // typed as its full-width form (see fullWidthOf).
    explicit GlyphLookup(const CharTables& tables, bool takeFullWidth = false);
    std::optional<GlyphCode> find(uint8_t c0, uint8_t c1) const;

    // The glyph of a one-byte character's full-width form: ASCII 0x21-0x7E as
    // U+FF01-U+FF5E, the space as U+3000, half-width katakana as full-width.
    // Nothing for another byte, or when that form has no glyph either.
    struct FullWidth {
        GlyphCode code;
        Glyph glyph;  // the full-width character's Shift-JIS bytes
    };
    std::optional<FullWidth> fullWidthOf(uint8_t c) const;
    bool takesFullWidth() const { return takeFullWidth_; }

private:
    static constexpr uint16_t kNone = 0xFFFF;
    std::vector<uint16_t> codes_;  // table << 8 | slot, by c0 << 8 | c1
    std::array<Glyph, 256> fullWidth_{};  // by one-byte character; {0, 0} for none
    bool takeFullWidth_ = false;
};

}  // namespace velk
