#include "text/name_list.h"

#include "image/hex.h"
#include "text/decode.h"
#include "text/encode.h"

namespace velk {

std::vector<uint8_t> nameListBytes(ConstCatalogue names) {
    std::string out;
    for (size_t i = 0; i < names.size(); ++i) {
        out += '[';
        appendHexByte(out, static_cast<uint8_t>(0xF0 + (i >> 8)));
        out += ' ';
        appendHexByte(out, static_cast<uint8_t>(i & 0xFF));
        out += "] ";
        out += nameText(names[i]);
        out += "\r\n";
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

Status readNameList(Catalogue names, std::span<const uint8_t> file, const GlyphLookup& glyphs) {
    size_t p = kNameLabelLength;
    for (size_t i = 0; i < names.size() && p < file.size(); ++i) {
        Result<int32_t> consumed = encodeName(names, static_cast<int>(i), file.subspan(p), glyphs);
        if (!consumed) {
            consumed.problem().offset += p;
            return std::move(consumed.problem());
        }
        p += static_cast<size_t>(*consumed) + kNameLabelLength;
    }
    return {};
}

}  // namespace velk
