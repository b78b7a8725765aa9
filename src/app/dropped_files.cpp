#include "app/dropped_files.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>

#include "app/editor_session.h"
#include "app/file_commands.h"
#include "app/qt_text.h"
#include "ops/png_ops.h"

namespace velk {
namespace {

struct DroppedFiles {
    Q_DECLARE_TR_FUNCTIONS(DroppedFiles)
};

}  // namespace

DropKind dropKindOf(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return DropKind::FacePngFolder;
    const QString suffix = info.suffix().toLower();
    if (suffix == QStringLiteral("smc") || suffix == QStringLiteral("sfc") || suffix == QStringLiteral("bin")) return DropKind::Rom;
    if (suffix == QStringLiteral("txt")) return DropKind::TextFile;
    if (suffix == QStringLiteral("png")) return DropKind::UnitPng;
    return DropKind::Unknown;
}

std::optional<DropKind> askTextKind(QWidget* parent, const QString& name) {
    const QStringList kinds = {DroppedFiles::tr("変更スクリプト（適用する）"), DroppedFiles::tr("テキスト集（読み込む）"),
                               DroppedFiles::tr("名前リスト（読み込む）")};
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, QStringLiteral("VELK"), DroppedFiles::tr("%1 は:").arg(name), kinds, 0, false, &ok);
    if (!ok) return std::nullopt;
    const DropKind answers[] = {DropKind::ChangeScript, DropKind::TextCollection, DropKind::NameList};
    return answers[kinds.indexOf(chosen)];
}

void dropFiles(QWidget& window, EditorSession& session, FileCommands& files, const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        const std::filesystem::path file = filePath(path);
        DropKind kind = dropKindOf(path);
        if (kind == DropKind::Rom) {
            files.openFile(path);
            continue;
        }
        if (session.state().loaded.path.empty()) continue;  // nothing to import into
        if (kind == DropKind::TextFile) {
            const std::optional<DropKind> asked = askTextKind(&window, QFileInfo(path).fileName());
            if (!asked) continue;
            kind = *asked;
        }
        const struct { DropKind kind; const char* step; Operation op; } steps[] = {
            {DropKind::ChangeScript, QT_TRANSLATE_NOOP("DroppedFiles", "変更スクリプトの適用"), applyChangeScript},
            {DropKind::TextCollection, QT_TRANSLATE_NOOP("DroppedFiles", "テキストの読み込み"), importTextCollection},
            {DropKind::NameList, QT_TRANSLATE_NOOP("DroppedFiles", "名前リストの読み込み"), importNameList},
            {DropKind::FacePngFolder, QT_TRANSLATE_NOOP("DroppedFiles", "顔グラフィック PNG の読み込み"), importFacesPngFrom},
            {DropKind::UnitPng, QT_TRANSLATE_NOOP("DroppedFiles", "ユニットグラフィック PNG の読み込み"), importUnitsPngFrom},
        };
        for (const auto& s : steps)
            if (s.kind == kind) session.run(DroppedFiles::tr(s.step), [&](EditorState& st, Platform& p) { return s.op(st, p, file); });
    }
}

}  // namespace velk
