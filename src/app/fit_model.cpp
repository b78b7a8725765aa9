#include "app/fit_model.h"

#include <algorithm>

#include "ops/desk_ops.h"
#include "rom/catalogues.h"

namespace velk {

FitModel& FitModel::of(EditorSession& session) {
    if (auto* model = session.findChild<FitModel*>(QString(), Qt::FindDirectChildrenOnly)) return *model;
    return *new FitModel(session);
}

FitModel::FitModel(EditorSession& session) : QObject(&session), session_(session) {
    connect(&session_, &EditorSession::changed, this, &FitModel::sessionChanged);
    connect(&session_, &EditorSession::projectChanged, this, &FitModel::projectChanged);
    if (const OpenProject* project = session_.project())
        rules_ = project->rules, rulesSet_ = true;
    else
        inferRules();
    refitAll();
}

void FitModel::projectChanged() {
    // A project's rules as velk-project.txt sets them; without one, the ROM's own again.
    if (const OpenProject* project = session_.project()) {
        rules_ = project->rules, rulesSet_ = true;
    } else {
        rulesSet_ = false;
        inferRules();
    }
    refitAll();
    emit refitted();
}

void FitModel::setRules(const BoxRules& rules) {
    rules_ = rules;
    rulesSet_ = true;
    refitAll();
    emit refitted();
}

bool FitModel::fits(EntryKind kind, int index) const {
    const std::vector<uint8_t>& fits = kind == EntryKind::Name ? nameFits_ : textFits_;
    return index < 0 || static_cast<size_t>(index) >= fits.size() || fits[static_cast<size_t>(index)] != 0;
}

std::vector<int> FitModel::textsUsing(int name) const {
    std::vector<int> texts;
    for (size_t i = 0; i < textUses_.size(); ++i)
        if (std::ranges::binary_search(textUses_[i], static_cast<uint16_t>(name))) texts.push_back(static_cast<int>(i));
    return texts;
}

void FitModel::inferRules() {
    if (rulesSet_ || session_.state().catalogues.resources.empty()) return;
    // Once per load: the widest line, the most lines and the widest name the ROM held as loaded.
    inferredFor_ = session_.state().loaded.crc;
    BoxRules rules;
    const InferredLimits found = inferLimits(session_.textsAsLoaded(), session_.namesAsLoaded(), rules);
    rules.textColumns = found.textColumns, rules.textLines = found.textLines, rules.nameColumns = found.nameColumns;
    rules_ = rules;
}

void FitModel::refitAll() {
    const Catalogues& c = session_.state().catalogues;
    glyphs_.emplace(session_.state().tables);
    if (c.resources.empty()) return;
    nameWidths_ = velk::nameWidths(c.names, rules_);
    nameFits_.assign(c.names.size(), 1);
    textFits_.assign(c.texts().size(), 1);
    textUses_.assign(c.texts().size(), {});
    for (size_t i = 0; i < nameFits_.size(); ++i) refitName(static_cast<int>(i));
    for (size_t i = 0; i < textFits_.size(); ++i) refitText(static_cast<int>(i));
}

void FitModel::refitName(int index) {
    const auto at = static_cast<size_t>(index);
    const std::vector<uint8_t>& code = session_.state().catalogues.names[at].code;
    nameWidths_[at] = nameWidth(code, rules_);
    nameFits_[at] = fitProblems(code, CodeKind::Name, {}, rules_).empty();
}

void FitModel::refitText(int index) {
    const auto at = static_cast<size_t>(index);
    const std::vector<uint8_t>& code = std::as_const(session_.state().catalogues).texts()[at].unpacked;
    std::vector<uint16_t>& uses = textUses_[at];
    uses.clear();
    for (const CodeItem& item : codeItems(code, CodeKind::Text, nameWidths_, rules_))
        if (item.kind == ItemKind::WordReference)
            uses.push_back(static_cast<uint16_t>((code[item.offset] & 0x0F) * 256 + code[item.offset + 1]));
    std::ranges::sort(uses);
    uses.erase(std::unique(uses.begin(), uses.end()), uses.end());
    textFits_[at] = fitProblems(code, CodeKind::Text, nameWidths_, rules_).empty();
}

void FitModel::sessionChanged(const EditorSession::Change& change) {
    const EditorState& state = session_.state();
    if (state.catalogues.resources.empty()) return;
    const bool resized = nameFits_.size() != state.catalogues.names.size() || textFits_.empty();
    if (change.all || resized) {
        if (!rulesSet_ && (resized || state.loaded.crc != inferredFor_)) inferRules();
        refitAll();
        emit refitted();
        return;
    }
    std::vector<int> texts = change.texts;
    for (const int name : change.names) {
        if (name < 0 || static_cast<size_t>(name) >= nameFits_.size()) continue;
        const int before = nameWidths_[static_cast<size_t>(name)];
        refitName(name);
        if (nameWidths_[static_cast<size_t>(name)] != before) std::ranges::copy(textsUsing(name), std::back_inserter(texts));
    }
    for (const int text : texts)
        if (text >= 0 && static_cast<size_t>(text) < textFits_.size()) refitText(text);
    if (!texts.empty() || !change.names.empty()) emit refitted();
}

}  // namespace velk
