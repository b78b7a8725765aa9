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

}  // namespace velk
