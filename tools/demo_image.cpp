#include "demo_image.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>
#include <string>

#include "pack/dictionary_search.h"
#include "pack/lz_formats.h"
#include "pack/pack_profiles.h"
#include "rom/catalogues.h"
#include "rom/free_regions.h"
#include "rom/save_layout.h"
#include "gfx/colours.h"
#include "gfx/unit_graphics.h"
#include "image/rom_image.h"
#include "text/char_tables.h"

namespace velk {
namespace {

using Bytes = std::vector<uint8_t>;

// splitmix64: small, fast and the same everywhere.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }  // both ends included
    bool chance(int percent) { return below(100) < percent; }
    uint8_t byte() { return static_cast<uint8_t>(next()); }

private:
    uint64_t state_;
};

constexpr int32_t kTextDictionarySize = formatBWindow(kTextProfile.lengthBits);
constexpr int32_t kTileDictionarySize = formatBWindow(kUnitGraphicProfile.lengthBits);
constexpr int32_t kColourDictionaryEnd = 0x250000;
constexpr int32_t kRawGraphicBlockSize = static_cast<int32_t>(kRawGraphicBlockBytes);
constexpr int kDistinctColourSets = 256;

// ---------------------------------------------------------------- game code

// Codes whose character is found first at that code, so text made of them
// comes back unchanged through an export and import.
struct GlyphCodes {
    std::vector<Bytes> hiragana, katakana, kanji, punctuation;
};

GlyphCodes collectGlyphCodes() {
    const CharTables& t = builtInCharTables();
    std::map<Glyph, Bytes> first;
    for (int table = 0; table < kCharTableCount; ++table)
        for (int slot = 0; slot < 256; ++slot) {
            const Glyph g = t[static_cast<size_t>(table)][static_cast<size_t>(slot)];
            if (g == kFullWidthSpace || g[0] == 0x0D) continue;
            Bytes code = table == 0 ? Bytes{static_cast<uint8_t>(slot)}
                                    : Bytes{static_cast<uint8_t>(table), static_cast<uint8_t>(slot)};
            first.emplace(g, code);
        }
    GlyphCodes codes;
    for (const auto& [glyph, code] : first) {
        if (code.size() == 1 && code[0] >= 0x21 && code[0] <= 0x70) codes.hiragana.push_back(code);
        else if (code.size() == 1 && code[0] >= 0x71 && code[0] <= 0xC1) codes.katakana.push_back(code);
        else if (code.size() == 1) codes.punctuation.push_back(code);
        else if (findToken(code[0], code[1]) == nullptr) codes.kanji.push_back(code);
    }
    return codes;
}

void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

template <typename T>
const T& pick(Rng& rng, const std::vector<T>& from) {
    return from[static_cast<size_t>(rng.below(static_cast<int>(from.size())))];
}

// A short run of characters: mostly hiragana, some kanji, now and then katakana.
Bytes makeWord(Rng& rng, const GlyphCodes& codes) {
    Bytes w;
    const int n = rng.range(2, 6);
    const bool katakanaWord = rng.chance(20);
    for (int i = 0; i < n; ++i) {
        if (katakanaWord) append(w, pick(rng, codes.katakana));
        else if (rng.chance(30)) append(w, pick(rng, codes.kanji));
        else append(w, pick(rng, codes.hiragana));
    }
    return w;
}

Bytes makeName(Rng& rng, const GlyphCodes& codes, int index) {
    // A few deliberate oddities that a round trip must cope with.
    switch (index) {
        case 0: return {};                          // empty
        case 1777: return {};                       // empty
        case 3: return {0x18, 0x0D, 0x4E, 0xD3};    // (主人公)の剣
        case 4: return {0x02, 0x00, 0x03, 0x80};    // 北候: a slot number 0x00 inside a name
        case 5: return {0x04, 0x89, 0x8F, 0xA4};    // 候 at its second place
        case 6: return {0x08, 0x10, 0x08, 0x11};    // added characters, blank when decoded
        case 7: return {0x18, 0x0E, 0x01, 0x1A};    // (騎士団) and a blank slot
        default: break;
    }
    Bytes name;
    if (rng.chance(3)) append(name, pick(rng, std::vector<Bytes>{{0x18, 0x0D}, {0x18, 0x0E}, {0x01, 0x1E}}));
    const int n = rng.range(1, 5);
    const bool kanjiName = rng.chance(35);
    for (int i = 0; i < n; ++i) append(name, kanjiName ? pick(rng, codes.kanji) : pick(rng, codes.katakana));
    if (!kanjiName && rng.chance(30)) name.push_back(0xC4);  // ー
    return name;
}

// Lengths skewed like a game's: many short lines, a long tail of speeches.
int textLength(Rng& rng) {
    const int r = rng.below(100);
    if (r < 55) return rng.range(6, 36);
    if (r < 88) return rng.range(37, 124);
    if (r < 99) return rng.range(125, 420);
    return rng.range(401, 1400);
}

Bytes makeText(Rng& rng, const GlyphCodes& codes, const std::vector<Bytes>& phrases, int index) {
    switch (index) {
        case 0: return {};                                      // empty
        case 1: return {0x11, 0x1B, 0x05};                      // !11!?1B 05?
        case 2: return {0xF1, 0x23, 0x16, 0x02, 0x00, 0x20};    // word reference, line break, 北, space
        case 3: return {0x0B, 0x05, 0x4E, 0x0F, 0x80};          // codes of tables that do not exist
        case 4: return {0x2D, 0x3B, 0x1B};                      // ends with half a two-byte control
        case 5: return {0xFA, 0x12, 0x9E, 0x09};                // reference beyond the last name
        case 6: return {0x04, 0x89, 0x01, 0x1A, 0x00, 0x2E};    // second place of 候, blank slot, 00 xx
        default: break;
    }
    Bytes text;
    const int target = textLength(rng);
    int sinceBreak = 0;
    while (static_cast<int>(text.size()) < target) {
        const int r = rng.below(100);
        if (r < 50) append(text, pick(rng, phrases));
        else if (r < 70) append(text, makeWord(rng, codes));
        else if (r < 76) append(text, pick(rng, codes.punctuation));
        else if (r < 80) append(text, {0x18, 0x0D});  // (主人公)
        else if (r < 82) append(text, pick(rng, std::vector<Bytes>{{0x18, 0x0E}, {0x01, 0x0E}, {0x01, 0x13}, {0x01, 0x1E}}));
        else if (r < 87) {
            const int name = rng.below(kNameCount);
            append(text, {static_cast<uint8_t>(0xF0 + (name >> 8)), static_cast<uint8_t>(name & 0xFF)});
        } else if (r < 90) {
            static const uint8_t twoByte[] = {0x14, 0x1A, 0x1B, 0x1C, 0x1D, 0x18};
            uint8_t b0 = twoByte[rng.below(6)];
            uint8_t b1 = static_cast<uint8_t>(rng.range(0, 0x3F));
            if (b0 == 0x18 && (b1 == 0x0D || b1 == 0x0E)) b1 = 0x20;
            append(text, {b0, b1});
        } else if (r < 92) {
            static const uint8_t oneByte[] = {0x11, 0x12, 0x13, 0x15};
            text.push_back(oneByte[rng.below(4)]);
        } else {
            append(text, makeWord(rng, codes));
        }
        sinceBreak += 4;
        if (sinceBreak > rng.range(16, 40)) {
            text.push_back(0x16);
            sinceBreak = 0;
        }
    }
    if (rng.chance(60)) text.push_back(0x13);  // most texts end waiting for a key
    return text;
}

// ---------------------------------------------------------------- graphics

// One 8x8 tile in the console's 4-bit planar format.
Bytes encodeTile(const std::array<std::array<uint8_t, 8>, 8>& px) {
    Bytes tile(32, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            for (int plane = 0; plane < 4; ++plane)
                if (px[static_cast<size_t>(y)][static_cast<size_t>(x)] >> plane & 1)
                    tile[static_cast<size_t>((plane >> 1) * 16 + 2 * y + (plane & 1))] |= static_cast<uint8_t>(0x80 >> x);
    return tile;
}

// A tile with a shape in it: an outline, a fill, rows that repeat.
Bytes makeShapeTile(Rng& rng) {
    std::array<std::array<uint8_t, 8>, 8> px{};
    const uint8_t fill = static_cast<uint8_t>(rng.range(1, 15));
    const uint8_t edge = static_cast<uint8_t>(rng.range(1, 15));
    int left = rng.range(0, 3), right = rng.range(4, 7);
    for (int y = 0; y < 8; ++y) {
        if (y > 0 && rng.chance(55)) {
            px[static_cast<size_t>(y)] = px[static_cast<size_t>(y - 1)];
            continue;
        }
        left = std::clamp(left + rng.range(-1, 1), 0, 3);
        right = std::clamp(right + rng.range(-1, 1), 4, 7);
        for (int x = left; x <= right; ++x)
            px[static_cast<size_t>(y)][static_cast<size_t>(x)] = (x == left || x == right) ? edge : fill;
    }
    return encodeTile(px);
}

Bytes makeTileDictionary(Rng& rng) {
    Bytes d(64, 0);  // two blank tiles: long zero runs to refer to
    while (static_cast<int32_t>(d.size()) < kTileDictionarySize) append(d, makeShapeTile(rng));
    d.resize(kTileDictionarySize);
    return d;
}

// A tile for a unit or a face: blank, lifted from the dictionary, or drawn.
Bytes makeGraphicTile(Rng& rng, const Bytes& dictionary, int blankPercent, int liftedPercent) {
    const int r = rng.below(100);
    if (r < blankPercent) return Bytes(32, 0);
    if (r < blankPercent + liftedPercent) {
        const size_t at = static_cast<size_t>(rng.below(kTileDictionarySize / 32 - 1)) * 32;
        Bytes tile(dictionary.begin() + static_cast<std::ptrdiff_t>(at),
                   dictionary.begin() + static_cast<std::ptrdiff_t>(at + 32));
        if (rng.chance(40)) tile[static_cast<size_t>(rng.below(32))] ^= static_cast<uint8_t>(1 << rng.below(8));
        return tile;
    }
    return makeShapeTile(rng);
}

uint16_t colour(int r, int g, int b) {
    return static_cast<uint16_t>(std::clamp(r, 0, 31) | std::clamp(g, 0, 31) << 5 | std::clamp(b, 0, 31) << 10);
}

void putColour(Bytes& out, uint16_t c) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
}

// 15 colours of a face: a skin ramp, a hair ramp, an eye colour, outline.
Bytes makeColourSet(Rng& rng) {
    Bytes set;
    const int hr = rng.range(2, 28), hg = rng.range(2, 28), hb = rng.range(2, 28);
    for (int i = 0; i < 15; ++i) {
        if (i < 5) putColour(set, colour(31 - i * 2, 24 - i * 3, 18 - i * 3));
        else if (i < 10) putColour(set, colour(hr - (i - 5) * 3, hg - (i - 5) * 3, hb - (i - 5) * 3));
        else if (i < 14) putColour(set, colour(rng.range(0, 31), rng.range(0, 31), rng.range(0, 31)));
        else putColour(set, colour(2, 2, 4));
    }
    return set;
}

// ---------------------------------------------------------------- packing

// A valid packer that is deliberately not the editor's: it sometimes writes
// literals where a match exists, takes shorter matches, flushes literal runs
// early and lets the last back-reference of LzFormatA run past the end.
class LooseLzPacker {
public:
    LooseLzPacker(const RomImage& image, Rng& rng) : image_(image), rng_(rng) {}

