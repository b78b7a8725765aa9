// Every operation a button or a command-line verb runs: ask for the file,
// read it, call the format, write the file, and say in an Outcome what
// happened (the front end shows it).
#pragma once

#include <optional>

#include "ops/file_dialogs.h"
#include "ops/outcome.h"
#include "platform/platform.h"
#include "rom/editor_state.h"
#include "rom/load.h"
#include "script/change_script.h"

namespace velk {

// The ROM: asks for the file and loads it (at start-up the built-in
// character tables first). Cancel or a file that does not load leave
// everything as it was. Where the loaded file lies, and which file it is,
// are kept for patches and the backup; its bytes are not.
Step<LoadedRom> loadRomFile(Platform& platform, const ChosenFile& file, const CharTables& tables);
Outcome openRomAtStart(EditorState& state, Platform& platform);
// With unsaved edits, a reload asks, once the new file has loaded, whether
// to save them over the loaded file first; Cancel keeps everything.
Outcome reloadRom(EditorState& state, Platform& platform);

// Saves: lays the image out (nothing written and the image unchanged when it
// does not fit), writes the checksum, and writes the copier header and the
// image, or, for a name ending in .ips or .bps, a patch from the file as
// loaded to those bytes (read again from the loaded file, or from the .bak
// this run made of it; refused when neither is the file as loaded). The
// first save in a run that replaces the loaded file keeps its content as
// NAME.bak first.
enum class PatchKind { None, Ips, Bps };
PatchKind patchKindOf(const std::filesystem::path& path);
Outcome saveRom(EditorState& state, Platform& platform);
Outcome saveRomTo(EditorState& state, Platform& platform, const ChosenFile& file);
// Over the file the ROM was loaded from (keeping its .bak as above).
Outcome saveRomInPlace(EditorState& state, Platform& platform);

// Before the window closes: done to close. With unsaved edits, asks whether
// to save them (a cancelled or failed save keeps the window open).
Outcome confirmClose(EditorState& state, Platform& platform);

// Names and texts. An import that fails keeps the entries stored before
// the problem. With `fullWidth`, a character without a glyph of its own is
// tried in its full-width form.
Outcome exportNameList(ConstNameCatalogue names, Platform& platform);
Outcome importNameList(NameCatalogue names, const CharTables& tables, Platform& platform, bool fullWidth = false);
Outcome exportTextCollection(ConstCatalogue texts, ConstNameCatalogue names, const CharTables& tables, Platform& platform);
Outcome importTextCollection(Catalogue texts, const CharTables& tables, const RomImage& image, Platform& platform,
                             bool fullWidth = false);

// Graphics.
Outcome extractFaceGraphics(ConstCatalogue faces, ConstCatalogue colourSets, const RomImage& image, Platform& platform);
Outcome writeFaceGraphics(Catalogue faces, Catalogue colourSets, const RomImage& image, Platform& platform);
Outcome exportFacePicture(ConstCatalogue faces, ConstCatalogue colourSets, Platform& platform);
Outcome extractUnitGraphics(ConstCatalogue units, const RomImage& image, Platform& platform);
Outcome writeUnitGraphics(Catalogue units, RomImage& image, Platform& platform);

// The change script: asks for it, reads it whole (at most 64 MiB) and
// applies it; the files it names are found beside it.
Outcome applyChangeScript(EditorState& state, Platform& platform);

// The files a script names, read through the platform from the script's
// folder. A name that does not exist as written is tried converted from
// Shift-JIS to UTF-8, as a Linux user saves a Japanese file name.
class ScriptFolderFiles : public ScriptFiles {
public:
    ScriptFolderFiles(Platform& platform, std::filesystem::path folder, bool anywhere = false)
        : platform_(platform), folder_(std::move(folder)), anywhere_(anywhere) {}
    Result<std::vector<uint8_t>> read(std::string_view name, size_t maxBytes) override;

private:
    Platform& platform_;
    std::filesystem::path folder_;
    bool anywhere_;  // files outside the script's folder may be named too
};

// The same, each in the one form the window's buttons and the command line's
// verbs call (through runOperation, which records what they changed).
using Operation = Outcome (*)(EditorState&, Platform&);
Outcome saveRomOperation(EditorState& state, Platform& platform);
Outcome reloadRomOperation(EditorState& state, Platform& platform);
Outcome extractFacesOperation(EditorState& state, Platform& platform);
Outcome writeFacesOperation(EditorState& state, Platform& platform);
Outcome exportFacePictureOperation(EditorState& state, Platform& platform);
Outcome extractUnitsOperation(EditorState& state, Platform& platform);
Outcome writeUnitsOperation(EditorState& state, Platform& platform);
Outcome exportNamesOperation(EditorState& state, Platform& platform);
Outcome importNamesOperation(EditorState& state, Platform& platform);
Outcome exportTextsOperation(EditorState& state, Platform& platform);
Outcome importTextsOperation(EditorState& state, Platform& platform);
Outcome applyChangeScriptOperation(EditorState& state, Platform& platform);

}  // namespace velk
