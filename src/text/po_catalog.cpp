#include "text/po_catalog.h"

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string_view>

#include <fcntl.h>
#include <gettext-po.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velk {
namespace {

// libgettextpo reads and writes named files only, and keeps its error state
// in globals: every call goes through one lock, and the bytes through an
// anonymous in-memory file named by its /proc/self/fd path, so no file of
// the disk is touched.
std::mutex& libraryLock() {
    static std::mutex lock;
    return lock;
}

class MemoryFile {
public:
    MemoryFile() : fd_(memfd_create("velk-po", MFD_CLOEXEC)) {}
    ~MemoryFile() {
        if (fd_ >= 0) close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }
    bool write(std::span<const uint8_t> bytes) {
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    std::vector<uint8_t> contents() const {
        struct stat st {};
        if (fstat(fd_, &st) != 0) return {};
        std::vector<uint8_t> out(static_cast<size_t>(st.st_size));
        for (size_t done = 0; done < out.size();) {
            const ssize_t n = pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(done));
            if (n <= 0) {
                out.resize(done);
                break;
            }
            done += static_cast<size_t>(n);
        }
        return out;
    }

private:
    int fd_;
};

// The first error the library reports; a fatal one jumps back out of it.
struct LibraryErrors {
    bool any = false;
    size_t line = 0, column = 0;
    std::string words;
    std::jmp_buf fatal;
};
LibraryErrors* g_errors = nullptr;

void noteError(int severity, size_t lineno, size_t column, const char* text) {
    if (severity == PO_SEVERITY_WARNING) return;
    if (!g_errors->any) {
        g_errors->any = true;
        g_errors->line = lineno == static_cast<size_t>(-1) ? 0 : lineno;
        g_errors->column = column == static_cast<size_t>(-1) ? 0 : column;
        g_errors->words = text ? text : "";
        while (!g_errors->words.empty() && g_errors->words.back() == '\n') g_errors->words.pop_back();
    }
    if (severity == PO_SEVERITY_FATAL_ERROR) std::longjmp(g_errors->fatal, 1);
}

void xerror(int severity, po_message_t, const char*, size_t lineno, size_t column, int, const char* text) {
    noteError(severity, lineno, column, text);
}

void xerror2(int severity, po_message_t, const char*, size_t lineno, size_t column, int, const char* text,
             po_message_t, const char*, size_t, size_t, int, const char*) {
    noteError(severity, lineno, column, text);
}

const po_xerror_handler kHandler = {xerror, xerror2};

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string_view trimmedStart(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    return line;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// The library keeps only gettext's own flags: the others are added to each
// message's "#," line of its output (a new line where it has none), before
// its msgctxt, or its msgid when it has no context.
std::string withFlags(std::string_view written, const PoCatalog& catalog) {
    const std::vector<std::string_view> lines = splitLines(written);
    std::vector<std::string> extra(lines.size());  // flags to add above line i
    size_t message = 0;                            // 0: the header
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!startsWith(lines[i], "msgid ")) continue;
        if (message > 0 && message <= catalog.messages.size()) {
            const std::vector<std::string>& flags = catalog.messages[message - 1].flags;
            size_t anchor = i;
            for (size_t j = i; j > 0 && (startsWith(lines[j - 1], "\"") || startsWith(lines[j - 1], "msgctxt "));) {
                --j;
                if (startsWith(lines[j], "msgctxt ")) {
                    anchor = j;
                    break;
                }
            }
            for (const std::string& f : flags) extra[anchor] += (extra[anchor].empty() ? "" : ", ") + f;
        }
        ++message;
    }
    std::string out;
    out.reserve(written.size() + written.size() / 8);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 < lines.size() && !extra[i + 1].empty() && startsWith(lines[i], "#, ")) {
            out.append(lines[i]).append(", ").append(extra[i + 1]).append("\n");
            extra[i + 1].clear();
            continue;
        }
        if (!extra[i].empty()) out.append("#, ").append(extra[i]).append("\n");
        out.append(lines[i]).append("\n");
    }
    return out;
}

