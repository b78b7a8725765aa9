// velk-demo OUT [SEED]: writes the demo image.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo_image.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: velk-demo OUT.smc [SEED]\n");
        return 2;
    }
    const uint64_t seed = argc == 3 ? std::strtoull(argv[2], nullptr, 0) : velk::kDemoSeed;
    const std::vector<uint8_t> image = velk::makeDemoImage(seed);
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(image.data(), 1, image.size(), f) != image.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "velk-demo: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
