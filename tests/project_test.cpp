#include <gtest/gtest.h>

#include <map>

#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/project_ops.h"
#include "ops/sharing_checks.h"
#include "rom/layout_plan.h"
#include "rom/save_layout.h"
#include "scripted_platform.h"
#include "test_support.h"
#include "text/encode.h"
#include "text/sjis.h"
#include "text/table_file.h"

namespace velk {
namespace {

std::string textOf(const fs::path& p) {
    const Bytes b = test::readBytes(p);
    return std::string(b.begin(), b.end());
}

// Every file of a project, by its path inside the folder.
std::map<std::string, Bytes> filesOf(const fs::path& dir) {
    std::map<std::string, Bytes> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files[fs::relative(e.path(), dir).generic_string()] = test::readBytes(e.path());
    return files;
}

// Replaces the first `from` in a UTF-8 project file.
void edit(const fs::path& file, const std::string& from, const std::string& to) {
    std::string s = textOf(file);
    const size_t at = s.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    test::writeBytes(file, test::bytesOf(s.replace(at, from.size(), to)));
}

class Project : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::scratchFolder();
        rom = (dir / "base.smc").string();
        test::writeBytes(rom, test::demoImage().bytes);
        ASSERT_EQ(test::cli({rom, "export-project", (dir / "proj").string()}).code, 0);
    }
    std::string p(const std::string& name) const { return (dir / name).string(); }
    fs::path dir;
    std::string rom;
};

TEST_F(Project, ExportIsDeterministicAndAnUneditedBuildIsASave) {
    ASSERT_EQ(test::cli({rom, "export-project", p("again")}).code, 0);
    const std::map<std::string, Bytes> files = filesOf(dir / "proj");
    EXPECT_TRUE(files == filesOf(dir / "again"));
    EXPECT_EQ(files.size(), 5u + 157u + 1u);  // the text files, .gitattributes, faces 000-156, units.png
    EXPECT_EQ(files.count("faces/face-156.png") + files.count("units.png"), 2u);
    EXPECT_EQ(textOf(dir / "proj/script.txt"), "");
    EXPECT_EQ(textOf(dir / "proj/texts.txt").find('\r'), std::string::npos);
    EXPECT_NE(test::cli({rom, "export-project", p("proj")}).code, 0);  // not empty
    ASSERT_EQ(test::cli({rom, "build", p("proj"), "save", p("built.smc")}).code, 0);
    ASSERT_EQ(test::cli({rom, "save", p("saved.smc")}).code, 0);
    EXPECT_EQ(test::readBytes(p("built.smc")), test::readBytes(p("saved.smc")));
}

TEST_F(Project, ABuildChangesOnlyTheEditedEntriesAndExportsBackTheSame) {
    // Text 6 holds 候 at its second slot (04 89), and every text its packing
    // from the base: none of that is the build's to change.
    edit(dir / "proj/texts.txt", "##No.00 01\n!11!?1B 05?//", "##No.00 01\n!11!?1B 05?ケー//");
    fs::copy_file(dir / "proj/faces/face-001.png", dir / "proj/faces/face-000.png", fs::copy_options::overwrite_existing);
    ASSERT_EQ(test::cli({rom, "build", p("proj"), "save", p("built.smc")}).code, 0);
    EXPECT_EQ(test::cli({rom, "diff", p("built.smc")}).out,
              "names: 0\ntexts: 1 (0001)\nfaces: 1 (0000)\ncolour sets: 8 (0000-0007)\n"
              "unit graphics: 0\nadded characters: 0\nother bytes: 0\n");
    ASSERT_EQ(test::cli({"--utf8", rom, "import-texts", p("proj/texts.txt"), "save", p("imported.smc")}).code, 0);
    EXPECT_NE(test::cli({p("built.smc"), "diff", p("imported.smc")}).out.find("texts: 1 (0006)"), std::string::npos);
    ASSERT_EQ(test::cli({p("built.smc"), "export-project", p("back")}).code, 0);
    std::map<std::string, Bytes> back = filesOf(dir / "back"), proj = filesOf(dir / "proj");
    EXPECT_NE(back.at("velk-project.txt"), proj.at("velk-project.txt"));  // another base
    back.erase("velk-project.txt");
    proj.erase("velk-project.txt");
    EXPECT_TRUE(back == proj);
}

