// The translation desk's checks on the demo image's project, as a team's CI
// and a translator typing wait for them.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/disk_platform.h"
#include "demo_image.h"
#include "ops/check_ops.h"
#include "ops/entry_ops.h"
#include "ops/project_ops.h"
#include "text/encode.h"
#include "text/line_width.h"
#include "text/sjis.h"

namespace velk {
namespace {

// The demo image loaded, and its names and texts exported as a project.
struct DeskBench {
    EditorState state;
    DiskPlatform platform;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "velk-bench-check";
    DeskBench() {
        state.image.bytes = makeDemoImage();
        state.catalogues = *buildCatalogues(state.image, state.tables);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        for (const ProjectStep& step : projectSteps())
            if (step.name == std::string_view("names") || step.name == std::string_view("texts")) {
                (void)step.exportTo(state, platform, dir);
            }
        const std::string text = projectFileText(projectBaseOf(state));
        (void)platform.writeFile(dir / kProjectFileName, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    }
    ~DeskBench() { std::filesystem::remove_all(dir); }
};

// check over the whole project: read, encode, fit, glossary, repeats, locks.
void BM_CheckProject(benchmark::State& b) {
    DeskBench desk;
    for (auto _ : b) {
        CheckReport report;
        if (!checkProjectAt(desk.state, desk.platform, desk.dir, {}, report).done()) b.SkipWithError("the check failed");
        benchmark::DoNotOptimize(report);
    }
}

// The figures of stats.
void BM_ProjectStats(benchmark::State& b) {
    DeskBench desk;
    for (auto _ : b) {
        ProjectFigures figures;
        if (!projectFiguresAt(desk.state, desk.platform, desk.dir, {}, figures).done()) b.SkipWithError("stats failed");
        benchmark::DoNotOptimize(figures);
    }
}

// The fit of one text as a translator types it: encode the edited form and
// measure its lines, with the names' widths at hand.
void BM_FitOfOneText(benchmark::State& b) {
    DeskBench desk;
    const BoxRules rules = boxRulesOf({}, desk.state);
    const std::vector<int> widths = nameWidths(desk.state.catalogues.names, rules);
    const GlyphLookup glyphs(desk.state.tables);
    std::string block = "##No.00 01\n";
    for (int line = 0; line < 4; ++line) block += "(主人公)は[F0 03:(剣)]を手にした。?1B 05?あいうえおかきくけこ\n";
    block += "//";
    const std::string sjisBlock = toCp932(block);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(sjisBlock.data()), sjisBlock.size());
    for (auto _ : b) {
        Result<EncodedText> code = encodeTextCode(bytes, glyphs, 1);
        const std::vector<TextLine> lines = textLines(code->code, widths, rules);
        benchmark::DoNotOptimize(textFits(lines, rules));
    }
}

// The same through what the window runs at each keystroke: the form as
// typed, encoded with each item's place in it, its lines and what is past them.
void BM_FormFitOfOneText(benchmark::State& b) {
    DeskBench desk;
    const BoxRules rules = boxRulesOf({}, desk.state);
    const std::vector<int> widths = nameWidths(desk.state.catalogues.names, rules);
    const GlyphLookup glyphs(desk.state.tables);
    std::string form;
    for (int line = 0; line < 4; ++line) form += "(主人公)は[F0 03:(剣)]を手にした。?1B 05?あいうえおかきくけこ\r\n";
    const std::string sjisForm = toCp932(form);
    for (auto _ : b) benchmark::DoNotOptimize(formFit(EntryKind::Text, 1, sjisForm, glyphs, widths, rules));
}

BENCHMARK(BM_CheckProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProjectStats)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitOfOneText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormFitOfOneText)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velk
