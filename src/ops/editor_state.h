// Everything the editor holds between two operations: the document (what
// undo covers), the ROM file it was loaded from, and the run's options and
// backups, which no undo takes back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/file_identity.h"
#include "rom/document.h"

namespace velk {

// The ROM file as loaded: the 512-byte copier header in front of the image
// (or none), where it came from, and how to tell that the file there is
// still the one loaded (a patch is made against it; its bytes are not kept
// in memory).
struct LoadedFile {
    std::vector<uint8_t> copierHeader;
    std::filesystem::path path;
    FileIdentity identity;
    std::filesystem::path copy;  // a .bak this run made of the file as loaded
    uint32_t crc = 0;            // CRC-32 of the loaded file, copier header included
};

struct EditorOptions {
    bool keepChecksum = false;         // saves leave the cartridge checksum as it stands
    bool scriptFilesAnywhere = false;  // change scripts may name files outside their folder
    bool fullWidth = false;            // one-byte characters without a glyph typed full-width
};

struct EditorState : Document {
    LoadedFile loaded;
    EditorOptions options;
    std::vector<std::filesystem::path> backedUp;  // files this run has kept a .bak of
    // The document as the last ROM save laid it out: a save or patch of the
    // same document writes those bytes again without laying them out again.
    std::shared_ptr<const Document> laidOut;
};

}  // namespace velk
