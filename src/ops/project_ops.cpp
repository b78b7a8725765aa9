#include "ops/project_ops.h"

#include <algorithm>
#include <cstdio>

#include <nettle/sha1.h>

#include "image/parallel.h"
#include "ops/dialog_options.h"
#include "ops/file_dialogs.h"
#include "ops/operations.h"
#include "ops/png_ops.h"
#include "ops/po_ops.h"
#include "ops/reads_the_same.h"
#include "ops/step_platform.h"
#include "patch/bps.h"
#include "script/change_script.h"
#include "text/name_list.h"
#include "text/sjis.h"
#include "text/text_collection.h"

namespace velk {
namespace {

constexpr const char* kNamesFile = "names.txt";
constexpr const char* kTextsFile = "texts.txt";
constexpr const char* kScriptFile = "script.txt";
constexpr const char* kFacesFolder = "faces";
constexpr const char* kUnitsFile = "units.png";
constexpr const char* kGitAttributesFile = ".gitattributes";
// Keeps the project's text files as they are written (LF, UTF-8) on every
// checkout, and lets git diff and merge them line by line.
constexpr const char* kGitAttributes =
    "# Written by VELK: the project's text files keep LF line ends on every system.\n"
    "*.po text eol=lf\n"
    "*.pot text eol=lf\n"
    "*.txt text eol=lf\n"
    "*.tsv text eol=lf\n"
    "*.png binary\n";

// A Shift-JIS export with CR LF line ends as the project keeps it: UTF-8,
// no byte-order mark, LF.
std::vector<uint8_t> projectText(const std::vector<uint8_t>& sjis) {
    const std::string utf8 = fromCp932(std::string_view(reinterpret_cast<const char*>(sjis.data()), sjis.size()));
    std::vector<uint8_t> out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i)
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) out.push_back(static_cast<uint8_t>(utf8[i]));
    return out;
}

// "%sに書き込めませんでした" for the file or folder, with the system's reason.
Outcome cannotWriteAt(Problem p, const std::filesystem::path& path) {
    p.writing = true;
    p.file = toCp932(path.filename().string());
    p.fileUtf8 = path.string();
    return failedOutcome(renderMessage(p));
}

Outcome writeProjectFile(Platform& platform, const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    Status s = platform.writeFile(path, bytes);
    if (s) return doneOutcome(toCp932(path.filename().string()));
    return cannotWriteAt(std::move(s.problem()), path);
}

Outcome exportNames(const EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    return writeProjectFile(platform, dir / kNamesFile, projectText(nameListBytes(state.catalogues.names)));
}

Outcome exportTexts(const EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    const Catalogues& c = state.catalogues;
    return writeProjectFile(platform, dir / kTextsFile, projectText(textCollectionBytes(c.texts(), c.names, state.tables)));
}

Outcome exportScript(const EditorState&, Platform& platform, const std::filesystem::path& dir) {
    return writeProjectFile(platform, dir / kScriptFile, {});
}

// Faces and unit graphics as the PNG files of the graphics verbs.
Outcome exportFaces(const EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    return exportFacesPngTo(state, platform, dir / kFacesFolder);
}

Outcome exportUnits(const EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    return exportUnitsPngTo(state, platform, dir / kUnitsFile);
}

Outcome exportNamesPo(const EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    return exportPoStep(state, platform, dir, CodeKind::Name);
}

Outcome exportTextsPo(const EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    return exportPoStep(state, platform, dir, CodeKind::Text);
}

Outcome importNames(EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    if (keepsPo(platform, dir, CodeKind::Name)) return importPoIntoState(state, platform, dir / kPoFolder / kNamesPo);
    StepPlatform step(platform);
    step.answer(dir / kNamesFile);
    return importKeepingWhatReadsTheSame(
        state, [&] { return importNameList(state.catalogues.names, state.tables, step, state.fullWidth); });
}

Outcome importTexts(EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    if (keepsPo(platform, dir, CodeKind::Text)) return importPoIntoState(state, platform, dir / kPoFolder / kTextsPo);
    StepPlatform step(platform);
    step.answer(dir / kTextsFile);
    return importKeepingWhatReadsTheSame(state, [&] {
        return importTextCollection(state.catalogues.texts(), state.tables, state.image, step, state.fullWidth);
    });
}

Outcome importFaces(EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    return importFacesPngFrom(state, platform, dir / kFacesFolder);
}

