// IPS patches: "PATCH", records of a 3-byte offset, a 2-byte size and the
// bytes (or, for size 0, a 2-byte count and one byte to repeat), and "EOF".
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/result.h"
#include "patch/source_diff.h"

namespace velk {

struct IpsRecord {
    uint32_t offset;
    std::span<const uint8_t> bytes;  // the bytes to write; empty for a run
    uint32_t runLength = 0;          // a run: runLength copies of runValue
    uint8_t runValue = 0;
};

// Every record of the patch, checked whole before any is used: a patch
// shorter than 8 bytes, a record running past its end, no "EOF", or a record
// reaching beyond `targetSize` bytes, a run of length 0, or a patch that does
// not begin with "PATCH" (a BPS patch is named as one) is a problem
// (CannotRead, with the reason and the offset in the patch). Nothing behind
// "EOF" is read.
Result<std::vector<IpsRecord>> parseIps(std::span<const uint8_t> patch, size_t targetSize);

// Writes the records into `target`, in order (they were checked to fit).
void applyIpsRecords(std::span<const IpsRecord> records, std::span<uint8_t> target);

// The IPS patch that turns `source` into `target` (target.size() >=
// source.size(); bytes beyond the source count as changed): changed
// stretches as records of at most 65535 bytes, runs of 9 or more equal
// changed bytes as run records, stretches apart by fewer unchanged bytes than
// a record header costs joined into one, no record starting at 0x454F46
// (read as "EOF": it starts one byte earlier), and "EOF" at the end.
std::vector<uint8_t> makeIps(std::span<const uint8_t> source, std::span<const uint8_t> target);
// The same from the source's diff against `target`.
std::vector<uint8_t> makeIps(const SourceDiff& diff, std::span<const uint8_t> target);

}  // namespace velk
