#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ops/check_ops.h"
#include "ops/po_ops.h"
#include "ops/project_ops.h"
#include "test_support.h"
#include "text/sjis.h"
#include "text/desk_status.h"

namespace velk {
namespace {

// A project of the demo image's names and texts, in memory.
class Check : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        shared = new Shared;
        for (const ProjectStep& step : projectSteps())
            if (step.name == std::string_view("names") || step.name == std::string_view("texts"))
                step.exportTo(shared->state, shared->platform, "proj");
        shared->rules = boxRulesOf({}, shared->state);
        shared->projectFile = projectFileText(projectBaseOf(shared->state));
        shared->files = shared->platform.files;
    }
    static void TearDownTestSuite() { delete shared; }
    void SetUp() override {
        platform.files = shared->files;
        setRules("");
    }
    void setRules(const std::string& lines) {
        platform.files["proj/velk-project.txt"] = bytesOf(shared->projectFile + lines);
    }
    std::string text(const std::string& file) const {
        return std::string(platform.files.at("proj/" + file).begin(), platform.files.at("proj/" + file).end());
    }
    void replace(const std::string& file, const std::string& from, const std::string& to) {
        std::string s = text(file);
        const size_t at = s.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        platform.files["proj/" + file] = bytesOf(s.replace(at, from.size(), to));
    }
    // "FILE:LINE:COLUMN rule" of each finding (of one entry, when given).
    std::string found(const std::string& entry = {}, bool strict = false) {
        CheckReport report;
        const Outcome o = checkProjectAt(state, platform, "proj", {false, strict}, report);
        EXPECT_EQ(o.done(), report.errors() == 0);
        std::string out;
        for (const Finding& f : report.findings)
            if (entry.empty() || f.entry == entry)
                out += f.file + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + " " + f.rule +
                       (f.error ? "" : "?") + "\n";
        return out;
    }
    struct Shared {
        ScriptedPlatform platform;
        EditorState state = test::demoState(platform);
        BoxRules rules;
        std::string projectFile;
        std::map<fs::path, Bytes> files;
    };
    static inline Shared* shared = nullptr;
    ScriptedPlatform& platform = shared->platform;
    const EditorState& state = shared->state;
    const BoxRules& inferred = shared->rules;
};

std::string times(int n, const std::string& s) { return n > 0 ? s + times(n - 1, s) : ""; }

