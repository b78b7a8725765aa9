#include "text/encode.h"

#include "image/rom_image.h"

#include <algorithm>

#include "image/hex.h"
#include "pack/pack_profiles.h"
#include "text/char_tables.h"
#include "text/decode.h"
#include "text/sjis.h"

namespace velk {
namespace {

constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kLf = 0x0A;

// The caller's bytes; reading past their end gives zeros, as the zero-filled
// buffers behind a file's data do, so no read ever leaves the data.
class Input {
public:
    explicit Input(std::span<const uint8_t> data) : data_(data) {}
    uint8_t operator[](size_t i) const { return i < data_.size() ? data_[i] : 0; }
    size_t size() const { return data_.size(); }
    std::span<const uint8_t> all() const { return data_; }
    std::span<const uint8_t> bytes(size_t from, size_t to) const {
        from = std::min(from, data_.size());
        return data_.subspan(from, std::min(to, data_.size()) - from);
    }

private:
    std::span<const uint8_t> data_;
};

struct Context {
    CodeKind kind;
    const Input& in;
    const GlyphLookup& glyphs;
    int index;
};

std::optional<int64_t> scanHex(const Input& in, size_t& pos) { return velk::scanHex(in.all(), pos); }

Problem entryProblem(const Context& ctx, ProblemCode code, size_t pos) {
    Problem p = problem(code, pos);
    p.record = ctx.kind == CodeKind::Name ? Record::Name : Record::Text;
    p.entry = ctx.index;
    p.innerOffset = pos;
    return p;
}

// The character at `pos` as the user typed it: its two bytes (zeros past
// the end) and whether it takes one or both.
Problem escapeProblem(const Context& ctx, size_t pos, ProblemCode code) {
    Problem p = entryProblem(ctx, code, pos);
    const uint8_t c0 = ctx.in[pos], c1 = ctx.in[pos + 1];
    p.bytes = {static_cast<char>(c0), static_cast<char>(c1)};
    p.found = isSjisLeadByte(c0) && pos + 1 < ctx.in.size() ? 2 : 1;
    return p;
}

Problem unknownCharacter(const Context& ctx, size_t pos) {
    return escapeProblem(ctx, pos, pos >= ctx.in.size() ? ProblemCode::EntryNotClosed : ProblemCode::CharacterNotInTable);
}

Problem unknownToken(const Context& ctx, std::span<const uint8_t> token, size_t open, bool closed) {
    Problem p = entryProblem(ctx, closed ? ProblemCode::UnknownToken : ProblemCode::TokenNotClosed, open);
    p.bytes.assign(token.begin(), token.end());
    return p;
}

// "(" token: the text up to the next ")" must be one of the five tokens.
// Names read it two bytes at a time and never past their line end; an
// unclosed token fails with its text so far.
Status encodeToken(const Context& ctx, size_t& pos, std::vector<uint8_t>& code) {
    const Input& in = ctx.in;
    const size_t first = pos + 1;
    size_t close = first;
    if (ctx.kind == CodeKind::Name) {
        auto endsLine = [&](size_t i) { return i >= in.size() || in[i] == kCr || in[i] == kLf; };
        for (;; close += 2) {
            if (!endsLine(close) && in[close] == ')') break;
            if (endsLine(close) || endsLine(close + 1)) {
                size_t end = close;
                while (!endsLine(end)) ++end;
                return unknownToken(ctx, in.bytes(first, end), pos, false);
            }
        }
    } else {
        while (close < in.size() && in[close] != ')') ++close;
        if (close >= in.size()) {
            size_t end = first;
            while (end < in.size() && in[end] != kCr && in[end] != kLf) ++end;
            return unknownToken(ctx, in.bytes(first, end), pos, false);
        }
    }
    const std::span<const uint8_t> text = in.bytes(first, close);
    for (const Token& t : tokens()) {
        const std::string_view inner = std::string_view(t.text).substr(1, t.text.size() - 2);
        if (std::string_view(reinterpret_cast<const char*>(text.data()), text.size()) == inner) {
            code.push_back(t.b0);
            code.push_back(t.b1);
            pos = close + 1;
            return {};
        }
    }
    return unknownToken(ctx, text, pos, true);
}

// One of the rules after the line ends: full-width space, token, escapes,
// glyph. Appends the code and moves pos.
Status encodeItem(const Context& ctx, size_t& pos, std::vector<uint8_t>& code) {
    const Input& in = ctx.in;
    const uint8_t c0 = in[pos], c1 = in[pos + 1];
    if (c0 == kFullWidthSpace[0] && c1 == kFullWidthSpace[1]) {
        code.push_back(0x20);
        pos += 2;
        return {};
    }
    if (c0 == '(') return encodeToken(ctx, pos, code);
    if (c0 == '[' && ctx.kind == CodeKind::Text) {  // [F1 23:(name)]
        size_t q = pos + 1;
        const std::optional<int64_t> hi = scanHex(in, q);
        const std::optional<int64_t> lo = hi ? scanHex(in, q) : std::nullopt;
        // The name between ":(" and ")]" is not read, but ")]" must come before
        // the text's end, or a typo would swallow the texts after it.
        size_t close = q;
        while (close + 1 < in.size() && in[close] != '/' && !(in[close] == ')' && in[close + 1] == ']')) ++close;
        if (!lo) return escapeProblem(ctx, pos, ProblemCode::HexEscapeMalformed);
        if (close + 1 >= in.size() || in[close] == '/')
            return escapeProblem(ctx, pos, ProblemCode::HexEscapeNotClosed);
        code.push_back(static_cast<uint8_t>(*hi));
        code.push_back(static_cast<uint8_t>(*lo));
        pos = close + 2;
        return {};
    }
    if (c0 == '?' || c0 == '!') {  // ?1B 05? and !11!: exactly two digits each
        auto hexByte = [&](size_t at) -> std::optional<uint8_t> {
            const int high = hexDigitValue(in[at]), low = hexDigitValue(in[at + 1]);
            if (at + 1 >= in.size() || high < 0 || low < 0) return std::nullopt;
            return static_cast<uint8_t>(high << 4 | low);
        };
        const std::optional<uint8_t> first = hexByte(pos + 1);
        std::optional<uint8_t> second;
        if (c0 == '?' && first && in[pos + 3] == ' ' && pos + 6 < in.size() && in[pos + 6] == '?')
            second = hexByte(pos + 4);
        if (c0 == '?' && !second) return escapeProblem(ctx, pos, ProblemCode::PairEscapeMalformed);
        if (c0 == '!' && (!first || pos + 3 >= in.size() || in[pos + 3] != '!'))
            return escapeProblem(ctx, pos, ProblemCode::ByteEscapeMalformed);
        // In a name, a 00 that starts an item ends the name when it is read back.
        const bool endsName = ctx.kind == CodeKind::Name &&
                              (*first == 0 || (second && *second == 0 && codeItemLength(*first, CodeKind::Name) == 1));
        if (endsName) return escapeProblem(ctx, pos, ProblemCode::EscapeEndsName);
        code.push_back(*first);
        if (second) code.push_back(*second);
        pos += c0 == '?' ? 7 : 4;
        return {};
    }
    std::optional<GlyphCode> glyph = ctx.glyphs.find(c0, c1);
    size_t width = 2;
    if (!glyph && pos < in.size()) {
        // A one-byte character (Latin, half-width katakana) may have a glyph
        // in its full-width form: taken on request, named in the error if not.
        if (const std::optional<GlyphLookup::FullWidth> wide = ctx.glyphs.fullWidthOf(c0)) {
            if (!ctx.glyphs.takesFullWidth()) {
                Problem p = unknownCharacter(ctx, pos);
                p.fullWidth = {static_cast<char>(wide->glyph[0]), static_cast<char>(wide->glyph[1])};
                return p;
            }
            glyph = wide->code, width = 1;
        }
    }
    if (!glyph) return unknownCharacter(ctx, pos);
    if (glyph->table != 0) code.push_back(glyph->table);
    code.push_back(glyph->slot);
    pos += width;
    return {};
}

}  // namespace

Result<int32_t> encodeName(NameCatalogue names, int index, std::span<const uint8_t> line, const GlyphLookup& glyphs,
                           std::vector<uint32_t>* itemOffsets) {
    const Input in(line);
    const Context ctx{CodeKind::Name, in, glyphs, index};
    std::vector<uint8_t> code;
    size_t pos = 0;
    size_t consumed = 0;
    for (;;) {
        if (pos >= in.size()) {  // a last line without a line end
            consumed = in.size();
            break;
        }
        if (in[pos] == kCr || in[pos] == kLf) {
            consumed = std::min(in.size(), pos + (in[pos] == kCr ? 2 : 1));
            break;
        }
        const size_t start = pos;
        if (Status s = encodeItem(ctx, pos, code); !s) return std::move(s.problem());
        if (itemOffsets) itemOffsets->resize(code.size(), static_cast<uint32_t>(start));
    }
    const size_t lineEnd = std::min(pos, in.size());
    std::vector<uint8_t> text(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(consumed));
    if (lineEnd < text.size())
        text[lineEnd] = 0;
    else
        text.push_back(0);
    NameEntry& entry = names[static_cast<size_t>(index)];
    entry.code = std::move(code);
    entry.text = std::move(text);
    return static_cast<int32_t>(consumed);
}

Result<EncodedText> encodeTextCode(std::span<const uint8_t> block, const GlyphLookup& glyphs, int index,
                                   std::vector<uint32_t>* itemOffsets) {
    const Input in(block);
    const Context ctx{CodeKind::Text, in, glyphs, index};
    size_t pos = 0;
    while (pos < in.size() && in[pos] != kCr && in[pos] != kLf) ++pos;  // the header line
    if (pos < in.size()) pos += in[pos] == kCr ? 2 : 1;
    EncodedText out;
    for (;;) {
        if (pos >= in.size()) return unknownCharacter(ctx, pos);  // no closing "//": the zeros behind the data
        const uint8_t c0 = in[pos];
        if (c0 == '/') break;
        const size_t start = pos;
        if (c0 == kCr || c0 == kLf) {
            out.code.push_back(kLineBreakCode);
            pos += c0 == kCr ? 2 : 1;
        } else if (Status s = encodeItem(ctx, pos, out.code); !s) {
            return std::move(s.problem());
        }
        if (itemOffsets) itemOffsets->resize(out.code.size(), static_cast<uint32_t>(start));
        if (out.code.size() > kMaxTextCodeBytes) return entryProblem(ctx, ProblemCode::TextTooLong, pos);
    }
    out.consumed = std::min(in.size(), pos + 2);
    return out;
}

Result<int32_t> encodeText(Catalogue texts, int index, std::span<const uint8_t> block, const GlyphLookup& glyphs,
                           const RomImage& image) {
    Result<EncodedText> r = encodeTextCode(block, glyphs, index);
    if (!r) return std::move(r.problem());
    storeAndPack(image, texts[static_cast<size_t>(index)], std::move(r->code), kTextProfile);
    return static_cast<int32_t>(r->consumed);
}

}  // namespace velk
