#include "app/editor_app.h"

#include <QEventLoop>

#include "app/editor_session.h"
#include "app/main_dialog.h"
#include "app/project_session.h"
#include "app/qt_platform.h"
#include "app/qt_text.h"
#include "app/workbench.h"

namespace velk {

int EditorApp::run(const std::optional<std::filesystem::path>& rom, const std::optional<std::filesystem::path>& project) {
    EditorSession session(state_, platform_, dialogs_);
    MainDialog dialog(session);
    if (auto* qt = dynamic_cast<QtPlatform*>(&dialogs_)) qt->setParent(&dialog);
    bool loaded = false;
    if (rom) loaded = session.run(QString(), [&](EditorState& s, Platform& p) { return openRomAtStart(s, p, *rom); }).done();
    if (project) loaded = projectSessionOf(session).open(*project).done();
    // A ROM that does not load is reported, then the dialog asks.
    if (!loaded && !dialog.initialise()) return 0;
    if (!session.project()) session.loaded();

    std::unique_ptr<Workbench> workbench;
    auto openWorkbench = [&] {
        if (!workbench) workbench = std::make_unique<Workbench>(session);
        workbench->show();
        workbench->raise();
        workbench->activateWindow();
    };
    QObject::connect(&dialog, &MainDialog::workbenchRequested, &dialog, openWorkbench);
    // The small window has no status line: its title says what the last operation did.
    auto showTitle = [&] {
        const QString status = session.statusText();
        dialog.setWindowTitle(QStringLiteral("VELK - ") + session.fileTitle() +
                              (status.isEmpty() ? QString() : QStringLiteral(" — ") + status));
        dialog.setToolTip(status);
    };
    QObject::connect(&session, &EditorSession::statusChanged, &dialog, showTitle);
    QObject::connect(&session, &EditorSession::cleanChanged, &dialog, showTitle);
    showTitle();
    if (rom || session.project()) openWorkbench();
    // Not exec(): a modal main window would keep the workbench from taking input.
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    loop.exec();
    return 0;
}

}  // namespace velk
