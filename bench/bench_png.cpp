// Speed of the PNG exports and imports of faces and unit graphics, on the
// demo image: files in a scratch folder, every import unchanged (read,
// decoded and checked in full; nothing to repack).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "demo_image.h"
#include "ops/png_ops.h"
#include "platform/disk_platform.h"

namespace velk {
namespace {

template <typename Run>
void runPng(benchmark::State& b, bool exportFirst, Run run) {
    EditorState state;
    state.image.bytes = makeDemoImage();
    state.catalogues = *buildCatalogues(state.image, state.tables);
    DiskPlatform platform;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velk-bench-png";
    std::filesystem::create_directories(folder);
    if (exportFirst) {
        (void)exportFacesPngTo(state, platform, folder / "faces");
        (void)exportUnitsPngTo(state, platform, folder / "units.png");
    }
    for (auto _ : b)
        if (!run(state, platform, folder).done()) b.SkipWithError("the operation reported a problem");
    std::filesystem::remove_all(folder);
}

void BM_ExportFacesPng(benchmark::State& b) {
    runPng(b, false, [](EditorState& s, Platform& p, const std::filesystem::path& f) { return exportFacesPngTo(s, p, f / "faces"); });
}
void BM_ImportFacesPng(benchmark::State& b) {
    runPng(b, true, [](EditorState& s, Platform& p, const std::filesystem::path& f) { return importFacesPngFrom(s, p, f / "faces"); });
}
void BM_ExportUnitsPng(benchmark::State& b) {
    runPng(b, false, [](EditorState& s, Platform& p, const std::filesystem::path& f) { return exportUnitsPngTo(s, p, f / "units.png"); });
}
void BM_ImportUnitsPng(benchmark::State& b) {
    runPng(b, true, [](EditorState& s, Platform& p, const std::filesystem::path& f) { return importUnitsPngFrom(s, p, f / "units.png"); });
}
BENCHMARK(BM_ExportFacesPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFacesPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportUnitsPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportUnitsPng)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velk
