#include "image/hex.h"

namespace velk {

std::optional<int64_t> scanHex(std::span<const uint8_t> bytes, size_t& pos) {
    auto at = [&](size_t i) -> uint8_t { return i < bytes.size() ? bytes[i] : 0; };
    size_t p = pos;
    while (p < bytes.size() && isScanfSpace(bytes[p])) ++p;
    bool negative = false;
    if (at(p) == '+' || at(p) == '-') negative = at(p++) == '-';
    if (at(p) == '0' && (at(p + 1) == 'x' || at(p + 1) == 'X') && hexDigitValue(at(p + 2)) >= 0) p += 2;
    const size_t first = p;
    constexpr int64_t kCap = int64_t{1} << 48;
    int64_t value = 0;
    while (p < bytes.size() && hexDigitValue(bytes[p]) >= 0) {
        if (value < kCap) value = value * 16 + hexDigitValue(bytes[p]);
        ++p;
    }
    if (p == first) return std::nullopt;
    pos = p;
    return negative ? -value : value;
}

}  // namespace velk
