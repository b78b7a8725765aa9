// CRC-32 (zlib's), as ROM files, BPS patches and projects name an image by it.
#pragma once

#include <cstdint>
#include <span>

namespace velk {

// The CRC-32 of `bytes`, continuing from `before` (a CRC-32 of the bytes in
// front of them).
uint32_t crc32Of(std::span<const uint8_t> bytes, uint32_t before = 0);

}  // namespace velk
