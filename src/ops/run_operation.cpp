#include "ops/run_operation.h"

#include "ops/messages.h"
#include "rom/face_rules.h"

namespace velk {
namespace {

// "face 7", "faces 40 and 41", "faces 3, 9 and 12".
std::string faceList(const std::vector<int>& faces) {
    std::string out = faces.size() == 1 ? "face " : "faces ";
    for (size_t i = 0; i < faces.size(); ++i) {
        if (i > 0) out += i + 1 == faces.size() ? " and " : ", ";
        out += std::to_string(faces[i]);
    }
    return out;
}

// What the faces' rules ask after an operation: a pinned face follows bytes
// written over its place, the faces of a pointer slot are made one picture
// again, and a pinned face made longer than its room is told at once, not
// only at the save.
void keepFaceRules(const Document& before, Document& after, std::vector<std::string>& warnings) {
    if (before.catalogues.resources.size() != kResourceCount || after.catalogues.resources.size() != kResourceCount) return;
    followPinnedPlaces(before.image, before.catalogues.faces(), after.image, after.catalogues.faces());
    for (const SharedFaceEdit& e : keepSharedFacesOnePicture(before.catalogues.faces(), after.catalogues.faces())) {
        std::string w = "warning: " + faceList(e.members) +
                        " share one pointer slot, so the game shows one picture for them; all now show the edit of face " +
                        std::to_string(e.kept);
        if (!e.dropped.empty())
            w += ", and the different edit of " + faceList(e.dropped) + (e.dropped.size() == 1 ? " is" : " are") + " dropped";
        warnings.push_back(std::move(w));
    }
    for (const PinnedFaceEdit& e : editedPinnedFaces(after.image, after.catalogues.faces())) {
        const auto f = static_cast<size_t>(e.face);
        if (!e.fits() && after.catalogues.faces()[f].packed != before.catalogues.faces()[f].packed)
            warnings.push_back("warning: " + problemReason(pinnedFaceTooLong(e)) + "; a save fails until it fits");
    }
}

}  // namespace

Outcome runOperation(EditorState& state, const std::function<Outcome()>& operation) {
    const Document before = state;
    Outcome outcome = operation();
    if (outcome.effect == Effect::Load) return outcome;
    if (outcome.effect == Effect::Edit) keepFaceRules(before, state, outcome.warnings);
    StateChange change = diffStates(before, state);
    if (!change.empty()) outcome.change = std::make_shared<StateChange>(std::move(change));
    return outcome;
}

Outcome runOperation(EditorState& state, const EntryScope& scope, const std::function<Outcome()>& operation) {
    std::vector<int32_t> records(scope.indices.begin(), scope.indices.end());
    if (scope.kind == EntryKind::Text)
        for (int32_t& r : records) r = r >= 0 && r < kTextCount ? r + kFirstTextId : -1;
    KeptRecords before = scope.kind == EntryKind::Name ? keepRecords(state, {}, std::move(records))
                                                       : keepRecords(state, std::move(records), {});
    Outcome outcome = operation();
    if (outcome.effect == Effect::Load) return outcome;
    StateChange change = diffKept(std::move(before), state);
    if (!change.empty()) outcome.change = std::make_shared<StateChange>(std::move(change));
    return outcome;
}

}  // namespace velk
