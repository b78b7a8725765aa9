#include "pack/lz_formats.h"

#include <algorithm>

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
    StreamReader in(stream);
    int32_t n = unpackedLength;
    if (n == 0) {
        uint8_t lo = 0, hi = 0;
        if (!in.next(lo) || !in.next(hi)) return in.runsPast();
        n = lo | hi << 8;
    }
    if (n > kWorkingBufferSize)
        return streamProblem(0, "length header asks for " + std::to_string(n) + " bytes, more than 4096");
    const int offsetBits = 8 - lengthBits;
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(std::max(n, 0)) + 18);
    while (static_cast<int32_t>(out.size()) < n) {
        uint8_t flags = 0;
        if (!in.next(flags)) return in.runsPast();
        for (int bit = 7; bit >= 0 && static_cast<int32_t>(out.size()) < n; --bit) {
            uint8_t b1 = 0;
            if (!in.next(b1)) return in.runsPast();
            if (flags >> bit & 1) {
                out.push_back(b1);
                continue;
            }
            uint8_t b2 = 0;
            if (!in.next(b2)) return in.runsPast();
            const int32_t offset = (b1 & ((1 << offsetBits) - 1)) << 8 | b2;
            if (!copyFromDictionary(dictionary, offset, (b1 >> offsetBits) + 3, out)) return referenceOutside(in);
        }
    }
    return finish(in, std::move(out), std::max(n, 0));
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
