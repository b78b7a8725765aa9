#include "ops/messages.h"

#include <algorithm>

#include "text/sjis.h"
#include "text/text_checks.h"

namespace velk {
namespace {

// The numbers as the messages show them: decimal, separated by one blank.
std::string numbers(const Problem& p) {
    std::string out;
    for (size_t i = 0; i < p.numbers.size(); ++i) {
        if (i) out += ' ';
        out += std::to_string(p.numbers[i]);
    }
    return out;
}

std::string number(const Problem& p, size_t i) { return i < p.numbers.size() ? std::to_string(p.numbers[i]) : "0"; }

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
    Parts m;
    switch (p.id) {
        case MessageId::CannotRead:
            m.inserted(p.text, p.textUtf8);
            m.words(cannotRead);
            break;
        case MessageId::CannotWrite:
            m.inserted(p.text, p.textUtf8);
            m.words(cannotWrite);
            break;
        case MessageId::NoRoom: m.words(noRoom); break;
        case MessageId::UnknownToken:
            m.words("(");
            m.inserted(p.text);
            m.words(unusableToken);
            break;
        case MessageId::UnknownNameCharacter:
        case MessageId::UnknownTextCharacter:
            m.inserted(p.text);
            m.words(unusable + numbers(p));
            break;
        case MessageId::TextTooLong: m.words(text + number(p, 0) + tooLong); break;
        case MessageId::EntryIncomplete: m.words(number(p, 0) + line + incomplete); break;
        case MessageId::NumberOutOfRange: m.words(number(p, 0) + line + outOfRange); break;
    }
    return m;
}

}  // namespace

std::string messageText(const Problem& problem) { return parts(problem).text; }

Location locate(std::span<const uint8_t> bytes, size_t offset) {
    offset = std::min(offset, bytes.size());
    Location at{1, 1};
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i)
        if (bytes[i] == '\n') ++at.line, lineStart = i + 1;
    for (size_t i = lineStart; i < offset; ++at.column) i += isSjisLeadByte(bytes[i]) && i + 1 < offset ? 2 : 1;
    return at;
}

Message renderMessage(const Problem& problem, const SourceText* source) {
    Parts m = parts(problem);
    std::string detail;
    if (source) {
        const Location at = locate(source->bytes, problem.offset);
        detail = source->name + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": ";
    }
    const bool aboutAFile = problem.id == MessageId::CannotRead || problem.id == MessageId::CannotWrite;
    if (aboutAFile && !problem.reason.empty() && !problem.text.empty())
        detail += (problem.textUtf8.empty() ? fromCp932Escaped(problem.text) : problem.textUtf8) + ": ";
    detail += problem.reason;
    if (problem.reason.empty() && !source) detail.clear();
    return {std::move(m.text), utf8OrEscaped(m.display), utf8OrEscaped(detail)};
}

}  // namespace velk