// The first escape in a quoted line of a msgstr whose value is a zero byte
// (gettext keeps the low byte of an octal or hexadecimal escape): where it
// stands, in characters from 1, and its text.
struct ZeroEscape {
    size_t line = 0, column = 0;
    std::string written;
};
std::optional<ZeroEscape> zeroEscapeIn(std::string_view line, size_t number) {
    size_t p = line.find('"');
    if (p == std::string_view::npos) return std::nullopt;
    for (++p; p + 1 < line.size() && line[p] != '"'; ++p) {
        if (line[p] != '\\') continue;
        const size_t from = p++;
        unsigned value = 1;
        if (line[p] >= '0' && line[p] <= '7') {
            value = 0;
            for (size_t k = 0; k < 3 && p < line.size() && line[p] >= '0' && line[p] <= '7'; ++k, ++p)
                value = value * 8 + static_cast<unsigned>(line[p] - '0');
            --p;
        } else if (line[p] == 'x' && p + 1 < line.size() && std::isxdigit(static_cast<unsigned char>(line[p + 1]))) {
            value = 0;
            for (++p; p < line.size() && std::isxdigit(static_cast<unsigned char>(line[p])); ++p)
                value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(line[p])) ? line[p] - '0' : (line[p] | 0x20) - 'a' + 10);
            --p;
        }
        if ((value & 0xFF) != 0) continue;
        const std::string_view before = line.substr(0, from);
        const auto column = 1 + static_cast<size_t>(std::count_if(before.begin(), before.end(), [](char c) { return (c & 0xC0) != 0x80; }));
        return ZeroEscape{number, column, std::string(line.substr(from, p + 1 - from))};
    }
    return std::nullopt;
}

std::string lowered(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

std::string poHeaderField(const std::string& header, const std::string& field) {
    for (std::string_view line : splitLines(header))
        if (startsWith(line, field + ":")) {
            std::string_view value = trimmedStart(line.substr(field.size() + 1));
            return std::string(value);
        }
    return {};
}

std::vector<uint8_t> poFileBytes(const PoCatalog& catalog) {
    MemoryFile memory;
    if (!memory.ok()) throw std::runtime_error("no in-memory file for a PO file");
    std::string written;
    {
        const std::lock_guard lock(libraryLock());
        po_file_t file = po_file_create();
        po_message_iterator_t it = po_message_iterator(file, nullptr);
        po_message_t header = po_message_create();
        po_message_set_msgid(header, "");
        po_message_set_msgstr(header, catalog.header.c_str());
        po_message_insert(it, header);
        std::string comments;
        for (const PoMessage& m : catalog.messages) {
            po_message_t message = po_message_create();
            if (!m.context.empty()) po_message_set_msgctxt(message, m.context.c_str());
            po_message_set_msgid(message, m.id.c_str());
            po_message_set_msgstr(message, m.str.c_str());
            if (m.fuzzy) po_message_set_fuzzy(message, 1);
            comments.clear();
            for (const std::string& line : m.comments) comments += line + "\n";
            if (!comments.empty()) po_message_set_extracted_comments(message, comments.c_str());
            po_message_insert(it, message);
        }
        po_message_iterator_free(it);
        LibraryErrors errors;
        g_errors = &errors;
        volatile bool wrote = false;
        if (setjmp(errors.fatal) == 0) wrote = po_file_write(file, memory.path().c_str(), &kHandler) != nullptr;
        g_errors = nullptr;
        po_file_free(file);
        if (!wrote || errors.any) throw std::runtime_error("libgettextpo could not write a PO file: " + errors.words);
        const std::vector<uint8_t> bytes = memory.contents();
        written.assign(bytes.begin(), bytes.end());
    }
    const std::string out = withFlags(written, catalog);
    return std::vector<uint8_t>(out.begin(), out.end());
}

Result<PoCatalog> readPoFile(std::span<const uint8_t> bytes) {
    // A byte-order mark some editors write is no part of the first line.
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) bytes = bytes.subspan(3);
    MemoryFile memory;
    if (!memory.ok() || !memory.write(bytes)) return systemError("no in-memory file for the PO file");
    PoCatalog catalog;
    // Where each message's msgstr keyword stands, in file order, and the
    // first zero byte its quoted lines spell.
    std::vector<size_t> msgstrLines;
    std::vector<std::optional<ZeroEscape>> zeros;
    {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        size_t number = 0;
        bool inMsgstr = false;
        for (std::string_view line : splitLines(text)) {
            ++number;
            const std::string_view t = trimmedStart(line);
            if (startsWith(t, "msgstr ") || startsWith(t, "msgstr\t") || startsWith(t, "msgstr\"") ||
                startsWith(t, "msgstr[0]")) {
                msgstrLines.push_back(number);
                zeros.emplace_back();
                inMsgstr = true;
            } else if (!startsWith(t, "\"")) {
                inMsgstr = false;
            }
            if (inMsgstr && !zeros.back() && line.find('\\') != std::string_view::npos) zeros.back() = zeroEscapeIn(line, number);
        }
    }
    const std::lock_guard lock(libraryLock());
    LibraryErrors errors;
    g_errors = &errors;
    po_file_t volatile file = nullptr;
    if (setjmp(errors.fatal) == 0) file = po_file_read(memory.path().c_str(), &kHandler);
    g_errors = nullptr;
    if (errors.any || !file) {
        if (file) po_file_free(file);
        Problem p = problem(ProblemCode::PoSyntax);
        p.line = static_cast<int64_t>(errors.line);
        p.x = static_cast<int64_t>(errors.column);
        p.words = errors.words;
        return p;
    }
    if (const char* header = po_file_domain_header(file, nullptr)) catalog.header = header;
    const std::string contentType = poHeaderField(catalog.header, "Content-Type");
    const size_t charsetAt = lowered(contentType).find("charset=");
    if (charsetAt != std::string::npos) {
        const std::string written = contentType.substr(charsetAt + 8, contentType.find_first_of("; \t", charsetAt) - charsetAt - 8);
        const std::string charset = lowered(written);
        if (charset != "utf-8" && charset != "utf8" && charset != "charset" && charset != "ascii" &&
            charset != "us-ascii") {
            po_file_free(file);
            Problem p = problem(ProblemCode::PoNotUtf8);
            p.words = written;
            return p;
        }
    }
    po_message_iterator_t it = po_message_iterator(file, nullptr);
    size_t index = 0;
    for (po_message_t m = po_next_message(it); m; m = po_next_message(it)) {
        if (po_message_is_obsolete(m)) continue;
        const size_t line = index < msgstrLines.size() ? msgstrLines[index] : 0;
        const std::optional<ZeroEscape> zero = index < zeros.size() ? zeros[index] : std::nullopt;
        ++index;
        const char* context = po_message_msgctxt(m);
        const char* id = po_message_msgid(m);
        if (!context && id[0] == '\0') continue;  // the header
        // A name or text has one form, and no zero byte: gettext would give
        // the first form only, and the text up to the zero.
        if (po_message_msgid_plural(m) || zero) {
            Problem p = problem(zero ? ProblemCode::PoZeroByte : ProblemCode::PoPlural);
            p.line = static_cast<int64_t>(zero ? zero->line : line);
            p.x = static_cast<int64_t>(zero ? zero->column : 1);
            p.words = context ? context : "";
            if (zero) p.bytes = zero->written;
            po_message_iterator_free(it);
            po_file_free(file);
            return p;
        }
        PoMessage message;
        message.context = context ? context : "";
        message.id = id;
        message.str = po_message_msgstr(m) ? po_message_msgstr(m) : "";
        message.fuzzy = po_message_is_fuzzy(m) != 0;
        message.msgstrLine = line;
        catalog.messages.push_back(std::move(message));
    }
    po_message_iterator_free(it);
    po_file_free(file);
    return catalog;
}

