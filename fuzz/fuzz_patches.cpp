// The patch writers against their readers, and both readers on any bytes
// (every IPS record the parser accepts must fit its target).
// The input is split into a source and a target (the first byte says where,
// the second how large the pieces are that the source is read in); both
// patches must turn the source into exactly the target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "patch/bps.h"
#include "patch/ips.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    const std::span<const uint8_t> input(data, size);
    (void)applyBps(input.first(size / 2), input.subspan(size / 2));  // patches of any bytes
    static std::vector<uint8_t> scratch(1 << 16);
    if (Result<std::vector<IpsRecord>> records = parseIps(input, scratch.size())) applyIpsRecords(*records, scratch);
    if (size < 2) return 0;
    const size_t split = 2 + (size - 2) * data[0] / 255;
    const size_t piece = 1 + data[1] % 64;
    const std::span<const uint8_t> source = input.subspan(2, split - 2);
    std::vector<uint8_t> target(input.begin() + static_cast<std::ptrdiff_t>(split), input.end());
    // Targets that repeat and move pieces of the source, as a save does.
    if (target.size() % 3 == 0) target.insert(target.end(), source.begin(), source.end());
    SourceDiffBuilder builder(target);
    for (size_t at = 0; at < source.size(); at += piece) builder.feed(source.subspan(at, std::min(piece, source.size() - at)));
    const SourceDiff diff = builder.finish();

    const Result<std::vector<uint8_t>> bps = applyBps(source, makeBps(diff, target));
    if (!bps || *bps != target) std::abort();

    if (target.size() >= source.size() && target.size() <= (1u << 24)) {
        const std::vector<uint8_t> ips = makeIps(diff, target);
        const Result<std::vector<IpsRecord>> records = parseIps(ips, target.size());
        if (!records) std::abort();
        std::vector<uint8_t> patched(source.begin(), source.end());
        patched.resize(target.size());
        applyIpsRecords(*records, patched);
        if (patched != target) std::abort();
    }
    return 0;
}
