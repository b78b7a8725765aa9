#include "rom/state_change.h"

#include <algorithm>
#include <cstring>

namespace velk {
namespace {

// Differences closer than this are kept as one range: a range costs more
// than a few bytes of its own.
constexpr size_t kRangeGap = 16;

// A record's byte buffers, apart from its other fields.
bool sameBytes(const ResourceEntry& a, const ResourceEntry& b) { return a.packed == b.packed && a.unpacked == b.unpacked; }
bool sameBytes(const NameEntry& a, const NameEntry& b) { return a.code == b.code && a.text == b.text; }

void swapBytes(ResourceEntry& a, ResourceEntry& b) {
    std::swap(a.packed, b.packed);
    std::swap(a.unpacked, b.unpacked);
}
void swapBytes(NameEntry& a, NameEntry& b) {
    std::swap(a.code, b.code);
    std::swap(a.text, b.text);
}

size_t bytesHeldBy(const ResourceEntry& e) { return e.packed.capacity() + e.unpacked.capacity(); }
size_t bytesHeldBy(const NameEntry& e) { return e.code.capacity() + e.text.capacity(); }

template <typename Entry>
void addRecord(CatalogueChange<Entry>& change, int32_t index, Entry before, const Entry& after) {
    if (before == after) return;
    RecordChange<Entry> r{index, std::move(before), false};
    if (sameBytes(r.other, after)) {
        Entry none{};
        swapBytes(r.other, none);
        r.bytesKept = true;
    }
    change.records.push_back(std::move(r));
}

template <typename Entry>
CatalogueChange<Entry> diffCatalogue(const std::vector<Entry>& before, const std::vector<Entry>& after) {
    CatalogueChange<Entry> change;
    if (before.size() != after.size()) {
        change.whole = before;
        return change;
    }
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i]) addRecord(change, static_cast<int32_t>(i), Entry(before[i]), after[i]);
    return change;
}

template <typename Entry>
std::vector<std::pair<int32_t, Entry>> keepEntries(const std::vector<Entry>& entries, std::vector<int32_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::vector<std::pair<int32_t, Entry>> kept;
    for (const int32_t i : indices)
        if (i >= 0 && static_cast<size_t>(i) < entries.size()) kept.emplace_back(i, entries[static_cast<size_t>(i)]);
    return kept;
}

template <typename Entry>
CatalogueChange<Entry> diffEntries(std::vector<std::pair<int32_t, Entry>>& kept, const std::vector<Entry>& after) {
    CatalogueChange<Entry> change;
    for (auto& [index, before] : kept) addRecord(change, index, std::move(before), after[static_cast<size_t>(index)]);
    return change;
}

template <typename Entry>
void swapCatalogue(std::vector<Entry>& entries, CatalogueChange<Entry>& change) {
    if (change.whole) {
        std::swap(entries, *change.whole);
        return;
    }
    for (RecordChange<Entry>& r : change.records) {
        Entry& e = entries[static_cast<size_t>(r.index)];
        std::swap(e, r.other);
        if (r.bytesKept) swapBytes(e, r.other);  // the bytes stay with the state
    }
}

template <typename Entry>
size_t entryBytes(const Entry& e) {
    return sizeof(Entry) + bytesHeldBy(e);
}

template <typename Entry>
size_t catalogueBytes(const CatalogueChange<Entry>& c) {
    size_t n = c.records.capacity() * sizeof(RecordChange<Entry>);
    for (const RecordChange<Entry>& r : c.records) n += entryBytes(r.other) - sizeof(Entry);
    if (c.whole)
        for (const Entry& e : *c.whole) n += entryBytes(e);
    return n;
}

template <typename Entry>
size_t catalogueRecords(const CatalogueChange<Entry>& c) {
    return c.whole ? c.whole->size() : c.records.size();
}

