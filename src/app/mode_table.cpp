#include "app/mode_table.h"

#include "ops/operations.h"
#include "text/sjis.h"

namespace velk {
namespace {

// A button that writes the file its save dialog names, or reads the one its
// open dialog names.
ButtonAction asking(const char* labelUtf8, Operation op, Ask ask, bool save) {
    return {true, toCp932(labelUtf8),
            [op, ask, save](EditorSession& session, const QString& step) { return session.runAsking(step, ask, save, op); }};
}
ButtonAction writes(const char* labelUtf8, Operation op, Ask ask) { return asking(labelUtf8, op, ask, true); }
ButtonAction reads(const char* labelUtf8, Operation op, Ask ask) { return asking(labelUtf8, op, ask, false); }
ButtonAction reload(const char* labelUtf8) {
    return {true, toCp932(labelUtf8), [](EditorSession& session, const QString& step) { return session.reload(step); }};
}
ButtonAction hidden() { return {}; }

std::array<Mode, kModeCount> makeModes() {
    return {{
        {toCp932("ROM"), writes("保存", saveRom, Ask::SaveRom), reload("再読込")},
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
