// The text collection file: one block per text, "##No.01 23", the text, "//".
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "rom/resource_entry.h"
#include "rom/rom_image.h"
#include "text/char_tables.h"

namespace velk {

FileDialogOptions textCollectionExportOptions();
FileDialogOptions textCollectionImportOptions();

// The whole file: block i is "##No.%X%X %X%X" and LF, the decoded text, and
// "//" with three CR LF.
std::vector<uint8_t> textCollectionBytes(ConstCatalog texts, ConstCatalog names, const CharTables& tables);

// Asks for a file and writes every text to it.
void exportTextCollection(ConstCatalog texts, ConstCatalog names, const CharTables& tables, Platform& platform);

// Asks for a file and encodes its blocks into the texts in file order;
// stops at the first block that fails (reported) or when no "##" follows.
void importTextCollection(Catalog texts, const CharTables& tables, const RomImage& image, Platform& platform);

}  // namespace velk
