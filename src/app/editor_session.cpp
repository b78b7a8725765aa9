#include "app/editor_session.h"

#include <QFileInfo>
#include <QUndoCommand>

#include "app/qt_text.h"
#include <algorithm>

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
    EditorSession::Change c{.all = false, .state = false, .graphics = false, .names = {}, .texts = {}};
    for (const auto& change : changes) {
        if (!change || change->empty()) continue;
        const StateChange& s = *change;
        c.state = true;
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
        session_.change_ = changeOf(changes_);
        session_.stepDone_ = true;
    }
    EditorSession& session_;
    std::vector<std::shared_ptr<StateChange>> changes_;
    bool save_;
    bool first_ = true;
};

EditorSession::EditorSession(EditorState& state, Platform& platform) : state_(state), platform_(platform) {
    undoStack_.setUndoLimit(kUndoLimit);
    QObject::connect(&undoStack_, &QUndoStack::cleanChanged, [this](bool clean) { state_.unsavedEdits = !clean; });
    QObject::connect(&undoStack_, &QUndoStack::indexChanged, [this] {
        if (!stepDone_) return;
        stepDone_ = false;
        state_.unsavedEdits = !undoStack_.isClean();
        notify(change_);
    });
    loaded();
}

EditorSession::~EditorSession() { undoStack_.disconnect(); }

Outcome EditorSession::run(const QString& stepName, const SessionOperation& op, Kind kind) {
    const std::filesystem::path loadedBefore = state_.loadedPath;
    const auto identityBefore = state_.loadedIdentity;
    Outcome outcome = velk::runOperation(state_, [&] { return op(state_, platform_); });
    const bool newFile = state_.loadedPath != loadedBefore || !(state_.loadedIdentity == identityBefore);
    Change change = changeOf({outcome.change});
    if (outcome.matchesRomFile && (newFile || kind == Kind::Load)) {
        forgetSteps();
        change = Change{};
    } else if (outcome.matchesRomFile) {  // a save
        if (outcome.change && undoStack_.index() == 0) undoStack_.clear();
        else if (outcome.change) undoStack_.push(new StepCommand(*this, stepName, outcome.change, true));
        undoStack_.setClean();
        state_.unsavedEdits = false;
    } else if (outcome.change) {
        undoStack_.push(new StepCommand(*this, stepName, outcome.change, false));
    }
    if (outcome.problem) platform_.showMessage(*outcome.problem);
    if (outcome.failed() && outcome.problem)
        status_ = QString::fromStdString(outcome.problem->display);
    else if (!outcome.summary.empty())
        status_ = qtText(outcome.summary);
    else if (outcome.change && outcome.change->recordCount() > 0 && !outcome.matchesRomFile)
        status_ = QString::fromUtf8("%1: %2 件を変更しました").arg(stepName).arg(outcome.change->recordCount());
    else if (outcome.change || outcome.matchesRomFile)
        status_ = stepName;
    if (!outcome.warnings.empty()) status_ += QString::fromUtf8("（警告 %1 件）").arg(outcome.warnings.size());
    notify(std::move(change));
    return outcome;
}

Outcome EditorSession::runOperation(const QString& stepName, Operation op) {
    return run(stepName, op, op == reloadRomOperation ? Kind::Load : Kind::Edit);
}

void EditorSession::loaded() {
    forgetSteps();
    notify();
}

void EditorSession::forgetSteps() {
    undoStack_.clear();
    undoStack_.setClean();
    namesAsLoaded_ = state_.catalogues.names;
    const ConstCatalogue texts = std::as_const(state_.catalogues).texts();
    textsAsLoaded_.assign(texts.begin(), texts.end());
    state_.unsavedEdits = false;
    if (!state_.loadedPath.empty())
        status_ = QString::fromUtf8("%1 を読み込みました").arg(QString::fromStdString(state_.loadedPath.filename().string()));
}

size_t EditorSession::bytesHeld() const {
    size_t n = 0;
    for (int i = 0; i < undoStack_.count(); ++i) n += static_cast<const StepCommand*>(undoStack_.command(i))->bytesHeld();
    return n;
}

QString EditorSession::fileTitle() const {
    QString name = state_.loadedPath.empty() ? QStringLiteral("VELK")
                                              : QFileInfo(QString::fromStdString(state_.loadedPath.string())).fileName();
    if (state_.unsavedEdits) name += QStringLiteral(" *");
    return name;
}

int EditorSession::onChange(std::function<void()> listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void EditorSession::removeListener(int id) {
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void EditorSession::notify() { notify(Change{}); }

void EditorSession::notify(Change change) {
    change_ = std::move(change);
    if (change_.state) spaceNote_ = state_.catalogues.resources.empty() ? QString() : qtText(velk::spaceNote(state_));
    const auto listeners = listeners_;
    for (const auto& l : listeners) l.second();
}

}  // namespace velk