    Bytes packA(const Bytes& src, int32_t base) {
        const int32_t limit = windowLimitFor(base, 4096);
        const std::shared_ptr<const DictionaryIndex> index =
            dictionaryIndexFor(std::span<const uint8_t>(image_.bytes).subspan(static_cast<size_t>(base), static_cast<size_t>(limit)));
        const DictionaryIndex& dict = *index;
        Bytes out;
        Bytes literals;
        auto flush = [&] {
            if (literals.empty()) return;
            out.push_back(static_cast<uint8_t>(0x7F + literals.size()));
            append(out, literals);
            literals.clear();
        };
        const int32_t n = static_cast<int32_t>(src.size());
        int32_t pos = 0;
        while (pos < n) {
            const int32_t left = n - pos;
            Match m = left >= 3 ? dict.find(src.data() + pos, std::min(10, left)) : Match{};
            if (left < 3 && rng_.chance(50)) m = overshootingMatch(src.data() + pos, left, base, limit);
            if (m.length >= 3 && !rng_.chance(12)) {
                if (m.length > 3 && m.length <= left && rng_.chance(20)) m.length -= 1;
                flush();
                out.push_back(static_cast<uint8_t>(((m.length - 3) << 4) + (m.offset >> 8)));
                out.push_back(static_cast<uint8_t>(m.offset & 0xFF));
                pos += std::min(m.length, left);
                continue;
            }
            literals.push_back(src[static_cast<size_t>(pos++)]);
            if (literals.size() == 128 || rng_.chance(3)) flush();
        }
        flush();
        return out;
    }

