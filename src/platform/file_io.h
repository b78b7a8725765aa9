// Reading and writing whole files, with the reason when it fails.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
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
    // Gives the open unnamed (O_TMPFILE) file `fd` the name `to`.
    virtual int link(int fd, const char* to);
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
// - an existing file that is not a regular file (a FIFO, a device, the pipe
//   behind /dev/stdout) is written straight through, opened by the name given;
// - otherwise a symbolic link is followed and the file it names replaced:
//   the bytes go to an unnamed temporary file (O_TMPFILE) in the target's
//   folder, are flushed to disk, get a unique name beside the target and
//   are renamed over it, so a failed or killed write leaves the old file as
//   it was and no temporary file behind. Where the file system has no
//   unnamed files, a named temporary file is written instead (a kill may
//   leave that one). The replaced file's permission bits (and owner and
//   group, where allowed) are kept.
// A target the user may not write is refused. SIGXFSZ is ignored from the
// first write on, so a file size limit fails the write with its reason.
// Problems carry the system's error text as their reason.
Status writeFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                          FileCalls& calls = systemFileCalls());

}  // namespace velk
