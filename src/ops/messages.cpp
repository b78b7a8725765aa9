#include "ops/messages.h"

#include "text/sjis.h"

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

}  // namespace

std::string messageText(const Problem& p) {
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
    switch (p.id) {
        case MessageId::CannotRead: return p.text + cannotRead;
        case MessageId::CannotWrite: return p.text + cannotWrite;
        case MessageId::NoRoom: return noRoom;
        case MessageId::UnknownToken: return "(" + p.text + unusableToken;
        case MessageId::UnknownNameCharacter:
        case MessageId::UnknownTextCharacter: return p.text + unusable + numbers(p);
        case MessageId::TextTooLong: return text + number(p, 0) + tooLong;
        case MessageId::EntryIncomplete: return number(p, 0) + line + incomplete;
        case MessageId::NumberOutOfRange: return number(p, 0) + line + outOfRange;
    }
    return {};
}

}  // namespace velk
