#include "pack/dictionary_search.h"

#include "image/rom_image.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <list>
#include <memory>

namespace velk {
namespace {

uint32_t key3(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2]; }

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

DictionaryIndex::DictionaryIndex(std::span<const uint8_t> window)
    : window_(window.begin(), window.end()), byFirstTwo_(65537, 0) {
    // A match must end before the window's last byte, so a 3-byte key can
    // start at most at windowLimit - 4.
    const int32_t limit = static_cast<int32_t>(window_.size());
    if (limit <= 3) return;
    std::vector<uint64_t> keyed;
    keyed.reserve(static_cast<size_t>(limit - 3));
    for (int32_t s = 0; s + 3 < limit; ++s)
        keyed.push_back(static_cast<uint64_t>(key3(&window_[static_cast<size_t>(s)])) << 16 | static_cast<uint64_t>(s));
    std::sort(keyed.begin(), keyed.end());
    offsets_.reserve(keyed.size());
    for (const uint64_t k : keyed) {
        offsets_.push_back(static_cast<uint16_t>(k & 0xFFFF));
        ++byFirstTwo_[(k >> 24) + 1];
    }
    for (size_t k = 1; k < byFirstTwo_.size(); ++k) byFirstTwo_[k] += byFirstTwo_[k - 1];
}

bool DictionaryIndex::holds(std::span<const uint8_t> window) const {
    return window.size() == window_.size() && std::memcmp(window.data(), window_.data(), window_.size()) == 0;
}

Match DictionaryIndex::find(const uint8_t* pattern, int32_t maxLength) const {
    Match best;
    const int32_t limit = static_cast<int32_t>(window_.size());
    if (limit <= 3 || maxLength < 3) return best;
    const size_t firstTwo = static_cast<size_t>(pattern[0]) << 8 | pattern[1];
    const uint16_t* begin = offsets_.data() + byFirstTwo_[firstTwo];
    const uint16_t* end = offsets_.data() + byFirstTwo_[firstTwo + 1];
    // Within the two-byte group the offsets are ordered by their third byte.
    const uint8_t third = pattern[2];
    const uint8_t* w = window_.data();
    const uint16_t* it =
        std::lower_bound(begin, end, third, [w](uint16_t s, uint8_t t) { return w[s + 2] < t; });
    for (; it != end && w[*it + 2] == third; ++it) {
        const int32_t s = *it;
        const int32_t reach = std::min(maxLength, limit - 1 - s);  // the last byte is never used
        if (reach <= best.length) break;  // later candidates reach even less far
        // Only a strictly longer match counts, so it must agree at best.length.
        if (pattern[best.length] != w[s + best.length]) continue;
        int32_t length = 3;
        while (length < reach && pattern[length] == w[s + length]) ++length;
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
