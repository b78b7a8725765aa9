#include "ops/file_steps.h"

#include <algorithm>

#include "ops/messages.h"
#include "text/sjis.h"
#include "text/text_checks.h"

namespace velk {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool startsWithUtf8Mark(std::span<const uint8_t> bytes) {
    return bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
}

size_t utf8Length(uint8_t lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

}  // namespace

Result<std::string> utf8ToSjis(std::string_view utf8) {
    if (const std::optional<BadSequence> bad = firstInvalidUtf8(utf8)) {
        Problem p = problem(ProblemCode::NotUtf8, bad->offset);
        p.bytes = utf8.substr(bad->offset, bad->length);
        return p;
    }
    if (std::optional<std::string> all = toCp932Strict(utf8)) return std::move(*all);
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = std::min(utf8Length(static_cast<uint8_t>(utf8[i])), utf8.size() - i);
        if (!toCp932Strict(utf8.substr(i, n))) {
            Problem p = problem(ProblemCode::NoShiftJisForm, i);
            p.bytes = utf8.substr(i, n);
            return p;
        }
        i += n;
    }
    return problem(ProblemCode::NotUtf8Text);
}

Problem aboutFile(Problem p, const std::filesystem::path& path, bool writing, int64_t line, int64_t column) {
    p.writing = p.writing || writing;
    p.file = toCp932(path.filename().string());
    p.fileUtf8 = path.filename().string();
    p.fileLine = line;
    p.fileColumn = column;
    return p;
}

Outcome fileFailure(Problem p, const std::filesystem::path& path, bool writing) {
    return failedOutcome(renderMessage(aboutFile(std::move(p), path, writing)));
}

Outcome failedWith(const Problem& problem, const SourceText* source, std::vector<std::string> warnings) {
    Message m = renderMessage(problem, source);
    // A UTF-8 file read as Shift-JIS fails at its first Japanese character:
    // say how it would read.
    if (source && !source->utf8) {
        const std::string_view bytes(reinterpret_cast<const char*>(source->bytes.data()), source->bytes.size());
        if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) &&
            toCp932Strict(bytes))
            m.detail += "\n" + source->name +
                        ": the file is UTF-8, not Shift-JIS: read it with --utf8, or begin it with a byte-order mark";
    }
    return failedOutcome(std::move(m), std::move(warnings));
}

Result<TextFile> readTextFile(Platform& platform, const std::filesystem::path& path) {
    Result<std::vector<uint8_t>> bytes = readFileAt(platform, path, kMaxTextFileBytes + 1);
    if (!bytes) return std::move(bytes.problem());
    if (bytes->size() > kMaxTextFileBytes) return aboutFile(tooLarge(kMaxTextFileBytes), path);
    if (Status s = checkNotUtf16(*bytes); !s) {
        const Location at = locate(*bytes, s.problem().offset);
        return aboutFile(std::move(s.problem()), path, false, at.line, at.column);
    }
    const bool marked = startsWithUtf8Mark(*bytes);
    if (!marked && !platform.utf8Files()) return TextFile{path, std::move(*bytes)};
    const std::string_view utf8(reinterpret_cast<const char*>(bytes->data()) + (marked ? 3 : 0),
                                bytes->size() - (marked ? 3 : 0));
    Result<std::string> sjis = utf8ToSjis(utf8);
    if (!sjis) {
        const Location at = locate(std::span(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size()),
                                   sjis.problem().offset, true);
        return aboutFile(std::move(sjis.problem()), path, false, at.line, at.column);
    }
    return TextFile{path, std::vector<uint8_t>(sjis->begin(), sjis->end())};
}

std::vector<uint8_t> textFileBytes(Platform& platform, std::vector<uint8_t> sjis) {
    if (!platform.utf8Files()) return sjis;
    const std::string utf8 = std::string(kUtf8Mark) + fromCp932(std::string_view(reinterpret_cast<const char*>(sjis.data()), sjis.size()));
    return std::vector<uint8_t>(utf8.begin(), utf8.end());
}

std::vector<std::string> warningLines(const SourceText& source, const std::vector<Warning>& warnings) {
    std::vector<std::string> lines;
    for (const Warning& w : warnings)
        lines.push_back(source.name + ":" + std::to_string(locate(source.bytes, w.offset).line) + ": warning: " + w.text);
    return lines;
}

Result<std::vector<uint8_t>> readFileAt(Platform& platform, const std::filesystem::path& path, size_t maxBytes) {
    Result<std::vector<uint8_t>> bytes = platform.readFile(path, maxBytes);
    if (!bytes) return aboutFile(std::move(bytes.problem()), path);
    return bytes;
}

Outcome writeFileAt(Platform& platform, const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    if (Status s = platform.writeFile(path, bytes); !s) return fileFailure(std::move(s.problem()), path, true);
    return doneOutcome({});
}

Outcome writeNamedFile(Platform& platform, const std::filesystem::path& path, std::span<const uint8_t> bytes,
                       std::string summary) {
    Outcome written = writeFileAt(platform, path, bytes);
    if (written.done()) written.summary = std::move(summary);
    return written;
}

size_t linesStartingWith(std::span<const uint8_t> bytes, std::string_view mark) {
    size_t count = 0;
    for (size_t at = 0; at < bytes.size();) {
        if (bytes.size() - at >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin() + at)) ++count;
        const auto lf = std::find(bytes.begin() + at, bytes.end(), uint8_t{'\n'});
        at = static_cast<size_t>(lf - bytes.begin()) + 1;
    }
    return count;
}

std::string countSummary(const char* what, size_t count, const char* verb) {
    return toCp932(std::string(what) + " " + std::to_string(count) + " 件を" + verb);
}

std::filesystem::path sideFile(const std::filesystem::path& path, const std::string& suffix) {
    return path.parent_path() / (path.stem().string() + suffix);
}

}  // namespace velk