// A token counts its width, a word reference its name's cells as the name
// stands now (name 0003, "(主人公)の剣", is 3) and an escape escape-width; the
// finding is at the first character past. Text 0001 starts on line 6.
TEST_F(Check, LinesFitTheirBoxToTheCell) {
    EXPECT_EQ(found(), "");
    ASSERT_EQ(inferred.textColumns, 70);
    ASSERT_EQ(inferred.textLines, 38);
    ASSERT_EQ(inferred.nameColumns, 7);
    const int cols = inferred.textColumns, lines = inferred.textLines;
    auto at = [](int line, int column) { return "texts.txt:" + std::to_string(line) + ":" + std::to_string(column) + " fit\n"; };
    const std::string wide = "token-width-主人公 = 3\n", escapes = "escape-width = 1\n", boxes = "text-box-break = !15!\ntext-lines = 2\n";
    const struct { std::string rules, name, body, expected; } cases[] = {
        {"", "", times(cols, "あ"), ""},
        {"", "", times(cols + 1, "あ"), at(6, cols + 1)},
        {"", "", "(主人公)" + times(cols - 1, "あ"), ""},
        {"", "", "(主人公)" + times(cols, "あ"), at(6, 5 + cols)},
        {wide, "", "(主人公)" + times(cols - 3, "あ"), ""},
        {wide, "", "(主人公)" + times(cols - 2, "あ"), at(6, 5 + cols - 2)},
        {wide, "", times(cols - 2, "あ") + "(主人公)", at(6, cols - 1)},
        {"", "", "[F0 03:(x)]" + times(cols - 3, "あ"), ""},
        {"", "", "[F0 03:(x)]" + times(cols - 2, "あ"), at(6, 11 + cols - 2)},
        {"", "(主人公)の剣あ", "[F0 03:(x)]" + times(cols - 3, "あ"), at(6, 11 + cols - 3)},
        {"", "", "!11!?1B 05?" + times(cols, "あ"), ""},
        {escapes, "", "!11!?1B 05?" + times(cols - 2, "あ"), ""},
        {escapes, "", "!11!?1B 05?" + times(cols - 1, "あ"), at(6, 11 + cols - 1)},
        // A table past the tenth and a name past the last are escapes too.
        {escapes, "", "?0B 01?[F9 FF:(x)]" + times(cols - 2, "あ"), ""},
        {escapes, "", "?0B 01?[F9 FF:(x)]" + times(cols - 1, "あ"), at(6, 18 + cols - 1)},
        {"", "", times(lines - 1, "あ\n") + "あ", ""},
        {"", "", times(lines, "あ\n") + "あ", at(6 + lines, 1)},
        {boxes, "", "あ\nあ!15!\nあ\nあ", ""},
        {boxes, "", "あ\nあ\nあ!15!\nあ", at(8, 1)},
    };
    for (const auto& c : cases) {
        SetUp();
        setRules(c.rules);
        replace("texts.txt", "##No.00 01\n!11!?1B 05?//", "##No.00 01\n" + c.body + "//");
        if (!c.name.empty()) replace("names.txt", "[F0 03] (主人公)の剣\n", "[F0 03] " + c.name + "\n");
        EXPECT_EQ(found("text 0001"), c.expected) << c.rules << c.name << c.body;
    }
    // A project made before the box rules were written gets them inferred.
    SetUp();
    platform.files["proj/velk-project.txt"] = bytesOf(shared->projectFile.substr(0, shared->projectFile.find("# Box rules")));
    replace("texts.txt", "##No.00 01\n!11!?1B 05?//", "##No.00 01\n" + times(cols + 1, "あ") + "//");
    EXPECT_EQ(found("text 0001"), at(6, cols + 1));
    // A rule that is no number of cells, or a box break that is no escape,
    // stops the check at its line.
    const std::string line = "line " + std::to_string(std::count(shared->projectFile.begin(), shared->projectFile.end(), '\n') + 1);
    SetUp();
    setRules("name-columns = 9999\n");  // the largest width a rule takes
    CheckReport largest;
    EXPECT_TRUE(checkProjectAt(state, platform, "proj", {}, largest).done());
    for (const std::string bad : {"text-columns = 7x\n", "token-width-旗 = -1\n", "text-box-break = !1!\n", "name-columns = 10000\n"}) {
        setRules(bad);
        CheckReport report;
        const Outcome o = checkProjectAt(state, platform, "proj", {}, report);
        ASSERT_TRUE(o.failed()) << bad;
        EXPECT_NE(o.problem->detail.find(line + ": " + bad.substr(0, bad.find(' '))), std::string::npos) << o.problem->detail;
    }
    // A name of exactly name-columns cells fits; one more does not.
    SetUp();
    replace("names.txt", "[F0 03] (主人公)の剣\n", "[F0 03] (主人公)の剣あいうえ\n");
    EXPECT_EQ(found("name 0003"), "");
    replace("names.txt", "(主人公)の剣あいうえ\n", "(主人公)の剣あいうえお\n");
    EXPECT_EQ(found("name 0003"), "names.txt:4:20 fit\n");
}