PoPosition poMsgstrPosition(std::span<const uint8_t> file, size_t msgstrLine, size_t offset) {
    size_t p = 0, line = 1, lineStart = 0;
    auto newline = [&] {
        ++line;
        lineStart = p + 1;
    };
    while (p < file.size() && line < msgstrLine) {
        if (file[p] == '\n') newline();
        ++p;
    }
    auto here = [&] {
        size_t column = 1;
        for (size_t q = lineStart; q < p; ++q)
            if ((file[q] & 0xC0) != 0x80) ++column;
        return PoPosition{line, column};
    };
    size_t content = 0;
    while (p < file.size()) {
        while (p < file.size() && file[p] != '"') {  // to the next quoted piece
            if (file[p] == '\n') {
                const size_t next = p + 1;
                size_t q = next;
                while (q < file.size() && (file[q] == ' ' || file[q] == '\t')) ++q;
                if (q >= file.size() || file[q] != '"') return here();
                newline();
            }
            ++p;
        }
        if (p >= file.size()) break;
        ++p;  // the opening quote
        while (p < file.size() && file[p] != '"' && file[p] != '\n') {
            if (content >= offset) return here();
            size_t length = 1;
            if (file[p] == '\\' && p + 1 < file.size()) {
                length = 2;
                if (file[p + 1] >= '0' && file[p + 1] <= '7')
                    while (length < 4 && p + length < file.size() && file[p + length] >= '0' && file[p + length] <= '7')
                        ++length;
                else if (file[p + 1] == 'x')
                    while (p + length < file.size() && std::isxdigit(file[p + length])) ++length;
                ++content;
            } else {
                while (p + length < file.size() && (file[p + length] & 0xC0) == 0x80) ++length;
                content += length;
            }
            p += length;
        }
        if (p >= file.size() || file[p] == '\n') break;
        ++p;  // the closing quote
    }
    return here();
}

}  // namespace velk
