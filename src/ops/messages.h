// The text of every message the operations show: the editor's own wording in
// Shift-JIS, the same for display, and the detail that says where and why.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/result.h"
#include "platform/platform.h"

namespace velk {

// The message a problem stands for, its arguments filled in:
// "%sが読み込めません", "(%s)は使用できません", "%sは使用できません%d %d", ...
std::string messageText(const Problem& problem);

// A text file whose bytes a problem's offset points into.
struct SourceText {
    std::string name;                // as the file system spells it (UTF-8)
    std::span<const uint8_t> bytes;  // Shift-JIS
};

// 1-based line, and column in characters (a two-byte character counts one).
struct Location {
    int64_t line;
    int64_t column;
};
Location locate(std::span<const uint8_t> bytes, size_t offset);

// The whole message: text, display, and a detail "FILE:LINE:COLUMN: reason"
// when the problem stands in `source`, or "NAME: reason" for a file.
Message renderMessage(const Problem& problem, const SourceText* source = nullptr);

}  // namespace velk
