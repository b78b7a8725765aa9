// Every operation a button or a command-line verb runs: ask for the file,
// read it, call the format, show the message for a problem, write the file.
#pragma once

#include <optional>

#include "platform/platform.h"
#include "rom/editor_state.h"
#include "rom/load.h"
#include "script/change_script.h"

namespace velk {

// The ROM: at start-up (asks until one loads; false when the user cancels),
// reload (cancel or a file that does not load leave everything as it was).
// Where the loaded file lies, and which file it is, are kept for patches
// and the backup; its bytes are not.
std::optional<LoadedRom> loadRomFile(Platform& platform, const ChosenFile& file, const CharTables& tables);
bool openRomAtStart(EditorState& state, Platform& platform);
void reloadRom(EditorState& state, Platform& platform);

// Saves: lays the image out (nothing written and the image unchanged when it
// does not fit), writes the checksum, and writes the copier header and the
// image, or, for a name ending in .ips or .bps, a patch from the file as
// loaded to those bytes (read again from the loaded file, or from the .bak
// this run made of it; refused when neither is the file as loaded). The
// first save in a run that replaces the loaded file keeps its content as
// NAME.bak first. True when the file was written.
enum class PatchKind { None, Ips, Bps };
PatchKind patchKindOf(const std::filesystem::path& path);
bool saveRom(EditorState& state, Platform& platform);

// Before the window closes: true to close. With unsaved edits, asks whether
// to save them (a cancelled or failed save keeps the window open).
bool confirmClose(EditorState& state, Platform& platform);

// Names and texts. The imports return whether they ran (and so may have
// changed entries).
void exportNameList(ConstCatalogue names, Platform& platform);
bool importNameList(Catalogue names, const CharTables& tables, Platform& platform, bool fullWidth = false);
void exportTextCollection(ConstCatalogue texts, ConstCatalogue names, const CharTables& tables, Platform& platform);
bool importTextCollection(Catalogue texts, const CharTables& tables, const RomImage& image, Platform& platform,
                          bool fullWidth = false);

// Graphics. The write-backs return whether they ran.
void extractFaceGraphics(ConstCatalogue faces, ConstCatalogue colourSets, const RomImage& image, Platform& platform);
bool writeFaceGraphics(Catalogue faces, Catalogue colourSets, const RomImage& image, Platform& platform);
void exportFacePicture(ConstCatalogue faces, ConstCatalogue colourSets, Platform& platform);
void extractUnitGraphics(ConstCatalogue units, const RomImage& image, Platform& platform);
bool writeUnitGraphics(Catalogue units, RomImage& image, Platform& platform);

// The change script: asks for it, reads it whole (at most 64 MiB) and
// applies it; the files it names are found beside it. Returns whether it ran.
bool applyChangeScript(EditorState& state, Platform& platform);

// The files a script names, read through the platform from the script's
// folder. A name that does not exist as written is tried converted from
// Shift-JIS to UTF-8, as a Linux user saves a Japanese file name.
class ScriptFolderFiles : public ScriptFiles {
public:
    ScriptFolderFiles(Platform& platform, std::filesystem::path folder)
        : platform_(platform), folder_(std::move(folder)) {}
    Result<std::vector<uint8_t>> read(std::string_view name, size_t maxBytes) override;

private:
    Platform& platform_;
    std::filesystem::path folder_;
};

// The same, each in the one form the window's buttons and the command line's
// verbs call.
using Operation = void (*)(EditorState&, Platform&);
void saveRomOperation(EditorState& state, Platform& platform);
void reloadRomOperation(EditorState& state, Platform& platform);
void extractFacesOperation(EditorState& state, Platform& platform);
void writeFacesOperation(EditorState& state, Platform& platform);
void exportFacePictureOperation(EditorState& state, Platform& platform);
void extractUnitsOperation(EditorState& state, Platform& platform);
void writeUnitsOperation(EditorState& state, Platform& platform);
void exportNamesOperation(EditorState& state, Platform& platform);
void importNamesOperation(EditorState& state, Platform& platform);
void exportTextsOperation(EditorState& state, Platform& platform);
void importTextsOperation(EditorState& state, Platform& platform);
void applyChangeScriptOperation(EditorState& state, Platform& platform);

}  // namespace velk
