// velk-demo OUT.smc [SEED]: writes the demo image.
// velk-demo --script DIR: writes the example change script and its files.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "demo_image.h"
#include "demo_script.h"

namespace {

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0) return false;
    if (!ok) std::fprintf(stderr, "velk-demo: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--script") {
        std::error_code ec;
        std::filesystem::create_directories(argv[2], ec);
        for (const velk::DemoScriptFile& file : velk::makeDemoScript())
            if (!writeFile((std::filesystem::path(argv[2]) / file.name).string(), file.bytes)) return 1;
        return 0;
    }
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: velk-demo OUT.smc [SEED]\n       velk-demo --script DIR\n");
        return 2;
    }
    const uint64_t seed = argc == 3 ? std::strtoull(argv[2], nullptr, 0) : velk::kDemoSeed;
    return writeFile(argv[1], velk::makeDemoImage(seed)) ? 0 : 1;
}
