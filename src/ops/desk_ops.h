// A project open in the window: the folder, what velk-project.txt says of
// its base and box rules, the desk's statuses and notes (status.tsv), the
// team's glossary, and the base as loaded before the build, whose names and
// texts are the originals the translation stands beside.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "ops/editor_state.h"
#include "ops/outcome.h"
#include "ops/project_ops.h"
#include "platform/platform.h"
#include "text/desk_status.h"
#include "text/glossary.h"
#include "text/line_width.h"

namespace velk {

struct OpenProject {
    std::filesystem::path dir;           // the project folder, absolute
    ProjectBase base;                    // velk-project.txt
    BoxRules rules;                      // the box rules, those it leaves out inferred from the base
    DeskBook book;                       // status.tsv; empty when the project has none
    std::vector<GlossaryTerm> glossary;  // glossary.tsv (UTF-8); empty when the project has none
    Document original;                   // the base as loaded, before the build: the originals
    std::vector<std::string> originalTexts;  // each original text as it reads (Shift-JIS, names included)

    // Whether an entry's text is still the original's (a name by its code,
    // a text as it reads, the names it refers to included), as `stats`
    // and `check` decide it.
    bool namesEqual(const Document& now, size_t name) const;
    bool textsEqual(const Document& now, size_t text) const;
};

// Opens the project in `dir` on the state, which holds its base as just
// loaded: checks the base by size, CRC32 and SHA-1 (failing with the message
// `build` gives for another ROM), reads status.tsv and glossary.tsv, keeps
// the base as the originals, then builds the project into the state as
// `build` does. On failure the project is left as it was; the state may hold
// a half-built image (load the base again).
Outcome openProjectOn(EditorState& state, Platform& platform, const std::filesystem::path& dir, OpenProject& project);

// Writes back the project files whose bytes differ from what export-project
// writes for the state (names.txt, texts.txt, faces/face-NNN.png, units.png)
// and status.tsv for the book; a PNG file that holds the same pixels and
// colours as the export is left as it is. Each file is replaced whole.
// Names or texts a project keeps as PO are written as export-po writes them.
Outcome saveProjectFiles(const EditorState& state, Platform& platform, const OpenProject& project);

// The files and folders whose change on disk makes the window build the
// project again: the folder, its faces folder, and the files in them that a
// build reads (velk-project.txt, names.txt, texts.txt, units.png, script.txt,
// status.tsv, glossary.tsv, the faces).
std::vector<std::filesystem::path> projectWatchPaths(Platform& platform, const std::filesystem::path& dir);

}  // namespace velk
