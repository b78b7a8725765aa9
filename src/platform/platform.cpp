#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace velk {

std::optional<std::vector<uint8_t>> Platform::readFile(const std::filesystem::path& path, size_t maxBytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::vector<uint8_t> bytes;
    constexpr size_t kChunk = 1 << 20;
    bool failed = false;
    while (bytes.size() < maxBytes) {
        const size_t old = bytes.size();
        bytes.resize(old + std::min(kChunk, maxBytes - old));
        const size_t got = std::fread(bytes.data() + old, 1, bytes.size() - old, f);
        bytes.resize(old + got);
        if (got == 0) {
            failed = std::ferror(f) != 0;
            break;
        }
    }
    std::fclose(f);
    if (failed) return std::nullopt;
    return bytes;
}

bool Platform::writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::filesystem::path temp = path;
    temp += ".velk-tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok) std::filesystem::rename(temp, path, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace velk
