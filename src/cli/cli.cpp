#include "cli/cli.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <numeric>
#include <sstream>
#include <variant>

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

#include "cli/cli_platform.h"
#include "cli/watch.h"
#include "image/version.h"
#include "ops/check_ops.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/patch_notes.h"
#include "ops/png_ops.h"
#include "ops/po_ops.h"
#include "ops/project_ops.h"
#include "ops/replace_ops.h"
#include "ops/run_operation.h"
#include "ops/sharing_checks.h"
#include "text/sjis.h"


namespace velk {
namespace {

struct CliOptions {
    bool keepGoing = false;
    bool strict = false;
    bool utf8 = false;
    bool keepChecksum = false;
    bool scriptFilesAnywhere = false;
    bool fullWidth = false;
    bool anyBase = false;
    bool watch = false;
    bool po = false;
    std::string then;
    std::string notes;  // --notes FILE: release notes of the run's patches
    ReportFormat format = ReportFormat::Text;  // of check and stats
};

// What the verbs of one run share beyond the editor's state.
struct RunContext {
    const CliOptions& options;
    ProjectBaseExports* baseExports = nullptr;  // kept between the runs of a watch
    std::vector<std::filesystem::path> projects;  // folders built
    std::vector<std::filesystem::path> read;      // files the builds read
    // Files kept as NAME.bak already: in, and out once the run is over, so
    // that a watch's later runs never back up a file they wrote themselves.
    std::vector<std::filesystem::path> backedUp;
    std::vector<PatchFacts> patches = {};  // written and verified, for --notes
};

// A verb's work on the state: `argument` is the file or folder the verb
// names (empty for a verb that takes none).
using VerbRun = std::function<Outcome(EditorState&, Platform&, const std::filesystem::path& argument, std::ostream&,
                                      RunContext&)>;

struct Verb {
    const char* name;
    const char* argument;  // nullptr: takes none; otherwise what the argument names
    const char* help;
    VerbRun run;
};

// A verb that only reads the document (or, saving, lays it out): it runs on
// the state as it stands, nothing compared.
VerbRun reads(Operation run) {
    return [run](EditorState& s, Platform& p, const std::filesystem::path& path, std::ostream&, RunContext&) {
        return run(s, p, path);
    };
}

// A verb that edits the document, through runOperation, which keeps the
// faces' rules.
VerbRun edits(Operation run) {
    return [run](EditorState& s, Platform& p, const std::filesystem::path& path, std::ostream&, RunContext&) {
        return runOperation(s, [&] { return run(s, p, path); });
    };
}

// An operation (that only reads the document, or saves it) whose summary is
// the verb's report.
VerbRun summarised(Operation run) {
    return [run](EditorState& s, Platform& p, const std::filesystem::path& path, std::ostream& out, RunContext&) {
        Outcome o = run(s, p, path);
        if (o.done()) out << fromCp932(o.summary) << '\n';
        return o;
    };
}

// An operation that also reports plain lines, printed on the output.
template <typename Run>
VerbRun reporting(Run run) {
    return [run](EditorState& s, Platform& p, const std::filesystem::path& path, std::ostream& out, RunContext&) {
        Outcome o = run(s, p, path);
        out << o.report;
        return o;
    };
}

Outcome buildVerb(EditorState& s, Platform& p, const std::filesystem::path& dir, std::ostream& out,
                  RunContext& context) {
    const BuildOptions options{context.options.anyBase, context.baseExports, &context.read};
    context.projects.push_back(dir);
    Outcome o = runOperation(s, [&] { return buildProjectFrom(s, p, dir, options); });
    if (o.done() && !context.options.watch) out << fromCp932(o.summary) << '\n';
    return o;
}

// A PO file read in a watch is watched like a project's files.
Outcome importPoVerb(EditorState& s, Platform& p, const std::filesystem::path& file, std::ostream& out,
                     RunContext& context) {
    context.read.push_back(file);
    Outcome o = runOperation(s, [&] { return importPoFrom(s, p, file); });
    if (o.done() && !context.options.watch) out << fromCp932(o.summary) << '\n';
    return o;
}

Outcome checkVerb(EditorState& s, Platform& p, const std::filesystem::path& dir, std::ostream& out,
                  RunContext& context) {
    context.projects.push_back(dir);  // a watch runs the check again when a file there changes
    CheckReport report;
    Outcome o = checkProjectAt(s, p, dir, {context.options.anyBase, context.options.strict}, report);
    if (o.done() || report.names > 0) out << checkReportText(report, context.options.format);
    return o;
}

Outcome statsVerb(EditorState& s, Platform& p, const std::filesystem::path& dir, std::ostream& out,
                  RunContext& context) {
    ProjectFigures figures;
    Outcome o = projectFiguresAt(s, p, dir, {context.options.anyBase, false}, figures);
    if (o.done()) out << figuresText(figures, context.options.format).value_or(figuresText(figures, ReportFormat::Text).value());
    return o;
}

int64_t packedBytes(ConstCatalogue catalog) {
    return std::accumulate(catalog.begin(), catalog.end(), int64_t{0},
                           [](int64_t sum, const ResourceEntry& e) { return sum + static_cast<int64_t>(e.packed.size()); });
}

int64_t packedBytes(ConstNameCatalogue names) {
    return std::accumulate(names.begin(), names.end(), int64_t{0},
                           [](int64_t sum, const NameEntry& e) { return sum + static_cast<int64_t>(e.code.size()); });
}

void printInfo(const EditorState& state, std::ostream& out) {
    const Catalogues& c = state.catalogues;
    const char* layout = colourSetLayout(state.image) == ColourSetLayout::Relocated ? "relocated" : "indexed";
    out << "names:         " << c.names.size() << " (" << packedBytes(c.names) << " code bytes)\n"
        << "faces:         " << c.faces().size() << " (" << packedBytes(c.faces()) << " packed bytes)\n"
        << "colour sets:   " << c.colourSets.size() << " (" << packedBytes(c.colourSets) << " packed bytes, " << layout
        << " layout)\n"
        << "unit graphics: " << c.unitGraphics().size() << " (" << packedBytes(c.unitGraphics())
        << " packed bytes)\n"
        << "texts:         " << c.texts().size() << " (" << packedBytes(c.texts()) << " packed bytes)\n";
}

// What an outcome has to say on the error stream: its warnings, then its problem.
void printOutcome(const Outcome& outcome, CliPlatform& platform, std::ostream& err) {
    for (const std::string& line : outcome.warnings) err << line << '\n';
    if (outcome.problem) platform.showMessage(*outcome.problem);
}

const std::vector<Verb>& verbs() {
    static const std::vector<Verb> all = {
        {"info", nullptr, "print what the image holds",
         [](EditorState& s, Platform&, const std::filesystem::path&, std::ostream& out, RunContext&) {
             printInfo(s, out);
             return doneOutcome({});
         }},
        {"save", "OUT.smc", "lay every resource out again and write the 4 MiB image", summarised(saveRom)},
        {"patch", "OUT.ips|OUT.bps",
         "lay out as save does, write a patch from the ROM as loaded instead, and check it by applying it",
         [](EditorState& s, Platform& p, const std::filesystem::path& path, std::ostream& out, RunContext& context) {
             VerifiedPatch made = savePatchVerified(s, p, path);
             out << made.outcome.report;
             if (made.outcome.done()) context.patches.push_back(std::move(made.facts));
             return made.outcome;
         }},
        {"extract-faces", "OUT.fig", "write the faces, their palettes and side file", reads(extractFaceGraphics)},
        {"write-faces", "IN.fig", "read the faces and their palettes back", edits(writeFaceGraphics)},
        {"export-face-bmp", "OUT.bmp", "write all faces as one bitmap", reads(exportFacePicture)},
        {"extract-units", "OUT.fig", "write the unit graphics, palette and side file", reads(extractUnitGraphics)},
        {"write-units", "IN.fig", "read the unit graphics back", edits(writeUnitGraphics)},
        {"export-faces-png", "DIR", "write each face as DIR/face-000.png ... face-156.png",
         reads([](EditorState& s, Platform& p, const std::filesystem::path& dir) { return exportFacesPngTo(s, p, dir); })},
        {"import-faces-png", "DIR", "read the faces (and 128-colour palettes) back from DIR", edits(importFacesPngFrom)},
        {"export-units-png", "OUT.png", "write all unit graphics tiles as one indexed PNG sheet",
         reads([](EditorState& s, Platform& p, const std::filesystem::path& file) { return exportUnitsPngTo(s, p, file); })},
        {"import-units-png", "IN.png", "read the unit graphics back from the PNG sheet", edits(importUnitsPngFrom)},
        {"export-names", "OUT.txt", "write the name list file", reads(exportNameList)},
        {"import-names", "IN.txt", "read names from a name list file", edits(importNameList)},
        {"export-texts", "OUT.txt", "write the text collection file", reads(exportTextCollection)},
        {"import-texts", "IN.txt", "read texts from a text collection file", edits(importTextCollection)},
        {"apply-script", "IN.txt", "apply a change script; the files it names are found in its folder or below it",
         edits(applyChangeScript)},
        {"export-project", "DIR", "write names, texts, PNG graphics and an empty change script as a new project",
         [](EditorState& s, Platform& p, const std::filesystem::path& dir, std::ostream& out, RunContext& context) {
             Outcome o = runOperation(s, [&] { return exportProjectTo(s, p, dir, ProjectExportOptions{context.options.po}); });
             if (o.done()) out << fromCp932(o.summary) << '\n';
             return o;
         }},
        {"build", "DIR", "apply the project in DIR to its base ROM, each file only where it differs", buildVerb},
        {"export-po", "DIR", "write DIR/po/names.pot, texts.pot, names.po and texts.po for the project in DIR",
         summarised([](EditorState& s, Platform& p, const std::filesystem::path& dir) { return exportPoTo(s, p, dir); })},
        {"import-po", "FILE.po", "read the translations of a PO file into the names and texts", importPoVerb},
        {"check", "DIR",
         "check the project in DIR on its base: every name and text encodes and fits its box, glossary terms, "
         "repeats, locked entries; exit 1 on an error",
         checkVerb},
        {"stats", "DIR", "print how many names and texts of the project in DIR stand in each status", statsVerb},
        {"space", nullptr, "print the room a save would use and leave, per region",
         reporting([](EditorState& s, Platform&, const std::filesystem::path&) { return spaceCheck(s); })},
        {"diff", "OTHER.smc", "print per kind which entries differ from another image", reporting(diffCheck)},
        {"replace", "RULES.tsv", "apply PATTERN<TAB>REPLACEMENT rules in order to names and texts, or change nothing",
         reporting([](EditorState& s, Platform& p, const std::filesystem::path& rules) {
             return runOperation(s, [&] { return replaceWithRules(s, p, rules); });
         })},
        {"export-table", "OUT.tbl", "write the character tables as a UTF-8 table file", reads(exportTableFile)},
    };
    return all;
}

void printUsage(std::ostream& os) {
    auto row = [&os](const std::string& left, const char* right) {
        os << "  " << left << std::string(left.size() < 26 ? 26 - left.size() : 1, ' ') << right << "\n";
    };
    os << "usage: velk-cli [OPTION]... [--] ROM VERB [ARG] [VERB [ARG]...]\n"
          "Loads ROM, then applies the verbs in order to the one image in memory.\n"
          "An ARG that begins with '-' is a usage error unless it stands after --\n"
          "(before ROM, a verb or the ARG): no mistyped option becomes a file.\n"
          "options (before ROM):\n";
    row("-k, --keep-going", "after a verb reports a problem, go on with the next verb");
    row("--strict", "treat a warning as a problem once its verb has run");
    row("--utf8", "name lists, text collections and change scripts are UTF-8 files");
    row("--keep-checksum", "leave the cartridge checksum as the image holds it when saving");
    row("--script-files-anywhere", "let change scripts name files outside their own folder");
    row("--fullwidth", "type a character without a glyph of its own in its full-width form");
    row("--any-base", "build, check or stats a project on a ROM other than its base");
    row("--format=FORMAT", "check and stats print text (the default), json or markdown; check also junit");
    row("--watch", "run, then run again from a fresh load after each change of a file a build read");
    row("--po", "export-project keeps names and texts as po/names.po and po/texts.po");
    row("--then 'COMMAND'", "with --watch: start COMMAND (no shell) after each run that went well");
    row("--notes FILE", "after a run that went well, write its patches' checksums as Markdown notes");
    row("-h, --help", "print this help and exit");
    row("-V, --version", "print the version and exit");
    os << "verbs:\n";
    for (const Verb& v : verbs()) row(std::string(v.name) + (v.argument ? std::string(" ") + v.argument : ""), v.help);
    os << "exit status: 0 when every verb succeeded, 1 when one reported a problem, 2 for a usage error\n";
}

const Verb* findVerb(const std::string& name) {
    for (const Verb& v : verbs())
        if (name == v.name) return &v;
    return nullptr;
}

// Edits (insert, delete, replace a character) that turn a into b.
size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The verb closest to a misspelt one, when it is close enough to be meant.
const Verb* closestVerb(const std::string& name) {
    const Verb* best = nullptr;
    size_t bestDistance = SIZE_MAX;
    for (const Verb& v : verbs()) {
        const size_t d = editDistance(name, v.name);
        if (d < bestDistance) best = &v, bestDistance = d;
    }
    return bestDistance <= std::max<size_t>(2, name.size() / 3) ? best : nullptr;
}

}  // namespace

namespace {

struct Step {
    const Verb* verb;
    std::string argument;
};

struct Chain {
    CliOptions options;
    std::string rom;
    std::vector<Step> steps;
};

// The command line checked whole before any file is touched: the chain, or
// the exit status to end with.
std::variant<Chain, int> parseCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Chain chain;
    CliOptions& o = chain.options;
    bool afterDashes = false;  // behind "--" every word is a file name or a verb, never an option
    size_t first = 0;
    for (; first < args.size() && args[first].size() > 1 && args[first][0] == '-'; ++first) {
        const std::string& option = args[first];
        if (option == "-k" || option == "--keep-going") {
            o.keepGoing = true;
        } else if (option == "--strict") {
            o.strict = true;
        } else if (option == "--utf8") {
            o.utf8 = true;
        } else if (option == "--keep-checksum") {
            o.keepChecksum = true;
        } else if (option == "--script-files-anywhere") {
            o.scriptFilesAnywhere = true;
        } else if (option == "--fullwidth") {
            o.fullWidth = true;
        } else if (option == "--any-base") {
            o.anyBase = true;
        } else if (option.starts_with("--format=") && reportFormatNamed(option.substr(9))) {
            o.format = *reportFormatNamed(option.substr(9));
        } else if (option == "--watch") {
            o.watch = true;
        } else if (option == "--po") {
            o.po = true;
        } else if (option == "--then" && first + 1 < args.size()) {
            o.then = args[++first];
        } else if (option == "--notes") {
            if (first + 1 >= args.size() || args[first + 1].starts_with('-')) {
                err << "velk-cli: --notes needs FILE, a name that does not begin with '-'\n";
                return 2;
            }
            o.notes = args[++first];
        } else if (option == "-h" || option == "--help") {
            printUsage(out);
            return 0;
        } else if (option == "-V" || option == "--version") {
            out << kVersionText << "\n" << kLicenceText << "\n";
            return 0;
        } else if (option == "--") {
            ++first;
            afterDashes = true;
            break;
        } else {
            err << "velk-cli: unknown option '" << option << "'\n";
            printUsage(err);
            return 2;
        }
    }
    if (!o.then.empty() && (!o.watch || splitCommand(o.then).empty())) {
        err << "velk-cli: --then needs --watch and a command\n";
        return 2;
    }
    if (args.size() < first + 2) {
        printUsage(err);
        return 2;
    }
    chain.rom = args[first];
    for (size_t i = first + 1; i < args.size(); ++i) {
        if (!afterDashes && args[i] == "--") {
            afterDashes = true;
            continue;
        }
        const Verb* verb = findVerb(args[i]);
        if (!verb) {
            err << "velk-cli: unknown verb '" << args[i] << "'";
            if (const Verb* close = closestVerb(args[i])) err << " (did you mean " << close->name << "?)";
            err << "; see --help\n";
            return 2;
        }
        Step step{verb, {}};
        if (verb->argument) {
            if (!afterDashes && i + 1 < args.size() && args[i + 1] == "--") {
                afterDashes = true;
                ++i;
            }
            if (i + 1 >= args.size()) {
                err << "velk-cli: '" << verb->name << "' needs " << verb->argument << "\n";
                return 2;
            }
            step.argument = args[++i];
            // A mistyped option must not become a file: "save --help" wrote 4 MiB named "--help".
            if (!afterDashes && step.argument.starts_with('-')) {
                err << "velk-cli: '" << verb->name << "' needs " << verb->argument << ", and '" << step.argument
                    << "' looks like an option (write -- before it to take it as a name)\n";
                return 2;
            }
        }
        if (std::string(verb->name) == "patch" && patchKindOf(step.argument) == PatchKind::None) {
            err << "velk-cli: 'patch' writes OUT.ips or OUT.bps, not '" << step.argument << "'\n";
            return 2;
        }
        chain.steps.push_back(std::move(step));
    }
    if (!o.notes.empty() && std::none_of(chain.steps.begin(), chain.steps.end(),
                                         [](const Step& s) { return std::string(s.verb->name) == "patch"; })) {
        err << "velk-cli: --notes needs a 'patch' verb, whose checksums it writes\n";
        return 2;
    }
    // A report read by a CI tool as JUnit XML must hold nothing else.
    if (o.format == ReportFormat::Junit && std::any_of(chain.steps.begin(), chain.steps.end(), [](const Step& s) {
            return std::string(s.verb->name) == "stats";
        })) {
        err << "velk-cli: 'stats' prints text, json or markdown; --format=junit is for 'check'\n";
        return 2;
    }
    // The notes are written last: over a verb's file they would replace the
    // patch just written, or a file the run read.
    auto where = [](const std::string& name) {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::weakly_canonical(name, ec);
        return ec ? std::filesystem::absolute(name, ec).lexically_normal() : full;
    };
    for (const Step& step : chain.steps)
        if (!o.notes.empty() && step.verb->argument && where(step.argument) == where(o.notes)) {
            err << "velk-cli: --notes " << o.notes << " is the file of '" << step.verb->name << ' ' << step.argument
                << "'; the notes would replace it\n";
            return 2;
        }
    return chain;
}

// A project's name: its folder's, however the folder was given ("proj/", ".").
std::string projectName(const std::filesystem::path& dir) {
    std::filesystem::path p = std::filesystem::absolute(dir).lexically_normal();
    if (!p.has_filename()) p = p.parent_path();
    return p.filename().string();
}

// Loads the ROM and runs the verbs on it: the exit status.
int runChain(const Chain& chain, CliPlatform& platform, std::ostream& out, std::ostream& err, RunContext& context) {
    const CliOptions& o = chain.options;
    platform.setUtf8Files(o.utf8);
    EditorState state;
    state.options.keepChecksum = o.keepChecksum;
    const Outcome opened = openRomAtStart(state, platform, chain.rom);
    printOutcome(opened, platform, err);
    if (!opened.done()) return 1;
    state.options.keepChecksum = o.keepChecksum;
    state.options.scriptFilesAnywhere = o.scriptFilesAnywhere;
    state.options.fullWidth = o.fullWidth;
    if (!state.loaded.copierHeader.empty()) err << "ROM: 512-byte copier header, kept on save\n";
    state.backedUp = context.backedUp;
    bool failed = false;
    for (const Step& step : chain.steps) {
        const Outcome outcome = step.verb->run(state, platform, step.argument, out, context);
        printOutcome(outcome, platform, err);
        if (!outcome.done() || (o.strict && !outcome.warnings.empty())) {
            failed = true;
            if (!o.keepGoing) break;
        }
    }
    context.backedUp = state.backedUp;
    if (!failed && !o.notes.empty()) {
        const Outcome notes = writePatchNotes(state, platform, o.notes, context.patches,
                                              context.projects.empty() ? "" : projectName(context.projects.back()));
        printOutcome(notes, platform, err);
        failed = !notes.done();
    }
    return failed ? 1 : 0;
}

// A watch run's platform: messages kept for the run's one line, and files
// written only when the whole run went well, so a failed run leaves the last
// good outputs as they were. Writes may come from several threads at once.
class WatchRunPlatform : public CliPlatform {
public:
    explicit WatchRunPlatform(std::ostream& err) : CliPlatform(err) {}
    void showMessage(const Message& message) override {
        if (first.empty()) first = message.detail.empty() ? message.display : message.display + ": " + message.detail;
        CliPlatform::showMessage(message);
    }
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override {
        const std::lock_guard lock(mutex_);
        staged[path].assign(bytes.begin(), bytes.end());
        return {};
    }
    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) override {
        {
            const std::lock_guard lock(mutex_);
            if (const auto it = staged.find(path); it != staged.end())
                return std::vector<uint8_t>(it->second.begin(),
                                            it->second.begin() + static_cast<std::ptrdiff_t>(std::min(maxBytes, it->second.size())));
        }
        return CliPlatform::readFile(path, maxBytes);
    }
    // A staged file is dropped; the last good one on disk stays.
    Status removeFile(const std::filesystem::path& path) override {
        const std::lock_guard lock(mutex_);
        staged.erase(path);
        return {};
    }
    std::string first;
    std::map<std::filesystem::path, std::vector<uint8_t>> staged;

private:
    std::mutex mutex_;
};

