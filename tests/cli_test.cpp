#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "test_support.h"

namespace velk {
namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        rom = (test::scratchFolder() / "demo.smc").string();
        test::writeBytes(rom, test::demoImage().bytes);
    }
    std::string rom;
};

TEST_F(Cli, InfoSummarisesTheImage) {
    const CliRun r = cli({rom, "info"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("texts:         5607"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("indexed layout"), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty());
}

TEST_F(Cli, VerbsRunInOrderOnOneImage) {
    const CliRun r = cli({rom, "info", "info"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.substr(0, r.out.size() / 2), r.out.substr(r.out.size() / 2));
}

TEST_F(Cli, UsageErrorsExitWithTwoBeforeReadingAnything) {
    EXPECT_EQ(cli({}).code, 2);
    EXPECT_EQ(cli({rom}).code, 2);
    const CliRun r = cli({"/nonexistent/x.smc", "info", "bogus"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("bogus"), std::string::npos);
    EXPECT_EQ(r.err.find("読み込めません"), std::string::npos);
}

TEST_F(Cli, AMessageEndsTheRunWithOneInUtf8) {
    const CliRun r = cli({"/nonexistent/x.smc", "info"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "x.smcが読み込めません\n");
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace velk
