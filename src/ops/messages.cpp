#include "ops/messages.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "ops/entry_ops.h"
#include "text/sjis.h"
#include "text/text_checks.h"

namespace velk {
namespace {

using C = ProblemCode;

std::string hex(const char* format, int64_t v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, static_cast<unsigned long long>(v));
    return buf;
}

int64_t signedByte(const std::string& bytes, size_t i) {
    return i < bytes.size() ? static_cast<int8_t>(static_cast<uint8_t>(bytes[i])) : 0;
}

std::string num(int64_t v) { return std::to_string(v); }

std::string cells(int64_t v) { return num(v) + (v == 1 ? " cell" : " cells"); }

// The character as a message inserts it: nothing from a zero byte on.
std::string character(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

// The character as the user typed it, with its bytes in hex: "'あ' (bytes 82 A0)".
std::string describeCharacter(const Problem& p) {
    const std::string c = p.bytes.substr(0, p.found == 2 ? 2 : 1);
    std::string codes;
    for (char b : c) {
        if (!codes.empty()) codes += ' ';
        codes += hex("%02llX", static_cast<uint8_t>(b));
    }
    std::string out = "'";
    out += fromCp932Escaped(c);
    out += c.size() == 2 ? "' (bytes " : "' (byte ";
    out += codes;
    out += ')';
    return out;
}

const char* recordName(Record r) {
    switch (r) {
        case Record::Name: return "name";
        case Record::Face: return "face";
        case Record::UnitGraphic: return "unit graphic";
        case Record::Text: return "text";
        case Record::ColourSet: return "colour set";
        case Record::None: break;
    }
    return "record";
}

std::string entryName(const Problem& p) { return std::string(recordName(p.record)) + " " + num(p.entry); }

std::string pixel(const Problem& p) { return "pixel (" + num(p.x) + ", " + num(p.y) + ")"; }

std::string ipsRecord(const Problem& p, const char* what) {
    return hex("IPS record at 0x%llX ", static_cast<int64_t>(p.innerOffset)) + what;
}

// A record's pointer as the catalogue names it: six hex digits, at most
// fifteen characters.
std::string pointerHex(int64_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06llX", static_cast<unsigned long long>(v));
    return buf;
}

// The words of the code alone, before any record it names.
std::string codeReason(const Problem& p) {
    static const char* const kScriptFiles = "; a script names files in its own folder or below it (--script-files-anywhere allows any)";
    static const char* const kClassNumbers[5] = {"F (face) must be 00-9C", "C (colour sets) must be 00-9C",
                                                 "U1 must be 00-51", "U2 must be 00-0A", "U3 must be 00-85"};
    static const char* const kItemNumbers[3] = {"G1 must be 000-10B", "G2 must be 000-1C2", "G3 must be 04B-156"};
    const std::string shown = fromCp932Escaped(p.bytes);
    switch (p.code) {
        case C::SystemError: return p.words;
        case C::FileTooLarge:
            if (p.expected % (1 << 20) == 0) return "larger than " + num(p.expected >> 20) + " MiB";
            if (p.expected % (1 << 10) == 0) return "larger than " + num(p.expected >> 10) + " KiB";
            return "larger than " + num(p.expected) + " bytes";
        case C::Utf16ByteOrderMark: return "begins with a UTF-16 byte-order mark; save it as Shift-JIS or UTF-8";
        case C::Utf16ZeroByte: return "holds a zero byte, so it looks like UTF-16; save it as Shift-JIS or UTF-8";
        case C::NotUtf8: return "is not UTF-8: " + escapedBytes(p.bytes) + " is no UTF-8 character";
        case C::NoShiftJisForm: return "'" + p.bytes + "' has no Shift-JIS (CP932) form";
        case C::NotUtf8Text: return "not UTF-8 text";
        case C::AbsoluteScriptPath: return std::string("is an absolute path") + kScriptFiles;
        case C::ScriptPathLeadsOut: return std::string("leads out of the script's folder") + kScriptFiles;
        case C::IsAFolder: return "is a folder, not a file";
        case C::NotARegularFile: return "is not a regular file (a FIFO or a device); a script names regular files only";
        case C::IsTheLoadedRom: return "is the loaded ROM " + p.words + " (after following links); it is never replaced by a patch";
        case C::ExportIsTheLoadedRom:
            return "is the loaded ROM " + p.words + " (after following links); only a save replaces it";
        case C::BackupIsALink:
            return "is a link to " + p.words + ", the file this save replaces; the backup would not keep it. Remove or rename it";
        case C::LoadedFromPipe:
            return "was read from a pipe or a device, which cannot be read again as the patch's source; load the ROM from a file";
        case C::LoadedRomChanged: return "changed since it was loaded, and a patch is made against the ROM as loaded";
        case C::RomHasGrown: return p.words + " has grown to more than " + num(p.expected) + " bytes since it was loaded";
        case C::NotARomImage:
            return (p.found > p.expected ? "more than " + num(p.expected) : num(p.found)) +
                   " bytes, not a 4 MiB image (4194304 bytes, or 4194816 with a copier header)";
        case C::BlockPointerOutside: {
            std::string held;
            for (size_t i = 0; i < 3; ++i) held += hex(" %02llX", i < p.bytes.size() ? static_cast<uint8_t>(p.bytes[i]) : 0);
            return hex("the block pointer at 0x%06llX holds", static_cast<int64_t>(p.offset)) + held +
                   ", which leads outside the image";
        }
        case C::NoRoom:  // a pinned face names itself; otherwise the message says it all
            return p.record != Record::Face ? std::string()
                                            : "packs to " + num(p.found) + " bytes, more than the " + num(p.expected) +
                                                  " bytes of its place; faces 127-156 are saved where they stand";
        case C::PackedStreamOutside: return "packed stream starts outside the image";
        case C::PackedStreamRunsPast: return "packed stream runs past the end of the image";
        case C::BackReferenceOutside: return "back-reference leads outside the image";
        case C::LengthHeaderTooLarge: return "length header asks for " + num(p.found) + " bytes, more than 4096";
        case C::UnpackedLengthTooLarge: return "unpacked length beyond 4096 bytes";
        case C::NamePointerOutside: return "name pointer leads outside the image";
        case C::NameRunsPast: return "name runs past the end of the image";
        case C::CharacterNotInTable:
            return describeCharacter(p) + " is in no character table, in " + entryName(p) +
                   (p.fullWidth.empty() ? ""
                                        : "; its full-width form '" + fromCp932(p.fullWidth) +
                                              "' has one, which --fullwidth would take");
        case C::EntryNotClosed: return entryName(p) + " ends without its closing \"//\"";
        case C::HexEscapeMalformed: return "'[' is not followed by two hexadecimal numbers, in " + entryName(p);
        case C::HexEscapeNotClosed: return "'[' has no closing \")]\" before the text ends, in " + entryName(p);
        case C::PairEscapeMalformed: return "'?' is not followed by \"XX YY?\" (two digits each), in " + entryName(p);
        case C::ByteEscapeMalformed: return "'!' is not followed by \"XX!\" (two digits), in " + entryName(p);
        case C::EscapeEndsName: return "the escape's 00 would end the name there, in " + entryName(p);
        case C::UnknownToken:
            return "(" + shown + ") is none of the tokens (主人公) (騎士団) (冷や汗) (ハート) (旗), in " + entryName(p);
        case C::TokenNotClosed: return "\"(" + shown + "\" has no closing \")\" on its line, in " + entryName(p);
        case C::TextTooLong: return "text " + num(p.entry) + " needs more than 4096 code bytes";
        case C::NameIsOneLine: return "a name is one line";
        case C::SlashEndsText: return "a '/' ends the text before its closing \"//\"";
        case C::NoFileName: return "no file name behind \"@@\"";
        case C::GlyphsWithoutTable: return "the glyph file has no table file (\"@@\") behind it in its section";
        case C::SheetWithoutPalette: return "the sheet file has no palette file (\"@@\") behind it in its section";
        case C::EntryNeedsFiveNumbers: return "the entry needs '#' and five numbers, each behind a '.'";
        case C::EntryNeedsThreeNumbers: return "the entry needs '#' and three numbers, each behind a '.'";
        case C::NameEntryUnsigned: return "an entry number has no sign: [F0 00] to [F9 CD]";
        case C::NameEntryOutOfRange: return "a name entry must be [F0 00] to [F9 CD]";
        case C::TextEntryUnsigned: return "an entry number has no sign: ##No.00 00 to ##No.15 E6";
        case C::TextEntryOutOfRange: return "a text entry must be ##No.00 00 to ##No.15 E6";
        case C::ClassNumberOutOfRange: return std::string(kClassNumbers[std::clamp<int64_t>(p.entry, 0, 4)]) + ", or FF to leave it alone";
        case C::ItemNumberOutOfRange: return std::string(kItemNumbers[std::clamp<int64_t>(p.entry, 0, 2)]) + ", or FF to leave it alone";
        case C::IpsIsBps: return "a BPS patch (it begins with \"BPS1\"), not an IPS patch";
        case C::IpsNoHeader: return "not an IPS patch: it does not begin with \"PATCH\"";
        case C::IpsTooShort: return "IPS patch of " + num(p.found) + " bytes, fewer than 8";
        case C::IpsNoEof: return ipsRecord(p, "runs past the end of the patch without \"EOF\"");
        case C::IpsRecordRunsPast: return ipsRecord(p, "runs past the end of the patch");
        case C::IpsZeroRun: return ipsRecord(p, "is a run of length 0");
        case C::IpsWritesBeyond: return ipsRecord(p, "writes beyond the end of the image");
        case C::BpsNoHeader: return "BPS patch: no \"BPS1\" header";
        case C::BpsPatchChecksum: return "BPS patch: the patch's checksum does not match";
        case C::BpsHeaderRunsPast: return "BPS patch: header runs past the end";
        case C::BpsSourceSize: return "BPS patch: made for a source of " + num(p.expected) + " bytes";
        case C::BpsSourceChecksum: return "BPS patch: the source's checksum does not match";
        case C::BpsSizesBeyond: return "BPS patch: sizes beyond the patch";
        case C::BpsActionRunsPast: return "BPS patch: action runs past the end";
        case C::BpsActionBeyondTarget: return "BPS patch: action writes beyond the target";
        case C::BpsReadsBeyondSource: return "BPS patch: reads beyond the source";
        case C::BpsNewBytesRunPast: return "BPS patch: new bytes run past the end";
        case C::BpsOffsetRunsPast: return "BPS patch: offset runs past the end";
        case C::BpsCopyOutsideSource: return "BPS patch: copies from outside the source";
        case C::BpsCopyOutsideTarget: return "BPS patch: copies from outside the target so far";
        case C::BpsTargetSize: return "BPS patch: makes " + num(p.found) + " bytes, not " + num(p.expected);
        case C::BpsTargetChecksum: return "BPS patch: the target's checksum does not match";
        case C::NotAPng: return "not a PNG file";
        case C::PngLibrary: return p.words;
        case C::PictureSize:
            return num(p.width) + " x " + num(p.height) + " pixels expected, found " + num(p.x) + " x " + num(p.y);
        case C::PaletteIndexTooLarge:
            return pixel(p) + " has palette index " + num(p.found) + "; indexes 0-" + num(p.expected) + " are read";
        case C::ColourNotInPalette: return pixel(p) + " has colour " + hex("#%06llX", p.found) + ", which is not in the palette";
        case C::FolderNotEmpty: return "the folder is not empty; a project is exported into a new or empty folder";
        case C::ProjectFileInvalid: return p.words;
        case C::NotTheProjectBase:
            return "project base CRC32 " + hex("%08llX", p.expected) + " (" + num(p.width) + " bytes), loaded ROM CRC32 " +
                   hex("%08llX", p.found) + " (" + num(p.height) + " bytes); --any-base builds on it all the same";
        case C::PoSyntax: return p.words;
        case C::PoNotUtf8:
            return "the file's charset is " + p.words + "; VELK reads PO files in UTF-8 (msgconv --to-code=UTF-8 converts one)";
        case C::PoPlural:
            return "msgctxt \"" + p.words + "\" has plural forms (msgid_plural, msgstr[N]); a name or text has one msgstr";
        case C::PoZeroByte: return "'" + p.bytes + "' in the msgstr is a zero byte, which would cut the text there";
        case C::PatchFailedCheck:
            return "the patch failed its check and was not written: " + p.words;
        case C::RuleNotTwoColumns:
            return "a rule is PATTERN, one TAB and REPLACEMENT; this line has " + num(p.found) + " columns";
        case C::EmptyPattern: return "the pattern is empty";
        case C::PatternInvalid: return "regular expression: " + p.words;
        case C::ReplacementDollar:
            return "'" + p.bytes + "' in the replacement: a group is $1, ${1} or ${name}, and $$ writes '$'";
        case C::ReplacementGroupUnknown: return "'" + p.bytes + "' in the replacement: the pattern has no such group";
        case C::PatternMatchFailed: return "the regular expression gave up on " + entryName(p) + ": " + p.words;
        case C::EntryChangedSincePreview: return entryName(p) + " has changed since the preview; make it again";
        case C::ReplaceResultsUnusable: return p.words;
        case C::StatusKindUnknown: return "'" + p.bytes + "' is no kind of entry: name or text";
        case C::StatusNumberInvalid: return "'" + p.bytes + "' is no entry number: four hexadecimal digits, such as 0002";
        case C::StatusEntryOutOfRange:
            return hex("%04llX", p.found) + " is past the last " + recordName(p.record) + " (" + hex("%04llX", p.expected - 1) + ")";
        case C::StatusWordUnknown: return "'" + p.bytes + "' is no status: draft, review, done, locked or none";
        case C::StatusNoteEscape: return "'" + p.bytes + "' in a note: only \\t, \\n and \\\\ are escapes";
        case C::StatusLockSha1Invalid: return "'" + p.bytes + "' is no SHA-1 of the locked text (40 lower-case hexadecimal digits)";
        case C::StatusFieldCount:
            return num(p.found) + " fields: KIND, NUMBER, STATUS and NOTE, with the SHA-1 of its text behind a locked one";
        case C::StatusDuplicate: return "the entry has a line already, line " + num(p.found);
        case C::GlossaryNoTranslation: return "no tab between the original and its translation";
        case C::LinePastColumns:
            return "line " + num(p.line) + " is " + cells(p.found) + ", " + num(p.found - p.expected) + " past text-columns " +
                   num(p.expected);
        case C::TextPastLines:
            return (p.x > 0 ? "box " + num(p.x) + " has " : std::string("the text has ")) + num(p.found) +
                   (p.found == 1 ? " line, " : " lines, ") + num(p.found - p.expected) + " past text-lines " + num(p.expected);
        case C::NamePastColumns:
            return "the name is " + cells(p.found) + ", " + num(p.found - p.expected) + " past name-columns " + num(p.expected);
    }
    return {};
}

// A message as parts: what it inserts (Shift-JIS, or a file name as the file
// system spells it) and its own words (Shift-JIS).
struct Parts {
    std::string text;
    std::string display;
    void words(const std::string& sjis) {
        text += sjis;
        display += fromCp932(sjis);
    }
    void inserted(const std::string& sjis, const std::string& utf8 = {}) {
        text += sjis;
        display += utf8.empty() ? fromCp932Escaped(sjis) : utf8;
    }
};

Parts parts(const Problem& p) {
    static const std::string cannotRead = toCp932("が読み込めません");
    static const std::string cannotWrite = toCp932("に書き込めませんでした");
    static const std::string noRoom = toCp932("容量が足りません");
    static const std::string unusable = toCp932("は使用できません");
    static const std::string unusableToken = toCp932(")は使用できません");
    static const std::string text = toCp932("テキスト");
    static const std::string tooLong = toCp932("が長すぎます");
    static const std::string line = toCp932("行目の");
    static const std::string incomplete = toCp932("指定が足りません");
    static const std::string outOfRange = toCp932("番号が範囲外です");
    static const std::string oneLine = toCp932("名前は1行です");
    static const std::string slash = toCp932("'/' でテキストが終わります");
    static const std::string cannotReplace = toCp932("置換できません");
    static const std::string afterReplacing = toCp932("置換後の"), items = toCp932("件は使用できません");
    Parts m;
    switch (messageId(p)) {
        case MessageId::CannotRead:
            m.inserted(p.file, p.fileUtf8);
            m.words(cannotRead);
            break;
        case MessageId::CannotWrite:
            m.inserted(p.file, p.fileUtf8);
            m.words(cannotWrite);
            break;
        case MessageId::NoRoom: m.words(noRoom); break;
        case MessageId::UnknownToken:
            m.words("(");
            m.inserted(p.bytes);
            m.words(unusableToken);
            break;
        case MessageId::UnknownNameCharacter:
            m.inserted(character(p.bytes));
            m.words(unusable + num(p.entry) + " " + num(signedByte(p.bytes, 0)));
            break;
        case MessageId::UnknownTextCharacter:
            m.inserted(character(p.bytes));
            m.words(unusable + num(signedByte(p.bytes, 0)) + " " + num(signedByte(p.bytes, 1)) + " " + num(p.entry) + " " +
                    num(static_cast<int64_t>(p.innerOffset)));
            break;
        case MessageId::TextTooLong: m.words(text + num(p.entry) + tooLong); break;
        case MessageId::EntryIncomplete: m.words(num(p.line) + line + incomplete); break;
        case MessageId::NumberOutOfRange: m.words(num(p.line) + line + outOfRange); break;
        case MessageId::NameIsOneLine: m.words(oneLine); break;
        case MessageId::SlashEndsText: m.words(slash); break;
        case MessageId::CannotReplace: m.words(cannotReplace); break;
        case MessageId::ReplaceResultsUnusable: m.words(afterReplacing + num(p.found) + items); break;
        case MessageId::NotTheProjectBase: m.words("the loaded ROM is not this project's base"); break;
    }
    return m;
}

}  // namespace

MessageId messageId(const Problem& p) {
    switch (p.code) {
        case C::NoRoom: return MessageId::NoRoom;
        case C::CharacterNotInTable:
        case C::EntryNotClosed:
        case C::HexEscapeMalformed:
        case C::HexEscapeNotClosed:
        case C::PairEscapeMalformed:
        case C::ByteEscapeMalformed:
        case C::EscapeEndsName:
            return p.record == Record::Name ? MessageId::UnknownNameCharacter : MessageId::UnknownTextCharacter;
        case C::UnknownToken:
        case C::TokenNotClosed: return MessageId::UnknownToken;
        case C::TextTooLong: return MessageId::TextTooLong;
        case C::NameIsOneLine: return MessageId::NameIsOneLine;
        case C::SlashEndsText: return MessageId::SlashEndsText;
        case C::RuleNotTwoColumns:
        case C::EmptyPattern:
        case C::PatternInvalid:
        case C::ReplacementDollar:
        case C::ReplacementGroupUnknown:
        case C::PatternMatchFailed:
        case C::EntryChangedSincePreview: return MessageId::CannotReplace;
        case C::ReplaceResultsUnusable: return MessageId::ReplaceResultsUnusable;
        case C::NotTheProjectBase: return MessageId::NotTheProjectBase;
        case C::NoFileName:
        case C::GlyphsWithoutTable:
        case C::SheetWithoutPalette:
        case C::EntryNeedsFiveNumbers:
        case C::EntryNeedsThreeNumbers: return MessageId::EntryIncomplete;
        case C::NameEntryUnsigned:
        case C::NameEntryOutOfRange:
        case C::TextEntryUnsigned:
        case C::TextEntryOutOfRange:
        case C::ClassNumberOutOfRange:
        case C::ItemNumberOutOfRange: return MessageId::NumberOutOfRange;
        case C::IsTheLoadedRom:
        case C::ExportIsTheLoadedRom:
        case C::BackupIsALink: return MessageId::CannotWrite;
        default: return p.writing ? MessageId::CannotWrite : MessageId::CannotRead;
    }
}

std::string problemReason(const Problem& p) {
    std::string reason = codeReason(p);
    if (p.pointsTo) reason = entryName(p) + " (pointer to " + pointerHex(*p.pointsTo) + "): " + reason;
    return reason;
}

std::string messageText(const Problem& problem) { return parts(problem).text; }

std::string fitNote(const Problem& p) {
    const std::string over = num(p.found - p.expected), shown = "（" + num(p.found) + "/" + num(p.expected);
    switch (p.code) {
        case C::LinePastColumns: return num(p.line) + " 行目が " + over + " マス超過" + shown + "）";
        case C::TextPastLines: return (p.x > 0 ? num(p.x) + " 枠目が " : std::string()) + over + " 行超過" + shown + " 行）";
        case C::NamePastColumns: return "名前が " + over + " マス超過" + shown + "）";
        default: return {};
    }
}

std::string countSummary(Counted what, size_t count) {
    struct Words {
        const char* what;
        const char* verb;
    };
    static constexpr Words kWords[] = {
        {"名前", "書き出しました"}, {"名前", "読み込みました"}, {"テキスト", "書き出しました"}, {"テキスト", "読み込みました"},
        {"顔グラフィック", "書き出しました"}, {"顔グラフィック", "読み込みました"}, {"顔", "一枚の絵に書き出しました"},
        {"顔グラフィック", "PNGに書き出しました"}, {"顔グラフィック", "PNGから読み込みました"},
        {"ユニットグラフィック", "書き出しました"}, {"ユニットグラフィック", "読み込みました"},
        {"ユニットグラフィック等", "PNGに書き出しました"}, {"ユニットグラフィック等", "PNGから読み込みました"}};
    static_assert(std::size(kWords) == static_cast<size_t>(Counted::LastCounted) + 1);
    const Words& w = kWords[static_cast<size_t>(what)];
    return toCp932(std::string(w.what) + " " + std::to_string(count) + " 件を" + w.verb);
}

std::string scriptSummary(size_t applied) { return toCp932("変更スクリプトを適用しました: " + std::to_string(applied) + " 件"); }

std::string replaceSummary(size_t names, size_t texts) {
    return toCp932("名前 " + std::to_string(names) + " 件とテキスト " + std::to_string(texts) + " 件を置換しました");
}

std::string entrySummary(EntryKind kind, int index, bool restored) {
    return toCp932(kind == EntryKind::Name ? "名前 " : "テキスト ") + entryLabel(kind, index) +
           toCp932(restored ? " を読み込んだ時に戻しました" : " を変更しました");
}

std::string warningText(const Warning& w) {
    using W = WarningCode;
    const int index = static_cast<int>(w.entry);
    switch (w.code) {
        case W::NameLabelElsewhere:
            return "line " + num(w.entry + 1) + " is name " + num(w.entry) + " " + entryLabel(EntryKind::Name, index) +
                   " by its position, whatever its label says; the position decides";
        case W::TooFewNameLines:
            return num(w.found) + " lines, not " + num(w.expected) + ": names " + num(w.found) + " and after keep their text";
        case W::TooManyNameLines: return "more than " + num(w.expected) + " lines: the lines from here on are not read";
        case W::TextHeaderElsewhere:
            return "block " + num(w.entry + 1) + " is text " + num(w.entry) + " (" + entryLabel(EntryKind::Text, index) +
                   ") by its position, whatever its header says; the position decides";
        case W::SlashEndsTextBlock:
            return "a '/' ends text " + num(w.entry) + " here, before its closing \"//\"; the rest of the block is not read";
        case W::TooFewTextBlocks:
            return num(w.found) + " blocks, not " + num(w.expected) + ": texts " + num(w.found) + " and after keep their text";
        case W::TooManyTextBlocks: return "more than " + num(w.expected) + " blocks: the blocks from here on are not read";
        case W::SectionWordNoKeyword:
            return "the section word \"" + fromCp932Escaped(w.bytes) + "\" is no keyword (\"" + fromCp932(w.words) +
                   "\" must stand alone); the section is skipped";
    }
    return {};
}

Location locate(std::span<const uint8_t> bytes, size_t offset, bool utf8) {
    offset = std::min(offset, bytes.size());
    Location at{1, 1};
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i)
        if (bytes[i] == '\n') ++at.line, lineStart = i + 1;
    if (utf8) {
        at.column += std::count_if(bytes.begin() + static_cast<std::ptrdiff_t>(lineStart),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(offset), [](uint8_t b) { return (b & 0xC0) != 0x80; });
        return at;
    }
    for (size_t i = lineStart; i < offset; ++at.column) i += isSjisLeadByte(bytes[i]) && i + 1 < offset ? 2 : 1;
    return at;
}

