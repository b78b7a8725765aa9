#include "app/editor_app.h"

#include "app/main_dialog.h"
#include "app/qt_platform.h"

namespace velk {

int EditorApp::run() {
    MainDialog dialog(state_, platform_);
    if (auto* qt = dynamic_cast<QtPlatform*>(&platform_)) qt->setParent(&dialog);
    if (!dialog.initialise()) return 0;
    dialog.exec();
    return 0;
}

}  // namespace velk
