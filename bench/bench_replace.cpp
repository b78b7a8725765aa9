// Speed of the search-and-replace preview the window shows as a pattern is
// typed: every one of the demo image's 5,607 texts in its form, matched,
// and each changed one checked with the import's encoder.
#include <benchmark/benchmark.h>

#include "demo_image.h"
#include "ops/replace_ops.h"

namespace velk {
namespace {

void previewAllTexts(benchmark::State& b, const ReplaceRule& rule) {
    EditorState state;
    state.image.bytes = makeDemoImage();
    state.catalogues = *buildCatalogues(state.image, state.tables);
    const Replacer replacer = *Replacer::make(rule);
    const std::vector<EntryRef> texts = allEntries(state, EntryKind::Text);
    size_t rows = 0;
    for (auto _ : b) {
        const Result<std::vector<ReplaceRow>> preview = previewReplace(state, replacer, texts);
        if (!preview) b.SkipWithError("the preview reported a problem");
        rows = preview ? preview->size() : 0;
    }
    b.counters["rows"] = static_cast<double>(rows);
}

// A plain pattern in about a quarter of the texts; a regular expression with
// groups in about two thirds.
void BM_ReplacePreviewPlain(benchmark::State& b) { previewAllTexts(b, {"の", "ノ", false}); }
void BM_ReplacePreviewRegex(benchmark::State& b) { previewAllTexts(b, {"(\\p{Katakana})(\\p{Hiragana}+)", "$2$1", true}); }
BENCHMARK(BM_ReplacePreviewPlain)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ReplacePreviewRegex)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace velk
