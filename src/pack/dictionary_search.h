// Searching a packed format's dictionary for the longest prefix of the bytes
// still to pack.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace velk {

struct Match {
    int32_t length = 2;  // 2 or less: no usable match
    int32_t offset = 0;  // from the dictionary's base
};

// How many dictionary bytes a packer may look at: `span` if the window does
// not cross the end of the base's bank, else the distance to that end.
int32_t windowLimitFor(int32_t dictionaryBase, int32_t span);

// The game's own search, step by step: candidates in increasing order,
// compared right to left with a bad-character skip. Kept as the reference the
// fast search is checked against. `dictionary` must hold `windowLimit` bytes
// and `pattern` at least `maxLength` (>= 3) bytes.
Match findLongestMatchReference(const uint8_t* pattern, const uint8_t* dictionary, int32_t maxLength,
                                int32_t windowLimit);

// The same result from an index of the window's 3-byte sequences: the longest
// prefix of the pattern (3..maxLength bytes) found in dictionary[0 .. windowLimit - 2],
// at its lowest offset.
class DictionaryIndex {
public:
    explicit DictionaryIndex(std::span<const uint8_t> window);
    Match find(const uint8_t* pattern, int32_t maxLength) const;
    bool holds(std::span<const uint8_t> window) const;

private:
    std::vector<uint8_t> window_;
    // Every usable start offset, ordered by the three bytes there, then by
    // offset; `byFirstTwo_[k]` is where those starting with the two bytes k
    // begin, so a lookup needs no search over the whole index.
    std::vector<uint16_t> offsets_;
    std::vector<uint32_t> byFirstTwo_;
};

// The index of a dictionary window, built on first use and reused while the
// window holds the same bytes. Shared ownership: a later lookup that drops it
// from the cache never invalidates an index a caller still holds.
std::shared_ptr<const DictionaryIndex> dictionaryIndexFor(std::span<const uint8_t> window);

}  // namespace velk
