#include <gtest/gtest.h>

#include "gfx/face_picture.h"
#include "ops/operations.h"
#include "scripted_platform.h"
#include "test_support.h"

namespace velk {
namespace {

TEST(FacePicture, ExportAsksForABitmapAndReportsAFileItCannotWrite) {
    const Catalogues& c = test::demoCatalogues();
    ScriptedPlatform platform;
    platform.answer("faces.bmp");
    EXPECT_TRUE(exportFacePicture(c.faces(), c.colourSets, platform).done());
    EXPECT_EQ(platform.files["faces.bmp"], facePictureBytes(c.faces(), c.colourSets));
    platform.failWriting("x.bmp");
    platform.answer("x.bmp");
    EXPECT_EQ(exportFacePicture(c.faces(), c.colourSets, platform).problem->text, test::sjis("x.bmpに書き込めませんでした"));
}

}  // namespace
}  // namespace velk
