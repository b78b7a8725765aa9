#include "ops/operations.h"

namespace velk {

Outcome saveRomOperation(EditorState& s, Platform& p) { return saveRom(s, p); }

Outcome reloadRomOperation(EditorState& s, Platform& p) { return reloadRom(s, p); }

Outcome extractFacesOperation(EditorState& s, Platform& p) {
    return extractFaceGraphics(s.catalogues.faces(), s.catalogues.colourSets, s.image, p);
}

Outcome writeFacesOperation(EditorState& s, Platform& p) {
    return writeFaceGraphics(s.catalogues.faces(), s.catalogues.colourSets, s.image, p);
}

Outcome exportFacePictureOperation(EditorState& s, Platform& p) {
    return exportFacePicture(s.catalogues.faces(), s.catalogues.colourSets, p);
}

Outcome extractUnitsOperation(EditorState& s, Platform& p) {
    return extractUnitGraphics(s.catalogues.unitGraphics(), s.image, p);
}

Outcome writeUnitsOperation(EditorState& s, Platform& p) { return writeUnitGraphics(s.catalogues.unitGraphics(), s.image, p); }

Outcome exportNamesOperation(EditorState& s, Platform& p) { return exportNameList(s.catalogues.names, p); }

Outcome importNamesOperation(EditorState& s, Platform& p) {
    return importNameList(s.catalogues.names, s.tables, p, s.fullWidth);
}

Outcome exportTextsOperation(EditorState& s, Platform& p) {
    return exportTextCollection(s.catalogues.texts(), s.catalogues.names, s.tables, p);
}

Outcome importTextsOperation(EditorState& s, Platform& p) {
    return importTextCollection(s.catalogues.texts(), s.tables, s.image, p, s.fullWidth);
}

Outcome applyChangeScriptOperation(EditorState& s, Platform& p) { return applyChangeScript(s, p); }

}  // namespace velk
