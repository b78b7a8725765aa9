#include "rom/load.h"

#include <algorithm>

#include "image/crc32.h"
#include "rom/save_layout.h"

namespace velk {

namespace {

Status checkSize(size_t size) {
    if (size == static_cast<size_t>(kRomSize) || size == static_cast<size_t>(kRomSize) + kCopierHeaderSize) return {};
    // The caller reads at most one byte more than the largest size there is.
    Problem p = problem(ProblemCode::NotARomImage);
    p.found = static_cast<int64_t>(size);
    p.expected = kRomSize + kCopierHeaderSize;
    return p;
}

Result<LoadedRom> withCatalogues(LoadedRom rom, const CharTables& tables) {
    if (Status s = checkRelocatedBlocks(rom.image); !s) return std::move(s.problem());  // a save could not move them
    CharTables withBlankAdded = tables;
    withBlankAdded[kAddedCharTable] = blankCharTable();
    Result<Catalogues> catalogues = buildCatalogues(rom.image, withBlankAdded);
    if (!catalogues) return std::move(catalogues.problem());
    rom.catalogues = std::move(*catalogues);
    return rom;
}

}  // namespace

Result<LoadedRom> loadRom(std::vector<uint8_t>&& file, const CharTables& tables) {
    if (Status s = checkSize(file.size()); !s) return std::move(s.problem());
    const uint32_t crc = crc32Of(file);
    std::vector<uint8_t> header;
    if (file.size() != static_cast<size_t>(kRomSize)) {
        header.assign(file.begin(), file.begin() + kCopierHeaderSize);
        file.erase(file.begin(), file.begin() + kCopierHeaderSize);
    }
    return withCatalogues(LoadedRom{RomImage(std::move(file)), {}, std::move(header), crc}, tables);
}

void installRom(Document& document, LoadedRom& rom) {
    document.image = std::move(rom.image);
    document.catalogues = std::move(rom.catalogues);
    document.tables[kAddedCharTable] = blankCharTable();
    document.glyphSheetLoaded = false;
}

}  // namespace velk
