// What an operation did: done, cancelled or failed, the warnings it met, the
// problem that stopped it, a one-line summary for a status line, and what it
// changed in the editor's state (the base of undo, of the unsaved-edits flag
// and of the watch loop). Operations build the words; front ends only show
// them and decide from `status` alone.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace velk {

struct StateChange;  // rom/state_change.h

enum class OutcomeStatus { Done, Cancelled, Failed };
enum class Effect { Edit, Load, Save };

struct Outcome {
    OutcomeStatus status = OutcomeStatus::Done;
    std::string summary;                // Shift-JIS, one line: "テキスト 5607 件を読み込みました"
    std::vector<std::string> warnings;  // UTF-8 lines: "FILE:LINE: warning: ..."
    std::string report;                 // UTF-8 lines, each ending in LF, that a verb prints (space, diff, replace)
    std::optional<Message> problem;     // set when status is Failed
    // What the operation changed in the document; empty when it changed
    // nothing. Filled in by runOperation, which compares it before and after.
    std::shared_ptr<StateChange> change;
    // What it did to the document: edited it (or left it alone), replaced it
    // with a ROM file's (a load), or wrote it to a file (a save, a patch),
    // after which no edit is left unsaved, whatever the save changed.
    Effect effect = Effect::Edit;

    bool done() const { return status == OutcomeStatus::Done; }
    bool failed() const { return status == OutcomeStatus::Failed; }
    bool cancelled() const { return status == OutcomeStatus::Cancelled; }
};

inline Outcome cancelledOutcome() { return Outcome{OutcomeStatus::Cancelled, {}, {}, {}, {}, {}, Effect::Edit}; }
inline Outcome failedOutcome(Message problem, std::vector<std::string> warnings = {}) {
    return Outcome{OutcomeStatus::Failed, {}, std::move(warnings), {}, std::move(problem), {}, Effect::Edit};
}
inline Outcome doneOutcome(std::string summarySjis, std::vector<std::string> warnings = {}) {
    return Outcome{OutcomeStatus::Done, std::move(summarySjis), std::move(warnings), {}, {}, {}, Effect::Edit};
}

}  // namespace velk
