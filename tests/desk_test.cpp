#include <gtest/gtest.h>

#include "ops/messages.h"
#include "test_support.h"
#include "text/desk_status.h"
#include "text/glossary.h"

namespace velk {
namespace {

Result<DeskBook> parsed(const std::string& file) { return parseDeskStatus(bytesOf(file), {2510, 5607}); }

// Every line that does not parse stops the read where it stands: line and
// column (in characters) of the field at fault, and why.
TEST(DeskStatusFile, LinesThatDoNotParseAreLocated) {
    const struct { const char* file; int64_t line, column; const char* reason; } cases[] = {
        {"name\t0002\tdraft\t\nword\t0003\tdone\t\n", 2, 1, "'word' is no kind of entry: name or text"},
        {"\xEF\xBB\xBFword\t0003\tdone\t\n", 1, 1, "'word' is no kind of entry: name or text"},
        {"text\t159\tdone\t\n", 1, 6, "'159' is no entry number: four hexadecimal digits, such as 0002"},
        {"text\t15E7\tdone\t\n", 1, 6, "15E7 is past the last text (15E6)"},
        {"text\t15E6\tdone\t\nname\t09CE\t\tx\n", 2, 6, "09CE is past the last name (09CD)"},
        {"name\t0001\tfinished\t\n", 1, 11, "'finished' is no status: draft, review, done, locked or none"},
        {"text\t0001\tdone\t見て\\x\n", 1, 18, "'\\x' in a note: only \\t, \\n and \\\\ are escapes"},
        {"text\t0001\tdone\t末尾\\\n", 1, 18, "'\\' in a note: only \\t, \\n and \\\\ are escapes"},
        {"text\t0001\tdone\n", 1, 15, "3 fields: KIND, NUMBER, STATUS and NOTE, with the SHA-1 of its text behind a locked one"},
        {"text\t0001\tdone\t\tabc\n", 1, 17, "5 fields: KIND, NUMBER, STATUS and NOTE, with the SHA-1 of its text behind a locked one"},
        {"text\t0001\tlocked\t\tABC\n", 1, 19, "'ABC' is no SHA-1 of the locked text (40 lower-case hexadecimal digits)"},
        {"text\t0001\tlocked\t\taaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\n", 1, 19, "'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa' is no SHA-1 of the locked text (40 lower-case hexadecimal digits)"},
        {"text\t0001\tdone\t\nname\t0001\t\tn\ntext\t0001\treview\t\n", 3, 6, "the entry has a line already, line 1"},
        {"text\t0001\tdone\t\xff\n", 1, 16, "is not UTF-8: \\xFF is no UTF-8 character"},
    };
    for (const auto& c : cases) {
        const Result<DeskBook> r = parsed(c.file);
        ASSERT_FALSE(r) << c.file;
        EXPECT_EQ(r.problem().line, c.line) << c.file;
        EXPECT_EQ(r.problem().x, c.column) << c.file;
        EXPECT_EQ(problemReason(r.problem()), c.reason) << c.file;
    }
}

// Lines come back sorted, names first, numbers upper case, notes escaped;
// an entry without a status line is untranslated while it keeps its
// original text and a draft once it differs.
TEST(DeskStatusFile, ReadsWritesSortedAndKnowsTheImplicitStatus) {
    const std::string sha(40, 'a');
    Result<DeskBook> book = parsed("\xEF\xBB\xBFtext\t15e6\tlocked\tok\t" + sha + "\ntext\t0002\t\ta\\tb\\nc\\\\\r\n\nname\t09CD\treview\t\n");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->find(CodeKind::Text, 2)->note, "a\tb\nc\\");
    EXPECT_EQ(deskStatusBytes(*book),
              bytesOf("name\t09CD\treview\t\ntext\t0002\t\ta\\tb\\nc\\\\\ntext\t15E6\tlocked\tok\t" + sha + "\n"));
    EXPECT_EQ(statusOf(*book, CodeKind::Text, 2, true), DeskStatus::Untranslated);
    EXPECT_EQ(statusOf(*book, CodeKind::Text, 2, false), DeskStatus::Draft);
    EXPECT_EQ(statusOf(*book, CodeKind::Name, 0x9CD, true), DeskStatus::Review);
    EXPECT_EQ(statusOf(*book, CodeKind::Name, 0x9CC, false), DeskStatus::Draft);
    book->setNote(CodeKind::Text, 2, "");
    book->setStatus(CodeKind::Text, 0x15E6, DeskStatus::Done, sha);
    book->setStatus(CodeKind::Name, 0, DeskStatus::Locked, sha);
    EXPECT_EQ(deskStatusBytes(*book), bytesOf("name\t0000\tlocked\t\t" + sha + "\nname\t09CD\treview\t\ntext\t15E6\tdone\tok\n"));
    // A lock's SHA-1 is the same whether the text's lines end in LF or CR LF.
    EXPECT_EQ(lockedTextSha1("a\r\nb\n"), lockedTextSha1("a\nb\n"));
    EXPECT_EQ(lockedTextSha1(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_NE(lockedTextSha1("a\rb"), lockedTextSha1("ab"));
}

// Terms added in the window go to the end of the file, once, with the rest kept byte for byte.
TEST(GlossaryFile, AddedTermsAreAppendedOnceAndOnlyWhenTheyFit) {
    const std::vector<GlossaryTerm> terms = {{"北", "North", "", 0},  {"南", "South", "map", 0}, {"村", "Vil\tlage", "", 0},
                                             {"森\n", "Wood", "", 0}, {"#東", "East", "", 0},    {"剣", "Sword", "", 0}};
    const struct { const char *file, *out; } cases[] = {
        {"", "北\tNorth\n南\tSouth\tmap\n剣\tSword\n"},
        {"# team terms\r\n剣\tBlade", "# team terms\r\n剣\tBlade\n北\tNorth\n南\tSouth\tmap\n"},
        {"北\tNorth\n南\tSouth\tmap\n剣\tSword\n", "北\tNorth\n南\tSouth\tmap\n剣\tSword\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(glossaryWithTerms(bytesOf(c.file), terms), bytesOf(c.out)) << c.file;
}

}  // namespace
}  // namespace velk
