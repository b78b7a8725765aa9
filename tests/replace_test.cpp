#include <gtest/gtest.h>

#include "ops/replace_ops.h"
#include "ops/run_operation.h"
#include "rom/state_change.h"
#include "test_support.h"
#include "text/sjis.h"

namespace velk {
namespace {

std::string replaced(const char* rule, const char* with, const std::string& form) {
    const std::string_view r(rule);
    Result<Replacer> replacer = Replacer::make({std::string(r.substr(r.starts_with("re:") ? 3 : 0)), with, r.starts_with("re:")});
    EXPECT_TRUE(replacer) << rule;
    const Result<std::optional<Replaced>> out = replacer->apply(form);
    EXPECT_TRUE(out) << rule;
    return *out ? (*out)->text : form;
}

// Codes' forms stay as they are, whichever edge a match would cross; the
// text between them is matched as if it ended at each code.
TEST(Replace, LeavesEveryCodeFormAloneAndMatchesAroundIt) {
    const std::string codes = "あ?1B 05?あ!11!あ(主人公)あ[F1 23:(あ)]あ";
    // Inside a code, ending or starting inside one, the whole code, or across one.
    for (const char* rule : {"1B", "re:あ\\?", "re:\\?あ", "re:05\\?あ", "11", "re:!あ", "主人公", "re:\\(主人公\\)",
                             "re:あ\\(", "re:\\)あ", "re:あ\\[", "re:\\]あ", "re:F1 23", "re:あ.+あ"})
        EXPECT_EQ(replaced(rule, "X", codes), codes) << rule;
    const struct { const char* rule; const char* with; std::string form, expected; } cases[] = {
        {"あ", "か", codes, "か?1B 05?か!11!か(主人公)か[F1 23:(あ)]か"},
        {"re:^あ|あ$", "X", codes, "X?1B 05?あ!11!あ(主人公)あ[F1 23:(あ)]X"},
        {"re:.+", "X", "いう(旗)え", "X(旗)X"},
        {"re:$", "X", "い(旗)", "い(旗)X"},
        {"re:い.う", "X", "い\r\nう", "い\r\nう"},  // '.' stops at a line break
        {"re:(ケ)(ー)", "$2$1${1}$$$0", "ケーキ", "ーケケ$ケーキ"},
        {"re:(?<a>北)(?<b>南)?", "${b}${a}", "北北南", "北南北"},  // an unset group writes nothing
        {"re:ア*", "X", "イア", "XイXX"},       // empty matches, once at each place
        {"ア", "(旗)", "ア", "(旗)"},
    };
    for (const auto& c : cases) EXPECT_EQ(replaced(c.rule, c.with, c.form), c.expected) << c.rule;

    const Result<std::optional<Replaced>> spans = Replacer::make({"あ", "かか", false})->apply("あいあ");
    EXPECT_EQ((*spans)->before, (std::vector<TextSpan>{{0, 3}, {6, 9}}));
    EXPECT_EQ((*spans)->after, (std::vector<TextSpan>{{0, 6}, {9, 15}}));
    EXPECT_FALSE(*Replacer::make({"あ", "あ", false})->apply("あい"));  // the same text is no change
}

TEST(Replace, RulesFileLinesAndWhereEachProblemStands) {
    const Result<std::vector<RuleLine>> ok = readReplaceRules(bytesOf("\xEF\xBB\xBF# c\n\n \t\nの\tノ\r\nre:(a)\t\n"));
    ASSERT_EQ(ok->size(), 2u);
    EXPECT_EQ((*ok)[0].line, 4);
    EXPECT_EQ((*ok)[0].rule.replacement, "ノ");  // without the CR
    EXPECT_TRUE((*ok)[1].rule.regex && (*ok)[1].rule.pattern == "(a)");
    using C = ProblemCode;
    const struct { std::string file; ProblemCode code; size_t offset; int64_t found; } bad[] = {
        {"の\tノ\nの", C::RuleNotTwoColumns, 11, 1},
        {"の\tノ\tx\tx", C::RuleNotTwoColumns, 7, 4},
        {"\tx", C::EmptyPattern, 0, 0},
        {"re:\tx", C::EmptyPattern, 3, 0},
        {"の\tノ\nre:a(\tx", C::PatternInvalid, 13, 0},
        {"re:(a)\tb$2", C::ReplacementGroupUnknown, 8, 0},
        {"re:(?<n>a)\t${m}", C::ReplacementGroupUnknown, 11, 0},
        {"re:a\t${1", C::ReplacementDollar, 5, 0},
        {"re:a\tb$", C::ReplacementDollar, 6, 0},
        {"re:a\\C\tb", C::PatternInvalid, 6, 0},  // \C would split a character
        {"の\tノ\n\xFF\tx", C::NotUtf8, 8, 0},
    };
    for (const auto& c : bad) {
        const Result<std::vector<RuleLine>> r = readReplaceRules(bytesOf(c.file));
        ASSERT_FALSE(r) << c.file;
        EXPECT_EQ(r.problem().code, c.code) << c.file;
        EXPECT_EQ(r.problem().offset, c.offset) << c.file;
        EXPECT_EQ(r.problem().found, c.found) << c.file;
    }
}

class ReplaceOps : public ::testing::Test {
protected:
    void SetUp() override {
        state = test::demoState(platform);
        // A sequence the demo's texts never hold, in one name and one text.
        ASSERT_TRUE(applyEntry(state, EntryKind::Name, 0, sjis("ヂヅヂ")).done());
        ASSERT_TRUE(applyEntry(state, EntryKind::Text, 0, sjis("ヂヅヂ(旗)\r\n")).done());
    }
    Outcome rules(const std::string& file) {
        platform.files["rules.tsv"] = bytesOf(file);
        Outcome o = replaceWithRules(state, platform, "rules.tsv");
        report = o.report;
        return o;
    }
    std::string form(EntryKind kind, int index) { return fromCp932(entryForm(state, kind, index)); }
    ScriptedPlatform platform;
    EditorState state;
    std::string report;
};

TEST_F(ReplaceOps, RulesRunInOrderAndOnlyTheFinalResultMustEncode) {
    ASSERT_TRUE(rules("ヂヅヂ\tヂヂ@\n@\tヅヂ\n").done());
    EXPECT_EQ(report, "rules.tsv:1: 1 name, 1 text\nrules.tsv:2: 1 name, 1 text\n");
    EXPECT_EQ(form(EntryKind::Name, 0), "ヂヂヅヂ");
    EXPECT_EQ(form(EntryKind::Text, 0), "ヂヂヅヂ(旗)\r\n");
    const Outcome bad = rules("re:ヂヂヅヂ\tヂヅヂ\n# x\nヂヅヂ\tX\n");  // line 3 leaves an 'X' in both
    EXPECT_EQ(report, "rules.tsv:1: 1 name, 1 text\nrules.tsv:3: 1 name, 1 text\n");
    EXPECT_EQ(bad.problem->display, "置換後の2件は使用できません");
    EXPECT_TRUE(bad.problem->detail.starts_with("rules.tsv:3: [F0 00]: 'X' (byte 58) is in no character table,"));
    EXPECT_NE(bad.problem->detail.find("\nrules.tsv:3: ##No.00 00: 'X'"), std::string::npos);
    EXPECT_EQ(form(EntryKind::Text, 0), "ヂヂヅヂ(旗)\r\n");  // nothing changed
    EXPECT_EQ(rules("の\tノ\nre:(\tx\n").problem->detail, "rules.tsv:2:5: regular expression: missing closing parenthesis");
}

TEST_F(ReplaceOps, PreviewRowsAndTheirApplyAsOneStep) {
    const std::vector<EntryRef> texts = allEntries(state, EntryKind::Text);
    const Result<std::vector<ReplaceRow>> bad = previewReplace(state, *Replacer::make({"ヂヅヂ", "ヂ//ヂ", false}), texts);
    ASSERT_EQ(bad->size(), 1u);
    EXPECT_EQ((*bad)[0].problem->code, ProblemCode::SlashEndsText);  // "//" too: the import would cut the text there
    EXPECT_EQ((*bad)[0].problemAt, 3u);  // in UTF-8 bytes
    Result<std::vector<ReplaceRow>> rows = previewReplace(state, *Replacer::make({"ヂヅヂ", "ヂズヂ", false}), texts);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].after, "ヂズヂ(旗)\r\n");
    EXPECT_FALSE((*rows)[0].problem);
    const Outcome applied = runOperation(state, [&] { return applyReplace(state, *rows); });
    ASSERT_TRUE(applied.done() && applied.change);
    EXPECT_EQ(applied.change->recordCount(), 1u);  // one step: what undo takes back
    EXPECT_EQ(form(EntryKind::Text, 0), "ヂズヂ(旗)\r\n");
    const Outcome again = applyReplace(state, *rows);  // the entry no longer holds `before`
    EXPECT_EQ(again.problem->detail, "text 0 has changed since the preview; make it again");
}

TEST(ReplaceCli, ResultThatDoesNotEncodeChangesNothingAndExitsOne) {
    const fs::path dir = test::scratchFolder();
    test::writeBytes(dir / "demo.smc", test::demoImage().bytes);
    test::writeBytes(dir / "bad.tsv", bytesOf("の\tノ\nノ\tX\n"));
    const std::string rom = (dir / "demo.smc").string();
    const test::CliRun r = test::cli({"-k", rom, "replace", (dir / "bad.tsv").string(), "export-texts", (dir / "a.txt").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("bad.tsv:2: ##No.00 03: 'X'"), std::string::npos) << r.err;
    ASSERT_EQ(test::cli({rom, "export-texts", (dir / "b.txt").string()}).code, 0);
    EXPECT_EQ(test::readBytes(dir / "a.txt"), test::readBytes(dir / "b.txt"));
}

}  // namespace
}  // namespace velk
