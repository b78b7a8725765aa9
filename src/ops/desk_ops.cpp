#include "ops/desk_ops.h"

#include <algorithm>
#include <optional>

#include "gfx/png_codec.h"
#include "ops/file_steps.h"
#include "ops/po_ops.h"
#include "ops/script_file_checks.h"
#include "ops/step_platform.h"
#include "text/decode.h"
#include "text/sjis.h"

namespace velk {
namespace {

// A file of the project a build may read, or nothing when it is not there.
Result<std::optional<std::vector<uint8_t>>> readOptionalFile(Platform& platform, const std::filesystem::path& path) {
    const std::optional<FileIdentity> there = platform.fileIdentity(path);
    if (!there) return std::optional<std::vector<uint8_t>>{};
    if (Status s = checkRegularFile(there); !s) return aboutFile(std::move(s.problem()), path);
    Result<std::vector<uint8_t>> bytes = readFileAt(platform, path, kMaxTextFileBytes);
    if (!bytes) return std::move(bytes.problem());
    return std::optional(std::move(*bytes));
}

// "status.tsv:3:7: ..." for a line that does not parse.
Outcome placedFailure(const Problem& p, const std::filesystem::path& path) {
    return failedWith(aboutFile(p, path, false, p.line, p.x));
}

std::string textForm(const Document& doc, size_t text) {
    return decodeText(doc.catalogues.texts(), static_cast<int>(text), doc.catalogues.names, doc.tables);
}

// The same picture: size, indices and colours (a PNG another program saved
// may say it in other bytes).
bool samePicture(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    const Result<PngPicture> x = decodePng(a), y = decodePng(b);
    if (!x || !y || x->width != y->width || x->height != y->height || x->indexed != y->indexed || x->pixels != y->pixels ||
        x->palette.size() != y->palette.size())
        return false;
    return std::equal(x->palette.begin(), x->palette.end(), y->palette.begin(), [](const Rgb& p, const Rgb& q) {
        return p.red == q.red && p.green == q.green && p.blue == q.blue;
    });
}

// The steps whose files a save writes back: the script is the user's own.
bool savedStep(std::string_view name) { return name != "script"; }

}  // namespace

bool OpenProject::namesEqual(const Document& now, size_t name) const {
    return now.catalogues.names[name].code == original.catalogues.names[name].code;
}

bool OpenProject::textsEqual(const Document& now, size_t text) const {
    return text < originalTexts.size() ? textForm(now, text) == originalTexts[text] : textForm(now, text) == textForm(original, text);
}

Outcome openProjectOn(EditorState& state, Platform& platform, const std::filesystem::path& dir, OpenProject& project) {
    Result<ProjectBase> base = openProjectBase(state, platform, dir, false);
    if (!base) return failedWith(base.problem());
    // The size and CRC32 agree: the SHA-1 must too.
    if (!base->sha1.empty() && base->sha1 != sha1Hex(state.image.bytes)) {
        Problem p = problem(ProblemCode::NotTheProjectBase);
        p.expected = p.found = base->crc32;
        p.width = p.height = static_cast<int64_t>(base->size);
        return failedWith(p);
    }
    OpenProject opened;
    opened.dir = dir;
    const Catalogues& c = state.catalogues;
    const std::filesystem::path statusPath = dir / kDeskStatusFileName;
    Result<std::optional<std::vector<uint8_t>>> status = readOptionalFile(platform, statusPath);
    if (!status) return failedWith(status.problem());
    if (*status) {
        Result<DeskBook> book = parseDeskStatus(**status, {c.names.size(), c.texts().size()});
        if (!book) return placedFailure(book.problem(), statusPath);
        opened.book = std::move(*book);
    }
    const std::filesystem::path glossaryPath = dir / kGlossaryFileName;
    Result<std::optional<std::vector<uint8_t>>> glossary = readOptionalFile(platform, glossaryPath);
    if (!glossary) return failedWith(glossary.problem());
    if (*glossary) {
        Result<std::vector<GlossaryTerm>> terms = parseGlossary(**glossary);
        if (!terms) return placedFailure(terms.problem(), glossaryPath);
        opened.glossary = std::move(*terms);
    }
    opened.rules = boxRulesOf(base->box, state);
    opened.base = std::move(*base);
    opened.original = static_cast<const Document&>(state);
    opened.originalTexts.resize(c.texts().size());
    for (size_t i = 0; i < opened.originalTexts.size(); ++i) opened.originalTexts[i] = textForm(state, i);
    Outcome built = buildProjectFrom(state, platform, dir);
    if (!built.done()) return built;
    project = std::move(opened);
    return built;
}

Outcome saveProjectFiles(const EditorState& state, Platform& platform, const OpenProject& project) {
    const std::filesystem::path& dir = project.dir;
    std::vector<std::pair<std::filesystem::path, std::vector<uint8_t>>> files;
    bool po = false;
    for (const ProjectStep& step : projectSteps()) {
        if (!savedStep(step.name)) continue;
        const std::string_view name = step.name;
        if ((name == "names" || name == "texts") && keepsPo(platform, dir, name == "names" ? CodeKind::Name : CodeKind::Text)) {
            po = true;
            continue;
        }
        StepPlatform capture(platform, true);
        if (Outcome o = step.exportTo(state, capture, dir); !o.done()) return o;
        for (auto& [path, bytes] : capture.written) files.emplace_back(path, std::move(bytes));
    }
    const std::vector<uint8_t> book = deskStatusBytes(project.book);
    const bool statusThere = platform.fileIdentity(dir / kDeskStatusFileName).has_value();
    if (statusThere || !book.empty()) files.emplace_back(dir / kDeskStatusFileName, book);
    // Terms added in the window (line 0) go to the end of glossary.tsv.
    if (std::ranges::any_of(project.glossary, [](const GlossaryTerm& t) { return t.line == 0; })) {
        Result<std::optional<std::vector<uint8_t>>> glossary = readOptionalFile(platform, dir / kGlossaryFileName);
        if (!glossary) return failedWith(glossary.problem());
        files.emplace_back(dir / kGlossaryFileName, glossaryWithTerms(glossary->value_or(std::vector<uint8_t>{}), project.glossary));
    }

    size_t written = 0;
    for (const auto& [path, bytes] : files) {
        const std::optional<FileIdentity> there = platform.fileIdentity(path);
        if (there && checkRegularFile(there)) {
            const Result<std::vector<uint8_t>> onDisk = platform.readFile(path, kMaxTextFileBytes);
            if (onDisk && *onDisk == bytes) continue;
            if (onDisk && path.extension() == ".png" && samePicture(*onDisk, bytes)) continue;
        }
        if (Status made = platform.makeFolder(path.parent_path()); !made)
            return fileFailure(std::move(made.problem()), path.parent_path(), true);
        if (Status s = platform.writeFile(path, bytes); !s) return fileFailure(std::move(s.problem()), path, true);
        ++written;
    }
    // Names or texts kept as PO are written as export-po writes them.
    if (po) {
        EditorState base;
        static_cast<Document&>(base) = project.original;
        base.options = state.options;
        PoExportOptions options;
        options.built = &state;
        options.book = &project.book;
        if (Outcome o = exportPoTo(base, platform, dir, options); !o.done()) return o;
    }
    Outcome done = doneOutcome(toCp932(written ? "プロジェクトのファイル " + std::to_string(written) + " 件を保存しました"
                                               : "プロジェクトのファイルは変わっていません"));
    done.effect = Effect::Save;
    return done;
}

std::vector<std::filesystem::path> projectWatchPaths(Platform& platform, const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> paths{dir};
    for (const char* name : {kProjectFileName, "names.txt", "texts.txt", "units.png", "script.txt", kDeskStatusFileName,
                             kGlossaryFileName})
        if (platform.fileIdentity(dir / name)) paths.push_back(dir / name);
    for (const char* folder : {"faces", kPoFolder}) {
        const std::filesystem::path sub = dir / folder;
        const Result<std::vector<std::string>> names = platform.listFolder(sub);
        if (!names) continue;
        paths.push_back(sub);
        for (const std::string& name : *names) paths.push_back(sub / name);
    }
    return paths;
}

}  // namespace velk
