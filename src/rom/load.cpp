#include "rom/load.h"

#include <algorithm>

#include "rom/save_layout.h"

namespace velk {

Result<LoadedRom> loadRom(std::span<const uint8_t> file, const CharTables& tables) {
    LoadedRom rom;
    std::copy_n(file.begin(), std::min(file.size(), static_cast<size_t>(kRomSize)), rom.image.bytes.begin());
    if (Status s = checkRelocatedBlocks(rom.image); !s) return std::move(s.problem());  // a save could not move them
    CharTables withBlankAdded = tables;
    withBlankAdded[kAddedCharTable] = blankCharTable();
    Result<Catalogues> catalogues = buildCatalogues(rom.image, withBlankAdded);
    if (!catalogues) return std::move(catalogues.problem());
    rom.catalogues = std::move(*catalogues);
    return rom;
}

void installRom(EditorState& state, LoadedRom&& rom) {
    state.image = std::move(rom.image);
    state.catalogues = std::move(rom.catalogues);
    state.tables[kAddedCharTable] = blankCharTable();
    state.glyphSheetLoaded = false;
}

}  // namespace velk
