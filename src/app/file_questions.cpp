#include "app/file_questions.h"

#include <array>

#include "text/sjis.h"

namespace velk {
namespace {

struct Row {
    Ask ask;
    const char* extension;
    const char* initialName;
    const char* filterUtf8;
};

// Texts as the dialogs show them (converted to Shift-JIS on use).
constexpr std::array<Row, 11> kQuestions = {{
    {Ask::OpenRom, "smc", "*.smc", "ソルヴァーン　ROM(*.smc)|*.smc;*.sfc|全て(*.*)|*.*||"},
    {Ask::SaveRom, "smc", "*.smc",
     "ソルヴァーン　ＲＯＭ(*.smc)|*.smc|IPSパッチ(*.ips)|*.ips|BPSパッチ(*.bps)|*.bps|全て(*.*)|*.*||"},
    {Ask::FaceGraphics, "fig", "*.fig", "顔グラフィック(*.fig)|*.fig|顔グラフィックPNG(*.png)|*.png|全て(*.*)|*.*||"},
    {Ask::FacePicture, "bmp", "*.bmp", "顔グラbmp(*.bmp)|*.bmp|全て(*.*)|*.*||"},
    {Ask::UnitGraphics, "fig", "*.fig",
     "ユニットグラフィック等(*.fig)|*.fig|ユニットグラフィック等PNG(*.png)|*.png|全て(*.*)|*.*||"},
    {Ask::NameList, "txt", "*.txt", "名前リスト(*.txt)|*.txt|全て(*.*)|*.*||"},
    {Ask::ExportTexts, "txt", "*.txt", "テキスト集(*.txt)|*.txt|全て(*.*)|*.*||"},
    {Ask::ImportTexts, "txt", "*.txt", "テキスト(*.txt)|*.txt|全て(*.*)|*.*||"},
    {Ask::ChangeScript, "txt", "*.txt", "テキスト(*.txt)|*.txt|全て(*.*)|*.*||"},
    {Ask::Patch, "ips", "*.ips", "IPSパッチ(*.ips)|*.ips|BPSパッチ(*.bps)|*.bps||"},
    {Ask::Png, "png", "*.png", "PNG(*.png)|*.png|全て(*.*)|*.*||"},
}};

constexpr bool rowsInOrder() {
    for (size_t i = 0; i < kQuestions.size(); ++i)
        if (static_cast<size_t>(kQuestions[i].ask) != i) return false;
    return true;
}
static_assert(rowsInOrder(), "one row per Ask, in its order");

}  // namespace

FileQuestion fileQuestion(Ask ask, bool save) {
    const Row& row = kQuestions[static_cast<size_t>(ask)];
    return {save, {row.extension, row.initialName, toCp932(row.filterUtf8)}};
}

std::optional<ChosenFile> askForFile(Dialogs& dialogs, Ask ask, bool save) {
    const FileQuestion q = fileQuestion(ask, save);
    return q.save ? dialogs.saveFileDialog(q.options) : dialogs.openFileDialog(q.options);
}

}  // namespace velk
