// Speed of the workbench window, and the memory its undo steps hold, on the
// demo image, drawn offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/editor_session.h"
#include "app/entry_page.h"
#include "app/graphics_views.h"
#include "app/replace_dialog.h"
#include "app/workbench.h"
#include "demo_image.h"
#include "rom/catalogues.h"
#include "rom/state_change.h"
#include "text/decode.h"
#include "text/sjis.h"
#include "text/text_collection.h"
#include "quiet_dialogs.h"
#include "platform/disk_platform.h"

namespace velk {
namespace {

EditorState& demoState() {
    static EditorState s = [] {
        EditorState e;
        e.image = RomImage(makeDemoImage());
        e.catalogues = *buildCatalogues(e.image, e.tables);
        return e;
    }();
    return s;
}

void BM_OpenWorkbenchUntilTextsListed(benchmark::State& state) {
    DiskPlatform platform;
    QuietDialogs dialogs;
    EditorSession session(demoState(), platform, dialogs);
    for (auto _ : state) {
        Workbench window(session);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.textsPage()->model()->rowCount());
    }
}
BENCHMARK(BM_OpenWorkbenchUntilTextsListed)->Unit(benchmark::kMillisecond);

// One more character in the filter field, over all 5607 texts.
void BM_FilterKeystrokeOverAllTexts(benchmark::State& state) {
    DiskPlatform platform;
    QuietDialogs dialogs;
    EditorSession session(demoState(), platform, dialogs);
    Workbench window(session);
    QLineEdit* filter = window.textsPage()->filterField();
    int i = 0;
    for (auto _ : state) {
        filter->setText(++i % 2 ? QString::fromUtf8("ソ") : QString::fromUtf8("ソマ"));
        benchmark::DoNotOptimize(window.textsPage()->filterModel()->rowCount());
    }
}
BENCHMARK(BM_FilterKeystrokeOverAllTexts)->Unit(benchmark::kMillisecond);

void BM_FaceGridDrawn(benchmark::State& state) {
    DiskPlatform platform;
    QuietDialogs dialogs;
    EditorSession session(demoState(), platform, dialogs);
    Workbench window(session);
    for (auto _ : state) {
        window.faceGrid()->invalidate();
        benchmark::DoNotOptimize(window.faceGrid()->picture().constBits());
    }
}
BENCHMARK(BM_FaceGridDrawn)->Unit(benchmark::kMillisecond);

// One applied text with the workbench open, then its undo: what the session
// and both lists do after each.
void BM_ApplyAndUndoOneTextWithWorkbenchOpen(benchmark::State& state) {
    DiskPlatform platform;
    QuietDialogs dialogs;
    EditorState s = demoState();
    EditorSession session(s, platform, dialogs);
    Workbench window(session);
    window.show();
    QApplication::processEvents();
    const std::string form = entryForm(s, EntryKind::Text, 9) + toCp932("北");
    for (auto _ : state) {
        session.run(QStringLiteral("apply"), [&](EditorState& st, Platform&) { return applyEntry(st, EntryKind::Text, 9, form); },
                    EntryScope{EntryKind::Text, {9}});
        state.counters["held_bytes"] = static_cast<double>(session.bytesHeld());
        session.undoStack().undo();
    }
}
BENCHMARK(BM_ApplyAndUndoOneTextWithWorkbenchOpen)->Unit(benchmark::kMillisecond);

// One character typed into a text of four lines: its check, its fit, the
// widths beside its lines, the red parts and the box preview.
void BM_TypingIntoATextWithItsFit(benchmark::State& state) {
    DiskPlatform platform;
    QuietDialogs dialogs;
    EditorSession session(demoState(), platform, dialogs);
    Workbench window(session);
    window.show();
    EntryPage* texts = window.textsPage();
    texts->select(1);
    QString form;
    for (int line = 0; line < 4; ++line) form += QString::fromUtf8("(主人公)は[F0 03:(剣)]を手にした。?1B 05?あいうえおかきくけこ\n");
    int i = 0;
    for (auto _ : state) {
        texts->editor()->setPlainText(form + (++i % 2 ? QString::fromUtf8("北") : QString()));
        benchmark::DoNotOptimize(texts->problemLabel()->text());
    }
}
BENCHMARK(BM_TypingIntoATextWithItsFit)->Unit(benchmark::kMicrosecond);

// The undo step of an import that changes every text: what it holds against
// the bytes of the records it changed, as they are after it.
void BM_UndoStepOfAFullTextImport(benchmark::State& state) {
    DiskPlatform platform;
    QuietDialogs dialogs;
    EditorState edited = demoState();
    std::string file;
    for (int i = 0; i < kTextCount; ++i) {
        char header[16];
        std::snprintf(header, sizeof header, "##No.%02X %02X\n", i >> 8, i & 0xFF);
        file += header + toCp932("北") + decodeText(edited.catalogues.texts(), i, edited.catalogues.names, edited.tables) +
                "//\r\n\r\n\r\n";
    }
    size_t held = 0, changed = 0, replaced = 0;
    for (const ResourceEntry& t : std::as_const(edited.catalogues).texts()) replaced += t.packed.size() + t.unpacked.size();
    for (auto _ : state) {
        state.PauseTiming();
        EditorState s = edited;
        EditorSession session(s, platform, dialogs);
        state.ResumeTiming();
        session.run(QStringLiteral("import"), [&](EditorState& st, Platform&) {
            (void)readTextCollection(st.catalogues.texts(), std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()),
                                     GlyphLookup(st.tables), st.image);
            return doneOutcome({});
        });
        held = session.bytesHeld();
        changed = 0;
        for (const ResourceEntry& t : std::as_const(s.catalogues).texts()) changed += t.packed.size() + t.unpacked.size();
    }
    state.counters["held_bytes"] = static_cast<double>(held);
    state.counters["changed_bytes"] = static_cast<double>(changed);
    state.counters["replaced_bytes"] = static_cast<double>(replaced);
    state.counters["held_per_changed"] = static_cast<double>(held) / static_cast<double>(changed);
}
BENCHMARK(BM_UndoStepOfAFullTextImport)->Unit(benchmark::kMillisecond)->Iterations(3);

// The replace dialog's preview over all 5607 texts: the engine's rows and
// the table that shows them with their marks.
void BM_ReplaceDialogPreviewOverAllTexts(benchmark::State& state) {
    DiskPlatform platform;
    QuietDialogs dialogs;
    EditorSession session(demoState(), platform, dialogs);
    Workbench window(session);
    ReplaceDialog* dialog = window.openReplace();
    dialog->patternField()->setText(QString::fromUtf8("の"));
    dialog->replacementField()->setText(QString::fromUtf8("ノ"));
    dialog->scopeBox()->setCurrentIndex(ReplaceDialog::TextsScope);
    for (auto _ : state) {
        dialog->updatePreview();
        benchmark::DoNotOptimize(dialog->previewModel()->rowCount());
    }
    state.counters["rows"] = dialog->previewModel()->rowCount();
}
BENCHMARK(BM_ReplaceDialogPreviewOverAllTexts)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace velk

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
