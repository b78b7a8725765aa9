#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

#include <signal.h>
#include <unistd.h>

#include "cli/cli.h"
#include "cli/watch.h"
#include "test_support.h"

namespace velk {
namespace {

TEST(Watch, CommandsSplitAsWritten) {
    EXPECT_EQ(splitCommand("emu  -f 'my rom.smc' \"a b\"c"),
              (std::vector<std::string>{"emu", "-f", "my rom.smc", "a bc"}));
    EXPECT_EQ(splitCommand("sh -c 'x && y'"), (std::vector<std::string>{"sh", "-c", "x && y"}));
    EXPECT_TRUE(splitCommand("   ").empty());
}

// A watch loop on its own thread; each run's line is awaited, never slept for.
class WatchLoop : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::scratchFolder();
        ASSERT_EQ(pipe(stop), 0);
        hooks.stopFd = stop[0];
        hooks.onLine = [this](const std::string& line) {
            std::lock_guard lock(mutex);
            lines.push_back(line);
            changed.notify_all();
        };
    }
    void TearDown() override {
        if (loop.joinable()) {
            (void)!write(stop[1], "x", 1);
            loop.join();
        }
        close(stop[0]);
        close(stop[1]);
    }
    // The line of run n, once it is printed.
    std::string awaitRun(size_t n) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::seconds(30), [&] { return lines.size() >= n; });
        return lines.size() >= n ? lines[n - 1] : "(no run " + std::to_string(n) + ")";
    }
    fs::path dir;
    int stop[2] = {-1, -1};
    WatchHooks hooks;
    std::thread loop;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> lines;
};

// velk-cli --watch on a project exported from the demo image.
class WatchSession : public WatchLoop {
protected:
    void SetUp() override {
        WatchLoop::SetUp();
        test::writeBytes(dir / "base.smc", test::demoImage().bytes);
        ASSERT_EQ(test::cli({(dir / "base.smc").string(), "export-project", (dir / "proj").string()}).code, 0);
    }
    // velk-cli --watch [--any-base] base.smc build proj, then `verbs`.
    void start(const std::vector<std::string>& verbs, bool anyBase = false) {
        std::vector<std::string> args = {"--watch", (dir / "base.smc").string(), "build", (dir / "proj").string()};
        if (anyBase) args.insert(args.begin() + 1, "--any-base");
        for (const std::string& v : verbs) args.push_back(v.find('.') != std::string::npos ? (dir / v).string() : v);
        loop = std::thread([this, args] {
            std::ostringstream out, err;
            code = runCli(args, out, err, &hooks);
        });
    }
    void saveByRename(const std::string& text) {
        test::writeBytes(dir / "proj/texts.txt.new", test::bytesOf(text));
        fs::rename(dir / "proj/texts.txt.new", dir / "proj/texts.txt");
    }
    int code = -1;
};

TEST_F(WatchSession, EachSaveRunsOnceAndAFailedRunKeepsTheOutputs) {
    start({"save", "out.smc", "patch", "out.bps"});
    EXPECT_NE(awaitRun(1).find("run 1 ("), std::string::npos);
    const std::vector<uint8_t> first = test::readBytes(dir / "out.smc");
    const std::vector<uint8_t> original = test::readBytes(dir / "proj/texts.txt");
    std::string text(original.begin(), original.end());
    const std::string block = "##No.00 01\n!11!?1B 05?";
    const size_t at = text.find(block) + block.size();

    saveByRename(std::string(text).insert(at, "ケー"));
    EXPECT_NE(awaitRun(2).find("wrote"), std::string::npos);
    const std::vector<uint8_t> edited = test::readBytes(dir / "out.smc");
    EXPECT_NE(edited, first);

    // Saved in place, with a character no table has: that run fails (and
    // is the very next run: the rename ran once), the outputs stay.
    test::writeBytes(dir / "proj/texts.txt", test::bytesOf(std::string(text).insert(at, "鬱")));
    const std::string third = awaitRun(3);
    EXPECT_NE(third.find("failed, outputs kept: "), std::string::npos) << third;
    EXPECT_NE(third.find("texts.txt:6:12: "), std::string::npos) << third;
    EXPECT_EQ(test::readBytes(dir / "out.smc"), edited);

    saveByRename(text);
    EXPECT_NE(awaitRun(4).find("wrote"), std::string::npos);
    EXPECT_EQ(test::readBytes(dir / "out.smc"), first);

    (void)!write(stop[1], "x", 1);  // Ctrl+C
    loop.join();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(lines.size(), 4u);
}

