// What one operation changed in the editor's state, kept small enough to
// hold a hundred of them: the catalogue records that differ, with their
// contents before and after, the image ranges that differ, with their bytes
// before and after, and the few small parts (tables, glyphs, the file as
// loaded) whole when they changed. Undoing one gives back exactly the state
// before; redoing it, exactly the state after.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "rom/editor_state.h"

namespace velk {

enum class CatalogueKind : uint8_t { Resources, ColourSets, Names };

// A record whose bytes stayed as they were (a save moves most records)
// keeps only its other fields: its byte buffers are left empty here.
template <typename Entry>
struct RecordChange {
    int32_t index;
    Entry before;
    Entry after;
    bool bytesKept = false;
};

// Every record of one catalogue, when the operation changed how many there
// are (a first load); otherwise the records that changed.
template <typename Entry>
struct CatalogueChange {
    std::vector<RecordChange<Entry>> records;
    std::optional<std::vector<Entry>> wholeBefore, wholeAfter;
};

struct ByteRangeChange {
    int32_t offset;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;
};

// The parts of the state that name the file it came from.
struct LoadedFileState {
    std::vector<uint8_t> copierHeader;
    std::filesystem::path loadedPath;
    EditorState::FileIdentity loadedIdentity;
    std::filesystem::path loadedCopy;
    bool operator==(const LoadedFileState&) const = default;
};

struct GlyphState {
    std::array<uint8_t, kGlyphSheetSize> sheet{};
    bool loaded = false;
    bool operator==(const GlyphState&) const = default;
};

template <typename T>
struct BeforeAfter {
    T before;
    T after;
};

struct StateChange {
    CatalogueChange<ResourceEntry> resources;
    CatalogueChange<ResourceEntry> colourSets;
    CatalogueChange<NameEntry> names;
    std::vector<ByteRangeChange> image;
    std::optional<BeforeAfter<std::vector<uint8_t>>> wholeImage;  // when its size changed (a first load)
    std::optional<BeforeAfter<CharTables>> tables;
    std::optional<BeforeAfter<GlyphState>> glyphs;
    std::optional<BeforeAfter<LoadedFileState>> file;

    bool empty() const;
    // How many records and image bytes it touches, for a status line.
    size_t recordCount() const;
    // The bytes it keeps (both sides), to weigh an undo history.
    size_t bytesHeld() const;
};

// What turns `before` into `after`. Two image ranges closer than a few bytes
// are kept as one.
StateChange diffStates(const EditorState& before, const EditorState& after);

// Put the state back as it was before the change / as it was after it. The
// state must be the one the change was taken from (as it was after it, for
// undo; as it was before it, for redo).
void undoChange(EditorState& state, const StateChange& change);
void redoChange(EditorState& state, const StateChange& change);

}  // namespace velk
