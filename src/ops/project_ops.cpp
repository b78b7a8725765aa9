#include "ops/project_ops.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include <nettle/sha1.h>

#include "image/parallel.h"
#include "image/hex.h"
#include "ops/entry_ops.h"
#include "ops/file_steps.h"
#include "ops/operations.h"
#include "ops/png_ops.h"
#include "ops/po_ops.h"
#include "ops/reads_the_same.h"
#include "ops/script_file_checks.h"
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

Outcome writeProjectFile(Platform& platform, const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    return writeNamedFile(platform, path, bytes, toCp932(path.filename().string()));
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
    return importKeepingWhatReadsTheSame(state, [&] { return importNameList(state, step, dir / kNamesFile); });
}

Outcome importTexts(EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    if (keepsPo(platform, dir, CodeKind::Text)) return importPoIntoState(state, platform, dir / kPoFolder / kTextsPo);
    StepPlatform step(platform);
    return importKeepingWhatReadsTheSame(state, [&] { return importTextCollection(state, step, dir / kTextsFile); });
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
    return applyChangeScript(state, step, dir / kScriptFile);
}

std::string hex8(uint32_t v) {
    char s[9];
    std::snprintf(s, sizeof s, "%08X", v);
    return s;
}

// A box break as its escape's textual form: "!15!" or "?1B 05?".
std::string escapeForm(const std::vector<uint8_t>& code) {
    std::string out = code.size() == 1 ? "!" : "?";
    for (size_t i = 0; i < code.size(); ++i) {
        if (i) out += ' ';
        appendHexByte(out, code[i]);
    }
    return out + (code.size() == 1 ? "!" : "?");
}

std::optional<std::vector<uint8_t>> parseEscapeForm(std::string_view form) {
    auto byteAt = [&](size_t at) -> std::optional<uint8_t> {
        const int hi = hexDigitValue(static_cast<uint8_t>(form[at])), lo = hexDigitValue(static_cast<uint8_t>(form[at + 1]));
        if (hi < 0 || lo < 0) return std::nullopt;
        return static_cast<uint8_t>(hi << 4 | lo);
    };
    if (form.size() == 4 && form[0] == '!' && form[3] == '!')
        if (const auto b = byteAt(1)) return std::vector<uint8_t>{*b};
    if (form.size() == 7 && form[0] == '?' && form[3] == ' ' && form[6] == '?')
        if (const auto b0 = byteAt(1), b1 = byteAt(4); b0 && b1) return std::vector<uint8_t>{*b0, *b1};
    return std::nullopt;
}

// The largest velk-project.txt, and the largest file a build reads.
constexpr size_t kMaxProjectFileBytes = size_t{64} << 10;
constexpr size_t kMaxProjectInputBytes = size_t{64} << 20;

// A file of the project as a build reads it: a regular file (a FIFO would
// never end, a device never stop) of at most `maxBytes`.
Result<std::vector<uint8_t>> readProjectInput(Platform& platform, const std::filesystem::path& path,
                                              size_t maxBytes = kMaxProjectInputBytes) {
    if (Status s = checkRegularFile(platform.fileIdentity(path)); !s) return std::move(s.problem());
    Result<std::vector<uint8_t>> bytes = platform.readFile(path, maxBytes + 1);
    if (bytes && bytes->size() > maxBytes) return tooLarge(maxBytes);
    return bytes;
}

// Names or texts: the steps that may keep their entries as PO.
CodeKind stepKind(const ProjectStep& step) {
    return std::string_view(step.name) == "names" ? CodeKind::Name : CodeKind::Text;
}

bool sameBytes(Platform& platform, const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    const Result<std::vector<uint8_t>> onDisk = readProjectInput(platform, path, bytes.size());
    return onDisk && *onDisk == bytes;
}

