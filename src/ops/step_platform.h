// A platform for one step of a larger operation: text files read and written as UTF-8, every file it reads
// recorded, and (when capturing) its writes kept in memory instead of
// reaching the disk. Everything else goes to the platform it wraps.
#pragma once

#include <map>
#include <mutex>

#include "ops/script_file_checks.h"
#include "platform/forwarding_platform.h"

namespace velk {

class StepPlatform : public ForwardingPlatform {
public:
    explicit StepPlatform(Platform& inner, bool capture = false) : ForwardingPlatform(inner), capture_(capture) {}

    bool utf8Files() const override { return true; }
    // Only regular files are read: a FIFO or a device named in a project
    // would never end.
    Result<std::vector<uint8_t>> readFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX) override {
        noteRead(path);
        if (Status s = checkRegularFile(inner_.fileIdentity(path)); !s) return std::move(s.problem());
        return inner_.readFile(path, maxBytes);
    }
    Status readFilePieces(const std::filesystem::path& path, size_t maxBytes,
                          const std::function<void(std::span<const uint8_t>)>& piece) override {
        noteRead(path);
        if (Status s = checkRegularFile(inner_.fileIdentity(path)); !s) return s;
        return inner_.readFilePieces(path, maxBytes, piece);
    }
    // Several files may be written at once from different threads.
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override {
        if (!capture_) return inner_.writeFile(path, bytes);
        const std::lock_guard lock(mutex_);
        written[path].assign(bytes.begin(), bytes.end());
        return {};
    }
    Status removeFile(const std::filesystem::path& path) override {
        if (!capture_) return inner_.removeFile(path);
        const std::lock_guard lock(mutex_);
        written.erase(path);
        return {};
    }
    // A capturing step makes no folders: its files go nowhere yet.
    Status makeFolder(const std::filesystem::path& path) override { return capture_ ? Status{} : inner_.makeFolder(path); }

    std::map<std::filesystem::path, std::vector<uint8_t>> written;  // when capturing
    std::vector<std::filesystem::path> read;                        // every file read

private:
    void noteRead(const std::filesystem::path& path) {
        const std::lock_guard lock(mutex_);
        read.push_back(path);
    }
    bool capture_;
    std::mutex mutex_;
};

}  // namespace velk
