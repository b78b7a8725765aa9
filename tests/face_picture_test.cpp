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
    EditorState state;
    state.catalogues = c;
    EXPECT_TRUE(exportFacePicture(state, platform, "faces.bmp").done());
    EXPECT_EQ(platform.files["faces.bmp"], facePictureBytes(c.faces(), c.colourSets));
    platform.failWriting("x.bmp");
    EXPECT_EQ(exportFacePicture(state, platform, "x.bmp").problem->text, test::sjis("x.bmpに書き込めませんでした"));
}

}  // namespace
}  // namespace velk
