#include "rom/state_change.h"

#include <algorithm>
#include <cstring>

namespace velk {
namespace {

// Differences closer than this are kept as one range: a range costs more
// than a few bytes of its own.
constexpr size_t kRangeGap = 16;

template <typename Entry>
Entry withoutBytes(const Entry& e) {
    Entry copy = e;
    copy.packed.clear();
    copy.packed.shrink_to_fit();
    copy.unpacked.clear();
    copy.unpacked.shrink_to_fit();
    return copy;
}

template <typename Entry>
CatalogueChange<Entry> diffCatalogue(const std::vector<Entry>& before, const std::vector<Entry>& after) {
    CatalogueChange<Entry> change;
    if (before.size() != after.size()) {
        change.wholeBefore = before;
        change.wholeAfter = after;
        return change;
    }
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] == after[i]) continue;
        if constexpr (requires { before[i].packed; before[i].unpacked; }) {
            if (before[i].packed == after[i].packed && before[i].unpacked == after[i].unpacked) {
                RecordChange<Entry> r{static_cast<int32_t>(i), withoutBytes(before[i]), withoutBytes(after[i]), true};
                change.records.push_back(std::move(r));
                continue;
            }
        }
        change.records.push_back({static_cast<int32_t>(i), before[i], after[i], false});
    }
    return change;
}

template <typename Entry>
void applyCatalogue(std::vector<Entry>& entries, const CatalogueChange<Entry>& change, bool forward) {
    if (change.wholeBefore) {
        entries = forward ? *change.wholeAfter : *change.wholeBefore;
        return;
    }
    for (const RecordChange<Entry>& r : change.records) {
        Entry& e = entries[static_cast<size_t>(r.index)];
        if constexpr (requires { e.packed; e.unpacked; }) {
            if (r.bytesKept) {
                std::vector<uint8_t> packed = std::move(e.packed), unpacked = std::move(e.unpacked);
                e = forward ? r.after : r.before;
                e.packed = std::move(packed);
                e.unpacked = std::move(unpacked);
                continue;
            }
        }
        e = forward ? r.after : r.before;
    }
}

template <typename Entry>
bool emptyCatalogue(const CatalogueChange<Entry>& c) {
    return c.records.empty() && !c.wholeBefore;
}

template <typename Entry>
size_t entryBytes(const Entry& e) {
    size_t n = sizeof(Entry);
    if constexpr (requires { e.packed; }) n += e.packed.size();
    if constexpr (requires { e.unpacked; }) n += e.unpacked.size();
    if constexpr (requires { e.code; }) n += e.code.size();
    if constexpr (requires { e.text; }) n += e.text.size();
    return n;
}

template <typename Entry>
size_t catalogueBytes(const CatalogueChange<Entry>& c) {
    size_t n = 0;
    for (const RecordChange<Entry>& r : c.records) n += entryBytes(r.before) + entryBytes(r.after);
    if (c.wholeBefore) {
        for (const Entry& e : *c.wholeBefore) n += entryBytes(e);
        for (const Entry& e : *c.wholeAfter) n += entryBytes(e);
    }
    return n;
}

template <typename Entry>
size_t catalogueRecords(const CatalogueChange<Entry>& c) {
    return c.wholeAfter ? c.wholeAfter->size() : c.records.size();
}

// The ranges where two images of one size differ, compared a block at a time.
std::vector<ByteRangeChange> diffImage(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
    constexpr size_t kBlock = 256;
    std::vector<ByteRangeChange> ranges;
    const size_t size = before.size();
    size_t start = 0, end = 0;  // the open range [start, end), empty when end == 0
    auto close = [&] {
        if (end == 0) return;
        ranges.push_back({static_cast<int32_t>(start), std::vector<uint8_t>(before.begin() + start, before.begin() + end),
                          std::vector<uint8_t>(after.begin() + start, after.begin() + end)});
        end = 0;
    };
    for (size_t block = 0; block < size; block += kBlock) {
        const size_t n = std::min(kBlock, size - block);
        if (std::memcmp(before.data() + block, after.data() + block, n) == 0) continue;
        for (size_t i = block; i < block + n; ++i) {
            if (before[i] == after[i]) continue;
            if (end != 0 && i - end > kRangeGap) close();
            if (end == 0) start = i;
            end = i + 1;
        }
    }
    close();
    return ranges;
}

