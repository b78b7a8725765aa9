#include <gtest/gtest.h>

#include <QSettings>
#include <QTest>

#include "app/editor_session.h"
#include "app/project_session.h"
#include "image/crc32.h"
#include "app/translation_desk.h"
#include "ops/desk_ops.h"
#include "ops/entry_ops.h"
#include "test_support.h"

namespace velk {
namespace {

class ProjectWindow : public ::testing::Test {
protected:
    void SetUp() override {
        exporter.onDisk = platform.onDisk = true;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(root.string()));
        test::writeBytes(root / "base.smc", test::demoImage().bytes);
        EditorState base = test::demoState(exporter, root / "base.smc");
        ASSERT_TRUE(exportProjectTo(base, exporter, root / "proj").done());
    }
    Outcome openWithBase(const fs::path& rom) {
        platform.answer(rom);
        return projects.open(root / "proj");
    }
    std::string text0() const { return entryForm(state, EntryKind::Text, 0); }

    fs::path root = test::scratchFolder();
    ScriptedPlatform exporter, platform;
    EditorState state;
    EditorSession session{state, platform, platform};
    ProjectSession& projects = projectSessionOf(session);
};

TEST_F(ProjectWindow, SavedFilesAreWhatExportProjectWritesPlusTheStatusLine) {
    ASSERT_TRUE(openWithBase(root / "base.smc").done());
    ASSERT_NE(session.project(), nullptr);
    EXPECT_FALSE(session.isModified());
    EXPECT_EQ(projects.progressText(), QString::fromUtf8("名前 0 / 2,510 (0%)  テキスト 0 / 5,607 (0%)"));
    session.run(QStringLiteral("edit"), [](EditorState& s, Platform&) { return applyEntry(s, EntryKind::Text, 0, sjis("ソマ")); });
    session.desk().setStatus(EntryKind::Text, {0}, DeskStatus::Review);
    session.desk().addTerm(GlossaryTerm{"ソマ", "Soma", {}, 0});
    // A ROM written from a project is an output: the edits stay unsaved.
    session.run(QStringLiteral("rom"), [&](EditorState& s, Platform& p) { return saveRom(s, p, root / "test.smc"); });
    EXPECT_TRUE(session.isModified());
    ASSERT_TRUE(projects.save().done());
    EXPECT_FALSE(session.isModified());
    EXPECT_EQ(projects.progressText(), QString::fromUtf8("名前 0 / 2,510 (0%)  テキスト 1 / 5,607 (0%)"));

    EditorState copy = state;
    ASSERT_TRUE(exportProjectTo(copy, exporter, root / "fresh").done());
    for (const std::string name : {"names.txt", "texts.txt", "units.png", "faces/face-000.png", "faces/face-156.png"})
        EXPECT_EQ(test::readBytes(root / "proj" / name), test::readBytes(root / "fresh" / name)) << name;
    EXPECT_EQ(test::readBytes(root / "proj/status.tsv"), bytesOf("text\t0000\treview\t\n"));
    EXPECT_EQ(test::readBytes(root / "proj/glossary.tsv"), bytesOf("ソマ\tSoma\n"));

    // The base is remembered: opening again asks nothing.
    const size_t dialogs = platform.dialogs.size();
    ASSERT_TRUE(projects.open(root / "proj").done());
    EXPECT_EQ(platform.dialogs.size(), dialogs);
    EXPECT_EQ(text0(), sjis("ソマ"));
    EXPECT_EQ(session.fileTitle(), QStringLiteral("proj (base.smc)"));
    // A project that no longer builds on its remembered base is reported, no ROM asked for.
    test::writeBytes(root / "proj/texts.txt", bytesOf("##No.00 00\n☃//\n"));
    EXPECT_TRUE(projects.open(root / "proj").failed());
    EXPECT_EQ(platform.dialogs.size(), dialogs);
    EXPECT_NE(platform.details.back().find("texts.txt:2:1"), std::string::npos) << platform.details.back();
    session.run(QStringLiteral("load"), [&](EditorState& s, Platform& p) { return reloadRom(s, p, root / "base.smc"); });
    EXPECT_EQ(session.project(), nullptr);
}

// Another program's PNG of the same picture is left as it is; a text file in other bytes is not.
TEST_F(ProjectWindow, SavingLeavesASamePictureInOtherBytesAlone) {
    ASSERT_TRUE(openWithBase(root / "base.smc").done());
    const fs::path face = root / "proj/faces/face-000.png", names = root / "proj/names.txt";
    Bytes png = test::readBytes(face);
    const Bytes chunk = {0, 0, 0, 1, 't', 'E', 'X', 't', 'x'};
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());
    const uint32_t crc = crc32Of(std::span(chunk).subspan(4));
    png.insert(png.begin() + 33 + 9, {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
    test::writeBytes(face, png);
    const Bytes exported = test::readBytes(names);
    Bytes crlf = exported;
    crlf.insert(crlf.begin() + static_cast<long>(std::find(crlf.begin(), crlf.end(), '\n') - crlf.begin()), '\r');
    test::writeBytes(names, crlf);
    ASSERT_TRUE(saveProjectFiles(state, platform, *session.project()).done());
    EXPECT_EQ(test::readBytes(face), png);
    EXPECT_EQ(test::readBytes(names), exported);
}

TEST_F(ProjectWindow, APoProjectSavesItsEditsIntoItsPoFiles) {
    EditorState base = test::demoState(exporter, root / "base.smc");
    ASSERT_TRUE(exportProjectTo(base, exporter, root / "po-proj", {.po = true}).done());
    platform.answer(root / "base.smc");
    ASSERT_TRUE(projects.open(root / "po-proj").done());
    session.run(QStringLiteral("edit"), [](EditorState& s, Platform&) { return applyEntry(s, EntryKind::Text, 0, sjis("ソマ")); });
    ASSERT_TRUE(projects.save().done());
    EXPECT_FALSE(fs::exists(root / "po-proj/texts.txt"));
    ASSERT_TRUE(projects.open(root / "po-proj").done());
    EXPECT_EQ(text0(), sjis("ソマ"));
}

TEST_F(ProjectWindow, AnotherRomIsRefusedWithTheBuildsMessage) {
    Bytes other = test::demoImage().bytes;
    other[0x100] ^= 1;
    test::writeBytes(root / "other.smc", other);
    EXPECT_TRUE(openWithBase(root / "other.smc").failed());
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(platform.messages.back(), "the loaded ROM is not this project's base");
    EXPECT_EQ(session.project(), nullptr);
}

TEST_F(ProjectWindow, AnOutsideChangeToTextsTxtBuildsAgainAskingFirstWhenEdited) {
    ASSERT_TRUE(openWithBase(root / "base.smc").done());
    const std::string before = text0();
    std::string texts = [&] { Bytes b = test::readBytes(root / "proj/texts.txt"); return std::string(b.begin(), b.end()); }();
    texts.replace(texts.find('\n') + 1, 0, "ソマ");
    session.run(QStringLiteral("edit"), [](EditorState& s, Platform&) { return applyEntry(s, EntryKind::Name, 0, sjis("ソ")); });
    platform.saveChoices = {Dialogs::SaveChoice::Cancel, Dialogs::SaveChoice::Discard};
    test::writeBytes(root / "proj/texts.txt", bytesOf(texts));
    ASSERT_TRUE(QTest::qWaitFor([&] { return platform.questions.size() == 1; }, 5000));
    EXPECT_EQ(text0(), before);
    EXPECT_TRUE(session.isModified());

    texts.replace(texts.find('\n') + 1, 0, "ソ");
    test::writeBytes(root / "proj/texts.txt", bytesOf(texts));
    ASSERT_TRUE(QTest::qWaitFor([&] { return text0() != before; }, 5000));
    EXPECT_EQ(text0(), sjis("ソソマ") + before);
    EXPECT_FALSE(session.isModified());
}

}  // namespace
}  // namespace velk