Outcome importUnits(EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    return importUnitsPngFrom(state, platform, dir / kUnitsFile);
}

// The script's files are found beside it.
Outcome importScript(EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    StepPlatform step(platform);
    step.answer(dir / kScriptFile);
    return applyChangeScript(state, step);
}

std::string hex8(uint32_t v) {
    char s[9];
    std::snprintf(s, sizeof s, "%08X", v);
    return s;
}

Message projectMessage(const std::string& text, std::string detail) {
    return Message{toCp932(text), text, std::move(detail)};
}

Message cannotReadProject(const std::filesystem::path& file, Problem p) {
    p.file = toCp932(file.filename().string());
    p.fileUtf8 = file.string();
    return renderMessage(p);
}

// Names or texts: the steps that may keep their entries as PO.
CodeKind stepKind(const ProjectStep& step) {
    return std::string_view(step.name) == "names" ? CodeKind::Name : CodeKind::Text;
}

bool sameBytes(Platform& platform, const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    const Result<std::vector<uint8_t>> onDisk = platform.readFile(path, bytes.size() + 1);
    return onDisk && *onDisk == bytes;
}

}  // namespace

const std::vector<ProjectStep>& projectSteps() {
    static const std::vector<ProjectStep> steps = {
        {"names", exportNames, importNames, exportNamesPo},
        {"texts", exportTexts, importTexts, exportTextsPo},
        {"faces", exportFaces, importFaces},
        {"units", exportUnits, importUnits},
        {"script", exportScript, importScript},
    };
    return steps;
}

std::string sha1Hex(std::span<const uint8_t> bytes) {
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, bytes.size(), bytes.data());
    uint8_t digest[SHA1_DIGEST_SIZE];
    sha1_digest(&ctx, SHA1_DIGEST_SIZE, digest);
    std::string out;
    for (uint8_t b : digest) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", b);
        out += two;
    }
    return out;
}

ProjectBase projectBaseOf(const EditorState& state) {
    ProjectBase base;
    base.size = state.image.bytes.size();
    base.crc32 = crc32Of(state.image.bytes);
    base.sha1 = sha1Hex(state.image.bytes);
    base.copierHeader = !state.copierHeader.empty();
    return base;
}

std::string projectFileText(const ProjectBase& base) {
    std::string text = "# A VELK project: the base ROM its files apply to (image without a copier header),\n"
                       "# and each file as exported from it.\n"
                       "format = " + std::to_string(base.format) + "\n" +
                       "base-size = " + std::to_string(base.size) + "\n" +
                       "base-crc32 = " + hex8(base.crc32) + "\n" +
                       "base-sha1 = " + base.sha1 + "\n" +
                       "base-copier-header = " + (base.copierHeader ? "yes" : "no") + "\n" +
                       (base.name.empty() ? "" : "name = " + base.name + "\n") +
                       (base.language.empty() ? "# language = the translation's language code (ja, en, pt_BR, ...), for the PO files\n"
                                              : "language = " + base.language + "\n");
    for (const ProjectStep& step : projectSteps()) {
        const auto it = base.files.find(step.name);
        if (it == base.files.end()) continue;
        for (const ProjectBase::File& f : it->second) text += "file." + std::string(step.name) + " = " + f.path + " " + f.sha1 + "\n";
    }
    return text;
}

std::optional<ProjectBase> parseProjectFile(std::string_view text, std::string* why) {
    ProjectBase base;
    base.format = 0;
    bool haveSize = false, haveCrc = false;
    int lineNumber = 0;
    auto fail = [&](const std::string& reason) -> std::optional<ProjectBase> {
        if (why) *why = "line " + std::to_string(lineNumber) + ": " + reason;
        return std::nullopt;
    };
    auto trim = [](std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
        return s;
    };
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line.front() == '#') continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) return fail("not \"key = value\"");
        const std::string key(trim(line.substr(0, eq)));
        const std::string value(trim(line.substr(eq + 1)));
        char* rest = nullptr;
        if (key == "format") {
            base.format = static_cast<int>(std::strtol(value.c_str(), &rest, 10));
            if (base.format != kProjectFormat || *rest) return fail("format " + value + " is not one this VELK reads");
        } else if (key == "base-size") {
            base.size = std::strtoull(value.c_str(), &rest, 10);
            haveSize = !value.empty() && !*rest;
        } else if (key == "base-crc32") {
            base.crc32 = static_cast<uint32_t>(std::strtoul(value.c_str(), &rest, 16));
            haveCrc = value.size() == 8 && !*rest;
        } else if (key == "base-sha1") {
            base.sha1 = value;
        } else if (key == "base-copier-header") {
            base.copierHeader = value == "yes";
        } else if (key == "name") {
            base.name = value;
        } else if (key == "language") {
            base.language = value;
        } else if (key.starts_with("file.")) {
            const size_t blank = value.rfind(' ');
            if (blank == std::string::npos) return fail("not \"file.STEP = PATH SHA1\"");
            base.files[key.substr(5)].push_back({value.substr(0, blank), value.substr(blank + 1)});
        }  // keys of later versions are passed over
    }
    if (base.format == 0) return fail("no \"format\"");
    if (!haveSize || !haveCrc) return fail("no valid \"base-size\" and \"base-crc32\"");
    return base;
}

