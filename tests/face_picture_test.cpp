#include <gtest/gtest.h>

#include "gfx/colours.h"
#include "gfx/face_picture.h"
#include "ops/operations.h"
#include "scripted_platform.h"
#include "test_support.h"

namespace velk {
namespace {

size_t pixelOffset(int x, int yFromTop) { return 54 + (512 * static_cast<size_t>(479 - yFromTop) + static_cast<size_t>(x)) * 3; }

TEST(FacePicture, HeaderAndSize) {
    const Catalogues& c = test::demoCatalogues();
    const Bytes bmp = facePictureBytes(c.faces(), c.colourSets);
    ASSERT_EQ(bmp.size(), 737334u);
    EXPECT_EQ(Bytes(bmp.begin(), bmp.begin() + 54),
              (Bytes{0x42, 0x4D, 0x36, 0x40, 0x0B, 0x00, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0x00, 0x02, 0, 0,
                     0xE0, 0x01, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 0x00, 0x40, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                     0, 0, 0, 0, 0, 0}));
}

TEST(FacePicture, FacesLandInTheirCellsInTheirFirstColourSet) {
    Catalogues c = test::demoCatalogues();
    // Face 0: pixel value 1 everywhere; face 16: value 2 in its first tile's top-left pixel.
    c.faces()[0].unpacked = Bytes(768, 0);
    for (size_t t = 0; t < 24; ++t) c.faces()[0].unpacked[32 * t] = 0xFF;  // plane 0 of row 0
    c.faces()[16].unpacked = Bytes(768, 0);
    c.faces()[16].unpacked[1] = 0x80;  // plane 1, row 0, x 0
    c.colourSets[0].unpacked = Bytes(30, 0);
    c.colourSets[0].unpacked[0] = 0x1F;  // colour 1: red
    c.colourSets[1].unpacked = Bytes(30, 0xFF);  // colour set 1 of face 0: never used
    c.colourSets[128].unpacked = Bytes(30, 0);
    c.colourSets[128].unpacked[2] = 0xE0;  // colour 2: green 31
    c.colourSets[128].unpacked[3] = 0x03;
    const Bytes bmp = facePictureBytes(c.faces(), c.colourSets);

    auto pixel = [&](size_t at) { return Bytes(bmp.begin() + static_cast<std::ptrdiff_t>(at), bmp.begin() + static_cast<std::ptrdiff_t>(at + 3)); };
    EXPECT_EQ(pixel(735798), (Bytes{0, 0, 248}));  // (0, 0): blue, green, red
    EXPECT_EQ(pixel(pixelOffset(31, 40)), (Bytes{0, 0, 248}));  // the last tile's row 0
    EXPECT_EQ(bmp[pixelOffset(0, 1) + 2], 0);  // row 1 is value 0: black
    EXPECT_EQ(pixel(pixelOffset(0, 48)), (Bytes{0, 248, 0}));  // face 16
    // cells 157 to 159 stay black
    for (int y = 432; y < 480; ++y)
        for (int x = 13 * 32; x < 512; ++x) ASSERT_EQ(bmp[pixelOffset(x, y)], 0) << x << " " << y;
}

TEST(FacePicture, ExportAsksForABitmapAndReportsAFileItCannotWrite) {
    const Catalogues& c = test::demoCatalogues();
    ScriptedPlatform platform;
    EditorState state;
    state.catalogues = c;
    EXPECT_TRUE(exportFacePicture(state, platform, "faces.bmp").done());
    EXPECT_EQ(platform.files["faces.bmp"], facePictureBytes(c.faces(), c.colourSets));
    platform.failWriting("x.bmp");
    EXPECT_EQ(exportFacePicture(state, platform, "x.bmp").problem->text, test::sjis("x.bmpに書き込めませんでした"));
}

}  // namespace
}  // namespace velk
