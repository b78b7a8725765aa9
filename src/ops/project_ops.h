// A translation as a project: one folder of plain files exported from a base
// ROM (names, texts, faces and unit graphics as PNG, a change script, and
// velk-project.txt naming the base), and the build that applies the folder
// to that base again.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <map>
#include <string>
#include <vector>

#include "ops/file_steps.h"
#include "ops/outcome.h"
#include "platform/platform.h"
#include "ops/editor_state.h"
#include "text/line_width.h"

namespace velk {

constexpr const char* kProjectFileName = "velk-project.txt";
constexpr int kProjectFormat = 1;

// One kind of source in a project: how it is written from a state into the
// project folder, and read back into a state. Exports are deterministic, so
// a build compares a file with what the base exports and skips it unchanged.
struct ProjectStep {
    const char* name;
    Outcome (*exportTo)(const EditorState& state, Platform& platform, const std::filesystem::path& dir);
    Outcome (*importFrom)(EditorState& state, Platform& platform, const std::filesystem::path& dir);
    // The export of a project that keeps this step's files as PO (names and
    // texts only; nullptr for the others).
    Outcome (*exportPo)(const EditorState& state, Platform& platform, const std::filesystem::path& dir) = nullptr;
};
// names, texts, faces, units, script: in the order a build applies them.
const std::vector<ProjectStep>& projectSteps();

// The box rules velk-project.txt sets (see text/line_width.h); a rule it
// does not set is inferred from the base when the project is checked.
struct ProjectBoxRules {
    std::optional<int> textColumns, textLines, nameColumns, escapeWidth;
    std::optional<std::vector<uint8_t>> textBoxBreak;  // set, and empty: no box break
    std::array<std::optional<int>, 5> tokenWidths;     // in the order of tokens()
};
// The rules in full: those the project sets, the others inferred from the
// state (the base): widths 1 for a token, 0 for an escape, no box break, and
// the widest line, the most lines and the widest name the base holds. With
// `origins`, one line per rule (by key) saying where its value came from.
BoxRules boxRulesOf(const ProjectBoxRules& set, const EditorState& base,
                    std::map<std::string, std::string>* origins = nullptr);
// The key of a token's width: "token-width-主人公" (UTF-8).
std::string tokenWidthKey(size_t token);

// The base a project was exported from, as velk-project.txt records it.
struct ProjectBase {
    int format = kProjectFormat;
    uint64_t size = 0;       // of the image, without a copier header
    uint32_t crc32 = 0;      // of the image
    std::string sha1;        // of the image, 40 lower-case hex digits
    bool copierHeader = false;
    std::string name;      // the project's name ("name = ..."); empty: its folder's
    std::string language;  // the translation's language code ("language = ..."), for PO headers; may be unset
    // Each step's files as exported from the base, with their SHA-1: a file
    // that still has it is the base's own and needs no build.
    struct File {
        std::string path;  // relative to the project folder, '/' between folders
        std::string sha1;
    };
    std::map<std::string, std::vector<File>> files;  // by step name
    ProjectBoxRules box;
    std::map<std::string, std::string> boxOrigins;  // the comment written above each rule, by key
};
ProjectBase projectBaseOf(const EditorState& state);
std::string projectFileText(const ProjectBase& base);
// A problem (ProjectFileInvalid, its line and why) when the text is not a
// project file of a format this build reads.
Result<ProjectBase> parseProjectFile(std::string_view text);

// What the base exports, per step and file, kept between the runs of a
// watch loop (the base is the same file each time).
struct ProjectBaseExports {
    uint32_t baseCrc = 0;
    std::filesystem::path dir;  // the project they were made for
    bool filled = false;
    std::map<std::string, std::map<std::filesystem::path, std::vector<uint8_t>>> files;  // by step name
};

struct BuildOptions {
    bool anyBase = false;                            // build on any ROM, not only the project's base
    ProjectBaseExports* baseExports = nullptr;       // reused when it holds this base's exports
    std::vector<std::filesystem::path>* read = nullptr;  // every file the build read (for a watch)
};

struct ProjectExportOptions {
    bool po = false;  // names and texts as po/*.po (and .pot) instead of names.txt and texts.txt
};

// Reads velk-project.txt in `dir` and checks that the state holds its base
// (any ROM with anyBase): the project's base, or the problem that stops it
// (NotTheProjectBase, or one about velk-project.txt).
Result<ProjectBase> openProjectBase(const EditorState& state, Platform& platform, const std::filesystem::path& dir,
                                    bool anyBase);

// Writes a project of the state into `dir` (new or empty; made when missing).
Outcome exportProjectTo(const EditorState& state, Platform& platform, const std::filesystem::path& dir,
                        const ProjectExportOptions& options = {});

// The project's name: as velk-project.txt gives it, or its folder's.
std::string projectName(const ProjectBase& base, const std::filesystem::path& dir);

// Whether the project keeps a step's entries as PO: it holds po/NAME.po and
// not the text file.
bool keepsPo(Platform& platform, const std::filesystem::path& dir, CodeKind kind);
// Applies the project in `dir` to the state: checks the base, then runs each
// step whose files differ from the base's export. Stops at the first failure.
Outcome buildProjectFrom(EditorState& state, Platform& platform, const std::filesystem::path& dir,
                         const BuildOptions& options = {});


// SHA-1 of the bytes as 40 lower-case hex digits.
std::string sha1Hex(std::span<const uint8_t> bytes);

}  // namespace velk