// A file descriptor that turns readable on Ctrl+C (or a termination request).
int interruptFd() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) return -1;
    return signalfd(-1, &signals, SFD_CLOEXEC);
}

int watchChain(const Chain& chain, std::ostream& out, std::ostream& err, const WatchHooks* given) {
    WatchHooks hooks = given ? *given : WatchHooks{};
    int ownFd = -1;
    if (!given) {
        hooks.stopFd = ownFd = interruptFd();
        hooks.onLine = [&out](const std::string& line) { out << line << std::endl; };
    }
    ProjectBaseExports baseExports;
    std::vector<std::filesystem::path> backedUp;  // by runs whose files were written
    auto run = [&]() {
        std::ostringstream runErr, runOut;
        WatchRunPlatform platform(runErr);
        RunContext context{chain.options, &baseExports, {}, {}, backedUp};
        const int code = runChain(chain, platform, runOut, runErr, context);
        WatchRun r;
        r.ok = code == 0;
        r.folders = context.projects;
        r.files = context.read;
        r.files.push_back(chain.rom);
        if (!r.ok) {
            r.what = platform.first.empty() ? "a warning, with --strict" : platform.first;
            return r;
        }
        r.what = "wrote";
        // Backups first: the file a save replaces is kept before it is replaced.
        std::vector<std::filesystem::path> order;
        for (const bool backups : {true, false})
            for (const auto& [path, bytes] : platform.staged)
                if ((path.extension() == ".bak") == backups) order.push_back(path);
        for (const std::filesystem::path& path : order) {
            r.written.push_back(path);
            if (Status s = CliPlatform(err).writeFile(path, platform.staged[path]); !s) {
                r.ok = false;
                r.what = path.string() + ": " + problemReason(s.problem());
                return r;
            }
            r.what += ' ';
            r.what += path.string();
        }
        if (platform.staged.empty()) r.what = "nothing to write";
        backedUp = context.backedUp;
        return r;
    };
    const int code = watchLoop(run, splitCommand(chain.options.then), hooks);
    if (ownFd >= 0) close(ownFd);
    return code;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const WatchHooks* hooks) {
    std::variant<Chain, int> parsed = parseCommandLine(args, out, err);
    if (const int* code = std::get_if<int>(&parsed)) return *code;
    const Chain& chain = std::get<Chain>(parsed);
    if (chain.options.watch) return watchChain(chain, out, err, hooks);
    CliPlatform platform(err);
    RunContext context{chain.options, nullptr, {}, {}, {}};
    return runChain(chain, platform, out, err, context);
}

}  // namespace velk
