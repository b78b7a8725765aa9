#include "pack/pack_profiles.h"

#include <algorithm>

namespace velk {
namespace {

std::span<const uint8_t> fromOffset(const RomImage& image, int32_t at) {
    return std::span<const uint8_t>(image.bytes).subspan(static_cast<size_t>(std::clamp(at, 0, kRomSize)));
}

}  // namespace

std::shared_ptr<const DictionaryIndex> dictionaryFor(const RomImage& image, const PackProfile& p) {
    const int32_t span = p.format == LzFormat::A ? kFormatAWindow : formatBWindow(p.lengthBits);
    const int32_t limit = std::clamp(windowLimitFor(p.dictionaryBase, span), 0, kRomSize - p.dictionaryBase);
    return dictionaryIndexFor(fromOffset(image, p.dictionaryBase).first(static_cast<size_t>(limit)));
}

Result<Unpacked> unpackAt(const RomImage& image, int32_t at, const PackProfile& p) {
    if (!isInsideImage(at)) return problem(ProblemCode::PackedStreamOutside);
    const std::span<const uint8_t> stream = fromOffset(image, at);
    const std::span<const uint8_t> dictionary = fromOffset(image, p.dictionaryBase);
    return p.format == LzFormat::A ? unpackA(stream, dictionary, p.unpackedLength)
                                   : unpackB(stream, dictionary, p.unpackedLength, p.lengthBits);
}

std::vector<uint8_t> packWithProfile(std::span<const uint8_t> src, const DictionaryIndex& dictionary,
                                     const PackProfile& p) {
    return p.format == LzFormat::A ? packA(src, dictionary) : packB(src, dictionary, p.lengthBits, p.lengthHeader);
}

std::vector<uint8_t> packWithProfile(const RomImage& image, std::span<const uint8_t> src, const PackProfile& p) {
    return packWithProfile(src, *dictionaryFor(image, p), p);
}

Status unpackEntry(const RomImage& image, ResourceEntry& entry, const PackProfile& p) {
    Result<Unpacked> r = unpackAt(image, entry.romOffset, p);
    if (!r) {
        Problem& pr = r.problem();
        pr.offset += static_cast<size_t>(std::max(entry.romOffset, 0));
        return std::move(pr);
    }
    const uint8_t* start = image.at(entry.romOffset);
    entry.packed = std::vector<uint8_t>(start, start + r->consumed);
    entry.unpacked = std::move(r->unpacked);
    return {};
}

void storeAndPack(const RomImage& image, ResourceEntry& entry, std::vector<uint8_t> unpacked, const PackProfile& p) {
    entry.packed = packWithProfile(image, unpacked, p);
    entry.unpacked = std::move(unpacked);
}

}  // namespace velk
