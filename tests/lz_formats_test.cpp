#include <gtest/gtest.h>

#include "pack/dictionary_search.h"
#include "pack/lz_formats.h"
#include "pack/pack_profiles.h"
#include "test_support.h"

namespace velk {
namespace {

// A dictionary of zeros with 41 42 43 44 at offsets 0x123-0x126.
constexpr int32_t kBaseB4 = 0x208006;  // 4096-byte window
constexpr int32_t kBaseB3 = 0x10D402;  // 8192-byte window
constexpr int32_t kBaseA = 0x204345;   // 4096-byte window

RomImage workedExampleImage() {
    RomImage image;
    for (int32_t base : {kBaseA, kBaseB4, kBaseB3})
        for (int i = 0; i < 4; ++i) image[base + 0x123 + i] = static_cast<uint8_t>(0x41 + i);
    return image;
}

// The stream placed at 0x300000 of a copy of the image, unpacked.
Bytes unpackedWith(const RomImage& image, const Bytes& stream, const PackProfile& profile, int32_t* consumed) {
    RomImage copy = image;
    std::copy(stream.begin(), stream.end(), copy.at(0x300000));
    Result<Unpacked> r = unpackAt(copy, 0x300000, profile);
    EXPECT_TRUE(r.ok());
    if (!r) return {};
    if (consumed) *consumed = static_cast<int32_t>(r->consumed);
    return r->unpacked;
}
Bytes unpackedA(const RomImage& image, const Bytes& stream, int32_t base, int32_t n, int32_t* consumed = nullptr) {
    return unpackedWith(image, stream, {LzFormat::A, base, n, 0, false}, consumed);
}
Bytes unpackedB(const RomImage& image, const Bytes& stream, int32_t base, int32_t n, int k, int32_t* consumed = nullptr) {
    return unpackedWith(image, stream, {LzFormat::B, base, n, k, false}, consumed);
}

Bytes unmatchable(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(0x50 + i % 0x30);
    return b;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Each source packs to exactly these bytes, and they unpack to the source,
// the whole stream read.
TEST(Packers, PackToExactBytesAndBack) {
    const RomImage image = workedExampleImage();
    const PackProfile a{LzFormat::A, kBaseA, 0, 0, false}, b4{LzFormat::B, kBaseB4, 0, 4, false},
        b3{LzFormat::B, kBaseB3, 0, 3, false}, b3h{LzFormat::B, kBaseB3, 0, 3, true};
    const Bytes abcd = {0x41, 0x42, 0x43, 0x44}, zeros(20, 0), nine = unmatchable(9), many = unmatchable(130);
    const struct { const char* what; PackProfile profile; Bytes src, packed; } cases[] = {
        {"found in the dictionary", a, abcd, {0x11, 0x23}},
        {"found in the dictionary", b4, abcd, {0x00, 0x11, 0x23}},
        {"found, with the length header", b3h, abcd, {0x04, 0x00, 0x00, 0x21, 0x23}},
        {"a match then a literal", a, {0x41, 0x42, 0x43, 0x44, 0x45}, {0x11, 0x23, 0x80, 0x45}},
        {"a match then a literal", b4, {0x41, 0x42, 0x43, 0x44, 0x45}, {0x40, 0x11, 0x23, 0x45}},
        {"two bytes are never a match", a, {0x41, 0x42}, {0x81, 0x41, 0x42}},
        {"two bytes are never a match", b4, {0x41, 0x42}, {0xC0, 0x41, 0x42}},
        {"a 2-byte match and another byte", a, {0x41, 0x42, 0x99}, {0x82, 0x41, 0x42, 0x99}},
        {"pending literals go first", a, {0x55, 0x66, 0x41, 0x42, 0x43}, {0x81, 0x55, 0x66, 0x01, 0x23}},
        {"matches capped by the format", a, zeros, {0x70, 0x00, 0x70, 0x00}},
        {"matches capped by the format", b4, zeros, {0x60, 0xF0, 0x00, 0x00, 0x00}},
        {"matches capped by the format", b3, zeros, {0x00, 0xE0, 0x00, 0xE0, 0x00}},
        {"and by what is left", a, Bytes(5, 0), {0x20, 0x00}},
        {"an empty text is its header", b3h, {}, {0x00, 0x00}},
        {"nine items take two flag bytes", b4, nine, concat({{0xFF}, Bytes(nine.begin(), nine.begin() + 8), {0x80, nine[8]}})},
        {"128 literals at once", a, unmatchable(128), concat({{0xFF}, unmatchable(128)})},
        {"then two more", a, many, concat({{0xFF}, Bytes(many.begin(), many.begin() + 128), {0x81, many[128], many[129]}})},
    };
    for (const auto& c : cases) {
        const DictionaryIndex& dictionary = *dictionaryFor(image, c.profile);
        const Bytes packed = c.profile.format == LzFormat::A ? packA(c.src, dictionary)
                                                             : packB(c.src, dictionary, c.profile.lengthBits, c.profile.lengthHeader);
        EXPECT_EQ(packed, c.packed) << c.what;
        PackProfile reading = c.profile;
        reading.unpackedLength = c.profile.lengthHeader ? 0 : static_cast<int32_t>(c.src.size());
        int32_t consumed = -1;
        EXPECT_EQ(unpackedWith(image, c.packed, reading, &consumed), c.src) << c.what;
        EXPECT_EQ(consumed, static_cast<int32_t>(c.packed.size())) << c.what;
    }
}

TEST(Packers, EquallyLongMatchesUseTheLowerOffset) {
    RomImage image;
    for (int32_t at : {0x10, 0x200}) {
        image[kBaseA + at] = 0x41;
        image[kBaseA + at + 1] = 0x42;
        image[kBaseA + at + 2] = 0x43;
    }
    EXPECT_EQ(packA(Bytes{0x41, 0x42, 0x43}, *dictionaryFor(image, {LzFormat::A, kBaseA, 0, 0, false})), (Bytes{0x00, 0x10}));
}

TEST(Unpackers, StopAfterTheItemThatCompletesTheLength) {
    const RomImage image = workedExampleImage();
    int32_t consumed = 0;
    // flag byte with bits left over: only three literals are read
    EXPECT_EQ(unpackedB(image, {0xFF, 1, 2, 3, 4, 5}, kBaseB4, 3, 4, &consumed), (Bytes{1, 2, 3}));
    EXPECT_EQ(consumed, 4);
    // a last back-reference that runs past the length is read whole, its spare bytes dropped
    EXPECT_EQ(unpackedA(image, {0x81, 9, 9, 0x21, 0x23}, kBaseA, 3, &consumed), (Bytes{9, 9, 0x41}));
    EXPECT_EQ(consumed, 5);
    EXPECT_EQ(unpackedB(image, {0x40, 0x71, 0x23, 0x77}, kBaseB4, 5, 4, &consumed), (Bytes{0x41, 0x42, 0x43, 0x44, 0}));
    EXPECT_EQ(consumed, 3);
}

// Streams near the image's end and streams that ask too much: each is read
// whole, or fails with its code at its offset into the stream.
TEST(Unpackers, StreamsThatLeaveTheImageOrAskTooMuch) {
    using C = ProblemCode;
    constexpr size_t kAny = SIZE_MAX;
    const int32_t end = kRomSize, nearEnd = kRomSize - 0x100;  // a dictionary near the end
    const PackProfile a{LzFormat::A, kBaseA, 1, 0, false}, b4{LzFormat::B, kBaseB4, 1, 4, false};
    const PackProfile b3{LzFormat::B, kBaseB3, 0, 3, false}, aEnd{LzFormat::A, nearEnd, 3, 0, false};
    // The stream placed at `at`; no code: read; offset: the problem's, or the bytes read (kAny: not checked).
    const struct { const char* what; int32_t at; Bytes stream; PackProfile profile; std::optional<ProblemCode> code;
                   size_t offset; } cases[] = {
        {"one literal on the last byte", end - 2, {0x80, 0x41}, a, {}, 2},
        {"a reference needing a byte more", end - 1, {0x41}, a, C::PackedStreamRunsPast, 1},
        {"a literal past the end", end - 1, {0x80}, a, C::PackedStreamRunsPast, 1},
        {"a flag byte, one literal on the last byte", end - 2, {0x80, 0x42}, b4, {}, 2},
        {"a flag byte and no literal", end - 1, {0x80}, b4, C::PackedStreamRunsPast, 1},
        {"a stream that starts past the end", end, {}, a, C::PackedStreamOutside, 0},
        {"a reference to the image's last three bytes", 0x300000, {0x00, 0xFD}, aEnd, {}, 2},
        {"one further", 0x300000, {0x00, 0xFE}, aEnd, C::BackReferenceOutside, 0},
        {"128 literals, one byte left", end - 2, {0xFF, 0x00}, {LzFormat::A, kBaseA, 768, 0, false}, C::PackedStreamRunsPast, 2},
        {"a flag byte promising literals", end - 1, {0x00}, {LzFormat::B, kBaseB4, 128, 4, false}, C::PackedStreamRunsPast, 1},
        {"length header 0xFFFF", 0x300000, {0xFF, 0xFF}, b3, C::LengthHeaderTooLarge, 0},
        {"length header 0x10FF", 0x300000, {0xFF, 0x10}, b3, C::LengthHeaderTooLarge, 0},
        {"length header 0x1000", 0x300000, {0x00, 0x10}, b3, {}, kAny},  // zeros are references into zeros
        {"a length beyond the buffer", 0x300000, {0x80, 0x41}, {LzFormat::A, kBaseA, 4097, 0, false}, C::UnpackedLengthTooLarge, 0},
    };
    for (const auto& c : cases) {
        RomImage image;
        image[kRomSize - 1] = 0x99;
        std::copy(c.stream.begin(), c.stream.end(), image.bytes.begin() + c.at);
        const Result<Unpacked> r = unpackAt(image, c.at, c.profile);
        EXPECT_EQ(r ? std::nullopt : std::optional(r.problem().code), c.code) << c.what;
        if (c.offset != kAny) {
            EXPECT_EQ(r ? r->consumed : r.problem().offset, c.offset) << c.what;
        }
    }
    RomImage image;
    image[kRomSize - 1] = 0x99;
    image[0x300001] = 0xFD;
    EXPECT_EQ(unpackAt(image, 0x300000, {LzFormat::A, nearEnd, 3, 0, false})->unpacked, (Bytes{0, 0, 0x99}));
}

TEST(Packers, RoundTripTheDemoImagesResources) {
    const RomImage& image = test::demoImage();
    const Catalogues& c = test::demoCatalogues();
    RomImage scratch = image;  // the packed bytes go to a spare area, away from every dictionary
    auto roundTrip = [&](const ResourceEntry& e, const PackProfile& p) {
        ResourceEntry copy;
        storeAndPack(image, copy, e.unpacked, p);
        std::copy(copy.packed.begin(), copy.packed.end(), scratch.at(0x3A0000));
        ResourceEntry back;
        back.romOffset = 0x3A0000;
        ASSERT_TRUE(unpackEntry(scratch, back, p));
        ASSERT_EQ(back.unpacked, e.unpacked) << "id " << e.id;
        ASSERT_EQ(back.packed, copy.packed) << "id " << e.id;
    };
    for (const ResourceEntry& e : c.faces()) roundTrip(e, kFaceProfile);
    for (const ResourceEntry& e : c.unitGraphics()) roundTrip(e, kUnitGraphicProfile);
    for (const ResourceEntry& e : c.texts()) roundTrip(e, kTextProfile);
    for (const ResourceEntry& e : c.colourSets) roundTrip(e, kColourSetProfile);
}

}  // namespace
}  // namespace velk
