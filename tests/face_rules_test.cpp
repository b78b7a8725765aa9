#include <gtest/gtest.h>

#include "gfx/face_graphics.h"
#include "gfx/face_png.h"
#include "ops/run_operation.h"
#include "ops/sharing_checks.h"
#include "pack/pack_profiles.h"
#include "rom/face_rules.h"
#include "test_support.h"

namespace velk {
namespace {

// The demo image with two more shared slots: pinned face 127 with face 126,
// which saves move, and pinned faces 149 and 150.
class FaceRules : public ::testing::Test {
protected:
    void SetUp() override {
        RomImage image = test::demoImage();
        image[kFaceIndexTable + 4 * 127] = 126;
        image[kFaceIndexTable + 4 * 150] = 149;
        platform.files["shared.smc"] = image.bytes;
        ASSERT_TRUE(test::run(state, platform, openRomAtStart, "shared.smc").done());
    }
    // Face f as loaded with its tile t blank.
    Bytes picture(int f, int t) const {
        Bytes tiles = state.catalogues.faces()[static_cast<size_t>(f)].unpacked;
        std::fill_n(tiles.begin() + 32 * t, 32, 0x00);
        return tiles;
    }
    // Gives each face such a picture as an import does, as one operation.
    Outcome edit(EditorState& s, const std::vector<std::pair<int, int>>& faces) {
        return runOperation(s, [&] {
            for (auto [f, t] : faces) storeAndPack(s.image, s.catalogues.faces()[static_cast<size_t>(f)], picture(f, t), kFaceProfile);
            return doneOutcome("");
        });
    }
    ScriptedPlatform platform;
    EditorState state;
};

TEST_F(FaceRules, FacesSharingASlotStayOnePictureThroughSaveAndReload) {
    auto shared = [](const std::string& group, const std::string& rest) {
        return "warning: faces " + group + " share one pointer slot, so the game shows one picture for them; all now show the edit of face " + rest;
    };
    struct Case {
        std::vector<std::pair<int, int>> edits;
        std::vector<int> group;
        int shown;  // the blank tile of the picture all show
        std::vector<std::string> warnings;
    };
    const Case cases[] = {{{{41, 1}}, {40, 41}, 1, {shared("40 and 41", "41")}},
                          {{{41, 2}, {40, 1}}, {40, 41}, 1, {shared("40 and 41", "40, and the different edit of face 41 is dropped")}},
                          {{{40, 3}, {41, 3}}, {40, 41}, 3, {}},
                          {{{127, 4}}, {126, 127}, 4, {shared("126 and 127", "127")}},
                          {{{150, 5}, {76, 6}}, {149, 150}, 5, {shared("76 and 77", "76"), shared("149 and 150", "150")}}};
    for (const Case& c : cases) {
        EditorState s = state;
        EXPECT_EQ(edit(s, c.edits).warnings, c.warnings);
        const EditorState back = test::savedAndReloaded(s, platform);
        for (int f : c.group) EXPECT_EQ(back.catalogues.faces()[static_cast<size_t>(f)].unpacked, picture(c.group[0], c.shown)) << f;
    }
}

TEST_F(FaceRules, APinnedFaceIsSavedInItsRoomOrTheSaveIsRefusedNamingIt) {
    const ResourceEntry loaded = state.catalogues.faces()[130];
    const Bytes packed = packWithProfile(state.image, picture(130, 9), kFaceProfile);
    const auto n = static_cast<int32_t>(packed.size());
    ASSERT_LT(n, loaded.loadedLength);
    char at[16];
    std::snprintf(at, sizeof at, "%06X", loaded.romOffset);
    const std::string why = "face 130 (pointer to 0x" + std::string(at) + "): packs to " + std::to_string(n) +
                            " bytes, more than the " + std::to_string(n - 1) + " bytes of its place; faces 127-156 are saved where they stand";
    for (const int32_t room : {n, n - 1}) {  // an exact fit, and one byte short
        EditorState s = state;
        s.catalogues.faces()[130].loadedLength = room;
        const Outcome edited = edit(s, {{130, 9}});
        std::string report;
        spaceCheck(s, report);
        const Outcome saved = test::run(s, platform, saveRomOperation, "room.smc");
        const Bytes out = test::fileOf(platform, "room.smc");
        platform.files.erase("room.smc");
        if (room == n - 1) {
            EXPECT_EQ(edited.warnings, std::vector<std::string>{"warning: " + why + "; a save fails until it fits"});
            ASSERT_TRUE(saved.failed() && out.empty());
            EXPECT_EQ(saved.problem->text, sjis("容量が足りません"));
            EXPECT_EQ(saved.problem->detail, why);
            EXPECT_NE(report.find("does not fit: " + why + "\n"), std::string::npos);
            EXPECT_EQ(spaceNote(s), sjis("容量が足りません: 1 バイト不足"));
            EXPECT_EQ(s.image.bytes, state.image.bytes);
            continue;
        }
        EXPECT_TRUE(edited.warnings.empty());
        ASSERT_TRUE(saved.done());
        EXPECT_NE(report.find("face 130 in place " + std::string(at) + "-"), std::string::npos);
        EXPECT_NE(report.find(": " + std::to_string(n) + " used, 0 left\n"), std::string::npos);
        const auto from = out.begin() + loaded.romOffset;
        EXPECT_TRUE(std::equal(packed.begin(), packed.end(), from));  // in place, the rest of the room as it was
        EXPECT_TRUE(std::equal(from + n, from + loaded.loadedLength, test::demoImage().at(loaded.romOffset + n)));
        EXPECT_EQ(readLongPointer(RomImage(Bytes(out)), kFacePointerTable + 3 * 130), loaded.romOffset);
    }
}

TEST_F(FaceRules, PinnedFacesEditedInAFigOrInPngsSurviveSaveAndReload) {
    for (const std::string file : {"f.fig", "png/face-000.png"}) {
        EditorState s = state;
        ASSERT_TRUE(test::run(s, platform, extractFacesOperation, file).done());
        ASSERT_TRUE(test::run(s, platform, writeFacesOperation, file).done());
        EXPECT_TRUE(editedPinnedFaces(s.image, s.catalogues.faces()).empty());  // unchanged: no room is written
        std::vector<Bytes> expected;
        for (const ResourceEntry& e : s.catalogues.faces()) expected.push_back(e.unpacked);
        Bytes& fig = platform.files[file];
        for (const size_t f : {20, 128, 135, 140, 152, 156}) {
            std::fill_n(expected[f].begin() + 32 * (f % 24), 32, 0x00);  // one tile blank
            if (file == "f.fig") std::copy(expected[f].begin(), expected[f].end(), fig.begin() + static_cast<std::ptrdiff_t>(faceFileOffset(f)));
            else platform.files["png/" + facePngName(f)] = facePngBytes(expected[f], ConstCatalogue(s.catalogues.colourSets).subspan(8 * f, 8));
        }
        ASSERT_TRUE(test::run(s, platform, writeFacesOperation, file).done());
        const EditorState back = test::savedAndReloaded(s, platform);
        for (size_t f = 0; f < expected.size(); ++f) ASSERT_EQ(back.catalogues.faces()[f].unpacked, expected[f]) << file << " " << f;
    }
}

}  // namespace
}  // namespace velk
