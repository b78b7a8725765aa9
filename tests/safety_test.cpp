// Writes that a crash, a size limit or an odd target cannot spoil; inputs
// that are not what they claim.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "ops/operations.h"
#include "ops/png_ops.h"
#include "ops/sharing_checks.h"
#include "ops/project_ops.h"
#include "platform/file_io.h"
#include "scripted_platform.h"
#include "test_support.h"

namespace velk {
namespace {

// A disk that fills up after `room` writes.
struct FullDisk : FileCalls {
    explicit FullDisk(int writes) : room(writes) {}
    std::atomic<int> room;
    ssize_t write(int fd, const void* data, size_t size) override { return --room < 0 ? (errno = ENOSPC, -1) : FileCalls::write(fd, data, size); }
};

// An export that meets a full disk leaves the target as it found it (no
// folder, or the empty folder), so that the retry is not refused.
TEST(SafeWrite, AnExportOnAFullDiskLeavesNothingAndMayBeRetried) {
    ScriptedPlatform scripted;
    const EditorState state = test::demoState(scripted);
    const fs::path dir = test::scratchFolder();
    fs::create_directory(dir / "empty");
    for (const int room : {0, 100, 160, 1000}) {  // 160: all but .gitattributes and velk-project.txt
        FullDisk full(room);
        ScriptedPlatform platform(full);
        EXPECT_EQ(exportProjectTo(state, platform, dir / "new").done(), room == 1000) << room;
        EXPECT_EQ(exportProjectTo(state, platform, dir / "empty").done(), room == 1000) << room;
        EXPECT_EQ(test::listing(dir).size(), room == 1000 ? 2u : 1u) << room;
        EXPECT_EQ(test::listing(dir / "empty").size(), room == 1000 ? 7u : 0u) << room;
    }
}

// A size limit fails the write with its reason instead of killing the
// process, and leaves the old file and nothing else. An exact fit passes.
TEST(SafeWrite, AFileSizeLimitFailsTheWriteAndLeavesNoTemporaryFile) {
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    if (old.rlim_max != RLIM_INFINITY && old.rlim_max < 4096) GTEST_SKIP() << "size limit already below the test's";
    const fs::path dir = test::scratchFolder();
    test::writeBytes(dir / "keep.smc", Bytes{7, 7});
    const struct rlimit limited = {4096, old.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const Status fits = writeFileReplacing(dir / "fits.smc", Bytes(4096, 1));
    const Status tooLarge = writeFileReplacing(dir / "keep.smc", Bytes(4097, 1));
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
    EXPECT_TRUE(fits);
    EXPECT_EQ(tooLarge ? "" : tooLarge.problem().words, std::strerror(EFBIG));
    EXPECT_EQ(test::readBytes(dir / "keep.smc"), (Bytes{7, 7}));
    EXPECT_EQ(test::listing(dir), (std::vector<std::string>{"fits.smc", "keep.smc"}));
}

// /dev/stdout on a pipe is a /proc link to "pipe:[N]", a name that opens
// nothing: the target is opened by the name given.
TEST(SafeWrite, AnOpenPipeNamedThroughProcIsWrittenThrough) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string name = "/proc/self/fd/" + std::to_string(ends[1]);
    EXPECT_TRUE(writeFileReplacing(name, Bytes{'o', 'k'}));
    ::close(ends[1]);
    char got[4] = {};
    EXPECT_EQ(::read(ends[0], got, sizeof got), 2);
    ::close(ends[0]);
    EXPECT_EQ(std::string(got), "ok");
}

// The loaded ROM is never replaced by a patch, nor lost through its backup,
// whatever name leads to it; nothing is written when one is refused.
class TheLoadedRom : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::scratchFolder();
        state = test::demoState(platform, dir / "x.bps");
    }
    void expectRefused(const fs::path& out, const std::string& shownName, Operation op = saveRom) {
        EXPECT_TRUE(platform.shown(op(state, platform, out)).failed()) << out;
        ASSERT_EQ(platform.messages.size(), 1u) << out;
        EXPECT_EQ(platform.messages[0], test::sjis(shownName + "に書き込めませんでした"));
        EXPECT_EQ(test::readBytes(dir / "x.bps"), test::demoImage().bytes);
        platform.messages.clear();
    }
    fs::path dir;
    ScriptedPlatform platform;
    EditorState state;
};

TEST_F(TheLoadedRom, APatchOrAnExportNamedAsTheLoadedFileOrALinkToItIsRefused) {
    fs::create_symlink("x.bps", dir / "hack.ips");
    fs::create_hard_link(dir / "x.bps", dir / "hard.bps");
    for (const char* name : {"x.bps", "hack.ips", "hard.bps"}) expectRefused(dir / name, name);
    EXPECT_NE(platform.details.at(1).find("is the loaded ROM x.bps"), std::string::npos);
    const Operation units = [](EditorState& s, Platform& p, const fs::path& f) { return exportUnitsPngTo(s, p, f); };
    for (const Operation op : {exportNameList, exportTextCollection, extractFaceGraphics, extractUnitGraphics,
                               exportFacePicture, units, exportTableFile})
        expectRefused(dir / "hack.ips", "hack.ips", op);
    EXPECT_EQ(platform.details.back(), "hack.ips: is the loaded ROM x.bps (after following links); only a save replaces it");
    fs::create_directory(dir / "faces");
    fs::create_symlink("../x.bps", dir / "faces" / "face-156.png");  // the last face a folder export writes
    expectRefused(dir / "faces", "face-156.png",
                  [](EditorState& s, Platform& p, const fs::path& d) { return exportFacesPngTo(s, p, d); });
    EXPECT_EQ(test::listing(dir), (std::vector<std::string>{"faces", "hack.ips", "hard.bps", "x.bps"}));
}

