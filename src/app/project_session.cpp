#include "app/project_session.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>

#include "app/file_questions.h"
#include "app/qt_text.h"
#include "ops/desk_ops.h"
#include "ops/operations.h"
#include "ops/project_ops.h"
#include "text/sjis.h"

namespace velk {
namespace {

QSettings settings() { return QSettings(QStringLiteral("VELK"), QStringLiteral("velk")); }

QString pathText(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// Editors' swap and backup files are no part of the project.
bool passedOver(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.empty() || name.front() == '.' || name.back() == '~';
}

constexpr int kSettleMs = 200;

}  // namespace

ProjectSession::ProjectSession(EditorSession& session) : QObject(&session), session_(session) {
    setObjectName(QStringLiteral("ProjectSession"));
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&settle_, &QTimer::timeout, this, &ProjectSession::filesChanged);
    // What a save wrote is no change from outside.
    connect(&session_, &EditorSession::projectSaved, this, [this] { seen_ = snapshot(); });
    connect(&session_, &EditorSession::changed, this, &ProjectSession::entriesChanged);
    // A project opened by a load is counted once the load's change arrives.
    connect(&session_, &EditorSession::projectChanged, this, [this] {
        if (!opening_) entriesChanged(EditorSession::Change{});
    });
}

QString ProjectSession::baseKey(const std::filesystem::path& dir) {
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(dir.string()), QCryptographicHash::Sha1);
    return QStringLiteral("projectBases/") + QString::fromLatin1(hash.toHex());
}

Outcome ProjectSession::open(const std::filesystem::path& folder) {
    Platform& platform = session_.platform();
    const std::filesystem::path dir = platform.resolvedPath(folder);
    const std::filesystem::path projectFile = dir / kProjectFileName;
    // No base is asked for a folder that holds no project.
    if (Result<std::vector<uint8_t>> there = readFileAt(platform, projectFile, 1); !there) {
        Outcome missing = failedWith(there.problem());
        return session_.run(tr("プロジェクトを開く"), [&](EditorState&, Platform&) { return std::move(missing); });
    }
    const QString remembered = settings().value(baseKey(dir)).toString();
    if (!remembered.isEmpty()) {
        const std::filesystem::path rom = QFile::encodeName(remembered).toStdString();
        // A file that moved, or is another ROM now, is asked for again; a
        // project that does not build on its base is reported.
        bool refused = false;
        if (platform.fileIdentity(rom))
            if (Outcome o = openOn(dir, rom, &refused); !refused) return o;
    }
    const std::optional<ChosenFile> rom = askForFile(session_.dialogs(), Ask::OpenRom, false);
    if (!rom) return cancelledOutcome();
    return openOn(dir, rom->path);
}

Outcome ProjectSession::openAsking() {
    const std::optional<ChosenFile> dir = session_.dialogs().folderDialog({});
    if (!dir) return cancelledOutcome();
    return open(dir->path);
}

Outcome ProjectSession::openOn(const std::filesystem::path& dir, const std::filesystem::path& romPath, bool* refused) {
    Platform& platform = session_.platform();
    const QString step = tr("プロジェクトを開く");
    auto stop = [&](Outcome o) { return session_.run(step, [&](EditorState&, Platform&) { return std::move(o); }); };
    Result<LoadedRom> rom = loadRomFile(platform, romPath, builtInCharTables());
    if (!rom && refused) *refused = true;
    if (!rom) return refused ? failedWith(rom.problem()) : stop(failedWith(rom.problem()));
    EditorState built;
    built.options = session_.state().options;
    (void)installLoadedRom(built, platform, romPath, std::move(*rom));
    if (refused)
        if (Result<ProjectBase> base = openProjectBase(built, platform, dir, false); !base) {
            *refused = true;
            return failedWith(base.problem());
        }
    auto project = std::make_unique<OpenProject>();
    Outcome opened = openProjectOn(built, platform, dir, *project);
    if (!opened.done()) return stop(std::move(opened));
    opened.effect = Effect::Load;
    opening_ = true;
    const Outcome shown = session_.run(step, [&](EditorState& s, Platform&) {
        s = std::move(built);
        session_.setProject(std::move(project));  // before the windows hear of the new document
        return std::move(opened);
    });
    opening_ = false;
    settings().setValue(baseKey(dir), QFile::decodeName(QByteArray::fromStdString(romPath.string())));
    watch();
    return shown;
}

Outcome ProjectSession::save() {
    if (!session_.project()) return cancelledOutcome();
    return session_.saveInPlace();
}

Outcome ProjectSession::exportAsking() {
    const std::optional<ChosenFile> folder = session_.dialogs().folderDialog({});
    if (!folder) return cancelledOutcome();
    const std::filesystem::path dir = session_.platform().resolvedPath(folder->path);
    const Outcome exported = session_.run(tr("プロジェクトとして書き出す"), [&](EditorState& s, Platform& p) {
        return exportProjectTo(s, p, dir);
    });
    if (!exported.done()) return exported;
    // The open ROM is the new project's base: the build finds every file as exported.
    auto project = std::make_unique<OpenProject>();
    const Outcome opened = session_.run(tr("プロジェクトを開く"), [&](EditorState& s, Platform& p) {
        return openProjectOn(s, p, dir, *project);
    });
    if (!opened.done()) return opened;
    // Only a file on disk can be its base next time.
    const EditorState& s = session_.state();
    if (!session_.isModified() && !s.loaded.path.empty())
        settings().setValue(baseKey(dir), QFile::decodeName(QByteArray::fromStdString(s.loaded.path.string())));
    session_.setProject(std::move(project));
    watch();
    return exported;
}

