#include "patch/bps.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <string>

namespace velk {
namespace {

enum Action : uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// A matching stretch shorter than this is carried as new bytes: an action
// costs a byte or two for its length and as many again for an offset.
constexpr size_t kMinCopy = 6;
constexpr size_t kMinSourceRead = 3;
// Table sizes: a megabyte for the source's, half that for the target's,
// which keeps a patch of a whole image within a few megabytes.
constexpr unsigned kMinHashBits = 10, kSourceHashBits = 18, kTargetHashBits = 17;
// Every fourth source position is remembered (a match found up to three
// bytes late is stretched back over them), read through in pieces.
constexpr size_t kSourceStride = 4, kPiece = size_t{1} << 16;

void putNumber(std::vector<uint8_t>& out, uint64_t n) {
    for (;;) {
        const uint8_t x = n & 0x7F;
        n >>= 7;
        if (n == 0) {
            out.push_back(0x80 | x);
            return;
        }
        out.push_back(x);
        --n;
    }
}

void putSigned(std::vector<uint8_t>& out, int64_t n) {
    putNumber(out, static_cast<uint64_t>(n < 0 ? -n : n) << 1 | (n < 0 ? 1 : 0));
}

void putCrc(std::vector<uint8_t>& out, uint32_t crc) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(crc >> (8 * i)));
}

