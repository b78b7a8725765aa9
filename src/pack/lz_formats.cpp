#include "pack/lz_formats.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>

namespace velk {
namespace {

constexpr int32_t kFormatAMaxMatch = 10;
constexpr int32_t kMaxLiteralRun = 128;


Problem runsPastAt(size_t at) { return problem(ProblemCode::PackedStreamRunsPast, at); }
Problem referenceOutsideAt(size_t at) { return problem(ProblemCode::BackReferenceOutside, at); }

// Both unpackers write into one buffer per thread, with room for the
// longest item to run past the wanted length, and copy out exactly that
// length: one allocation of the right size per record and no zero-fill.
constexpr size_t kLongestItem = 258;  // a format B reference with 8 length bits
uint8_t* scratch() {
    static thread_local std::array<uint8_t, kWorkingBufferSize + kLongestItem> buffer;
    return buffer.data();
}

// Format B's items; kLengthBits fixed at compile time, so that every
// back-reference is one copy of a constant size (the longest there is; the
// bytes past its own length are overwritten by the next item or cut off).
template <int kLengthBits>
Result<Unpacked> unpackBWith(std::span<const uint8_t> stream, std::span<const uint8_t> dictionary, int32_t n) {
    constexpr int kOffsetBits = 8 - kLengthBits;
    constexpr size_t kOffsetMask = (size_t{1} << kOffsetBits) - 1;
    constexpr size_t kLongest = (size_t{1} << kLengthBits) + 2;
    static_assert(kLongest <= kLongestItem);
    const uint8_t* const begin = stream.data();
    const uint8_t* const end = begin + stream.size();
    const uint8_t* p = begin;
    if (n == 0) {
        if (end - p < 2) return runsPastAt(static_cast<size_t>(p - begin));
        n = p[0] | p[1] << 8;
        p += 2;
    }
    if (n > kWorkingBufferSize) {
        Problem tooLong = problem(ProblemCode::LengthHeaderTooLarge);
        tooLong.found = n;
        return tooLong;
    }
    const auto size = static_cast<size_t>(std::max(n, 0));
    uint8_t* const out = scratch();
    size_t o = 0;
    while (o < size) {
        if (p == end) return runsPastAt(static_cast<size_t>(p - begin));
        const unsigned flags = *p++;
        for (int bit = 7; bit >= 0 && o < size; --bit) {
            if (p == end) return runsPastAt(static_cast<size_t>(p - begin));
            const uint8_t b1 = *p++;
            if (flags >> bit & 1) {
                out[o++] = b1;
                continue;
            }
            if (p == end) return runsPastAt(static_cast<size_t>(p - begin));
            const uint8_t b2 = *p++;
            const size_t from = (b1 & kOffsetMask) << 8 | b2;
            const size_t length = static_cast<size_t>(b1 >> kOffsetBits) + 3;
            if (from + length > dictionary.size()) return referenceOutsideAt(static_cast<size_t>(p - begin) - 2);  // its first byte
            if (from + kLongest <= dictionary.size())
                std::memcpy(out + o, dictionary.data() + from, kLongest);
            else
                std::memcpy(out + o, dictionary.data() + from, length);
            o += length;
        }
    }
    return Unpacked{static_cast<size_t>(p - begin), std::vector<uint8_t>(out, out + size)};
}

}  // namespace

Result<Unpacked> unpackA(std::span<const uint8_t> stream, std::span<const uint8_t> dictionary, int32_t unpackedLength) {
    if (unpackedLength > kWorkingBufferSize) return problem(ProblemCode::UnpackedLengthTooLarge);
    const uint8_t* const begin = stream.data();
    const uint8_t* const end = begin + stream.size();
    const uint8_t* p = begin;
    const auto size = static_cast<size_t>(std::max(unpackedLength, 0));
    uint8_t* const out = scratch();  // a literal run may pass the length by up to kMaxLiteralRun - 1
    size_t o = 0;
    while (o < size) {
        if (p == end) return runsPastAt(stream.size());
        const uint8_t c = *p++;
        if (c >= 0x80) {
            const auto run = static_cast<size_t>(c - 0x7F);
            if (static_cast<size_t>(end - p) < run) return runsPastAt(stream.size());
            std::memcpy(out + o, p, run);
            p += run;
            o += run;
        } else {
            if (p == end) return runsPastAt(stream.size());
            const size_t from = static_cast<size_t>(c & 0x0F) << 8 | *p++;
            const size_t length = static_cast<size_t>(c >> 4) + 3;
            if (from + length > dictionary.size()) return referenceOutsideAt(static_cast<size_t>(p - begin) - 2);  // its first byte
            std::memcpy(out + o, dictionary.data() + from, length);
            o += length;
        }
    }
    return Unpacked{static_cast<size_t>(p - begin), std::vector<uint8_t>(out, out + size)};
}

Result<Unpacked> unpackB(std::span<const uint8_t> stream, std::span<const uint8_t> dictionary, int32_t unpackedLength,
                         int32_t lengthBits) {
    switch (lengthBits) {
        case 1: return unpackBWith<1>(stream, dictionary, unpackedLength);
        case 2: return unpackBWith<2>(stream, dictionary, unpackedLength);
        case 3: return unpackBWith<3>(stream, dictionary, unpackedLength);
        case 4: return unpackBWith<4>(stream, dictionary, unpackedLength);
        case 5: return unpackBWith<5>(stream, dictionary, unpackedLength);
        case 6: return unpackBWith<6>(stream, dictionary, unpackedLength);
        case 7: return unpackBWith<7>(stream, dictionary, unpackedLength);
        case 8: return unpackBWith<8>(stream, dictionary, unpackedLength);
        default: throw std::invalid_argument("format B length bits outside 1..8");
    }
}

std::vector<uint8_t> packA(std::span<const uint8_t> src, const DictionaryIndex& dictionary) {
    const int32_t n = static_cast<int32_t>(src.size());
    std::vector<uint8_t> out;
    out.reserve(src.size() + src.size() / 64 + 2);
    int32_t pos = 0;  // start of the pending literal run
    int32_t run = 0;  // its length
    auto writeRun = [&] {
        out.push_back(static_cast<uint8_t>(0x7F + run));
        out.insert(out.end(), src.begin() + pos, src.begin() + pos + run);
        pos += run;
        run = 0;
    };
    while (pos < n) {
        const int32_t cur = pos + run;
        const int32_t m = std::min(kFormatAMaxMatch, n - cur);
        const Match match = m >= 3 ? dictionary.find(src.data() + cur, m) : Match{0, 0};
        if (match.length >= 3) {
            if (run > 0) writeRun();
            out.push_back(static_cast<uint8_t>(((match.length - 3) << 4) + (match.offset >> 8)));
            out.push_back(static_cast<uint8_t>(match.offset & 0xFF));
            pos += match.length;
        } else if (cur == n) {
            writeRun();
        } else if (++run == kMaxLiteralRun) {
            writeRun();
        }
    }
    return out;
}

std::vector<uint8_t> packB(std::span<const uint8_t> src, const DictionaryIndex& dictionary, int32_t lengthBits,
                           bool lengthHeader) {
    const int32_t n = static_cast<int32_t>(src.size());
    const int32_t maxLength = (1 << lengthBits) + 2;
    const int offsetBits = 8 - lengthBits;
    std::vector<uint8_t> out;
    out.reserve(src.size() + src.size() / 8 + 4);
    if (lengthHeader) {
        out.push_back(static_cast<uint8_t>(n & 0xFF));
        out.push_back(static_cast<uint8_t>((n >> 8) & 0xFF));
    }
    int32_t pos = 0;
    while (pos < n) {
        const size_t flagAt = out.size();
        out.push_back(0);
        for (int bit = 7; bit >= 0 && pos < n; --bit) {
            const int32_t m = std::min(maxLength, n - pos);
            const Match match = m >= 3 ? dictionary.find(src.data() + pos, m) : Match{0, 0};
            if (match.length >= 3) {
                out.push_back(static_cast<uint8_t>(((match.length - 3) << offsetBits) + (match.offset >> 8)));
                out.push_back(static_cast<uint8_t>(match.offset & 0xFF));
                pos += match.length;
            } else {
                out.push_back(src[static_cast<size_t>(pos)]);
                out[flagAt] = static_cast<uint8_t>(out[flagAt] | 1 << bit);
                pos += 1;
            }
        }
    }
    return out;
}

}  // namespace velk
