// The translation desk's state of each name and text, as a project keeps it
// in status.tsv: a status and a note per entry, and for a locked entry the
// SHA-1 of the text its lock recorded.
//
// The file is UTF-8 with LF line ends, one line per entry that has a status
// or a note, sorted by kind (names first) and number:
//
//   KIND<TAB>NUMBER<TAB>STATUS<TAB>NOTE[<TAB>SHA1]
//
// KIND is `name` or `text`; NUMBER the entry's index in four hexadecimal
// digits (`0002`, text `15 98` is `1598`); STATUS one of `draft`, `review`,
// `done`, `locked`, or empty for a line that only holds a note; NOTE with
// tab, line feed and backslash written as `\t`, `\n` and `\\`. A locked line
// may have a fifth column: the SHA-1 (40 lower-case hexadecimal digits) of
// the text it locked, as lockedTextSha1 computes it. Other lines have four.
// An entry without a line has the implicit status of statusOf.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/result.h"
#include "text/char_tables.h"

namespace velk {

constexpr const char* kDeskStatusFileName = "status.tsv";

// In the order of the work: the first two are implicit when no line sets one.
enum class DeskStatus : uint8_t { Untranslated, Draft, Review, Done, Locked };
constexpr size_t kDeskStatusCount = 5;

// The status word the file uses: "draft", "review", "done", "locked"
// (empty for Untranslated, which the file never writes).
std::string_view deskStatusWord(DeskStatus status);

struct DeskLine {
    CodeKind kind = CodeKind::Text;
    int number = 0;
    std::optional<DeskStatus> status;  // nothing: the line only holds a note
    std::string note;                  // UTF-8, as typed (unescaped)
    std::string lockedSha1;            // for Locked: the SHA-1 of the locked text, or empty

    bool operator==(const DeskLine&) const = default;
};

// Every line of a status file, sorted by kind and number, one per entry.
class DeskBook {
public:
    const std::vector<DeskLine>& lines() const { return lines_; }
    const DeskLine* find(CodeKind kind, int number) const;
    // Sets the entry's status (nothing: none) or note; a line left with
    // neither goes. Locking needs the SHA-1 of the locked text.
    void setStatus(CodeKind kind, int number, std::optional<DeskStatus> status, std::string lockedSha1 = {});
    void setNote(CodeKind kind, int number, std::string note);
    // Adds a line read from a file; false when the entry has one already.
    bool add(DeskLine line);

    bool operator==(const DeskBook&) const = default;

private:
    DeskLine& lineFor(CodeKind kind, int number);
    void dropIfEmpty(CodeKind kind, int number);
    std::vector<DeskLine> lines_;
};

// How many entries of each kind there are: numbers past them are refused.
struct DeskCounts {
    size_t names = 0;
    size_t texts = 0;
};

// Reads status.tsv. A line that does not parse is a problem whose `line`
// and `x` are its 1-based line and column (in characters) and whose offset
// is into `bytes`: StatusKindUnknown, StatusNumberInvalid (bytes: the
// field), StatusEntryOutOfRange (found: the number; expected: the count),
// StatusWordUnknown, StatusNoteEscape, StatusLockSha1Invalid (bytes: the
// field), StatusFieldCount (found: the fields; expected: four or five),
// StatusDuplicate (found: the line that set it first), NotUtf8.
Result<DeskBook> parseDeskStatus(std::span<const uint8_t> bytes, DeskCounts counts);

// The file for the book: sorted, each line ending in LF; empty for no lines.
std::vector<uint8_t> deskStatusBytes(const DeskBook& book);

// The status an entry has: its line's, or without one (or a line with only
// a note) Untranslated while its text equals the original, Draft otherwise.
DeskStatus statusOf(const DeskLine* line, bool equalsOriginal);
DeskStatus statusOf(const DeskBook& book, CodeKind kind, int number, bool equalsOriginal);

// The SHA-1 a lock records: of the entry's text as the project file holds
// it (UTF-8, behind a name's label, between a text's header line and its
// closing "//"), with every CR before an LF left out. 40 lower-case digits.
std::string lockedTextSha1(std::string_view utf8Text);

// The number of entries of one kind in each status, indexed by DeskStatus.
struct DeskFigures {
    size_t total = 0;
    std::array<size_t, kDeskStatusCount> byStatus{};
    size_t count(DeskStatus s) const { return byStatus[static_cast<size_t>(s)]; }
    // Translated: every entry past Untranslated.
    size_t translated() const { return total - count(DeskStatus::Untranslated); }
};
// The figures of `count` entries of one kind; equalsOriginal(i) says
// whether entry i's text is still the original.
DeskFigures deskFigures(const DeskBook& book, CodeKind kind, size_t count,
                        const std::function<bool(size_t)>& equalsOriginal);

}  // namespace velk
