// The record of one packed resource.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velk {

// The fields of a catalogue record, in their order. The two byte
// buffers own their contents; the length fields always equal their sizes
// (set them through storePacked / storeUnpacked).
struct ResourceEntry {
    std::vector<uint8_t> packed;
    std::vector<uint8_t> unpacked;
    int32_t packedLength = 0;
    int32_t unpackedLength = 0;
    int32_t romOffset = 0;
    int32_t id = 0;
    int32_t tableIndex = 0;

    bool operator==(const ResourceEntry&) const = default;
};

inline void storePacked(ResourceEntry& e, std::vector<uint8_t> bytes) {
    e.packed = std::move(bytes);
    e.packedLength = static_cast<int32_t>(e.packed.size());
}

inline void storeUnpacked(ResourceEntry& e, std::vector<uint8_t> bytes) {
    e.unpacked = std::move(bytes);
    e.unpackedLength = static_cast<int32_t>(e.unpacked.size());
}

using Catalogue = std::span<ResourceEntry>;
using ConstCatalogue = std::span<const ResourceEntry>;

}  // namespace velk
