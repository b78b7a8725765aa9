#include "gfx/colours.h"
#include "gfx/face_graphics.h"
#include "gfx/face_picture.h"
#include "gfx/unit_graphics.h"
#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "ops/png_ops.h"

namespace velk {

void extractFaceGraphics(ConstCatalogue faces, ConstCatalogue colourSets, const RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(faceGraphicsDialogOptions());
    if (!file) return;
    if (isPngName(file->path)) return showOutcome(platform, facesToPng(faces, colourSets, platform, file->path.parent_path()));
    if (!writeChosenFile(platform, *file, faceFileBytes(faces))) return;
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (!writeChosenFile(platform, sideFile(*file, ".dat"), side)) return;
    for (size_t f = 0; f < faces.size(); ++f)
        if (!writeChosenFile(platform, sideFile(*file, facePaletteSuffix(f)), facePaletteFileBytes(colourSets, image, f)))
            return;
}

bool writeFaceGraphics(Catalogue faces, Catalogue colourSets, const RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> chosen = platform.openFileDialog(faceGraphicsDialogOptions());
    if (!chosen) return false;
    if (isPngName(chosen->path)) {
        const Outcome outcome = facesFromPng(faces, colourSets, image, platform, chosen->path.parent_path());
        showOutcome(platform, outcome);
        return outcome.done();
    }
    const std::optional<std::vector<uint8_t>> fig = readChosenFile(platform, *chosen, kFaceFileBytes);
    if (!fig) return false;
    writeFaceTiles(faces, *fig, image);
    // Every palette file is read before any colour set changes.
    std::vector<std::vector<uint8_t>> palettes;
    for (size_t f = 0; f < faces.size(); ++f) {
        std::optional<std::vector<uint8_t>> bytes =
            readChosenFile(platform, sideFile(*chosen, facePaletteSuffix(f)), kPaletteFileBytes);
        if (!bytes) return true;
        palettes.push_back(std::move(*bytes));
    }
    writeFaceColours(colourSets, palettes, image);
    return true;
}

void exportFacePicture(ConstCatalogue faces, ConstCatalogue colourSets, Platform& platform) {
    askAndWriteFile(platform, facePictureDialogOptions(), [&] { return facePictureBytes(faces, colourSets); });
}

void extractUnitGraphics(ConstCatalogue units, const RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(unitGraphicsDialogOptions());
    if (!file) return;
    if (isPngName(file->path)) return showOutcome(platform, unitsToPng(units, image, platform, file->path));
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (writeChosenFile(platform, *file, unitFileBytes(units, image)) &&
        writeChosenFile(platform, sideFile(*file, ".dat"), side))
        writeChosenFile(platform, sideFile(*file, ".pal"), sharedPaletteFileBytes(image));
}

bool writeUnitGraphics(Catalogue units, RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> chosen = platform.openFileDialog(unitGraphicsDialogOptions());
    if (!chosen) return false;
    if (isPngName(chosen->path)) {
        const Outcome outcome = unitsFromPng(units, image, platform, chosen->path);
        showOutcome(platform, outcome);
        return outcome.done();
    }
    const std::optional<std::vector<uint8_t>> fig = readChosenFile(platform, *chosen, kUnitFileBytes);
    if (!fig) return false;
    writeUnitFile(units, image, *fig);
    return true;
}

}  // namespace velk
