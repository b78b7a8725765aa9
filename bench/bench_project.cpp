// A project's build and the watch loop, as a translator waits for them.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "cli/cli.h"
#include "cli/watch.h"
#include "demo_image.h"

namespace velk {
namespace {

namespace fs = std::filesystem;

// The demo image and a project exported from it, in a fresh folder.
fs::path projectFolder(const char* name) {
    const fs::path dir = fs::temp_directory_path() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::vector<uint8_t> image = makeDemoImage();
    std::ofstream(dir / "base.smc", std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                            static_cast<std::streamsize>(image.size()));
    std::ostringstream out, err;
    runCli({(dir / "base.smc").string(), "export-project", (dir / "proj").string()}, out, err);
    return dir;
}

std::string readText(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void saveByRename(const fs::path& file, const std::string& text) {
    std::ofstream(file.string() + ".new", std::ios::binary) << text;
    fs::rename(file.string() + ".new", file);
}

// velk-cli base.smc build proj patch hack.bps, in-process: load, build, lay
// out, write and check the patch. `edited`: with one text changed.
void buildAndPatch(benchmark::State& state, bool edited) {
    const fs::path dir = projectFolder("velk-bench-project");
    if (edited) {
        std::string text = readText(dir / "proj/texts.txt");
        text.insert(text.find("##No.00 01\n") + 11, "ケー");
        saveByRename(dir / "proj/texts.txt", text);
    }
    for (auto _ : state) {
        std::ostringstream out, err;
        if (runCli({(dir / "base.smc").string(), "build", (dir / "proj").string(), "patch", (dir / "hack.bps").string()},
                   out, err) != 0)
            state.SkipWithError(err.str().c_str());
    }
    fs::remove_all(dir);
}
void BM_BuildUneditedProjectAndPatch(benchmark::State& s) { buildAndPatch(s, false); }
void BM_BuildProjectWithOneTextEditedAndPatch(benchmark::State& s) { buildAndPatch(s, true); }
BENCHMARK(BM_BuildUneditedProjectAndPatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildProjectWithOneTextEditedAndPatch)->Unit(benchmark::kMillisecond);

// From a text saved by rename to the new patch on disk, in --watch.
void BM_WatchChangeToPatch(benchmark::State& state) {
    const fs::path dir = projectFolder("velk-bench-watch");
    const std::string original = readText(dir / "proj/texts.txt");
    std::string edited = original;
    edited.insert(edited.find("##No.00 01\n") + 11, "ケー");
    int stop[2];
    if (pipe(stop) != 0) return state.SkipWithError("no pipe");
    std::mutex mutex;
    std::condition_variable ran;
    size_t runs = 0;
    WatchHooks hooks;
    hooks.stopFd = stop[0];
    hooks.onLine = [&](const std::string&) {
        std::lock_guard lock(mutex);
        ++runs;
        ran.notify_all();
    };
    std::thread loop([&] {
        std::ostringstream out, err;
        runCli({"--watch", (dir / "base.smc").string(), "build", (dir / "proj").string(), "patch",
                (dir / "hack.bps").string()},
               out, err, &hooks);
    });
    auto await = [&](size_t n) {
        std::unique_lock lock(mutex);
        ran.wait(lock, [&] { return runs >= n; });
    };
    await(1);
    bool flip = false;
    for (auto _ : state) {
        const size_t next = runs + 1;
        const auto start = std::chrono::steady_clock::now();
        saveByRename(dir / "proj/texts.txt", (flip = !flip) ? edited : original);
        await(next);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    (void)!write(stop[1], "x", 1);
    loop.join();
    close(stop[0]);
    close(stop[1]);
    fs::remove_all(dir);
}
BENCHMARK(BM_WatchChangeToPatch)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velk
