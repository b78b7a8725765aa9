// velk's command line: [-h|--help] [-V|--version] [ROM | PROJECT_DIR].
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace velk {

struct WindowArguments {
    std::optional<std::filesystem::path> rom;
    std::optional<std::filesystem::path> project;  // a folder given instead of a ROM
    std::optional<int> exitNow;  // --help, --version or a usage error: the exit code
};

// Parses the arguments after the program name; prints the help, the version
// or the usage error itself.
WindowArguments parseWindowArguments(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velk
