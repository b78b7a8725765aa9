// How every format and codec reports a failure: a value that names the
// message, its arguments and where in the input the trouble stands. Only the
// operations layer turns it into text and shows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace velk {

// What went wrong, as data. Each code names one kind of trouble; the fields
// it uses are listed beside it. Only the operations layer chooses the
// message a code stands for and words its detail.
enum class ProblemCode : uint8_t {
    // Files and the system.
    SystemError,            // words: the system's own
    FileTooLarge,           // expected: the limit in bytes
    Utf16ByteOrderMark,     //
    Utf16ZeroByte,          // offset: the zero byte
    NotUtf8,                // bytes: the sequence that is no UTF-8 character
    NoShiftJisForm,         // bytes: the UTF-8 character
    NotUtf8Text,            //
    AbsoluteScriptPath,     //
    ScriptPathLeadsOut,     //
    IsAFolder,              //
    NotARegularFile,        //
    IsTheLoadedRom,         // words: the loaded ROM's file name
    ExportIsTheLoadedRom,   // words: the loaded ROM's file name
    BackupIsALink,          // words: the name of the file being replaced
    LoadedFromPipe,         //
    LoadedRomChanged,       //
    RomHasGrown,            // words: its file name; expected: the largest size
    // ROM images.
    NotARomImage,           // found: the size (above expected when only "more than" is known); expected: the largest
    BlockPointerOutside,    // offset: the pointer; bytes: its three bytes
    NoRoom,                 //
    // Packed streams.
    PackedStreamOutside,    //
    PackedStreamRunsPast,   //
    BackReferenceOutside,   //
    LengthHeaderTooLarge,   // found: the length it asks for
    UnpackedLengthTooLarge, //
    // Names and texts; record and entry say which one.
    NamePointerOutside,     //
    NameRunsPast,           //
    CharacterNotInTable,    // bytes: the two bytes at the offset; found: the character's length; innerOffset
    EntryNotClosed,         // bytes, innerOffset as above (zeros past the end)
    HexEscapeMalformed,     // as above
    HexEscapeNotClosed,     // as above
    PairEscapeMalformed,    // as above
    ByteEscapeMalformed,    // as above
    EscapeEndsName,         // as above
    UnknownToken,           // bytes: the token
    TokenNotClosed,         // bytes: the token so far
    TextTooLong,            //
    NameIsOneLine,          // a line break inside a name
    SlashEndsText,          // a lone '/' ends a text before its closing "//"
    // Change scripts; line: where.
    NoFileName,             //
    GlyphsWithoutTable,     //
    SheetWithoutPalette,    //
    EntryNeedsFiveNumbers,  //
    EntryNeedsThreeNumbers, //
    NameEntryUnsigned,      //
    NameEntryOutOfRange,    //
    TextEntryUnsigned,      //
    TextEntryOutOfRange,    //
    ClassNumberOutOfRange,  // entry: which number (F, C, U1, U2, U3)
    ItemNumberOutOfRange,   // entry: which number (G1, G2, G3)
    // IPS patches; offset and innerOffset: the record.
    IpsIsBps,               //
    IpsNoHeader,            //
    IpsTooShort,            // found: its size
    IpsNoEof,               //
    IpsRecordRunsPast,      //
    IpsZeroRun,             //
    IpsWritesBeyond,        //
    // BPS patches.
    BpsNoHeader,            //
    BpsPatchChecksum,       //
    BpsHeaderRunsPast,      //
    BpsSourceSize,          // expected: the source size it was made for
    BpsSourceChecksum,      //
    BpsSizesBeyond,         //
    BpsActionRunsPast,      //
    BpsActionBeyondTarget,  //
    BpsReadsBeyondSource,   //
    BpsNewBytesRunPast,     //
    BpsOffsetRunsPast,      //
    BpsCopyOutsideSource,   //
    BpsCopyOutsideTarget,   //
    BpsTargetSize,          // found: bytes made; expected: bytes asked for
    BpsTargetChecksum,      //
    // PNG pictures.
    NotAPng,                //
    PngLibrary,             // words: libpng's own
    PictureSize,            // width, height: expected; x, y: found
    PaletteIndexTooLarge,   // x, y: the pixel; found: the index; expected: the largest read
    ColourNotInPalette,     // x, y: the pixel; found: its colour as 0xRRGGBB
    // Projects and the checks before sharing.
    FolderNotEmpty,         //
    ProjectFileInvalid,     // words: its line and what is wrong with it
    PatchFailedCheck,       // words: why; cause: why its removal failed (empty: it was removed)
    // Search and replace; line: the rule's, in a rules file.
    RuleNotTwoColumns,        // found: the columns (a rule has two, with one TAB between)
    EmptyPattern,             //
    PatternInvalid,           // words: PCRE2's own
    ReplacementDollar,        // bytes: the '$' and what follows it
    ReplacementGroupUnknown,  // bytes: the reference as written
    PatternMatchFailed,       // words: PCRE2's own
    EntryChangedSincePreview, // record and entry: which
    ReplaceResultsUnusable,   // found: how many entries; words: one line for each
    // A project's status.tsv and glossary.tsv; line and x: the line and column.
    StatusKindUnknown,      // bytes: the field
    StatusNumberInvalid,    // bytes: the field
    StatusEntryOutOfRange,  // record; found: the number; expected: how many there are
    StatusWordUnknown,      // bytes: the field
    StatusNoteEscape,       // bytes: the backslash and what follows it
    StatusLockSha1Invalid,  // bytes: the field
    StatusFieldCount,       // found: the fields; expected: how many a line has
    StatusDuplicate,        // found: the line that named the entry first
    GlossaryNoTranslation,  // a line without a tab between the original and its translation
    // PO files.
    PoSyntax,               // words: gettext's own; line, x: where (0: unknown)
    PoNotUtf8,              // words: its Content-Type
    // Projects again.
    NotTheProjectBase,      // expected, width: the base's CRC-32 and size; found, height: the loaded ROM's
    // Box rules; offset: where the first item past the limit starts.
    LinePastColumns,        // line: the text's line (1-based); found: its cells; expected: text-columns
    TextPastLines,          // x: the box (1-based; 0 without a box break); found: its lines; expected: text-lines
    NamePastColumns,        // found: the name's cells; expected: name-columns
    // (a new code goes above this line)
    LastCode = NamePastColumns
};

