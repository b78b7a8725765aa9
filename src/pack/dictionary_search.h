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
    static constexpr size_t kPadding = 8;
    explicit DictionaryIndex(std::span<const uint8_t> window);
    Match find(const uint8_t* pattern, int32_t maxLength) const;
    bool holds(std::span<const uint8_t> window) const;

private:
    Match findInRuns(const uint8_t* pattern, int32_t maxLength) const;

    std::vector<uint8_t> window_;  // followed by kPadding zero bytes, for 8-byte compares
    int32_t limit_ = 0;            // the window's own size
    // Every usable start offset, ordered by the three bytes there, then by
    // offset; `byFirstTwo_[k]` is where those starting with the two bytes k
    // begin, so a lookup needs no search over the whole index.
    std::vector<uint16_t> offsets_;
    std::vector<uint8_t> thirds_;  // the third byte at each of offsets_, for the search within a group
    std::vector<uint32_t> byFirstTwo_;
    // Runs of one byte value, three bytes or longer: tile data is full of
    // them, and a key like 00 00 00 starts at every offset of every run. A
    // run is weighed by two of its offsets instead (see findInRuns).
    struct Run {
        uint16_t start;
        uint16_t length;
    };
    std::vector<Run> runs_;             // by byte value, then by start
    std::vector<uint32_t> runsByByte_;  // runs of byte b: [runsByByte_[b], runsByByte_[b + 1])
};

// The index of a dictionary window, built on first use and reused while the
// window holds the same bytes. Shared ownership: a later lookup that drops it
// from the cache never invalidates an index a caller still holds.
std::shared_ptr<const DictionaryIndex> dictionaryIndexFor(std::span<const uint8_t> window);

}  // namespace velk
