// The translation desk beside the document: each name's and text's original
// (原文), its status and note (a DeskBook), the glossary and the repeats.
// Status and note changes are undo steps on the session's stack, and locked
// entries are kept out of every edit the session runs.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoCommand>
#include <optional>
#include <string>
#include <vector>

#include "ops/entry_ops.h"
#include "rom/state_change.h"
#include "text/desk_status.h"
#include "text/glossary.h"

namespace velk {

class EditorSession;

CodeKind codeKindOf(EntryKind kind);

// The window's word for a status: 未翻訳, 下訳, 要確認, 確認済, 固定.
QString deskStatusName(DeskStatus status);

class TranslationDesk : public QObject {
    Q_OBJECT

public:
    explicit TranslationDesk(EditorSession& session);

    // The entry's original as its file form gives it (line breaks as CR LF).
    const QString& original(EntryKind kind, int index) const;
    size_t count(EntryKind kind) const;
    // The entry's form as the document now holds it (line breaks as CR LF).
    QString current(EntryKind kind, int index) const;

    DeskStatus status(EntryKind kind, int index) const;
    DeskStatus status(EntryKind kind, int index, bool equalsOriginal) const;
    bool locked(EntryKind kind, int index) const;
    QString note(EntryKind kind, int index) const;
    // The project's statuses and notes, or without a project the window's own.
    const DeskBook& book() const;

    // Undo steps: the status of `rows` (nothing: the implicit one), or a note.
    // Locking records each entry's text as it stands.
    void setStatus(EntryKind kind, const std::vector<int>& rows, std::optional<DeskStatus> status);
    void setNote(EntryKind kind, int index, const QString& note);
    // The note's step, to push with an edit as one step; null when the note is unchanged.
    QUndoCommand* noteCommand(EntryKind kind, int index, const QString& note, QUndoCommand* parent = nullptr);

    const std::vector<GlossaryTerm>& glossary() const;
    void addTerm(GlossaryTerm term);

    // The other entries of the kind whose original is the same text.
    std::vector<int> repeatsOf(EntryKind kind, int index) const;

    // Puts locked entries that `change` changed back as they were and takes
    // them out of it; the words for the status line when there were any.
    QString keepLocked(StateChange& change);

    // Reads the originals again: the project's base, or the entries as loaded.
    void readOriginals();

signals:
    // Statuses or notes of these entries changed (a step, an undo or a redo).
    void entriesChanged(velk::EntryKind kind, const std::vector<int>& rows);
    void originalsChanged();
    void glossaryChanged();

private:
    class LineCommand;
    DeskBook& bookToEdit();
    std::vector<GlossaryTerm>& glossaryToEdit();

    EditorSession& session_;
    const void* readFrom_ = nullptr;  // the project whose base the originals are
    DeskBook ownBook_;  // without a project, in memory only
    std::vector<GlossaryTerm> ownGlossary_;
    std::vector<QString> names_, texts_;
    std::vector<int> nameGroup_, textGroup_;  // each entry's repeat group, -1 for none
    std::vector<std::vector<size_t>> nameRepeats_, textRepeats_;
};

}  // namespace velk
