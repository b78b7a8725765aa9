// The character tables as a table file for hex editors and other text tools:
// UTF-8, one "HEX=text" line a code (two-byte codes big-endian), the codes
// this editor writes as words instead of characters in comments.
#pragma once

#include <string>

#include "text/char_tables.h"

namespace velk {

// One-byte codes from table 0 (0x10, 0x16, 0x20-0xEF), then two-byte codes
// "TTSS" of tables 1-10; blank slots (a full-width space anywhere but code
// 0x20) and token codes are left out. Lines end in LF.
std::string tableFileText(const CharTables& tables);

}  // namespace velk
