// Loading an image and building its catalogues: the input is either a whole
// file, or bytes laid over the demo image at an offset the input chooses, so
// that tables and streams are damaged in place.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "rom/load.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    if (size > 0 && data[0] % 2 == 1 && size >= 4) {
        std::vector<uint8_t> image = fuzz::demoState().image.bytes;
        const size_t at = (static_cast<size_t>(data[1]) << 16 | static_cast<size_t>(data[2]) << 8 | data[3]) % image.size();
        for (size_t i = 4; i < size && at + i - 4 < image.size(); ++i) image[at + i - 4] = data[i];
        (void)loadRom(std::move(image), fuzz::demoState().tables);
    } else {
        (void)loadRom(std::vector<uint8_t>(data, data + size), fuzz::demoState().tables);
    }
    return 0;
}
