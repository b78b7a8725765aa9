// Faces and unit graphics as indexed PNG files, out and back in. Every file
// is read and checked before anything changes; on a problem nothing does.
#pragma once

#include <filesystem>

#include "ops/outcome.h"
#include "platform/platform.h"
#include "ops/editor_state.h"

namespace velk {

// Faces: DIR/face-000.png ... DIR/face-156.png (DIR made when missing).
// Unit graphics: one sheet of all 29,408 tiles.
Outcome exportFacesPngTo(const EditorState& state, Platform& platform, const std::filesystem::path& dir);
Outcome importFacesPngFrom(EditorState& state, Platform& platform, const std::filesystem::path& dir);
// Face `face` (0-156) alone, as the folder's face-NNN.png holds it, and back
// with the folder import's checks.
Outcome exportFacePngTo(const EditorState& state, Platform& platform, int face, const std::filesystem::path& file);
Outcome importFacePngFrom(EditorState& state, Platform& platform, int face, const std::filesystem::path& file);
// Unit graphic `position` (0-5899, in file order) alone, as a 16 x 16 PNG.
Outcome exportUnitPngTo(const EditorState& state, Platform& platform, int position, const std::filesystem::path& file);
Outcome importUnitPngFrom(EditorState& state, Platform& platform, int position, const std::filesystem::path& file);
Outcome exportUnitsPngTo(const EditorState& state, Platform& platform, const std::filesystem::path& file);
Outcome importUnitsPngFrom(EditorState& state, Platform& platform, const std::filesystem::path& file);

// The same on the catalogues; the *.fig operations hand a .png name on here
// (for faces: the folder it is in).
bool isPngName(const std::filesystem::path& path);
Outcome facesToPng(ConstCatalogue faces, ConstCatalogue colourSets, Platform& platform, const std::filesystem::path& dir);
Outcome facesFromPng(Catalogue faces, Catalogue colourSets, const RomImage& image, Platform& platform,
                     const std::filesystem::path& dir);
Outcome unitsToPng(ConstCatalogue units, const RomImage& image, Platform& platform, const std::filesystem::path& file);
Outcome unitsFromPng(Catalogue units, RomImage& image, Platform& platform, const std::filesystem::path& file);

}  // namespace velk
