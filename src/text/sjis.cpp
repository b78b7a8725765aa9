#include "text/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

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

}  // namespace

std::string toCp932(std::string_view utf8) { return convert(utf8, "?", false); }

std::string fromCp932(std::string_view cp932) { return convert(cp932, "\xEF\xBF\xBD", true); }

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
    size_t failures = 0;
    std::string out = convert(cp932, "", true, &failures);
    if (failures) return std::nullopt;
    return out;
}

std::optional<std::string> toCp932Strict(std::string_view utf8) {
    size_t failures = 0;
    std::string out = convert(utf8, "", false, &failures);
    if (failures) return std::nullopt;
    return out;
}

}  // namespace velk
