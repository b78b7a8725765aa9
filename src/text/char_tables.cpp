#include "text/char_tables.h"

#include <stdexcept>

#include "text/char_table_rows.h"
#include "text/sjis.h"

namespace velk {
namespace {

CharTables makeBuiltInTables() {
    CharTables tables;
    tables.fill(blankCharTable());
    for (const CharTableRows& table : builtInCharTableRows()) {
        for (const auto& [first, utf8] : table.rows) {
            const std::string bytes = toCp932(utf8);
            int slot = first;
            for (size_t i = 0; i < bytes.size(); ++slot) {
                const auto c = static_cast<uint8_t>(bytes[i]);
                Glyph g;
                if (c == '_') {
                    g = kFullWidthSpace;
                    i += 1;
                } else if (c == '^') {
                    g = {0x0D, 0x0A};
                    i += 1;
                } else {
                    if (i + 1 >= bytes.size() || !isSjisLeadByte(c))
                        throw std::logic_error("character table row is not double-byte text");
                    g = {c, static_cast<uint8_t>(bytes[i + 1])};
                    i += 2;
                }
                if (slot >= first + 16) throw std::logic_error("character table row longer than 16 slots");
                tables[static_cast<size_t>(table.table)][static_cast<size_t>(slot)] = g;
            }
            if (slot != first + 16) throw std::logic_error("character table row shorter than 16 slots");
        }
    }
    return tables;
}

std::array<Token, 5> makeTokens() {
    return {{{0x18, 0x0D, toCp932("(主人公)")},
             {0x18, 0x0E, toCp932("(騎士団)")},
             {0x01, 0x0E, toCp932("(冷や汗)")},
             {0x01, 0x13, toCp932("(ハート)")},
             {0x01, 0x1E, toCp932("(旗)")}}};
}

}  // namespace

CharTable blankCharTable() {
    CharTable t;
    t.fill(kFullWidthSpace);
    return t;
}

const CharTables& builtInCharTables() {
    static const CharTables tables = makeBuiltInTables();
    return tables;
}

const std::array<Token, 5>& tokens() {
    static const std::array<Token, 5> all = makeTokens();
    return all;
}

const Token* findToken(uint8_t b0, uint8_t b1) {
    for (const Token& t : tokens())
        if (t.b0 == b0 && t.b1 == b1) return &t;
    return nullptr;
}

}  // namespace velk
