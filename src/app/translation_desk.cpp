#include "app/translation_desk.h"

#include <QCoreApplication>
#include <algorithm>

#include "app/editor_session.h"
#include "app/project_session.h"
#include "app/qt_text.h"
#include "image/parallel.h"
#include "ops/desk_ops.h"
#include "rom/catalogues.h"
#include "text/decode.h"
#include "text/name_list.h"

namespace velk {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("TranslationDesk", text); }

std::string nameForm(const NameEntry& name) {
    const std::vector<uint8_t> line = nameListBytes(ConstNameCatalogue(&name, 1));
    return std::string(line.begin() + kNameLabelLength, line.end() - 2);
}

// Each entry's repeat group (-1 for none), from the groups.
std::vector<int> groupIndex(size_t n, const std::vector<std::vector<size_t>>& groups) {
    std::vector<int> out(n, -1);
    for (size_t g = 0; g < groups.size(); ++g)
        for (const size_t i : groups[g]) out[i] = static_cast<int>(g);
    return out;
}

}  // namespace

CodeKind codeKindOf(EntryKind kind) { return kind == EntryKind::Name ? CodeKind::Name : CodeKind::Text; }

QString deskStatusName(DeskStatus status) {
    switch (status) {
        case DeskStatus::Untranslated: return tr("未翻訳");
        case DeskStatus::Draft: return tr("下訳");
        case DeskStatus::Review: return tr("要確認");
        case DeskStatus::Done: return tr("確認済");
        case DeskStatus::Locked: return tr("固定");
    }
    return {};
}

// One step over the lines of some entries: each line before and after.
class TranslationDesk::LineCommand : public QUndoCommand {
public:
    struct Edit {
        int index;
        std::optional<DeskLine> before, after;
    };
    LineCommand(TranslationDesk& desk, EntryKind kind, std::vector<Edit> edits, const QString& name, QUndoCommand* parent)
        : QUndoCommand(name, parent), desk_(desk), kind_(kind), edits_(std::move(edits)) {}
    void undo() override {
        put(false);
        desk_.session_.showStatus(QString::fromUtf8("元に戻しました: ") + text());
    }
    void redo() override {
        put(true);
        if (!first_) desk_.session_.showStatus(QString::fromUtf8("やり直しました: ") + text());
        first_ = false;
    }

private:
    void put(bool after) {
        std::vector<int> rows;
        const CodeKind kind = codeKindOf(kind_);
        for (const Edit& e : edits_) {
            const std::optional<DeskLine>& line = after ? e.after : e.before;
            desk_.bookToEdit().setStatus(kind, e.index, line ? line->status : std::nullopt, line ? line->lockedSha1 : std::string());
            desk_.bookToEdit().setNote(kind, e.index, line ? line->note : std::string());
            rows.push_back(e.index);
        }
        if (desk_.session_.project()) projectSessionOf(desk_.session_).refreshProgress();
        emit desk_.entriesChanged(kind_, rows);
    }
    TranslationDesk& desk_;
    EntryKind kind_;
    std::vector<Edit> edits_;
    bool first_ = true;  // the push's own redo: the step's words are shown by who pushed it
};

TranslationDesk::TranslationDesk(EditorSession& session) : QObject(&session), session_(session) {
    readOriginals();
    connect(&session, &EditorSession::projectChanged, this, &TranslationDesk::readOriginals);
}

void TranslationDesk::readOriginals() {
    // In a project, the base before the build; otherwise the entries as loaded.
    const OpenProject* project = session_.project();
    if (project && project == readFrom_) return;  // its load reads them again
    readFrom_ = project;
    const CharTables& tables = project ? project->original.tables : session_.state().tables;
    const ConstNameCatalogue names = project ? ConstNameCatalogue(project->original.catalogues.names)
                                             : ConstNameCatalogue(session_.namesAsLoaded());
    const ConstCatalogue texts = project ? project->original.catalogues.texts() : ConstCatalogue(session_.textsAsLoaded());
    std::vector<std::string> nameForms(names.size()), textForms(texts.size());
    names_.assign(names.size(), {});
    texts_.assign(texts.size(), {});
    parallelFor(names.size(), [&](size_t i) {
        nameForms[i] = nameForm(names[i]);
        names_[i] = qtText(nameForms[i]);
    });
    const bool decoded = project && project->originalTexts.size() == texts.size();  // the project read them already
    parallelFor(texts.size(), [&](size_t i) {
        textForms[i] = decoded ? project->originalTexts[i] : decodeText(texts, static_cast<int>(i), names, tables);
        texts_[i] = qtText(textForms[i]);
    });
    nameRepeats_ = repeatGroups(nameForms);
    textRepeats_ = repeatGroups(textForms);
    nameGroup_ = groupIndex(names.size(), nameRepeats_);
    textGroup_ = groupIndex(texts.size(), textRepeats_);
    ownBook_ = DeskBook{};
    emit originalsChanged();
}

const DeskBook& TranslationDesk::book() const { return session_.project() ? session_.project()->book : ownBook_; }
DeskBook& TranslationDesk::bookToEdit() { return session_.project() ? session_.project()->book : ownBook_; }
const std::vector<GlossaryTerm>& TranslationDesk::glossary() const {
    return session_.project() ? session_.project()->glossary : ownGlossary_;
}
std::vector<GlossaryTerm>& TranslationDesk::glossaryToEdit() {
    return session_.project() ? session_.project()->glossary : ownGlossary_;
}

