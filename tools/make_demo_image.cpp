// velk-demo OUT.smc [SEED]: writes the demo image.
// velk-demo --script DIR: writes the example change script and its files.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_image.h"
#include "demo_script.h"

namespace {

constexpr const char* kUsage =
    "usage: velk-demo [--] OUT.smc [SEED]\n"
    "       velk-demo --script [--] DIR\n"
    "Writes the 4 MiB demo image made from SEED (a number, default 0x%llX) to OUT.smc,\n"
    "or the example change script with every section and its files into DIR.\n"
    "  -h, --help   print this help and exit\n"
    "A name that begins with '-' is a usage error unless it stands after --.\n"
    "exit status: 0 when written, 1 when a file cannot be written, 2 for a usage error\n";

int usage(std::FILE* to, int status) {
    std::fprintf(to, kUsage, static_cast<unsigned long long>(velk::kDemoSeed));
    return status;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0) return false;
    if (!ok) std::fprintf(stderr, "velk-demo: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    bool script = false, afterDashes = false;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (afterDashes || arg.empty() || arg[0] != '-') {
            words.push_back(arg);
        } else if (arg == "--") {
            afterDashes = true;
        } else if (arg == "-h" || arg == "--help") {
            return usage(stdout, 0);
        } else if (arg == "--script" && words.empty()) {
            script = true;
        } else {
            std::fprintf(stderr, "velk-demo: '%s' looks like an option, and is none (write -- before a name that begins with '-')\n",
                         arg.c_str());
            return usage(stderr, 2);
        }
    }
    if (script) {
        if (words.size() != 1) return usage(stderr, 2);
        std::error_code ec;
        std::filesystem::create_directories(words[0], ec);
        for (const velk::DemoScriptFile& file : velk::makeDemoScript())
            if (!writeFile((std::filesystem::path(words[0]) / file.name).string(), file.bytes)) return 1;
        return 0;
    }
    if (words.empty() || words.size() > 2) return usage(stderr, 2);
    uint64_t seed = velk::kDemoSeed;
    if (words.size() == 2) {
        char* end = nullptr;
        seed = std::strtoull(words[1].c_str(), &end, 0);
        if (words[1].empty() || *end) {
            std::fprintf(stderr, "velk-demo: SEED '%s' is not a number\n", words[1].c_str());
            return 2;
        }
    }
    return writeFile(words[0], velk::makeDemoImage(seed)) ? 0 : 1;
}
