#include "text/text_collection.h"

#include <algorithm>

#include "platform/file_dialogs.h"
#include "text/decode.h"
#include "text/encode.h"
#include "text/sjis.h"

namespace velk {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kSeparator = "//\r\n\r\n\r\n";

}  // namespace

FileDialogOptions textCollectionExportOptions() {
    return {"txt", "*.txt", toCp932("テキスト集(*.txt)|*.txt|全て(*.*)|*.*||")};
}

FileDialogOptions textCollectionImportOptions() {
    return {"txt", "*.txt", toCp932("テキスト(*.txt)|*.txt|全て(*.*)|*.*||")};
}

std::vector<uint8_t> textCollectionBytes(ConstCatalog texts, ConstCatalog names, const CharTables& tables) {
    std::string out;
    for (size_t i = 0; i < texts.size(); ++i) {
        out += "##No.";
        out += kHexDigits[i >> 12 & 0x0F];
        out += kHexDigits[i >> 8 & 0x0F];
        out += ' ';
        out += kHexDigits[i >> 4 & 0x0F];
        out += kHexDigits[i & 0x0F];
        out += '\n';
        out += decodeText(texts, static_cast<int>(i), names, tables);
        out += kSeparator;
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

void exportTextCollection(ConstCatalog texts, ConstCatalog names, const CharTables& tables, Platform& platform) {
    askAndWriteFile(platform, textCollectionExportOptions(), [&] { return textCollectionBytes(texts, names, tables); });
}

void importTextCollection(Catalog texts, const CharTables& tables, const RomImage& image, Platform& platform) {
    const std::optional<FileContents> data = askAndReadFile(platform, textCollectionImportOptions());
    if (!data) return;
    const GlyphLookup glyphs(tables);
    const std::span<const uint8_t> bytes(data->bytes);
    const std::array<uint8_t, 2> mark = {'#', '#'};
    size_t p = 0;
    for (size_t k = 0; k < texts.size(); ++k) {
        const auto at = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(p), bytes.end(), mark.begin(), mark.end());
        if (at == bytes.end()) return;
        const size_t block = static_cast<size_t>(at - bytes.begin());
        const int32_t consumed = encodeText(texts, static_cast<int>(k), bytes.subspan(block), glyphs, image, platform);
        if (consumed < 0) return;
        p = block + static_cast<size_t>(consumed);
    }
}

}  // namespace velk
