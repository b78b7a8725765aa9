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

// The failed outcome of a problem; with a source, its detail says where in it.
Outcome failedWith(const Problem& problem, const SourceText* source = nullptr,
                   std::vector<std::string> warnings = {});
// The problem as one with the file at `path`: its message names the file by
// its name ("%sが読み込めません", or "%sに書き込めませんでした" when
// `writing`), and so does its detail, with the line and column in the file
// where they are not 0 ("NAME:LINE:COLUMN: reason").
Problem aboutFile(Problem problem, const std::filesystem::path& path, bool writing = false, int64_t line = 0,
                  int64_t column = 0);
// The failed outcome of a problem with the file at `path` (see aboutFile).
Outcome fileFailure(Problem problem, const std::filesystem::path& path, bool writing = false);

// The largest name list, text collection or change script that is read.
constexpr size_t kMaxTextFileBytes = size_t{64} << 20;

// A text file the user edits (name list, text collection, change script),
// as Shift-JIS bytes: a file that starts with a UTF-8 byte-order mark, or any
// file when the platform asks for UTF-8, is converted from UTF-8 first. A
// file larger than kMaxTextFileBytes is refused, after reading one byte more.
struct TextFile {
    std::filesystem::path path;
    std::vector<uint8_t> bytes;
    SourceText source() const { return {path.filename().string(), bytes}; }
};
// Reads and converts a text file (a character with no Shift-JIS form fails
// where it stands); a problem about the file (see aboutFile).
Result<TextFile> readTextFile(Platform& platform, const std::filesystem::path& path);
// The bytes of an exported text file: as they are, or in UTF-8 with a
// byte-order mark when the platform asks for UTF-8.
std::vector<uint8_t> textFileBytes(Platform& platform, std::vector<uint8_t> sjis);

// The UTF-8 text in Shift-JIS, or a problem (NotUtf8, NoShiftJisForm with
// the character) at the first character that has no Shift-JIS form (its
// offset into `utf8`).
Result<std::string> utf8ToSjis(std::string_view utf8);

// Each warning as "FILE:LINE: warning: ...".
std::vector<std::string> warningLines(const SourceText& source, const std::vector<Warning>& warnings);

// Reads a file (at most maxBytes of it); "%sが読み込めません" with its name
// when it cannot be read.
Result<std::vector<uint8_t>> readFileAt(Platform& platform, const std::filesystem::path& path,
                                        size_t maxBytes = SIZE_MAX);

// Writes the file: done (without a summary), or failed with
// "%sに書き込めませんでした" and its name.
Outcome writeFileAt(Platform& platform, const std::filesystem::path& path, std::span<const uint8_t> bytes);

// Writes the bytes to the file at `path`; done with `summary`.
Outcome writeNamedFile(Platform& platform, const std::filesystem::path& path, std::span<const uint8_t> bytes,
                       std::string summary);

// The number of lines (LF-separated, a last line without LF counts) that
// begin with `mark`: the blocks of a text collection, a script's sections.
size_t linesStartingWith(std::span<const uint8_t> bytes, std::string_view mark);

// A summary "WHAT N 件をVERB" in Shift-JIS, from UTF-8 words.
std::string countSummary(const char* what, size_t count, const char* verb);

// `<folder>/<title><suffix>` for the file `<folder>/<title>.<ext>`.
std::filesystem::path sideFile(const std::filesystem::path& path, const std::string& suffix);

}  // namespace velk
