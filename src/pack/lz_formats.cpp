#include "pack/lz_formats.h"

#include <algorithm>
#include <cstring>

namespace velk {
namespace {

constexpr int32_t kFormatAMaxMatch = 10;
constexpr int32_t kMaxLiteralRun = 128;

Problem streamProblem(size_t at, std::string reason) { return cannotRead(std::move(reason), at); }

// Reads a stream without ever leaving its span.
class StreamReader {
public:
    explicit StreamReader(std::span<const uint8_t> stream) : stream_(stream) {}
    bool next(uint8_t& b) {
        if (pos_ >= stream_.size()) return false;
        b = stream_[pos_++];
        return true;
    }
    size_t pos() const { return pos_; }
    Problem runsPast() const { return streamProblem(pos_, "packed stream runs past the end of the image"); }

private:
    std::span<const uint8_t> stream_;
    size_t pos_ = 0;
};

bool copyFromDictionary(std::span<const uint8_t> dictionary, int32_t from, int32_t length, std::vector<uint8_t>& out) {
    if (from < 0 || static_cast<size_t>(from) + static_cast<size_t>(length) > dictionary.size()) return false;
    out.insert(out.end(), dictionary.begin() + from, dictionary.begin() + from + length);
    return true;
}

Problem referenceOutside(const StreamReader& in) {
    return streamProblem(in.pos(), "back-reference leads outside the image");
}

Result<Unpacked> finish(const StreamReader& in, std::vector<uint8_t> out, int32_t n) {
    out.resize(static_cast<size_t>(n));
    return Unpacked{in.pos(), std::move(out)};
}

}  // namespace

Result<Unpacked> unpackA(std::span<const uint8_t> stream, std::span<const uint8_t> dictionary, int32_t unpackedLength) {
    StreamReader in(stream);
    if (unpackedLength > kWorkingBufferSize) return streamProblem(0, "unpacked length beyond 4096 bytes");
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(std::max(unpackedLength, 0)) + kMaxLiteralRun);
    while (static_cast<int32_t>(out.size()) < unpackedLength) {
        uint8_t c = 0;
        if (!in.next(c)) return in.runsPast();
        if (c >= 0x80) {
            for (int i = 0; i < c - 0x7F; ++i) {
                uint8_t literal = 0;
                if (!in.next(literal)) return in.runsPast();
                out.push_back(literal);
            }
        } else {
            uint8_t b = 0;
            if (!in.next(b)) return in.runsPast();
            if (!copyFromDictionary(dictionary, (c & 0x0F) << 8 | b, (c >> 4) + 3, out)) return referenceOutside(in);
        }
    }
    return finish(in, std::move(out), std::max(unpackedLength, 0));
}

Result<Unpacked> unpackB(std::span<const uint8_t> stream, std::span<const uint8_t> dictionary, int32_t unpackedLength,
                         int32_t lengthBits) {
    const uint8_t* const begin = stream.data();
    const uint8_t* const end = begin + stream.size();
    const uint8_t* p = begin;
    auto runsPast = [&] { return streamProblem(static_cast<size_t>(p - begin), "packed stream runs past the end of the image"); };
    int32_t n = unpackedLength;
    if (n == 0) {
        if (end - p < 2) return runsPast();
        n = p[0] | p[1] << 8;
        p += 2;
    }
    if (n > kWorkingBufferSize)
        return streamProblem(0, "length header asks for " + std::to_string(n) + " bytes, more than 4096");
    const int offsetBits = 8 - lengthBits;
    const int32_t offsetMask = (1 << offsetBits) - 1;
    const auto size = static_cast<size_t>(std::max(n, 0));
    // Room for the last back-reference to run past the length; cut off below.
    // Every back-reference copies the longest length there is (the same size
    // each time, which the processor predicts); the bytes past its own length
    // are overwritten by the next item or cut off at the end.
    const size_t longest = (size_t{1} << lengthBits) + 2;
    std::vector<uint8_t> out(size + longest);
    size_t o = 0;
    while (o < size) {
        if (p == end) return runsPast();
        const uint8_t flags = *p++;
        for (int bit = 7; bit >= 0 && o < size; --bit) {
            if (p == end) return runsPast();
            const uint8_t b1 = *p++;
            if (flags >> bit & 1) {
                out[o++] = b1;
                continue;
            }
            if (p == end) return runsPast();
            const uint8_t b2 = *p++;
            const size_t from = static_cast<size_t>((b1 & offsetMask) << 8 | b2);
            const size_t length = static_cast<size_t>((b1 >> offsetBits) + 3);
            if (from + length > dictionary.size())
                return streamProblem(static_cast<size_t>(p - begin), "back-reference leads outside the image");
            if (from + longest <= dictionary.size())
                std::memcpy(out.data() + o, dictionary.data() + from, longest);
            else
                std::memcpy(out.data() + o, dictionary.data() + from, length);
            o += length;
        }
    }
    out.resize(size);
    return Unpacked{static_cast<size_t>(p - begin), std::move(out)};
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
