// Reading and writing whole files, with the reason when it fails.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <vector>

#include "image/result.h"

namespace velk {

// The system calls the write path makes, so that a test can make any of them
// fail. Each returns what the system call returns and sets errno.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
};

FileCalls& systemFileCalls();

// At most maxBytes from the start of the file. A problem whose reason is the
// system's error text when it cannot be opened or read.
Result<std::vector<uint8_t>> readWholeFile(const std::filesystem::path& path, size_t maxBytes = SIZE_MAX);
// The same, handed to `piece` in order a piece at a time, so that a large
// file need not be held whole.
Status readFileInPieces(const std::filesystem::path& path, size_t maxBytes,
                        const std::function<void(std::span<const uint8_t>)>& piece);

// Writes the bytes to `path`:
// - a symbolic link is followed, and the file it names is replaced;
// - an existing file that is not a regular file (a FIFO, a device) is
//   written straight through;
// - otherwise the bytes go to a temporary file of a unique name in the
//   target's folder, are flushed to disk, and the temporary file is renamed
//   over the target only then, so a failed write leaves the old file as it
//   was and no temporary file behind. The replaced file's permission bits
//   (and owner and group, where allowed) are kept.
// A target the user may not write is refused. Problems carry the system's
// error text as their reason.
Status writeFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                          FileCalls& calls = systemFileCalls());

}  // namespace velk
