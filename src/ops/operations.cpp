#include "ops/operations.h"

namespace velk {

void saveRomOperation(EditorState& s, Platform& p) { saveRom(s, p); }

void reloadRomOperation(EditorState& s, Platform& p) { reloadRom(s, p); }

void extractFacesOperation(EditorState& s, Platform& p) {
    extractFaceGraphics(s.catalogues.faces(), s.catalogues.colourSets, s.image, p);
}

void writeFacesOperation(EditorState& s, Platform& p) {
    if (writeFaceGraphics(s.catalogues.faces(), s.catalogues.colourSets, s.image, p)) s.unsavedEdits = true;
}

void exportFacePictureOperation(EditorState& s, Platform& p) {
    exportFacePicture(s.catalogues.faces(), s.catalogues.colourSets, p);
}

void extractUnitsOperation(EditorState& s, Platform& p) { extractUnitGraphics(s.catalogues.unitGraphics(), s.image, p); }

void writeUnitsOperation(EditorState& s, Platform& p) {
    if (writeUnitGraphics(s.catalogues.unitGraphics(), s.image, p)) s.unsavedEdits = true;
}

void exportNamesOperation(EditorState& s, Platform& p) { exportNameList(s.catalogues.names, p); }

void importNamesOperation(EditorState& s, Platform& p) {
    if (importNameList(s.catalogues.names, s.tables, p, s.fullWidth)) s.unsavedEdits = true;
}

void exportTextsOperation(EditorState& s, Platform& p) {
    exportTextCollection(s.catalogues.texts(), s.catalogues.names, s.tables, p);
}

void importTextsOperation(EditorState& s, Platform& p) {
    if (importTextCollection(s.catalogues.texts(), s.tables, s.image, p, s.fullWidth)) s.unsavedEdits = true;
}

void applyChangeScriptOperation(EditorState& s, Platform& p) {
    if (applyChangeScript(s, p)) s.unsavedEdits = true;
}

}  // namespace velk
