#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <functional>

#include "gfx/colours.h"
#include "gfx/face_png.h"
#include "gfx/png_pixels.h"
#include "gfx/unit_graphics.h"
#include "gfx/unit_png.h"
#include "ops/messages.h"
#include "gfx/png_codec.h"
#include "ops/operations.h"
#include "ops/png_ops.h"
#include "ops/run_operation.h"
#include "scripted_platform.h"
#include "test_support.h"

namespace velk {
namespace {

EditorState demoState() {
    EditorState s;
    return s.image = test::demoImage(), s.catalogues = test::demoCatalogues(), s;
}

// A PNG as a paint program saves it, through libpng: one byte a sample in `samples`, rows in
// turn; libpng packs depths below 8, and a 16-bit sample is the byte twice (x * 257).
Bytes paintedPng(int colourType, int depth, uint32_t width, uint32_t height, const Bytes& samples,
                 const std::vector<Rgb>& palette = {}, const Bytes& alphas = {}) {
    Bytes out, wide;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, [](png_structp w, png_bytep data, size_t n) {
        auto* o = static_cast<Bytes*>(png_get_io_ptr(w));
        o->insert(o->end(), data, data + n);
    }, nullptr);
    png_set_IHDR(png, info, width, height, depth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> entries;
    for (const Rgb& c : palette) entries.push_back({c.red, c.green, c.blue});
    if (!entries.empty()) png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
    if (!alphas.empty()) png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    png_write_info(png, info);
    if (depth < 8) png_set_packing(png);
    for (uint8_t x : samples) wide.insert(wide.end(), depth == 16 ? 2 : 1, x);
    const size_t row = wide.size() / height;
    for (uint32_t y = 0; y < height; ++y) png_write_row(png, wide.data() + y * row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The picture as 8-bit RGBA: index 0 transparent.
Bytes rgbaPng(const PngPicture& p) {
    Bytes rgba;
    for (uint8_t i : p.pixels)
        rgba.insert(rgba.end(), {p.palette[i].red, p.palette[i].green, p.palette[i].blue, static_cast<uint8_t>(i ? 255 : 0)});
    return paintedPng(PNG_COLOR_TYPE_RGBA, 8, p.width, p.height, rgba);
}

// Each channel byte goes to the nearest of the 32 levels; a level widens by repeating its top
// bits, and reads back as itself.
// A full last row of tiles, and one tile into the next: padded whole rows, its last pixel in place.
TEST(TilePixels, ALastRowThatIsNotFullIsPaddedNotOverrun) {
    for (const auto& [tiles, size, last] : {std::tuple{4u, 256u, 7u * 32 + 31}, {5u, 512u, 15u * 32 + 7}}) {
        std::vector<uint8_t> bytes(tiles * kTileBytes, 0);
        bytes.back() = 1;  // plane 3 of the last tile's pixel (7, 7)
        const std::vector<uint8_t> pixels = tilesToPixels(bytes, 4);
        ASSERT_EQ(pixels.size(), size);
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 8), 1);
        EXPECT_EQ(pixels[last], 8);
    }
}

TEST(PngChannels, EveryByteRoundsToTheNearestLevelAndLevelsComeBack) {
    for (unsigned x = 0; x < 256; ++x) ASSERT_EQ(channelTo5(x), std::lround(x * 31.0 / 255)) << x;
    for (auto [c, x] : {std::pair{0u, 0}, {1u, 8}, {3u, 24}, {16u, 132}, {30u, 247}, {31u, 255}}) EXPECT_EQ(channelTo8(c), x);
    for (unsigned c = 0; c < 32; ++c) ASSERT_EQ(channelTo5(channelTo8(c)), c) << c;
}

// An index is its value (mod 16), a colour the value whose set-0 colour it is, and a fully
// transparent pixel 0 whatever colour stands under it.
TEST(FacePng, EveryDepthAndColourTypeGivesTheSameTiles) {
    std::vector<ResourceEntry> colourful(8, ResourceEntry{{}, Bytes(30, 0), 0, 0, 0}), grey = colourful;
    std::vector<Rgb> rgbOf(16, Rgb{0, 0, 0}), greyOf = rgbOf;
    for (unsigned v = 1; v < 16; ++v) {
        const unsigned c = v | (31 - v) << 5 | (v * 5 % 32) << 10, g = 2 * v * 0x421;
        colourful[0].unpacked[2 * v - 2] = c & 0xFF, colourful[0].unpacked[2 * v - 1] = static_cast<uint8_t>(c >> 8);
        grey[0].unpacked[2 * v - 2] = g & 0xFF, grey[0].unpacked[2 * v - 1] = static_cast<uint8_t>(g >> 8);
        rgbOf[v] = consoleToPngRgb(static_cast<uint16_t>(c)), greyOf[v] = consoleToPngRgb(static_cast<uint16_t>(g));
    }
    using Pixel = std::function<Bytes(unsigned v, size_t i)>;
    const Pixel index = [](unsigned v, size_t) { return Bytes{static_cast<uint8_t>(v)}; };
    const Pixel rgb = [&](unsigned v, size_t) { return Bytes{rgbOf[v].red, rgbOf[v].green, rgbOf[v].blue}; };
    const Pixel rgba = [&](unsigned v, size_t i) {  // under a transparent pixel, any colour
        const Rgb c = v ? rgbOf[v] : Rgb{static_cast<uint8_t>(i), 0x5A, static_cast<uint8_t>(i >> 3)};
        return Bytes{c.red, c.green, c.blue, static_cast<uint8_t>(v ? 255 : 0)};
    };
    const Pixel g = [&](unsigned v, size_t) { return Bytes{greyOf[v].red}; };
    const Pixel ga = [&](unsigned v, size_t i) { return Bytes{v ? greyOf[v].red : static_cast<uint8_t>(i), static_cast<uint8_t>(v ? 255 : 0)}; };
    const struct { const char* what; int type, depth; unsigned values; bool grey; Pixel pixel; } cases[] = {
        {"1-bit indexed", PNG_COLOR_TYPE_PALETTE, 1, 2, false, index}, {"2-bit indexed", PNG_COLOR_TYPE_PALETTE, 2, 4, false, index},
        {"4-bit indexed", PNG_COLOR_TYPE_PALETTE, 4, 16, false, index}, {"8-bit indexed", PNG_COLOR_TYPE_PALETTE, 8, 16, false, index},
        {"8-bit grey", PNG_COLOR_TYPE_GRAY, 8, 16, true, g}, {"16-bit grey", PNG_COLOR_TYPE_GRAY, 16, 16, true, g},
        {"grey with alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, 16, true, ga}, {"truecolour", PNG_COLOR_TYPE_RGB, 8, 16, false, rgb},
        {"16-bit truecolour", PNG_COLOR_TYPE_RGB, 16, 16, false, rgb}, {"truecolour with alpha", PNG_COLOR_TYPE_RGBA, 8, 16, false, rgba},
        {"16-bit truecolour with alpha", PNG_COLOR_TYPE_RGBA, 16, 16, false, rgba},
    };
    for (const auto& c : cases) {
        Bytes values, samples;
        for (size_t i = 0; i < 32 * 48; ++i) {
            values.push_back(static_cast<uint8_t>((i % 32 + i / 32 * 3 + i / 7) % c.values));
            const Bytes s = c.pixel(values.back(), i);
            samples.insert(samples.end(), s.begin(), s.end());
        }
        const std::vector<Rgb> palette(rgbOf.begin(), rgbOf.begin() + (c.type == PNG_COLOR_TYPE_PALETTE ? c.values : 0));
        const Result<FacePng> face = readFacePng(paintedPng(c.type, c.depth, 32, 48, samples, palette), c.grey ? grey : colourful);
        ASSERT_TRUE(face.ok()) << c.what << ": " << renderMessage(face.problem()).detail;
        EXPECT_EQ(face->tiles, pixelsToTiles(values, 4)) << c.what;
    }
}

TEST(UnitPng, ATruecolourSheetGivesTheUnitFile) {
    const RomImage& image = test::demoImage();
    const Result<PngPicture> sheet = decodePng(unitSheetPngBytes(test::demoCatalogues().unitGraphics(), image));
    ASSERT_TRUE(sheet.ok());
    Bytes rgb;
    for (uint8_t i : sheet->pixels) {
        const Rgb c = consoleToPngRgb(i % 16 ? sharedColour(image, i % 16) : 0);
        rgb.insert(rgb.end(), {c.red, c.green, c.blue});
    }
    EXPECT_EQ(*unitFileFromPng(paintedPng(PNG_COLOR_TYPE_RGB, 8, sheet->width, sheet->height, rgb), image),
              unitFileBytes(test::demoCatalogues().unitGraphics(), image));
}

// One face by hand: pixel (0, 2) of tile 5 has planes 0 and 3 set (value 9)
// and stands at (8, 10); colour set 1's colour 9 is 0x7C1F, colour 1 0x0421.
TEST(FacePng, PixelsAndPaletteFollowTheTilesAndColourSets) {
    Bytes tiles(768, 0);
    tiles[5 * 32 + 4] = tiles[5 * 32 + 17 + 4] = 0x80;
    std::vector<ResourceEntry> sets(8, ResourceEntry{{}, Bytes(30, 0), 0, 0, 0});
    sets[1].unpacked[16] = 0x1F, sets[1].unpacked[17] = 0x7C;  // colour 9
    sets[1].unpacked[0] = 0x21, sets[1].unpacked[1] = 0x84;    // colour 1, bit 15 set
    const Bytes png = facePngBytes(tiles, sets);
    const Result<PngPicture> p = decodePng(png);
    ASSERT_EQ(p.ok() ? p->palette.size() : 0, 128u);
    EXPECT_TRUE(p->pixels[10 * 32 + 8] == 9 && std::count(p->pixels.begin(), p->pixels.end(), 0) == 32 * 48 - 1);
    const std::pair<size_t, Rgb> entries[] = {{25, {255, 0, 255}}, {17, {8, 8, 8}}, {16, {0, 0, 0}}, {9, {0, 0, 0}}};
    for (auto [i, c] : entries) EXPECT_TRUE(p->palette[i].red == c.red && p->palette[i].green == c.green && p->palette[i].blue == c.blue) << i;
    const Result<FacePng> back = readFacePng(png, sets);  // bit 15 kept, as the colour's 15 bits came back
    ASSERT_TRUE(back.ok() && back->colourSets);
    EXPECT_TRUE(back->tiles == tiles && (*back->colourSets)[1] == sets[1].unpacked);
}

class PngRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::scratchFolder();
        platform.onDisk = true;
        ASSERT_TRUE(exportFacesPngTo(state, platform, folder / "faces").done());
        ASSERT_TRUE(exportUnitsPngTo(state, platform, folder / "units.png").done());
    }
    PngPicture face(size_t f) { return *decodePng(test::readBytes(folder / "faces" / facePngName(f))); }
    void putFace(size_t f, const Bytes& png) { test::writeBytes(folder / "faces" / facePngName(f), png); }
    static Bytes indexed(const PngPicture& p) { return encodeIndexedPng(p.width, p.height, p.pixels, p.palette); }
    std::filesystem::path folder;
    EditorState state = demoState();
    ScriptedPlatform platform;
};

TEST_F(PngRoundTrip, AnUnchangedImportChangesNoRecordImageOrSavedByte) {
    const Outcome facesIn = importFacesPngFrom(state, platform, folder / "faces"), unitsIn = importUnitsPngFrom(state, platform, folder / "units.png");
    ASSERT_TRUE(facesIn.done() && unitsIn.done() && facesIn.warnings.empty() && unitsIn.warnings.empty());
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
    for (auto all : {&Catalogues::resources, &Catalogues::colourSets})
        for (size_t i = 0; i < (state.catalogues.*all).size(); ++i) {
            ASSERT_EQ((state.catalogues.*all)[i].unpacked, (test::demoCatalogues().*all)[i].unpacked) << i;
            ASSERT_EQ((state.catalogues.*all)[i].packed, (test::demoCatalogues().*all)[i].packed) << i;
        }  // so a save writes what it wrote before
}

TEST_F(PngRoundTrip, APixelEditedInThePngLandsWhereTheSameEditInTheFigLands) {
    // face 3, tile 5 (tile column 1, row 1), pixel (2, 3) becomes value 11 (planes 0, 1, 3)
    PngPicture p = face(3);
    p.pixels[(8 + 3) * 32 + 8 + 2] = 16 * 2 + 11;  // colour set 2's index: still value 11
    putFace(3, indexed(p));
    const Outcome imported = runOperation(state, [&] { return importFacesPngFrom(state, platform, folder / "faces"); });
    ASSERT_TRUE(imported.done() && imported.change && imported.change->recordCount() == 1);
    EditorState viaFig = demoState();
    ASSERT_TRUE(extractFaceGraphics(viaFig, platform, folder / "face.fig").done());
    Bytes fig = test::readBytes(folder / "face.fig");
    const size_t row = 3 * 768 + 5 * 32 + 2 * 3;
    for (size_t plane : {0, 1, 16, 17}) fig[row + plane] &= 0xDF;
    for (size_t plane : {0, 1, 17}) fig[row + plane] |= 0x20;
    test::writeBytes(folder / "face.fig", fig);
    ASSERT_TRUE(writeFaceGraphics(viaFig, platform, folder / "face.fig").done());
    for (size_t f = 0; f < 157; ++f) ASSERT_EQ(state.catalogues.faces()[f].unpacked, viaFig.catalogues.faces()[f].unpacked) << f;
    EXPECT_NE(state.catalogues.faces()[3].unpacked, test::demoCatalogues().faces()[3].unpacked);
    EXPECT_EQ(state.catalogues.faces()[3].packed, viaFig.catalogues.faces()[3].packed);
}

// Each case spoils face 9; the import reports it and changes nothing. Face
// 0's colour 1 of set 0 is edited first, so an import that applied anything would show.
TEST_F(PngRoundTrip, BadFilesAreReportedAndChangeNothing) {
    const auto recolour = [](PngPicture p) { p.palette[1] = {0, 0, 8}; return p; };
    const Bytes good0 = indexed(recolour(face(0)));
    PngPicture stray = face(9), narrow = face(9), index128 = face(9);
    stray.palette.push_back({0x12, 0x34, 0x56});
    stray.pixels[7 * 32 + 5] = static_cast<uint8_t>(stray.palette.size() - 1);
    narrow.width = 31, narrow.pixels.resize(31 * 48);
    index128.pixels[47 * 32 + 31] = 128, index128.palette.resize(129);
    Bytes damaged = test::readBytes(folder / "faces" / facePngName(9));
    damaged[damaged.size() - 20] ^= 0x40;  // inside IDAT: its CRC no longer matches
    const struct { const char* what; Bytes face9; const char* detail; } cases[] = {
        {"colour outside the set", rgbaPng(stray), "face-009.png: pixel (5, 7) has colour #123456, which is not in the palette"},
        {"31 x 48", indexed(narrow), "face-009.png: 32 x 48 pixels expected, found 31 x 48"},
        {"index 128", indexed(index128), "face-009.png: pixel (31, 47) has palette index 128; indexes 0-127 are read"},
        {"damaged", damaged, "face-009.png: IDAT: incorrect data check"},
        {"not a PNG", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}, "face-009.png: not a PNG file"},
    };
    for (const auto& c : cases) {
        state = demoState();
        putFace(0, good0);
        putFace(9, c.face9);
        const Outcome o = importFacesPngFrom(state, platform, folder / "faces");
        ASSERT_TRUE(o.failed()) << c.what;
        EXPECT_EQ(o.problem->text, test::sjis("face-009.pngが読み込めません"));
        EXPECT_EQ(o.problem->detail, c.detail);
        EXPECT_EQ(state.catalogues.colourSets[0].unpacked, test::demoCatalogues().colourSets[0].unpacked) << c.what;
    }
}

