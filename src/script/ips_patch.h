// IPS patches: "PATCH", records of a 3-byte offset, a 2-byte size and the
// bytes (or, for size 0, a 2-byte count and one byte to repeat), and "EOF".
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/result.h"

namespace velk {

struct IpsRecord {
    uint32_t offset;
    std::span<const uint8_t> bytes;  // the bytes to write; empty for a run
    uint32_t runLength = 0;          // a run: runLength copies of runValue
    uint8_t runValue = 0;
};

// Every record of the patch, checked whole before any is used: a patch
// shorter than 8 bytes, a record running past its end, no "EOF", or a record
// reaching beyond `targetSize` bytes is a problem (CannotRead, with the
// reason and the offset in the patch). The header is not examined; nothing
// behind "EOF" is read.
Result<std::vector<IpsRecord>> parseIps(std::span<const uint8_t> patch, size_t targetSize);

// Writes the records into `target`, in order (they were checked to fit).
void applyIpsRecords(std::span<const IpsRecord> records, std::span<uint8_t> target);

}  // namespace velk
