// Opening a project in the window: the base loaded, every text of the
// project built into it, and the workbench's lists filled again.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>

#include "app/editor_session.h"
#include "app/entry_page.h"
#include "app/project_session.h"
#include "app/workbench.h"
#include "demo_image.h"
#include "ops/operations.h"
#include "ops/project_ops.h"
#include "platform/disk_platform.h"
#include "quiet_dialogs.h"

namespace velk {
namespace {

void BM_OpenProjectUntilListsFilled(benchmark::State& b) {
    DiskPlatform platform;
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "velk-bench-project-window";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    const std::vector<uint8_t> image = makeDemoImage();
    (void)platform.writeFile(root / "base.smc", image);
    EditorState base;
    (void)openRomAtStart(base, platform, root / "base.smc");
    const std::filesystem::path dir = platform.resolvedPath(root / "proj");
    (void)exportProjectTo(base, platform, dir);
    // Every text translated: one more character at its start.
    const std::vector<uint8_t> exported = *platform.readFile(dir / "texts.txt");
    std::string texts(exported.begin(), exported.end());
    for (size_t at = texts.find("##No."); at != std::string::npos; at = texts.find("\n##No.", at + 1))
        texts.insert(texts.find('\n', at + 1) + 1, "ソ");
    (void)platform.writeFile(dir / "texts.txt", std::span(reinterpret_cast<const uint8_t*>(texts.data()), texts.size()));

    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(root.string()));
    QSettings(QStringLiteral("VELK"), QStringLiteral("velk"))
        .setValue(ProjectSession::baseKey(dir), QString::fromStdString((root / "base.smc").string()));
    {
        EditorState state;
        QuietDialogs dialogs;
        EditorSession session(state, platform, dialogs);
        ProjectSession& projects = projectSessionOf(session);
        if (!projects.open(dir).done()) b.SkipWithError("the project does not open");
        Workbench window(session);
        window.show();
        QApplication::processEvents();
        for (auto _ : b) {
            projects.open(dir);
            QApplication::processEvents();
            benchmark::DoNotOptimize(window.textsPage()->model()->rowCount());
        }
    }
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_OpenProjectUntilListsFilled)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace velk
