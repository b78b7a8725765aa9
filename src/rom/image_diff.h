// Which entries of each kind differ between two loaded images.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "rom/document.h"

namespace velk {

struct KindDiff {
    std::string kind;              // "names", "texts", ...
    std::vector<int64_t> entries;  // the numbers that differ, ascending (offsets for "other bytes")
};

// names, texts, faces, colour sets, unit graphics, added characters (table
// slot or glyph), and other bytes: image bytes that differ outside every
// place a save rewrites (free and name regions, moved data, pointer tables,
// checksum, the rooms of faces 127-156).
std::vector<KindDiff> diffImages(const Document& a, const Document& b);

}  // namespace velk
