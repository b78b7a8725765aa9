#include "app/editor_app.h"

#include <QEventLoop>

#include "app/desktop.h"
#include "app/editor_session.h"
#include "app/file_commands.h"
#include "app/project_session.h"
#include "app/qt_platform.h"
#include "app/workbench.h"

namespace velk {

int EditorApp::run(const std::optional<std::filesystem::path>& rom, const std::optional<std::filesystem::path>& project) {
    EditorSession session(state_, platform_, dialogs_);
    Workbench window(session);
    if (auto* qt = dynamic_cast<QtPlatform*>(&dialogs_)) qt->setParent(&window);
    restoreLayout(window);
    window.show();
    bool loaded = false;
    if (rom) loaded = session.run(QString(), [&](EditorState& s, Platform& p) { return openRomAtStart(s, p, *rom); }).done();
    if (project) loaded = projectSessionOf(session).open(*project).done();
    // Without a ROM, or with one that does not load (reported), asks until
    // one loads; a cancel leaves the window empty, with its "ROM を開く".
    while (!loaded) {
        const Outcome opened = session.runAsking(QString(), Ask::OpenRom, false, openRomAtStart);
        if (opened.cancelled()) break;
        loaded = opened.done();
    }
    if (!session.project()) session.loaded();
    if (loaded && !session.project()) window.files()->openedAtStart();
    QEventLoop loop;
    QObject::connect(&window, &Workbench::closed, &loop, &QEventLoop::quit);
    loop.exec();
    return 0;
}

}  // namespace velk
