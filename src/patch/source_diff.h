// How a source file differs from a target held in memory, kept small: where
// the two differ, the source's own bytes; everywhere else the source is the
// target. A patch needs no more of the source than this, so the source can be
// read in pieces instead of being held whole next to the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velk {

struct SourceDiff {
    // Source bytes [from, to) differ from the target's (or lie beyond its
    // end); they are bytes[bytesAt ..]. Stretches are in order, with at least
    // one equal byte between two.
    struct Stretch {
        size_t from = 0, to = 0, bytesAt = 0;
    };
    size_t sourceSize = 0;
    uint32_t sourceCrc = 0;  // CRC-32 of the whole source
    std::vector<Stretch> stretches;
    std::vector<uint8_t> bytes;

    // Copies source bytes [from, from + n), cut at the source's end, to `out`;
    // returns how many. `target` is the one the diff was made against.
    size_t read(size_t from, size_t n, uint8_t* out, std::span<const uint8_t> target) const;
    // How many bytes from `at` on are the same in source and target.
    size_t sameFrom(size_t at, size_t targetSize) const;
};

// Builds the diff from the source's bytes, fed in order in pieces of any size.
class SourceDiffBuilder {
public:
    explicit SourceDiffBuilder(std::span<const uint8_t> target);
    void feed(std::span<const uint8_t> piece);
    SourceDiff finish();

private:
    std::span<const uint8_t> target_;
    SourceDiff diff_;
    size_t at_ = 0;          // source bytes fed so far
    bool inStretch_ = false;  // the last byte fed differed
    unsigned long crc_;
};

SourceDiff diffOf(std::span<const uint8_t> source, std::span<const uint8_t> target);

}  // namespace velk
