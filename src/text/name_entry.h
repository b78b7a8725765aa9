// The record of one name: the code bytes the image holds and the text they
// stand for.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velk {

struct NameEntry {
    std::vector<uint8_t> code;  // as the image holds it, without the 0x00 that ends it
    std::vector<uint8_t> text;  // Shift-JIS, ending in 0x00
    int32_t romOffset = 0;      // where the code stood when the image was loaded

    bool operator==(const NameEntry&) const = default;
};

using NameCatalogue = std::span<NameEntry>;
using ConstNameCatalogue = std::span<const NameEntry>;

}  // namespace velk
