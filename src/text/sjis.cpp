#include "text/sjis.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace velk {
namespace {

// Owns one iconv conversion descriptor.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::logic_error("iconv cannot convert between CP932 and UTF-8");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts with glibc's iconv; an unconvertible sequence is replaced and
// skipped (one UTF-8 character, or one or two Shift-JIS bytes), and counted.
std::string convert(std::string_view in, std::string_view replacement, bool fromSjis, size_t* failures = nullptr) {
    // One descriptor per direction and thread, kept: opening one costs more
    // than converting a name or a text.
    thread_local const Converter toSjis("CP932", "UTF-8"), fromSjisConverter("UTF-8", "CP932");
    const iconv_t cd = (fromSjis ? fromSjisConverter : toSjis).get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(in.size() * 2);
    std::string src(in);
    char* inPtr = src.data();
    size_t inLeft = src.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: skip one character's worth of input.
        out.append(replacement);
        if (failures) ++*failures;
        size_t skip = 1;
        const auto lead = static_cast<unsigned char>(*inPtr);
        if (fromSjis) {
            if (isSjisLeadByte(lead) && inLeft > 1) skip = 2;
        } else {
            while (skip < inLeft && (static_cast<unsigned char>(inPtr[skip]) & 0xC0) == 0x80) ++skip;
        }
        inPtr += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

// One character in up to four bytes; length 0: none.
struct Form {
    std::array<char, 4> bytes{};
    uint8_t length = 0;
};

// Every code page 932 character's UTF-8 form and every such character's
// code page 932 form, asked of iconv once at first use: a text is then
// converted by lookups instead of iconv's slower path through its own
// internal form. iconv stays the one source: a text the tables do not cover
// whole (a byte that is no character, a character no code decodes to, no
// valid UTF-8) goes to iconv as before, so the results are iconv's own.
class Tables {
public:
    Tables() {
        for (unsigned b = 0; b < 0x100; ++b)
            if (!isSjisLeadByte(static_cast<unsigned char>(b))) decodeOne(b, std::string(1, static_cast<char>(b)));
        // The trail bytes of one lead byte in one call, each followed by a
        // line feed: a pair iconv cannot decode leaves nothing before it.
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isSjisLeadByte(static_cast<unsigned char>(lead))) continue;
            std::string pairs;
            for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail)
                pairs.append({static_cast<char>(lead), static_cast<char>(trail), '\n'});
            const std::string utf8 = convert(pairs, "", true);
            std::string_view rest = utf8;
            for (unsigned trail = kFirstTrail; trail <= kLastTrail && !rest.empty(); ++trail) {
                const size_t end = rest.find('\n');
                if (end == std::string_view::npos) break;
                setDecoded(lead << 8 | trail, rest.substr(0, end));
                rest.remove_prefix(end + 1);
            }
        }
        // Each character some code decodes to, encoded by iconv in one call
        // (where several codes decode to one character, iconv's choice).
        std::vector<uint32_t> points;
        std::string all;
        for (const Form& f : decoded_) {
            if (f.length == 0) continue;
            const uint32_t c = codePoint(std::string_view(f.bytes.data(), f.length));
            if (c >= encoded_.size() || encoded_[c].length != 0) continue;
            encoded_[c].length = 1;  // seen; filled in below
            points.push_back(c);
            all.append(f.bytes.data(), f.length).push_back('\n');
        }
        size_t failures = 0;
        const std::string sjis = convert(all, "", false, &failures);
        std::string_view rest = sjis;
        for (const uint32_t c : points) {
            Form& f = encoded_[c];
            f.length = 0;
            const size_t length = rest.empty() ? 0 : isSjisLeadByte(static_cast<unsigned char>(rest[0])) ? 2 : 1;
            if (failures || rest.size() <= length || rest[length] != '\n') continue;
            rest.copy(f.bytes.data(), length);
            f.length = static_cast<uint8_t>(length);
            rest.remove_prefix(length + 1);
        }
        if (failures || !rest.empty()) encoded_.assign(encoded_.size(), Form{});  // iconv decides every text
    }

    // The text in UTF-8, or nothing where a byte is not part of a character
    // of the table.
    std::optional<std::string> decode(std::string_view cp932) const {
        std::string out;
        out.reserve(cp932.size() * 3 / 2);
        for (size_t i = 0; i < cp932.size();) {
            const auto b0 = static_cast<unsigned char>(cp932[i]);
            const bool pair = isSjisLeadByte(b0);
            if (pair && i + 1 >= cp932.size()) return std::nullopt;
            const Form& f = decoded_[pair ? b0 << 8 | static_cast<unsigned char>(cp932[i + 1]) : b0];
            if (f.length == 0) return std::nullopt;
            out.append(f.bytes.data(), f.length);
            i += pair ? 2 : 1;
        }
        return out;
    }

    // The text in code page 932, or nothing where it is no valid UTF-8 or
    // holds a character the table lacks.
    std::optional<std::string> encode(std::string_view utf8) const {
        std::string out;
        out.reserve(utf8.size());
        for (size_t i = 0; i < utf8.size();) {
            const auto b0 = static_cast<unsigned char>(utf8[i]);
            const size_t n = b0 < 0x80 ? 1 : b0 >= 0xC2 && b0 < 0xE0 ? 2 : b0 >= 0xE0 && b0 < 0xF0 ? 3 : 0;
            if (n == 0 || i + n > utf8.size()) return std::nullopt;
            for (size_t k = 1; k < n; ++k)
                if ((static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) return std::nullopt;
            const uint32_t c = codePoint(utf8.substr(i, n));
            if ((n == 3 && c < 0x800) || (c >= 0xD800 && c < 0xE000)) return std::nullopt;  // overlong, surrogate
            const Form& f = encoded_[c];
            if (f.length == 0) return std::nullopt;
            out.append(f.bytes.data(), f.length);
            i += n;
        }
        return out;
    }

private:
    static constexpr unsigned kFirstTrail = 0x40, kLastTrail = 0xFC;

    void decodeOne(unsigned code, const std::string& cp932) {
        size_t failures = 0;
        const std::string utf8 = convert(cp932, "", true, &failures);
        if (!failures) setDecoded(code, utf8);
    }
    void setDecoded(unsigned code, std::string_view utf8) {
        if (utf8.empty() || utf8.size() > 3) return;  // iconv's code page 932 stays in the BMP
        Form& f = decoded_[code];
        utf8.copy(f.bytes.data(), utf8.size());
        f.length = static_cast<uint8_t>(utf8.size());
    }
    // The code point of one well-formed UTF-8 character.
    static uint32_t codePoint(std::string_view u) {
        const auto b0 = static_cast<unsigned char>(u[0]);
        if (u.size() == 1) return b0;
        uint32_t c = b0 & (u.size() == 2 ? 0x1Fu : 0x0Fu);
        for (size_t k = 1; k < u.size(); ++k) c = c << 6 | (static_cast<unsigned char>(u[k]) & 0x3Fu);
        return c;
    }

    std::vector<Form> decoded_ = std::vector<Form>(0x10000);  // by byte, or lead << 8 | trail
    std::vector<Form> encoded_ = std::vector<Form>(0x10000);  // by code point
};

