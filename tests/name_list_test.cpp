#include <gtest/gtest.h>

#include "test_support.h"
#include "text/decode.h"
#include "text/name_list.h"

namespace velk {
namespace {

class NameList : public ::testing::Test {
protected:
    void SetUp() override { names = test::demoCatalogues().names; }
    Outcome importBytes(const Bytes& file) {
        platform.files["in.txt"] = file;
        return importNameList(state, platform, "in.txt");
    }
    std::string exported() {
        EXPECT_EQ(exportNameList(state, platform, "out.txt").summary, sjis("名前 2510 件を書き出しました"));
        const Bytes& b = platform.files["out.txt"];
        return std::string(b.begin(), b.end());
    }

    EditorState state;
    std::vector<NameEntry>& names = state.catalogues.names;
    ScriptedPlatform platform;
};

// The export read back (every code: the lossless tests), 候 comes back at its first slot.
TEST_F(NameList, AnExportReadsBack) {
    const std::string file = exported();
    ASSERT_EQ(importBytes(bytesOf(file)).summary, sjis("名前 2510 件を読み込みました"));
    EXPECT_EQ(names[5].code, (Bytes{0x03, 0x80, 0x8F, 0xA4}));
    EXPECT_EQ(exported(), file);
}

// Lines go by position, whatever their labels; the first line that fails
// stops the import there, the lines before it stay stored.
TEST_F(NameList, ImportCases) {
    const Bytes unchanged;  // the demo's own
    // problem: how the message ends, "" when the import is done
    const struct { const char* file; const char* problem; std::vector<Bytes> names; } cases[] = {
        {"[XX XX] アイ\r\n12345678ウ\n[F0 00] エ\r\n", "", {{0x72, 0x74}, {0x76}, {0x78}, unchanged}},
        {"[F0 00] ア\n[F0 01] イ\n[F0 02] ウエ", "", {{0x72}, {0x74}, {0x76, 0x78}, unchanged}},
        {"[F0 00] ア\r\n[F0 01] イ\r\n[F0 02] 熊\r\n[F0 03] エ\r\n", "熊は使用できません2 -116", {{0x72}, {0x74}, unchanged, unchanged}},
        {"[F0 00]ア\r\n", "は使用できません0 65", {unchanged}},  // seven bytes of label: "ア" loses a byte
    };
    for (const auto& c : cases) {
        names = test::demoCatalogues().names;
        const Outcome o = importBytes(bytesOf(sjis(c.file)));
        const std::string problem = o.problem ? o.problem->text : "", expected = sjis(c.problem);
        EXPECT_EQ(problem.substr(problem.size() - std::min(problem.size(), expected.size())), expected) << c.file;
        EXPECT_EQ(o.failed(), !expected.empty()) << c.file;
        for (size_t i = 0; i < c.names.size(); ++i)
            EXPECT_EQ(names[i].code, c.names[i].empty() ? test::demoCatalogues().names[i].code : c.names[i])
                << c.file << " name " << i;
    }
}

// A name holding code 0x16 (decoded as CR LF) keeps its one line as the
// escape !16!, and the names after it keep theirs.
TEST_F(NameList, ANameHoldingALineBreakStaysOnItsLine) {
    names[0].text = bytesOf(sjis("ア") + "\r\n" + sjis("イ"));
    names[0].text.push_back(0);
    const std::string file = exported();
    EXPECT_EQ(file.substr(0, 18), "[F0 00] " + sjis("ア") + "!16!" + sjis("イ") + "\r\n");
    ASSERT_TRUE(importBytes(bytesOf(file)).done());
    EXPECT_EQ(names[0].code, (Bytes{0x72, 0x16, 0x74}));
    EXPECT_EQ(names[1].code, test::demoCatalogues().names[1].code);
}

TEST_F(NameList, FilesLongerThanTheOldLimitImportWhole) {
    std::string file;
    for (int i = 0; i < 2510; ++i) file += "[F0 00] アイウエオカキクケコサシスセソタチツテトナニヌネノ\r\n";
    EXPECT_TRUE(importBytes(bytesOf(sjis(file))).done());  // about 140 KB
    EXPECT_EQ(names[2509].code.size(), 25u);
}

}  // namespace
}  // namespace velk
