#include "pack/lz_formats.h"

#include <algorithm>

#include "pack/dictionary_search.h"

namespace velk {
namespace {

constexpr int32_t kFormatAWindow = 4096;
constexpr int32_t kFormatAMaxMatch = 10;
constexpr int32_t kMaxLiteralRun = 128;

// Reads a stream from the image without ever leaving it.
class StreamReader {
public:
    StreamReader(const RomImage& image, int32_t at) : image_(image), start_(at), pos_(at) {}
    bool next(uint8_t& b) {
        if (!isInsideImage(pos_)) return false;
        b = image_[pos_++];
        return true;
    }
    Unpacked finish(std::vector<uint8_t> out, int32_t n) const {
        out.resize(static_cast<size_t>(n));
        return {std::vector<uint8_t>(image_.at(start_), image_.at(pos_)), std::move(out)};
    }

private:
    const RomImage& image_;
    int32_t start_;
    int32_t pos_;
};

bool copyFromDictionary(const RomImage& image, int32_t from, int32_t length, std::vector<uint8_t>& out) {
    if (from < 0 || from + length > kRomSize) return false;
    out.insert(out.end(), image.at(from), image.at(from + length));
    return true;
}

}  // namespace

std::optional<Unpacked> unpackA(const RomImage& image, int32_t at, int32_t dictionaryBase, int32_t unpackedLength) {
    if (unpackedLength > kWorkingBufferSize) return std::nullopt;
    StreamReader in(image, at);
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(std::max(unpackedLength, 0)) + kMaxLiteralRun);
    while (static_cast<int32_t>(out.size()) < unpackedLength) {
        uint8_t c = 0;
        if (!in.next(c)) return std::nullopt;
        if (c >= 0x80) {
            for (int i = 0; i < c - 0x7F; ++i) {
                uint8_t literal = 0;
                if (!in.next(literal)) return std::nullopt;
                out.push_back(literal);
            }
        } else {
            uint8_t b = 0;
            if (!in.next(b)) return std::nullopt;
            if (!copyFromDictionary(image, dictionaryBase + ((c & 0x0F) << 8) + b, (c >> 4) + 3, out))
                return std::nullopt;
        }
    }
    return in.finish(std::move(out), std::max(unpackedLength, 0));
}

std::optional<Unpacked> unpackB(const RomImage& image, int32_t at, int32_t dictionaryBase, int32_t unpackedLength,
                                int32_t lengthBits) {
    StreamReader in(image, at);
    int32_t n = unpackedLength;
    if (n == 0) {
        uint8_t lo = 0, hi = 0;
        if (!in.next(lo) || !in.next(hi)) return std::nullopt;
        n = lo | hi << 8;
    }
    if (n > kWorkingBufferSize) return std::nullopt;
    const int offsetBits = 8 - lengthBits;
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(std::max(n, 0)) + 18);
    while (static_cast<int32_t>(out.size()) < n) {
        uint8_t flags = 0;
        if (!in.next(flags)) return std::nullopt;
        for (int bit = 7; bit >= 0 && static_cast<int32_t>(out.size()) < n; --bit) {
            uint8_t b1 = 0;
            if (!in.next(b1)) return std::nullopt;
            if (flags >> bit & 1) {
                out.push_back(b1);
                continue;
            }
            uint8_t b2 = 0;
            if (!in.next(b2)) return std::nullopt;
            const int32_t offset = (b1 & ((1 << offsetBits) - 1)) << 8 | b2;
            if (!copyFromDictionary(image, dictionaryBase + offset, (b1 >> offsetBits) + 3, out)) return std::nullopt;
        }
    }
    return in.finish(std::move(out), std::max(n, 0));
}

std::vector<uint8_t> packA(const RomImage& image, std::span<const uint8_t> src, int32_t dictionaryBase) {
    const int32_t n = static_cast<int32_t>(src.size());
    const DictionaryIndex& dictionary =
        dictionaryIndexFor(image, dictionaryBase, windowLimitFor(dictionaryBase, kFormatAWindow));
    std::vector<uint8_t> out;
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

std::vector<uint8_t> packB(const RomImage& image, std::span<const uint8_t> src, int32_t dictionaryBase,
                           int32_t lengthBits, bool lengthHeader) {
    const int32_t n = static_cast<int32_t>(src.size());
    const int32_t maxLength = (1 << lengthBits) + 2;
    const int offsetBits = 8 - lengthBits;
    const DictionaryIndex& dictionary =
        dictionaryIndexFor(image, dictionaryBase, windowLimitFor(dictionaryBase, 1 << (16 - lengthBits)));
    std::vector<uint8_t> out;
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

bool unpackFormatA(const RomImage& image, ResourceEntry& entry, int32_t dictionaryBase, int32_t unpackedLength) {
    std::optional<Unpacked> r = unpackA(image, entry.romOffset, dictionaryBase, unpackedLength);
    if (!r) return false;
    storePacked(entry, std::move(r->packed));
    storeUnpacked(entry, std::move(r->unpacked));
    return true;
}

bool unpackFormatB(const RomImage& image, ResourceEntry& entry, int32_t dictionaryBase, int32_t unpackedLength,
                   int32_t lengthBits) {
    std::optional<Unpacked> r = unpackB(image, entry.romOffset, dictionaryBase, unpackedLength, lengthBits);
    if (!r) return false;
    storePacked(entry, std::move(r->packed));
    storeUnpacked(entry, std::move(r->unpacked));
    return true;
}

void packFormatA(const RomImage& image, ResourceEntry& entry, int32_t dictionaryBase, int32_t unpackedLength) {
    storePacked(entry, packA(image, std::span(entry.unpacked).first(static_cast<size_t>(unpackedLength)), dictionaryBase));
}

void packFormatB(const RomImage& image, ResourceEntry& entry, int32_t dictionaryBase, int32_t unpackedLength,
                 int32_t lengthBits, bool lengthHeader) {
    storePacked(entry, packB(image, std::span(entry.unpacked).first(static_cast<size_t>(unpackedLength)), dictionaryBase,
                             lengthBits, lengthHeader));
}

bool unpackWithProfile(const RomImage& image, ResourceEntry& entry, const PackProfile& p) {
    return p.format == LzFormat::A ? unpackFormatA(image, entry, p.dictionaryBase, p.unpackedLength)
                                   : unpackFormatB(image, entry, p.dictionaryBase, p.unpackedLength, p.lengthBits);
}

void packWithProfile(const RomImage& image, ResourceEntry& entry, const PackProfile& p) {
    if (p.format == LzFormat::A)
        packFormatA(image, entry, p.dictionaryBase, entry.unpackedLength);
    else
        packFormatB(image, entry, p.dictionaryBase, entry.unpackedLength, p.lengthBits, p.lengthHeader);
}

}  // namespace velk
