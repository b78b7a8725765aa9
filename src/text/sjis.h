// The one place where text crosses between Shift-JIS (code page 932) and UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velk {

// Characters with no code page 932 form come out as '?'.
std::string toCp932(std::string_view utf8);
// Bytes that are not valid code page 932 come out as U+FFFD.
std::string fromCp932(std::string_view cp932);

// The same, but each byte that is not part of a whole code page 932
// character comes out as \xNN, and never takes the next byte with it.
std::string fromCp932Escaped(std::string_view cp932);
// The same, but nothing when any byte is not valid code page 932.
std::optional<std::string> fromCp932Strict(std::string_view cp932);
// UTF-8 to code page 932; nothing when a character has no code page 932 form.
std::optional<std::string> toCp932Strict(std::string_view utf8);

inline bool isSjisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}


}  // namespace velk