// Glossary and repeat findings are warnings (errors with strict), a changed
// locked entry an error. Names 0020, 01A6 and 01EB are "チー".
TEST_F(Check, GlossaryRepeatsAndLocks) {
    replace("names.txt", "\n[F0 20] チー\n", "\n[F0 20] ツー\n");
    replace("names.txt", "\n[F1 A6] チー\n", "\n[F1 A6] ツー\n");
    replace("names.txt", "\n[F1 EB] チー\n", "\n[F1 EB] テー\n");
    platform.files["proj/glossary.tsv"] = bytesOf("# term\ttranslation\tnote\nチー\tツー\tagreed\r\nリ\t\n");
    platform.files["proj/status.tsv"] = bytesOf("name\t0020\tlocked\t\t" + lockedTextSha1("ツー") + "\n");
    EXPECT_EQ(found(), "names.txt:492:9 glossary?\nnames.txt:492:9 repeats?\n");
    EXPECT_EQ(found({}, true), "names.txt:492:9 glossary\nnames.txt:492:9 repeats\n");
    platform.files["proj/status.tsv"] = bytesOf("name\t0020\tlocked\t\t" + lockedTextSha1("チー") + "\nname\t01EB\tdone\t\n");
    EXPECT_EQ(found(), "names.txt:33:9 locked\nnames.txt:492:9 glossary?\nnames.txt:492:9 repeats?\n");
    // Files that do not parse are findings where they stand.
    platform.files["proj/status.tsv"] = bytesOf("name\t0020\tlocked\t\nname\t20\t\t\n");
    platform.files["proj/glossary.tsv"] = bytesOf("チー ツー\n");
    EXPECT_EQ(found(), "glossary.tsv:1:6 format\nnames.txt:492:9 repeats?\nstatus.tsv:2:6 format\n");
}

// A file that ends one entry early is told of where it ends, as the build
// tells of it; the whole file is not.
TEST_F(Check, AShortFileIsAWarningAtItsEnd) {
    for (const auto& [file, last, said] : {std::tuple{"texts.txt", "##No.15 E6", "texts.txt:31742:1 format?\n"},
                                           {"names.txt", "[F9 CD]", "names.txt:2510:1 format?\n"}}) {
        SetUp();
        const std::string whole = text(file);
        platform.files["proj/" + std::string(file)] = bytesOf(whole.substr(0, whole.find(last)));
        EXPECT_EQ(found(), said);
        CheckReport report;
        (void)checkProjectAt(state, platform, "proj", {}, report);
        EXPECT_EQ(report.findings.at(0).what, file == std::string("names.txt") ? "2509 lines, not 2510: names 2509 and after keep their text"
                                                                            : "5606 blocks, not 5607: texts 5606 and after keep their text");
    }
}

TEST_F(Check, ExitStatusFollowsTheFindings) {
    const fs::path dir = test::scratchFolder();
    test::writeBytes(dir / "base.smc", test::demoImage().bytes);
    for (const auto& [path, bytes] : platform.files)
        if (path.begin()->string() == "proj") {
            fs::create_directories((dir / path).parent_path());
            test::writeBytes(dir / path, bytes);
        }
    const std::string rom = (dir / "base.smc").string(), proj = (dir / "proj").string();
    const std::string summary = " in 2510 names and 5607 texts\n";
    const std::string glossary = "glossary.tsv", texts = "proj/texts.txt";
    const struct { std::string file, text; bool strict; int code; std::string out; } cases[] = {
        {glossary, "", false, 0, "check: 0 errors, 0 warnings" + summary},
        {glossary, "ケー\tケイ\n", false, 0, "warning: the original has 'ケー'"},
        {glossary, "ケー\tケイ\n", true, 1, "error: the original has 'ケー'"},
        {texts, "熊", false, 1, "texts.txt:6:1: error: '熊' (bytes 8C 46) is in no character table, in text 1 (text 0001)\n"},
    };
    // What info says goes with the messages: the output is the report alone.
    EXPECT_EQ(test::cli({"--format=json", rom, "info", "stats", proj}).out.substr(0, 12), "{\n \"names\": ");
    for (const auto& c : cases) {
        if (c.file == glossary) {
            test::writeBytes(dir / "proj" / glossary, bytesOf(c.text));
            // Name 0001 is "ケー"; a draft of it lacks the term.
            std::string names = text("names.txt");
            test::writeBytes(dir / "proj/names.txt", bytesOf(names.replace(names.find("[F0 01] ケー"), 14, "[F0 01] ケ")));
        } else {
            test::writeBytes(dir / texts, bytesOf(text("texts.txt").insert(text("texts.txt").find("##No.00 01\n") + 11, c.text)));
        }
        std::vector<std::string> args{rom, "check", proj};
        if (c.strict) args.insert(args.begin(), "--strict");
        const test::CliRun run = test::cli(args);
        EXPECT_EQ(run.code, c.code) << c.text << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
    }
    EXPECT_EQ(test::cli({"--format=xml", rom, "check", proj}).code, 2);
    EXPECT_EQ(test::cli({"--format=junit", rom, "stats", proj}).code, 2);  // XML or nothing
    EXPECT_EQ(test::cli({"--format=json", rom, "stats", proj, "check", proj}).code, 2);  // one document or nothing
    test::writeBytes(dir / texts, bytesOf(text("texts.txt").insert(text("texts.txt").find("##No.00 01\n") + 11, "?1")));
    EXPECT_EQ(test::cli({"--format=json", rom, "check", proj}).out,
              "[\n {\"file\": \"names.txt\", \"line\": 2, \"column\": 9, \"severity\": \"warning\", \"rule\": \"glossary\", "
              "\"entry\": \"name 0001\", \"message\": \"the original has 'ケー', the text lacks its translation 'ケイ' "
              "(glossary.tsv line 1)\"},\n {\"file\": \"texts.txt\", \"line\": 6, \"column\": 1, \"severity\": \"error\", "
              "\"rule\": \"encoding\", \"entry\": \"text 0001\", \"message\": \"'?' is not followed by \\\"XX YY?\\\" "
              "(two digits each), in text 1\"}\n]\n");
}

