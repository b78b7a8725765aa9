#include "demo_script.h"

#include "text/sjis.h"

namespace velk {
namespace {

std::vector<uint8_t> bytesOf(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// A picture of tiles whose every byte tells where it came from.
std::vector<uint8_t> tileSheet(uint8_t salt) {
    std::vector<uint8_t> sheet(16384);
    for (size_t i = 0; i < sheet.size(); ++i) sheet[i] = static_cast<uint8_t>((i * 7 + i / 256) ^ salt);
    return sheet;
}

// 16 palettes of 16 colours, red, green, blue.
std::vector<uint8_t> palette() {
    std::vector<uint8_t> bytes(768);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 5 + 3);
    return bytes;
}

std::vector<uint8_t> glyphs() {
    std::vector<uint8_t> sheet(8192);
    for (size_t i = 0; i < sheet.size(); ++i) sheet[i] = static_cast<uint8_t>(i % 251);
    return sheet;
}

// Writes "VELK" at the start of the raw graphics block, and a run of sixteen
// 0xAA bytes behind it.
std::vector<uint8_t> patch() {
    return {'P', 'A', 'T', 'C', 'H',                      //
            0x1B, 0x80, 0x00, 0x00, 0x04, 'V', 'E', 'L', 'K',  //
            0x1B, 0x80, 0x10, 0x00, 0x00, 0x00, 0x10, 0xAA,    //
            'E', 'O', 'F'};
}

constexpr const char* kScript =
    "VELK example change script: every section once. Text before the first\r\n"
    "section marker is a remark.\r\n"
    "\r\n"
    ";;文字追加\r\n"
    "@@ added_glyphs.bin\r\n"
    "@@ added_chars.txt\r\n"
    "\r\n"
    ";;単語リスト\r\n"
    "[F0 05] 熊アイ\r\n"
    "[F1 23] (主人公)の鬱\r\n"
    "\r\n"
    ";;テキスト\r\n"
    "##No.00 00\r\n"
    "鬱と熊のテキスト\r\n"
    "二行目//\r\n"
    "\r\n"
    "##No.15 E6\r\n"
    "最後//\r\n"
    "\r\n"
    ";;Sクラスキャラグラ\r\n"
    "@@ sclass_sheet.bin\r\n"
    "@@ sclass_palette.pal\r\n"
    "# face.10 colours.10 unit1.05 unit2.03 unit3.07\r\n"
    "\r\n"
    ";;アイテムグラ\r\n"
    "@@ items.bin\r\n"
    "# small.01 medium.02 large.50\r\n"
    "\r\n"
    ";;IPSパッチ\r\n"
    "@@ tweak.ips\r\n"
    "\r\n"
    ";;終了\r\n"
    "Everything behind the end is ignored.\r\n";

}  // namespace

std::vector<DemoScriptFile> makeDemoScript() {
    return {
        {kDemoScriptName, bytesOf(toCp932(kScript))},
        {"added_glyphs.bin", glyphs()},
        {"added_chars.txt", bytesOf(toCp932("鬱熊鰐\r\n"))},
        {"sclass_sheet.bin", tileSheet(0x00)},
        {"sclass_palette.pal", palette()},
        {"items.bin", tileSheet(0x5A)},
        {"tweak.ips", patch()},
    };
}

}  // namespace velk
