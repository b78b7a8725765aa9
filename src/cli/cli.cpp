#include "cli/cli.h"

#include <functional>
#include <numeric>

#include "ops/operations.h"
#include "platform/cli_platform.h"


namespace velk {
namespace {

struct Verb {
    const char* name;
    const char* argument;  // nullptr: takes none; otherwise what the argument answers
    const char* help;
    std::function<void(EditorState&, Platform&, std::ostream&)> run;
};

int64_t packedBytes(ConstCatalogue catalog) {
    return std::accumulate(catalog.begin(), catalog.end(), int64_t{0},
                           [](int64_t sum, const ResourceEntry& e) { return sum + e.packedLength; });
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

std::function<void(EditorState&, Platform&, std::ostream&)> operation(void (*run)(EditorState&, Platform&)) {
    return [run](EditorState& s, Platform& p, std::ostream&) { run(s, p); };
}

const std::vector<Verb>& verbs() {
    static const std::vector<Verb> all = {
        {"info", nullptr, "print what the image holds",
         [](EditorState& s, Platform&, std::ostream& out) { printInfo(s, out); }},
        {"save", "OUT.smc", "lay every resource out again and write the 4 MiB image", operation(saveRomOperation)},
        {"extract-faces", "OUT.fig", "write the faces, their palettes and side file", operation(extractFacesOperation)},
        {"write-faces", "IN.fig", "read the faces and their palettes back", operation(writeFacesOperation)},
        {"export-face-bmp", "OUT.bmp", "write all faces as one bitmap", operation(exportFacePictureOperation)},
        {"extract-units", "OUT.fig", "write the unit graphics, palette and side file", operation(extractUnitsOperation)},
        {"write-units", "IN.fig", "read the unit graphics back", operation(writeUnitsOperation)},
        {"export-names", "OUT.txt", "write the name list file", operation(exportNamesOperation)},
        {"import-names", "IN.txt", "read names from a name list file", operation(importNamesOperation)},
        {"export-texts", "OUT.txt", "write the text collection file", operation(exportTextsOperation)},
        {"import-texts", "IN.txt", "read texts from a text collection file", operation(importTextsOperation)},
    };
    return all;
}

void printUsage(std::ostream& err) {
    err << "usage: velk-cli ROM VERB [ARG] [VERB [ARG]...]\n"
           "Loads ROM, then applies the verbs in order to the one image in memory.\n"
           "verbs:\n";
    for (const Verb& v : verbs())
        err << "  " << v.name << (v.argument ? std::string(" ") + v.argument : "") << "\t" << v.help << "\n";
}

const Verb* findVerb(const std::string& name) {
    for (const Verb& v : verbs())
        if (name == v.name) return &v;
    return nullptr;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // Check the whole command line before touching any file.
    struct Step {
        const Verb* verb;
        std::string argument;
    };
    std::vector<Step> steps;
    if (args.size() < 2) {
        printUsage(err);
        return 2;
    }
    for (size_t i = 1; i < args.size(); ++i) {
        const Verb* verb = findVerb(args[i]);
        if (!verb) {
            err << "velk-cli: unknown verb '" << args[i] << "'\n";
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
        steps.push_back(std::move(step));
    }

    CliPlatform platform(err);
    EditorState state;
    platform.answerNextDialog(args[0]);
    if (!openRomAtStart(state, platform) || platform.messagesShown() > 0) return 1;
    for (const Step& step : steps) {
        if (step.verb->argument) platform.answerNextDialog(step.argument);
        step.verb->run(state, platform, out);
        if (platform.messagesShown() > 0) return 1;
    }
    return 0;
}

}  // namespace velk
