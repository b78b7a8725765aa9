// A platform that hands every call to another one: the base of the wrappers
// that change one or two of its answers (the steps of a project build, the
// guard that keeps exports off the loaded ROM).
#pragma once

#include "platform/platform.h"

namespace velk {

class ForwardingPlatform : public Platform {
public:
    explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

    bool utf8Files() const override { return inner_.utf8Files(); }
    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) override {
        return inner_.readFile(path, maxBytes);
    }
    Status readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                          const std::function<void(std::span<const uint8_t>)>& piece) override {
        return inner_.readFilePieces(path, maxBytes, piece);
    }
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override {
        return inner_.writeFile(path, bytes);
    }
    std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) override {
        return inner_.fileIdentity(path);
    }
    std::filesystem::path resolvedPath(const std::filesystem::path& path) override { return inner_.resolvedPath(path); }
    Status removeFile(const std::filesystem::path& path) override { return inner_.removeFile(path); }
    Status makeFolder(const std::filesystem::path& path) override { return inner_.makeFolder(path); }
    Result<std::vector<std::string>> listFolder(const std::filesystem::path& path) override {
        return inner_.listFolder(path);
    }

protected:
    Platform& inner_;
};

}  // namespace velk
