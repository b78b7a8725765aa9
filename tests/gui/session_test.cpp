#include <gtest/gtest.h>

#include <random>

#include "app/editor_session.h"
#include "rom/state_change.h"
#include "test_support.h"

namespace velk {
namespace {

// What a save of the state writes, from a copy (a save lays the image out).
Bytes savedBytes(const EditorState& state) {
    EditorState copy = state;
    ScriptedPlatform platform;
    EXPECT_TRUE(saveRom(copy, platform, "x.smc").done());
    return platform.files["x.smc"];
}

std::string randomWord(std::mt19937& rng) {
    static const char* const kana[] = {"ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ"};
    std::string word;
    for (size_t n = 1 + rng() % 6; n > 0; --n) word += kana[rng() % 10];
    return word;
}

// An import of names or texts, a change script with a patch, or a text import failing midway.
Outcome randomStep(EditorSession& session, ScriptedPlatform& platform, std::mt19937& rng) {
    std::string file;
    const unsigned kind = rng() % 4;
    char label[32];
    for (unsigned i = 0, n = 1 + rng() % 5; i < n; ++i) {
        const unsigned entry = rng() % 40;
        if (kind == 0) std::snprintf(label, sizeof label, "[F0 %02X] ", i);
        if (kind == 1 || kind == 3) std::snprintf(label, sizeof label, "##No.00 %02X\n", i);
        if (kind == 2) std::snprintf(label, sizeof label, ";;単語リスト\n[F0 %02X] ", entry);
        file += label + randomWord(rng) + (kind == 0 || kind == 2 ? "\r\n" : "//\r\n");
    }
    if (kind == 3) file += "##No.00 09\n熊//\r\n";
    if (kind == 2) {
        const unsigned at = 0x3F0000 + rng() % 0x8000;
        platform.files["p.ips"] = {'P', 'A', 'T', 'C', 'H', 0x3F, static_cast<uint8_t>(at >> 8), static_cast<uint8_t>(at),
                                   0, 2, static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), 'E', 'O', 'F'};
        file += ";;IPSパッチ @@p.ips\n";
    }
    platform.files["in.txt"] = test::bytesOf(sjis(file));
    const Operation operations[] = {importNameList, importTextCollection, applyChangeScript, importTextCollection};
    return session.run(QStringLiteral("step"), [&](EditorState& s, Platform& p) { return operations[kind](s, p, "in.txt"); });
}

// Every state, undone to or redone to, saves to the bytes it saved to when first reached.
TEST(UndoRedo, RandomSequencesRoundTripToTheSameSaves) {
    ScriptedPlatform platform;
    EditorState state = test::demoState(platform);
    EditorSession session(state, platform, platform);
    std::mt19937 rng(20261206);
    std::vector<Bytes> saves = {savedBytes(state)};
    for (int step = 0; step < 10; ++step) {
        const Outcome o = randomStep(session, platform, rng);
        ASSERT_FALSE(o.cancelled());
        if (!o.change) continue;
        // the records it changed, not a copy of the state
        EXPECT_LT(o.change->bytesHeld(), sizeof(StateChange) + 4096) << "step " << step;
        saves.push_back(savedBytes(state));
    }
    const int steps = session.undoStack().count();
    ASSERT_GE(steps, 5);
    ASSERT_EQ(saves.size(), static_cast<size_t>(steps) + 1);
    for (int i = steps; i-- > 0;) { session.undoStack().undo(); ASSERT_EQ(savedBytes(state), saves[static_cast<size_t>(i)]) << "undone to " << i; }
    EXPECT_FALSE(session.isModified());
    for (int i = 1; i <= steps; ++i) { session.undoStack().redo(); ASSERT_EQ(savedBytes(state), saves[static_cast<size_t>(i)]) << "redone to " << i; }
}

// Undo takes back edits, not the .bak a save over the loaded file made: patches stay against it.
TEST(UndoRedo, UndoAfterASaveOverTheLoadedFileKeepsItsBackup) {
    ScriptedPlatform platform;
    EditorState state = test::demoState(platform);
    EditorSession session(state, platform, platform);
    platform.files["in.txt"] = test::bytesOf("##No.00 00\n" + sjis("ウ") + "//");
    platform.answer("in.txt");
    ASSERT_TRUE(session.runAsking(QStringLiteral("import"), Ask::ImportTexts, false, importTextCollection).done());
    platform.answer("demo.smc");
    ASSERT_TRUE(session.runAsking(QStringLiteral("save"), Ask::SaveRom, true, saveRom).done());
    EXPECT_TRUE(platform.files.at("demo.smc.bak") == test::demoImage().bytes && !session.isModified());
    session.undoStack().undo();
    EXPECT_TRUE(session.isModified());
    platform.answer("undone.ips");
    const Outcome patch = session.runAsking(QStringLiteral("save"), Ask::SaveRom, true, saveRom);
    ASSERT_TRUE(patch.done()) << (patch.problem ? patch.problem->display : "");
    EXPECT_EQ(state.loaded.copy, "demo.smc.bak");
    // The undone document is the one loaded: the patch is a fresh load's.
    ScriptedPlatform fresh;
    EditorState loaded = test::demoState(fresh);
    ASSERT_TRUE(saveRom(loaded, fresh, "fresh.ips").done());
    EXPECT_EQ(platform.files.at("undone.ips"), fresh.files.at("fresh.ips"));
}

}  // namespace
}  // namespace velk
