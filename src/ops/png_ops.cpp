#include "ops/png_ops.h"

#include <algorithm>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "gfx/face_graphics.h"
#include "gfx/face_png.h"
#include "gfx/unit_graphics.h"
#include "gfx/unit_png.h"
#include "image/parallel.h"
#include "ops/file_steps.h"
#include "ops/loaded_rom_guard.h"
#include "ops/messages.h"
#include "ops/script_file_checks.h"
#include "text/sjis.h"

namespace velk {
namespace {

constexpr size_t kSetsPerFace = 8;

// Face f's eight colour sets (fewer where the catalogue ends early).
ConstCatalogue setsOfFace(ConstCatalogue colourSets, size_t f) {
    const size_t first = std::min(kSetsPerFace * f, colourSets.size());
    return colourSets.subspan(first, std::min(kSetsPerFace, colourSets.size() - first));
}

// The largest PNG file read.
constexpr size_t kMaxPngBytes = size_t{64} << 20;

// A file's or folder's own name (for "DIR/" too).
std::string shownName(const std::filesystem::path& path) {
    return (path.filename().empty() ? path.parent_path() : path).filename().string();
}

// The problem, with the file (or folder) it is about named.
Outcome fileFailed(Problem problem, const std::filesystem::path& path, std::vector<std::string> warnings = {}) {
    const std::string name = shownName(path);
    problem.file = toCp932(name);
    problem.fileUtf8 = name;
    return failedOutcome(renderMessage(problem), std::move(warnings));
}

Outcome writeFailed(Problem problem, const std::filesystem::path& path) {
    problem.writing = true;
    return fileFailed(std::move(problem), path);
}

// A regular file only: a FIFO would never end.
Result<std::vector<uint8_t>> readPngFile(Platform& platform, const std::filesystem::path& path) {
    if (Status s = checkRegularFile(platform.fileIdentity(path)); !s) return std::move(s.problem());
    Result<std::vector<uint8_t>> bytes = platform.readFile(path, kMaxPngBytes + 1);
    if (bytes && bytes->size() > kMaxPngBytes) return tooLarge(kMaxPngBytes);
    return bytes;
}

// Reads and checks face f's PNG: what differs from the face and its colour
// sets as they stand goes into tiles[f] and colours[8f + s]. `paletteKept`
// is the size of an indexed file's palette that is not 128 entries (its
// colour sets stay as they are). Nothing on success.
std::optional<Outcome> studyFace(ConstCatalogue faces, ConstCatalogue colourSets, size_t f, Platform& platform,
                                 const std::filesystem::path& path, std::vector<std::optional<std::vector<uint8_t>>>& tiles,
                                 std::vector<std::optional<std::vector<uint8_t>>>& colours, std::optional<size_t>& paletteKept) {
    Result<std::vector<uint8_t>> bytes = readPngFile(platform, path);
    if (!bytes) return fileFailed(std::move(bytes.problem()), path);
    const ConstCatalogue sets = setsOfFace(colourSets, f);
    Result<FacePng> face = readFacePng(*bytes, sets);
    if (!face) return fileFailed(std::move(face.problem()), path);
    if (face->tiles != faces[f].unpacked) tiles[f] = std::move(face->tiles);
    if (face->indexed && !face->colourSets) paletteKept = face->paletteEntries;
    for (size_t s = 0; face->colourSets && s < face->colourSets->size(); ++s)
        if ((*face->colourSets)[s] != sets[s].unpacked) colours[kSetsPerFace * f + s] = std::move((*face->colourSets)[s]);
    return std::nullopt;
}

// A face or unit number the window offers; another is a programming error.
size_t recordAt(ConstCatalogue records, int number) {
    if (number < 0 || static_cast<size_t>(number) >= records.size()) throw std::out_of_range("no such record");
    return static_cast<size_t>(number);
}

std::string faceWord(size_t f) { return toCp932("顔グラフィック ") + std::to_string(f); }

}  // namespace

Outcome facesFromPng(Catalogue faces, Catalogue colourSets, const RomImage& image, Platform& platform,
                     const std::filesystem::path& dir) {
    Result<std::vector<std::string>> listed = platform.listFolder(dir);
    if (!listed) return fileFailed(std::move(listed.problem()), dir);
    const std::set<std::string> present(listed->begin(), listed->end());
    // Study: every file is read and checked before any face changes.
    std::vector<std::optional<std::vector<uint8_t>>> tiles(faces.size());
    std::vector<std::optional<std::vector<uint8_t>>> colours(colourSets.size());
    std::vector<std::string> missing, paletteKept;
    size_t firstKeptEntries = 0;
    for (size_t f = 0; f < faces.size(); ++f) {
        const std::string name = facePngName(f);
        if (!present.count(name)) {
            missing.push_back(name);
            continue;
        }
        std::optional<size_t> kept;
        if (std::optional<Outcome> failed = studyFace(faces, colourSets, f, platform, dir / name, tiles, colours, kept))
            return std::move(*failed);
        if (kept) {
            if (paletteKept.empty()) firstKeptEntries = *kept;
            paletteKept.push_back(name);
        }
    }
    std::vector<std::string> warnings;
    const std::string folder = shownName(dir);
    if (!missing.empty())
        warnings.push_back(folder + ": warning: " + std::to_string(missing.size()) + " face file" +
                           (missing.size() == 1 ? "" : "s") + " missing, first " + missing.front() +
                           "; those faces stay as they are");
    if (!paletteKept.empty())
        warnings.push_back(folder + "/" + paletteKept.front() + ": warning: a palette of " +
                           std::to_string(firstKeptEntries) + " entries, not 128 (" + std::to_string(paletteKept.size()) +
                           " file" + (paletteKept.size() == 1 ? "" : "s") + " so); their colour sets stay as they are");
    // Apply: only what changed is stored and repacked.
    replaceFaceTiles(faces, tiles, image);
    replaceColourSets(colourSets, colours, image);
    return doneOutcome(countSummary(Counted::FacesPngRead, faces.size() - missing.size()), std::move(warnings));
}

Outcome unitsFromPng(Catalogue units, RomImage& image, Platform& platform, const std::filesystem::path& file) {
    Result<std::vector<uint8_t>> bytes = readPngFile(platform, file);
    if (!bytes) return fileFailed(std::move(bytes.problem()), file);
    Result<std::vector<uint8_t>> fig = unitFileFromPng(*bytes, image);
    if (!fig) return fileFailed(std::move(fig.problem()), file);
    const std::vector<uint8_t> before = unitFileBytes(units, image);
    size_t changed = 0;
    for (size_t at = 0; at < fig->size(); at += kUnitGraphicBytes)
        if (!std::equal(fig->begin() + static_cast<std::ptrdiff_t>(at),
                        fig->begin() + static_cast<std::ptrdiff_t>(std::min(at + kUnitGraphicBytes, fig->size())),
                        before.begin() + static_cast<std::ptrdiff_t>(at)))
            ++changed;
    if (changed) writeUnitFile(units, image, *fig, true);
    return doneOutcome(countSummary(Counted::UnitsPngRead, units.size()));
}

bool isPngName(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".png";
}

Outcome facesToPng(ConstCatalogue faces, ConstCatalogue colourSets, Platform& platform, const std::filesystem::path& dir) {
    if (Status made = platform.makeFolder(dir); !made) return writeFailed(std::move(made.problem()), dir);
    // Most of the time goes in waiting for each file to reach the disk, so
    // the faces are made and written by many threads at once (the disk
    // takes their flushes together); the first failure in face order is the
    // one reported.
    std::vector<std::optional<Problem>> failures(faces.size());
    parallelFor(faces.size(), [&](size_t f) {
        const std::vector<uint8_t> png = facePngBytes(faces[f].unpacked, setsOfFace(colourSets, f));
        if (Status written = platform.writeFile(dir / facePngName(f), png); !written) failures[f] = std::move(written.problem());
    }, 1, 16);
    for (size_t f = 0; f < faces.size(); ++f)
        if (failures[f]) return writeFailed(std::move(*failures[f]), dir / facePngName(f));
    return doneOutcome(countSummary(Counted::FacesPngWritten, faces.size()));
}

Outcome unitsToPng(ConstCatalogue units, const RomImage& image, Platform& platform, const std::filesystem::path& file) {
    if (Status written = platform.writeFile(file, unitSheetPngBytes(units, image)); !written)
        return writeFailed(std::move(written.problem()), file);
    return doneOutcome(countSummary(Counted::UnitsPngWritten, units.size()));
}

Outcome exportFacePngTo(const EditorState& state, Platform& platform, int face, const std::filesystem::path& file) {
    const ConstCatalogue faces = state.catalogues.faces();
    const size_t f = recordAt(faces, face);
    LoadedRomGuard guarded(state, platform);
    const std::vector<uint8_t> png = facePngBytes(faces[f].unpacked, setsOfFace(state.catalogues.colourSets, f));
    if (Status written = guarded.writeFile(file, png); !written) return writeFailed(std::move(written.problem()), file);
    return doneOutcome(faceWord(f) + toCp932(" をPNGに書き出しました"));
}

Outcome importFacePngFrom(EditorState& state, Platform& platform, int face, const std::filesystem::path& file) {
    const Catalogue faces = state.catalogues.faces();
    const size_t f = recordAt(faces, face);
    std::vector<std::optional<std::vector<uint8_t>>> tiles(faces.size()), colours(state.catalogues.colourSets.size());
    std::optional<size_t> kept;
    if (std::optional<Outcome> failed = studyFace(faces, state.catalogues.colourSets, f, platform, file, tiles, colours, kept))
        return std::move(*failed);
    std::vector<std::string> warnings;
    if (kept)
        warnings.push_back(shownName(file) + ": warning: a palette of " + std::to_string(*kept) +
                           " entries, not 128; the face's colour sets stay as they are");
    replaceFaceTiles(faces, tiles, state.image);
    replaceColourSets(state.catalogues.colourSets, colours, state.image);
    return doneOutcome(faceWord(f) + toCp932(" をPNGから読み込みました"), std::move(warnings));
}

Outcome exportUnitPngTo(const EditorState& state, Platform& platform, int position, const std::filesystem::path& file) {
    const ConstCatalogue units = state.catalogues.unitGraphics();
    const size_t at = recordAt(units, position);
    LoadedRomGuard guarded(state, platform);
    if (Status written = guarded.writeFile(file, unitPngBytes(units[unitEntryAt(at)].unpacked, state.image)); !written)
        return writeFailed(std::move(written.problem()), file);
    return doneOutcome(toCp932("ユニットグラフィック ") + std::to_string(at) + toCp932(" をPNGに書き出しました"));
}

Outcome importUnitPngFrom(EditorState& state, Platform& platform, int position, const std::filesystem::path& file) {
    const size_t at = recordAt(state.catalogues.unitGraphics(), position);
    Result<std::vector<uint8_t>> bytes = readPngFile(platform, file);
    if (!bytes) return fileFailed(std::move(bytes.problem()), file);
    Result<std::vector<uint8_t>> unit = unitFromPng(*bytes, state.image);
    if (!unit) return fileFailed(std::move(unit.problem()), file);
    writeUnit(state.catalogues.unitGraphics(), state.image, at, std::move(*unit));
    return doneOutcome(toCp932("ユニットグラフィック ") + std::to_string(at) + toCp932(" をPNGから読み込みました"));
}

Outcome exportFacesPngTo(const EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    LoadedRomGuard guarded(state, platform);
    return facesToPng(state.catalogues.faces(), state.catalogues.colourSets, guarded, dir);
}

Outcome importFacesPngFrom(EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    return facesFromPng(state.catalogues.faces(), state.catalogues.colourSets, state.image, platform, dir);
}

Outcome exportUnitsPngTo(const EditorState& state, Platform& platform, const std::filesystem::path& file) {
    LoadedRomGuard guarded(state, platform);
    return unitsToPng(state.catalogues.unitGraphics(), state.image, guarded, file);
}

Outcome importUnitsPngFrom(EditorState& state, Platform& platform, const std::filesystem::path& file) {
    return unitsFromPng(state.catalogues.unitGraphics(), state.image, platform, file);
}

}  // namespace velk
