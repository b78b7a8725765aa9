#include "gfx/colours.h"

namespace velk {

std::array<uint8_t, 32> sideFileBytes() {
    std::array<uint8_t, 32> bytes{};
    for (uint8_t i = 0; i < 16; ++i) {
        bytes[i] = i;
        bytes[16 + i] = static_cast<uint8_t>(0x30 + i);
    }
    return bytes;
}

}  // namespace velk