const Tables& tables() {
    static const Tables made;
    return made;
}

}  // namespace

std::string toCp932(std::string_view utf8) {
    if (std::optional<std::string> out = tables().encode(utf8)) return std::move(*out);
    return convert(utf8, "?", false);
}

std::string fromCp932(std::string_view cp932) {
    if (std::optional<std::string> out = tables().decode(cp932)) return std::move(*out);
    return convert(cp932, "\xEF\xBF\xBD", true);
}

std::string fromCp932Escaped(std::string_view cp932) {
    auto escaped = [](unsigned char c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        return std::string(buf);
    };
    std::string out;
    for (size_t i = 0; i < cp932.size();) {
        const auto c = static_cast<unsigned char>(cp932[i]);
        if (c < 0x20 || c == 0x7F) {
            out += escaped(c);  // a control byte would break the line it is shown on
            ++i;
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const size_t length = isSjisLeadByte(c) && i + 1 < cp932.size() ? 2 : 1;
        if (std::optional<std::string> u = fromCp932Strict(cp932.substr(i, length)); u && !u->empty()) {
            out += *u;
            i += length;
        } else {
            out += escaped(c);  // not a whole character: the next byte starts afresh
            ++i;
        }
    }
    return out;
}

std::optional<std::string> fromCp932Strict(std::string_view cp932) {
    if (std::optional<std::string> out = tables().decode(cp932)) return out;
    size_t failures = 0;
    std::string out = convert(cp932, "", true, &failures);
    if (failures) return std::nullopt;
    return out;
}

std::optional<std::string> toCp932Strict(std::string_view utf8) {
    if (std::optional<std::string> out = tables().encode(utf8)) return out;
    size_t failures = 0;
    std::string out = convert(utf8, "", false, &failures);
    if (failures) return std::nullopt;
    return out;
}

}  // namespace velk
