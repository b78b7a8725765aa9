// The game's two dictionary-packed formats: LzFormatA (faces, colour sets)
// and LzFormatB (unit graphics, texts). A back-reference always points into a
// fixed dictionary, never into the data already unpacked. Everything here
// works on spans: the stream, the dictionary bytes, the data to pack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/result.h"
#include "pack/dictionary_search.h"

namespace velk {

// Both formats work on at most this many unpacked bytes per resource.
constexpr int32_t kWorkingBufferSize = 4096;

struct Unpacked {
    size_t consumed = 0;            // how many stream bytes the unpacker read
    std::vector<uint8_t> unpacked;  // exactly the unpacked length
};

// Unpack `stream` (the bytes from the stream's start to the end of the data it
// may use); back-references read `dictionary` (the bytes from the dictionary's
// base to the end of the image). A problem, with the offset in the stream,
// when the stream runs past its end, a reference leaves the dictionary, or a
// length header asks for more than kWorkingBufferSize bytes.
Result<Unpacked> unpackA(std::span<const uint8_t> stream, std::span<const uint8_t> dictionary, int32_t unpackedLength);
// unpackedLength 0: read from the stream's 2-byte length header.
Result<Unpacked> unpackB(std::span<const uint8_t> stream, std::span<const uint8_t> dictionary, int32_t unpackedLength,
                         int32_t lengthBits);

// The packers: greedy longest matches from the index of the dictionary window.
std::vector<uint8_t> packA(std::span<const uint8_t> src, const DictionaryIndex& dictionary);
std::vector<uint8_t> packB(std::span<const uint8_t> src, const DictionaryIndex& dictionary, int32_t lengthBits,
                           bool lengthHeader);

// The window sizes the two formats search.
constexpr int32_t kFormatAWindow = 4096;
constexpr int32_t formatBWindow(int32_t lengthBits) { return 1 << (16 - lengthBits); }

}  // namespace velk
