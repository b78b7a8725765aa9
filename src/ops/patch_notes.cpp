#include "ops/patch_notes.h"

#include <cstdio>

#include <nettle/md5.h>
#include <nettle/sha1.h>

#include "image/version.h"
#include "ops/loaded_rom_guard.h"
#include "ops/messages.h"
#include "patch/bps.h"
#include "text/sjis.h"

namespace velk {
namespace {

std::string lowerHex(const uint8_t* digest, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", digest[i]);
        out += two;
    }
    return out;
}

std::string crcText(uint32_t crc) {
    char s[9];
    std::snprintf(s, sizeof s, "%08X", crc);
    return s;
}

std::string headerSentence(const PatchFacts& p) {
    if (p.baseCopierHeader == 0) return "The base ROM had no copier header.";
    return "The base ROM was a file with a " + std::to_string(p.baseCopierHeader) +
           "-byte copier header; the patch and the checksums leave it out.";
}

std::string hashRow(const std::string& what, const RomHashes& h) {
    return "| " + what + " | `" + crcText(h.crc32) + "` | `" + h.md5 + "` | `" + h.sha1 + "` |\n";
}

}  // namespace

RomHashes romHashes(std::span<const uint8_t> bytes) {
    md5_ctx md5;
    md5_init(&md5);
    md5_update(&md5, bytes.size(), bytes.data());
    uint8_t md5Digest[MD5_DIGEST_SIZE];
    md5_digest(&md5, MD5_DIGEST_SIZE, md5Digest);
    sha1_ctx sha1;
    sha1_init(&sha1);
    sha1_update(&sha1, bytes.size(), bytes.data());
    uint8_t sha1Digest[SHA1_DIGEST_SIZE];
    sha1_digest(&sha1, SHA1_DIGEST_SIZE, sha1Digest);
    return {crc32Of(bytes), lowerHex(md5Digest, MD5_DIGEST_SIZE), lowerHex(sha1Digest, SHA1_DIGEST_SIZE)};
}

std::string patchHashLines(const PatchFacts& p) {
    std::string out;
    if (p.baseCopierHeader)
        out += p.file + ": made for the ROM without its " + std::to_string(p.baseCopierHeader) +
               "-byte copier header, as patchers expect\n";
    for (const auto& [what, h] : {std::pair{"base:  ", &p.base}, {"result:", &p.result}})
        out += std::string(what) + " CRC32 " + crcText(h->crc32) + "  MD5 " + h->md5 + "  SHA-1 " + h->sha1 + "\n";
    return out;
}

std::string patchNotesText(const std::vector<PatchFacts>& patches, const std::string& projectName) {
    std::string out = projectName.empty() ? "# Patch notes\n\n" : "# " + projectName + ": patch notes\n\n";
    out += std::string("Made with ") + kVersionText + (projectName.empty() ? "" : " from the project `" + projectName + "`") +
           ".\n";
    if (patches.empty()) return out;
    out += "\nApply the patch to the base ROM without a copier header; it gives the result below.\n" +
           headerSentence(patches.front()) + "\n\n| ROM | CRC32 | MD5 | SHA-1 |\n|---|---|---|---|\n" +
           hashRow("base", patches.front().base);
    for (const PatchFacts& p : patches)
        out += hashRow("result of `" + p.file + "` (" + std::to_string(p.size) + " bytes)", p.result);
    return out;
}

Outcome writePatchNotes(const EditorState& state, Platform& platform, const std::filesystem::path& path,
                        const std::vector<PatchFacts>& patches, const std::string& projectName) {
    const std::string text = patchNotesText(patches, projectName);
    LoadedRomGuard guarded(state, platform);
    if (Status s = guarded.writeFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())); !s) {
        Problem p = std::move(s.problem());
        p.writing = true;
        p.file = toCp932(path.filename().string());
        p.fileUtf8 = path.filename().string();
        return failedOutcome(renderMessage(p));
    }
    return doneOutcome(toCp932(path.filename().string()));
}

}  // namespace velk
