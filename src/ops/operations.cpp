#include "ops/operations.h"

#include "ops/loaded_rom_guard.h"

namespace velk {

Outcome saveRomOperation(EditorState& s, Platform& p) { return saveRom(s, p); }

Outcome reloadRomOperation(EditorState& s, Platform& p) { return reloadRom(s, p); }

// The exports write through a guard that keeps the loaded ROM from being
// replaced by anything but a save.
Outcome extractFacesOperation(EditorState& s, Platform& p) {
    LoadedRomGuard guarded(s, p);
    return extractFaceGraphics(s.catalogues.faces(), s.catalogues.colourSets, s.image, guarded);
}

Outcome writeFacesOperation(EditorState& s, Platform& p) {
    return writeFaceGraphics(s.catalogues.faces(), s.catalogues.colourSets, s.image, p);
}

Outcome exportFacePictureOperation(EditorState& s, Platform& p) {
    LoadedRomGuard guarded(s, p);
    return exportFacePicture(s.catalogues.faces(), s.catalogues.colourSets, guarded);
}

Outcome extractUnitsOperation(EditorState& s, Platform& p) {
    LoadedRomGuard guarded(s, p);
    return extractUnitGraphics(s.catalogues.unitGraphics(), s.image, guarded);
}

Outcome writeUnitsOperation(EditorState& s, Platform& p) { return writeUnitGraphics(s.catalogues.unitGraphics(), s.image, p); }

Outcome exportNamesOperation(EditorState& s, Platform& p) {
    LoadedRomGuard guarded(s, p);
    return exportNameList(s.catalogues.names, guarded);
}

Outcome importNamesOperation(EditorState& s, Platform& p) {
    return importNameList(s.catalogues.names, s.tables, p, s.options.fullWidth);
}

Outcome exportTextsOperation(EditorState& s, Platform& p) {
    LoadedRomGuard guarded(s, p);
    return exportTextCollection(s.catalogues.texts(), s.catalogues.names, s.tables, guarded);
}

Outcome importTextsOperation(EditorState& s, Platform& p) {
    return importTextCollection(s.catalogues.texts(), s.tables, s.image, p, s.options.fullWidth);
}

Outcome applyChangeScriptOperation(EditorState& s, Platform& p) { return applyChangeScript(s, p); }

}  // namespace velk