LoadedFileState fileState(const EditorState& s) {
    return {s.copierHeader, s.loadedPath, s.loadedIdentity, s.loadedCopy};
}

GlyphState glyphState(const EditorState& s) { return {s.glyphSheet, s.glyphSheetLoaded}; }

template <typename T>
std::optional<BeforeAfter<T>> ifChanged(T before, T after) {
    if (before == after) return std::nullopt;
    return BeforeAfter<T>{std::move(before), std::move(after)};
}

void apply(EditorState& state, const StateChange& change, bool forward) {
    applyCatalogue(state.catalogues.resources, change.resources, forward);
    applyCatalogue(state.catalogues.colourSets, change.colourSets, forward);
    applyCatalogue(state.catalogues.names, change.names, forward);
    if (change.wholeImage) state.image.bytes = forward ? change.wholeImage->after : change.wholeImage->before;
    for (const ByteRangeChange& r : change.image) {
        const std::vector<uint8_t>& bytes = forward ? r.after : r.before;
        std::copy(bytes.begin(), bytes.end(), state.image.bytes.begin() + r.offset);
    }
    if (change.tables) state.tables = forward ? change.tables->after : change.tables->before;
    if (change.glyphs) {
        const GlyphState& g = forward ? change.glyphs->after : change.glyphs->before;
        state.glyphSheet = g.sheet;
        state.glyphSheetLoaded = g.loaded;
    }
    if (change.file) {
        const LoadedFileState& f = forward ? change.file->after : change.file->before;
        state.copierHeader = f.copierHeader;
        state.loadedPath = f.loadedPath;
        state.loadedIdentity = f.loadedIdentity;
        state.loadedCopy = f.loadedCopy;
    }
}

}  // namespace

bool StateChange::empty() const {
    return emptyCatalogue(resources) && emptyCatalogue(colourSets) && emptyCatalogue(names) && image.empty() &&
           !wholeImage && !tables && !glyphs && !file;
}

size_t StateChange::recordCount() const {
    return catalogueRecords(resources) + catalogueRecords(colourSets) + catalogueRecords(names);
}

size_t StateChange::bytesHeld() const {
    size_t n = sizeof(StateChange) + catalogueBytes(resources) + catalogueBytes(colourSets) + catalogueBytes(names);
    for (const ByteRangeChange& r : image) n += sizeof r + r.before.size() + r.after.size();
    if (wholeImage) n += wholeImage->before.size() + wholeImage->after.size();
    if (tables) n += sizeof *tables;
    if (glyphs) n += sizeof *glyphs;
    if (file) n += file->before.copierHeader.size() + file->after.copierHeader.size() + sizeof *file;
    return n;
}

StateChange diffStates(const EditorState& before, const EditorState& after) {
    StateChange change;
    change.resources = diffCatalogue(before.catalogues.resources, after.catalogues.resources);
    change.colourSets = diffCatalogue(before.catalogues.colourSets, after.catalogues.colourSets);
    change.names = diffCatalogue(before.catalogues.names, after.catalogues.names);
    if (before.image.bytes.size() != after.image.bytes.size())
        change.wholeImage = BeforeAfter<std::vector<uint8_t>>{before.image.bytes, after.image.bytes};
    else
        change.image = diffImage(before.image.bytes, after.image.bytes);
    change.tables = ifChanged(before.tables, after.tables);
    change.glyphs = ifChanged(glyphState(before), glyphState(after));
    change.file = ifChanged(fileState(before), fileState(after));
    return change;
}

void undoChange(EditorState& state, const StateChange& change) { apply(state, change, false); }

void redoChange(EditorState& state, const StateChange& change) { apply(state, change, true); }

}  // namespace velk
