#include "platform/disk_platform.h"

#include <sys/stat.h>

#include "platform/file_io.h"

namespace velk {

DiskPlatform::DiskPlatform() : calls_(systemFileCalls()) {}

Result<std::vector<uint8_t>> DiskPlatform::readFile(const std::filesystem::path& path, size_t maxBytes) {
    return readWholeFile(path, maxBytes);
}

Status DiskPlatform::readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                                    const std::function<void(std::span<const uint8_t>)>& piece) {
    return readFileInPieces(path, maxBytes, piece);
}

Status DiskPlatform::writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    return writeFileReplacing(path, bytes, calls_);
}

std::optional<FileIdentity> DiskPlatform::fileIdentity(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                        static_cast<uint64_t>(st.st_size),
                        static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                        S_ISREG(st.st_mode)   ? FileIdentity::Kind::Regular
                        : S_ISDIR(st.st_mode) ? FileIdentity::Kind::Folder
                                              : FileIdentity::Kind::Other};
}

Status DiskPlatform::removeFile(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    if (!error) return {};
    return systemError(error.message(), true);
}

std::filesystem::path DiskPlatform::resolvedPath(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
    return error ? std::filesystem::absolute(path).lexically_normal() : resolved;
}

Status DiskPlatform::makeFolder(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return {};
    std::filesystem::create_directories(path, error);
    if (!error) return {};
    return systemError(error.message(), true);
}

Result<std::vector<std::string>> DiskPlatform::listFolder(const std::filesystem::path& path) {
    std::error_code error;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    if (error) return systemError(error.message());
    return names;
}

}  // namespace velk
