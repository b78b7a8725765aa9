// The messages the operations show, as Shift-JIS bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velk {

std::string cannotReadMessage(std::string_view fileName);   // "%sが読み込めません"
std::string cannotWriteMessage(std::string_view fileName);  // "%sに書き込めませんでした"
std::string noRoomMessage();                                 // "容量が足りません"

// The encoders' messages. `character` is the offending bytes as a C string
// would show them (up to the first zero byte).
std::string unknownTokenMessage(std::string_view token);  // "(%s)は使用できません"
// "%sは使用できません%d %d": entry index, first byte as a signed number
std::string unknownNameCharacterMessage(std::string_view character, int index, int8_t firstByte);
// "%sは使用できません%d %d %d %d": both bytes signed, entry index, offset in the block
std::string unknownTextCharacterMessage(std::string_view character, int8_t firstByte, int8_t secondByte, int index,
                                        size_t offset);
// A text whose code would not fit the game's 4096-byte buffer: "テキスト%dが長すぎます"
std::string textTooLongMessage(int index);

}  // namespace velk
