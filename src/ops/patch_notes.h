// What a patch is released with: the checksums of the ROM it applies to and
// of the ROM it makes, as patching tools show them, and notes for players.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "ops/outcome.h"
#include "platform/platform.h"
#include "ops/editor_state.h"

namespace velk {

struct RomHashes {
    uint32_t crc32 = 0;
    std::string md5;   // 32 lower-case hex digits
    std::string sha1;  // 40 lower-case hex digits
};
RomHashes romHashes(std::span<const uint8_t> bytes);

// One patch a run wrote: base and result are the images without a copier
// header, which is what the patch goes between.
struct PatchFacts {
    std::string file;  // its name without folder, UTF-8
    size_t size = 0;
    RomHashes base, result;
    size_t baseCopierHeader = 0;  // bytes of copier header the loaded file had
};

// The lines the patch verb prints below its "verified" line: a note when the
// loaded file had a copier header, then the base's and the result's CRC32,
// MD5 and SHA-1. UTF-8, each ending in LF.
std::string patchHashLines(const PatchFacts& patch);

// Release notes in Markdown for the patches of one run, in their order: the
// VELK version, the project they were built from (empty: none), the base's
// copier header, and the checksums. Nothing in them changes from one run to
// the next.
std::string patchNotesText(const std::vector<PatchFacts>& patches, const std::string& projectName);

// Writes the notes to `path` (never over the loaded ROM).
Outcome writePatchNotes(const EditorState& state, Platform& platform, const std::filesystem::path& path,
                        const std::vector<PatchFacts>& patches, const std::string& projectName);

}  // namespace velk
