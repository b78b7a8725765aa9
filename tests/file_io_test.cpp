#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_io.h"
#include "test_support.h"

namespace velk {
namespace {

// The real calls, in short writes, with one step failing; the names opened
// (unnamed files aside).
struct FailingCalls : FileCalls {
    enum class Step { None, Open, Write, Fsync, Link, Close, Rename, Unnamed } failAt = Step::None;
    std::vector<std::string> opened;
    int open(const char* path, int flags, mode_t mode) override {
        if (failAt == Step::Open || (failAt == Step::Unnamed && (flags & O_TMPFILE) == O_TMPFILE))
            return errno = failAt == Step::Open ? EACCES : EOPNOTSUPP, -1;
        if ((flags & O_TMPFILE) != O_TMPFILE) opened.emplace_back(path);
        return FileCalls::open(path, flags, mode);
    }
    ssize_t write(int fd, const void* data, size_t size) override {
        return failAt == Step::Write ? (errno = ENOSPC, -1) : FileCalls::write(fd, data, size > 1 ? size / 2 : size);
    }
    int fsync(int fd) override { return failAt == Step::Fsync ? (errno = EIO, -1) : FileCalls::fsync(fd); }
    int close(int fd) override { return FileCalls::close(fd) == 0 && failAt != Step::Close ? 0 : (errno = EIO, -1); }
    int link(int fd, const char* to) override { return failAt == Step::Link ? (errno = EIO, -1) : FileCalls::link(fd, to); }
    int rename(const char* from, const char* to) override {
        return failAt == Step::Rename ? (errno = EXDEV, -1) : FileCalls::rename(from, to);
    }
};

TEST(FileWrite, EveryFailingStepKeepsTheOldFileAndLeavesNoTemporaryFile) {
    using Step = FailingCalls::Step;
    for (Step step : {Step::Open, Step::Write, Step::Fsync, Step::Close, Step::Rename}) {
        const fs::path dir = test::scratchFolder();
        test::writeBytes(dir / "keep.smc", Bytes{7, 7, 7});
        FailingCalls calls;
        calls.failAt = step;
        const Status s = writeFileReplacing(dir / "keep.smc", Bytes(4096, 1), calls);
        ASSERT_FALSE(s) << static_cast<int>(step);
        EXPECT_TRUE(s.problem().writing);
        EXPECT_FALSE(s.problem().words.empty());
        EXPECT_EQ(test::readBytes(dir / "keep.smc"), (Bytes{7, 7, 7})) << static_cast<int>(step);
        EXPECT_EQ(test::listing(dir), std::vector<std::string>{"keep.smc"}) << static_cast<int>(step);
    }
    // No unnamed files, or one that cannot be given a name (no /proc): a named one is written instead.
    for (Step step : {Step::Link, Step::Unnamed}) {
        const fs::path dir = test::scratchFolder();
        test::writeBytes(dir / "f.bin", Bytes{1});
        FailingCalls calls;
        calls.failAt = step;
        ASSERT_TRUE(writeFileReplacing(dir / "f.bin", Bytes{3, 4, 5}, calls));
        EXPECT_EQ(test::readBytes(dir / "f.bin"), (Bytes{3, 4, 5}));
        ASSERT_EQ(calls.opened.size(), 1u);
        EXPECT_EQ(fs::path(calls.opened[0]).filename().string().rfind("f.bin.velk-tmp-", 0), 0u);
        EXPECT_EQ(test::listing(dir), std::vector<std::string>{"f.bin"});
    }
}

TEST(FileWrite, SaysTheSystemsWordsKeepsPermissionsAndFollowsLinks) {
    const fs::path dir = test::scratchFolder();
    EXPECT_EQ(writeFileReplacing(dir / "no-such-folder" / "f.bin", Bytes{1}).problem().words, std::strerror(ENOENT));
    fs::create_directories(dir / "real" / "dir.bin");
    EXPECT_EQ(writeFileReplacing(dir / "real" / "dir.bin", Bytes{1}).problem().words, std::strerror(EISDIR));
    fs::remove(dir / "real" / "dir.bin");
    const fs::perms mine = fs::perms::owner_read | fs::perms::owner_write;
    test::writeBytes(dir / "real" / "game.smc", Bytes{1});
    fs::permissions(dir / "real" / "game.smc", mine);
    fs::create_symlink("real/game.smc", dir / "link.smc");
    ASSERT_TRUE(writeFileReplacing(dir / "link.smc", Bytes{5, 6}));
    EXPECT_TRUE(fs::is_symlink(dir / "link.smc"));
    EXPECT_EQ(fs::status(dir / "real" / "game.smc").permissions() & fs::perms::all, mine);
    EXPECT_EQ(test::readBytes(dir / "real" / "game.smc"), (Bytes{5, 6}));
    EXPECT_EQ(test::listing(dir / "real"), std::vector<std::string>{"game.smc"});
}

// A target its user may not write is refused with the system's words, and
// it and its folder stay as they were; a writable one beside it is written.
// Root may write anything, so the writes run in a child that gives root up.
TEST(FileWrite, ATargetTheUserMayNotWriteIsLeftAsItWas) {
    const fs::path dir = test::scratchFolder(), mine = dir / "mine", theirs = dir / "theirs";
    fs::create_directories(mine);
    fs::create_directories(theirs);
    fs::permissions(theirs, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    test::writeBytes(mine / "ro.smc", Bytes{1});
    test::writeBytes(mine / "rw.smc", Bytes{1});
    fs::permissions(mine / "ro.smc", fs::perms::owner_read | fs::perms::others_read);
    const bool root = ::geteuid() == 0;
    for (const fs::path& p : {mine, mine / "ro.smc", mine / "rw.smc"}) ASSERT_TRUE(!root || ::chown(p.c_str(), 65534, 65534) == 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
        const Status readOnly = writeFileReplacing(mine / "ro.smc", Bytes{2});
        const Status newFile = writeFileReplacing(theirs / "new.smc", Bytes{2});
        const Status writable = writeFileReplacing(mine / "rw.smc", Bytes{2});
        const bool words = !readOnly && readOnly.problem().words == std::strerror(EACCES);
        ::_exit((readOnly ? 1 : 0) | (newFile ? 2 : 0) | (writable ? 0 : 4) | (words ? 0 : 8));
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WEXITSTATUS(status) == 99) GTEST_SKIP() << "cannot give root up";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(test::readBytes(mine / "ro.smc"), Bytes{1});
    EXPECT_EQ(test::readBytes(mine / "rw.smc"), Bytes{2});
    EXPECT_EQ(test::listing(mine), (std::vector<std::string>{"ro.smc", "rw.smc"}));
    EXPECT_TRUE(test::listing(theirs).empty());
}

TEST(FileRead, WholeOrInPiecesReadsUpToTheCapAndSaysWhyItCannot) {
    const fs::path dir = test::scratchFolder();
    EXPECT_EQ(readWholeFile(dir / "missing.bin").problem().words, std::strerror(ENOENT));
    EXPECT_FALSE(readWholeFile(dir));
    Bytes big((1u << 18) * 2 + 5);  // two whole read buffers and a few bytes more
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7 + i / 251);
    test::writeBytes(dir / "big.bin", big);
    for (const size_t cap : {big.size() + 1, big.size(), size_t{1} << 18, size_t{3}}) {
        Bytes got;
        size_t pieces = 0;
        ASSERT_TRUE(readFileInPieces(dir / "big.bin", cap, [&](std::span<const uint8_t> p) {
            got.insert(got.end(), p.begin(), p.end());
            ++pieces;
        }));
        EXPECT_EQ(got, Bytes(big.begin(), big.begin() + static_cast<std::ptrdiff_t>(std::min(cap, big.size()))));
        EXPECT_EQ(pieces, std::min(cap, big.size()) / (1u << 18) + (std::min(cap, big.size()) % (1u << 18) ? 1 : 0));
        EXPECT_EQ(*readWholeFile(dir / "big.bin", cap), got);
    }
    EXPECT_EQ(readFileInPieces(dir / "missing.bin", 10, [](std::span<const uint8_t>) { FAIL(); }).problem().words,
              std::strerror(ENOENT));
    EXPECT_FALSE(readFileInPieces(dir, 10, [](std::span<const uint8_t>) {}));
}

}  // namespace
}  // namespace velk
