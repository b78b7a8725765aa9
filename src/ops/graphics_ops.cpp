#include "gfx/colours.h"
#include "gfx/face_graphics.h"
#include "gfx/face_picture.h"
#include "gfx/unit_graphics.h"
#include "ops/file_steps.h"
#include "ops/loaded_rom_guard.h"
#include "ops/operations.h"
#include "ops/png_ops.h"

namespace velk {

// A chosen .png name writes or reads PNG files instead (for faces: in the
// folder it is in).
Outcome extractFaceGraphics(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    if (isPngName(path)) return exportFacesPngTo(state, platform, path.parent_path());
    LoadedRomGuard guarded(state, platform);
    const ConstCatalogue faces = std::as_const(state.catalogues).faces();
    if (Outcome o = writeFileAt(guarded, path, faceFileBytes(faces)); !o.done()) return o;
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (Outcome o = writeFileAt(guarded, sideFile(path, ".dat"), side); !o.done()) return o;
    for (size_t f = 0; f < faces.size(); ++f)
        if (Outcome o = writeFileAt(guarded, sideFile(path, facePaletteSuffix(f)),
                                    facePaletteFileBytes(state.catalogues.colourSets, state.image, f));
            !o.done())
            return o;
    return doneOutcome(countSummary("顔グラフィック", faces.size(), "書き出しました"));
}

Outcome writeFaceGraphics(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    if (isPngName(path)) return importFacesPngFrom(state, platform, path.parent_path());
    const Catalogue faces = state.catalogues.faces();
    Result<std::vector<uint8_t>> fig = readFileAt(platform, path, kFaceFileBytes);
    if (!fig) return failedWith(fig.problem());
    writeFaceTiles(faces, *fig, state.image);
    // Every palette file is read before any colour set changes.
    std::vector<std::vector<uint8_t>> palettes;
    for (size_t f = 0; f < faces.size(); ++f) {
        Result<std::vector<uint8_t>> bytes = readFileAt(platform, sideFile(path, facePaletteSuffix(f)), kPaletteFileBytes);
        if (!bytes) return failedWith(bytes.problem());
        palettes.push_back(std::move(*bytes));
    }
    writeFaceColours(state.catalogues.colourSets, palettes, state.image);
    return doneOutcome(countSummary("顔グラフィック", faces.size(), "読み込みました"));
}

Outcome exportFacePicture(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    LoadedRomGuard guarded(state, platform);
    const ConstCatalogue faces = std::as_const(state.catalogues).faces();
    return writeNamedFile(guarded, path, facePictureBytes(faces, state.catalogues.colourSets),
                          countSummary("顔", faces.size(), "一枚の絵に書き出しました"));
}

Outcome extractUnitGraphics(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    if (isPngName(path)) return exportUnitsPngTo(state, platform, path);
    LoadedRomGuard guarded(state, platform);
    const ConstCatalogue units = std::as_const(state.catalogues).unitGraphics();
    const std::array<uint8_t, 32> side = sideFileBytes();
    if (Outcome o = writeFileAt(guarded, path, unitFileBytes(units, state.image)); !o.done()) return o;
    if (Outcome o = writeFileAt(guarded, sideFile(path, ".dat"), side); !o.done()) return o;
    if (Outcome o = writeFileAt(guarded, sideFile(path, ".pal"), sharedPaletteFileBytes(state.image)); !o.done())
        return o;
    return doneOutcome(countSummary("ユニットグラフィック", units.size(), "書き出しました"));
}

Outcome writeUnitGraphics(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    if (isPngName(path)) return importUnitsPngFrom(state, platform, path);
    const Catalogue units = state.catalogues.unitGraphics();
    Result<std::vector<uint8_t>> fig = readFileAt(platform, path, kUnitFileBytes);
    if (!fig) return failedWith(fig.problem());
    writeUnitFile(units, state.image, *fig);
    return doneOutcome(countSummary("ユニットグラフィック", units.size(), "読み込みました"));
}

}  // namespace velk
