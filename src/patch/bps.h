// BPS patches ("BPS1"): a target built from actions that read the source in
// place, copy from elsewhere in the source or the target so far, or carry new
// bytes; with the CRC32 of source, target and patch.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/crc32.h"
#include "image/result.h"
#include "patch/source_diff.h"

namespace velk {

// The patch that turns `source` into `target`. A delta encoder: bytes that
// stayed are read in place, bytes that moved are copied from the source,
// bytes the target repeats are copied from the target, the rest carried.
std::vector<uint8_t> makeBps(std::span<const uint8_t> source, std::span<const uint8_t> target);
// The same from the source's diff against `target`.
std::vector<uint8_t> makeBps(const SourceDiff& source, std::span<const uint8_t> target);

// The target the patch makes from `source`. A problem (CannotRead, with the
// reason) for a patch that is not BPS, runs past its end, reads outside the
// source or the target, or whose checksums do not match. The patch's and
// the source's checksums are checked before anything is allocated.
Result<std::vector<uint8_t>> applyBps(std::span<const uint8_t> source, std::span<const uint8_t> patch);


}  // namespace velk
