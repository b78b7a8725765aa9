// Checks on the bytes of a text file before they are read as text: UTF-8
// that is not, UTF-16 that claims to be something else.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "image/result.h"

namespace velk {

// The first sequence that is not valid UTF-8 (overlong forms, surrogates and
// code points past U+10FFFF included): its offset and the bytes it spans,
// as far as they could still have been a character. Nothing when all is valid.
struct BadSequence {
    size_t offset = 0;
    size_t length = 1;
};
std::optional<BadSequence> firstInvalidUtf8(std::string_view text);

// The bytes as \xNN, upper-case hex: for showing bytes that are no text.
std::string escapedBytes(std::string_view bytes);
// The text with every sequence that is not UTF-8 shown as \xNN, so that what
// is shown stays UTF-8 (a file name may hold any bytes).
std::string utf8OrEscaped(std::string_view text);

// A problem (CannotRead, offset at the cause) for a text file that is
// UTF-16: one beginning with a UTF-16 byte-order mark, or one holding a zero
// byte, which no Shift-JIS or UTF-8 text holds.
Status checkNotUtf16(std::span<const uint8_t> bytes);

}  // namespace velk
