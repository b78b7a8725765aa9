// Nothing lost on the way round: codes through export and import after a
// save, a block pointer gone bad; and every export of the demo image byte for
// byte as before.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ops/operations.h"
#include "ops/project_ops.h"
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

// Each file an export or a save of the demo image writes, with the SHA-1 of
// its bytes, against tests/golden/demo-exports.sha1 (sha1sum's format). After
// a deliberate change of a format, VELK_UPDATE_GOLDEN=1 writes the list anew.
TEST(DemoExports, WriteTheSameBytesAsBefore) {
    const fs::path dir = test::scratchFolder(), golden = VELK_TEST_SOURCE_DIR "/golden/demo-exports.sha1";
    test::writeBytes(dir / "demo.smc", test::demoImage().bytes);
    std::vector<std::string> args{(dir / "demo.smc").string()};
    for (const char* verb : {"save out.smc", "extract-faces face.fig", "export-face-bmp faces.bmp", "extract-units unit.fig",
                             "export-names names.txt", "export-texts texts.txt", "export-table table.tbl",
                             "export-project proj", "export-po proj"}) {  // the project holds the PNG files
        const std::string_view v(verb);
        args.emplace_back(v.substr(0, v.find(' ')));
        args.push_back((dir / v.substr(v.find(' ') + 1)).string());
    }
    const test::CliRun run = test::cli(args);
    ASSERT_EQ(run.code, 0) << run.err;
    std::vector<std::string> lines;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file() && e.path().filename() != "demo.smc")
            lines.push_back(sha1Hex(test::readBytes(e.path())) + "  " + fs::relative(e.path(), dir).generic_string() + "\n");
    std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) { return a.substr(42) < b.substr(42); });
    std::string listing;
    for (const std::string& line : lines) listing += line;
    if (std::getenv("VELK_UPDATE_GOLDEN")) std::ofstream(golden, std::ios::binary) << listing;
    std::ostringstream expected;
    expected << std::ifstream(golden, std::ios::binary).rdbuf();
    EXPECT_EQ(listing, expected.str());
}

}  // namespace
}  // namespace velk