// The number a box rule's key sets, or nothing for another key.
std::optional<int>* boxNumber(ProjectBoxRules& box, const std::string& key) {
    if (key == "text-columns") return &box.textColumns;
    if (key == "text-lines") return &box.textLines;
    if (key == "name-columns") return &box.nameColumns;
    if (key == "escape-width") return &box.escapeWidth;
    for (size_t t = 0; t < box.tokenWidths.size(); ++t)
        if (key == tokenWidthKey(t)) return &box.tokenWidths[t];
    return nullptr;
}

// A whole number as the project file writes it: digits only, no sign.
template <typename T>
std::optional<T> parseNumber(std::string_view value, int base) {
    T n{};
    const char* end = value.data() + value.size();
    if (value.empty() || value.front() == '+' || value.front() == '-') return std::nullopt;
    const auto [stop, error] = std::from_chars(value.data(), end, n, base);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return n;
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

std::string tokenWidthKey(size_t token) {
    static const std::array<std::string, 5> keys = [] {
        std::array<std::string, 5> k;
        for (size_t t = 0; t < k.size(); ++t) {
            const std::string& form = tokens()[t].text;
            k[t] = "token-width-" + fromCp932(form.substr(1, form.size() - 2));
        }
        return k;
    }();
    return keys[token];
}

BoxRules boxRulesOf(const ProjectBoxRules& set, const EditorState& base, std::map<std::string, std::string>* origins) {
    BoxRules rules;
    auto note = [&](const std::string& key, const std::string& inferred) {
        if (origins) (*origins)[key] = inferred;
    };
    rules.escapeWidth = set.escapeWidth.value_or(0);
    if (!set.escapeWidth) note("escape-width", "escape-width: 0 by default, a control code takes no cell");
    for (size_t t = 0; t < rules.tokenWidths.size(); ++t) {
        rules.tokenWidths[t] = set.tokenWidths[t].value_or(1);
        if (!set.tokenWidths[t] && t == 0)
            note(tokenWidthKey(t), "token widths: 1 cell each by default; set the cells the game gives each word");
    }
    rules.textBoxBreak = set.textBoxBreak.value_or(std::vector<uint8_t>{});
    if (!set.textBoxBreak)
        note("text-box-break", "text-box-break: none by default; an escape such as !15! that starts a new box makes "
                               "text-lines count per box");
    const Catalogues& c = base.catalogues;
    const InferredLimits found = inferLimits(c.texts(), c.names, rules);
    rules.textColumns = set.textColumns.value_or(found.textColumns);
    rules.textLines = set.textLines.value_or(found.textLines);
    rules.nameColumns = set.nameColumns.value_or(found.nameColumns);
    const std::string keeps = ", so the base passes its own check";
    if (!set.textColumns)
        note("text-columns", "text-columns: the widest line of the base's texts, line " +
                                 std::to_string(found.widestTextLine + 1) + " of " +
                                 fromCp932(entryLabel(EntryKind::Text, found.widestText)) + keeps);
    if (!set.textLines)
        note("text-lines", "text-lines: the most lines of a base text (or box), " +
                               fromCp932(entryLabel(EntryKind::Text, found.longestText)) + keeps);
    if (!set.nameColumns)
        note("name-columns", "name-columns: the widest name of the base, " +
                                 fromCp932(entryLabel(EntryKind::Name, found.widestName)) + keeps);
    return rules;
}

ProjectBase projectBaseOf(const EditorState& state) {
    ProjectBase base;
    base.size = state.image.bytes.size();
    base.crc32 = crc32Of(state.image.bytes);
    base.sha1 = sha1Hex(state.image.bytes);
    base.copierHeader = !state.loaded.copierHeader.empty();
    const BoxRules rules = boxRulesOf({}, state, &base.boxOrigins);
    base.box = {rules.textColumns, rules.textLines, rules.nameColumns, rules.escapeWidth, rules.textBoxBreak, {}};
    for (size_t t = 0; t < rules.tokenWidths.size(); ++t) base.box.tokenWidths[t] = rules.tokenWidths[t];
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
    text += "# Box rules, for the check: the cells a line of a text and a name may take (a glyph is one\n"
            "# cell, a word reference its name's cells); edit them to the game's windows.\n";
    auto rule = [&](const std::string& key, const std::optional<std::string>& value) {
        if (const auto it = base.boxOrigins.find(key); it != base.boxOrigins.end()) text += "# " + it->second + "\n";
        if (value) text += key + (value->empty() ? " =" : " = " + *value) + "\n";
    };
    auto number = [](const std::optional<int>& v) { return v ? std::optional(std::to_string(*v)) : std::nullopt; };
    const ProjectBoxRules& box = base.box;
    rule("text-columns", number(box.textColumns));
    rule("text-lines", number(box.textLines));
    rule("text-box-break", box.textBoxBreak ? std::optional(box.textBoxBreak->empty() ? std::string() : escapeForm(*box.textBoxBreak))
                                            : std::nullopt);
    rule("name-columns", number(box.nameColumns));
    for (size_t t = 0; t < box.tokenWidths.size(); ++t) rule(tokenWidthKey(t), number(box.tokenWidths[t]));
    rule("escape-width", number(box.escapeWidth));
    return text;
}

Result<ProjectBase> parseProjectFile(std::string_view text) {
    ProjectBase base;
    base.format = 0;
    bool haveSize = false, haveCrc = false;
    int lineNumber = 0;
    auto fail = [&](const std::string& reason) {
        Problem p = problem(ProblemCode::ProjectFileInvalid);
        p.words = "line " + std::to_string(lineNumber) + ": " + reason;
        return p;
    };
    auto trim = [](std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
        return s;
    };
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // the byte-order mark some editors write
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
        if (key == "format") {
            const std::optional<int> format = parseNumber<int>(value, 10);
            if (format != kProjectFormat) return fail("format " + value + " is not one this VELK reads");
            base.format = *format;
        } else if (key == "base-size") {
            const std::optional<size_t> size = parseNumber<size_t>(value, 10);
            if (!size) return fail("base-size " + value + " is not a size in bytes");
            base.size = *size;
            haveSize = true;
        } else if (key == "base-crc32") {
            const std::optional<uint32_t> crc = parseNumber<uint32_t>(value, 16);
            if (!crc || value.size() != 8) return fail("base-crc32 " + value + " is not 8 hex digits");
            base.crc32 = *crc;
            haveCrc = true;
        } else if (key == "base-sha1") {
            base.sha1 = value;
        } else if (key == "name") {
            base.name = value;
        } else if (key == "language") {
            base.language = value;
        } else if (key == "base-copier-header") {
            base.copierHeader = value == "yes";
        } else if (key == "text-box-break") {
            base.box.textBoxBreak = value.empty() ? std::optional(std::vector<uint8_t>{}) : parseEscapeForm(value);
            if (!base.box.textBoxBreak) return fail("text-box-break is an escape such as !15! or ?1B 05?, or nothing");
        } else if (std::optional<int>* width = key.starts_with("file.") ? nullptr : boxNumber(base.box, key)) {
            const std::optional<int> v = parseNumber<int>(value, 10);
            if (!v || *v > 9999) return fail(key + " is a number of cells, 0 to 9999");
            *width = *v;
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

namespace {

// What an export has written so far; unless kept, it is removed again (the
// files, then the folders it made, deepest first), so that a failed export
// (a full disk) leaves nothing and a retry finds the folder as it was.
class ExportUndo {
public:
    ExportUndo(Platform& platform, const std::filesystem::path& dir, bool dirWasThere) : platform_(platform) {
        if (!dirWasThere) folders_.push_back(dir);
    }
    ~ExportUndo() {
        if (kept_) return;
        for (const std::filesystem::path& f : files_) (void)platform_.removeFile(f);
        std::sort(folders_.begin(), folders_.end());
        for (auto f = folders_.rbegin(); f != folders_.rend(); ++f) (void)platform_.removeFile(*f);
    }
    ExportUndo(const ExportUndo&) = delete;
    ExportUndo& operator=(const ExportUndo&) = delete;
    void file(const std::filesystem::path& path) { files_.push_back(path); }
    void folder(const std::filesystem::path& path) {
        if (std::find(folders_.begin(), folders_.end(), path) == folders_.end()) folders_.push_back(path);
    }
    void keep() { kept_ = true; }

private:
    Platform& platform_;
    std::vector<std::filesystem::path> files_, folders_;
    bool kept_ = false;
};

}  // namespace

Outcome exportProjectTo(const EditorState& state, Platform& platform, const std::filesystem::path& dir,
                        const ProjectExportOptions& options) {
    const Result<std::vector<std::string>> there = platform.listFolder(dir);
    if (there && !there->empty()) return fileFailure(problem(ProblemCode::FolderNotEmpty), dir, true);
    ExportUndo undo(platform, dir, platform.fileIdentity(dir).has_value());
    ProjectBase base = projectBaseOf(state);
    std::vector<std::string> warnings;
    for (const ProjectStep& step : projectSteps()) {
        StepPlatform capture(platform, true);
        Outcome o = (options.po && step.exportPo ? step.exportPo : step.exportTo)(state, capture, dir);
        warnings.insert(warnings.end(), o.warnings.begin(), o.warnings.end());
        if (!o.done()) return o;
        for (const auto& [path, bytes] : capture.written) {
            if (path.parent_path() != dir && !platform.fileIdentity(path.parent_path())) undo.folder(path.parent_path());
            undo.file(path);
            if (Status made = platform.makeFolder(path.parent_path()); !made)
                return fileFailure(std::move(made.problem()), path.parent_path(), true);
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
    undo.file(dir / kGitAttributesFile);
    if (Outcome o = writeProjectFile(platform, dir / kGitAttributesFile,
                                     std::span(reinterpret_cast<const uint8_t*>(attributes.data()), attributes.size()));
        !o.done())
        return o;
    const std::string text = projectFileText(base);
    undo.file(dir / kProjectFileName);
    if (Outcome o = writeProjectFile(platform, dir / kProjectFileName,
                                     std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        !o.done())
        return o;
    undo.keep();
    return doneOutcome(toCp932("project exported to " + dir.string()), std::move(warnings));
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

Result<ProjectBase> openProjectBase(const EditorState& state, Platform& platform, const std::filesystem::path& dir,
                                    bool anyBase) {
    const std::filesystem::path projectFile = dir / kProjectFileName;
    Result<std::vector<uint8_t>> text = readProjectInput(platform, projectFile, kMaxProjectFileBytes);
    if (!text) return aboutFile(std::move(text.problem()), projectFile);
    Result<ProjectBase> base = parseProjectFile(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
    if (!base) return aboutFile(std::move(base.problem()), projectFile);
    const uint32_t loadedCrc = crc32Of(state.image.bytes);
    if (!anyBase && (loadedCrc != base->crc32 || state.image.bytes.size() != base->size)) {
        Problem p = problem(ProblemCode::NotTheProjectBase);
        p.expected = base->crc32, p.width = static_cast<int64_t>(base->size);
        p.found = loadedCrc, p.height = static_cast<int64_t>(state.image.bytes.size());
        return p;
    }
    return base;
}

Outcome buildProjectFrom(EditorState& state, Platform& platform, const std::filesystem::path& dir,
                         const BuildOptions& options) {
    if (options.read) options.read->push_back(dir / kProjectFileName);
    Result<ProjectBase> base = openProjectBase(state, platform, dir, options.anyBase);
    if (!base) return failedWith(base.problem());
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
            const Result<std::vector<uint8_t>> bytes = readProjectInput(platform, dir / f.path);
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

}  // namespace velk
