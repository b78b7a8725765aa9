// The text of every message the operations show: the editor's own wording in
// Shift-JIS, the same for display, and the detail that says where and why.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/result.h"
#include "platform/platform.h"

namespace velk {

// The editor's messages; which one a problem stands for follows from its code.
enum class MessageId : uint8_t {
    CannotRead,            // "%sが読み込めません": the file
    CannotWrite,           // "%sに書き込めませんでした": the file
    NoRoom,                // "容量が足りません"
    UnknownToken,          // "(%s)は使用できません": the token
    UnknownNameCharacter,  // "%sは使用できません%d %d": character; entry, first byte
    UnknownTextCharacter,  // "%sは使用できません%d %d %d %d": character; its bytes, entry, offset
    TextTooLong,           // "テキスト%dが長すぎます": entry
    EntryIncomplete,       // "%d行目の指定が足りません": script line
    NumberOutOfRange,      // "%d行目の番号が範囲外です": script line
    NameIsOneLine,         // "名前は1行です"
    SlashEndsText,         // "'/' でテキストが終わります"
    CannotReplace,         // "置換できません"
    ReplaceResultsUnusable,  // "置換後の%d件は使用できません": how many
    NotTheProjectBase,     // "the loaded ROM is not this project's base"
};
MessageId messageId(const Problem& problem);

// Why, in UTF-8 plain words (may be empty): "IPS record at 0x1F writes
// beyond the end of the image", "text 12 (pointer to 0x123456): ...".
std::string problemReason(const Problem& problem);

// The message a problem stands for, its arguments filled in:
// "%sが読み込めません", "(%s)は使用できません", "%sは使用できません%d %d", ...
std::string messageText(const Problem& problem);

// The window's words for a line, text or name past its box rules (UTF-8):
// "2 行目が 2 マス超過（18/16）", "1 行超過（5/4 行）", "名前が 1 マス超過（9/8）";
// empty for any other code.
std::string fitNote(const Problem& problem);

// A text file whose bytes a problem's offset points into.
struct SourceText {
    std::string name;                // as the file system spells it (UTF-8)
    std::span<const uint8_t> bytes;  // Shift-JIS
    bool utf8 = false;               // UTF-8 instead
};

// 1-based line, and column in characters (a two-byte character counts one;
// with `utf8`, a UTF-8 character of any length).
struct Location {
    int64_t line;
    int64_t column;
};
Location locate(std::span<const uint8_t> bytes, size_t offset, bool utf8 = false);

// What an import or export did to how many: "テキスト 5607 件を読み込みました".
enum class Counted : uint8_t {
    NamesWritten, NamesRead, TextsWritten, TextsRead,
    FacesWritten, FacesRead, FacesPictureWritten, FacesPngWritten, FacesPngRead,
    UnitsWritten, UnitsRead, UnitsPngWritten, UnitsPngRead,
    LastCounted = UnitsPngRead
};
// The summary "WHAT N 件をVERB", Shift-JIS.
std::string countSummary(Counted what, size_t count);
// "変更スクリプトを適用しました: N 件"
std::string scriptSummary(size_t applied);
// "名前 N 件とテキスト M 件を置換しました"
std::string replaceSummary(size_t names, size_t texts);
// "名前 [F0 05] を変更しました", or with `restored` "... を読み込んだ時に戻しました".
enum class EntryKind;
std::string entrySummary(EntryKind kind, int index, bool restored);

// A warning's words, UTF-8: "more than 256 lines: the lines from here on are
// not read".
std::string warningText(const Warning& warning);

// The whole message: text, display, and a detail "FILE:LINE:COLUMN: reason"
// when the problem stands in `source`, or "NAME: reason" for a file.
Message renderMessage(const Problem& problem, const SourceText* source = nullptr);

// The window's own words for a problem: one sentence in the language the
// user chose, naming the entry as the lists label it and the place in the
// editor, without the command line's message numbers or option names.
enum class WindowLanguage : uint8_t { Japanese, English };
struct EntryPlace {
    std::string label;  // "##No.15 98", "[F0 12]"; empty for none
    int64_t line = 0;   // the editor's 1-based line and column; 0 for none
    int64_t column = 0;
};
std::string windowMessage(const Problem& problem, const EntryPlace& place = {},
                          WindowLanguage language = WindowLanguage::Japanese);  // UTF-8

}  // namespace velk
