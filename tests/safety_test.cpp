// Writes that a crash, a size limit or an odd target cannot turn into a
// lost or half-written file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ops/operations.h"
#include "patch/bps.h"
#include "patch/ips.h"
#include "platform/file_io.h"
#include "scripted_platform.h"
#include "test_support.h"

namespace velk {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

std::vector<std::string> listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A file system without unnamed files: O_TMPFILE is refused as such.
struct NoUnnamedFiles : FileCalls {
    std::vector<std::string> opened;
    int open(const char* path, int flags, mode_t mode) override {
        if ((flags & O_TMPFILE) == O_TMPFILE) return errno = EOPNOTSUPP, -1;
        opened.emplace_back(path);
        return FileCalls::open(path, flags, mode);
    }
};

TEST(SafeWrite, FallsBackToANamedTemporaryFileWhereUnnamedOnesAreMissing) {
    const fs::path dir = test::scratchFolder();
    test::writeBytes(dir / "a.smc", Bytes{1});
    NoUnnamedFiles calls;
    ASSERT_TRUE(writeFileReplacing(dir / "a.smc", Bytes{4, 5, 6}, calls));
    EXPECT_EQ(test::readBytes(dir / "a.smc"), (Bytes{4, 5, 6}));
    ASSERT_EQ(calls.opened.size(), 1u);
    EXPECT_EQ(fs::path(calls.opened[0]).filename().string().rfind("a.smc.velk-tmp-", 0), 0u);
    EXPECT_EQ(listing(dir), std::vector<std::string>{"a.smc"});
}

// A size limit fails the write with its reason instead of killing the
// process, and leaves the old file and nothing else. An exact fit passes.
TEST(SafeWrite, AFileSizeLimitFailsTheWriteAndLeavesNoTemporaryFile) {
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    if (old.rlim_max != RLIM_INFINITY && old.rlim_max < 4096) GTEST_SKIP() << "size limit already below the test's";
    const fs::path dir = test::scratchFolder();
    test::writeBytes(dir / "keep.smc", Bytes{7, 7});
    struct rlimit limited = old;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Status fits = writeFileReplacing(dir / "fits.smc", Bytes(4096, 1));
    const Status tooLarge = writeFileReplacing(dir / "keep.smc", Bytes(4097, 1));
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
    EXPECT_TRUE(fits);
    ASSERT_FALSE(tooLarge);
    EXPECT_EQ(tooLarge.problem().reason, std::strerror(EFBIG));
    EXPECT_EQ(test::readBytes(dir / "keep.smc"), (Bytes{7, 7}));
    EXPECT_EQ(listing(dir), (std::vector<std::string>{"fits.smc", "keep.smc"}));
}

// /dev/stdout on a pipe is a /proc link to "pipe:[N]", a name that opens
// nothing: the target is opened by the name given.
TEST(SafeWrite, AnOpenPipeNamedThroughProcIsWrittenThrough) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string name = "/proc/self/fd/" + std::to_string(ends[1]);
    const Status s = writeFileReplacing(name, Bytes{'o', 'k'});
    ::close(ends[1]);
    char got[4] = {};
    const ssize_t n = ::read(ends[0], got, sizeof got);
    ::close(ends[0]);
    ASSERT_TRUE(s) << s.problem().reason;
    EXPECT_EQ(std::string(got, static_cast<size_t>(std::max<ssize_t>(n, 0))), "ok");
}

TEST(SafeWrite, FileIdsTellTheSameFileUnderAnyName) {
    const fs::path dir = test::scratchFolder();
    test::writeBytes(dir / "rom.smc", Bytes{1});
    test::writeBytes(dir / "other.smc", Bytes{1});
    fs::create_symlink("rom.smc", dir / "hack.ips");
    fs::create_hard_link(dir / "rom.smc", dir / "hard.bps");
    EXPECT_EQ(fileIdOf(dir / "hack.ips"), fileIdOf(dir / "rom.smc"));
    EXPECT_EQ(fileIdOf(dir / "hard.bps"), fileIdOf(dir / "rom.smc"));
    EXPECT_NE(fileIdOf(dir / "other.smc"), fileIdOf(dir / "rom.smc"));
    EXPECT_FALSE(fileIdOf(dir / "missing.smc"));
}

