#include "script/ips_patch.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace velk {
namespace {

Problem bad(size_t at, const char* what) {
    char reason[96];
    std::snprintf(reason, sizeof reason, "IPS record at 0x%zX %s", at, what);
    return cannotRead(reason, at);
}

}  // namespace

Result<std::vector<IpsRecord>> parseIps(std::span<const uint8_t> patch, size_t targetSize) {
    if (patch.size() < 8) return cannotRead("IPS patch of " + std::to_string(patch.size()) + " bytes, fewer than 8");
    std::vector<IpsRecord> records;
    size_t r = 5;
    for (;;) {
        if (r + 3 > patch.size()) return bad(r, "runs past the end of the patch without \"EOF\"");
        const size_t start = r;
        const uint32_t offset = static_cast<uint32_t>(patch[r] << 16 | patch[r + 1] << 8 | patch[r + 2]);
        if (offset == 0x454F46) return records;
        if (r + 5 > patch.size()) return bad(r, "runs past the end of the patch");
        const uint32_t size = static_cast<uint32_t>(patch[r + 3] << 8 | patch[r + 4]);
        IpsRecord record{offset, {}};
        size_t length = size;
        if (size == 0) {  // a run
            if (r + 8 > patch.size()) return bad(r, "runs past the end of the patch");
            record.runLength = static_cast<uint32_t>(patch[r + 5] << 8 | patch[r + 6]);
            record.runValue = patch[r + 7];
            length = record.runLength;
            r += 8;
        } else {
            if (r + 5 + size > patch.size()) return bad(r, "runs past the end of the patch");
            record.bytes = patch.subspan(r + 5, size);
            r += 5 + size;
        }
        if (offset + length > targetSize) return bad(start, "writes beyond the end of the image");
        records.push_back(record);
    }
}

void applyIpsRecords(std::span<const IpsRecord> records, std::span<uint8_t> target) {
    for (const IpsRecord& record : records) {
        uint8_t* at = target.data() + record.offset;
        if (record.bytes.empty())
            std::fill_n(at, record.runLength, record.runValue);
        else
            std::copy(record.bytes.begin(), record.bytes.end(), at);
    }
}

}  // namespace velk