TEST_F(PngRoundTrip, AWarningNamesTheFirstOfSeveralFiles) {
    PngPicture sixteen = face(30), four = face(9);
    sixteen.palette.resize(16);
    four.palette.resize(4);
    for (auto* p : {&sixteen, &four})
        for (uint8_t& i : p->pixels) i = static_cast<uint8_t>(i % p->palette.size());
    putFace(30, indexed(sixteen)), putFace(9, indexed(four));
    for (const size_t f : {40, 12}) std::filesystem::remove(folder / "faces" / facePngName(f));
    EXPECT_EQ(importFacesPngFrom(state, platform, folder / "faces").warnings,
              (std::vector<std::string>{
                  "faces: warning: 2 face files missing, first face-012.png; those faces stay as they are",
                  "faces/face-009.png: warning: a palette of 4 entries, not 128 (2 files so); their colour sets stay as they are"}));
    EXPECT_TRUE(std::ranges::equal(state.catalogues.colourSets, test::demoCatalogues().colourSets));
    EXPECT_EQ(state.catalogues.faces()[12].unpacked, test::demoCatalogues().faces()[12].unpacked);
    EXPECT_NE(state.catalogues.faces()[9].unpacked, test::demoCatalogues().faces()[9].unpacked);
}

TEST_F(PngRoundTrip, AUnitSheetOfAnotherSizeOrAFolderGivenAsAFileIsRefused) {
    EXPECT_EQ(importUnitsPngFrom(state, platform, folder / "faces" / facePngName(0)).problem.value_or(Message{}).detail,
              "face-000.png: 128 x 14704 pixels expected, found 32 x 48");
    EXPECT_EQ(importFacesPngFrom(state, platform, folder / "units.png").problem.value_or(Message{}).detail,
              "units.png: Not a directory");
    EXPECT_EQ(state.image.bytes, test::demoImage().bytes);
}

}  // namespace
}  // namespace velk
