// A team's PO files of the demo image's project: written for the translators,
// and read back into the image.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/disk_platform.h"
#include "demo_image.h"
#include "ops/po_ops.h"
#include "ops/project_ops.h"

namespace velk {
namespace {

// The demo image loaded and exported as a project, with its PO files.
struct PoBench {
    EditorState state;
    DiskPlatform platform;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "velk-bench-po";
    PoBench() {
        state.image.bytes = makeDemoImage();
        state.catalogues = *buildCatalogues(state.image, state.tables);
        std::filesystem::remove_all(dir);
        (void)exportProjectTo(state, platform, dir / "proj");
        (void)exportPoTo(state, platform, dir / "proj");
    }
    ~PoBench() { std::filesystem::remove_all(dir); }
};

// export-po of every name and text: the project built on its base, both
// templates and both catalogues made, the unchanged files left alone.
void BM_ExportPo(benchmark::State& b) {
    PoBench po;
    for (auto _ : b)
        if (!exportPoTo(po.state, po.platform, po.dir / "proj").done()) b.SkipWithError("export-po failed");
}

// import-po of both files into the base: every message read, encoded and
// compared; nothing changes.
void BM_ImportPo(benchmark::State& b) {
    PoBench po;
    for (auto _ : b) {
        b.PauseTiming();
        EditorState s = po.state;
        b.ResumeTiming();
        if (!importPoIntoState(s, po.platform, po.dir / "proj" / kPoFolder / kNamesPo).done() ||
            !importPoIntoState(s, po.platform, po.dir / "proj" / kPoFolder / kTextsPo).done())
            b.SkipWithError("import-po failed");
        benchmark::DoNotOptimize(s);
    }
}

BENCHMARK(BM_ExportPo)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ImportPo)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace velk
