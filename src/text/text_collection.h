// The text collection file: one block per text, "##No.01 23", the text, "//".
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"
#include "text/name_entry.h"
#include "text/char_tables.h"
#include "text/name_entry.h"
#include "text/glyph_lookup.h"

namespace velk {

struct RomImage;

// The whole file: block i is "##No.%X%X %X%X" and LF, the decoded text, and
// "//" with three CR LF.
std::vector<uint8_t> textCollectionBytes(ConstCatalogue texts, ConstNameCatalogue names, const CharTables& tables);

// Encodes the file's blocks into the texts in file order, each packed with the
// text profile, until the texts or the "##" marks run out. Stops at the first
// block that cannot be encoded (its problem's offset is into `file`); the
// texts before it stay stored.
// With `warnings`, notes a '/' that ends a text before its closing "//", a
// header whose number differs from its block's position, and a block count
// other than the texts'.
Status readTextCollection(Catalogue texts, std::span<const uint8_t> file, const GlyphLookup& glyphs,
                          const RomImage& image, std::vector<Warning>* warnings = nullptr);

}  // namespace velk
