#include <gtest/gtest.h>

#include <random>

#include "pack/dictionary_search.h"
#include "pack/pack_profiles.h"
#include "pack/lz_formats.h"
#include "test_support.h"

namespace velk {
namespace {

// The plain definition: the longest prefix (3..maxLength) of the pattern that
// starts at some offset and ends before the window's last byte; the lowest
// such offset.
Match bruteForce(const uint8_t* pattern, const uint8_t* dict, int32_t maxLength, int32_t windowLimit) {
    Match best;
    for (int32_t s = 0; s < windowLimit; ++s) {
        int32_t n = 0;
        while (n < maxLength && s + n <= windowLimit - 2 && pattern[n] == dict[s + n]) ++n;
        if (n >= 3 && n > best.length) best = {n, s};
    }
    return best;
}

void expectSame(const Match& a, const Match& b, const std::string& what) {
    if (a.length <= 2 && b.length <= 2) return;  // both say "no match"
    ASSERT_EQ(a.length, b.length) << what;
    ASSERT_EQ(a.offset, b.offset) << what;
}

TEST(WindowLimit, EndsAtTheBaseBank) {
    // 0x10E000: ends exactly at the bank end, a new bank
    for (const auto& [base, size, limit] : {std::array{0x24FB72, 4096, 1166}, {0x204345, 4096, 4096}, {0x208006, 4096, 4096},
                                            {0x10D402, 8192, 8192}, {0x10E000, 8192, 8192}, {0x10DFFF, 8192, 8192}})
        EXPECT_EQ(windowLimitFor(base, size), limit) << std::hex << base;
}

// Random dictionaries and patterns, of scattered bytes from a small alphabet
// (half the rounds with a piece of the dictionary planted in the pattern) or
// of runs of random length: the index, the reference search and the plain
// definition agree.
TEST(FindLongestMatch, ReferenceIndexAndDefinitionAgreeOnRandomInput) {
    std::mt19937 rng(12345);
    auto fill = [&](Bytes& b, size_t n, bool runs, unsigned alphabet) {
        b.clear();
        while (b.size() < n)
            b.insert(b.end(), runs ? 1 + rng() % 9 : 1, static_cast<uint8_t>(rng() % alphabet));
        b.resize(n);
    };
    for (int round = 0; round < 20000; ++round) {
        const bool runs = round % 2 == 1;
        const unsigned alphabet = runs ? 3 : 1 + rng() % 4;
        const auto limit = static_cast<int32_t>(runs ? 4 + rng() % 300 : 1 + rng() % (round % 10 == 0 ? 600 : 40));
        const int32_t maxLength = 3 + static_cast<int32_t>(rng() % 16);
        Bytes dict, pattern;
        fill(dict, static_cast<size_t>(limit), runs, alphabet);
        fill(pattern, static_cast<size_t>(maxLength), runs, alphabet);
        if (runs) pattern[1] = pattern[2] = pattern[0];
        if (!runs && rng() % 3 == 0 && limit > 4) {
            const size_t at = rng() % static_cast<size_t>(limit - 3);
            for (size_t i = 0; i < pattern.size() && at + i < dict.size(); ++i) pattern[i] = dict[at + i];
        }
        const Match ref = findLongestMatchReference(pattern.data(), dict.data(), maxLength, limit);
        const std::string what = "round " + std::to_string(round);
        expectSame(ref, bruteForce(pattern.data(), dict.data(), maxLength, limit), what);
        expectSame(ref, DictionaryIndex(dict).find(pattern.data(), maxLength), what);
    }
}

// Tile data is runs of one byte; the index weighs each run by its first
// offset and by the one offset whose run is exactly as long as the pattern's.
TEST(FindLongestMatch, RunsOfOneByte) {
    // runs of 0: 5 at 0, 4 at 6 followed by 9 9, 7 at 13; window ends at 24
    const Bytes runs = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 9, 9, 2, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0}, tail = {5, 5, 5, 5, 1, 0, 0, 0};
    const struct { const Bytes& dict; Bytes pattern; int32_t length, offset; } cases[] = {  // length 0: no match
        {runs, {0, 0, 0, 0, 9, 9}, 6, 6},        // lead 4, then 9 9: only the run of exactly 4 goes on
        {runs, {0, 0, 0, 0, 7}, 4, 0},           // lead 4 then 7: the first run's first offset
        {runs, {0, 0, 0, 0, 0, 0, 3}, 7, 14},    // the run of 7 ends exactly where the pattern's 3 is
        {runs, {0, 0, 0, 0, 0, 0, 1}, 6, 13},    // 6 zeros only in the run of 7
        {tail, {0, 0, 0}, 0, 0},                 // the window's last byte is never used
        {tail, {5, 5, 5, 5, 1, 0}, 6, 0},
    };
    for (const auto& c : cases) {
        Bytes pattern = c.pattern;
        pattern.resize(pattern.size() + 4, 0x55);
        const Match m = DictionaryIndex(c.dict).find(pattern.data(), static_cast<int32_t>(c.pattern.size()));
        EXPECT_EQ(m.length > 2 ? m.length : 0, c.length);
        EXPECT_EQ(m.length > 2 ? m.offset : 0, c.offset);
    }
}

TEST(DictionaryIndexCache, FollowsChangesToTheDictionaryBytes) {
    RomImage image;
    const Bytes pattern = {9, 8, 7};
    const std::span<const uint8_t> window(image.at(0x208006), 4096);
    EXPECT_LE(dictionaryIndexFor(window)->find(pattern.data(), 3).length, 2);
    std::copy(pattern.begin(), pattern.end(), image.at(0x208006 + 100));
    const Match m = dictionaryIndexFor(window)->find(pattern.data(), 3);
    EXPECT_TRUE(m.length == 3 && m.offset == 100) << m.length << " at " << m.offset;
}

}  // namespace
}  // namespace velk
