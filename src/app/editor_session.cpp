#include "app/editor_session.h"

#include <QFileInfo>
#include <QUndoCommand>

#include "app/qt_text.h"
#include "app/translation_desk.h"
#include <algorithm>

#include "ops/desk_ops.h"
#include "ops/file_steps.h"
#include "ops/run_operation.h"
#include "ops/sharing_checks.h"
#include "rom/catalogues.h"
#include "rom/state_change.h"

namespace velk {
namespace {

void sortUnique(std::vector<int>& v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

// Which entries the changes touch, so that the windows read only those again.
EditorSession::Change changeOf(const std::vector<std::shared_ptr<StateChange>>& changes) {
    EditorSession::Change c{.all = false, .graphics = false, .names = {}, .texts = {}};
    for (const auto& change : changes) {
        if (!change || change->empty()) continue;
        const StateChange& s = *change;
        c.all = c.all || s.resources.whole || s.names.whole || s.colourSets.whole || s.wholeImage || s.tables;
        c.graphics = c.graphics || s.glyphs || !s.colourSets.records.empty() || !s.image.empty();
        for (const auto& r : s.names.records) c.names.push_back(r.index);
        for (const auto& r : s.resources.records) {
            if (r.index >= kFirstTextId) c.texts.push_back(r.index - kFirstTextId);
            else c.graphics = true;
        }
    }
    c.graphics = c.graphics || c.all;
    sortUnique(c.names);
    sortUnique(c.texts);
    return c;
}

}  // namespace

// One undo step: the changes of one operation, and of a save that followed it.
class EditorSession::StepCommand : public QUndoCommand {
public:
    static constexpr int kId = 1;
    StepCommand(EditorSession& session, const QString& name, std::shared_ptr<StateChange> change, bool save)
        : QUndoCommand(name), session_(session), save_(save) {
        changes_.push_back(std::move(change));
    }
    int id() const override { return kId; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const StepCommand*>(other);
        if (!next->save_) return false;
        changes_.insert(changes_.end(), next->changes_.begin(), next->changes_.end());
        return true;
    }
    void undo() override {
        for (auto c = changes_.rbegin(); c != changes_.rend(); ++c) undoChange(session_.state_, **c);
        done(QString::fromUtf8("元に戻しました: ") + text());
    }
    void redo() override {
        if (first_) {  // the operation has done it already
            first_ = false;
            return;
        }
        for (const auto& c : changes_) redoChange(session_.state_, *c);
        done(QString::fromUtf8("やり直しました: ") + text());
    }
    size_t bytesHeld() const {
        size_t n = 0;
        for (const auto& c : changes_) n += c->bytesHeld();
        return n;
    }

private:
    // The stack tells the windows once it has moved its index and clean mark.
    void done(const QString& status) {
        session_.status_ = status;
        session_.pending_ = changeOf(changes_);
        session_.stepDone_ = true;
    }
    EditorSession& session_;
    std::vector<std::shared_ptr<StateChange>> changes_;
    bool save_;
    bool first_ = true;
};

EditorSession::EditorSession(EditorState& state, Platform& platform, Dialogs& dialogs, QObject* parent)
    : QObject(parent), state_(state), platform_(platform), dialogs_(dialogs) {
    undoStack_.setUndoLimit(kUndoLimit);
    connect(&undoStack_, &QUndoStack::cleanChanged, this, &EditorSession::cleanChanged);
    connect(&undoStack_, &QUndoStack::indexChanged, this, [this] {
        if (!stepDone_) return;
        stepDone_ = false;
        documentChanged(pending_);
        emit statusChanged(status_);
    });
    forgetSteps();
    desk_ = new TranslationDesk(*this);
}

EditorSession::~EditorSession() { undoStack_.disconnect(); }

Outcome EditorSession::run(const QString& stepName, const SessionOperation& op, const std::optional<EntryScope>& scope) {
    const OpenProject* project = project_.get();
    const auto operation = [&] { return op(state_, platform_); };
    Outcome outcome = scope ? velk::runOperation(state_, *scope, operation) : velk::runOperation(state_, operation);
    QString lockNote;  // locked entries stay as they are, whatever the operation
    if (outcome.change && outcome.effect == Effect::Edit) {
        lockNote = desk_->keepLocked(*outcome.change);
        if (outcome.change->empty()) outcome.change.reset();
    }
    if (outcome.effect == Effect::Load) {
        // Another ROM is no project's build: the project closes (opening one sets its own).
        if (project_ && project_.get() == project) setProject(nullptr);
        forgetSteps();
        documentChanged(Change{});
    } else if (outcome.effect == Effect::Save) {
        if (outcome.change && undoStack_.index() == 0) undoStack_.clear();
        else if (outcome.change) undoStack_.push(new StepCommand(*this, stepName, outcome.change, true));
        if (!project_ || savingProject_) undoStack_.setClean();
        if (outcome.change) documentChanged(changeOf({outcome.change}));
    } else if (outcome.change) {
        undoStack_.push(new StepCommand(*this, stepName, outcome.change, false));
        documentChanged(changeOf({outcome.change}));
    }
    if (outcome.problem) dialogs_.showMessage(*outcome.problem);
    QString status = status_;
    if (outcome.failed() && outcome.problem)
        status = QString::fromStdString(outcome.problem->display);
    else if (!outcome.summary.empty())
        status = qtText(outcome.summary);
    else if (outcome.change && outcome.change->recordCount() > 0 && outcome.effect == Effect::Edit)
        status = QString::fromUtf8("%1: %2 件を変更しました").arg(stepName).arg(outcome.change->recordCount());
    else if (outcome.change || outcome.effect != Effect::Edit)
        status = stepName;
    if (!outcome.warnings.empty()) status += QString::fromUtf8("（警告 %1 件）").arg(outcome.warnings.size());
    if (!lockNote.isEmpty()) status = outcome.change ? status + QString::fromUtf8("（%1）").arg(lockNote) : lockNote;
    setStatus(std::move(status));
    return outcome;
}

Outcome EditorSession::runAsking(const QString& stepName, Ask ask, bool save, Operation op) {
    const std::optional<ChosenFile> file = askForFile(dialogs_, ask, save);
    if (!file) return cancelledOutcome();
    return run(stepName, [&](EditorState& s, Platform& p) { return op(s, p, file->path); });
}

void EditorSession::loaded() {
    forgetSteps();
    documentChanged(Change{});
    emit statusChanged(status_);
}

void EditorSession::forgetSteps() {
    undoStack_.clear();
    undoStack_.setClean();
    namesAsLoaded_ = state_.catalogues.names;
    textsAsLoaded_.clear();
    if (!state_.catalogues.resources.empty()) {  // nothing loaded yet
        const ConstCatalogue texts = std::as_const(state_.catalogues).texts();
        textsAsLoaded_.assign(texts.begin(), texts.end());
    }
    if (desk_) desk_->readOriginals();
    if (!state_.loaded.path.empty())
        status_ = QString::fromUtf8("%1 を読み込みました").arg(QString::fromStdString(state_.loaded.path.filename().string()));
}

void EditorSession::setStatus(QString status) {
    status_ = std::move(status);
    emit statusChanged(status_);
}

void EditorSession::documentChanged(const Change& change) {
    spaceNote_ = state_.catalogues.resources.empty() ? QString() : qtText(velk::spaceNote(state_));
    emit changed(change);
}

Outcome EditorSession::reload(const QString& stepName) {
    const std::optional<ChosenFile> file = askForFile(dialogs_, Ask::OpenRom, false);
    if (!file) return cancelledOutcome();
    return reload(stepName, *file);
}

Outcome EditorSession::reload(const QString& stepName, const ChosenFile& file) {
    Result<LoadedRom> rom = loadRomFile(platform_, file.path, state_.tables);
    if (!rom) return run(stepName, [&](EditorState&, Platform&) { return failedWith(rom.problem()); });
    if (!settleUnsavedEdits()) return cancelledOutcome();
    return run(stepName, [&](EditorState& s, Platform& p) { return installLoadedRom(s, p, file.path, std::move(*rom)); });
}

bool EditorSession::settleUnsavedEdits() {
    if (!isModified()) return true;
    switch (dialogs_.askToSaveChanges(saveBeforeReloadQuestion(state_), true)) {
        case Dialogs::SaveChoice::Save: return saveInPlace().done();
        case Dialogs::SaveChoice::Discard: return true;
        case Dialogs::SaveChoice::Cancel: return false;
    }
    return false;
}

void EditorSession::setProject(std::unique_ptr<OpenProject> project) {
    project_ = std::move(project);
    emit projectChanged();
}

Outcome EditorSession::saveInPlace() {
    const QString step = tr("保存");
    if (!project_) {
        const std::filesystem::path loaded = state_.loaded.path;
        return run(step, [&](EditorState& s, Platform& p) { return saveRom(s, p, loaded); });
    }
    savingProject_ = true;
    const Outcome saved = run(step, [this](EditorState& s, Platform& p) { return saveProjectFiles(s, p, *project_); });
    savingProject_ = false;
    if (saved.done()) emit projectSaved();
    return saved;
}

size_t EditorSession::bytesHeld() const {
    size_t n = 0;
    std::function<void(const QUndoCommand*)> add = [&](const QUndoCommand* c) {  // steps of the desk hold none
        if (const auto* step = dynamic_cast<const StepCommand*>(c)) n += step->bytesHeld();
        for (int i = 0; i < c->childCount(); ++i) add(c->child(i));
    };
    for (int i = 0; i < undoStack_.count(); ++i) add(undoStack_.command(i));
    return n;
}

QString EditorSession::fileTitle() const {
    QString name = state_.loaded.path.empty() ? QStringLiteral("VELK")
                                              : QFileInfo(QString::fromStdString(state_.loaded.path.string())).fileName();
    if (project_) name = QString::fromStdString(projectName(project_->base, project_->dir)) + QStringLiteral(" (") + name + u')';
    if (isModified()) name += QStringLiteral(" *");
    return name;
}

}  // namespace velk
