// The ways every operation meets its files: read or write them, and say
// what stopped it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/result.h"
#include "ops/messages.h"
#include "ops/outcome.h"
#include "platform/platform.h"

namespace velk {

// One step of an operation: its value, or the outcome the operation ends
// with there (cancelled, or failed with the problem's message).
template <typename T>
class [[nodiscard]] Step {
public:
    Step(T value) : value_(std::move(value)) {}
    Step(Outcome stop) : stop_(std::move(stop)) {}
    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    T* operator->() { return &*value_; }
    Outcome stop() && { return std::move(stop_); }

private:
    std::optional<T> value_;
    Outcome stop_;
};

// The failed outcome of a problem; with a source, its detail says where in it.
Outcome failedWith(const Problem& problem, const SourceText* source = nullptr,
                   std::vector<std::string> warnings = {});
// A problem with a file ("%sが読み込めません", "%sに書き込めませんでした"),
// naming the file.
Message fileProblemMessage(Problem problem, const ChosenFile& file);
Outcome fileFailure(Problem problem, const ChosenFile& file);
// The same, its detail "NAME:WHERE: reason" (WHERE: "LINE:COLUMN").
Message placedFileMessage(Problem problem, const ChosenFile& file, const std::string& where);

// The UTF-8 text in Shift-JIS, or a problem at the first character that is
// no UTF-8 or has no Shift-JIS form (its offset into `utf8`).
Result<std::string> utf8ToSjis(std::string_view utf8);

// The message about the file, with a detail "NAME:WHERE: reason" (WHERE is
// "LINE:COLUMN").
Message placedFileMessage(Problem problem, const ChosenFile& file, const std::string& where);

// The largest name list, text collection or change script that is read.
constexpr size_t kMaxTextFileBytes = size_t{64} << 20;

// A text file the user edits (name list, text collection, change script),
// as Shift-JIS bytes: a file that starts with a UTF-8 byte-order mark, or any
// file when the platform asks for UTF-8, is converted from UTF-8 first. A
// file larger than kMaxTextFileBytes is refused, after reading one byte more.
struct TextFile {
    ChosenFile file;
    std::vector<uint8_t> bytes;
    SourceText source() const { return {file.displayName(), bytes}; }
};
// Reads and converts a chosen text file (a character with no Shift-JIS form
// fails where it stands).
Step<TextFile> readTextFile(Platform& platform, const ChosenFile& file);
// The bytes of an exported text file: as they are, or in UTF-8 with a
// byte-order mark when the platform asks for UTF-8.
std::vector<uint8_t> textFileBytes(Platform& platform, std::vector<uint8_t> sjis);

// The UTF-8 text in Shift-JIS, or a problem (NotUtf8, NoShiftJisForm with
// the character) at the first character that has no Shift-JIS form (its
// offset into `utf8`).
Result<std::string> utf8ToSjis(std::string_view utf8);

// Each warning as "FILE:LINE: warning: ...".
std::vector<std::string> warningLines(const SourceText& source, const std::vector<Warning>& warnings);

// Reads a file (at most maxBytes of it); "%sが読み込めません" with
// `file.name` when it cannot be read.
Step<std::vector<uint8_t>> readChosenFile(Platform& platform, const ChosenFile& file, size_t maxBytes = SIZE_MAX);

// Writes the file: done (without a summary), or failed with
// "%sに書き込めませんでした" and its name.
Outcome writeChosenFile(Platform& platform, const ChosenFile& file, std::span<const uint8_t> bytes);

// "%sに書き込めませんでした" for the file or folder at `path`, with the problem's reason.
Outcome cannotWriteAt(Problem problem, const std::filesystem::path& path);

// Writes the bytes to the file at `path`; done with `summary`.
Outcome writeNamedFile(Platform& platform, const std::filesystem::path& path, std::span<const uint8_t> bytes,
                       std::string summary);

// The number of lines (LF-separated, a last line without LF counts) that
// begin with `mark`: the blocks of a text collection, a script's sections.
size_t linesStartingWith(std::span<const uint8_t> bytes, std::string_view mark);

// A summary "WHAT N 件をVERB" in Shift-JIS, from UTF-8 words.
std::string countSummary(const char* what, size_t count, const char* verb);

// The file at `path`, named in messages by its file name in Shift-JIS.
ChosenFile namedFile(const std::filesystem::path& path);

// `<folder>/<title><suffix>` for the chosen file `<folder>/<title>.<ext>`.
ChosenFile sideFile(const ChosenFile& chosen, const std::string& suffix);

}  // namespace velk
