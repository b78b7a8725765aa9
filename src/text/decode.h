// Game code to Shift-JIS text: names and texts.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"
#include "text/name_entry.h"
#include "text/char_tables.h"

namespace velk {

struct RomImage;

struct DecodedName {
    std::vector<uint8_t> code;  // without the terminating 0x00
    std::string text;           // without a terminator
};

// Decodes the name that starts at `bytes[0]` and ends at a 0x00 that begins an
// item. Returns nothing when the bytes end before that terminator.
std::optional<DecodedName> decodeNameCode(std::span<const uint8_t> bytes, const CharTables& tables);

// Decodes the name at `entry.romOffset` into its buffers: packed = code bytes,
// unpacked = text with a NUL. A problem (entry untouched) if the name runs
// past the end of the image or its offset lies outside it.
Status decodeName(const RomImage& image, NameEntry& entry, const CharTables& tables);

// Decodes game code of a text. Word references show the names' current text.
std::string decodeTextCode(std::span<const uint8_t> code, ConstNameCatalogue names, const CharTables& tables);
std::string decodeText(ConstCatalogue texts, int index, ConstNameCatalogue names, const CharTables& tables);

// How many bytes the item that starts with b0 takes, as the decoder reads it.
int codeItemLength(uint8_t b0, CodeKind kind);

// A name entry's text: its unpacked bytes up to the first NUL.
std::string_view nameText(const NameEntry& entry);

}  // namespace velk
