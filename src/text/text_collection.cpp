#include "text/text_collection.h"

#include "image/rom_image.h"

#include <algorithm>

#include "image/hex.h"
#include "image/parallel.h"
#include "pack/pack_profiles.h"
#include "text/decode.h"
#include "text/encode.h"

namespace velk {
namespace {

constexpr std::string_view kSeparator = "//\r\n\r\n\r\n";

}  // namespace

std::vector<uint8_t> textCollectionBytes(ConstCatalogue texts, ConstNameCatalogue names, const CharTables& tables) {
    std::string out;
    for (size_t i = 0; i < texts.size(); ++i) {
        out += "##No.";
        appendHexByte(out, static_cast<uint8_t>(i >> 8));
        out += ' ';
        appendHexByte(out, static_cast<uint8_t>(i & 0xFF));
        out += '\n';
        out += decodeText(texts, static_cast<int>(i), names, tables);
        out += kSeparator;
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

namespace {

void checkBlock(std::span<const uint8_t> file, size_t block, size_t k, const EncodedText& text,
                std::vector<Warning>& warnings) {
    size_t p = block + 5;
    const std::optional<int64_t> high = p <= file.size() ? scanHex(file, p) : std::nullopt;
    const std::optional<int64_t> low = high ? scanHex(file, p) : std::nullopt;
    if (!high || !low || *high * 256 + *low != static_cast<int64_t>(k))
        warnings.push_back({WarningCode::TextHeaderElsewhere, block, static_cast<int64_t>(k)});
    const size_t slash = block + text.consumed - 2;
    if (slash + 1 >= file.size() || file[slash + 1] != '/')
        warnings.push_back({WarningCode::SlashEndsTextBlock, slash, static_cast<int64_t>(k)});
}

// Where the blocks most likely start: behind each "##", its header line and
// the text up to its first '/' (a CR takes the byte after it along, as the
// encoder reads it). A guess only: the blocks are encoded from these places
// at once, and any guess the encoder does not confirm is encoded again.
std::vector<size_t> likelyBlockStarts(std::span<const uint8_t> file, size_t count) {
    std::vector<size_t> starts;
    const size_t n = file.size();
    for (size_t p = 0; starts.size() < count;) {
        size_t at = p;
        while (at + 1 < n && !(file[at] == '#' && file[at + 1] == '#')) ++at;
        if (at + 1 >= n) break;
        starts.push_back(at);
        size_t q = at;
        while (q < n && file[q] != '\r' && file[q] != '\n') ++q;
        if (q < n) q += file[q] == '\r' ? 2 : 1;
        while (q < n && file[q] != '/') q += file[q] == '\r' ? 2 : 1;
        p = std::min(n, q + 2);
    }
    return starts;
}

}  // namespace

Status readTextCollection(Catalogue texts, std::span<const uint8_t> file, const GlyphLookup& glyphs,
                          const RomImage& image, std::vector<Warning>* warnings) {
    // Encode the blocks where they most likely start, on every core; then
    // walk the file as one encoder would, taking each result whose start it
    // confirms. The packing comes last, with one dictionary index.
    const std::vector<size_t> likely = likelyBlockStarts(file, texts.size());
    std::vector<std::optional<Result<EncodedText>>> early(likely.size());
    parallelFor(likely.size(), [&](size_t i) { early[i] = encodeTextCode(file.subspan(likely[i]), glyphs, static_cast<int>(i)); }, 64);
    std::vector<std::vector<uint8_t>> codes;
    Status status;
    const std::array<uint8_t, 2> mark = {'#', '#'};
    size_t p = 0;
    size_t k = 0;
    auto nextBlock = [&] {
        return std::search(file.begin() + static_cast<std::ptrdiff_t>(p), file.end(), mark.begin(), mark.end());
    };
    for (; k < texts.size(); ++k) {
        const auto at = nextBlock();
        if (at == file.end()) break;
        const size_t block = static_cast<size_t>(at - file.begin());
        Result<EncodedText> r = k < likely.size() && likely[k] == block
                                    ? std::move(*early[k])
                                    : encodeTextCode(file.subspan(block), glyphs, static_cast<int>(k));
        if (!r) {
            r.problem().offset += block;
            status = std::move(r.problem());
            break;
        }
        if (warnings) checkBlock(file, block, k, *r, *warnings);
        codes.push_back(std::move(r->code));
        p = block + r->consumed;
    }
    if (warnings && status && k < texts.size())
        warnings->push_back({WarningCode::TooFewTextBlocks, file.size(), 0, static_cast<int64_t>(k),
                             static_cast<int64_t>(texts.size())});
    if (warnings && status && k == texts.size() && nextBlock() != file.end())
        warnings->push_back({WarningCode::TooManyTextBlocks, static_cast<size_t>(nextBlock() - file.begin()), 0, 0,
                             static_cast<int64_t>(texts.size())});
    const std::shared_ptr<const DictionaryIndex> dictionary = dictionaryFor(image, kTextProfile);
    parallelFor(codes.size(), [&](size_t i) {
        texts[i].unpacked = std::move(codes[i]);
        texts[i].packed = packWithProfile(texts[i].unpacked, *dictionary, kTextProfile);
    });
    return status;
}

}  // namespace velk
