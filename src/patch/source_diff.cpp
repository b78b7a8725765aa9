#include "patch/source_diff.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace velk {
namespace {

// The length of the common prefix of a and b (n bytes each), eight at a time.
size_t samePrefix(const uint8_t* a, const uint8_t* b, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8)
        if (std::memcmp(a + i, b + i, 8) != 0) break;
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

}  // namespace

size_t SourceDiff::read(size_t from, size_t n, uint8_t* out, std::span<const uint8_t> target) const {
    if (from >= sourceSize) return 0;
    const size_t end = std::min(sourceSize, from + std::min(n, sourceSize - from));
    auto s = std::upper_bound(stretches.begin(), stretches.end(), from,
                              [](size_t at, const Stretch& st) { return at < st.to; });
    for (size_t at = from; at < end;) {
        if (s == stretches.end() || at < s->from) {
            const size_t upTo = s == stretches.end() ? end : std::min(end, s->from);
            std::memcpy(out + (at - from), target.data() + at, upTo - at);  // the same in both
            at = upTo;
        } else {
            const size_t upTo = std::min(end, s->to);
            std::memcpy(out + (at - from), bytes.data() + s->bytesAt + (at - s->from), upTo - at);
            at = upTo;
            ++s;
        }
    }
    return end - from;
}

size_t SourceDiff::sameFrom(size_t at, size_t targetSize) const {
    const size_t end = std::min(sourceSize, targetSize);
    if (at >= end) return 0;
    auto s = std::upper_bound(stretches.begin(), stretches.end(), at,
                              [](size_t a, const Stretch& st) { return a < st.to; });
    if (s == stretches.end()) return end - at;
    return at >= s->from ? 0 : std::min(end, s->from) - at;
}

SourceDiffBuilder::SourceDiffBuilder(std::span<const uint8_t> target) : target_(target), crc_(crc32(0L, Z_NULL, 0)) {}

void SourceDiffBuilder::feed(std::span<const uint8_t> piece) {
    for (size_t done = 0; done < piece.size();) {
        const auto n = static_cast<uInt>(std::min<size_t>(piece.size() - done, 1u << 30));
        crc_ = crc32(crc_, piece.data() + done, n);
        done += n;
    }
    size_t i = 0;
    while (i < piece.size()) {
        const size_t at = at_ + i;
        const size_t comparable = at < target_.size() ? std::min(piece.size() - i, target_.size() - at) : 0;
        if (!inStretch_) {
            // Skip what is the same, then open a stretch at the first difference.
            const size_t same = samePrefix(piece.data() + i, target_.data() + at, comparable);
            i += same;
            if (i == piece.size()) break;
            diff_.stretches.push_back({at_ + i, at_ + i, diff_.bytes.size()});
            inStretch_ = true;
            continue;
        }
        // In a stretch: take bytes while they differ (or lie past the target).
        size_t j = i;
        while (j < piece.size() && (at_ + j >= target_.size() || piece[j] != target_[at_ + j])) ++j;
        diff_.bytes.insert(diff_.bytes.end(), piece.begin() + static_cast<std::ptrdiff_t>(i),
                           piece.begin() + static_cast<std::ptrdiff_t>(j));
        diff_.stretches.back().to = at_ + j;
        if (j < piece.size()) inStretch_ = false;
        i = j;
    }
    at_ += piece.size();
}

SourceDiff SourceDiffBuilder::finish() {
    diff_.sourceSize = at_;
    diff_.sourceCrc = static_cast<uint32_t>(crc_);
    return std::move(diff_);
}

SourceDiff diffOf(std::span<const uint8_t> source, std::span<const uint8_t> target) {
    SourceDiffBuilder builder(target);
    builder.feed(source);
    return builder.finish();
}

}  // namespace velk
