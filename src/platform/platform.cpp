#include "platform/platform.h"

#include "platform/file_io.h"

namespace velk {

Result<std::vector<uint8_t>> Platform::readFile(const std::filesystem::path& path, size_t maxBytes) {
    return readWholeFile(path, maxBytes);
}

Status Platform::writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    return writeFileReplacing(path, bytes);
}

}  // namespace velk
