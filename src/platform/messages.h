// The messages the operations show, as Shift-JIS bytes.
#pragma once

#include <string>
#include <string_view>

namespace velk {

std::string cannotReadMessage(std::string_view fileName);   // "%sが読み込めません"
std::string cannotWriteMessage(std::string_view fileName);  // "%sに書き込めませんでした"
std::string noRoomMessage();                                 // "容量が足りません"

}  // namespace velk
