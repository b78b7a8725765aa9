// Faces sharing a pointer slot stay one picture; pinned faces are saved in their room or not at all.
#include <gtest/gtest.h>

#include "gfx/face_graphics.h"
#include "gfx/face_png.h"
#include "ops/run_operation.h"
#include "ops/sharing_checks.h"
#include "pack/pack_profiles.h"
#include "rom/face_rules.h"
#include "rom/image_diff.h"
#include "test_support.h"

namespace velk {
namespace {

// The demo image with two more shared slots: pinned 127 with 126, and pinned 149 with 150.
class FaceRules : public ::testing::Test {
protected:
    void SetUp() override {
        RomImage image = test::demoImage();
        image[kFaceIndexTable + 4 * 127] = 126;
        image[kFaceIndexTable + 4 * 150] = 149;
        platform.files["shared.smc"] = image.bytes;
        ASSERT_TRUE(test::run(state, platform, openRomAtStart, "shared.smc").done());
    }
    Bytes picture(size_t f, int t) const {
        Bytes tiles = state.catalogues.faces()[f].unpacked;
        std::fill_n(tiles.begin() + 32 * t, 32, 0x00);
        return tiles;
    }
    // Gives each face its picture with tile t blank, as an import does, in one operation.
    Outcome edit(EditorState& s, const std::vector<std::pair<size_t, int>>& faces) {
        return runOperation(s, [&] {
            for (auto [f, t] : faces) storeAndPack(s.image, s.catalogues.faces()[f], picture(f, t), kFaceProfile);
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
        std::vector<std::pair<size_t, int>> edits;
        std::vector<size_t> group;
        int shown;  // the blank tile of the picture all show
        size_t inPlace;  // pinned slots the save writes in place (not 127's: the moved 126 carries it)
        std::vector<std::string> warnings;
    } const cases[] = {{{{41, 1}}, {40, 41}, 1, 0, {shared("40 and 41", "41")}},
                       {{{41, 2}, {40, 1}}, {40, 41}, 1, 0, {shared("40 and 41", "40, and the different edit of face 41 is dropped")}},
                       {{{40, 3}, {41, 3}}, {40, 41}, 3, 0, {}},
                       {{{127, 4}}, {126, 127}, 4, 0, {shared("126 and 127", "127")}},
                       {{{150, 5}, {76, 6}}, {149, 150}, 5, 1, {shared("76 and 77", "76"), shared("149 and 150", "150")}}};
    for (const Case& c : cases) {
        EditorState s = state;
        EXPECT_EQ(edit(s, c.edits).warnings, c.warnings);
        EXPECT_EQ(editedPinnedFaces(s.image, s.catalogues.faces()).size(), c.inPlace);
        const EditorState back = test::savedAndReloaded(s, platform);
        ASSERT_FALSE(back.catalogues.resources.empty());
        for (size_t f : c.group) EXPECT_EQ(back.catalogues.faces()[f].unpacked, picture(c.group[0], c.shown)) << f;
        EXPECT_EQ(test::firstDifference(back.catalogues.resources, s.catalogues.resources), std::nullopt);
    }
}

TEST_F(FaceRules, APinnedFaceIsSavedInItsRoomOrTheSaveIsRefusedNamingIt) {
    const ResourceEntry loaded = state.catalogues.faces()[130];
    const Bytes packed = packWithProfile(state.image, picture(130, 9), kFaceProfile);
    const auto n = static_cast<int32_t>(packed.size());
    ASSERT_LT(n, loaded.loadedLength);
    char at[8];
    std::snprintf(at, sizeof at, "%06X", loaded.romOffset);
    const std::string why = "face 130 (pointer to 0x" + std::string(at) + "): packs to " + std::to_string(n) +
                            " bytes, more than the " + std::to_string(n - 1) + " bytes of its place; faces 127-156 are saved where they stand";
    for (const int32_t room : {n, n - 1}) {  // an exact fit, and one byte short
        EditorState s = state;
        s.catalogues.faces()[130].loadedLength = room;
        const Outcome edited = edit(s, {{130, 9}});
        const std::string report = spaceCheck(s).report;
        const Outcome saved = test::run(s, platform, saveRom, "room.smc");
        const Bytes out = test::fileOf(platform, "room.smc");
        platform.files.erase("room.smc");
        if (room == n) {
            ASSERT_TRUE(edited.warnings.empty() && saved.done());
            EXPECT_NE(report.find("face 130 in place " + std::string(at) + "-"), std::string::npos);
            const auto from = out.begin() + loaded.romOffset;  // in place, the rest of the room as it was
            EXPECT_TRUE(std::equal(packed.begin(), packed.end(), from));
            EXPECT_TRUE(std::equal(from + n, from + loaded.loadedLength, test::demoImage().at(loaded.romOffset + n)));
            EXPECT_EQ(readLongPointer(RomImage(Bytes(out)), kFacePointerTable + 3 * 130), loaded.romOffset);
            continue;
        }
        EXPECT_EQ(edited.warnings, std::vector<std::string>{"warning: " + why + "; a save fails until it fits"});
        ASSERT_TRUE(saved.failed() && out.empty());
        EXPECT_EQ(saved.problem->text + saved.problem->detail, sjis("容量が足りません") + why);
        EXPECT_NE(report.find("does not fit: " + why + "\n"), std::string::npos);
        EXPECT_EQ(spaceNote(s), sjis("容量が足りません: 1 バイト不足"));
        EXPECT_EQ(s.image.bytes, state.image.bytes);
    }
}

TEST_F(FaceRules, APinnedFaceFollowsWhatAnIpsPieceWritesOverItsPlace) {
    const Bytes tiles = picture(130, 9), packed = packWithProfile(state.image, tiles, kFaceProfile);
    const Outcome patched = runOperation(state, [&] {
        std::copy(packed.begin(), packed.end(), state.image.at(state.catalogues.faces()[130].romOffset));
        return doneOutcome("");
    });
    EXPECT_TRUE(patched.warnings.empty());
    EXPECT_EQ(state.catalogues.faces()[130].unpacked, tiles);
    EXPECT_EQ(test::savedAndReloaded(state, platform).catalogues.faces()[130].unpacked, tiles);
}

TEST_F(FaceRules, PinnedFacesEditedInAFigOrInPngsSurviveSaveAndReload) {
    for (const std::string file : {"f.fig", "png/face-000.png"}) {
        EditorState s = state;
        ASSERT_TRUE(test::run(s, platform, extractFaceGraphics, file).done());
        ASSERT_TRUE(test::run(s, platform, writeFaceGraphics, file).done());
        EXPECT_TRUE(editedPinnedFaces(s.image, s.catalogues.faces()).empty());  // unchanged: no room is written
        std::vector<Bytes> expected;
        for (size_t f = 0; f < kFaceCount; ++f) {
            expected.push_back(f == 20 || (f > 127 && f % 5 == 1) ? picture(f, 7) : state.catalogues.faces()[f].unpacked);
            if (file == "f.fig") std::copy(expected[f].begin(), expected[f].end(), platform.files[file].begin() + static_cast<std::ptrdiff_t>(faceFileOffset(f)));
            else platform.files["png/" + facePngName(f)] = facePngBytes(expected[f], ConstCatalogue(s.catalogues.colourSets).subspan(8 * f, 8));
        }
        ASSERT_TRUE(test::run(s, platform, writeFaceGraphics, file).done());
        const EditorState back = test::savedAndReloaded(s, platform);
        for (size_t f = 0; f < kFaceCount; ++f) ASSERT_EQ(back.catalogues.faces()[f].unpacked, expected[f]) << file << " " << f;
        EXPECT_EQ(diffImages(state, back)[2].entries, (std::vector<int64_t>{20, 131, 136, 141, 146, 151, 156}));
        EXPECT_EQ(diffImages(state, back).back().entries, std::vector<int64_t>{});  // rooms are no "other bytes"
        EditorState again = back;  // an unedited save of what was saved writes the same bytes
        ASSERT_TRUE(test::run(again, platform, saveRom, "again.smc").done());
        EXPECT_EQ(test::fileOf(platform, "again.smc"), test::fileOf(platform, "out.smc"));
    }
}

}  // namespace
}  // namespace velk
