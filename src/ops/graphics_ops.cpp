#include "gfx/colours.h"
#include "gfx/face_graphics.h"
#include "gfx/face_picture.h"
#include "gfx/unit_graphics.h"
#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "ops/png_ops.h"

namespace velk {

Outcome extractFaceGraphics(ConstCatalogue faces, ConstCatalogue colourSets, const RomImage& image,
                            Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(faceGraphicsDialogOptions());
    if (!file) return cancelledOutcome();
    if (isPngName(file->path)) return facesToPng(faces, colourSets, platform, file->path.parent_path());
    if (Outcome o = writeChosenFile(platform, *file, faceFileBytes(faces)); !o.done()) return o;
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (Outcome o = writeChosenFile(platform, sideFile(*file, ".dat"), side); !o.done()) return o;
    for (size_t f = 0; f < faces.size(); ++f)
        if (Outcome o = writeChosenFile(platform, sideFile(*file, facePaletteSuffix(f)),
                                        facePaletteFileBytes(colourSets, image, f));
            !o.done())
            return o;
    return doneOutcome(countSummary("顔グラフィック", faces.size(), "書き出しました"));
}

Outcome writeFaceGraphics(Catalogue faces, Catalogue colourSets, const RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> chosen = platform.openFileDialog(faceGraphicsDialogOptions());
    if (!chosen) return cancelledOutcome();
    if (isPngName(chosen->path)) return facesFromPng(faces, colourSets, image, platform, chosen->path.parent_path());
    Step<std::vector<uint8_t>> fig = readChosenFile(platform, *chosen, kFaceFileBytes);
    if (!fig) return std::move(fig).stop();
    writeFaceTiles(faces, *fig, image);
    // Every palette file is read before any colour set changes.
    std::vector<std::vector<uint8_t>> palettes;
    for (size_t f = 0; f < faces.size(); ++f) {
        Step<std::vector<uint8_t>> bytes =
            readChosenFile(platform, sideFile(*chosen, facePaletteSuffix(f)), kPaletteFileBytes);
        if (!bytes) return std::move(bytes).stop();
        palettes.push_back(std::move(*bytes));
    }
    writeFaceColours(colourSets, palettes, image);
    return doneOutcome(countSummary("顔グラフィック", faces.size(), "読み込みました"));
}

Outcome exportFacePicture(ConstCatalogue faces, ConstCatalogue colourSets, Platform& platform) {
    return askAndWriteFile(
        platform, facePictureDialogOptions(), [&] { return facePictureBytes(faces, colourSets); },
        countSummary("顔", faces.size(), "一枚の絵に書き出しました"));
}

Outcome extractUnitGraphics(ConstCatalogue units, const RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(unitGraphicsDialogOptions());
    if (!file) return cancelledOutcome();
    if (isPngName(file->path)) return unitsToPng(units, image, platform, file->path);
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (Outcome o = writeChosenFile(platform, *file, unitFileBytes(units, image)); !o.done()) return o;
    if (Outcome o = writeChosenFile(platform, sideFile(*file, ".dat"), side); !o.done()) return o;
    if (Outcome o = writeChosenFile(platform, sideFile(*file, ".pal"), sharedPaletteFileBytes(image)); !o.done())
        return o;
    return doneOutcome(countSummary("ユニットグラフィック", units.size(), "書き出しました"));
}

Outcome writeUnitGraphics(Catalogue units, RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> chosen = platform.openFileDialog(unitGraphicsDialogOptions());
    if (!chosen) return cancelledOutcome();
    if (isPngName(chosen->path)) return unitsFromPng(units, image, platform, chosen->path);
    Step<std::vector<uint8_t>> fig = readChosenFile(platform, *chosen, kUnitFileBytes);
    if (!fig) return std::move(fig).stop();
    writeUnitFile(units, image, *fig);
    return doneOutcome(countSummary("ユニットグラフィック", units.size(), "読み込みました"));
}

}  // namespace velk
