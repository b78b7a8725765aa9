#include "gfx/face_picture.h"

#include "gfx/colours.h"

namespace velk {
namespace {

void put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

std::vector<uint8_t> facePictureBytes(ConstCatalogue faces, ConstCatalogue colourSets) {
    std::vector<uint8_t> bmp(kFacePictureBytes, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(bmp, 2, static_cast<uint32_t>(kFacePictureBytes));
    put32(bmp, 10, 54);
    put32(bmp, 14, 40);
    put32(bmp, 18, kFacePictureWidth);
    put32(bmp, 22, kFacePictureHeight);
    put16(bmp, 26, 1);
    put16(bmp, 28, 24);
    put32(bmp, 34, static_cast<uint32_t>(kFacePictureBytes - 54));
    for (size_t f = 0; f < faces.size(); ++f) {
        const std::vector<uint8_t>& colours = colourSets[8 * f].unpacked;
        const uint8_t* tiles = faces[f].unpacked.data();
        for (int t = 0; t < 24; ++t)
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const uint8_t v = tilePixel(tiles + kTileBytes * static_cast<size_t>(t), x, y);
                    if (v == 0) continue;
                    const int px = 32 * static_cast<int>(f % 16) + 8 * (t % 4) + x;
                    const int py = 48 * static_cast<int>(f / 16) + 8 * (t / 4) + y;
                    const Rgb rgb = consoleToRgb(colourAt(colours, v - 1));
                    const size_t at = 54 + (static_cast<size_t>(kFacePictureWidth) * static_cast<size_t>(kFacePictureHeight - 1 - py) +
                                            static_cast<size_t>(px)) * 3;
                    bmp[at] = rgb.blue;
                    bmp[at + 1] = rgb.green;
                    bmp[at + 2] = rgb.red;
                }
    }
    return bmp;
}

}  // namespace velk
