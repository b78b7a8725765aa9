// The file calls of a Platform on the real disk, for the window and the
// command line: reads, piecewise reads, safe replacing writes and a file's
// identity. Dialogs and messages are left to the front end.
#pragma once

#include "platform/platform.h"

namespace velk {

class FileCalls;

class DiskPlatform : public Platform {
public:
    // Writes go through `calls` (a test's faults; the system's otherwise).
    DiskPlatform();
    explicit DiskPlatform(FileCalls& calls) : calls_(calls) {}

    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) override;
    Status readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                          const std::function<void(std::span<const uint8_t>)>& piece) override;
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override;
    std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) override;
    std::filesystem::path resolvedPath(const std::filesystem::path& path) override;
    Status removeFile(const std::filesystem::path& path) override;
    Status makeFolder(const std::filesystem::path& path) override;
    Result<std::vector<std::string>> listFolder(const std::filesystem::path& path) override;

private:
    FileCalls& calls_;
};

}  // namespace velk
