#include <gtest/gtest.h>

#include "ops/operations.h"
#include "scripted_platform.h"
#include "test_support.h"
#include "text/decode.h"
#include "text/sjis.h"
#include "text/text_collection.h"

namespace velk {
namespace {

using Bytes = std::vector<uint8_t>;
using test::bytesOf;
using test::sjis;

class TextCollection : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::scratchFolder();
        catalogues = test::demoCatalogues();
    }
    Catalogue texts() { return catalogues.texts(); }
    void importText(const std::string& utf8) {
        test::writeBytes(folder / "in.txt", bytesOf(sjis(utf8)));
        platform.answer(folder / "in.txt");
        importTextCollection(texts(), builtInCharTables(), test::demoImage(), platform);
    }
    std::string exported() {
        platform.answer(folder / "out.txt");
        exportTextCollection(texts(), catalogues.names, builtInCharTables(), platform);
        const Bytes b = test::readBytes(folder / "out.txt");
        return std::string(b.begin(), b.end());
    }

    std::filesystem::path folder;
    Catalogues catalogues;
    ScriptedPlatform platform;
};

TEST_F(TextCollection, ExportWritesNumberedBlocks) {
    const std::string file = exported();
    ASSERT_TRUE(platform.messages.empty());
    EXPECT_EQ(file.substr(0, 41), "##No.00 00\n//\r\n\r\n\r\n##No.00 01\n!11!?1B 05?");
    EXPECT_NE(file.find("##No.00 02\n[F1 23:(" + std::string(nameText(catalogues.names[0x123])) + ")]\r\n" +
                        sjis("北　") + "//\r\n\r\n\r\n"),
              std::string::npos);
    EXPECT_NE(file.find("##No.01 23\n"), std::string::npos);
    EXPECT_NE(file.find("##No.15 E6\n"), std::string::npos);
    EXPECT_EQ(file.find("##No.15 E7"), std::string::npos);
    EXPECT_EQ(file.substr(file.size() - 8), "//\r\n\r\n\r\n");
    const ScriptedPlatform::Dialog& d = platform.dialogs.at(0);
    EXPECT_TRUE(d.save);
    EXPECT_EQ(d.options.filter, sjis("テキスト集(*.txt)|*.txt|全て(*.*)|*.*||"));
}

TEST_F(TextCollection, RoundTripKeepsEveryCodeButADuplicateSlot) {
    const std::string first = exported();
    test::writeBytes(folder / "in.txt", bytesOf(first));
    platform.answer(folder / "in.txt");
    importTextCollection(texts(), builtInCharTables(), test::demoImage(), platform);
    ASSERT_TRUE(platform.messages.empty()) << fromCp932(platform.messages.front());
    EXPECT_EQ(platform.dialogs.at(1).options.filter, sjis("テキスト(*.txt)|*.txt|全て(*.*)|*.*||"));
    const Catalogues& demo = test::demoCatalogues();
    for (size_t i = 0; i < texts().size(); ++i) {
        Bytes expected = demo.texts()[i].unpacked;
        if (i == 6) expected = {0x03, 0x80, 0x01, 0x1A, 0x2E};  // 候 and ぎ come back at their first slots
        ASSERT_EQ(texts()[i].unpacked, expected) << i;
        ASSERT_EQ(texts()[i].packed[0] | texts()[i].packed[1] << 8, texts()[i].unpackedLength);
    }
    EXPECT_EQ(exported(), first);
}

TEST_F(TextCollection, BlocksGoInFileOrderWhateverTheirHeadersSay) {
    importText("remarks before\r\n##No.15 E6\nア//\r\n\r\nremarks between\r\n##No.00 00\r\nイ\r\nウ//\r\n##junk\nエ//");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(texts()[0].unpacked, Bytes{0x72});
    EXPECT_EQ(texts()[1].unpacked, (Bytes{0x74, 0x16, 0x76}));
    EXPECT_EQ(texts()[2].unpacked, Bytes{0x78});
    EXPECT_EQ(texts()[3].unpacked, test::demoCatalogues().texts()[3].unpacked);  // only three blocks
}

TEST_F(TextCollection, ASlashCutsTheTextAndTheRestIsPassedOver) {
    importText("##No.00 00\nア/イ ウ//\r\n##No.00 01\nエ//");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(texts()[0].unpacked, Bytes{0x72});
    EXPECT_EQ(texts()[1].unpacked, Bytes{0x78});
}

TEST_F(TextCollection, AnEmptyTextStoresNoCode) {
    importText("##No.00 00\n//");
    EXPECT_TRUE(texts()[0].unpacked.empty());
    EXPECT_EQ(texts()[0].packed, (Bytes{0x00, 0x00}));
}

TEST_F(TextCollection, FailuresStopTheImportAtTheirBlock) {
    const Bytes before = texts()[1].unpacked;
    importText("##No.00 00\nア//\r\n##No.00 01\nイ##ウ//\r\n##No.00 02\nエ//");
    EXPECT_EQ(platform.messages, std::vector<std::string>{sjis("##は使用できません35 35 1 13")});
    EXPECT_EQ(texts()[0].unpacked, Bytes{0x72});
    EXPECT_EQ(texts()[1].unpacked, before);
    EXPECT_EQ(texts()[2].unpacked, test::demoCatalogues().texts()[2].unpacked);
}

TEST_F(TextCollection, ALastBlockWithoutSlashesFails) {
    importText("##No.00 00\nア//\r\n##No.00 01\nイウ\r\n");
    EXPECT_EQ(platform.messages, std::vector<std::string>{sjis("は使用できません0 0 1 17")});
    EXPECT_EQ(texts()[0].unpacked, Bytes{0x72});
}

TEST_F(TextCollection, AFileWithoutBlocksChangesNothing) {
    importText("no blocks here");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(texts()[0].unpacked, test::demoCatalogues().texts()[0].unpacked);
}

TEST_F(TextCollection, UnreadableOrUnwritableFilesAreReported) {
    platform.answer(folder / "missing.txt");
    importTextCollection(texts(), builtInCharTables(), test::demoImage(), platform);
    platform.failWriting(folder / "out.txt");
    platform.answer(folder / "out.txt");
    exportTextCollection(texts(), catalogues.names, builtInCharTables(), platform);
    EXPECT_EQ(platform.messages, (std::vector<std::string>{sjis("missing.txtが読み込めません"),
                                                           sjis("out.txtに書き込めませんでした")}));
}

TEST_F(TextCollection, NamesShownInReferencesAreTheCurrentOnes) {
    storeUnpacked(catalogues.names[0x123], bytesOf(sjis("新しい名前") + std::string(1, '\0')));
    EXPECT_NE(exported().find("[F1 23:(" + sjis("新しい名前") + ")]"), std::string::npos);
}

}  // namespace
}  // namespace velk
