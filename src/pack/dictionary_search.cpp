#include "pack/dictionary_search.h"

#include "image/rom_image.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <list>
#include <memory>
#include <stdexcept>

namespace velk {
namespace {

uint32_t key3(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2]; }

// How far a and b agree from `from` on, up to `reach`; both must be readable
// up to reach + 7.
int32_t agreeUpTo(const uint8_t* a, const uint8_t* b, int32_t from, int32_t reach) {
    for (int32_t n = from; n < reach; n += 8) {
        uint64_t x = 0, y = 0;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (const uint64_t d = x ^ y; d != 0) {
            const int differ = std::endian::native == std::endian::little ? std::countr_zero(d) : std::countl_zero(d);
            return std::min(reach, n + differ / 8);
        }
    }
    return reach;
}

// The pattern, followed by kPadding zero bytes so that agreeUpTo may read
// past it: in `local` when it fits, else in `heap`.
const uint8_t* padPattern(const uint8_t* pattern, int32_t length, std::span<uint8_t> local, std::vector<uint8_t>& heap) {
    const auto n = static_cast<size_t>(length);
    uint8_t* to = local.data();
    if (n + DictionaryIndex::kPadding > local.size()) {
        heap.resize(n + DictionaryIndex::kPadding);
        to = heap.data();
    }
    std::memcpy(to, pattern, n);
    std::memset(to + n, 0, DictionaryIndex::kPadding);
    return to;
}

}  // namespace

int32_t windowLimitFor(int32_t dictionaryBase, int32_t span) {
    if (dictionaryBase / kBankSize == (dictionaryBase + span) / kBankSize) return span;
    return kBankSize - dictionaryBase % kBankSize;
}

Match findLongestMatchReference(const uint8_t* pattern, const uint8_t* dictionary, int32_t maxLength,
                                int32_t windowLimit) {
    Match result;
    if (windowLimit <= 3 || maxLength < 3) return result;
    std::array<int32_t, 256> last{};
    for (int32_t i = 0; i < 3; ++i) last[pattern[i]] = i + 1;
    int32_t s = 0;
    int32_t length = 2;
    while (s + length + 1 < windowLimit) {
        int32_t i = length;
        while (i >= 0 && pattern[i] == dictionary[s + i]) --i;
        if (i < 0) {
            result = {length + 1, s};
            if (length + 1 == maxLength) return result;
            last[pattern[length + 1]] = length + 2;
            ++length;
            continue;  // the same candidate, one byte longer
        }
        const int32_t d = i - (last[dictionary[s + i]] - 1);
        s += d >= 0 ? d : 2;
    }
    return result;
}

DictionaryIndex::DictionaryIndex(std::span<const uint8_t> window) : limit_(static_cast<int32_t>(window.size())) {
    // Offsets and run lengths are kept in 16 bits; the formats' windows are at most 32 KiB.
    if (window.size() > 0xFFFF) throw std::invalid_argument("dictionary window over 65535 bytes");
    window_.reserve(window.size() + kPadding);
    window_.assign(window.begin(), window.end());
    window_.resize(window.size() + kPadding, 0);
    // A match must end before the window's last byte, so a 3-byte key can
    // start at most at limit - 4.
    const int32_t limit = limit_;
    if (limit <= 3) return;
    std::vector<uint64_t> keyed;
    keyed.reserve(static_cast<size_t>(limit - 3));
    for (int32_t s = 0; s + 3 < limit; ++s)
        keyed.push_back(static_cast<uint64_t>(key3(&window_[static_cast<size_t>(s)])) << 16 | static_cast<uint64_t>(s));
    std::sort(keyed.begin(), keyed.end());
    offsets_.reserve(keyed.size());
    byFirstTwo_.assign(65537, 0);
    for (const uint64_t k : keyed) {
        offsets_.push_back(static_cast<uint16_t>(k & 0xFFFF));
        thirds_.push_back(static_cast<uint8_t>(k >> 16));
        ++byFirstTwo_[(k >> 24) + 1];
    }
    for (size_t k = 1; k < byFirstTwo_.size(); ++k) byFirstTwo_[k] += byFirstTwo_[k - 1];

    // Runs in offset order, then ordered by their byte (stable, so each
    // byte's runs stay in offset order), counted like the keys above.
    for (int32_t s = 0; s < limit;) {
        int32_t e = s + 1;
        while (e < limit && window_[static_cast<size_t>(e)] == window_[static_cast<size_t>(s)]) ++e;
        if (e - s >= 3) runs_.push_back({static_cast<uint16_t>(s), static_cast<uint16_t>(e - s)});
        s = e;
    }
    std::stable_sort(runs_.begin(), runs_.end(), [this](Run a, Run b) { return window_[a.start] < window_[b.start]; });
    runsByByte_.assign(257, 0);
    for (const Run& r : runs_) ++runsByByte_[window_[r.start] + 1u];
    for (size_t b = 1; b < runsByByte_.size(); ++b) runsByByte_[b] += runsByByte_[b - 1];
}

