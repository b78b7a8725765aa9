#include "platform/messages.h"

#include "text/sjis.h"

namespace velk {

std::string cannotReadMessage(std::string_view fileName) {
    static const std::string tail = toCp932("が読み込めません");
    return std::string(fileName) + tail;
}

std::string cannotWriteMessage(std::string_view fileName) {
    static const std::string tail = toCp932("に書き込めませんでした");
    return std::string(fileName) + tail;
}

std::string noRoomMessage() {
    static const std::string text = toCp932("容量が足りません");
    return text;
}

std::string unknownTokenMessage(std::string_view token) {
    static const std::string tail = toCp932(")は使用できません");
    std::string text = "(";
    text += token;
    text += tail;
    return text;
}

std::string unknownNameCharacterMessage(std::string_view character, int index, int8_t firstByte) {
    static const std::string middle = toCp932("は使用できません");
    return std::string(character) + middle + std::to_string(index) + " " + std::to_string(firstByte);
}

std::string unknownTextCharacterMessage(std::string_view character, int8_t firstByte, int8_t secondByte, int index,
                                        size_t offset) {
    static const std::string middle = toCp932("は使用できません");
    return std::string(character) + middle + std::to_string(firstByte) + " " + std::to_string(secondByte) + " " +
           std::to_string(index) + " " + std::to_string(offset);
}

std::string textTooLongMessage(int index) {
    static const std::string head = toCp932("テキスト");
    static const std::string tail = toCp932("が長すぎます");
    return head + std::to_string(index) + tail;
}

}  // namespace velk