Message renderMessage(const Problem& problem, const SourceText* source) {
    Parts m = parts(problem);
    const std::string reason = problemReason(problem);
    std::string detail;
    if (problem.fileLine > 0 && !source) {
        detail = problem.fileUtf8.empty() ? fromCp932Escaped(problem.file) : problem.fileUtf8;
        detail.append(":").append(std::to_string(problem.fileLine));
        if (problem.fileColumn > 0) detail.append(":").append(std::to_string(problem.fileColumn));
        detail.append(": ").append(reason);
        return {std::move(m.text), utf8OrEscaped(m.display), utf8OrEscaped(detail)};
    }
    if (source) {
        const Location at = locate(source->bytes, problem.offset, source->utf8);
        detail = source->name + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": ";
    }
    const MessageId id = messageId(problem);
    const bool aboutAFile = id == MessageId::CannotRead || id == MessageId::CannotWrite;
    if (aboutAFile && !reason.empty() && !problem.file.empty())
        detail += (problem.fileUtf8.empty() ? fromCp932Escaped(problem.file) : problem.fileUtf8) + ": ";
    detail += reason;
    if (reason.empty() && !source) detail.clear();
    return {std::move(m.text), utf8OrEscaped(m.display), utf8OrEscaped(detail)};
}

}  // namespace velk

