#include <gtest/gtest.h>

#include "ops/operations.h"
#include "scripted_platform.h"
#include "test_support.h"
#include "text/decode.h"
#include "text/name_list.h"

namespace velk {
namespace {

using Bytes = std::vector<uint8_t>;
using test::bytesOf;
using test::sjis;

class NameList : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::scratchFolder();
        names = test::demoCatalogues().names;
    }
    // Writes `content` (UTF-8, converted) and imports it.
    void importText(const std::string& utf8) {
        test::writeBytes(folder / "in.txt", bytesOf(sjis(utf8)));
        platform.answer(folder / "in.txt");
        importNameList(names, builtInCharTables(), platform);
    }
    std::string exported() {
        platform.answer(folder / "out.txt");
        exportNameList(names, platform);
        const Bytes b = test::readBytes(folder / "out.txt");
        return std::string(b.begin(), b.end());
    }

    std::filesystem::path folder;
    std::vector<ResourceEntry> names;
    ScriptedPlatform platform;
};

TEST_F(NameList, ExportWritesALabelledLinePerName) {
    const std::string file = exported();
    ASSERT_TRUE(platform.messages.empty());
    EXPECT_EQ(file.substr(0, 10), "[F0 00] \r\n");  // entry 0 is empty
    EXPECT_NE(file.find("\r\n[F0 03] " + sjis("(主人公)の剣") + "\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\n[F1 23] " + std::string(nameText(names[0x123])) + "\r\n"), std::string::npos);
    EXPECT_EQ(file.substr(file.rfind("[F9 "), 8), "[F9 CD] ");
    size_t lines = 0;
    for (size_t at = 0; (at = file.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, 2510u);
    const ScriptedPlatform::Dialog& d = platform.dialogs.at(0);
    EXPECT_TRUE(d.save);
    EXPECT_EQ(d.options.defaultExtension, "txt");
    EXPECT_EQ(d.options.initialFileName, "*.txt");
    EXPECT_EQ(d.options.filter, sjis("名前リスト(*.txt)|*.txt|全て(*.*)|*.*||"));
}

TEST_F(NameList, ExportThatCannotBeWrittenSaysSoAndCancelDoesNothing) {
    platform.failWriting(folder / "out.txt");
    platform.answer(folder / "out.txt");
    exportNameList(names, platform);
    EXPECT_EQ(platform.messages, std::vector<std::string>{sjis("out.txtに書き込めませんでした")});
    EXPECT_FALSE(std::filesystem::exists(folder / "out.txt"));
    platform.answer(std::nullopt);
    exportNameList(names, platform);
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(NameList, RoundTripKeepsEveryCodeButADuplicateSlot) {
    const std::string first = exported();
    test::writeBytes(folder / "in.txt", bytesOf(first));
    platform.answer(folder / "in.txt");
    importNameList(names, builtInCharTables(), platform);
    ASSERT_TRUE(platform.messages.empty());
    const Catalogues& demo = test::demoCatalogues();
    for (size_t i = 0; i < names.size(); ++i) {
        Bytes expected = demo.names[i].packed;
        if (i == 5) expected = {0x03, 0x80, 0x8F, 0xA4};  // 候 comes back at its first slot
        ASSERT_EQ(names[i].packed, expected) << i;
    }
    EXPECT_EQ(exported(), first);
}

TEST_F(NameList, ImportGoesByLinePositionNotByLabel) {
    importText("[XX XX] アイ\r\n12345678ウ\n[F0 00] エ\r\n");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(names[0].packed, (Bytes{0x72, 0x74}));
    EXPECT_EQ(names[1].packed, Bytes{0x76});
    EXPECT_EQ(names[2].packed, Bytes{0x78});
    EXPECT_EQ(names[3].packed, test::demoCatalogues().names[3].packed);  // the file had three lines
    const ScriptedPlatform::Dialog& d = platform.dialogs.at(0);
    EXPECT_FALSE(d.save);
    EXPECT_EQ(d.options.filter, sjis("名前リスト(*.txt)|*.txt|全て(*.*)|*.*||"));
}

TEST_F(NameList, LfOnlyFilesAndALastLineWithoutEnd) {
    importText("[F0 00] ア\n[F0 01] イ\n[F0 02] ウエ");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(names[0].packed, Bytes{0x72});
    EXPECT_EQ(names[1].packed, Bytes{0x74});
    EXPECT_EQ(names[2].packed, (Bytes{0x76, 0x78}));
    EXPECT_EQ(nameText(names[2]), sjis("ウエ"));
}

TEST_F(NameList, AShortLabelShiftsTheName) {
    importText("[F0 00]ア\r\n");  // seven bytes of label: its "ア" loses a byte
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].substr(platform.messages[0].size() - 4), "0 65");  // the lone trail byte 0x41
}

TEST_F(NameList, AFailingLineStopsTheImportThere) {
    const Bytes before2 = names[2].packed, before3 = names[3].packed;
    importText("[F0 00] ア\r\n[F0 01] イ\r\n[F0 02] 熊\r\n[F0 03] エ\r\n");
    EXPECT_EQ(platform.messages, std::vector<std::string>{sjis("熊は使用できません2 -116")});
    EXPECT_EQ(names[0].packed, Bytes{0x72});
    EXPECT_EQ(names[1].packed, Bytes{0x74});
    EXPECT_EQ(names[2].packed, before2);
    EXPECT_EQ(names[3].packed, before3);
}

TEST_F(NameList, ANameHoldingALineBreakMovesTheLinesAfterIt) {
    names[0].unpacked = bytesOf(sjis("ア") + "\r\n" + sjis("イ"));
    names[0].unpacked.push_back(0);
    const std::string file = exported();
    test::writeBytes(folder / "in.txt", bytesOf(file));
    platform.answer(folder / "in.txt");
    importNameList(names, builtInCharTables(), platform);
    // The second part counts as the next line: its 8-byte label skip runs from "イ" into the
    // next line's label, whose rest is then no name at all.
    EXPECT_EQ(names[0].packed, Bytes{0x72});
    EXPECT_EQ(platform.messages, std::vector<std::string>{sjis("01は使用できません1 48")});
}

TEST_F(NameList, AFileThatCannotBeReadIsReported) {
    platform.answer(folder / "missing.txt");
    importNameList(names, builtInCharTables(), platform);
    EXPECT_EQ(platform.messages, std::vector<std::string>{sjis("missing.txtが読み込めません")});
    platform.answer(std::nullopt);
    importNameList(names, builtInCharTables(), platform);
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(NameList, FilesLongerThanTheOldLimitImportWhole) {
    std::string file;
    for (int i = 0; i < 2510; ++i) file += "[F0 00] アイウエオカキクケコサシスセソタチツテトナニヌネノ\r\n";
    importText(file);  // about 140 KB
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(names[2509].packedLength, 25);
}

}  // namespace
}  // namespace velk
