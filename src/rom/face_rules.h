// What keeps the faces as the game shows them. Faces that share a pointer
// slot (equal index bytes) are one picture in the game. Faces 127-156 are
// never moved by a save: an edited one is written where it stands, into the
// packed bytes it had when the image was loaded, its room.
#pragma once

#include <cstdint>
#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"
#include "image/rom_image.h"

namespace velk {

constexpr int kFirstPinnedFace = 127;  // faces 127-156 never move

// The faces whose index byte is face f's, f among them, in number order.
std::vector<int> facesSharingSlot(ConstCatalogue faces, int f);

// A group of faces sharing a slot that an operation changed in part.
struct SharedFaceEdit {
    std::vector<int> members;  // in number order
    int kept = 0;              // the changed member whose picture they all show now
    std::vector<int> dropped;  // other changed members whose different picture gave way
};
// After an operation: every member of a group some of whose members changed
// (unpacked bytes other than in `before`) takes the picture, unpacked and
// packed bytes, of the lowest-numbered member that changed. The groups where
// that changed a member's picture.
std::vector<SharedFaceEdit> keepSharedFacesOnePicture(ConstCatalogue before, Catalogue after);

// After an operation that wrote over a pinned face's place in the image (an
// IPS piece) without changing the face: the face, and the faces of its slot,
// take what the place now holds, as a load would read it, so that the save
// keeps those bytes rather than writing the face back over them.
void followPinnedPlaces(const RomImage& imageBefore, ConstCatalogue before, const RomImage& image, Catalogue faces);

// A pinned face whose picture differs from what the image holds at its place.
struct PinnedFaceEdit {
    int face;        // the lowest-numbered pinned face of its slot
    int32_t at;      // where its packed bytes stood when loaded
    int32_t room;    // how many they were
    int32_t length;  // how many its packed bytes are now
    bool fits() const { return length <= room; }
};
// The pinned faces a save writes in place, once per slot. A slot that a
// face below 127 shares is left out: the save moves that face and points
// the slot at it.
std::vector<PinnedFaceEdit> editedPinnedFaces(const RomImage& image, ConstCatalogue faces);

// "容量が足りません", naming the face, its pointer and both lengths.
Problem pinnedFaceTooLong(const PinnedFaceEdit& edit);

}  // namespace velk
