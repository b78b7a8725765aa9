// The translation desk's view of a project on its base: `check`, every rule
// over every name and text (each encodes, fits its box, keeps the glossary's
// terms, translates a repeated original the same way, and a locked entry
// keeps its text), and `stats`, how many entries stand in each status.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ops/outcome.h"
#include "platform/platform.h"
#include "ops/editor_state.h"
#include "text/desk_status.h"

namespace velk {

// How a report is printed: aligned text, JSON, a Markdown table, JUnit XML.
enum class ReportFormat : uint8_t { Text, Json, Markdown, Junit };
std::optional<ReportFormat> reportFormatNamed(std::string_view name);

// One thing the check found, where a text editor or CI jumps to it.
struct Finding {
    std::string file;       // in the project: "texts.txt", "names.txt", "po/texts.po", "status.tsv"
    int64_t line = 0;       // 1-based
    int64_t column = 0;     // 1-based, in characters
    bool error = true;      // otherwise a warning
    std::string rule;       // "encoding", "fit", "glossary", "repeats", "locked", "format"
    std::string what;       // UTF-8
    std::string entry;      // "text 1598", "name 0002"; empty for a line of the file itself
};

struct CheckReport {
    std::vector<Finding> findings;  // by file, then line and column
    size_t names = 0, texts = 0;    // entries checked
    std::string namesFile = "names.txt", textsFile = "texts.txt";  // where they were read
    bool strict = false;            // the warnings count as errors
    size_t errors() const;
    size_t warnings() const;
};

struct DeskOptions {
    bool anyBase = false;  // check a project on a ROM other than its base
    bool strict = false;
};

// Checks the project in `dir` on the base the state holds. Failed when the
// project cannot be read, or when the report holds an error (with strict: a
// warning); the report is filled either way as far as the files allow.
Outcome checkProjectAt(const EditorState& base, Platform& platform, const std::filesystem::path& dir,
                       const DeskOptions& options, CheckReport& report);
// Each finding as "FILE:LINE:COL: error|warning: WHAT (ENTRY)" and a summary
// line; or a JSON list, a Markdown table, JUnit XML (one test case per rule
// and file, one failure per finding).
std::string checkReportText(const CheckReport& report, ReportFormat format);

// The status figures of a project's names and texts: the same as the
// window's, from deskFigures.
struct ProjectFigures {
    DeskFigures names, texts;
};
Outcome projectFiguresAt(const EditorState& base, Platform& platform, const std::filesystem::path& dir,
                         const DeskOptions& options, ProjectFigures& figures);
// Aligned text, JSON or a Markdown table (nothing for JUnit).
std::optional<std::string> figuresText(const ProjectFigures& figures, ReportFormat format);

}  // namespace velk