uint32_t hashOf(const uint8_t* p, unsigned bits) {
    uint64_t v = 0;
    for (size_t k = 0; k < kMinCopy; ++k) v = v << 8 | p[k];
    return static_cast<uint32_t>((v * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}

// Where each hash was last seen (+1; 0 for never), in 2^bits slots.
class PositionTable {
public:
    explicit PositionTable(unsigned bits) : bits_(bits), slots_(size_t{1} << bits, 0) {}
    unsigned bits() const { return bits_; }
    void put(uint32_t hash, size_t pos) { slots_[hash] = static_cast<uint32_t>(pos + 1); }
    bool get(uint32_t hash, size_t& pos) const {
        if (slots_[hash] == 0) return false;
        pos = slots_[hash] - 1;
        return true;
    }

private:
    unsigned bits_;
    std::vector<uint32_t> slots_;
};

// Enough slots for `n` positions, within kMinHashBits .. maxBits.
unsigned hashBitsFor(size_t n, unsigned maxBits) {
    unsigned bits = kMinHashBits;
    while (bits < maxBits && (size_t{1} << bits) < 2 * n) ++bits;
    return bits;
}

size_t matchLength(std::span<const uint8_t> a, size_t i, std::span<const uint8_t> b, size_t j) {
    size_t n = 0;
    while (i + n < a.size() && j + n < b.size() && a[i + n] == b[j + n]) ++n;
    return n;
}

class Encoder {
public:
    Encoder(const SourceDiff& source, std::span<const uint8_t> target)
        : source_(source), target_(target), sourceTable_(hashBitsFor(source.sourceSize / kSourceStride, kSourceHashBits)),
          targetTable_(hashBitsFor(target.size() / 4, kTargetHashBits)) {
        out_ = {'B', 'P', 'S', '1'};
        putNumber(out_, source.sourceSize);
        putNumber(out_, target.size());
        putNumber(out_, 0);  // no metadata
        // Where the source is the target, the target is read in place or
        // copied from itself; only what the source had elsewhere is looked
        // up in it.
        std::vector<uint8_t> piece(kPiece + kMinCopy - 1);
        for (size_t at = 0; at + kMinCopy <= source.sourceSize; at += kPiece) {
            const size_t got = source.read(at, piece.size(), piece.data(), target);
            for (size_t k = 0; k < kPiece && k + kMinCopy <= got; k += kSourceStride)
                sourceTable_.put(hashOf(piece.data() + k, sourceTable_.bits()), at + k);
        }
    }

    std::vector<uint8_t> run() {
        size_t i = 0;
        while (i < target_.size()) {
            const size_t inPlace = source_.sameFrom(i, target_.size());
            if (inPlace >= kMinSourceRead) {
                flushLiterals(i);
                action(SourceRead, inPlace);
                i = advance(i, inPlace);
                literalStart_ = i;
                continue;
            }
            size_t sourceAt = 0, targetAt = 0, sourceLength = 0, targetLength = 0;
            if (i + kMinCopy <= target_.size()) {
                if (sourceTable_.get(hashOf(&target_[i], sourceTable_.bits()), sourceAt))
                    sourceLength = matchSource(i, sourceAt);
                if (targetTable_.get(hashOf(&target_[i], targetTable_.bits()), targetAt))
                    targetLength = matchLength(target_, i, target_, targetAt);
            }
            const size_t best = std::max(sourceLength, targetLength);
            if (best < kMinCopy) {
                i = advance(i, 1);  // carried as a new byte
                continue;
            }
            // A match found a few bytes late starts where the bytes before it agree too.
            if (sourceLength >= targetLength) {
                const size_t back = matchSourceBackwards(i, sourceAt);
                flushLiterals(i - back);
                action(SourceCopy, sourceLength + back);
                putSigned(out_, static_cast<int64_t>(sourceAt - back) - static_cast<int64_t>(sourceRelative_));
                sourceRelative_ = sourceAt + sourceLength;
            } else {
                const size_t back = matchTargetBackwards(i, targetAt);
                flushLiterals(i - back);
                action(TargetCopy, targetLength + back);
                putSigned(out_, static_cast<int64_t>(targetAt - back) - static_cast<int64_t>(targetRelative_));
                targetRelative_ = targetAt + targetLength;
            }
            i = advance(i, best);
            literalStart_ = i;
        }
        flushLiterals(target_.size());
        putCrc(out_, source_.sourceCrc);
        putCrc(out_, crc32Of(target_));
        putCrc(out_, crc32Of(out_));
        return std::move(out_);
    }

private:
    void action(Action a, size_t length) { putNumber(out_, (length - 1) << 2 | a); }

    // How far the target from i agrees with the source from j.
    size_t matchSource(size_t i, size_t j) const {
        std::array<uint8_t, 256> block;
        for (size_t n = 0;;) {
            const size_t got = source_.read(j + n, std::min(block.size(), target_.size() - (i + n)), block.data(), target_);
            size_t same = 0;
            while (same < got && block[same] == target_[i + n + same]) ++same;
            n += same;
            if (same < got || got < block.size()) return n;
        }
    }

    // How many of the new bytes just before target i also stand just before
    // source j (or target j).
    size_t matchSourceBackwards(size_t i, size_t j) const {
        size_t n = 0;
        uint8_t b = 0;
        while (n < i - literalStart_ && n < j && source_.read(j - n - 1, 1, &b, target_) == 1 && b == target_[i - n - 1]) ++n;
        return n;
    }
    size_t matchTargetBackwards(size_t i, size_t j) const {
        size_t n = 0;
        while (n < i - literalStart_ && n < j && target_[j - n - 1] == target_[i - n - 1]) ++n;
        return n;
    }

    // Moves over `n` target bytes, remembering where their sequences start.
    size_t advance(size_t i, size_t n) {
        for (size_t k = i; k < i + n; ++k)
            if (k + kMinCopy <= target_.size() && (n < 64 || k % 4 == 0))
                targetTable_.put(hashOf(&target_[k], targetTable_.bits()), k);
        return i + n;
    }

    // The bytes since the last action, carried as they are.
    void flushLiterals(size_t upTo) {
        if (upTo > literalStart_) {
            action(TargetRead, upTo - literalStart_);
            out_.insert(out_.end(), target_.begin() + static_cast<std::ptrdiff_t>(literalStart_),
                        target_.begin() + static_cast<std::ptrdiff_t>(upTo));
        }
        literalStart_ = upTo;
    }

    const SourceDiff& source_;
    std::span<const uint8_t> target_;
    std::vector<uint8_t> out_;
    PositionTable sourceTable_, targetTable_;
    size_t sourceRelative_ = 0, targetRelative_ = 0;
    size_t literalStart_ = 0;
};

}  // namespace


std::vector<uint8_t> makeBps(const SourceDiff& source, std::span<const uint8_t> target) {
    return Encoder(source, target).run();
}

std::vector<uint8_t> makeBps(std::span<const uint8_t> source, std::span<const uint8_t> target) {
    return makeBps(diffOf(source, target), target);
}

Result<std::vector<uint8_t>> applyBps(std::span<const uint8_t> source, std::span<const uint8_t> patch) {
    auto bad = [](size_t at, ProblemCode code, int64_t expected = 0, int64_t found = 0) {
        Problem p = problem(code, at);
        p.expected = expected;
        p.found = found;
        return p;
    };
    if (patch.size() < 4 + 3 + 12 || !std::equal(patch.begin(), patch.begin() + 4, "BPS1"))
        return bad(0, ProblemCode::BpsNoHeader);
    const size_t end = patch.size() - 12;
    auto crcAt = [&](size_t q) {
        return static_cast<uint32_t>(patch[q] | patch[q + 1] << 8 | patch[q + 2] << 16 | static_cast<uint32_t>(patch[q + 3]) << 24);
    };
    // Nothing is taken from the header before the patch is known whole and
    // made for this source.
    if (crcAt(end + 8) != crc32Of(patch.first(end + 8))) return bad(end + 8, ProblemCode::BpsPatchChecksum);
    size_t p = 4;
    auto number = [&](uint64_t& n) {
        n = 0;
        for (uint64_t shift = 1; p < end;) {
            const uint8_t x = patch[p++];
            if (shift > (uint64_t{1} << 56)) return false;
            n += (x & 0x7F) * shift;
            if (x & 0x80) return true;
            shift <<= 7;
            n += shift;
        }
        return false;
    };
    uint64_t sourceSize = 0, targetSize = 0, metadata = 0;
    if (!number(sourceSize) || !number(targetSize) || !number(metadata)) return bad(p, ProblemCode::BpsHeaderRunsPast);
    if (sourceSize != source.size()) return bad(4, ProblemCode::BpsSourceSize, static_cast<int64_t>(sourceSize));
    if (crcAt(end) != crc32Of(source)) return bad(end, ProblemCode::BpsSourceChecksum);
    if (metadata > end - p || targetSize > (uint64_t{1} << 32)) return bad(p, ProblemCode::BpsSizesBeyond);
    p += metadata;
    std::vector<uint8_t> target;
    // A target larger than source and patch together is made only by copies;
    // it grows as they run, and is not reserved on the header's word.
    target.reserve(static_cast<size_t>(std::min<uint64_t>(targetSize, source.size() + patch.size())));
    uint64_t sourceRelative = 0, targetRelative = 0;
    while (p < end) {
        const size_t at = p;
        uint64_t word = 0;
        if (!number(word)) return bad(at, ProblemCode::BpsActionRunsPast);
        const uint64_t length = (word >> 2) + 1;
        if (length > targetSize - target.size()) return bad(at, ProblemCode::BpsActionBeyondTarget);
        switch (word & 3) {
            case SourceRead:
                if (target.size() + length > source.size()) return bad(at, ProblemCode::BpsReadsBeyondSource);
                target.insert(target.end(), source.begin() + static_cast<std::ptrdiff_t>(target.size()),
                              source.begin() + static_cast<std::ptrdiff_t>(target.size() + length));
                break;
            case TargetRead:
                if (length > end - p) return bad(at, ProblemCode::BpsNewBytesRunPast);
                target.insert(target.end(), patch.begin() + static_cast<std::ptrdiff_t>(p),
                              patch.begin() + static_cast<std::ptrdiff_t>(p + length));
                p += length;
                break;
            case SourceCopy:
            case TargetCopy: {
                uint64_t offset = 0;
                if (!number(offset)) return bad(at, ProblemCode::BpsOffsetRunsPast);
                const int64_t delta = (offset & 1 ? -1 : 1) * static_cast<int64_t>(offset >> 1);
                uint64_t& relative = (word & 3) == SourceCopy ? sourceRelative : targetRelative;
                const int64_t from = static_cast<int64_t>(relative) + delta;
                if ((word & 3) == SourceCopy) {
                    if (from < 0 || static_cast<uint64_t>(from) + length > source.size())
                        return bad(at, ProblemCode::BpsCopyOutsideSource);
                    target.insert(target.end(), source.begin() + from, source.begin() + from + static_cast<int64_t>(length));
                } else {
                    if (from < 0 || static_cast<uint64_t>(from) >= target.size())
                        return bad(at, ProblemCode::BpsCopyOutsideTarget);
                    for (uint64_t k = 0; k < length; ++k) target.push_back(target[static_cast<size_t>(from) + k]);
                }
                relative = static_cast<uint64_t>(from) + length;
                break;
            }
        }
    }
    if (target.size() != targetSize) return bad(end, ProblemCode::BpsTargetSize, static_cast<int64_t>(targetSize),
                                                         static_cast<int64_t>(target.size()));
    if (crcAt(end + 4) != crc32Of(target)) return bad(end + 4, ProblemCode::BpsTargetChecksum);
    return target;
}

}  // namespace velk
