#include <gtest/gtest.h>

#include "ops/entry_ops.h"
#include "ops/reads_the_same.h"
#include "ops/run_operation.h"
#include "rom/state_change.h"
#include "pack/pack_profiles.h"
#include "test_support.h"
#include "text/name_list.h"
#include "text/decode.h"
#include "text/sjis.h"
#include "text/text_collection.h"

namespace velk {
namespace {

class TextCollection : public ::testing::Test {
protected:
    void SetUp() override {
        catalogues = test::demoCatalogues();
        state.image = test::demoImage();
    }
    Catalogue texts() { return catalogues.texts(); }
    Outcome importBytes(const Bytes& file) {
        platform.files["in.txt"] = file;
        return importTextCollection(state, platform, "in.txt");
    }
    std::string exported() {
        EXPECT_EQ(exportTextCollection(state, platform, "out.txt").summary,
                  sjis("テキスト 5607 件を書き出しました"));
        const Bytes& b = platform.files["out.txt"];
        return std::string(b.begin(), b.end());
    }

    EditorState state;
    Catalogues& catalogues = state.catalogues;
    ScriptedPlatform platform;
};

// The file import encodes and packs every text anew, as the packer makes it.
TEST_F(TextCollection, RoundTripKeepsEveryCodeButADuplicateSlot) {
    const std::string first = exported();
    texts()[3].packed = {0xEE};  // a packing the packer would not make: every text is packed anew
    const Outcome o = importBytes(bytesOf(first));
    ASSERT_EQ(o.summary, sjis("テキスト 5607 件を読み込みました"));
    const Catalogues& demo = test::demoCatalogues();
    for (size_t i = 0; i < texts().size(); ++i) {
        Bytes expected = demo.texts()[i].unpacked;
        if (i == 6) expected = {0x03, 0x80, 0x01, 0x1A, 0x2E};  // 候 and ぎ come back at their first slots
        ASSERT_EQ(texts()[i].unpacked, expected) << i;
        ASSERT_EQ(texts()[i].packed, packWithProfile(test::demoImage(), expected, kTextProfile)) << i;
    }
    EXPECT_EQ(exported(), first);
}

// Blocks go in file order, whatever their headers say; a single '/' ends a
// text; the first block that fails stops the import there.
TEST_F(TextCollection, ImportCases) {
    const Bytes unchanged;  // the demo's own
    const struct { const char* file; const char* problem; std::vector<Bytes> texts; } cases[] = {  // problem "": done
        {"remarks before\r\n##No.15 E6\nア//\r\n\r\nremarks between\r\n##No.00 00\r\nイ\r\nウ//\r\n##junk\nエ//", "",
         {{0x72}, {0x74, 0x16, 0x76}, {0x78}, unchanged}},
        {"##No.00 00\nア/イ ウ//\r\n##No.00 01\nエ//", "", {{0x72}, {0x78}}},
        {"##No.00 00\nア//\r\n##No.00 01\nイ##ウ//\r\n##No.00 02\nエ//", "##は使用できません35 35 1 13",
         {{0x72}, unchanged, unchanged}},
        {"##No.00 00\nア//\r\n##No.00 01\nイウ\r\n", "は使用できません0 0 1 17", {{0x72}, unchanged}},
        {"no blocks here", "", {unchanged}},
    };
    for (const auto& c : cases) {
        catalogues = test::demoCatalogues();
        const Outcome o = importBytes(bytesOf(sjis(c.file)));
        EXPECT_EQ(o.problem ? o.problem->text : "", sjis(c.problem)) << c.file;
        for (size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ(texts()[i].unpacked, c.texts[i].empty() ? test::demoCatalogues().texts()[i].unpacked : c.texts[i])
                << c.file << " text " << i;
    }
}

// A build's rule: an entry whose code reads the same keeps its code, its
// packing and its line as typed (候 at its second slot in name 5 and text 6),
// and only the edited entries change.
TEST_F(TextCollection, ABuildKeepsWhatReadsTheSame) {
    std::string texts = exported();
    texts.insert(texts.find("##No.00 01\n!11!?1B 05?") + 22, sjis("ケ"));
    const Bytes nameFile = nameListBytes(catalogues.names);
    std::string names(nameFile.begin(), nameFile.end());
    names.insert(names.find("[F0 02] ") + 8, sjis("ケ"));
    state = test::demoState(platform);
    state.catalogues.texts()[3].packed = {0xEE};  // a packing the packer would not make
    const EditorState before = state;
    platform.files["t.txt"] = bytesOf(texts);
    platform.files["n.txt"] = bytesOf(names);
    ASSERT_TRUE(importKeepingWhatReadsTheSame(state, [&] {
        EXPECT_TRUE(importNameList(state, platform, "n.txt").done());
        return importTextCollection(state, platform, "t.txt");
    }).done());
    for (size_t i = 0; i < kTextCount; ++i) ASSERT_EQ(state.catalogues.texts()[i] == before.catalogues.texts()[i], i != 1) << i;
    for (size_t i = 0; i < kNameCount; ++i) ASSERT_EQ(state.catalogues.names[i] == before.catalogues.names[i], i != 2) << i;
    for (const int i : {5, 6}) {  // the workbench's Apply of a form as it stands, 候 at 04 89 in both
        const EntryKind kind = i == 5 ? EntryKind::Name : EntryKind::Text;
        ASSERT_TRUE(applyEntry(state, kind, i, entryForm(state, kind, i)).done());
    }
    EXPECT_TRUE(state.catalogues.names[5] == before.catalogues.names[5] && state.catalogues.texts()[6] == before.catalogues.texts()[6]);
}

// An Apply compared only on the entries it names makes the undo step the
// whole comparison makes, and undoing it gives the document back.
TEST_F(TextCollection, AnApplyComparedOnItsOwnEntriesIsTheWholeComparisonsStep) {
    state = test::demoState(platform);
    for (const EntryKind kind : {EntryKind::Name, EntryKind::Text}) {
        const Document before = state;
        const std::string form = entryForm(state, kind, 9) + sjis("北");
        EditorState whole = state;
        const Outcome full = runOperation(whole, [&] { return applyEntry(whole, kind, 9, form); });
        const Outcome scoped = runOperation(state, EntryScope{kind, {9, -1, 9, kTextCount}}, [&] { return applyEntry(state, kind, 9, form); });
        ASSERT_TRUE(full.change && scoped.change);
        EXPECT_EQ(scoped.change->recordCount(), 1u);
        EXPECT_EQ(scoped.change->bytesHeld(), full.change->bytesHeld());
        EXPECT_TRUE(sameDocument(state, whole));
        undoChange(state, *scoped.change);
        EXPECT_TRUE(sameDocument(state, before));
    }
}

TEST_F(TextCollection, NamesShownInReferencesAreTheCurrentOnes) {
    catalogues.names[0x123].text = bytesOf(sjis("新しい名前") + std::string(1, '\0'));
    EXPECT_NE(exported().find("[F1 23:(" + sjis("新しい名前") + ")]"), std::string::npos);
}

}  // namespace
}  // namespace velk
