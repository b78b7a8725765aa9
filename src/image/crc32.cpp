#include "image/crc32.h"

#include <zlib.h>

#include <algorithm>

namespace velk {

uint32_t crc32Of(std::span<const uint8_t> bytes, uint32_t before) {
    uLong crc = before;
    for (size_t done = 0; done < bytes.size();) {
        const uInt n = static_cast<uInt>(std::min<size_t>(bytes.size() - done, 1u << 30));
        crc = crc32(crc, bytes.data() + done, n);
        done += n;
    }
    return static_cast<uint32_t>(crc);
}

}  // namespace velk
