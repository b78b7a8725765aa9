// IPS patches: every record the parser accepts must fit the target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "patch/ips.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    static std::vector<uint8_t> target(1 << 16);
    velk::Result<std::vector<IpsRecord>> records = parseIps(std::span(data, size), target.size());
    if (records) applyIpsRecords(*records, target);
    return 0;
}
