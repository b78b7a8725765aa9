// The game's two dictionary-packed formats: LzFormatA (faces, colour sets)
// and LzFormatB (unit graphics, texts). A back-reference always points into a
// fixed dictionary in the image, never into the data already unpacked.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "rom/resource_entry.h"
#include "rom/rom_image.h"

namespace velk {

// Both formats work on at most this many unpacked bytes per resource.
constexpr int32_t kWorkingBufferSize = 4096;

enum class LzFormat { A, B };

// How one kind of resource is packed.
struct PackProfile {
    LzFormat format;
    int32_t dictionaryBase;
    int32_t unpackedLength;  // 0: read from the stream's 2-byte length header
    int32_t lengthBits;      // LzFormatB only: bits of a back-reference's length field
    bool lengthHeader;       // LzFormatB only
};

constexpr PackProfile kFaceProfile{LzFormat::A, 0x204345, 768, 0, false};
constexpr PackProfile kFacePartProfile{LzFormat::A, 0x24FB72, 30, 0, false};
constexpr PackProfile kUnitGraphicProfile{LzFormat::B, 0x208006, 128, 4, false};
constexpr PackProfile kTextProfile{LzFormat::B, 0x10D402, 0, 3, true};

struct Unpacked {
    std::vector<uint8_t> packed;    // every byte the stream consumed
    std::vector<uint8_t> unpacked;  // exactly the unpacked length
};

// Unpack the stream at `at`. Nothing when the stream runs past the end of the
// image or its length header asks for more than kWorkingBufferSize bytes.
std::optional<Unpacked> unpackA(const RomImage& image, int32_t at, int32_t dictionaryBase, int32_t unpackedLength);
std::optional<Unpacked> unpackB(const RomImage& image, int32_t at, int32_t dictionaryBase, int32_t unpackedLength,
                                int32_t lengthBits);

std::vector<uint8_t> packA(const RomImage& image, std::span<const uint8_t> src, int32_t dictionaryBase);
std::vector<uint8_t> packB(const RomImage& image, std::span<const uint8_t> src, int32_t dictionaryBase,
                           int32_t lengthBits, bool lengthHeader);

// The record forms: the unpackers read at entry.romOffset and fill packed,
// unpacked and both lengths (false, entry untouched, on a bad stream); the
// packers pack the first unpackedLength bytes of entry.unpacked into packed.
bool unpackFormatA(const RomImage& image, ResourceEntry& entry, int32_t dictionaryBase, int32_t unpackedLength);
bool unpackFormatB(const RomImage& image, ResourceEntry& entry, int32_t dictionaryBase, int32_t unpackedLength,
                   int32_t lengthBits);
void packFormatA(const RomImage& image, ResourceEntry& entry, int32_t dictionaryBase, int32_t unpackedLength);
void packFormatB(const RomImage& image, ResourceEntry& entry, int32_t dictionaryBase, int32_t unpackedLength,
                 int32_t lengthBits, bool lengthHeader);

// The same, with every parameter taken from a profile.
bool unpackWithProfile(const RomImage& image, ResourceEntry& entry, const PackProfile& profile);
void packWithProfile(const RomImage& image, ResourceEntry& entry, const PackProfile& profile);

}  // namespace velk
