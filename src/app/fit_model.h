// The box rules the window measures names and texts against, the names'
// widths as they stand, and which entries do not fit them, kept current as
// the session changes (a renamed name re-measures the texts that use it).
#pragma once

#include <QObject>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "app/editor_session.h"
#include "ops/entry_ops.h"
#include "text/line_width.h"

namespace velk {

class FitModel : public QObject {
    Q_OBJECT

public:
    // The session's one fit model, made on first use as a child of the session.
    static FitModel& of(EditorSession& session);

    // The open project's rules; without a project (or until rules are set),
    // those the ROM's own names and texts keep as loaded.
    const BoxRules& rules() const { return rules_; }
    void setRules(const BoxRules& rules);
    // Each name's cells as it stands, by number.
    std::span<const int> nameWidths() const { return nameWidths_; }
    // Whether the entry as it stands fits its box (the check's own fitProblems).
    bool fits(EntryKind kind, int index) const;
    // The glyphs of the tables as they stand, to encode what is typed.
    const GlyphLookup& glyphs() const { return *glyphs_; }
    // The texts that refer to name `name`, as they stand.
    std::vector<int> textsUsing(int name) const;

signals:
    // The rules, the widths or some entry's fit may have changed.
    void refitted();

private:
    explicit FitModel(EditorSession& session);
    void sessionChanged(const EditorSession::Change& change);
    void projectChanged();
    void inferRules();
    void refitAll();
    void refitName(int index);
    void refitText(int index);

    EditorSession& session_;
    BoxRules rules_;
    bool rulesSet_ = false;
    uint32_t inferredFor_ = 0;  // the loaded file's CRC-32 the rules were inferred from
    std::optional<GlyphLookup> glyphs_;
    std::vector<int> nameWidths_;
    std::vector<uint8_t> nameFits_, textFits_;
    std::vector<std::vector<uint16_t>> textUses_;  // the names each text refers to
};

}  // namespace velk