TEST_F(Project, ABuildOnAnotherBaseIsRefusedUnlessAsked) {
    ASSERT_EQ(test::cli({rom, "save", p("other.smc")}).code, 0);
    const test::CliRun refused = test::cli({p("other.smc"), "build", p("proj")});
    EXPECT_TRUE(refused.code == 1 && refused.err.find("the loaded ROM is not this project's base") != std::string::npos);
    EXPECT_NE(refused.err.find("B2FDA92F"), std::string::npos) << refused.err;  // the base's, beside the loaded one's
    EXPECT_EQ(test::cli({"--any-base", p("other.smc"), "build", p("proj")}).code, 0);
}

TEST_F(Project, DiffCountsAndFoldsTheEntriesThatDiffer) {
    // Two builds, apart in names 1, 3 and 4.
    const std::string names = textOf(dir / "proj/names.txt");
    for (const auto& [edited, out] : {std::pair{std::vector<int>{2}, "a.smc"}, {std::vector<int>{1, 2, 3, 4}, "b.smc"}}) {
        std::string text = names;
        for (const int n : edited) text.insert(text.find("[F0 0" + std::to_string(n) + "] ") + 8, "ケ");
        test::writeBytes(dir / "proj/names.txt", test::bytesOf(text));
        ASSERT_EQ(test::cli({rom, "build", p("proj"), "save", p(out)}).code, 0);
    }
    const test::CliRun d = test::cli({p("a.smc"), "diff", p("b.smc")});
        EXPECT_EQ(d.out,
              "names: 3 (0001, 0003-0004)\ntexts: 0\nfaces: 0\ncolour sets: 0\nunit graphics: 0\n"
              "added characters: 0\nother bytes: 0\n");
    EXPECT_EQ(foldedNumbers({1, 2, 3, 5, 7, 8}, 4, 2), "6 (0001-0003, 0005, …)");
}

TEST_F(Project, SpaceFiguresAreWhereTheSavePutsTheRecords) {
    ScriptedPlatform platform;
    platform.onDisk = true;
    EditorState state;
    platform.answer(fs::path(rom));
    ASSERT_TRUE(openRomAtStart(state, platform).done());
    const LayoutPlan plan = layoutPlan(state.catalogues);
    ASSERT_TRUE(plan.fits);
    platform.answer(dir / "s.smc");
    ASSERT_TRUE(saveRom(state, platform).done());
    // The save put every record where the plan says, and the figures add up
    // to exactly those records.
    const Bytes saved = test::readBytes(dir / "s.smc");
    const SavePlan at = planSave(state.catalogues);
    std::map<int, int64_t> placed;
    for (size_t i = 0; i < at.recordAt.size(); ++i) {
        const ResourceEntry& e = state.catalogues.resources[i];
        if (at.recordAt[i] < 0) continue;
        const auto from = saved.begin() + at.recordAt[i];
        EXPECT_TRUE(std::equal(e.packed.begin(), e.packed.end(), from)) << "record " << i;
        for (const RegionUse& r : plan.regions)
            if (r.range.contains(at.recordAt[i])) placed[r.index] += static_cast<int64_t>(e.packed.size());
    }
    for (const RegionUse& r : plan.regions) {
        EXPECT_EQ(r.used, placed[r.index]) << "region " << r.index;
        EXPECT_GE(r.left(), 0);
    }
    std::string report;
    EXPECT_TRUE(spaceCheck(state, report).done());
    EXPECT_EQ(spaceNote(state), test::sjis("空き 274,520 バイト"));
    // One text 3 bytes larger than the largest free region (32768 bytes, all left).
    state.catalogues.texts()[0].packed = Bytes(32771, 0x55);
    report.clear();
    const Outcome o = spaceCheck(state, report);
    EXPECT_TRUE(o.failed() && o.problem->text == test::sjis("容量が足りません"));
    EXPECT_NE(report.find("does not fit: text 0000, 32771 bytes, 3 bytes more than the largest room left"), std::string::npos)
        << report;
    EXPECT_EQ(spaceNote(state), test::sjis("容量が足りません: 3 バイト不足"));
}

