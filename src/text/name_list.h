// The name list file: one line per name, "[F1 23] " and the name's text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "rom/resource_entry.h"
#include "text/char_tables.h"

namespace velk {

FileDialogOptions nameListDialogOptions();

// The whole file: line i is "[%X %X%X] " (0xF0 + (i >> 8), its low byte's
// two digits), the name's text and CR LF.
std::vector<uint8_t> nameListBytes(ConstCatalog names);

// Asks for a file and writes every name to it.
void exportNameList(ConstCatalog names, Platform& platform);

// Asks for a file and encodes its lines into the names in line order, each
// behind its 8-byte label; stops at the first line that fails (reported) or
// when the file has no more lines.
void importNameList(Catalog names, const CharTables& tables, Platform& platform);

}  // namespace velk
