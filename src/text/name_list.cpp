#include "text/name_list.h"

#include "platform/file_dialogs.h"
#include "text/decode.h"
#include "text/encode.h"
#include "text/sjis.h"

namespace velk {
namespace {

constexpr size_t kLabelLength = 8;
constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

FileDialogOptions nameListDialogOptions() {
    return {"txt", "*.txt", toCp932("名前リスト(*.txt)|*.txt|全て(*.*)|*.*||")};
}

std::vector<uint8_t> nameListBytes(ConstCatalog names) {
    std::string out;
    for (size_t i = 0; i < names.size(); ++i) {
        const unsigned high = 0xF0 + static_cast<unsigned>(i >> 8);
        out += '[';
        out += kHexDigits[high >> 4 & 0x0F];
        out += kHexDigits[high & 0x0F];
        out += ' ';
        out += kHexDigits[(i & 0xFF) >> 4];
        out += kHexDigits[i & 0x0F];
        out += "] ";
        out += nameText(names[i]);
        out += "\r\n";
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

void exportNameList(ConstCatalog names, Platform& platform) {
    askAndWriteFile(platform, nameListDialogOptions(), [&] { return nameListBytes(names); });
}

void importNameList(Catalog names, const CharTables& tables, Platform& platform) {
    const std::optional<FileContents> data = askAndReadFile(platform, nameListDialogOptions());
    if (!data) return;
    const GlyphLookup glyphs(tables);
    const std::span<const uint8_t> bytes(data->bytes);
    size_t p = kLabelLength;
    for (size_t i = 0; i < names.size() && p < bytes.size(); ++i) {
        const int32_t consumed = encodeName(names, static_cast<int>(i), bytes.subspan(p), glyphs, platform);
        if (consumed < 0) return;
        p += static_cast<size_t>(consumed) + kLabelLength;
    }
}

}  // namespace velk
