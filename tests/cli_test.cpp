#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "test_support.h"

namespace velk {
namespace {

using test::cli;
using test::CliRun;

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        rom = (test::scratchFolder() / "demo.smc").string();
        test::writeBytes(rom, test::demoImage().bytes);
    }
    std::string rom;
};

TEST_F(Cli, InfoAndSaveSayWhatTheyDid) {
    const CliRun r = cli({rom, "info"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("texts:         5607"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("indexed layout"), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty());
    const CliRun saved = cli({rom, "save", (std::filesystem::path(rom).parent_path() / "out.smc").string()});
    EXPECT_EQ(saved.out, "out.smc に保存しました\n");
}

TEST_F(Cli, UsageErrorsExitWithTwoBeforeReadingAnythingAndAMessageWithOne) {
    EXPECT_EQ(cli({}).code, 2);
    EXPECT_EQ(cli({rom}).code, 2);
    const CliRun r = cli({"/nonexistent/x.smc", "info", "bogus"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("bogus"), std::string::npos);
    EXPECT_EQ(r.err.find("読み込めません"), std::string::npos);
    const CliRun unread = cli({"/nonexistent/x.smc", "info"});  // a message ends the run with 1, in UTF-8
    EXPECT_TRUE(unread.code == 1 && unread.out.empty());
    EXPECT_EQ(unread.err, "x.smcが読み込めません\nx.smc: No such file or directory\n");
}

TEST_F(Cli, AFailingVerbStopsTheChain) {
    const std::filesystem::path dir = std::filesystem::path(rom).parent_path();
    test::writeBytes(dir / "bad.txt", test::bytesOf(test::sjis("##No.00 00\n熊//")));
    const CliRun r = cli({rom, "import-texts", (dir / "bad.txt").string(), "export-texts", (dir / "out.txt").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "熊は使用できません-116 70 0 11\nbad.txt:2:1: '熊' (bytes 8C 46) is in no character table, in text 0\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
    EXPECT_EQ(cli({rom, "export-texts"}).code, 2);  // a verb without its file
}

TEST_F(Cli, KeepGoingRunsEveryVerbAndStillFails) {
    const std::filesystem::path dir = std::filesystem::path(rom).parent_path();
    const std::vector<std::string> verbs = {"import-names", (dir / "missing.txt").string(), "export-names",
                                            (dir / "n.txt").string()};
    std::vector<std::string> args = {rom};
    args.insert(args.end(), verbs.begin(), verbs.end());
    EXPECT_EQ(cli(args).code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "n.txt"));  // stopped at the first problem
    args.insert(args.begin(), "-k");
    const CliRun r = cli(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "n.txt"));
    EXPECT_NE(r.err.find("missing.txtが読み込めません"), std::string::npos);
}

TEST_F(Cli, HelpVersionAndAMisspeltVerb) {
    for (const char* help : {"--help", "-h"}) {
        const CliRun r = cli({help});
        EXPECT_TRUE(r.code == 0 && r.err.empty() && r.out.starts_with("usage: velk-cli ")) << help;
        EXPECT_NE(r.out.find("apply-script IN.txt"), std::string::npos);
    }
    for (const char* version : {"--version", "-V"})
        EXPECT_TRUE(cli({version}).out.starts_with("VELK Version 1.14\nLicense GPL-3.0-or-later: ")) << version;
    const CliRun typo = cli({rom, "export-text", "t.txt"});
    EXPECT_EQ(typo.code, 2);
    EXPECT_EQ(typo.err, "velk-cli: unknown verb 'export-text' (did you mean export-texts?); see --help\n");
    const CliRun far = cli({rom, "frobnicate"});
    EXPECT_EQ(far.err, "velk-cli: unknown verb 'frobnicate'; see --help\n");
    EXPECT_EQ(cli({"--frob", rom, "info"}).code, 2);
}

}  // namespace
}  // namespace velk