// A save over the loaded ROM keeps it as base.smc.bak once: a later run
// (on another base now) replaces what an earlier run wrote without backing
// that up, and still applies the project's script.
TEST_F(WatchSession, TheBackupOfTheFirstRunIsKeptAcrossRuns) {
    start({"save", "base.smc"}, true);
    EXPECT_NE(awaitRun(1).find("wrote"), std::string::npos);
    EXPECT_EQ(test::readBytes(dir / "base.smc.bak"), test::demoImage().bytes);
    const std::vector<uint8_t> texts = test::readBytes(dir / "proj/texts.txt");
    std::string text(texts.begin(), texts.end());
    saveByRename(text.insert(text.find("##No.00 01\n") + 11, "ケー"));
    EXPECT_NE(awaitRun(2).find("wrote"), std::string::npos) << lines.back();
    EXPECT_EQ(test::readBytes(dir / "base.smc.bak"), test::demoImage().bytes);
    EXPECT_NE(test::readBytes(dir / "base.smc"), test::demoImage().bytes);
}

// A project folder removed and made again (a checkout does this) is heard
// on its return.
TEST_F(WatchSession, AProjectFolderRemovedAndMadeAgainIsWatchedOnItsReturn) {
    start({"save", "out.smc", "patch", "out.bps"});
    EXPECT_NE(awaitRun(1).find("wrote"), std::string::npos);
    fs::rename(dir / "proj", dir / "kept");
    EXPECT_NE(awaitRun(2).find("failed"), std::string::npos);
    fs::copy(dir / "kept", dir / "proj", fs::copy_options::recursive);
    std::unique_lock lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(30), [&] {
        return lines.size() > 2 && lines.back().find("wrote") != std::string::npos;
    }));
}

// A save made while a run is under way starts the next run at once; the
// run's own outputs, in the same folder, start none. Each --then command is
// ended before the next starts, and the last when the loop ends.
TEST_F(WatchLoop, ASaveDuringARunStartsTheNextOne) {
    int runs = 0;
    loop = std::thread([&] {
        watchLoop([&] {
            test::writeBytes(dir / "out.bin", {static_cast<uint8_t>(++runs)});
            if (runs == 2) test::writeBytes(dir / "src.txt", {2});
            return WatchRun{true, "wrote out.bin", {dir}, {}, {dir / "out.bin"}};
        }, {"sh", "-c", "cd " + dir.string() + " && for p in $(cat .pids 2>.errors); do kill -0 $p 2>>.errors && echo $p >.alive; done; echo $$ >>.pids; exec sleep 30"}, hooks);
    });
    awaitRun(1);
    test::writeBytes(dir / "src.txt", {1});
    EXPECT_EQ(awaitRun(3).find("(no run"), std::string::npos);
    (void)!write(stop[1], "x", 1);
    loop.join();
    EXPECT_EQ(runs, 3);
    const Bytes pids = test::readBytes(dir / ".pids");
    std::istringstream started(std::string(pids.begin(), pids.end()));
    for (pid_t pid; started >> pid;) EXPECT_EQ(kill(pid, 0), -1) << pid;  // gone, and collected
    EXPECT_FALSE(fs::exists(dir / ".alive"));
}

// --then follows each run that went well: not a failed one, and again the
// good run after it.
TEST_F(WatchLoop, ThenFollowsOnlyTheRunsThatWentWell) {
    const fs::path log = dir / "log";
    fs::create_directories(dir / "src");
    int runs = 0;
    loop = std::thread([&] {
        watchLoop([&] { return WatchRun{++runs != 2, "", {dir / "src"}, {}, {}}; },
                  {"sh", "-c", "echo x >> " + log.string()}, hooks);
    });
    // The log's lines, once there are `n` or after half a second.
    auto logLines = [&](size_t n) {
        size_t got = 0;
        for (int i = 0; i < 50 && got < n; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
            const Bytes b = fs::exists(log) ? test::readBytes(log) : Bytes{};
            got = static_cast<size_t>(std::count(b.begin(), b.end(), '\n'));
        }
        return got;
    };
    awaitRun(1);
    EXPECT_EQ(logLines(1), 1u);
    test::writeBytes(dir / "src/a", {1});
    EXPECT_NE(awaitRun(2).find("failed"), std::string::npos);
    EXPECT_EQ(logLines(2), 1u);  // the failed run started nothing
    test::writeBytes(dir / "src/a", {2});
    awaitRun(3);
    EXPECT_EQ(logLines(2), 2u);
    (void)!write(stop[1], "x", 1);
    loop.join();
}

}  // namespace
}  // namespace velk