bool DictionaryIndex::holds(std::span<const uint8_t> window) const {
    return window.size() == static_cast<size_t>(limit_) && std::memcmp(window.data(), window_.data(), window.size()) == 0;
}

// A pattern that opens with `lead` bytes of one value b (lead >= 3) matches,
// at an offset s inside a run of b that goes on for r more bytes, exactly
// min(r, lead) bytes when r != lead; only when r == lead may it match
// further. So of a run starting at p with length R, the offset p is as good
// as any other that stops at lead (and earlier), and p + R - lead is the one
// offset that may go further; the rest reach no further than p does.
Match DictionaryIndex::findInRuns(const uint8_t* pattern, int32_t maxLength) const {
    Match best;
    const int32_t limit = limit_;
    const uint8_t b = pattern[0];
    int32_t lead = 3;
    while (lead < maxLength && pattern[lead] == b) ++lead;
    const uint8_t* w = window_.data();
    auto matchAt = [&](int32_t s, int32_t known, int32_t reach) {
        return known < reach ? agreeUpTo(pattern, w + s, known, reach) : reach;
    };
    for (uint32_t r = runsByByte_[b]; r < runsByByte_[b + 1u]; ++r) {
        const int32_t p = runs_[r].start, runLength = runs_[r].length;
        const int32_t reach = std::min(maxLength, limit - 1 - p);  // the last byte is never used
        if (reach <= best.length) break;  // later runs reach even less far
        int32_t at = p, length = 0;
        if (runLength < lead) {
            length = std::min(runLength, reach);
        } else if (runLength == lead) {
            length = matchAt(p, lead, reach);
        } else {
            length = std::min(lead, reach);
            const int32_t q = p + runLength - lead;
            const int32_t further = matchAt(q, lead, std::min(maxLength, limit - 1 - q));
            if (further > length) at = q, length = further;
        }
        if (length > best.length) {
            best = {length, at};
            if (length == maxLength) break;
        }
    }
    return best;
}

Match DictionaryIndex::find(const uint8_t* pattern, int32_t maxLength) const {
    Match best;
    const int32_t limit = limit_;
    if (limit <= 3 || maxLength < 3) return best;
    std::array<uint8_t, 160> local;
    std::vector<uint8_t> heap;
    if (pattern[0] == pattern[1] && pattern[1] == pattern[2])
        return findInRuns(padPattern(pattern, maxLength, local, heap), maxLength);
    const size_t firstTwo = static_cast<size_t>(pattern[0]) << 8 | pattern[1];
    const uint16_t* begin = offsets_.data() + byFirstTwo_[firstTwo];
    const uint16_t* end = offsets_.data() + byFirstTwo_[firstTwo + 1];
    // Within the two-byte group the offsets are ordered by their third byte.
    const uint8_t third = pattern[2];
    // Copied with its padding only once a candidate gets past the first bytes.
    const uint8_t* padded = nullptr;
    const uint8_t* w = window_.data();
    const uint8_t* thirds = thirds_.data();
    const uint8_t* found = std::lower_bound(thirds + (begin - offsets_.data()), thirds + (end - offsets_.data()), third);
    for (const uint16_t* it = offsets_.data() + (found - thirds); it != end && w[*it + 2] == third; ++it) {
        const int32_t s = *it;
        const int32_t reach = std::min(maxLength, limit - 1 - s);  // the last byte is never used
        if (reach <= best.length) break;  // later candidates reach even less far
        // Only a strictly longer match counts, so it must agree at best.length.
        if (pattern[best.length] != w[s + best.length]) continue;
        if (padded == nullptr) padded = padPattern(pattern, maxLength, local, heap);
        const int32_t length = agreeUpTo(padded, w + s, 3, reach);
        if (length > best.length) {
            best = {length, s};
            if (length == maxLength) break;
        }
    }
    return best;
}

std::shared_ptr<const DictionaryIndex> dictionaryIndexFor(std::span<const uint8_t> window) {
    // A handful of dictionaries are in use; keep the most recent few.
    static thread_local std::list<std::shared_ptr<const DictionaryIndex>> cache;
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if ((*it)->holds(window)) {
            cache.splice(cache.begin(), cache, it);
            return cache.front();
        }
    }
    cache.push_front(std::make_shared<const DictionaryIndex>(window));
    if (cache.size() > 8) cache.pop_back();
    return cache.front();
}

}  // namespace velk