TEST_F(TheLoadedRom, ABackupThatLinksToTheFileTheSaveReplacesStopsTheSave) {
    fs::rename(dir / "x.bps", dir / "g.smc");
    ASSERT_TRUE(reloadRom(state, platform, dir / "g.smc").done());
    fs::create_symlink("g.smc", dir / "g.smc.bak");
    state.catalogues.names[1].code = {0x72};  // an edit, so the save would change the file
    EXPECT_TRUE(platform.shown(saveRom(state, platform, dir / "g.smc")).failed());
    EXPECT_EQ(platform.messages, std::vector<std::string>{test::sjis("g.smc.bakに書き込めませんでした")});
    EXPECT_EQ(test::readBytes(dir / "g.smc"), test::demoImage().bytes);
}

TEST_F(TheLoadedRom, ASourceChangedInPlaceSinceTheLoadGivesNoPatch) {
    struct stat before {};
    ASSERT_EQ(::stat((dir / "x.bps").c_str(), &before), 0);
    Bytes changed = test::demoImage().bytes;
    changed[0x1234] ^= 0xFF;  // same size, and the time put back below
    test::writeBytes(dir / "x.bps", changed);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "x.bps").c_str(), times, 0), 0);
    EXPECT_TRUE(platform.shown(saveRom(state, platform, dir / "out.bps")).failed());
    EXPECT_EQ(platform.messages, std::vector<std::string>{test::sjis("x.bpsが読み込めません")});
    EXPECT_FALSE(fs::exists(dir / "out.bps"));
}

// Inputs that are not what they claim, each refused where it stands and
// named: the file, then file:line:column and why.
TEST(BadInput, IsRefusedWithItsPlaceAndReason) {
    const fs::path dir = test::scratchFolder();
    const std::string rom = (dir / "g.smc").string(), fifo = (dir / "fifo").string();
    test::writeBytes(rom, test::demoImage().bytes);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::writeBytes(dir / "in.ips", test::bytesOf("PATCHEOF"));
    const fs::path elsewhere = test::scratchFolder() / "secret.ips";
    test::writeBytes(elsewhere, test::bytesOf("PATCHEOF"));
    fs::create_symlink(elsewhere, dir / "out.ips");  // a link that leads out of the folder
    fs::create_symlink("in.ips", dir / "near.ips");  // one that stays in it
    const std::string ips = ";;IPS\x83\x70\x83\x62\x83\x60 @@";
    struct Case { std::vector<std::string> options; const char* verb; Bytes file; std::string err; };
    const Case cases[] = {
        {{}, "import-names", {0xFF, 0xFE, '[', 0}, "\nn.txt:1:1: begins with a UTF-16 byte-order mark"},
        {{}, "import-names", test::bytesOf("[F0 00] \xE6\x9C\xA8\n"), "\nn.txt: the file is UTF-8, not Shift-JIS: read it with --utf8"},
        {{}, "import-texts", {'#', 0, '#', 0}, "\nn.txt:1:2: holds a zero byte, so it looks like UTF-16"},
        {{"--utf8"}, "import-texts", test::bytesOf("##No.00 00\n\xE3\x82\xA2\xE3\x82//"), "n.txt:2:2: is not UTF-8: \\xE3\\x82 is"},
        {{"--utf8"}, "import-texts", test::bytesOf("##\n\xC0\xAF"), "n.txt:2:1: is not UTF-8: \\xC0 is no UTF-8"},
        {{}, "apply-script", test::bytesOf(";;\x92\x50\x8C\xEA\x83\x8A\x83\x58\x83\x67\n[F1 -1] "), "n.txt:2:5: an entry"},
        {{}, "apply-script", test::bytesOf(ips + "/etc/hostname"), "is an absolute path"},
        {{}, "apply-script", test::bytesOf(ips + "sub/../../x.ips"), "leads out of the script's"},
        {{}, "apply-script", test::bytesOf(ips + "out.ips"), "out.ips: leads out of the script's"},
        {{}, "apply-script", test::bytesOf(ips + "near.ips"), ""},
        {{}, "apply-script", test::bytesOf(ips + "fifo"), "fifo: is not a regular file"},
        {{"--script-files-anywhere"}, "apply-script", test::bytesOf(ips + elsewhere.string()), ""},
        {{"--script-files-anywhere"}, "apply-script", test::bytesOf(ips + "out.ips"), ""},
        {{"--script-files-anywhere"}, "apply-script", test::bytesOf(ips + "../" + elsewhere.parent_path().filename().string() + "/secret.ips"), ""},
    };
    for (const Case& c : cases) {
        test::writeBytes(dir / "n.txt", c.file);
        std::vector<std::string> args = c.options;
        for (const std::string& a : {rom, std::string(c.verb), (dir / "n.txt").string()}) args.push_back(a);
        const test::CliRun r = test::cli(args);
        EXPECT_EQ(r.code, c.err.empty() ? 0 : 1) << c.verb << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    // A script named without a folder, run in its own folder, finds its files there.
    test::writeBytes(dir / "n.txt", test::bytesOf(ips + "near.ips"));
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    const test::CliRun bare = test::cli({rom, "apply-script", "n.txt"});
    fs::current_path(cwd);
    EXPECT_EQ(bare.code, 0) << bare.err;
}

}  // namespace
}  // namespace velk