Outcome exportProjectTo(const EditorState& state, Platform& platform, const std::filesystem::path& dir,
                        const ProjectExportOptions& options) {
    if (const Result<std::vector<std::string>> there = platform.listFolder(dir); there && !there->empty()) {
        return cannotWriteAt(problem(ProblemCode::FolderNotEmpty), dir);
    }
    ProjectBase base = projectBaseOf(state);
    std::vector<std::string> warnings;
    for (const ProjectStep& step : projectSteps()) {
        StepPlatform capture(platform, true);
        Outcome o = (options.po && step.exportPo ? step.exportPo : step.exportTo)(state, capture, dir);
        warnings.insert(warnings.end(), o.warnings.begin(), o.warnings.end());
        if (!o.done()) return o;
        for (const auto& [path, bytes] : capture.written) {
            if (Status made = platform.makeFolder(path.parent_path()); !made)
                return cannotWriteAt(std::move(made.problem()), path.parent_path());
            base.files[step.name].push_back({path.lexically_relative(dir).generic_string(), sha1Hex(bytes)});
        }
        // Each write waits for the disk, so the files (157 faces) are written
        // by many threads at once; the first failure in path order is reported.
        const std::vector<std::pair<std::filesystem::path, std::vector<uint8_t>>> files(capture.written.begin(),
                                                                                        capture.written.end());
        std::vector<Outcome> written(files.size());
        parallelFor(
            files.size(), [&](size_t i) { written[i] = writeProjectFile(platform, files[i].first, files[i].second); }, 1,
            16);
        for (Outcome& w : written)
            if (!w.done()) return std::move(w);
    }
    const std::string_view attributes(kGitAttributes);
    if (Outcome o = writeProjectFile(platform, dir / kGitAttributesFile,
                                     std::span(reinterpret_cast<const uint8_t*>(attributes.data()), attributes.size()));
        !o.done())
        return o;
    const std::string text = projectFileText(base);
    if (Outcome o = writeProjectFile(platform, dir / kProjectFileName,
                                     std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        !o.done())
        return o;
    return doneOutcome(toCp932("project exported to " + dir.string()), std::move(warnings));
}

ProjectRead readProjectFor(const EditorState& state, Platform& platform, const std::filesystem::path& dir,
                           bool anyBase) {
    const std::filesystem::path projectFile = dir / kProjectFileName;
    Result<std::vector<uint8_t>> text = platform.readFile(projectFile, 1 << 16);
    if (!text) return {std::nullopt, failedOutcome(cannotReadProject(projectFile, std::move(text.problem())))};
    std::string why;
    std::optional<ProjectBase> base =
        parseProjectFile(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), &why);
    if (!base) {
        Problem p = problem(ProblemCode::ProjectFileInvalid);
        p.words = why;
        return {std::nullopt, failedOutcome(cannotReadProject(projectFile, std::move(p)))};
    }
    const uint32_t loadedCrc = crc32Of(state.image.bytes);
    if (!anyBase && (loadedCrc != base->crc32 || state.image.bytes.size() != base->size))
        return {std::nullopt,
                failedOutcome(projectMessage(
                    "the loaded ROM is not this project's base",
                    "project base CRC32 " + hex8(base->crc32) + " (" + std::to_string(base->size) +
                        " bytes), loaded ROM CRC32 " + hex8(loadedCrc) + " (" + std::to_string(state.image.bytes.size()) +
                        " bytes); --any-base builds on it all the same"))};
    return {std::move(base), {}};
}