const QString& TranslationDesk::original(EntryKind kind, int index) const {
    static const QString none;
    const std::vector<QString>& list = kind == EntryKind::Name ? names_ : texts_;
    return index >= 0 && static_cast<size_t>(index) < list.size() ? list[static_cast<size_t>(index)] : none;
}

size_t TranslationDesk::count(EntryKind kind) const { return kind == EntryKind::Name ? names_.size() : texts_.size(); }

QString TranslationDesk::current(EntryKind kind, int index) const { return qtText(entryForm(session_.state(), kind, index)); }

DeskStatus TranslationDesk::status(EntryKind kind, int index, bool equalsOriginal) const {
    return statusOf(book(), codeKindOf(kind), index, equalsOriginal);
}

DeskStatus TranslationDesk::status(EntryKind kind, int index) const {
    const DeskLine* line = book().find(codeKindOf(kind), index);
    if (line && line->status) return *line->status;
    return statusOf(nullptr, current(kind, index) == original(kind, index));
}

bool TranslationDesk::locked(EntryKind kind, int index) const {
    const DeskLine* line = book().find(codeKindOf(kind), index);
    return line && line->status == DeskStatus::Locked;
}

QString TranslationDesk::note(EntryKind kind, int index) const {
    const DeskLine* line = book().find(codeKindOf(kind), index);
    return line ? QString::fromStdString(line->note) : QString();
}

void TranslationDesk::setStatus(EntryKind kind, const std::vector<int>& rows, std::optional<DeskStatus> status) {
    if (status == DeskStatus::Untranslated) status.reset();
    std::vector<LineCommand::Edit> edits;
    for (const int i : rows) {
        const DeskLine* line = book().find(codeKindOf(kind), i);
        LineCommand::Edit e{i, line ? std::optional<DeskLine>(*line) : std::nullopt, std::nullopt};
        DeskLine after = line ? *line : DeskLine{codeKindOf(kind), i, {}, {}, {}};
        after.status = status;
        after.lockedSha1 = status == DeskStatus::Locked ? lockedTextSha1(current(kind, i).toStdString()) : std::string();
        if (after.status || !after.note.empty()) e.after = after;
        if (e.after != e.before) edits.push_back(std::move(e));
    }
    if (edits.empty()) return;
    const QString what = status ? deskStatusName(*status) : tr("状態なし");
    const QString name = rows.size() == 1
                             ? tr("%1 を%2に").arg(qtText(entryLabel(kind, rows.front())), what)
                             : tr("%1 件を%2に").arg(rows.size()).arg(what);
    session_.undoStack().push(new LineCommand(*this, kind, std::move(edits), name, nullptr));
    session_.showStatus(name + tr("しました"));
}

QUndoCommand* TranslationDesk::noteCommand(EntryKind kind, int index, const QString& note, QUndoCommand* parent) {
    const DeskLine* line = book().find(codeKindOf(kind), index);
    if ((line ? QString::fromStdString(line->note) : QString()) == note) return nullptr;
    LineCommand::Edit e{index, line ? std::optional<DeskLine>(*line) : std::nullopt, std::nullopt};
    DeskLine after = line ? *line : DeskLine{codeKindOf(kind), index, {}, {}, {}};
    after.note = note.toStdString();
    if (after.status || !after.note.empty()) e.after = after;
    return new LineCommand(*this, kind, {std::move(e)}, tr("%1 のメモ").arg(qtText(entryLabel(kind, index))), parent);
}

void TranslationDesk::setNote(EntryKind kind, int index, const QString& note) {
    if (QUndoCommand* step = noteCommand(kind, index, note)) session_.undoStack().push(step);
}

void TranslationDesk::addTerm(GlossaryTerm term) {
    glossaryToEdit().push_back(std::move(term));
    emit glossaryChanged();
}

std::vector<int> TranslationDesk::repeatsOf(EntryKind kind, int index) const {
    const std::vector<int>& group = kind == EntryKind::Name ? nameGroup_ : textGroup_;
    const auto& groups = kind == EntryKind::Name ? nameRepeats_ : textRepeats_;
    std::vector<int> out;
    if (index < 0 || static_cast<size_t>(index) >= group.size() || group[static_cast<size_t>(index)] < 0) return out;
    for (const size_t i : groups[static_cast<size_t>(group[static_cast<size_t>(index)])])
        if (static_cast<int>(i) != index) out.push_back(static_cast<int>(i));
    return out;
}

QString TranslationDesk::keepLocked(StateChange& change) {
    Catalogues& c = session_.state().catalogues;
    size_t kept = 0;
    std::erase_if(change.names.records, [&](RecordChange<NameEntry>& r) {
        if (r.bytesKept || !locked(EntryKind::Name, r.index)) return false;
        NameEntry& now = c.names[static_cast<size_t>(r.index)];
        if (now.code == r.other.code && now.text == r.other.text) return false;
        now = std::move(r.other);
        return ++kept, true;
    });
    std::erase_if(change.resources.records, [&](RecordChange<ResourceEntry>& r) {
        if (r.bytesKept || r.index < kFirstTextId || !locked(EntryKind::Text, r.index - kFirstTextId)) return false;
        ResourceEntry& now = c.resources[static_cast<size_t>(r.index)];
        if (now.unpacked == r.other.unpacked) return false;
        now = std::move(r.other);
        return ++kept, true;
    });
    return kept ? tr("固定された %1 件は変更しませんでした").arg(kept) : QString();
}

}  // namespace velk
