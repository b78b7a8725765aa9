#include "rom/face_rules.h"

#include <algorithm>
#include <map>

#include "pack/pack_profiles.h"

namespace velk {
namespace {

bool pinned(int f) { return f >= kFirstPinnedFace; }

// Faces by slot, each list in number order.
std::map<int32_t, std::vector<int>> slots(ConstCatalogue faces) {
    std::map<int32_t, std::vector<int>> bySlot;
    for (size_t f = 0; f < faces.size(); ++f) bySlot[faces[f].tableIndex].push_back(static_cast<int>(f));
    return bySlot;
}

// Whether the image holds face `e`'s picture at its place: its very packed
// bytes, or other bytes that unpack to the same tiles.
bool imageShows(const RomImage& image, const ResourceEntry& e) {
    if (!isInsideImage(e.romOffset) || image.bytes.size() != static_cast<size_t>(kRomSize)) return false;
    const size_t rest = image.bytes.size() - static_cast<size_t>(e.romOffset);
    if (e.packed.size() <= rest && std::equal(e.packed.begin(), e.packed.end(), image.at(e.romOffset))) return true;
    const Result<Unpacked> held = unpackAt(image, e.romOffset, kFaceProfile);
    return held && held->unpacked == e.unpacked;
}

}  // namespace

std::vector<int> facesSharingSlot(ConstCatalogue faces, int f) {
    std::vector<int> members;
    for (size_t g = 0; g < faces.size(); ++g)
        if (faces[g].tableIndex == faces[static_cast<size_t>(f)].tableIndex) members.push_back(static_cast<int>(g));
    return members;
}

std::vector<SharedFaceEdit> keepSharedFacesOnePicture(ConstCatalogue before, Catalogue after) {
    std::vector<SharedFaceEdit> edits;
    if (before.size() != after.size()) return edits;
    for (const auto& [slot, members] : slots(after)) {
        if (members.size() < 2) continue;
        SharedFaceEdit edit{members, -1, {}};
        bool replaced = false;
        for (const int f : members) {
            const auto i = static_cast<size_t>(f);
            if (after[i].unpacked == before[i].unpacked) continue;
            if (edit.kept < 0) {
                edit.kept = f;
            } else if (after[i].unpacked != after[static_cast<size_t>(edit.kept)].unpacked) {
                edit.dropped.push_back(f);
            }
        }
        if (edit.kept < 0) continue;
        const ResourceEntry& kept = after[static_cast<size_t>(edit.kept)];
        for (const int f : members) {
            ResourceEntry& e = after[static_cast<size_t>(f)];
            if (e.unpacked == kept.unpacked) continue;
            e.unpacked = kept.unpacked;
            e.packed = kept.packed;
            replaced = true;
        }
        if (replaced) edits.push_back(std::move(edit));
    }
    return edits;
}

std::vector<PinnedFaceEdit> editedPinnedFaces(const RomImage& image, ConstCatalogue faces) {
    std::vector<PinnedFaceEdit> edits;
    for (const auto& [slot, members] : slots(faces)) {
        if (!pinned(members.front())) continue;
        const ResourceEntry& e = faces[static_cast<size_t>(members.front())];
        if (imageShows(image, e)) continue;
        edits.push_back({members.front(), e.romOffset, e.loadedLength, static_cast<int32_t>(e.packed.size())});
    }
    std::sort(edits.begin(), edits.end(), [](const PinnedFaceEdit& a, const PinnedFaceEdit& b) { return a.face < b.face; });
    return edits;
}

void followPinnedPlaces(const RomImage& imageBefore, ConstCatalogue before, const RomImage& image, Catalogue faces) {
    if (before.size() != faces.size()) return;
    for (const auto& [slot, members] : slots(faces)) {
        const auto f = static_cast<size_t>(members.front());
        if (!pinned(members.front()) || !(faces[f] == before[f]) || !imageShows(imageBefore, faces[f]) || imageShows(image, faces[f]))
            continue;
        Result<Unpacked> held = unpackAt(image, faces[f].romOffset, kFaceProfile);
        if (!held) continue;  // not a face: the save writes the face back
        const uint8_t* at = image.at(faces[f].romOffset);
        for (const int m : members) {
            faces[static_cast<size_t>(m)].packed.assign(at, at + held->consumed);
            faces[static_cast<size_t>(m)].unpacked = held->unpacked;
        }
    }
}

Problem pinnedFaceTooLong(const PinnedFaceEdit& edit) {
    Problem p = problem(ProblemCode::NoRoom, static_cast<size_t>(std::max(edit.at, 0)));
    p.record = Record::Face;
    p.entry = edit.face;
    p.pointsTo = edit.at;
    p.found = edit.length;
    p.expected = edit.room;
    return p;
}

}  // namespace velk
