// What one operation changed in the document, kept small enough to hold a
// hundred of them: the catalogue records that differ, the image ranges that
// differ, and the two small parts (tables, glyphs) when they changed. A
// change holds one side only, the one the document does not: just after the
// operation, what was there before it. Undoing swaps that side with the
// document's, so that the change then holds what the operation made, and
// redoing swaps it back. Which file the document came from is no part of it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "rom/document.h"

namespace velk {

// A record whose bytes stayed as they were (a save moves most records)
// keeps only its other fields: its byte buffers are left empty here.
template <typename Entry>
struct RecordChange {
    int32_t index;
    Entry other;
    bool bytesKept = false;
};

// Every record of one catalogue, when the operation changed how many there
// are (a first load); otherwise the records that changed.
template <typename Entry>
struct CatalogueChange {
    std::vector<RecordChange<Entry>> records;
    std::optional<std::vector<Entry>> whole;
};

struct ByteRangeChange {
    int32_t offset;
    std::vector<uint8_t> other;
};

struct GlyphState {
    std::array<uint8_t, kGlyphSheetSize> sheet{};
    bool loaded = false;
    bool operator==(const GlyphState&) const = default;
};

struct StateChange {
    CatalogueChange<ResourceEntry> resources;
    CatalogueChange<ResourceEntry> colourSets;
    CatalogueChange<NameEntry> names;
    std::vector<ByteRangeChange> image;
    std::optional<std::vector<uint8_t>> wholeImage;  // when its size changed (a first load)
    std::unique_ptr<CharTables> tables;              // each of these two only when it changed
    std::unique_ptr<GlyphState> glyphs;

    bool empty() const;
    // How many records it touches, for a status line.
    size_t recordCount() const;
    // The bytes it keeps, to weigh an undo history.
    size_t bytesHeld() const;
};

// What turns `before` into `after`, holding `before`'s side. Two image
// ranges closer than a few bytes are kept as one.
StateChange diffStates(const Document& before, const Document& after);

// The records an operation says it may change, as they were before it ran:
// what its change is found from without a copy of the whole document.
struct KeptRecords {
    std::vector<std::pair<int32_t, ResourceEntry>> resources;
    std::vector<std::pair<int32_t, NameEntry>> names;
};
// Indices outside their catalogue are passed over, repeated ones kept once.
KeptRecords keepRecords(const Document& state, std::vector<int32_t> resources, std::vector<int32_t> names);
// What turns the kept records back into the document's; nothing else of the
// document is looked at.
StateChange diffKept(KeptRecords before, const Document& after);

// Whether two documents hold the same bytes in every part diffStates looks
// at (nothing is copied).
bool sameDocument(const Document& a, const Document& b);

// Put the document back as it was before the change (the document as it was
// after it) / as it was after it (as it was before it). Each swaps the
// change's side with the document's.
void undoChange(Document& state, StateChange& change);
void redoChange(Document& state, StateChange& change);

}  // namespace velk