// Each glyph once, by its code; tokens and control codes in comments only.
TEST_F(Project, TheTableFileMapsEveryGlyphToItsCode) {
    ASSERT_EQ(test::cli({rom, "export-table", p("t.tbl")}).code, 0);
    const std::string t = textOf(dir / "t.tbl");
    EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 2021);
    for (const char* line :
         {"\n#   010E=(冷や汗)\n", "\n#   011E=(旗)\n/00\n*16\n10=≫\n20=　\n21=ぁ\n", "\n0127=Ａ\n", "\n0AC9=興\n"})
        EXPECT_NE(t.find(line), std::string::npos) << line;
    EXPECT_TRUE(t.find("\n010E=") == std::string::npos && t.find("\n11=") == std::string::npos);
    EXPECT_EQ(t.substr(t.size() - 18), "0AFE=康\n0AFF=健\n");
    CharTables added = builtInCharTables();  // an added character, and the zero behind a short table
    added[kAddedCharTable][0x10] = {0x8C, 0x46};
    added[kAddedCharTable][0x11] = {0x00, 0x00};
    const std::string withAdded = tableFileText(added);
    EXPECT_TRUE(withAdded.find("\n0810=熊\n") != std::string::npos && withAdded.find("0811") == std::string::npos);
}

// Writes every patch with its last byte changed.
class FaultyWriter : public ScriptedPlatform {
public:
    Status writeFile(const fs::path& path, std::span<const uint8_t> bytes) override {
        Bytes b(bytes.begin(), bytes.end());
        if (path.extension() == ".bps") b.back() ^= 1;
        return ScriptedPlatform::writeFile(path, b);
    }
};

TEST_F(Project, APatchThatFailsItsCheckIsRemoved) {
    FaultyWriter platform;
    platform.onDisk = true;
    EditorState state;
    platform.answer(fs::path(rom));
    ASSERT_TRUE(openRomAtStart(state, platform).done());
    platform.answer(dir / "bad.bps");
    std::string report;
    const Outcome o = savePatchVerified(state, platform, report);
    EXPECT_TRUE(o.failed() && o.problem->detail.find("failed its check and was removed") != std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "bad.bps"));
}

TEST(FullWidth, LatinTextIsTypedFullWidthOnlyWhenAsked) {
    const CharTables& tables = builtInCharTables();
    std::vector<NameEntry> names(2);
    const std::string latin = "Hello, World";
    ASSERT_TRUE(encodeName(names, 0, test::bytesOf(toCp932("Ｈｅｌｌｏ，　Ｗｏｒｌｄ")), GlyphLookup(tables)));
    ASSERT_TRUE(encodeName(names, 1, test::bytesOf(latin), GlyphLookup(tables, true)));
    EXPECT_EQ(names[1].code, names[0].code);
    const Result<int32_t> refused = encodeName(names, 1, test::bytesOf(latin), GlyphLookup(tables));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.problem().fullWidth, toCp932("Ｈ"));
    EXPECT_EQ(problemReason(refused.problem()),
              "'H' (byte 48) is in no character table, in name 1; its full-width form 'Ｈ' has one, which --fullwidth "
              "would take");
}

}  // namespace
}  // namespace velk
