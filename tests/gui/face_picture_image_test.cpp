// The face picture read back by Qt's own BMP reader.
#include <gtest/gtest.h>

#include <QImage>

#include "gfx/colours.h"
#include "gfx/face_picture.h"
#include "test_support.h"

namespace velk {
namespace {

TEST(FacePictureImage, QtReadsTheSamePixelsAsTheTilesHold) {
    const Catalogues& c = test::demoCatalogues();
    const std::vector<uint8_t> bmp = facePictureBytes(c.faces(), c.colourSets);
    QImage picture;
    ASSERT_TRUE(picture.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP"));
    ASSERT_EQ(picture.width(), 512);
    ASSERT_EQ(picture.height(), 480);
    for (size_t f = 0; f < 160; ++f)
        for (int t = 0; t < 24; ++t)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const int px = 32 * static_cast<int>(f % 16) + 8 * (t % 4) + x;
                    const int py = 48 * static_cast<int>(f / 16) + 8 * (t / 4) + y;
                    Rgb expected{0, 0, 0};
                    if (f < c.faces().size()) {
                        const uint8_t v = tilePixel(c.faces()[f].unpacked.data() + 32 * t, x, y);
                        if (v) expected = consoleToRgb(colourAt(c.colourSets[8 * f].unpacked, v - 1U));
                    }
                    const QRgb got = picture.pixel(px, py);
                    ASSERT_EQ(qRed(got), expected.red) << f << " " << t << " " << x << " " << y;
                    ASSERT_EQ(qGreen(got), expected.green);
                    ASSERT_EQ(qBlue(got), expected.blue);
                }
}

}  // namespace
}  // namespace velk