// Which kind of record a problem is about.
enum class Record : uint8_t { None, Name, Face, UnitGraphic, Text, ColourSet };

struct Problem {
    ProblemCode code;
    size_t offset = 0;               // where the offending bytes stand in the input
    Record record = Record::None;    // the record it is about, and its number
    int64_t entry = 0;
    std::optional<int64_t> pointsTo{};  // the record's pointer, when a catalogue names it
    size_t innerOffset = 0;          // where in the entry's own text, or in the patch a script names
    int64_t line = 0;                // a script's line
    int64_t expected = 0;            // what was wanted
    int64_t found = 0;               // what stood there instead
    int64_t width = 0, height = 0;
    int64_t x = 0, y = 0;
    std::string bytes{};   // raw bytes as the input held them
    std::string words{};   // a system's or library's own words, or a file name
    std::string file{};    // the file it is about, raw bytes; how to show it (empty: as its bytes)
    std::string fileUtf8{};
    std::string cause{};      // a further problem's words, behind this one
    std::string fullWidth{};  // a character's full-width form (Shift-JIS) that has a glyph where it has none
    bool writing = false;  // it stopped a write, not a read
    // Where in `file` the trouble stands, for a detail "NAME:LINE:COLUMN:
    // reason" (0: nowhere; a column of 0: the line only).
    int64_t fileLine = 0, fileColumn = 0;
};

// Something worth a word that does not stop anything: where, and what.
struct Warning {
    size_t offset;     // into the input
    std::string text;  // UTF-8 plain words
};

inline Problem problem(ProblemCode code, size_t offset = 0) {
    Problem p{code};
    p.offset = offset;
    return p;
}

// A system call or library that failed, in its own words.
inline Problem systemError(std::string words, bool writing = false) {
    Problem p{ProblemCode::SystemError};
    p.words = std::move(words);
    p.writing = writing;
    return p;
}

// A file larger than `limitBytes`.
inline Problem tooLarge(size_t limitBytes) {
    Problem p{ProblemCode::FileTooLarge};
    p.expected = static_cast<int64_t>(limitBytes);
    return p;
}

// A value or the problem that prevented it.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Problem p) : v_(std::move(p)) {}

    bool ok() const { return v_.index() == 0; }
    bool has_value() const { return ok(); }
    explicit operator bool() const { return ok(); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& value() {
        if (!ok()) throw std::logic_error("Result holds a problem");
        return std::get<0>(v_);
    }
    const T& value() const {
        if (!ok()) throw std::logic_error("Result holds a problem");
        return std::get<0>(v_);
    }
    const Problem& problem() const {
        if (ok()) throw std::logic_error("Result holds a value");
        return std::get<1>(v_);
    }
    Problem& problem() {
        if (ok()) throw std::logic_error("Result holds a value");
        return std::get<1>(v_);
    }

private:
    std::variant<T, Problem> v_;
};

// Success without a value, or a problem.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Problem p) : p_(std::move(p)) {}

    bool ok() const { return !p_; }
    explicit operator bool() const { return ok(); }
    const Problem& problem() const {
        if (!p_) throw std::logic_error("Result holds no problem");
        return *p_;
    }
    Problem& problem() {
        if (!p_) throw std::logic_error("Result holds no problem");
        return *p_;
    }

private:
    std::optional<Problem> p_;
};

using Status = Result<void>;

}  // namespace velk
