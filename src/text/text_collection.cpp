#include "text/text_collection.h"

#include "image/rom_image.h"

#include <algorithm>

#include "image/hex.h"
#include "pack/pack_profiles.h"
#include "text/decode.h"
#include "text/encode.h"

namespace velk {
namespace {

constexpr std::string_view kSeparator = "//\r\n\r\n\r\n";

}  // namespace

std::vector<uint8_t> textCollectionBytes(ConstCatalogue texts, ConstCatalogue names, const CharTables& tables) {
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

Status readTextCollection(Catalogue texts, std::span<const uint8_t> file, const GlyphLookup& glyphs,
                          const RomImage& image) {
    // Encode every block first, then pack them all with one dictionary index.
    std::vector<std::vector<uint8_t>> codes;
    Status status;
    const std::array<uint8_t, 2> mark = {'#', '#'};
    size_t p = 0;
    for (size_t k = 0; k < texts.size(); ++k) {
        const auto at = std::search(file.begin() + static_cast<std::ptrdiff_t>(p), file.end(), mark.begin(), mark.end());
        if (at == file.end()) break;
        const size_t block = static_cast<size_t>(at - file.begin());
        Result<EncodedText> r = encodeTextCode(file.subspan(block), glyphs, static_cast<int>(k));
        if (!r) {
            r.problem().offset += block;
            status = std::move(r.problem());
            break;
        }
        codes.push_back(std::move(r->code));
        p = block + r->consumed;
    }
    const std::shared_ptr<const DictionaryIndex> dictionary = dictionaryFor(image, kTextProfile);
    for (size_t k = 0; k < codes.size(); ++k) {
        storeUnpacked(texts[k], std::move(codes[k]));
        storePacked(texts[k], packWithProfile(texts[k].unpacked, *dictionary, kTextProfile));
    }
    return status;
}

}  // namespace velk
