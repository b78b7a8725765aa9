#include "rom/load.h"

#include <algorithm>

#include "rom/save_layout.h"

namespace velk {

Result<LoadedRom> loadRom(std::span<const uint8_t> file, const CharTables& tables) {
    LoadedRom rom;
    if (file.size() == static_cast<size_t>(kRomSize) + kCopierHeaderSize) {
        rom.copierHeader.assign(file.begin(), file.begin() + kCopierHeaderSize);
        file = file.subspan(kCopierHeaderSize);
    } else if (file.size() != static_cast<size_t>(kRomSize)) {
        // The caller reads at most one byte more than the largest size there is.
        const std::string size = file.size() > kRomSize + kCopierHeaderSize
                                     ? "more than " + std::to_string(kRomSize + kCopierHeaderSize)
                                     : std::to_string(file.size());
        return cannotRead(size + " bytes, not a 4 MiB image (4194304 bytes, or 4194816 with a copier header)");
    }
    std::copy(file.begin(), file.end(), rom.image.bytes.begin());
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
    state.copierHeader = std::move(rom.copierHeader);
    state.unsavedEdits = false;
    state.tables[kAddedCharTable] = blankCharTable();
    state.glyphSheetLoaded = false;
}

}  // namespace velk
