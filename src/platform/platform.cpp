#include "platform/platform.h"

#include "platform/file_io.h"
#include "text/sjis.h"

namespace velk {

void Platform::messageBox(std::string_view text, std::string_view detail) {
    showMessage({std::string(text), fromCp932Escaped(text), std::string(detail)});
}

Result<std::vector<uint8_t>> Platform::readFile(const std::filesystem::path& path, size_t maxBytes) {
    return readWholeFile(path, maxBytes);
}

Status Platform::readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                                const std::function<void(std::span<const uint8_t>)>& piece) {
    return readFileInPieces(path, maxBytes, piece);
}

Status Platform::writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    return writeFileReplacing(path, bytes);
}

}  // namespace velk
