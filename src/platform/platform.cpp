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

Status Platform::makeFolder(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return {};
    std::filesystem::create_directories(path, error);
    if (!error) return {};
    Problem p = cannotRead(error.message());
    p.id = MessageId::CannotWrite;
    return p;
}

Result<std::vector<std::string>> Platform::listFolder(const std::filesystem::path& path) {
    std::error_code error;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    if (error) return cannotRead(error.message());
    return names;
}

}  // namespace velk
