#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include <sstream>

#include "cli/cli.h"
#include "demo_image.h"
#include "ops/run_operation.h"
#include "text/sjis.h"

namespace velk::test {

const RomImage& demoImage() {
    static const RomImage image = [] {
        RomImage r;
        r.bytes = makeDemoImage();
        return r;
    }();
    return image;
}

const Catalogues& demoCatalogues() {
    static const Catalogues catalogues = [] {
        Result<Catalogues> c = buildCatalogues(demoImage(), builtInCharTables());
        if (!c) throw std::runtime_error("the demo image does not load");
        return std::move(*c);
    }();
    return catalogues;
}

EditorState demoState(ScriptedPlatform& platform, const std::filesystem::path& onDisk) {
    if (onDisk.empty()) {
        platform.files["demo.smc"] = demoImage().bytes;
    } else {
        writeBytes(onDisk, demoImage().bytes);
        platform.onDisk = true;
    }
    EditorState state;
    if (!run(state, platform, openRomAtStart, onDisk.empty() ? "demo.smc" : onDisk).done())
        throw std::runtime_error("the demo image does not load");
    return state;
}

Outcome run(EditorState& state, ScriptedPlatform& platform, Operation operation,
            std::optional<std::filesystem::path> path) {
    if (!path) return cancelledOutcome();
    return runOperation(state, [&] { return operation(state, platform, *path); });
}

std::vector<uint8_t> fileOf(const ScriptedPlatform& platform, const std::filesystem::path& path) {
    const auto it = platform.files.find(path);
    return it == platform.files.end() ? std::vector<uint8_t>{} : it->second;
}

EditorState savedAndReloaded(EditorState& state, ScriptedPlatform& platform, const std::string& name) {
    EditorState back;
    EXPECT_TRUE(run(state, platform, saveRom, name).done());
    EXPECT_TRUE(run(back, platform, openRomAtStart, name).done());
    return back;
}

std::optional<size_t> firstDifference(ConstCatalogue a, ConstCatalogue b) {
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i].unpacked != b[i].unpacked) return i;
    if (a.size() != b.size()) return std::min(a.size(), b.size());
    return std::nullopt;
}

std::vector<std::string> listing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::filesystem::path scratchFolder() {
    static std::atomic<int> counter{0};
    static const std::filesystem::path root = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() / ("velk-tests-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(std::filesystem::temp_directory_path() / ("velk-tests-" + std::to_string(getpid())), ec);
        });
        return p;
    }();
    std::filesystem::path p = root / std::to_string(counter++);
    std::filesystem::create_directories(p);
    return p;
}

void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path.string());
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

std::string sjis(const std::string& utf8) { return toCp932(utf8); }

std::vector<uint8_t> bytesOf(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

CliRun cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace velk::test
