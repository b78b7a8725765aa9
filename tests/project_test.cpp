#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <thread>

#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/project_ops.h"
#include "ops/sharing_checks.h"
#include "rom/image_diff.h"
#include "rom/layout_plan.h"
#include "rom/load.h"
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

std::map<std::string, Bytes> filesOf(const fs::path& dir) {
    std::map<std::string, Bytes> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files[fs::relative(e.path(), dir).generic_string()] = test::readBytes(e.path());
    return files;
}

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

TEST_F(Project, ExportRefusesAFullFolderAndAnUneditedBuildIsASave) {
    // The exported files' bytes are pinned by the demo-exports golden list.
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
    // asked, it applies the edited script as the verb would
    test::writeBytes(dir / "proj/script.txt", test::bytesOf(";;単語リスト\n[F0 00] アイ\n"));
    EXPECT_EQ(test::cli({"--any-base", p("other.smc"), "build", p("proj"), "save", p("built.smc")}).code, 0);
    ASSERT_EQ(test::cli({"--utf8", p("other.smc"), "apply-script", p("proj/script.txt"), "save", p("direct.smc")}).code, 0);
    EXPECT_EQ(test::readBytes(p("built.smc")), test::readBytes(p("direct.smc")));
    EXPECT_NE(test::readBytes(p("built.smc")), test::readBytes(p("other.smc")));
}

TEST_F(Project, ReadersRefuseWhatIsNoRegularFileOrTooLargeByName) {
    const std::string head = textOf(dir / "proj/velk-project.txt");
    auto padded = [&](size_t size) { return head + "#" + std::string(size - head.size() - 2, 'x') + "\n"; };
    auto replaced = [&](const std::string& from, const char* to) { return std::string(head).replace(head.find(from), from.size(), to); };
    const struct { const char* file; std::string with; const char* verb; const char* arg; std::string err; } cases[] = {
        {"names.txt", "fifo", "build", "", "names.txt: is not a regular file"},
        {"names.txt", "/dev/zero", "build", "", "names.txt: is not a regular file"},
        {"velk-project.txt", "fifo", "build", "", "velk-project.txt: is not a regular file"},
        {"faces/face-007.png", "fifo", "import-faces-png", "faces", "face-007.png: is not a regular file"},
        {"units.png", "fifo", "import-units-png", "units.png", "units.png: is not a regular file"},
        {"texts.txt", "fifo", "stats", "", "texts.txt: is not a regular file"},
        {"status.tsv", "fifo", "export-po", "", "status.tsv: is not a regular file"},
        {"glossary.tsv", "fifo", "check", "", "glossary.tsv: is not a regular file"},
        {"velk-project.txt", replaced("base-size = 4194304", "base-size = -1"), "build", "", "line 4: base-size -1 is not a size"},
        {"velk-project.txt", replaced("base-crc32 = ", "base-crc32 = +"), "build", "", "is not 8 hex digits"},
        {"velk-project.txt", "\xEF\xBB\xBF" + head, "build", "", ""},
        {"velk-project.txt", padded(65536), "build", "", ""},
        {"velk-project.txt", padded(65537), "build", "", "velk-project.txt: larger than 64 KiB"},
    };
    for (const auto& c : cases) {
        const fs::path work = dir / "work", at = work / c.file;
        fs::remove_all(work);
        fs::copy(dir / "proj", work, fs::copy_options::recursive);
        fs::remove(at);
        if (c.with == "fifo") EXPECT_EQ(::mkfifo(at.c_str(), 0600), 0);
        else if (c.with == "/dev/zero") fs::create_symlink(c.with, at);
        else test::writeBytes(at, test::bytesOf(c.with));
        const test::CliRun r = test::cli({rom, c.verb, (work / c.arg).string()});
        EXPECT_EQ(r.code, c.err.empty() ? 0 : 1) << c.file << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.file << ": " << r.err;
    }
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
    EXPECT_EQ(test::cli({p("a.smc"), "diff", p("b.smc")}).out,
              "names: 3 (0001, 0003-0004)\ntexts: 0\nfaces: 0\ncolour sets: 0\nunit graphics: 0\n"
              "added characters: 0\nother bytes: 0\n");
    EXPECT_EQ(foldedNumbers({1, 2, 3, 5, 7, 8}, 4, 2), "6 (0001-0003, 0005, …)");
}

