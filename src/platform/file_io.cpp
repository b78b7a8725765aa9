#include "platform/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace velk {
namespace {

// The last system call's failure, in the system's words.
Problem readProblem() { return systemError(std::strerror(errno)); }
Problem writeProblem() { return systemError(std::strerror(errno), true); }

// Where the bytes really go: the file a chain of links names.
std::filesystem::path resolveLinks(const std::filesystem::path& path) {
    std::filesystem::path p = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec)); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p;
}

bool writeAll(FileCalls& calls, int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = calls.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

Status writeThrough(const std::filesystem::path& target, std::span<const uint8_t> bytes, FileCalls& calls) {
    const int fd = calls.open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC, 0);
    if (fd < 0) return writeProblem();
    const bool ok = writeAll(calls, fd, bytes);
    const int saved = errno;
    if (calls.close(fd) != 0 && ok) return writeProblem();
    errno = saved;
    if (!ok) return writeProblem();
    return {};
}

// A write past the file size limit (ulimit -f) fails with EFBIG instead of
// killing the process, so that the temporary file is removed and the reason
// shown.
void ignoreFileSizeSignal() {
    static const bool once = [] {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        return ::sigaction(SIGXFSZ, &ignore, nullptr) == 0;
    }();
    (void)once;
}

// Whether an O_TMPFILE open failed because the file system (or kernel) has
// no unnamed files, rather than for a reason a named file would share.
bool lacksUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOENT; }

std::filesystem::path temporaryNameFor(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = target;
    temp += ".velk-tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    return temp;
}

}  // namespace

int FileCalls::open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileCalls::write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int FileCalls::fsync(int fd) { return ::fsync(fd); }
int FileCalls::close(int fd) { return ::close(fd); }
int FileCalls::link(int fd, const char* to) {
    // Through /proc, which needs no privilege; AT_EMPTY_PATH where /proc is missing.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const int rc = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to, AT_SYMLINK_FOLLOW);
    if (rc == 0 || errno != ENOENT) return rc;
    return ::linkat(fd, "", AT_FDCWD, to, AT_EMPTY_PATH);
}
int FileCalls::rename(const char* from, const char* to) { return ::rename(from, to); }
int FileCalls::unlink(const char* path) { return ::unlink(path); }

FileCalls& systemFileCalls() {
    static FileCalls calls;
    return calls;
}

namespace {

// The file open for reading, or -1 with errno set (a folder is EISDIR).
int openForReading(const std::filesystem::path& path, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

}  // namespace

Status readFileInPieces(const std::filesystem::path& path, size_t maxBytes,
                        const std::function<void(std::span<const uint8_t>)>& piece) {
    struct stat st {};
    const int fd = openForReading(path, st);
    if (fd < 0) return readProblem();
    std::vector<uint8_t> buffer(std::min<size_t>(maxBytes, size_t{1} << 18));
    for (size_t done = 0; done < maxBytes;) {
        const ssize_t got = ::read(fd, buffer.data(), std::min(buffer.size(), maxBytes - done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return readProblem();
        }
        if (got == 0) break;
        piece(std::span<const uint8_t>(buffer.data(), static_cast<size_t>(got)));
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    return {};
}

Result<std::vector<uint8_t>> readWholeFile(const std::filesystem::path& path, size_t maxBytes) {
    struct stat st {};
    const int fd = openForReading(path, st);
    if (fd < 0) return readProblem();
    std::vector<uint8_t> bytes;
    // One byte more than the file holds, so that finding its end needs no
    // second, larger buffer.
    if (S_ISREG(st.st_mode)) bytes.reserve(std::min(static_cast<size_t>(st.st_size) + 1, maxBytes));
    constexpr size_t kChunk = 1 << 20;
    while (bytes.size() < maxBytes) {
        const size_t old = bytes.size();
        size_t want = std::min(kChunk, maxBytes - old);
        if (bytes.capacity() > old) want = std::min(want, bytes.capacity() - old);  // no larger buffer while it fits
        bytes.resize(old + want);
        const ssize_t got = ::read(fd, bytes.data() + old, want);
        if (got < 0 && errno == EINTR) {
            bytes.resize(old);
            continue;
        }
        if (got < 0) {
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return readProblem();
        }
        bytes.resize(old + static_cast<size_t>(got));
        if (got == 0) break;
    }
    ::close(fd);
    return bytes;
}


Status writeFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes, FileCalls& calls) {
    ignoreFileSizeSignal();
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return writeProblem();
    }
    // A FIFO, a device or a pipe behind /dev/stdout: by the name given, as a
    // /proc link may resolve to a name ("pipe:[123]") that opens nothing.
    if (exists && !S_ISREG(st.st_mode)) return writeThrough(path, bytes, calls);
    const std::filesystem::path target = resolveLinks(path);
    if (exists && ::access(target.c_str(), W_OK) != 0) return writeProblem();

    // The bytes go to an unnamed file in the target's folder, which a crash
    // cannot leave behind; it gets a name only once it is whole, and that
    // name is renamed over the target at once. Where the file system has no
    // unnamed files, or one cannot be given a name (no /proc to name it
    // through), a named temporary file takes its place.
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const std::filesystem::path temp = temporaryNameFor(target);
    for (bool unnamed : {true, false}) {
        int fd = unnamed ? calls.open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
        if (unnamed && fd < 0) {
            if (lacksUnnamedFiles(errno)) continue;
            return writeProblem();
        }
        if (!unnamed) fd = calls.open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return writeProblem();
        if (exists) {
            (void)::fchmod(fd, st.st_mode & 07777);
            if (::fchown(fd, st.st_uid, st.st_gid) != 0) (void)::fchmod(fd, st.st_mode & 0777);
        }
        bool ok = writeAll(calls, fd, bytes) && calls.fsync(fd) == 0;
        int saved = errno;
        bool named = !unnamed;
        if (ok && unnamed) {
            named = calls.link(fd, temp.c_str()) == 0;
            if (!named) {
                calls.close(fd);
                continue;  // whole, but it cannot be given a name: write a named file instead
            }
        }
        if (calls.close(fd) != 0 && ok) {
            ok = false;
            saved = errno;
        }
        if (ok && calls.rename(temp.c_str(), target.c_str()) != 0) {
            ok = false;
            saved = errno;
        }
        if (!ok) {
            if (named) calls.unlink(temp.c_str());
            errno = saved;
            return writeProblem();
        }
        return {};
    }
    return writeProblem();
}

}  // namespace velk
