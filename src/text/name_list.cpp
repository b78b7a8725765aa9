#include "text/name_list.h"

#include "image/hex.h"
#include "text/decode.h"
#include "text/encode.h"
#include "text/text_collection.h"

namespace velk {

namespace {

std::string label(size_t i) {
    std::string out = "[";
    appendHexByte(out, static_cast<uint8_t>(0xF0 + (i >> 8)));
    out += ' ';
    appendHexByte(out, static_cast<uint8_t>(i & 0xFF));
    return out + "]";
}

}  // namespace

// A name that holds code 0x16 decodes with CR LF inside: on its own line of
// the file that would end the name there and push every later name one line
// on, so the code is written as its escape.
void appendOnOneLine(std::string& out, std::string_view text) {
    for (size_t at = 0;;) {
        const size_t lineEnd = text.find("\r\n", at);
        out += text.substr(at, lineEnd - at);
        if (lineEnd == std::string_view::npos) return;
        out += "!16!";
        at = lineEnd + 2;
    }
}

std::vector<uint8_t> nameListBytes(ConstNameCatalogue names) {
    std::string out;
    for (size_t i = 0; i < names.size(); ++i) {
        out += label(i) + ' ';
        appendOnOneLine(out, nameText(names[i]));
        out += "\r\n";
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

namespace {

// A label that names another entry than its line's position.
void checkLabel(std::span<const uint8_t> file, size_t at, size_t i, std::vector<Warning>& warnings) {
    size_t p = at + 1;
    std::optional<int64_t> high = at < file.size() && file[at] == '[' ? scanHex(file, p) : std::nullopt;
    std::optional<int64_t> low = high ? scanHex(file, p) : std::nullopt;
    if (high && low && *high * 256 + *low == static_cast<int64_t>(0xF000 + i)) return;
    warnings.push_back({WarningCode::NameLabelElsewhere, at, static_cast<int64_t>(i)});
}

}  // namespace

Status readNameList(NameCatalogue names, std::span<const uint8_t> file, const GlyphLookup& glyphs,
                    std::vector<Warning>* warnings) {
    size_t p = kNameLabelLength;
    size_t i = 0;
    for (; i < names.size() && p < file.size(); ++i) {
        if (warnings) checkLabel(file, p - kNameLabelLength, i, *warnings);
        Result<int32_t> consumed = encodeName(names, static_cast<int>(i), file.subspan(p), glyphs);
        if (!consumed) {
            consumed.problem().offset += p;
            return std::move(consumed.problem());
        }
        p += static_cast<size_t>(*consumed) + kNameLabelLength;
    }
    if (warnings && i < names.size())
        warnings->push_back({WarningCode::TooFewNameLines, file.size(), 0, static_cast<int64_t>(i),
                             static_cast<int64_t>(names.size())});
    if (warnings && i == names.size() && p - kNameLabelLength < file.size())
        warnings->push_back({WarningCode::TooManyNameLines, p - kNameLabelLength, 0, 0, static_cast<int64_t>(names.size())});
    return {};
}

}  // namespace velk
