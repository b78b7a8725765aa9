#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include <sys/wait.h>

#include "ops/po_ops.h"
#include "test_support.h"
#include "text/po_catalog.h"

namespace velk {
namespace {

std::string textOf(const fs::path& p) {
    const Bytes b = test::readBytes(p);
    return std::string(b.begin(), b.end());
}

void edit(const fs::path& file, const std::string& from, const std::string& to) {
    std::string s = textOf(file);
    const size_t at = s.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    test::writeBytes(file, test::bytesOf(s.replace(at, from.size(), to)));
}

// A shell command's exit status and output (stderr with it).
struct Shell {
    int code = -1;
    std::string out;
};
Shell sh(const std::string& command) {
    Shell r;
    FILE* f = popen((command + " 2>&1").c_str(), "r");
    char buf[4096];
    for (size_t n; f && (n = fread(buf, 1, sizeof buf, f)) > 0;) r.out.append(buf, n);
    const int status = f ? pclose(f) : -1;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}
bool have(const std::string& tool) { return sh("command -v " + tool).code == 0; }

class Po : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::scratchFolder();
        rom = p("base.smc");
        test::writeBytes(rom, test::demoImage().bytes);
        ASSERT_EQ(test::cli({rom, "export-project", p("proj")}).code, 0);
    }
    std::string p(const std::string& name) const { return (dir / name).string(); }
    std::string po(const std::string& file) const { return p("proj/po/" + file); }
    // Sets a message's msgstr in a .po file as a translator's editor would.
    void translate(const std::string& file, const std::string& key, const std::string& msgstr, bool fuzzy = false) {
        const Result<PoCatalog> read = readPoFile(test::readBytes(file));
        ASSERT_TRUE(read);
        PoCatalog c = *read;
        bool found = false;
        for (PoMessage& m : c.messages)
            if (m.context == key) m.str = msgstr, m.fuzzy = fuzzy, found = true;
        ASSERT_TRUE(found) << key;
        test::writeBytes(file, poFileBytes(c));
    }
    fs::path dir;
    std::string rom;
};

TEST_F(Po, ExportIsDeterministicAndEveryToolReadsItAsVelkDoes) {
    ASSERT_EQ(test::cli({rom, "export-po", p("proj")}).code, 0);
    const Bytes texts = test::readBytes(po("texts.po"));
    const test::CliRun again = test::cli({rom, "export-po", p("proj")});
    EXPECT_EQ(again.out, "po files of " + p("proj") + ": 0 of 4 written, the rest unchanged\n");
    EXPECT_EQ(test::readBytes(po("texts.po")), texts);

    translate(po("texts.po"), "text 00 05", "テスト\nです");
    translate(po("texts.po"), "text 00 06", "ケ", true);
    if (have("msgfmt"))
        for (const auto& [file, stats] : {std::pair{"texts.po", "1 translated message, 1 fuzzy translation, 5605 untranslated messages."},
                                          {"texts.pot", "0 translated messages, 5607 untranslated messages."},
                                          {"names.po", "0 translated messages, 2510 untranslated messages."}}) {
            const Shell r = sh("msgfmt --check --statistics -o " + p("out.mo") + " " + po(file));
            EXPECT_EQ(r.code, 0) << r.out;
            EXPECT_NE(r.out.find(stats), std::string::npos) << file << ": " << r.out;
        }
    // polib (Debian's python3 has it) reads every message with the same key, original and translation.
    if (sh("/usr/bin/python3 -c 'import polib'").code == 0) {
        const Shell r = sh("/usr/bin/python3 -c 'import polib,sys\nfor e in polib.pofile(sys.argv[1]):\n"
                                    "  sys.stdout.write(e.msgctxt+chr(31)+e.msgid+chr(31)+e.msgstr+chr(31)+str(e.fuzzy)+chr(30))' " +
                           po("texts.po"));
        std::string ours;
        const Result<PoCatalog> read = readPoFile(test::readBytes(po("texts.po")));
        for (const PoMessage& m : read->messages)
            ours += m.context + '\x1f' + m.id + '\x1f' + m.str + '\x1f' + (m.fuzzy ? "True" : "False") + '\x1e';
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(r.out == ours) << r.out.substr(0, 300);
    }
}