Outcome ProjectSession::rebuild() {
    OpenProject* project = session_.project();
    if (!project) return cancelledOutcome();
    const std::filesystem::path dir = project->dir, rom = session_.state().loaded.path;
    if (session_.isModified()) {
        const std::string question = sjisText(tr("プロジェクトのファイルが変わりました。読み直す前に編集を保存しますか？"));
        switch (session_.dialogs().askToSaveChanges(question, true)) {
            case Dialogs::SaveChoice::Save:
                if (const Outcome saved = save(); !saved.done()) return saved;
                break;
            case Dialogs::SaveChoice::Discard: break;
            case Dialogs::SaveChoice::Cancel: return cancelledOutcome();
        }
    }
    const Outcome o = openOn(dir, rom);
    if (!o.done()) watch();  // the files may be fixed: keep watching them
    return o;
}

std::map<std::filesystem::path, std::optional<FileIdentity>> ProjectSession::snapshot() const {
    std::map<std::filesystem::path, std::optional<FileIdentity>> files;
    const OpenProject* project = session_.project();
    if (!project) return files;
    Platform& platform = session_.platform();
    for (const std::filesystem::path& path : projectWatchPaths(platform, project->dir)) {
        if (passedOver(path)) continue;
        std::optional<FileIdentity> id = platform.fileIdentity(path);
        if (!id || id->kind != FileIdentity::Kind::Folder) files[path] = id;
    }
    return files;
}

void ProjectSession::watch() {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    const OpenProject* project = session_.project();
    if (!project) return;
    QStringList paths;
    for (const std::filesystem::path& path : projectWatchPaths(session_.platform(), project->dir))
        if (!passedOver(path)) paths << pathText(path);
    watcher_.addPaths(paths);
    seen_ = snapshot();
}

void ProjectSession::filesChanged() {
    if (!session_.project()) return;
    auto now = snapshot();
    if (now == seen_) {
        watch();  // a file replaced by a rename is watched again under its name
        return;
    }
    seen_ = std::move(now);
    rebuild();
}

void ProjectSession::entriesChanged(const EditorSession::Change& change) {
    const OpenProject* project = session_.project();
    const EditorState& state = session_.state();
    if (!project || state.catalogues.names.size() != project->original.catalogues.names.size()) {
        namesSame_.clear();
        textsSame_.clear();
    } else {
        const size_t names = state.catalogues.names.size(), texts = state.catalogues.texts().size();
        // Texts read the names they refer to: a changed name reads them all again.
        const bool allNames = change.all || namesSame_.size() != names;
        const bool allTexts = allNames || !change.names.empty() || textsSame_.size() != texts;
        namesSame_.resize(names);
        textsSame_.resize(texts);
        if (allNames)
            for (size_t i = 0; i < names; ++i) namesSame_[i] = project->namesEqual(state, i);
        else
            for (const int i : change.names) namesSame_[static_cast<size_t>(i)] = project->namesEqual(state, static_cast<size_t>(i));
        if (allTexts)
            for (size_t i = 0; i < texts; ++i) textsSame_[i] = project->textsEqual(state, i);
        else
            for (const int i : change.texts) textsSame_[static_cast<size_t>(i)] = project->textsEqual(state, static_cast<size_t>(i));
    }
    refreshProgress();
}

void ProjectSession::refreshProgress() {
    const OpenProject* project = session_.project();
    QString text;
    if (project && !namesSame_.empty()) {
        const DeskFigures names =
            deskFigures(project->book, CodeKind::Name, namesSame_.size(), [&](size_t i) { return namesSame_[i] != 0; });
        const DeskFigures texts =
            deskFigures(project->book, CodeKind::Text, textsSame_.size(), [&](size_t i) { return textsSame_[i] != 0; });
        // "1,234": the separator the figures of `stats` leave out, whatever the locale.
        const QLocale english(QLocale::English);
        auto percent = [](const DeskFigures& f) { return f.total ? f.translated() * 100 / f.total : 0; };
        text = tr("名前 %1 / %2 (%3%)  テキスト %4 / %5 (%6%)")
                   .arg(english.toString(qulonglong{names.translated()}), english.toString(qulonglong{names.total}))
                   .arg(percent(names))
                   .arg(english.toString(qulonglong{texts.translated()}), english.toString(qulonglong{texts.total}))
                   .arg(percent(texts));
    }
    if (text == progress_) return;
    progress_ = text;
    emit progressChanged(progress_);
}

ProjectSession& projectSessionOf(EditorSession& session) {
    if (auto* existing = session.findChild<ProjectSession*>(QStringLiteral("ProjectSession"), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new ProjectSession(session);
}

void addProjectActions(QMenu* file, EditorSession& session) {
    ProjectSession& projects = projectSessionOf(session);
    file->addAction(ProjectSession::tr("プロジェクトを開く(&P)..."), &projects, [&projects] { projects.openAsking(); });
    file->addAction(ProjectSession::tr("プロジェクトとして書き出す(&J)..."), &projects, [&projects] { projects.exportAsking(); });
}

void addProgressLabel(QStatusBar* bar, EditorSession& session) {
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("DeskProgress"));
    ProjectSession& projects = projectSessionOf(session);
    label->setText(projects.progressText());
    QObject::connect(&projects, &ProjectSession::progressChanged, label, &QLabel::setText);
    bar->addPermanentWidget(label);
}

}  // namespace velk