// A status line's own status, else untranslated while the text is the
// base's and draft once it differs.
TEST_F(Check, FiguresCountStatusLinesAndEdits) {
    replace("names.txt", "\n[F0 01] ケー\n", "\n[F0 01] ケイ\n");
    replace("texts.txt", "##No.00 01\n!11!?1B 05?//", "##No.00 01\nあ//");
    platform.files["proj/status.tsv"] =
        bytesOf("name\t0002\tlocked\t\ntext\t0001\treview\t\ntext\t0003\tdone\t\ntext\t0004\t\tjust a note\n");
    ProjectFigures figures;
    ASSERT_TRUE(projectFiguresAt(state, platform, "proj", {}, figures).done());
    EXPECT_EQ(figuresText(figures, ReportFormat::Json),
              "{\n \"names\": {\"total\": 2510, \"untranslated\": 2508, \"draft\": 1, \"review\": 0, \"done\": 0, \"locked\": 1},"
              "\n \"texts\": {\"total\": 5607, \"untranslated\": 5605, \"draft\": 0, \"review\": 1, \"done\": 1, \"locked\": 0}\n}\n");
    platform.files["proj/status.tsv"] = bytesOf("text\t0001\tfine\t\n");
    EXPECT_FALSE(projectFiguresAt(state, platform, "proj", {}, figures).done());
}

// A project kept as PO is checked and counted in its PO files, each finding
// at the line and column of the msgstr's character.
TEST_F(Check, PoFilesAreCheckedAtTheirMsgstr) {
    for (CodeKind kind : {CodeKind::Name, CodeKind::Text}) ASSERT_TRUE(exportPoStep(state, platform, "proj", kind).done());
    platform.files.erase("proj/names.txt");
    platform.files.erase("proj/texts.txt");
    EXPECT_EQ(found(), "");
    const std::string one = "msgctxt \"name 00 01\"\nmsgid \"ケー\"\nmsgstr \"";
    const std::string two = "msgctxt \"name 00 02\"\nmsgid \"ウルチワー\"\nmsgstr \"";
    const std::string text = "msgctxt \"text 00 02\"\nmsgid \"";
    replace("po/names.po", one, one + times(7, "ケ"));
    replace("po/names.po", two, two + times(8, "ケ"));
    EXPECT_EQ(found(), "po/names.po:36:16 fit\n");
    replace("po/names.po", two, two + "熊😀");
    replace("po/names.po", "msgctxt \"name 00 04\"", "msgctxt \"name 99 04\"");
    EXPECT_EQ(found(), "po/names.po:36:10 encoding\npo/names.po:50:1 format?\n");
    ProjectFigures figures;
    ASSERT_TRUE(projectFiguresAt(state, platform, "proj", {}, figures).done());
    EXPECT_EQ(figures.names.byStatus[static_cast<size_t>(DeskStatus::Draft)], 2u);
    EXPECT_EQ(figures.texts.byStatus[static_cast<size_t>(DeskStatus::Draft)], 0u);
}

}  // namespace
}  // namespace velk