// Diff passes over the face pointer slots the faces' index bytes name (any
// of 256): face 5 moved to slot 255, a change there is a face, beside it a byte.
TEST(Diff, MasksTheFacePointerSlotsTheFacesUse) {
    auto stateOf = [](const Bytes& bytes) {
        EditorState s;
        Result<LoadedRom> rom = loadRom(Bytes(bytes), builtInCharTables());
        installRom(s, *rom);
        return s;
    };
    auto slot = [](const Bytes& image, int face) { return kFacePointerTable + 3 * image[kFaceIndexTable + 4 * face]; };
    Bytes a = test::demoImage().bytes, b;
    const int32_t slot5 = slot(a, 5), slot255 = kFacePointerTable + 3 * 255;
    std::copy_n(a.begin() + slot5, 3, a.begin() + slot255);
    a[kFaceIndexTable + 4 * 5] = 255;
    const EditorState x = stateOf(a);
    for (const int32_t at : {slot255, slot255 - 1, slot255 + 3, slot5}) {
        b = a;
        if (at == slot255) std::copy_n(a.begin() + slot(a, 6), 3, b.begin() + at);  // face 6's picture
        else b[static_cast<size_t>(at)] ^= 0x01;
        const std::vector<KindDiff> d = diffImages(x, stateOf(b));
        EXPECT_EQ(d[2].entries.size() + d.back().entries.size(), 1u) << at;
        EXPECT_EQ(d.back().entries, at == slot255 ? std::vector<int64_t>{} : std::vector<int64_t>{at}) << at;
    }
}

// The figures of every kind of region are what a save fills: each record,
// name and colour set counted where the saved image's pointers put it. The
// colour sets fit to the byte, and one byte more is refused.
TEST_F(Project, SpaceFiguresAreWhereTheSavePutsTheRecords) {
    ScriptedPlatform platform;
    EditorState state = test::demoState(platform);
    const LayoutPlan plan = layoutPlan(state.image, state.catalogues);
    ASSERT_TRUE(plan.fits);
    EditorState copy = state;
    RomImage saved = state.image;
    ASSERT_TRUE(layOutImage(saved, copy));
    const Result<Catalogues> after = buildCatalogues(saved, state.tables);
    ASSERT_TRUE(after.ok());
    auto usedIn = [](const RegionUse& r, const auto& entries, auto size) {
        int64_t used = 0;
        for (const auto& e : entries)
            if (e.romOffset >= r.range.start && e.romOffset < r.range.end) used += size(e);
        return used;
    };
    const auto packed = [](const ResourceEntry& e) { return static_cast<int64_t>(e.packed.size()); };
    // records by where the plan put them (faces sharing a pointer slot are all written, the slot names one)
    std::vector<ResourceEntry> placed = state.catalogues.resources;
    const SavePlan at = planSave(state.catalogues);
    for (size_t i = 0; i < placed.size(); ++i) {
        placed[i].romOffset = at.recordAt[i];
        EXPECT_TRUE(at.recordAt[i] < 0 || std::equal(placed[i].packed.begin(), placed[i].packed.end(), saved.at(at.recordAt[i])));
    }
    for (const RegionUse& r : plan.regions) EXPECT_EQ(r.used, usedIn(r, placed, packed)) << "region " << r.index;
    for (const RegionUse& r : plan.names)
        EXPECT_EQ(r.used, usedIn(r, after->names, [](const NameEntry& e) { return static_cast<int64_t>(e.code.size()) + 1; }))
            << "names " << r.index;
    EXPECT_EQ(plan.colourSets.used, usedIn(plan.colourSets, after->colourSets, packed));
    for (const int64_t more : {int64_t{0}, int64_t{1}}) {
        EditorState s = state;
        s.catalogues.colourSets[0].packed.resize(s.catalogues.colourSets[0].packed.size() + plan.colourSets.left() + more);
        EXPECT_EQ(spaceCheck(s).done(), more == 0);
        EXPECT_EQ(layoutPlan(s.image, s.catalogues).colourSets.left(), -more);
        EXPECT_EQ(layOutImage(saved, s).ok(), more == 0);
    }
    EXPECT_TRUE(spaceCheck(state).done());
    EXPECT_EQ(spaceNote(state), test::sjis("空き 274,520 バイト"));
    // One text 3 bytes larger than the largest free region (32768 bytes, all left).
    state.catalogues.texts()[0].packed = Bytes(32771, 0x55);
    const Outcome o = spaceCheck(state);
    EXPECT_TRUE(o.failed() && o.problem->text == test::sjis("容量が足りません"));
    EXPECT_NE(o.report.find("does not fit: text 0000, 32771 bytes, 3 bytes more than the largest room left"), std::string::npos)
        << o.report;
    EXPECT_EQ(spaceNote(state), test::sjis("容量が足りません: 3 バイト不足"));
}

