#include "text/desk_status.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include <nettle/sha1.h>

#include "image/hex.h"
#include "text/text_checks.h"

namespace velk {
namespace {

constexpr std::array<std::string_view, kDeskStatusCount> kWords = {"", "draft", "review", "done", "locked"};

bool before(const DeskLine& a, CodeKind kind, int number) {
    return a.kind != kind ? a.kind == CodeKind::Name : a.number < number;
}

size_t characters(std::string_view utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Where a field of the line stands: its offset into the file and its column.
struct Field {
    std::string_view text;
    size_t offset;
};

Problem lineProblem(ProblemCode code, const Field& at, size_t lineNumber, size_t lineStart, std::string_view line) {
    Problem p = problem(code, at.offset);
    p.line = static_cast<int64_t>(lineNumber);
    p.x = static_cast<int64_t>(characters(line.substr(0, at.offset - lineStart)) + 1);
    p.bytes = std::string(at.text);
    return p;
}

std::optional<std::string> unescapeNote(std::string_view note, size_t& bad) {
    std::string out;
    out.reserve(note.size());
    for (size_t i = 0; i < note.size(); ++i) {
        if (note[i] != '\\') {
            out += note[i];
            continue;
        }
        const char next = i + 1 < note.size() ? note[i + 1] : '\0';
        if (next != 't' && next != 'n' && next != '\\') {
            bad = i;
            return std::nullopt;
        }
        out += next == 't' ? '\t' : next == 'n' ? '\n' : '\\';
        ++i;
    }
    return out;
}

std::string escapeNote(std::string_view note) {
    std::string out;
    for (const char c : note) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

bool isLowerHexSha1(std::string_view s) {
    return s.size() == 40 && std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

}  // namespace

std::string_view deskStatusWord(DeskStatus status) { return kWords[static_cast<size_t>(status)]; }

const DeskLine* DeskBook::find(CodeKind kind, int number) const {
    const auto it = std::lower_bound(lines_.begin(), lines_.end(), 0,
                                     [&](const DeskLine& l, int) { return before(l, kind, number); });
    return it != lines_.end() && it->kind == kind && it->number == number ? &*it : nullptr;
}

DeskLine& DeskBook::lineFor(CodeKind kind, int number) {
    const auto it = std::lower_bound(lines_.begin(), lines_.end(), 0,
                                     [&](const DeskLine& l, int) { return before(l, kind, number); });
    if (it != lines_.end() && it->kind == kind && it->number == number) return *it;
    DeskLine line;
    line.kind = kind;
    line.number = number;
    return *lines_.insert(it, std::move(line));
}

void DeskBook::dropIfEmpty(CodeKind kind, int number) {
    std::erase_if(lines_, [&](const DeskLine& l) {
        return l.kind == kind && l.number == number && !l.status && l.note.empty();
    });
}

void DeskBook::setStatus(CodeKind kind, int number, std::optional<DeskStatus> status, std::string lockedSha1) {
    if (status == DeskStatus::Untranslated) status.reset();
    DeskLine& line = lineFor(kind, number);
    line.status = status;
    line.lockedSha1 = status == DeskStatus::Locked ? std::move(lockedSha1) : std::string();
    dropIfEmpty(kind, number);
}

void DeskBook::setNote(CodeKind kind, int number, std::string note) {
    lineFor(kind, number).note = std::move(note);
    dropIfEmpty(kind, number);
}

bool DeskBook::add(DeskLine line) {
    if (find(line.kind, line.number)) return false;
    const CodeKind kind = line.kind;
    const int number = line.number;
    lineFor(kind, number) = std::move(line);
    return true;
}

Result<DeskBook> parseDeskStatus(std::span<const uint8_t> bytes, DeskCounts counts) {
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const std::optional<BadSequence> bad = firstInvalidUtf8(all)) {
        const size_t lineStart = all.rfind('\n', bad->offset) == std::string_view::npos ? 0 : all.rfind('\n', bad->offset) + 1;
        const size_t lineNumber = static_cast<size_t>(std::count(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(lineStart), '\n')) + 1;
        return lineProblem(ProblemCode::NotUtf8, {all.substr(bad->offset, bad->length), bad->offset}, lineNumber,
                           lineStart, all.substr(lineStart));
    }
    DeskBook book;
    std::map<std::pair<CodeKind, int>, size_t> firstLine;  // the line that set each entry
    size_t lineNumber = 0;
    // A byte-order mark some editors write is no part of the first line.
    for (size_t start = all.starts_with("\xEF\xBB\xBF") ? 3 : 0; start < all.size();) {
        ++lineNumber;
        const size_t end = std::min(all.find('\n', start), all.size());
        std::string_view line = all.substr(start, end - start);
        const size_t lineStart = start;
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        std::vector<Field> fields;
        for (size_t f = 0;;) {
            const size_t tab = std::min(line.find('\t', f), line.size());
            fields.push_back({line.substr(f, tab - f), lineStart + f});
            if (tab == line.size()) break;
            f = tab + 1;
        }
        auto fail = [&](ProblemCode code, const Field& at) { return lineProblem(code, at, lineNumber, lineStart, line); };
        DeskLine entry;
        if (fields[0].text == "name")
            entry.kind = CodeKind::Name;
        else if (fields[0].text != "text")
            return fail(ProblemCode::StatusKindUnknown, fields[0]);
        if (fields.size() < 4 || fields.size() > 5) {
            Problem p = fail(ProblemCode::StatusFieldCount,
                             fields.size() < 4 ? Field{{}, lineStart + line.size()} : fields[5]);
            p.found = static_cast<int64_t>(fields.size());
            p.expected = 4;
            return p;
        }
        const std::string_view number = fields[1].text;
        if (number.size() != 4 || !std::all_of(number.begin(), number.end(),
                                                [](char c) { return hexDigitValue(static_cast<uint8_t>(c)) >= 0; }))
            return fail(ProblemCode::StatusNumberInvalid, fields[1]);
        for (const char c : number) entry.number = entry.number * 16 + hexDigitValue(static_cast<uint8_t>(c));
        const size_t count = entry.kind == CodeKind::Name ? counts.names : counts.texts;
        if (static_cast<size_t>(entry.number) >= count) {
            Problem p = fail(ProblemCode::StatusEntryOutOfRange, fields[1]);
            p.found = entry.number;
            p.expected = static_cast<int64_t>(count);
            p.record = entry.kind == CodeKind::Name ? Record::Name : Record::Text;
            return p;
        }
        const std::string_view word = fields[2].text;
        if (!word.empty()) {
            const auto it = std::find(kWords.begin() + 1, kWords.end(), word);
            if (it == kWords.end()) return fail(ProblemCode::StatusWordUnknown, fields[2]);
            entry.status = static_cast<DeskStatus>(it - kWords.begin());
        }
        size_t bad = 0;
        std::optional<std::string> note = unescapeNote(fields[3].text, bad);
        if (!note) return fail(ProblemCode::StatusNoteEscape, {fields[3].text.substr(bad, 2), fields[3].offset + bad});
        entry.note = std::move(*note);
        if (fields.size() == 5) {
            if (entry.status != DeskStatus::Locked) {
                Problem p = fail(ProblemCode::StatusFieldCount, fields[4]);
                p.found = 5;
                p.expected = 4;
                return p;
            }
            if (!isLowerHexSha1(fields[4].text)) return fail(ProblemCode::StatusLockSha1Invalid, fields[4]);
            entry.lockedSha1 = std::string(fields[4].text);
        }
        const auto [seen, added] = firstLine.try_emplace({entry.kind, entry.number}, lineNumber);
        if (!added) {
            Problem p = fail(ProblemCode::StatusDuplicate, fields[1]);
            p.found = static_cast<int64_t>(seen->second);
            return p;
        }
        book.add(std::move(entry));
    }
    return book;
}

std::vector<uint8_t> deskStatusBytes(const DeskBook& book) {
    std::string out;
    for (const DeskLine& line : book.lines()) {
        char number[8];
        std::snprintf(number, sizeof number, "%04X", static_cast<unsigned>(line.number));
        out += line.kind == CodeKind::Name ? "name\t" : "text\t";
        out += number;
        out += '\t';
        if (line.status) out += deskStatusWord(*line.status);
        out += '\t';
        out += escapeNote(line.note);
        if (line.status == DeskStatus::Locked && !line.lockedSha1.empty()) out += '\t' + line.lockedSha1;
        out += '\n';
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

DeskStatus statusOf(const DeskLine* line, bool equalsOriginal) {
    if (line && line->status) return *line->status;
    return equalsOriginal ? DeskStatus::Untranslated : DeskStatus::Draft;
}

DeskStatus statusOf(const DeskBook& book, CodeKind kind, int number, bool equalsOriginal) {
    return statusOf(book.find(kind, number), equalsOriginal);
}

std::string lockedTextSha1(std::string_view utf8Text) {
    sha1_ctx ctx;
    sha1_init(&ctx);
    for (size_t i = 0; i < utf8Text.size();) {
        size_t cr = utf8Text.find("\r\n", i);
        if (cr == std::string_view::npos) cr = utf8Text.size();
        sha1_update(&ctx, cr - i, reinterpret_cast<const uint8_t*>(utf8Text.data() + i));
        i = cr + 1;  // the LF after a dropped CR starts the next piece
    }
    uint8_t digest[SHA1_DIGEST_SIZE];
    sha1_digest(&ctx, SHA1_DIGEST_SIZE, digest);
    std::string out;
    for (const uint8_t b : digest) {
        out += "0123456789abcdef"[b >> 4];
        out += "0123456789abcdef"[b & 0x0F];
    }
    return out;
}

DeskFigures deskFigures(const DeskBook& book, CodeKind kind, size_t count,
                        const std::function<bool(size_t)>& equalsOriginal) {
    DeskFigures f;
    f.total = count;
    for (size_t i = 0; i < count; ++i)
        ++f.byStatus[static_cast<size_t>(statusOf(book, kind, static_cast<int>(i), equalsOriginal(i)))];
    return f;
}

}  // namespace velk