TEST_F(Po, ATranslationBuildsAsTheSameEditInTheTextFilesAndSurvivesAMerge) {
    // The same edits in the text files ...
    edit(dir / "proj/texts.txt", "##No.00 05\n[FA 12:()]ノ!09!//", "##No.00 05\nテスト\nです//");
    edit(dir / "proj/names.txt", "[F0 03] ", "[F0 03] ケ");
    ASSERT_EQ(test::cli({rom, "build", p("proj"), "save", p("txt.smc")}).code, 0);
    // ... exported as PO, imported back into the base ...
    ASSERT_EQ(test::cli({rom, "export-po", p("proj")}).code, 0);
    const std::string exported = textOf(po("texts.po"));
    EXPECT_EQ(exported.rfind("#, ", exported.find("msgctxt \"text 00 05\"")),
              exported.find("#, fuzzy, placeholders:r", exported.find("#. text 00 05\n")));  // a draft
    ASSERT_EQ(test::cli({rom, "import-po", po("names.po"), "import-po", po("texts.po"), "save", p("po.smc")}).code, 0);
    EXPECT_EQ(test::readBytes(p("po.smc")), test::readBytes(p("txt.smc")));
    // ... made in a project that keeps PO from the start ...
    ASSERT_EQ(test::cli({"--po", rom, "export-project", p("pp")}).code, 0);
    EXPECT_FALSE(fs::exists(dir / "pp/texts.txt"));
    EXPECT_EQ(textOf(dir / "pp/.gitattributes").find("*.po text eol=lf\n") != std::string::npos, true);
    ASSERT_EQ(test::cli({rom, "build", p("pp"), "save", p("untouched.smc")}).code, 0);
    ASSERT_EQ(test::cli({rom, "save", p("saved.smc")}).code, 0);
    EXPECT_EQ(test::readBytes(p("untouched.smc")), test::readBytes(p("saved.smc")));
    translate(p("pp/po/texts.po"), "text 00 05", "テスト\nです");
    translate(p("pp/po/names.po"), "name 00 03", "ケ(主人公)の剣");
    const test::CliRun built = test::cli({rom, "build", p("pp"), "save", p("pp.smc")});
    ASSERT_EQ(built.code, 0);
    EXPECT_EQ(built.err, "");  // a renamed name in a word reference is no changed original
    EXPECT_EQ(test::readBytes(p("pp.smc")), test::readBytes(p("txt.smc")));
    // ... and after msgmerge with the template, every translation is kept.
    if (have("msgmerge")) {
        const Shell r = sh("msgmerge -q -o " + p("merged.po") + " " + p("pp/po/texts.po") + " " + p("pp/po/texts.pot"));
        ASSERT_EQ(r.code, 0) << r.out;
        fs::copy_file(p("merged.po"), p("pp/po/texts.po"), fs::copy_options::overwrite_existing);
        ASSERT_EQ(test::cli({rom, "build", p("pp"), "save", p("merged.smc")}).code, 0);
        EXPECT_EQ(test::readBytes(p("merged.smc")), test::readBytes(p("txt.smc")));
    }
}

// Where a msgstr that does not encode stops the import: FILE:LINE:COL of
// the character (columns count characters), and nothing of the file applied.
TEST_F(Po, AnImportStopsAtTheFirstMsgstrThatDoesNotEncodeAndChangesNothing) {
    ASSERT_EQ(test::cli({rom, "export-po", p("proj"), "export-texts", p("base.txt")}).code, 0);
    struct Case {
        const char* msgstr;
        int lineAfter;  // below the msgstr keyword
        int column;
        const char* reason;
    };
    for (const Case& c : {Case{"ケx", 0, 10, "'x' (byte 78) is in no character table"},
                          Case{"ケ\nテ😀", 2, 3, "'😀' has no Shift-JIS (CP932) form"},
                          Case{"ケ\n(主人公", 2, 2, ""}}) {
        SCOPED_TRACE(c.msgstr);
        fs::copy_file(po("texts.pot"), po("bad.po"), fs::copy_options::overwrite_existing);
        translate(po("bad.po"), "text 00 05", "ケ");
        translate(po("bad.po"), "text 00 06", c.msgstr);
        size_t line = 0;
        const Result<PoCatalog> read = readPoFile(test::readBytes(po("bad.po")));
        for (const PoMessage& m : read->messages)
            if (m.context == "text 00 06") line = m.msgstrLine + static_cast<size_t>(c.lineAfter);
        const test::CliRun r = test::cli({"-k", rom, "import-po", po("bad.po"), "export-texts", p("after.txt")});
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.err.find("bad.po:" + std::to_string(line) + ":" + std::to_string(c.column) + ": " + c.reason),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(test::readBytes(p("after.txt")), test::readBytes(p("base.txt")));
    }
}

