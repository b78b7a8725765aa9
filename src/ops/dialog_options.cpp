#include "ops/dialog_options.h"

#include "text/sjis.h"

namespace velk {

FileDialogOptions romOpenDialogOptions() {
    return {"smc", "*.smc", toCp932("ソルヴァーン　ROM(*.smc)|*.smc;*.sfc|全て(*.*)|*.*||")};
}

FileDialogOptions romSaveDialogOptions() {
    return {"smc", "*.smc", toCp932("ソルヴァーン　ＲＯＭ(*.smc)|*.smc|IPSパッチ(*.ips)|*.ips|BPSパッチ(*.bps)|*.bps|全て(*.*)|*.*||")};
}

FileDialogOptions faceGraphicsDialogOptions() {
    return {"fig", "*.fig", toCp932("顔グラフィック(*.fig)|*.fig|顔グラフィックPNG(*.png)|*.png|全て(*.*)|*.*||")};
}

FileDialogOptions facePictureDialogOptions() {
    return {"bmp", "*.bmp", toCp932("顔グラbmp(*.bmp)|*.bmp|全て(*.*)|*.*||")};
}

FileDialogOptions unitGraphicsDialogOptions() {
    return {"fig", "*.fig", toCp932("ユニットグラフィック等(*.fig)|*.fig|ユニットグラフィック等PNG(*.png)|*.png|全て(*.*)|*.*||")};
}

FileDialogOptions nameListDialogOptions() {
    return {"txt", "*.txt", toCp932("名前リスト(*.txt)|*.txt|全て(*.*)|*.*||")};
}

FileDialogOptions textCollectionExportOptions() {
    return {"txt", "*.txt", toCp932("テキスト集(*.txt)|*.txt|全て(*.*)|*.*||")};
}

FileDialogOptions textCollectionImportOptions() {
    return {"txt", "*.txt", toCp932("テキスト(*.txt)|*.txt|全て(*.*)|*.*||")};
}

FileDialogOptions changeScriptDialogOptions() {
    return {"txt", "*.txt", toCp932("テキスト(*.txt)|*.txt|全て(*.*)|*.*||")};
}

}  // namespace velk