// The demo's table file is pinned by the demo-exports golden list; an added
// character is listed, and the zero behind a short table is not.
TEST(TableFile, ListsAddedCharactersUpToTheZero) {
    CharTables added = builtInCharTables();
    added[kAddedCharTable][0x10] = {0x8C, 0x46};
    added[kAddedCharTable][0x11] = {0x00, 0x00};
    const std::string withAdded = tableFileText(added);
    EXPECT_TRUE(withAdded.find("\n0810=熊\n") != std::string::npos && withAdded.find("0811") == std::string::npos);
}

// The patch goes to a FIFO once, whole, and is the patch a file gets.
TEST_F(Project, APatchIsCheckedInMemoryAndWrittenOnce) {
    const test::CliRun good = test::cli({rom, "patch", p("good.bps")});
    EXPECT_NE(good.out.find("source CRC32 B2FDA92F, target CRC32 "), std::string::npos);
    const std::string fifo = p("out.bps");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string got;
    std::thread reader([&] {
        char buf[4096];
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) got.append(buf, static_cast<size_t>(n));
        ::close(fd);
    });
    EXPECT_EQ(test::cli({rom, "patch", fifo}).code, 0);
    if (const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);  // a reader never met ends
    reader.join();
    EXPECT_TRUE(test::bytesOf(got) == test::readBytes(p("good.bps")) && fs::is_fifo(fifo));
}

TEST(FullWidth, LatinTextIsTypedFullWidthOnlyWhenAsked) {
    const CharTables& tables = builtInCharTables();
    std::vector<NameEntry> names(2);
    ASSERT_TRUE(encodeName(names, 0, test::bytesOf(toCp932("Ｈｅｌｌｏ，　Ｗｏｒｌｄ")), GlyphLookup(tables)));
    ASSERT_TRUE(encodeName(names, 1, test::bytesOf("Hello, World"), GlyphLookup(tables, true)));
    EXPECT_EQ(names[1].code, names[0].code);  // refused without the option: messages_test
}

TEST(FullWidth, EveryImportTakesTheOption) {
    const struct { Operation op; const char* file; } cases[] = {
        {importNameList, "[F0 00] H\r\n"}, {importTextCollection, "##No.00 00\nH//\r\n"}, {applyChangeScript, ";;単語リスト\n[F0 00] H\n"}};
    for (const auto& c : cases)
        for (const bool wide : {false, true}) {
            ScriptedPlatform platform;
            EditorState state = test::demoState(platform);
            state.options.fullWidth = wide;
            platform.files["in.txt"] = bytesOf(sjis(c.file));
            EXPECT_EQ(test::run(state, platform, c.op, "in.txt").done(), wide) << c.file;
        }
}

// The full-width forms at the ends of the ranges that have them, each
// found where the tables hold it; the bytes just outside have none.
TEST(FullWidth, TheEndsOfEachRange) {
    const std::pair<uint8_t, const char*> cases[] = {{0x1F, ""},   {0x20, "　"}, {0x21, "！"}, {0x7E, "～"}, {0x7F, ""},
                                                     {0xA0, ""},   {0xA1, "。"}, {0xDF, "゜"}, {0xE0, ""}};
    CharTables tables = builtInCharTables();
    uint8_t slot = 0;
    for (const auto& [c, wide] : cases)
        if (*wide && c != 0x20) tables[kAddedCharTable][slot++] = {static_cast<uint8_t>(toCp932(wide)[0]), static_cast<uint8_t>(toCp932(wide)[1])};
    const GlyphLookup lookup(tables, true);
    for (const auto& [c, wide] : cases) {
        const std::optional<GlyphLookup::FullWidth> f = lookup.fullWidthOf(c);
        const std::string glyph = f ? std::string{static_cast<char>(f->glyph[0]), static_cast<char>(f->glyph[1])} : "";
        EXPECT_EQ(glyph, toCp932(wide)) << int{c};
        const GlyphCode code = c == 0x20 ? GlyphCode{0, 0x20} : findGlyph(tables, f ? f->glyph[0] : 0, f ? f->glyph[1] : 0).value_or(GlyphCode{});
        EXPECT_TRUE(!f || (f->code.table == code.table && f->code.slot == code.slot)) << int{c};
    }
}

}  // namespace
}  // namespace velk