std::string projectName(const ProjectBase& base, const std::filesystem::path& dir) {
    if (!base.name.empty()) return base.name;
    const std::filesystem::path folder = dir.has_filename() ? dir.filename() : dir.parent_path().filename();
    return folder.string();
}

bool keepsPo(Platform& platform, const std::filesystem::path& dir, CodeKind kind) {
    const bool names = kind == CodeKind::Name;
    return !platform.fileIdentity(dir / (names ? kNamesFile : kTextsFile)) &&
           platform.fileIdentity(dir / kPoFolder / (names ? kNamesPo : kTextsPo));
}

Outcome buildProjectFrom(EditorState& state, Platform& platform, const std::filesystem::path& dir,
                         const BuildOptions& options) {
    if (options.read) options.read->push_back(dir / kProjectFileName);
    ProjectRead project = readProjectFor(state, platform, dir, options.anyBase);
    if (!project.base) return std::move(project.failure);
    const std::optional<ProjectBase>& base = project.base;
    const uint32_t loadedCrc = crc32Of(state.image.bytes);

    // Whether each step's files are still the base's: by the SHA-1 the
    // project recorded of them, on the base itself; otherwise by what the
    // loaded image exports, every step before any applies (a later step's
    // export may show an earlier one's edits: texts show the names).
    const bool onBase = loadedCrc == base->crc32 && state.image.bytes.size() == base->size;
    std::vector<bool> same(projectSteps().size(), false), known(projectSteps().size(), false);
    for (size_t i = 0; i < projectSteps().size(); ++i) {
        const auto it = base->files.find(projectSteps()[i].name);
        if (!onBase || it == base->files.end()) continue;
        known[i] = true;
        same[i] = std::all_of(it->second.begin(), it->second.end(), [&](const ProjectBase::File& f) {
            if (options.read) options.read->push_back(dir / f.path);
            const Result<std::vector<uint8_t>> bytes = platform.readFile(dir / f.path);
            return bytes && sha1Hex(*bytes) == f.sha1;
        });
    }
    if (!std::all_of(known.begin(), known.end(), [](bool k) { return k; })) {
        ProjectBaseExports local;
        ProjectBaseExports& exports = options.baseExports ? *options.baseExports : local;
        if (!exports.filled || exports.baseCrc != loadedCrc || exports.dir != dir) {
            exports = ProjectBaseExports{loadedCrc, dir, true, {}};
            for (const ProjectStep& step : projectSteps()) {
                StepPlatform capture(platform, true);
                const bool po = step.exportPo && keepsPo(platform, dir, stepKind(step));
                if (Outcome o = (po ? step.exportPo : step.exportTo)(state, capture, dir); !o.done()) return o;
                exports.files[step.name] = std::move(capture.written);
            }
        }
        for (size_t i = 0; i < projectSteps().size(); ++i) {
            if (known[i]) continue;
            const auto& files = exports.files[projectSteps()[i].name];
            same[i] = std::all_of(files.begin(), files.end(),
                                  [&](const auto& f) { return sameBytes(platform, f.first, f.second); });
            if (options.read)
                for (const auto& f : files) options.read->push_back(f.first);
        }
    }
    std::vector<std::string> warnings;
    std::string applied, unchanged;
    for (size_t i = 0; i < projectSteps().size(); ++i) {
        const ProjectStep& step = projectSteps()[i];
        std::string& list = same[i] ? unchanged : applied;
        if (!list.empty()) list += ", ";
        list += step.name;
        if (same[i]) continue;
        StepPlatform recording(platform);
        Outcome o = step.importFrom(state, recording, dir);
        if (options.read) options.read->insert(options.read->end(), recording.read.begin(), recording.read.end());
        warnings.insert(warnings.end(), o.warnings.begin(), o.warnings.end());
        if (!o.done()) {
            o.warnings = std::move(warnings);
            return o;
        }
    }
    return doneOutcome(toCp932("built " + dir.string() + ": " + (applied.empty() ? "nothing" : applied) + " applied" +
                               (unchanged.empty() ? "" : "; " + unchanged + " as the base")),
                       std::move(warnings));
}

Outcome exportProject(EditorState& state, Platform& platform, const ProjectExportOptions& options) {
    const std::optional<ChosenFile> dir = platform.saveFileDialog({});
    if (!dir) return cancelledOutcome();
    return exportProjectTo(state, platform, dir->path, options);
}

}  // namespace velk
