#include "gfx/colours.h"
#include "gfx/face_graphics.h"
#include "gfx/face_picture.h"
#include "gfx/unit_graphics.h"
#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"

namespace velk {

void extractFaceGraphics(ConstCatalogue faces, ConstCatalogue colourSets, const RomImage& image, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(faceGraphicsDialogOptions());
    if (!file) return;
    if (!writeChosenFile(platform, *file, faceFileBytes(faces))) return;
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (!writeChosenFile(platform, sideFile(*file, ".dat"), side)) return;
    for (size_t f = 0; f < faces.size(); ++f)
        if (!writeChosenFile(platform, sideFile(*file, facePaletteSuffix(f)), facePaletteFileBytes(colourSets, image, f)))
            return;
}

bool writeFaceGraphics(Catalogue faces, Catalogue colourSets, const RomImage& image, Platform& platform) {
    const std::optional<FileContents> fig = askAndReadFile(platform, faceGraphicsDialogOptions(), kFaceFileBytes);
    if (!fig) return false;
    writeFaceTiles(faces, fig->bytes, image);
    // Every palette file is read before any colour set changes.
    std::vector<std::vector<uint8_t>> palettes;
    for (size_t f = 0; f < faces.size(); ++f) {
        std::optional<std::vector<uint8_t>> bytes =
            readChosenFile(platform, sideFile(fig->file, facePaletteSuffix(f)), kPaletteFileBytes);
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
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (writeChosenFile(platform, *file, unitFileBytes(units, image)) &&
        writeChosenFile(platform, sideFile(*file, ".dat"), side))
        writeChosenFile(platform, sideFile(*file, ".pal"), sharedPaletteFileBytes(image));
}

bool writeUnitGraphics(Catalogue units, RomImage& image, Platform& platform) {
    const std::optional<FileContents> fig = askAndReadFile(platform, unitGraphicsDialogOptions(), kUnitFileBytes);
    if (!fig) return false;
    writeUnitFile(units, image, fig->bytes);
    return true;
}

}  // namespace velk
