// Nothing lost on the way round: codes through export and import after a
// save, a block pointer gone bad.
#include <gtest/gtest.h>

#include "ops/operations.h"
#include "pack/pack_profiles.h"
#include "rom/save_layout.h"
#include "scripted_platform.h"
#include "test_support.h"

namespace velk {
namespace {

class Lossless : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::scratchFolder();
        state = test::demoState(platform, folder / "demo.smc");
    }
    bool save(EditorState& s, const std::string& name) {
        return platform.shown(saveRom(s, platform, folder / name)).done();
    }
    // As the change script's added characters would: 熊 at slot 0x10, a zero behind it.
    static void addCharacter(EditorState& s) {
        const std::string kuma = sjis("熊");
        s.tables[kAddedCharTable][0x10] = {static_cast<uint8_t>(kuma[0]), static_cast<uint8_t>(kuma[1])};
        s.tables[kAddedCharTable][0x11] = {0x00, 0x00};
    }
    std::filesystem::path folder;
    ScriptedPlatform platform;
    EditorState state;
};

TEST_F(Lossless, AnUnchangedExportAndImportAfterSaveAndReloadGivesEveryCodeBack) {
    addCharacter(state);
    const Bytes text = {0x08, 0x10, 0x08, 0x11, 0x08, 0x12, 0x09, 0xFF, 0x0A, 0xB0, 0xCF, 0x00, 0x20, 0x20, 0x2E};
    storeAndPack(state.image, state.catalogues.texts()[9], text, kTextProfile);
    const Bytes name = {0x08, 0x10, 0x08, 0x12, 0xF3, 0x16, 0x20};
    state.catalogues.names[9].code = name;
    ASSERT_TRUE(save(state, "out.smc"));
    EditorState again;
    ASSERT_TRUE(openRomAtStart(again, platform, folder / "out.smc").done());
    addCharacter(again);  // the script runs again after the reload
    const Catalogues saved = again.catalogues;
    ASSERT_TRUE(exportNameList(again, platform, folder / "n.txt").done());
    ASSERT_TRUE(exportTextCollection(again, platform, folder / "t.txt").done());
    ASSERT_TRUE(platform.shown(importNameList(again, platform, folder / "n.txt")).done());
    ASSERT_TRUE(platform.shown(importTextCollection(again, platform, folder / "t.txt")).done());
    ASSERT_TRUE(platform.messages.empty()) << platform.details.front();
    EXPECT_EQ(again.catalogues.texts()[9].unpacked, text);
    for (size_t i = 0; i < saved.names.size(); ++i)  // 候 at its second slot (5) comes back at its first
        if (i != 5) { ASSERT_EQ(again.catalogues.names[i].code, saved.names[i].code) << i; }
    // Names were decoded at load, before the added characters came: escapes.
    const Bytes names = test::readBytes(folder / "n.txt"), texts = test::readBytes(folder / "t.txt");
    EXPECT_NE(std::string(names.begin(), names.end()).find("[F0 09] ?08 10??08 12?!F3!!16!" + sjis("　") + "\r\n"), std::string::npos);
    const std::string text9 = "##No.00 09\n" + sjis("熊") + "?08 11??08 12??09 FF??0A B0?!CF!?00 20?" + sjis("　ぎ") + "//";
    EXPECT_NE(std::string(texts.begin(), texts.end()).find(text9), std::string::npos);
}

TEST_F(Lossless, ABlockPointerLeadingOutsideIsAFailureToWriteNotALackOfRoom) {
    std::fill_n(state.image.at(0x1E7DAB), 3, 0xFF);  // as an IPS piece could have written it
    EXPECT_FALSE(save(state, "bad.smc"));
    EXPECT_EQ(platform.messages, std::vector<std::string>{sjis("bad.smcに書き込めませんでした")});
    EXPECT_EQ(platform.details.at(0),
              "bad.smc: the block pointer at 0x1E7DAB holds FF FF FF, which leads outside the image");
    EXPECT_FALSE(std::filesystem::exists(folder / "bad.smc"));
}

}  // namespace
}  // namespace velk