// Patches read defensively: each refusal names its cause and where it stands.
TEST(PatchReaders, RefuseWhatIsNotThePatchTheyClaim) {
    auto ipsOf = [](const std::string& head, const Bytes& record) {
        Bytes p = test::bytesOf(head);
        p.insert(p.end(), record.begin(), record.end());
        for (const uint8_t b : test::bytesOf("EOF")) p.push_back(b);
        return p;
    };
    const std::pair<Bytes, std::string> ips[] = {
        {ipsOf("PATCH", {0, 0, 0x10, 0, 0, 0, 0, 0x41}), "IPS record at 0x5 is a run of length 0"},
        {ipsOf("PATCH", {0, 0, 0x10, 0, 0, 0, 1, 0x41}), ""},  // a run of one: fine
        {ipsOf("PATCx", {0, 0, 0x10, 0, 1, 0x41}), "not an IPS patch: it does not begin with \"PATCH\""},
        {makeBps(Bytes{1}, Bytes{2}), "a BPS patch (it begins with \"BPS1\"), not an IPS patch"},
    };
    for (const auto& [patch, reason] : ips) {
        const Result<std::vector<IpsRecord>> r = parseIps(patch, 0x20);
        EXPECT_EQ(r ? std::string() : r.problem().reason, reason);
    }
    // A header that asks for 4 GiB of target, under a patch checksum that
    // does not hold: refused on the checksum, before any size is trusted.
    Bytes huge = {'B', 'P', 'S', '1', 0x80, 0xFE, 0xFF, 0xFF, 0xFF, 0x8E, 0x80};
    huge.resize(huge.size() + 12);
    const Result<Bytes> r = applyBps({}, huge);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.problem().reason, "BPS patch: the patch's checksum does not match");
    EXPECT_EQ(r.problem().offset, huge.size() - 4);
}

// The loaded ROM is never replaced by a patch, nor lost through its backup,
// whatever name leads to it; nothing is written when one is refused.
class LoadedRomGuard : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::scratchFolder();
        test::writeBytes(dir / "x.bps", test::demoImage().bytes);
        platform.answer(dir / "x.bps");
        ASSERT_TRUE(openRomAtStart(state, platform));
    }
    void expectRefused(const fs::path& out, const std::string& shownName) {
        platform.answer(out);
        EXPECT_FALSE(saveRom(state, platform)) << out;
        ASSERT_EQ(platform.messages.size(), 1u) << out;
        EXPECT_EQ(platform.messages[0], test::sjis(shownName + "に書き込めませんでした"));
        EXPECT_EQ(test::readBytes(dir / "x.bps"), test::demoImage().bytes);
        platform.messages.clear();
    }
    fs::path dir;
    ScriptedPlatform platform;
    EditorState state;
};

TEST_F(LoadedRomGuard, APatchNamedAsTheLoadedFileOrALinkToItIsRefused) {
    fs::create_symlink("x.bps", dir / "hack.ips");
    fs::create_hard_link(dir / "x.bps", dir / "hard.bps");
    expectRefused(dir / "x.bps", "x.bps");
    expectRefused(dir / "hack.ips", "hack.ips");
    expectRefused(dir / "hard.bps", "hard.bps");
    EXPECT_NE(platform.details.at(1).find("is the loaded ROM x.bps"), std::string::npos);
    EXPECT_EQ(listing(dir), (std::vector<std::string>{"hack.ips", "hard.bps", "x.bps"}));
}

TEST_F(LoadedRomGuard, ABackupThatLinksToTheFileTheSaveReplacesStopsTheSave) {
    fs::rename(dir / "x.bps", dir / "g.smc");
    platform.answer(dir / "g.smc");
    reloadRom(state, platform);
    fs::create_symlink("g.smc", dir / "g.smc.bak");
    state.catalogues.names[1].packed = {0x72};  // an edit, so the save would change the file
    platform.answer(dir / "g.smc");
    EXPECT_FALSE(saveRom(state, platform));
    EXPECT_EQ(platform.messages, std::vector<std::string>{test::sjis("g.smc.bakに書き込めませんでした")});
    EXPECT_EQ(test::readBytes(dir / "g.smc"), test::demoImage().bytes);
}

TEST_F(LoadedRomGuard, ASourceChangedInPlaceSinceTheLoadGivesNoPatch) {
    struct stat before {};
    ASSERT_EQ(::stat((dir / "x.bps").c_str(), &before), 0);
    Bytes changed = test::demoImage().bytes;
    changed[0x1234] ^= 0xFF;  // same size, and the time put back below
    test::writeBytes(dir / "x.bps", changed);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "x.bps").c_str(), times, 0), 0);
    platform.answer(dir / "out.bps");
    EXPECT_FALSE(saveRom(state, platform));
    EXPECT_EQ(platform.messages, std::vector<std::string>{test::sjis("x.bpsが読み込めません")});
    EXPECT_FALSE(fs::exists(dir / "out.bps"));
}

}  // namespace
}  // namespace velk
