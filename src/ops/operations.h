// Every operation a button or a command-line verb runs: read the file it is
// given, call the format, write the file, and say in an Outcome what
// happened (the front end shows it).
#pragma once

#include <filesystem>
#include <optional>

#include "ops/file_steps.h"
#include "ops/outcome.h"
#include "platform/platform.h"
#include "ops/editor_state.h"
#include "rom/load.h"
#include "script/change_script.h"

namespace velk {

// Each operation takes the path it reads or writes, and says in its Outcome
// what happened. The front ends ask for the path (the window through its
// dialogs, velk-cli from its arguments, a project from its folder).
using Operation = Outcome (*)(EditorState& state, Platform& platform, const std::filesystem::path& path);

// The ROM: loads the file (at start-up the built-in character tables first).
// A file that does not load leaves everything as it was. Where the loaded
// file lies, and which file it is, are kept for patches and the backup; its
// bytes are not.
Result<LoadedRom> loadRomFile(Platform& platform, const std::filesystem::path& path, const CharTables& tables);
Outcome openRomAtStart(EditorState& state, Platform& platform, const std::filesystem::path& path);
Outcome reloadRom(EditorState& state, Platform& platform, const std::filesystem::path& path);
// The second half of a load, for a window that asks between reading the file
// (loadRomFile) and replacing the document with it.
Outcome installLoadedRom(EditorState& state, Platform& platform, const std::filesystem::path& path, LoadedRom rom);
// What the window asks, with unsaved edits, once another file has loaded
// ("demo.smc への変更を保存しますか？") and before it closes.
std::string saveBeforeReloadQuestion(const EditorState& state);
std::string saveBeforeCloseQuestion();

// Saves: lays the image out (nothing written and the image unchanged when it
// does not fit), writes the checksum, and writes the copier header and the
// image, or, for a name ending in .ips or .bps, a patch from the file as
// loaded to those bytes (read again from the loaded file, or from the .bak
// this run made of it; refused when neither is the file as loaded). The
// first save in a run that replaces the loaded file keeps its content as
// NAME.bak first.
enum class PatchKind { None, Ips, Bps };
PatchKind patchKindOf(const std::filesystem::path& path);
Outcome saveRom(EditorState& state, Platform& platform, const std::filesystem::path& path);

// Names and texts. An import that fails keeps the entries stored before the
// problem. With the `fullWidth` option, a character without a glyph of its
// own is tried in its full-width form. Exports never replace the loaded ROM.
Outcome exportNameList(EditorState& state, Platform& platform, const std::filesystem::path& path);
Outcome importNameList(EditorState& state, Platform& platform, const std::filesystem::path& path);
Outcome exportTextCollection(EditorState& state, Platform& platform, const std::filesystem::path& path);
Outcome importTextCollection(EditorState& state, Platform& platform, const std::filesystem::path& path);

// Graphics: a face or unit graphics file, its palettes and side file (or,
// for a name ending in .png, PNG files: see png_ops.h); all faces as one
// bitmap.
Outcome extractFaceGraphics(EditorState& state, Platform& platform, const std::filesystem::path& path);
Outcome writeFaceGraphics(EditorState& state, Platform& platform, const std::filesystem::path& path);
Outcome exportFacePicture(EditorState& state, Platform& platform, const std::filesystem::path& path);
Outcome extractUnitGraphics(EditorState& state, Platform& platform, const std::filesystem::path& path);
Outcome writeUnitGraphics(EditorState& state, Platform& platform, const std::filesystem::path& path);

// The change script: reads it whole (at most 64 MiB) and applies it; the
// files it names are found beside it.
Outcome applyChangeScript(EditorState& state, Platform& platform, const std::filesystem::path& path);

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

}  // namespace velk