TEST_F(Po, WarningsAndUnreadableFilesSayWhere) {
    const std::string header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    struct Case {
        std::string body;
        int code;
        std::vector<std::string> said;
    };
    for (const Case& c : std::vector<Case>{
             {header + "msgctxt \"text 15 E6\"\nmsgid \"a\"\nmsgstr \"ケ\"\n\nmsgctxt \"text 15 E7\"\nmsgid \"a\"\nmsgstr \"ケ\"\n", 0,
              {"x.po:6: warning: text 15 E6: its msgid is no longer the original",
               "x.po:10: warning: msgctxt \"text 15 E7\" names no name or text"}},
             {header + "msgctxt \"name 09 CD\"\nmsgid \"\"\nmsgstr \"ケ\"\n\nmsgctxt \"name 09 CE\"\nmsgid \"\"\nmsgstr \"ケ\"\n", 0,
              {"x.po:6: warning: name 09 CD: its msgid", "x.po:10: warning: msgctxt \"name 09 CE\" names no"}},
             {"\xEF\xBB\xBF" + header + "msgctxt \"text 15 E6\"\nmsgid \"a\"\nmsgstr \"ケ\"\n", 0,
              {"x.po:6: warning: text 15 E6: its msgid"}},
             {header + "msgctxt \"text 00 05\"\nmsgid \"a\"\nmsgstr \"ケ\"\n\nmsgctxt \"text 00 05\"\nmsgid \"b\"\nmsgstr \"ケ/\"\n", 0,
              {"x.po:10: warning: msgctxt \"text 00 05\" stands already at line 6; this message is passed over"}},
             {header + "msgctxt \"text 00 05\"\nmsgid \"[FA 12:()]ノ!09!\"\nmsgstr \"ケ/テ\"\n", 0,
              {"x.po:6: warning: text 00 05: a '/' ends the text here"}},
             {header + "msgid \"a\"\nmsgstr \"b\n", 1, {"x.po:6:1: "}},
             {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=EUC-JP; x\\n\"\n", 1,
              {"x.po: the file's charset is EUC-JP; VELK reads PO files in UTF-8"}},
             // gettext would take msgstr[0] and cut a msgstr at its zero byte
             {header + "msgctxt \"text 00 05\"\nmsgid \"a\"\nmsgid_plural \"b\"\nmsgstr[0] \"ケ\"\nmsgstr[1] \"テ\"\n", 1,
              {"x.po:7:1: msgctxt \"text 00 05\" has plural forms"}},
             {header + "msgctxt \"text 00 05\"\nmsgid \"a\"\nmsgstr \"ケ\\\\0\\x00c\"\n\"テ\\400\"\n", 1,
              {"x.po:7:3: '\\400' in the msgstr is a zero byte"}},
         }) {
        test::writeBytes(p("x.po"), test::bytesOf(c.body));
        const test::CliRun r = test::cli({rom, "import-po", p("x.po")});
        EXPECT_EQ(r.code, c.code) << c.body;
        for (const std::string& s : c.said) EXPECT_NE(r.err.find(s), std::string::npos) << s << "\n" << r.err;
    }
}

// status.tsv decides what is translated and fuzzy; an import brings the
// fuzzy flags back into it.
TEST_F(Po, StatusesNotesAndFitGoOutAndFuzzyFlagsComeBack) {
    test::writeBytes(dir / "proj/status.tsv", test::bytesOf("text\t0005\treview\tcheck\\nit\ntext\t0007\tdone\t\n"));
    ASSERT_EQ(test::cli({rom, "export-po", p("proj")}).code, 0);
    // The rest of both files, the fit and max-length lines too, is pinned by the demo-exports golden list.
    const std::string texts = textOf(po("texts.po"));
    EXPECT_NE(texts.find("#. note: check\n#.   it\n#, fuzzy, placeholders:r\"(?i)"), std::string::npos);  // review
    const Result<PoCatalog> read = readPoFile(test::readBytes(po("texts.po")));
    EXPECT_EQ(read->messages[7].str, read->messages[7].id);  // done, as the original
    EXPECT_FALSE(read->messages[7].fuzzy);
    translate(po("texts.po"), "text 00 05", "ケ");
    translate(po("texts.po"), "text 00 07", read->messages[7].id, true);
    ASSERT_EQ(test::cli({rom, "import-po", po("texts.po")}).code, 0);
    EXPECT_EQ(textOf(dir / "proj/status.tsv"), "text\t0005\tdone\tcheck\\nit\ntext\t0007\tdraft\t\n");
}

TEST_F(Po, TheHeaderNamesTheLanguageAndTheRevisionDateMovesOnlyWithTheContent) {
    ScriptedPlatform platform;
    EditorState base = test::demoState(platform, rom);
    edit(dir / "proj/velk-project.txt", "# language = ", "language = pt_BR\n# ");
    const auto exportOn = [&](const char* date) {
        ASSERT_TRUE(exportPoTo(base, platform, dir / "proj", PoExportOptions{date}).done());
    };
    const auto field = [&](const char* file, const std::string& name) {
        return poHeaderField(readPoFile(test::readBytes(po(file)))->header, name);
    };
    exportOn("2026-01-02 03:04+0000");
    EXPECT_EQ(field("texts.po", "Language"), "pt_BR");
    EXPECT_EQ(field("texts.po", "PO-Revision-Date"), "YEAR-MO-DA HO:MI+ZONE");
    edit(dir / "proj/texts.txt", "##No.00 05\n[FA 12:()]ノ!09!//", "##No.00 05\nケ//");
    exportOn("2026-01-02 03:04+0000");
    exportOn("2027-05-06 07:08+0000");  // nothing changed since
    EXPECT_EQ(field("texts.po", "PO-Revision-Date"), "2026-01-02 03:04+0000");
    EXPECT_EQ(field("names.po", "PO-Revision-Date"), "YEAR-MO-DA HO:MI+ZONE");
    EXPECT_EQ(field("texts.pot", "POT-Creation-Date"), field("names.po", "POT-Creation-Date"));
    edit(dir / "proj/texts.txt", "##No.00 05\nケ//", "##No.00 05\nテ//");
    exportOn("2027-05-06 07:08+0000");
    EXPECT_EQ(field("texts.po", "PO-Revision-Date"), "2027-05-06 07:08+0000");
}

}  // namespace
}  // namespace velk
