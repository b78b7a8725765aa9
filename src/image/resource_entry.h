// The record of one packed resource.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velk {

// The fields of a catalogue record, in their order.
struct ResourceEntry {
    std::vector<uint8_t> packed;
    std::vector<uint8_t> unpacked;
    int32_t romOffset = 0;
    int32_t id = 0;
    int32_t tableIndex = 0;
    // How many packed bytes stood at romOffset when the catalogue was built:
    // with romOffset, the room a record saved in place may fill.
    int32_t loadedLength = 0;

    bool operator==(const ResourceEntry&) const = default;
};

using Catalogue = std::span<ResourceEntry>;
using ConstCatalogue = std::span<const ResourceEntry>;

}  // namespace velk
