#include "patch/ips.h"

#include <algorithm>
#include <string>
#include <utility>

namespace velk {
namespace {

// A record that cannot be read: where it stands in the patch, which stays
// known when the patch is named in a script.
Problem recordProblem(ProblemCode code, size_t at) {
    Problem p = problem(code, at);
    p.innerOffset = at;
    return p;
}

}  // namespace
Result<std::vector<IpsRecord>> parseIps(std::span<const uint8_t> patch, size_t targetSize) {
    if (patch.size() >= 4 && std::equal(patch.begin(), patch.begin() + 4, "BPS1"))
        return problem(ProblemCode::IpsIsBps);
    if (patch.size() < 5 || !std::equal(patch.begin(), patch.begin() + 5, "PATCH"))
        return problem(ProblemCode::IpsNoHeader);
    if (patch.size() < 8) {
        Problem p = problem(ProblemCode::IpsTooShort);
        p.found = static_cast<int64_t>(patch.size());
        return p;
    }
    std::vector<IpsRecord> records;
    size_t r = 5;
    for (;;) {
        if (r + 3 > patch.size()) return recordProblem(ProblemCode::IpsNoEof, r);
        const size_t start = r;
        const uint32_t offset = static_cast<uint32_t>(patch[r] << 16 | patch[r + 1] << 8 | patch[r + 2]);
        if (offset == 0x454F46) return records;
        if (r + 5 > patch.size()) return recordProblem(ProblemCode::IpsRecordRunsPast, r);
        const uint32_t size = static_cast<uint32_t>(patch[r + 3] << 8 | patch[r + 4]);
        IpsRecord record{offset, {}};
        size_t length = size;
        if (size == 0) {  // a run
            if (r + 8 > patch.size()) return recordProblem(ProblemCode::IpsRecordRunsPast, r);
            record.runLength = static_cast<uint32_t>(patch[r + 5] << 8 | patch[r + 6]);
            record.runValue = patch[r + 7];
            if (record.runLength == 0) return recordProblem(ProblemCode::IpsZeroRun, start);
            length = record.runLength;
            r += 8;
        } else {
            if (r + 5 + size > patch.size()) return recordProblem(ProblemCode::IpsRecordRunsPast, r);
            record.bytes = patch.subspan(r + 5, size);
            r += 5 + size;
        }
        if (offset + length > targetSize) return recordProblem(ProblemCode::IpsWritesBeyond, start);
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

namespace {

constexpr size_t kEofOffset = 0x454F46;
constexpr size_t kMaxRecord = 0xFFFF;
constexpr size_t kMinRun = 9;  // a run record (8 bytes) pays from here on
constexpr size_t kRecordHeader = 5;

void putOffset(std::vector<uint8_t>& out, size_t offset, size_t size) {
    out.insert(out.end(), {static_cast<uint8_t>(offset >> 16), static_cast<uint8_t>(offset >> 8),
                           static_cast<uint8_t>(offset), static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size)});
}

// Bytes [from, to) of the target as records: runs as run records, the rest
// as plain records, none longer than 65535 bytes.
void putStretch(std::vector<uint8_t>& out, std::span<const uint8_t> target, size_t from, size_t to) {
    size_t plain = from;  // start of the bytes not yet written
    auto flushPlain = [&](size_t end) {
        while (plain < end) {
            size_t at = plain;
            if (at == kEofOffset) --at;  // would read as "EOF": take the byte before along
            const size_t n = std::min(kMaxRecord, end - at);
            putOffset(out, at, n);
            out.insert(out.end(), target.begin() + static_cast<std::ptrdiff_t>(at),
                       target.begin() + static_cast<std::ptrdiff_t>(at + n));
            plain = at + n;
        }
    };
    for (size_t i = from; i < to;) {
        size_t j = i + 1;
        while (j < to && target[j] == target[i] && j - i < kMaxRecord) ++j;
        if (j - i >= kMinRun && i != kEofOffset) {
            flushPlain(i);
            putOffset(out, i, 0);
            out.insert(out.end(), {static_cast<uint8_t>((j - i) >> 8), static_cast<uint8_t>(j - i), target[i]});
            plain = j;
        }
        i = j;
    }
    flushPlain(to);
}

}  // namespace

std::vector<uint8_t> makeIps(const SourceDiff& diff, std::span<const uint8_t> target) {
    std::vector<uint8_t> out = {'P', 'A', 'T', 'C', 'H'};
    // The target's changed stretches, in order: where the source differs,
    // then whatever lies beyond the source's end.
    std::vector<std::pair<size_t, size_t>> changed;
    for (const SourceDiff::Stretch& s : diff.stretches)
        if (s.from < target.size()) changed.emplace_back(s.from, std::min(s.to, target.size()));
    if (diff.sourceSize < target.size()) changed.emplace_back(diff.sourceSize, target.size());
    for (size_t k = 0; k < changed.size();) {
        // Gaps shorter than a record header are taken along.
        const size_t from = changed[k].first;
        size_t to = changed[k].second;
        for (++k; k < changed.size() && changed[k].first - to < kRecordHeader; ++k) to = std::max(to, changed[k].second);
        putStretch(out, target, from, to);
    }
    out.insert(out.end(), {'E', 'O', 'F'});
    return out;
}

std::vector<uint8_t> makeIps(std::span<const uint8_t> source, std::span<const uint8_t> target) {
    return makeIps(diffOf(source, target), target);
}

}  // namespace velk
