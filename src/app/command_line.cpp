#include "app/command_line.h"

#include "image/version.h"

namespace velk {
namespace {

void printUsage(std::ostream& os) {
    os << "usage: velk [OPTION]... [ROM | PROJECT_DIR]\n"
          "Opens the editor's window on ROM, or on the project in PROJECT_DIR (asking for its\n"
          "base ROM the first time), or asks for a ROM.\n"
          "options:\n"
          "  -h, --help                print this help and exit\n"
          "  -V, --version             print the version and exit\n";
}

}  // namespace

WindowArguments parseWindowArguments(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    WindowArguments parsed;
    bool options = true;
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "-h" || arg == "--help")) {
            printUsage(out);
            parsed.exitNow = 0;
            return parsed;
        } else if (options && (arg == "-V" || arg == "--version")) {
            out << kVersionText << "\n" << kLicenceText << "\n";
            parsed.exitNow = 0;
            return parsed;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            err << "velk: unknown option '" << arg << "'\n";
            printUsage(err);
            parsed.exitNow = 2;
            return parsed;
        } else if (parsed.rom || parsed.project) {
            err << "velk: one ROM at a time\n";
            printUsage(err);
            parsed.exitNow = 2;
            return parsed;
        } else {
            std::error_code ec;
            (std::filesystem::is_directory(arg, ec) ? parsed.project : parsed.rom) = arg;
        }
    }
    return parsed;
}

}  // namespace velk
