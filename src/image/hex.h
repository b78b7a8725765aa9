// Hexadecimal digits, as every file the editor reads and writes spells them:
// written upper case, read in either case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace velk {

// 0-15 for a hexadecimal digit, -1 for any other byte.
constexpr int hexDigitValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr char upperHexDigit(unsigned v) { return "0123456789ABCDEF"[v & 0x0F]; }

// Two upper-case digits of a byte.
inline void appendHexByte(std::string& out, uint8_t b) {
    out += upperHexDigit(b >> 4);
    out += upperHexDigit(b);
}

// One number read as scanf's "%X" reads it from bytes[pos]: white space
// skipped, an optional sign and 0x, then hex digits in either case. Moves pos
// behind the digits; nothing (pos unchanged) without a digit. The magnitude
// stops growing at 2^48, far beyond any number the files hold.
std::optional<int64_t> scanHex(std::span<const uint8_t> bytes, size_t& pos);

// scanf's white space: blank, tab, LF, VT, FF, CR.
constexpr bool isScanfSpace(uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace velk
