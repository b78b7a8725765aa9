#include "ops/operations.h"

namespace velk {

void saveRomOperation(EditorState& s, Platform& p) { saveRom(s, p); }

void reloadRomOperation(EditorState& s, Platform& p) { reloadRom(s, p); }

void extractFacesOperation(EditorState& s, Platform& p) {
    extractFaceGraphics(s.catalogues.faces(), s.catalogues.colourSets, s.image, p);
}

void writeFacesOperation(EditorState& s, Platform& p) {
    writeFaceGraphics(s.catalogues.faces(), s.catalogues.colourSets, s.image, p);
}

void exportFacePictureOperation(EditorState& s, Platform& p) {
    exportFacePicture(s.catalogues.faces(), s.catalogues.colourSets, p);
}

void extractUnitsOperation(EditorState& s, Platform& p) { extractUnitGraphics(s.catalogues.unitGraphics(), s.image, p); }

void writeUnitsOperation(EditorState& s, Platform& p) { writeUnitGraphics(s.catalogues.unitGraphics(), s.image, p); }

void exportNamesOperation(EditorState& s, Platform& p) { exportNameList(s.catalogues.names, p); }

void importNamesOperation(EditorState& s, Platform& p) { importNameList(s.catalogues.names, s.tables, p); }

void exportTextsOperation(EditorState& s, Platform& p) {
    exportTextCollection(s.catalogues.texts(), s.catalogues.names, s.tables, p);
}

void importTextsOperation(EditorState& s, Platform& p) {
    importTextCollection(s.catalogues.texts(), s.tables, s.image, p);
}

void applyChangeScriptOperation(EditorState& s, Platform& p) { applyChangeScript(s, p); }

}  // namespace velk