namespace velk {
namespace {

struct Words {
    std::string ja, en;  // UTF-8
};

// The character a problem names, as typed (one or two Shift-JIS bytes).
std::string typedCharacter(const Problem& p) { return fromCp932Escaped(p.bytes.substr(0, p.found == 2 ? 2 : 1)); }

// What went wrong, in the window's words; nothing for a code it words as the
// command line does.
std::optional<Words> windowReason(const Problem& p) {
    const std::string shown = fromCp932Escaped(p.bytes);
    switch (p.code) {
        case C::CharacterNotInTable: {
            const std::string c = typedCharacter(p);
            if (p.fullWidth.empty()) return Words{"「" + c + "」は文字表にない文字です", "'" + c + "' is in no character table"};
            const std::string wide = fromCp932(p.fullWidth);
            return Words{"「" + c + "」は文字表になく、全角の「" + wide + "」ならあります",
                         "'" + c + "' is in no character table, but its full-width form '" + wide + "' is"};
        }
        case C::NoShiftJisForm:
            return Words{"「" + utf8OrEscaped(p.bytes) + "」は Shift-JIS にない文字です", "'" + utf8OrEscaped(p.bytes) + "' has no Shift-JIS form"};
        case C::EntryNotClosed: return Words{"テキストが「//」で閉じていません", "the text does not end in \"//\""};
        case C::HexEscapeMalformed:
            return Words{"「[」の後に 2 桁の 16 進数が続いていません", "'[' is not followed by two hexadecimal digits"};
        case C::HexEscapeNotClosed: return Words{"「[」を閉じる「)]」がありません", "'[' has no closing \")]\""};
        case C::PairEscapeMalformed:
            return Words{"「?」の後が「XX YY?」の形ではありません", "'?' is not followed by \"XX YY?\""};
        case C::ByteEscapeMalformed: return Words{"「!」の後が「XX!」の形ではありません", "'!' is not followed by \"XX!\""};
        case C::EscapeEndsName: return Words{"この 00 で名前が終わってしまいます", "this 00 would end the name here"};
        case C::UnknownToken:
            return Words{"(" + shown + ") は (主人公) (騎士団) (冷や汗) (ハート) (旗) のどれでもありません",
                         "(" + shown + ") is none of (主人公) (騎士団) (冷や汗) (ハート) (旗)"};
        case C::TokenNotClosed:
            return Words{"「(" + shown + "」を閉じる「)」が同じ行にありません", "\"(" + shown + "\" has no closing \")\" on its line"};
        case C::TextTooLong:
            return Words{"テキストが長すぎます（コードが 4096 バイトを超えます）", "the text is too long: it needs more than 4096 code bytes"};
        case C::NameIsOneLine: return Words{"名前は 1 行です", "a name is one line"};
        case C::SlashEndsText:
            return Words{"「/」で、閉じる「//」より前にテキストが終わってしまいます", "a '/' ends the text before its closing \"//\""};
        case C::NoRoom:
            if (p.record != Record::Face) return Words{"容量が足りません", "there is not enough room"};
            return Words{"顔 " + num(p.entry) + " は詰めると " + num(p.found) + " バイトになり、その場の " + num(p.expected) +
                             " バイトに収まりません",
                         "face " + num(p.entry) + " packs to " + num(p.found) + " bytes, more than the " + num(p.expected) +
                             " bytes of its place"};
        case C::AbsoluteScriptPath:
        case C::ScriptPathLeadsOut:
            return Words{"変更スクリプトが指定できるのは、スクリプトのフォルダとその下のファイルだけです",
                         "a change script names only files in its own folder or below it"};
        case C::PoNotUtf8:
            return Words{"PO ファイルの文字コードが " + p.words + " です。VELK が読むのは UTF-8 の PO ファイルです",
                         "the PO file's charset is " + p.words + "; VELK reads PO files in UTF-8"};
        case C::NotTheProjectBase:
            return Words{"読み込んだ ROM（CRC32 " + hex("%08llX", p.found) + "、" + num(p.height) +
                             " バイト）はこのプロジェクトの元の ROM（CRC32 " + hex("%08llX", p.expected) + "、" + num(p.width) +
                             " バイト）ではありません",
                         "the loaded ROM (CRC32 " + hex("%08llX", p.found) + ", " + num(p.height) +
                             " bytes) is not this project's base (CRC32 " + hex("%08llX", p.expected) + ", " + num(p.width) +
                             " bytes)"};
        case C::NotAPng: return Words{"PNG ファイルではありません", "it is not a PNG file"};
        case C::PictureSize:
            return Words{num(p.width) + "×" + num(p.height) + " ピクセルのはずが " + num(p.x) + "×" + num(p.y) + " ピクセルです",
                         num(p.width) + " x " + num(p.height) + " pixels were expected, but it has " + num(p.x) + " x " +
                             num(p.y)};
        case C::PaletteIndexTooLarge:
            return Words{"画素 (" + num(p.x) + ", " + num(p.y) + ") のパレット番号 " + num(p.found) + " は使えません（0〜" +
                             num(p.expected) + "）",
                         pixel(p) + " has palette index " + num(p.found) + ", but only 0-" + num(p.expected) + " are read"};
        case C::ColourNotInPalette:
            return Words{"画素 (" + num(p.x) + ", " + num(p.y) + ") の色 " + hex("#%06llX", p.found) + " はパレットにありません",
                         pixel(p) + " has colour " + hex("#%06llX", p.found) + ", which is not in the palette"};
        default: return std::nullopt;
    }
}

}  // namespace

std::string windowMessage(const Problem& problem, const EntryPlace& place, WindowLanguage language) {
    const bool ja = language == WindowLanguage::Japanese;
    std::string reason;
    if (const std::optional<Words> w = windowReason(problem)) {
        reason = ja ? w->ja : w->en;
    } else {
        // The command line's message, with its reason behind it.
        const Message m = renderMessage(problem);
        reason = ja ? m.display : m.detail;
        if (ja && !m.detail.empty()) reason += "（" + m.detail + "）";
        if (reason.empty()) reason = m.display;
    }
    std::string prefix = place.label;
    if (!prefix.empty() && place.line > 0)
        prefix += ja ? "（" + num(place.line) + " 行 " + num(place.column) + " 桁目）"
                     : ", line " + num(place.line) + ", column " + num(place.column);
    if (!prefix.empty()) prefix += ": ";
    else if (!ja && !reason.empty() && reason[0] >= 'a' && reason[0] <= 'z') reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
    return prefix + reason + (ja ? "。" : ".");
}

}  // namespace velk
