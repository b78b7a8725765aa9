#include "app/mode_table.h"

#include "ops/operations.h"
#include "text/sjis.h"

namespace velk {
namespace {

ButtonAction writes(const char* labelUtf8, Operation run, Ask ask) { return {true, toCp932(labelUtf8), run, ask, true}; }
ButtonAction reads(const char* labelUtf8, Operation run, Ask ask) { return {true, toCp932(labelUtf8), run, ask, false}; }
ButtonAction hidden() { return {}; }

std::array<Mode, kModeCount> makeModes() {
    return {{
        {toCp932("ROM"), writes("保存", saveRom, Ask::SaveRom), reads("再読込", reloadRom, Ask::OpenRom)},
        {toCp932("顔グラフィック"), writes("抜き出し", extractFaceGraphics, Ask::FaceGraphics),
         reads("書き込み", writeFaceGraphics, Ask::FaceGraphics)},
        {toCp932("顔グラBMP"), writes("抜き出し", exportFacePicture, Ask::FacePicture), hidden()},
        {toCp932("ユニットグラフィック等"), writes("抜き出し", extractUnitGraphics, Ask::UnitGraphics),
         reads("書き込み", writeUnitGraphics, Ask::UnitGraphics)},
        {toCp932("名前リスト"), writes("抜き出し", exportNameList, Ask::NameList), reads("書き込み", importNameList, Ask::NameList)},
        {toCp932("テキスト"), writes("抜き出し", exportTextCollection, Ask::ExportTexts),
         reads("書き込み", importTextCollection, Ask::ImportTexts)},
        {toCp932("変更点書き込み"), hidden(), reads("書き込み", applyChangeScript, Ask::ChangeScript)},
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
