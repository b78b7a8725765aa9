#include "ops/reads_the_same.h"

#include <vector>

#include "image/parallel.h"
#include "ops/entry_ops.h"
#include "text/decode.h"

namespace velk {
namespace {

std::string nameCodeText(const std::vector<uint8_t>& code, const CharTables& tables) {
    std::vector<uint8_t> terminated = code;
    terminated.push_back(0);
    const std::optional<DecodedName> name = decodeNameCode(terminated, tables);
    return name ? name->text : std::string();
}

}  // namespace

Outcome importKeepingWhatReadsTheSame(EditorState& state, const std::function<Outcome()>& import) {
    const std::vector<NameEntry> namesBefore = state.catalogues.names;
    const ConstCatalogue texts = state.catalogues.texts();
    const std::vector<ResourceEntry> textsBefore(texts.begin(), texts.end());
    Outcome outcome = import();

    std::vector<NameEntry>& names = state.catalogues.names;
    for (size_t i = 0; i < names.size() && i < namesBefore.size(); ++i) {
        const NameEntry& before = namesBefore[i];
        if (names[i] == before) continue;
        if (names[i].code == before.code || nameCodeText(names[i].code, state.tables) == nameCodeText(before.code, state.tables))
            names[i] = before;
    }
    // Texts are decoded with the names as they stand now on both sides: a
    // word reference reads as its number and the name it shows.
    const Catalogue now = state.catalogues.texts();
    parallelFor(now.size(), [&](size_t i) {
        const ResourceEntry& before = textsBefore[i];
        if (now[i] == before) return;
        if (now[i].unpacked == before.unpacked ||
            decodeTextCode(now[i].unpacked, names, state.tables) == decodeTextCode(before.unpacked, names, state.tables))
            now[i] = before;
    }, 64);
    return outcome;
}

void storeKeepingWhatReadsTheSame(EditorState& state, EntryKind kind, int index, const std::function<void()>& store) {
    const auto at = static_cast<size_t>(index);
    if (kind == EntryKind::Name) {
        const NameEntry before = state.catalogues.names[at];
        store();
        NameEntry& now = state.catalogues.names[at];
        if (now != before && (now.code == before.code || nameCodeText(now.code, state.tables) == nameCodeText(before.code, state.tables)))
            now = before;
        return;
    }
    const ResourceEntry before = std::as_const(state.catalogues).texts()[at];
    store();
    ResourceEntry& now = state.catalogues.texts()[at];
    const std::vector<NameEntry>& names = state.catalogues.names;
    if (now != before && (now.unpacked == before.unpacked ||
                          decodeTextCode(now.unpacked, names, state.tables) == decodeTextCode(before.unpacked, names, state.tables)))
        now = before;
}

}  // namespace velk
