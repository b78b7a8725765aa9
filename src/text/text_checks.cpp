#include "text/text_checks.h"

#include <algorithm>
#include <cstdio>

namespace velk {
namespace {

// The range the byte after a lead byte may take, and how many bytes follow.
struct Lead {
    int following;
    uint8_t low, high;  // of the first byte that follows
};

std::optional<Lead> leadOf(uint8_t c) {
    if (c < 0x80) return Lead{0, 0, 0};
    if (c >= 0xC2 && c <= 0xDF) return Lead{1, 0x80, 0xBF};
    if (c == 0xE0) return Lead{2, 0xA0, 0xBF};
    if (c == 0xED) return Lead{2, 0x80, 0x9F};  // no surrogates
    if (c >= 0xE1 && c <= 0xEF) return Lead{2, 0x80, 0xBF};
    if (c == 0xF0) return Lead{3, 0x90, 0xBF};
    if (c >= 0xF1 && c <= 0xF3) return Lead{3, 0x80, 0xBF};
    if (c == 0xF4) return Lead{3, 0x80, 0x8F};  // up to U+10FFFF
    return std::nullopt;
}

}  // namespace

std::optional<BadSequence> firstInvalidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const std::optional<Lead> lead = leadOf(static_cast<uint8_t>(text[i]));
        if (!lead) return BadSequence{i, 1};
        size_t n = 1;
        for (; n <= static_cast<size_t>(lead->following); ++n) {
            if (i + n >= text.size()) return BadSequence{i, n};
            const auto c = static_cast<uint8_t>(text[i + n]);
            const uint8_t low = n == 1 ? lead->low : 0x80, high = n == 1 ? lead->high : 0xBF;
            if (c < low || c > high) return BadSequence{i, n};
        }
        i += n;
    }
    return std::nullopt;
}

std::string escapedBytes(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
        out += buf;
    }
    return out;
}

std::string utf8OrEscaped(std::string_view text) {
    std::string out;
    while (const std::optional<BadSequence> bad = firstInvalidUtf8(text)) {
        out += text.substr(0, bad->offset);
        out += escapedBytes(text.substr(bad->offset, bad->length));
        text.remove_prefix(bad->offset + bad->length);
    }
    return out += text;
}

Status checkNotUtf16(std::span<const uint8_t> bytes) {
    if (bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
        return problem(ProblemCode::Utf16ByteOrderMark);
    const auto zero = std::find(bytes.begin(), bytes.end(), 0);
    if (zero != bytes.end())
        return problem(ProblemCode::Utf16ZeroByte, static_cast<size_t>(zero - bytes.begin()));
    return {};
}

}  // namespace velk
