#include "app/mode_table.h"

#include "ops/operations.h"
#include "text/sjis.h"

namespace velk {
namespace {

ButtonAction shown(const char* labelUtf8, Operation run = nullptr) { return {true, toCp932(labelUtf8), run}; }
ButtonAction hidden() { return {}; }

std::array<Mode, kModeCount> makeModes() {
    return {{
        {toCp932("ROM"), shown("保存", saveRomOperation), shown("再読込", reloadRomOperation)},
        {toCp932("顔グラフィック"), shown("抜き出し", extractFacesOperation), shown("書き込み", writeFacesOperation)},
        {toCp932("顔グラBMP"), shown("抜き出し", exportFacePictureOperation), hidden()},
        {toCp932("ユニットグラフィック等"), shown("抜き出し", extractUnitsOperation), shown("書き込み", writeUnitsOperation)},
        {toCp932("名前リスト"), shown("抜き出し", exportNamesOperation), shown("書き込み", importNamesOperation)},
        {toCp932("テキスト"), shown("抜き出し", exportTextsOperation), shown("書き込み", importTextsOperation)},
        {toCp932("変更点書き込み"), hidden(), shown("書き込み", applyChangeScriptOperation)},
    }};
}

}  // namespace

const std::array<Mode, kModeCount>& modeTable() {
    static const std::array<Mode, kModeCount> modes = makeModes();
    return modes;
}

const Mode* modeAt(int selection) {
    if (selection < 0 || selection >= kModeCount) return nullptr;
    return &modeTable()[static_cast<size_t>(selection)];
}

}  // namespace velk
