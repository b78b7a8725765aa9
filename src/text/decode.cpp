#include "text/decode.h"

#include "image/rom_image.h"

#include <cstdio>

#include "image/hex.h"

namespace velk {
namespace {


void appendGlyph(std::string& out, const Glyph& g) {
    out += static_cast<char>(g[0]);
    out += static_cast<char>(g[1]);
}

// !XX!
void appendOneByteEscape(std::string& out, uint8_t b0) {
    out += '!';
    appendHexByte(out, b0);
    out += '!';
}

// ?XX YY?
void appendTwoByteEscape(std::string& out, uint8_t b0, uint8_t b1) {
    out += '?';
    appendHexByte(out, b0);
    out += ' ';
    appendHexByte(out, b1);
    out += '?';
}

bool isTwoByteControl(uint8_t b0) { return b0 == 0x14 || b0 == 0x18 || (b0 >= 0x1A && b0 <= 0x1D); }
bool isOneByteControl(uint8_t b0) { return b0 == 0x11 || b0 == 0x12 || b0 == 0x13 || b0 == 0x15; }
bool isOneByteGlyph(uint8_t b0) { return b0 == 0x10 || b0 == kLineBreakCode || b0 >= 0x20; }

}  // namespace

int codeItemLength(uint8_t b0, CodeKind kind) {
    if (kind == CodeKind::Text && b0 >= 0xF0) return 2;
    if (isOneByteControl(b0) || isOneByteGlyph(b0)) return 1;
    return 2;
}

namespace {

int itemLength(uint8_t b0, CodeKind kind) { return codeItemLength(b0, kind); }

// Decodes one item at bytes[pos] (not a name's terminator) and returns its length.
size_t decodeItem(std::span<const uint8_t> bytes, size_t pos, CodeKind kind, ConstNameCatalogue names,
                  const CharTables& tables, std::string& out) {
    const uint8_t b0 = bytes[pos];
    if (itemLength(b0, kind) == 2 && pos + 1 >= bytes.size()) {
        // The item's second byte is missing: keep the lone byte as an escape.
        appendOneByteEscape(out, b0);
        return 1;
    }
    const uint8_t b1 = itemLength(b0, kind) == 2 ? bytes[pos + 1] : 0;
    if (itemLength(b0, kind) == 2) {
        if (const Token* t = findToken(b0, b1)) {
            out += t->text;
            return 2;
        }
    }
    if (kind == CodeKind::Text && b0 >= 0xF0) {
        out += '[';
        appendHexByte(out, b0);
        out += ' ';
        appendHexByte(out, b1);
        out += ":(";
        const size_t index = static_cast<size_t>(b0 & 0x0F) * 256 + b1;
        if (index < names.size()) out += nameText(names[index]);
        out += ")]";
        return 2;
    }
    if (isTwoByteControl(b0)) {
        appendTwoByteEscape(out, b0, b1);
        return 2;
    }
    if (isOneByteControl(b0)) {
        appendOneByteEscape(out, b0);
        return 1;
    }
    if (isOneByteGlyph(b0)) {
        // 0x20 is the full-width space itself. A slot that shows no character
        // would come back as 0x20, or cut the text: such a code is its escape.
        if (b0 != 0x20 && showsNoCharacter(tables[0][b0]))
            appendOneByteEscape(out, b0);
        else
            appendGlyph(out, tables[0][b0]);
        return 1;
    }
    if (b0 < kCharTableCount && !showsNoCharacter(tables[b0][b1])) {
        appendGlyph(out, tables[b0][b1]);
        return 2;
    }
    // A blank slot, or tables 0B-1F, which do not exist: keep the pair as an escape.
    appendTwoByteEscape(out, b0, b1);
    return 2;
}

}  // namespace

std::optional<DecodedName> decodeNameCode(std::span<const uint8_t> bytes, const CharTables& tables) {
    DecodedName name;
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (bytes[pos] == 0x00) {
            name.code.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(pos));
            return name;
        }
        if (itemLength(bytes[pos], CodeKind::Name) == 2 && pos + 1 >= bytes.size()) break;
        pos += decodeItem(bytes, pos, CodeKind::Name, {}, tables, name.text);
    }
    return std::nullopt;
}

Status decodeName(const RomImage& image, NameEntry& entry, const CharTables& tables) {
    if (!isInsideImage(entry.romOffset)) return problem(ProblemCode::NamePointerOutside);
    const std::span<const uint8_t> rest(image.at(entry.romOffset), static_cast<size_t>(kRomSize - entry.romOffset));
    std::optional<DecodedName> name = decodeNameCode(rest, tables);
    if (!name) return problem(ProblemCode::NameRunsPast, static_cast<size_t>(entry.romOffset));
    entry.code = std::move(name->code);
    entry.text.assign(name->text.begin(), name->text.end());
    entry.text.push_back(0);
    return {};
}

std::string decodeTextCode(std::span<const uint8_t> code, ConstNameCatalogue names, const CharTables& tables) {
    std::string out;
    out.reserve(code.size() * 2);
    for (size_t pos = 0; pos < code.size();) pos += decodeItem(code, pos, CodeKind::Text, names, tables, out);
    return out;
}

std::string decodeText(ConstCatalogue texts, int index, ConstNameCatalogue names, const CharTables& tables) {
    const ResourceEntry& e = texts[static_cast<size_t>(index)];
    return decodeTextCode(e.unpacked, names, tables);
}

std::string_view nameText(const NameEntry& entry) {
    std::string_view all(reinterpret_cast<const char*>(entry.text.data()), entry.text.size());
    return all.substr(0, all.find('\0'));
}

}  // namespace velk
