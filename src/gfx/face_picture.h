// All faces in one 24-bit bitmap, each in its first colour set.
#pragma once

#include <cstdint>
#include <vector>

#include "image/resource_entry.h"

namespace velk {

constexpr int kFacePictureWidth = 512;   // 16 faces of 32 pixels
constexpr int kFacePictureHeight = 480;  // 10 rows of 48 pixels
constexpr size_t kFacePictureBytes = 54 + kFacePictureWidth * kFacePictureHeight * 3;  // 737334

// The whole BMP file: header, then rows bottom-up in blue, green, red;
// pixel value 0 and the cells without a face stay black.
std::vector<uint8_t> facePictureBytes(ConstCatalogue faces, ConstCatalogue colourSets);

}  // namespace velk
