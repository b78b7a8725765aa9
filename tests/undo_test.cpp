#include <gtest/gtest.h>

#include <random>

#include "ops/run_operation.h"
#include "test_support.h"

namespace velk {
namespace {

// What a save of the state writes, from a copy (a save lays the image out).
Bytes savedBytes(const EditorState& state) {
    EditorState copy = state;
    ScriptedPlatform platform;
    platform.answer("x.smc");
    EXPECT_TRUE(saveRom(copy, platform).done());
    return platform.files["x.smc"];
}

std::string randomWord(std::mt19937& rng) {
    static const char* const kana[] = {"ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ"};
    std::string word;
    for (size_t n = 1 + rng() % 6; n > 0; --n) word += kana[rng() % 10];
    return word;
}

// One random step: an import of names or texts, a change script with an IPS
// patch, or a text import that fails after storing its first blocks.
Outcome randomStep(EditorState& state, ScriptedPlatform& platform, std::mt19937& rng) {
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
    const Operation operations[] = {importNamesOperation, importTextsOperation, applyChangeScriptOperation,
                                    importTextsOperation};
    return test::run(state, platform, operations[kind], "in.txt");
}

// Random sequences undone to the start and redone to the end: every state
// saves to exactly the bytes it saved to when it was first reached.
TEST(UndoRedo, RandomSequencesRoundTripToTheSameSaves) {
    ScriptedPlatform platform;
    EditorState state = test::demoState(platform);
    std::mt19937 rng(20261206);
    std::vector<std::shared_ptr<StateChange>> history;
    std::vector<Bytes> saves = {savedBytes(state)};
    for (int step = 0; step < 10; ++step) {
        const Outcome o = randomStep(state, platform, rng);
        ASSERT_FALSE(o.cancelled());
        if (!o.change) continue;
        // the records it changed, not a copy of the state
        EXPECT_LT(o.change->bytesHeld(), sizeof(StateChange) + 4096) << "step " << step;
        history.push_back(o.change);
        saves.push_back(savedBytes(state));
    }
    ASSERT_GE(history.size(), 5u);
    for (size_t i = history.size(); i-- > 0;) {
        undoChange(state, *history[i]);
        ASSERT_EQ(savedBytes(state), saves[i]) << "undone to " << i;
    }
    for (size_t i = 0; i < history.size(); ++i) {
        redoChange(state, *history[i]);
        ASSERT_EQ(savedBytes(state), saves[i + 1]) << "redone to " << i + 1;
    }
}

}  // namespace
}  // namespace velk
