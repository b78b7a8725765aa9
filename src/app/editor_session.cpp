#include "app/editor_session.h"

#include <QFileInfo>
#include <QUndoCommand>

#include "app/qt_text.h"

namespace velk {

// The part of the state an edit changes, before and after it.
struct EditorSession::Step {
    struct Part {
        RomImage image;
        CharTables tables;
        Catalogues catalogues;
        std::array<uint8_t, kGlyphSheetSize> glyphSheet;
        bool glyphSheetLoaded;
    };
    Part before, after;

    static Part of(const EditorState& s) { return {s.image, s.tables, s.catalogues, s.glyphSheet, s.glyphSheetLoaded}; }
    static void put(EditorState& s, const Part& p) {
        s.image = p.image;
        s.tables = p.tables;
        s.catalogues = p.catalogues;
        s.glyphSheet = p.glyphSheet;
        s.glyphSheetLoaded = p.glyphSheetLoaded;
    }
    static bool same(const Part& p, const EditorState& s) {
        auto sameEntries = [](const std::vector<ResourceEntry>& a, const std::vector<ResourceEntry>& b) {
            if (a.size() != b.size()) return false;
            for (size_t i = 0; i < a.size(); ++i)
                if (a[i].packed != b[i].packed || a[i].unpacked != b[i].unpacked || a[i].romOffset != b[i].romOffset)
                    return false;
            return true;
        };
        return p.image.bytes == s.image.bytes && p.tables == s.tables && p.glyphSheet == s.glyphSheet &&
               p.glyphSheetLoaded == s.glyphSheetLoaded && sameEntries(p.catalogues.resources, s.catalogues.resources) &&
               sameEntries(p.catalogues.colourSets, s.catalogues.colourSets) &&
               sameEntries(p.catalogues.names, s.catalogues.names);
    }
};

class EditorSession::StepCommand : public QUndoCommand {
public:
    StepCommand(EditorSession& session, const QString& name, std::unique_ptr<Step> step)
        : QUndoCommand(name), session_(session), step_(std::move(step)) {}
    void undo() override { apply(step_->before); }
    void redo() override {
        if (first_) {  // the operation has done it already
            first_ = false;
            return;
        }
        apply(step_->after);
    }

private:
    void apply(const Step::Part& part) {
        Step::put(session_.state_, part);
        session_.status_ = text();
        session_.notify();
    }
    EditorSession& session_;
    std::unique_ptr<Step> step_;
    bool first_ = true;
};

EditorSession::EditorSession(EditorState& state, Platform& platform) : state_(state), platform_(platform) {
    undoStack_.setUndoLimit(kUndoLimit);
    QObject::connect(&undoStack_, &QUndoStack::cleanChanged, [this](bool clean) {
        state_.unsavedEdits = !clean;
        notify();
    });
    loaded();
}

EditorSession::~EditorSession() { undoStack_.disconnect(); }

Outcome EditorSession::run(const QString& stepName, const SessionOperation& op) {
    auto step = std::make_unique<Step>();
    step->before = Step::of(state_);
    Outcome outcome = op(state_, platform_);
    if (!Step::same(step->before, state_)) {
        step->after = Step::of(state_);
        undoStack_.push(new StepCommand(*this, stepName, std::move(step)));
    }
    recordOutcome(stepName, outcome);
    return outcome;
}

Outcome EditorSession::runOperation(const QString& stepName, Operation op) {
    auto legacy = [op](EditorState& s, Platform& p) {
        op(s, p);
        return doneOutcome({});
    };
    if (op == saveRomOperation) {
        const bool wasUnsaved = state_.unsavedEdits;
        state_.unsavedEdits = true;  // tells a save that happened from one that did not
        op(state_, platform_);
        if (!state_.unsavedEdits) {
            saved();
            status_ = QString::fromUtf8("保存しました");
        } else {
            state_.unsavedEdits = wasUnsaved;
        }
        notify();
        return doneOutcome({});
    }
    if (op == reloadRomOperation) {
        const std::filesystem::path before = state_.loadedPath;
        const auto identity = state_.loadedIdentity;
        op(state_, platform_);
        if (state_.loadedPath != before || !(state_.loadedIdentity == identity)) loaded();
        return doneOutcome({});
    }
    return run(stepName, legacy);
}

void EditorSession::recordOutcome(const QString& stepName, const Outcome& outcome) {
    if (outcome.failed() && outcome.problem)
        status_ = QString::fromStdString(outcome.problem->display);
    else if (!outcome.summary.empty())
        status_ = qtText(outcome.summary);
    else if (outcome.done() && undoStack_.count() > 0 && undoStack_.command(undoStack_.index() - 1) &&
             undoStack_.command(undoStack_.index() - 1)->text() == stepName)
        status_ = stepName;
    if (!outcome.warnings.empty())
        status_ += QString::fromUtf8("（警告 %1 件）").arg(outcome.warnings.size());
    notify();
}

void EditorSession::loaded() {
    undoStack_.clear();
    undoStack_.setClean();
    namesAsLoaded_ = state_.catalogues.names;
    const ConstCatalogue texts = std::as_const(state_.catalogues).texts();
    textsAsLoaded_.assign(texts.begin(), texts.end());
    state_.unsavedEdits = false;
    if (!state_.loadedPath.empty()) status_ = QString::fromUtf8("読み込みました");
    notify();
}

void EditorSession::saved() {
    undoStack_.setClean();
    state_.unsavedEdits = false;
}

QString EditorSession::fileTitle() const {
    QString name = state_.loadedPath.empty() ? QStringLiteral("VELK")
                                              : QFileInfo(QString::fromStdString(state_.loadedPath.string())).fileName();
    if (state_.unsavedEdits) name += QStringLiteral(" *");
    return name;
}

void EditorSession::setSpaceNote(const QString& note) {
    spaceNote_ = note;
    notify();
}

int EditorSession::onChange(std::function<void()> listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void EditorSession::removeListener(int id) {
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void EditorSession::notify() {
    const auto listeners = listeners_;
    for (const auto& l : listeners) l.second();
}

}  // namespace velk
