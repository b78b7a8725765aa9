// Search and replace over the textual form of names and texts (UTF-8), with
// PCRE2 in UTF mode. A match never starts, ends or lies inside the textual
// form of a code, so codes come through every replacement as they were.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/result.h"

struct pcre2_real_code_8;
struct pcre2_real_match_context_8;

namespace velk {

// A stretch of a text, in bytes: [begin, end).
struct TextSpan {
    size_t begin = 0;
    size_t end = 0;
    bool operator==(const TextSpan&) const = default;
};

// Where the textual forms of codes stand in a name's or text's form, in
// order, as the encoder reads them: the escapes "?1B 05?" (seven bytes from
// the '?') and "!11!" (four), a token from '(' through the next ')', a word
// reference from '[' through the next ")]". A form cut short ends the last.
std::vector<TextSpan> codeForms(std::string_view form);

struct ReplaceRule {
    std::string pattern;      // UTF-8
    std::string replacement;  // UTF-8
    bool regex = false;       // otherwise both are plain text
};

struct Replaced {
    std::string text;              // the whole form after the replacement
    std::vector<TextSpan> before;  // each replaced match, in the form before
    std::vector<TextSpan> after;   // what took its place, in `text`
};

// One rule, compiled. A regular expression is PCRE2's syntax in UTF mode
// with Unicode properties (\w and \d know kana and kanji) and CR, LF or
// CR LF as line ends ('.' stops at a line break). Its replacement refers to
// groups as $1 or ${1} ($0 the whole match) and ${name}; $$ writes '$'.
// Everything else in a replacement, and both parts of a plain rule, is
// written as typed.
class Replacer {
public:
    // Problems, `offset` into the pattern or the replacement: EmptyPattern,
    // PatternInvalid (words: PCRE2's), ReplacementDollar and
    // ReplacementGroupUnknown (bytes: the reference as written).
    static Result<Replacer> make(const ReplaceRule& rule);

    // Replaces every match that lies clear of codes' forms; a stretch between
    // two codes is matched as if the text ended there. Nothing when the form
    // comes out the same. PatternMatchFailed (words: PCRE2's) when PCRE2
    // gives up, for instance after a million backtracking steps on one text.
    Result<std::optional<Replaced>> apply(std::string_view form) const;

private:
    Replacer() = default;
    struct Piece {
        std::string literal;
        int group = -1;  // a group's text instead of `literal`
    };
    std::shared_ptr<pcre2_real_code_8> code_;
    std::shared_ptr<pcre2_real_match_context_8> limits_;
    std::vector<Piece> replacement_;
};

// A rules file: UTF-8, one rule a line, "PATTERN<TAB>REPLACEMENT". A pattern
// that begins with "re:" is a regular expression (behind the "re:"); any
// other is plain text, which a name or text never confuses, as neither holds
// ASCII letters. Lines that are blank or begin with '#' are passed over; a
// line may end in CR LF, and the file may begin with a byte-order mark.
struct RuleLine {
    int64_t line;  // 1-based
    ReplaceRule rule;
    Replacer replacer;
};

// Every rule, in file order. A problem's `offset` is into the file and its
// `line` set: NotUtf8 (and the checks of checkNotUtf16), RuleNotTwoColumns
// (found: the columns), and the problems of Replacer::make.
Result<std::vector<RuleLine>> readReplaceRules(std::span<const uint8_t> file);

}  // namespace velk
