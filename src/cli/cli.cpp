#include "cli/cli.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <numeric>

#include "image/version.h"
#include "ops/operations.h"
#include "ops/png_ops.h"
#include "ops/run_operation.h"
#include "cli/cli_platform.h"


namespace velk {
namespace {

struct Verb {
    const char* name;
    const char* argument;  // nullptr: takes none; otherwise what the argument answers
    const char* help;
    std::function<Outcome(EditorState&, Platform&, std::ostream&)> run;
};

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

std::function<Outcome(EditorState&, Platform&, std::ostream&)> operation(Operation run) {
    return [run](EditorState& s, Platform& p, std::ostream&) { return runOperation(s, p, run); };
}

// What an outcome has to say on the error stream: its warnings, then its problem.
void printOutcome(const Outcome& outcome, Platform& platform, std::ostream& err) {
    for (const std::string& line : outcome.warnings) err << line << '\n';
    if (outcome.problem) platform.showMessage(*outcome.problem);
}

const std::vector<Verb>& verbs() {
    static const std::vector<Verb> all = {
        {"info", nullptr, "print what the image holds",
         [](EditorState& s, Platform&, std::ostream& out) {
             printInfo(s, out);
             return doneOutcome({});
         }},
        {"save", "OUT.smc", "lay every resource out again and write the 4 MiB image", operation(saveRomOperation)},
        {"patch", "OUT.ips|OUT.bps", "lay out as save does, and write a patch from the ROM as loaded instead",
         operation(saveRomOperation)},
        {"extract-faces", "OUT.fig", "write the faces, their palettes and side file", operation(extractFacesOperation)},
        {"write-faces", "IN.fig", "read the faces and their palettes back", operation(writeFacesOperation)},
        {"export-face-bmp", "OUT.bmp", "write all faces as one bitmap", operation(exportFacePictureOperation)},
        {"extract-units", "OUT.fig", "write the unit graphics, palette and side file", operation(extractUnitsOperation)},
        {"write-units", "IN.fig", "read the unit graphics back", operation(writeUnitsOperation)},
        {"export-faces-png", "DIR", "write each face as DIR/face-000.png ... face-156.png", operation(exportFacesPng)},
        {"import-faces-png", "DIR", "read the faces (and 128-colour palettes) back from DIR", operation(importFacesPng)},
        {"export-units-png", "OUT.png", "write all unit graphics tiles as one indexed PNG sheet", operation(exportUnitsPng)},
        {"import-units-png", "IN.png", "read the unit graphics back from the PNG sheet", operation(importUnitsPng)},
        {"export-names", "OUT.txt", "write the name list file", operation(exportNamesOperation)},
        {"import-names", "IN.txt", "read names from a name list file", operation(importNamesOperation)},
        {"export-texts", "OUT.txt", "write the text collection file", operation(exportTextsOperation)},
        {"import-texts", "IN.txt", "read texts from a text collection file", operation(importTextsOperation)},
        {"apply-script", "IN.txt", "apply a change script; the files it names are found in its folder or below it",
         operation(applyChangeScriptOperation)},
    };
    return all;
}

void printUsage(std::ostream& os) {
    auto row = [&os](const std::string& left, const char* right) {
        os << "  " << left << std::string(left.size() < 26 ? 26 - left.size() : 1, ' ') << right << "\n";
    };
    os << "usage: velk-cli [OPTION]... ROM VERB [ARG] [VERB [ARG]...]\n"
          "Loads ROM, then applies the verbs in order to the one image in memory.\n"
          "options (before ROM):\n";
    row("-k, --keep-going", "after a verb reports a problem, go on with the next verb");
    row("--strict", "treat a warning as a problem once its verb has run");
    row("--utf8", "name lists, text collections and change scripts are UTF-8 files");
    row("--keep-checksum", "leave the cartridge checksum as the image holds it when saving");
    row("--script-files-anywhere", "let change scripts name files outside their own folder");
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

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool keepGoing = false;
    bool strict = false;
    bool utf8 = false;
    bool keepChecksum = false;
    bool scriptFilesAnywhere = false;
    size_t first = 0;
    for (; first < args.size() && args[first].size() > 1 && args[first][0] == '-'; ++first) {
        const std::string& option = args[first];
        if (option == "-k" || option == "--keep-going") {
            keepGoing = true;
        } else if (option == "--strict") {
            strict = true;
        } else if (option == "--utf8") {
            utf8 = true;
        } else if (option == "--keep-checksum") {
            keepChecksum = true;
        } else if (option == "--script-files-anywhere") {
            scriptFilesAnywhere = true;
        } else if (option == "-h" || option == "--help") {
            printUsage(out);
            return 0;
        } else if (option == "-V" || option == "--version") {
            out << kVersionText << "\n";
            return 0;
        } else if (option == "--") {
            ++first;
            break;
        } else {
            err << "velk-cli: unknown option '" << option << "'\n";
            printUsage(err);
            return 2;
        }
    }
    // Check the whole command line before touching any file.
    struct Step {
        const Verb* verb;
        std::string argument;
    };
    std::vector<Step> steps;
    if (args.size() < first + 2) {
        printUsage(err);
        return 2;
    }
    const std::string& rom = args[first];
    for (size_t i = first + 1; i < args.size(); ++i) {
        const Verb* verb = findVerb(args[i]);
        if (!verb) {
            err << "velk-cli: unknown verb '" << args[i] << "'";
            if (const Verb* close = closestVerb(args[i])) err << " (did you mean " << close->name << "?)";
            err << "\n";
            printUsage(err);
            return 2;
        }
        Step step{verb, {}};
        if (verb->argument) {
            if (i + 1 >= args.size()) {
                err << "velk-cli: '" << verb->name << "' needs " << verb->argument << "\n";
                return 2;
            }
            step.argument = args[++i];
        }
        if (std::string(verb->name) == "patch" && patchKindOf(step.argument) == PatchKind::None) {
            err << "velk-cli: 'patch' writes OUT.ips or OUT.bps, not '" << step.argument << "'\n";
            return 2;
        }
        steps.push_back(std::move(step));
    }

    CliPlatform platform(err);
    platform.setUtf8Files(utf8);
    EditorState state;
    platform.answerNextDialog(rom);
    state.keepChecksum = keepChecksum;
    const Outcome opened = runOperation(state, platform, openRomAtStart);
    printOutcome(opened, platform, err);
    if (!opened.done()) return 1;
    state.keepChecksum = keepChecksum;
    state.scriptFilesAnywhere = scriptFilesAnywhere;
    if (!state.copierHeader.empty()) err << "ROM: 512-byte copier header, kept on save\n";
    bool failed = false;
    for (const Step& step : steps) {
        if (step.verb->argument) platform.answerNextDialog(step.argument);
        const Outcome outcome = step.verb->run(state, platform, out);
        printOutcome(outcome, platform, err);
        if (!outcome.done() || (strict && !outcome.warnings.empty())) {
            failed = true;
            if (!keepGoing) return 1;
        }
        platform.dropUnusedAnswers();
    }
    return failed ? 1 : 0;
}

}  // namespace velk
