// How each kind of resource is packed in the image, and the record forms of
// the packers and unpackers.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "image/resource_entry.h"
#include "image/result.h"
#include "image/rom_image.h"
#include "pack/lz_formats.h"

namespace velk {

enum class LzFormat { A, B };

struct PackProfile {
    LzFormat format;
    int32_t dictionaryBase;  // an image offset
    int32_t unpackedLength;  // 0: read from the stream's 2-byte length header
    int32_t lengthBits;      // LzFormatB only: bits of a back-reference's length field
    bool lengthHeader;       // LzFormatB only
};

constexpr PackProfile kFaceProfile{LzFormat::A, 0x204345, 768, 0, false};
constexpr PackProfile kColourSetProfile{LzFormat::A, 0x24FB72, 30, 0, false};
constexpr PackProfile kUnitGraphicProfile{LzFormat::B, 0x208006, 128, 4, false};
constexpr PackProfile kTextProfile{LzFormat::B, 0x10D402, 0, 3, true};

// The index of the profile's dictionary window in this image.
std::shared_ptr<const DictionaryIndex> dictionaryFor(const RomImage& image, const PackProfile& profile);

// Unpacks the stream at image offset `at`.
Result<Unpacked> unpackAt(const RomImage& image, int32_t at, const PackProfile& profile);
std::vector<uint8_t> packWithProfile(std::span<const uint8_t> src, const DictionaryIndex& dictionary,
                                     const PackProfile& profile);
std::vector<uint8_t> packWithProfile(const RomImage& image, std::span<const uint8_t> src, const PackProfile& profile);

// Record forms. unpackEntry reads at entry.romOffset and fills packed,
// unpacked and both lengths (the entry untouched on a problem).
Status unpackEntry(const RomImage& image, ResourceEntry& entry, const PackProfile& profile);
// Replaces the entry's unpacked bytes and packs them.
void storeAndPack(const RomImage& image, ResourceEntry& entry, std::vector<uint8_t> unpacked,
                  const PackProfile& profile);

}  // namespace velk