// The ranges where two images of one size differ, compared a block at a time.
std::vector<ByteRangeChange> diffImage(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
    constexpr size_t kBlock = 256;
    std::vector<ByteRangeChange> ranges;
    const size_t size = before.size();
    size_t start = 0, end = 0;  // the open range [start, end), none when end == 0
    auto close = [&] {
        if (end == 0) return;
        ranges.push_back({static_cast<int32_t>(start), std::vector<uint8_t>(before.begin() + start, before.begin() + end)});
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

GlyphState glyphState(const Document& s) { return {s.glyphSheet, s.glyphSheetLoaded}; }

template <typename T>
std::unique_ptr<T> ifChanged(T before, const T& after) {
    if (before == after) return nullptr;
    return std::make_unique<T>(std::move(before));
}

void swapWithState(Document& state, StateChange& change) {
    swapCatalogue(state.catalogues.resources, change.resources);
    swapCatalogue(state.catalogues.colourSets, change.colourSets);
    swapCatalogue(state.catalogues.names, change.names);
    if (change.wholeImage) std::swap(state.image.bytes, *change.wholeImage);
    for (ByteRangeChange& r : change.image)
        std::swap_ranges(r.other.begin(), r.other.end(), state.image.bytes.begin() + r.offset);
    if (change.tables) std::swap(state.tables, *change.tables);
    if (change.glyphs) {
        std::swap(state.glyphSheet, change.glyphs->sheet);
        std::swap(state.glyphSheetLoaded, change.glyphs->loaded);
    }
}

}  // namespace

bool StateChange::empty() const {
    return recordCount() == 0 && image.empty() && !wholeImage && !tables && !glyphs;
}

size_t StateChange::recordCount() const {
    return catalogueRecords(resources) + catalogueRecords(colourSets) + catalogueRecords(names);
}

size_t StateChange::bytesHeld() const {
    size_t n = sizeof(StateChange) + catalogueBytes(resources) + catalogueBytes(colourSets) + catalogueBytes(names);
    n += image.capacity() * sizeof(ByteRangeChange);
    for (const ByteRangeChange& r : image) n += r.other.capacity();
    if (wholeImage) n += wholeImage->capacity();
    if (tables) n += sizeof *tables;
    if (glyphs) n += sizeof *glyphs;
    return n;
}

StateChange diffStates(const Document& before, const Document& after) {
    StateChange change;
    change.resources = diffCatalogue(before.catalogues.resources, after.catalogues.resources);
    change.colourSets = diffCatalogue(before.catalogues.colourSets, after.catalogues.colourSets);
    change.names = diffCatalogue(before.catalogues.names, after.catalogues.names);
    if (before.image.bytes.size() != after.image.bytes.size())
        change.wholeImage = before.image.bytes;
    else
        change.image = diffImage(before.image.bytes, after.image.bytes);
    change.tables = ifChanged(before.tables, after.tables);
    change.glyphs = ifChanged(glyphState(before), glyphState(after));
    return change;
}

KeptRecords keepRecords(const Document& state, std::vector<int32_t> resources, std::vector<int32_t> names) {
    return {keepEntries(state.catalogues.resources, std::move(resources)), keepEntries(state.catalogues.names, std::move(names))};
}

StateChange diffKept(KeptRecords before, const Document& after) {
    StateChange change;
    change.resources = diffEntries(before.resources, after.catalogues.resources);
    change.names = diffEntries(before.names, after.catalogues.names);
    return change;
}

bool sameDocument(const Document& a, const Document& b) {
    return a.image.bytes == b.image.bytes && a.catalogues.resources == b.catalogues.resources &&
           a.catalogues.colourSets == b.catalogues.colourSets && a.catalogues.names == b.catalogues.names &&
           a.tables == b.tables && glyphState(a) == glyphState(b);
}

void undoChange(Document& state, StateChange& change) { swapWithState(state, change); }

void redoChange(Document& state, StateChange& change) { swapWithState(state, change); }

}  // namespace velk