    Bytes packB(const Bytes& src, int32_t base, int lengthBits, bool header) {
        const int32_t limit = windowLimitFor(base, 1 << (16 - lengthBits));
        const std::shared_ptr<const DictionaryIndex> index =
            dictionaryIndexFor(std::span<const uint8_t>(image_.bytes).subspan(static_cast<size_t>(base), static_cast<size_t>(limit)));
        const DictionaryIndex& dict = *index;
        const int32_t maxLength = (1 << lengthBits) + 2;
        const int offsetBits = 8 - lengthBits;
        const int32_t n = static_cast<int32_t>(src.size());
        Bytes out;
        if (header) {
            out.push_back(static_cast<uint8_t>(n & 0xFF));
            out.push_back(static_cast<uint8_t>(n >> 8));
        }
        int32_t pos = 0;
        while (pos < n) {
            const size_t flagAt = out.size();
            out.push_back(0);
            for (int bit = 7; bit >= 0 && pos < n; --bit) {
                const int32_t left = n - pos;
                Match m = left >= 3 ? dict.find(src.data() + pos, std::min(maxLength, left)) : Match{};
                if (m.length >= 3 && !rng_.chance(10)) {
                    if (m.length > 3 && rng_.chance(20)) m.length -= 1;
                    out.push_back(static_cast<uint8_t>(((m.length - 3) << offsetBits) + (m.offset >> 8)));
                    out.push_back(static_cast<uint8_t>(m.offset & 0xFF));
                    pos += m.length;
                } else {
                    out.push_back(src[static_cast<size_t>(pos++)]);
                    out[flagAt] = static_cast<uint8_t>(out[flagAt] | 1 << bit);
                }
            }
        }
        return out;
    }

private:
    // A 3-byte reference whose first `left` bytes are the last bytes to pack.
    Match overshootingMatch(const uint8_t* tail, int32_t left, int32_t base, int32_t limit) {
        for (int32_t s = 0; s + 3 < limit; ++s)
            if (std::equal(tail, tail + left, image_.at(base + s))) return {3, s};
        return {};
    }

    const RomImage& image_;
    Rng& rng_;
};

// ---------------------------------------------------------------- placement

// First fit, by address, into the free regions, each filled to a share of
// 75-90 %. Row 8 and the expansion area behind the relocated blocks stay empty.
class RegionFiller {
public:
    explicit RegionFiller(Rng& rng) {
        for (int i = 0; i < kFreeRegionCount; ++i) {
            const RomRange r = kFreeRegionTable[static_cast<size_t>(i)];
            if (i == kFreeRegionInColourDictionary || r.start >= 0x320000) continue;
            regions_.push_back({r, r.start + r.size() * rng.range(75, 90) / 100});
        }
        std::sort(regions_.begin(), regions_.end(),
                  [](const Slot& a, const Slot& b) { return a.range.start < b.range.start; });
    }

    int32_t place(RomImage& image, const Bytes& packed) {
        for (Slot& s : regions_) {
            if (s.next + static_cast<int32_t>(packed.size()) > s.capacityEnd) continue;
            const int32_t at = s.next;
            std::copy(packed.begin(), packed.end(), image.at(at));
            s.next += static_cast<int32_t>(packed.size());
            return at;
        }
        throw std::runtime_error("demo image: the free regions are full");
    }

private:
    struct Slot {
        RomRange range;
        int32_t capacityEnd;
        int32_t next = range.start;
    };
    std::vector<Slot> regions_;
};

// ---------------------------------------------------------------- the image

void writeHeader(RomImage& image) {
    const std::string title = "VELK DEMO IMAGE      ";
    std::copy(title.begin(), title.end(), image.at(0x7FC0));
    image[0x7FD5] = 0x20;  // LoROM
    image[0x7FD6] = 0x02;
    image[0x7FD7] = 0x0C;  // ROM size before the editor's save
    image[0x7FD8] = 0x03;
    image[0x7FD9] = 0x00;
    image[0x7FDA] = 0x33;
}

void fillRandom(RomImage& image, Rng& rng, int32_t at, int32_t count) {
    for (int32_t i = 0; i < count; ++i) image[at + i] = rng.byte();
}

void writeFixedBlocks(RomImage& image, Rng& rng) {
    fillRandom(image, rng, 0xE9F0, 15);  // the game's own code where the save patches it
    image[0xEA0C] = 0xC4;
    for (int i = 0; i < 256; ++i) {
        const uint16_t c = colour(rng.range(0, 31), rng.range(0, 31), rng.range(0, 31));
        image[kSharedColourTable + 2 * i] = static_cast<uint8_t>(c & 0xFF);
        image[kSharedColourTable + 2 * i + 1] = static_cast<uint8_t>(c >> 8);
    }
    const Bytes dictionary = makeTileDictionary(rng);
    for (int32_t at = 0; at < kRawGraphicBlockSize; at += 32) {
        const Bytes tile = makeGraphicTile(rng, dictionary, 25, 10);
        std::copy(tile.begin(), tile.end(), image.at(kRawGraphicBlock + at));
    }
    // The three blocks the save moves behind the relocation marker.
    const std::array<std::pair<int32_t, int32_t>, 3> blocks = {{{0x1E7DDB, 1638}, {0x1E7F52, 1624}, {0x1E7DAB, 1617}}};
    int32_t at = kDemoRelocatableBlocks;
    for (const auto& [pointer, size] : blocks) {
        for (int32_t i = 0; i < size; ++i) image[at + i] = static_cast<uint8_t>(rng.chance(30) ? rng.byte() : i % 7);
        writeLongPointer(image, pointer, at);
        at += size;
    }
    // The game's own glyphs and their pointers.
    for (int k = 0; k < 256; ++k) {
        const int32_t glyph = kDemoGlyphArea + 36 * k;
        for (int g = 0; g < 4; ++g) {
            image[glyph + 9 * g] = 0xFF;
            fillRandom(image, rng, glyph + 9 * g + 1, 8);
        }
        writeLongPointer(image, kGlyphPointerTable + 3 * k, glyph);
    }
}

void writeNames(RomImage& image, Rng& rng, const GlyphCodes& codes) {
    const std::array<RomRange, 2> regions = {{{0x60031, 0x640C7}, {0x65463, 0x68000}}};
    size_t region = 0;
    int32_t at = regions[0].start;
    for (int i = 0; i < kNameCount; ++i) {
        const Bytes name = makeName(rng, codes, i);
        if (at + static_cast<int32_t>(name.size()) + 1 > regions[region].end) {
            if (++region == regions.size()) throw std::runtime_error("demo image: the names do not fit");
            at = regions[region].start;
        }
        std::copy(name.begin(), name.end(), image.at(at));
        image[at + static_cast<int32_t>(name.size())] = 0x00;
        writeShortPointer(image, kNamePointerTable + 2 * i, kNamePointerBase, at);
        at += static_cast<int32_t>(name.size()) + 1;
    }
}

std::vector<Bytes> writeTextDictionary(RomImage& image, Rng& rng, const GlyphCodes& codes) {
    std::vector<Bytes> phrases;
    Bytes dictionary;
    while (static_cast<int32_t>(dictionary.size()) < kTextDictionarySize) {
        Bytes phrase = makeWord(rng, codes);
        if (rng.chance(50)) append(phrase, makeWord(rng, codes));
        if (rng.chance(30)) append(phrase, pick(rng, codes.punctuation));
        append(dictionary, phrase);
        phrases.push_back(std::move(phrase));
    }
    std::copy(dictionary.begin(), dictionary.begin() + kTextDictionarySize, image.at(kTextProfile.dictionaryBase));
    phrases.pop_back();  // the last one was cut at the dictionary's end
    return phrases;
}

void writeColourSets(RomImage& image, Rng& rng, LooseLzPacker& packer) {
    // The colour dictionary: ramps of colours up to the end of its bank.
    Bytes dictionary;
    while (static_cast<int32_t>(dictionary.size()) < kColourDictionaryEnd - kColourSetProfile.dictionaryBase)
        append(dictionary, makeColourSet(rng));
    std::copy(dictionary.begin(),
              dictionary.begin() + (kColourDictionaryEnd - kColourSetProfile.dictionaryBase),
              image.at(kColourSetProfile.dictionaryBase));
    // 256 stored colour sets, shared by the 1256 a face may use.
    int32_t at = kDemoColourSetData;
    for (int j = 0; j < kDistinctColourSets; ++j) {
        Bytes set = makeColourSet(rng);
        if (rng.chance(40)) {  // reuse a stretch of the dictionary
            const auto from = static_cast<std::ptrdiff_t>(rng.below(static_cast<int>(dictionary.size()) / 30 - 1) * 30);
            std::copy(dictionary.begin() + from, dictionary.begin() + from + 30, set.begin());
        }
        const Bytes packed = packer.packA(set, kColourSetProfile.dictionaryBase);
        std::copy(packed.begin(), packed.end(), image.at(at));
        writeShortPointer(image, kColourSetIndexedPointerTable + 2 * j, kColourSetIndexedBase, at);
        at += static_cast<int32_t>(packed.size());
    }
    for (int i = 0; i < kColourSetCount; ++i)
        image[kColourSetIndexTable + i] = static_cast<uint8_t>(rng.chance(80) ? i % kDistinctColourSets
                                                                               : rng.below(kDistinctColourSets));
}

void writeFaces(RomImage& image, Rng& rng, LooseLzPacker& packer, RegionFiller& filler) {
    const Bytes dictionary = makeTileDictionary(rng);
    std::copy(dictionary.begin(), dictionary.end(), image.at(kFaceProfile.dictionaryBase));
    // Each face has a slot of the face pointer table; a few share one.
    std::vector<int> slotOf(kFaceCount);
    for (int i = 0; i < kFaceCount; ++i) slotOf[static_cast<size_t>(i)] = i;
    for (int i : {41, 77, 105}) slotOf[static_cast<size_t>(i)] = slotOf[static_cast<size_t>(i - 1)];
    int32_t pinned = kDemoPinnedFaceArea;
    int32_t firstFace = 0;
    for (int i = 0; i < kFaceCount; ++i) {
        const int slot = slotOf[static_cast<size_t>(i)];
        image[kFaceIndexTable + 4 * i] = static_cast<uint8_t>(slot);
        fillRandom(image, rng, kFaceIndexTable + 4 * i + 1, 3);
        if (slot != i) continue;  // shares the face before it
        Bytes face;
        for (int t = 0; t < 24; ++t) append(face, makeGraphicTile(rng, dictionary, (t % 4 == 0 || t % 4 == 3) ? 40 : 8, 45));
        const Bytes packed = packer.packA(face, kFaceProfile.dictionaryBase);
        int32_t at;
        if (i >= kFirstPinnedFace) {  // never moved by a save, so kept out of the free regions
            at = pinned;
            std::copy(packed.begin(), packed.end(), image.at(at));
            pinned += static_cast<int32_t>(packed.size());
        } else {
            at = filler.place(image, packed);
        }
        if (i == 0) firstFace = at;
        writeLongPointer(image, kFacePointerTable + 3 * slot, at);
    }
    for (int slot = kFaceCount; slot < 256; ++slot) writeLongPointer(image, kFacePointerTable + 3 * slot, firstFace);
}

void writeUnitGraphics(RomImage& image, Rng& rng, LooseLzPacker& packer, RegionFiller& filler) {
    const Bytes dictionary = makeTileDictionary(rng);
    std::copy(dictionary.begin(), dictionary.end(), image.at(kUnitGraphicProfile.dictionaryBase));
    Bytes previous;
    for (int i = 0; i < kUnitGraphicCount; ++i) {
        Bytes unit;
        if (!previous.empty() && rng.chance(30)) {  // the next frame of the same unit
            unit = previous;
            for (int k = rng.range(1, 6); k > 0; --k) unit[static_cast<size_t>(rng.below(128))] ^= rng.byte();
        } else {
            for (int t = 0; t < 4; ++t) append(unit, makeGraphicTile(rng, dictionary, 22, 35));
        }
        const Bytes packed = packer.packB(unit, kUnitGraphicProfile.dictionaryBase, kUnitGraphicProfile.lengthBits, false);
        writeLongPointer(image, kUnitGraphicPointerTable + 3 * i, filler.place(image, packed));
        previous = std::move(unit);
    }
}

void writeTexts(RomImage& image, Rng& rng, const GlyphCodes& codes, const std::vector<Bytes>& phrases,
                LooseLzPacker& packer, RegionFiller& filler) {
    for (int i = 0; i < kTextCount; ++i) {
        const Bytes text = makeText(rng, codes, phrases, i);
        const Bytes packed = packer.packB(text, kTextProfile.dictionaryBase, kTextProfile.lengthBits, true);
        writeLongPointer(image, kTextPointerTable + 3 * i, filler.place(image, packed));
    }
}

}  // namespace

std::vector<uint8_t> makeDemoImage(uint64_t seed) {
    Rng rng(seed);
    RomImage image;
    const GlyphCodes codes = collectGlyphCodes();
    writeHeader(image);
    writeFixedBlocks(image, rng);
    writeNames(image, rng, codes);
    const std::vector<Bytes> phrases = writeTextDictionary(image, rng, codes);
    LooseLzPacker packer(image, rng);
    RegionFiller filler(rng);
    writeColourSets(image, rng, packer);
    writeFaces(image, rng, packer, filler);
    writeUnitGraphics(image, rng, packer, filler);
    writeTexts(image, rng, codes, phrases, packer, filler);
    writeChecksum(image);
    return std::move(image.bytes);
}

}  // namespace velk
