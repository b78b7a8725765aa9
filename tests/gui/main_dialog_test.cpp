#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/about_dialog.h"
#include "app/editor_app.h"
#include "app/editor_session.h"
#include "app/main_dialog.h"
#include "app/mode_table.h"
#include "app/workbench.h"
#include "scripted_platform.h"
#include "test_support.h"
#include "text/sjis.h"

namespace velk {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Runs `then` on the window `find` gives as soon as it gives one (the main window is not modal).
void whenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> then) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, find, then] {
        if (QWidget* w = find()) timer->stop(), timer->deleteLater(), then(w);
    });
    timer->start();
}

QWidget* mainWindowShown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<Workbench*>(w) && w->isVisible()) return w;
    return nullptr;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        platform.files[rom] = test::demoImage().bytes;
        platform.answer(rom);
        session = std::make_unique<EditorSession>(state, platform, platform);
        dialog = std::make_unique<MainDialog>(*session);
        ASSERT_TRUE(dialog->initialise());
        dialog->show();
        QApplication::processEvents();
    }
    void select(int mode) { dialog->modeCombo()->setCurrentIndex(mode); }
    void press(QWidget* target, int key) { QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier); QApplication::sendEvent(target, &down); }
    struct Buttons { bool extractShown; QString extract; bool writeShown; QString write; };
    Buttons buttons() const {
        return {dialog->extractButton()->isVisibleTo(dialog.get()), dialog->extractButton()->text(),
                dialog->writeButton()->isVisibleTo(dialog.get()), dialog->writeButton()->text()};
    }

    std::filesystem::path rom = "demo.smc";
    ScriptedPlatform platform;
    EditorState state;
    std::unique_ptr<EditorSession> session;
    std::unique_ptr<MainDialog> dialog;
};

TEST_F(MainWindow, StartsInModeZeroAndEveryModeRelabelsAndShowsItsButtons) {
    EXPECT_EQ(dialog->windowTitle(), u("VELK"));
    EXPECT_EQ(dialog->windowIcon().availableSizes().size(), 2);
    QComboBox* combo = dialog->modeCombo();
    ASSERT_EQ(combo->count(), 7);
    for (int i = 0; const char* item : {"ROM", "顔グラフィック", "顔グラBMP", "ユニットグラフィック等", "名前リスト", "テキスト", "変更点書き込み"})
        EXPECT_EQ(combo->itemText(i++), u(item));
    EXPECT_EQ(combo->currentIndex(), 0);
    struct Expected { int mode; bool extractShown; const char* extract; bool writeShown; const char* write; };
    // Walked in this order, a hidden button keeps the label it last had.
    const Expected walk[] = {
        {0, true, "保存", true, "再読込"},       {1, true, "抜き出し", true, "書き込み"}, {2, true, "抜き出し", false, "書き込み"},
        {1, true, "抜き出し", true, "書き込み"}, {6, false, "抜き出し", true, "書き込み"}, {0, true, "保存", true, "再読込"},
        {2, true, "抜き出し", false, "再読込"},  {3, true, "抜き出し", true, "書き込み"}, {4, true, "抜き出し", true, "書き込み"},
        {5, true, "抜き出し", true, "書き込み"}, {0, true, "保存", true, "再読込"},       {6, false, "保存", true, "書き込み"},
        {0, true, "保存", true, "再読込"},
    };
    for (const Expected& e : walk) {
        select(e.mode);
        const Buttons b = buttons();
        EXPECT_TRUE(b.extractShown == e.extractShown && b.extract == u(e.extract) && b.writeShown == e.writeShown &&
                    b.write == u(e.write))
            << "mode " << e.mode;
    }
}

TEST_F(MainWindow, NoSelectionChangesAndHiddenButtonsRunNothing) {
    select(6);
    dialog->extractButton()->click();  // hidden in mode 6
    select(2);
    select(-1);
    EXPECT_TRUE(buttons().extractShown && !buttons().writeShown);
    dialog->extractButton()->click();
    dialog->writeButton()->click();
    EXPECT_EQ(platform.dialogs.size(), 1u);  // only the start's
    EXPECT_TRUE(modeAt(-1) == nullptr && modeAt(7) == nullptr);
}

// Every file dialog the window opens, as tests/golden/dialogs.txt keeps it.
TEST(Golden, DialogsAreAsReviewed) {
    std::string now = "# Every file dialog: extension, initial name, filter.\n"
                      "# Written by: VELK_WRITE_GOLDEN=1 build/tests/velk_gui_tests --gtest_filter=Golden.*\n";
    const char* const names[] = {"rom-open",  "rom-save",     "face-graphics", "face-picture", "unit-graphics",
                                 "name-list", "texts-export", "texts-import",  "change-script"};
    for (int a = 0; a <= static_cast<int>(Ask::ChangeScript); ++a) {
        const FileDialogOptions d = fileQuestion(static_cast<Ask>(a), false).options;
        now += "dialog " + std::string(names[a]) + " ." + d.defaultExtension + " " + d.initialFileName + " " + fromCp932(d.filter) + "\n";
    }
    const std::filesystem::path golden = std::filesystem::path(VELK_TEST_SOURCE_DIR) / "golden" / "dialogs.txt";
    if (std::getenv("VELK_WRITE_GOLDEN")) test::writeBytes(golden, test::bytesOf(now));
    const std::vector<uint8_t> kept = test::readBytes(golden);
    EXPECT_EQ(now, std::string(kept.begin(), kept.end()));
}

TEST_F(MainWindow, EveryShownButtonAsksForItsOwnFile) {
    // save: which dialog the operation shows; options: the table's entry it opens with
    const struct Wiring { int mode; bool extract; bool save; Ask ask; } table[] = {
        {0, true, true, Ask::SaveRom},       {0, false, false, Ask::OpenRom},     {1, true, true, Ask::FaceGraphics},
        {1, false, false, Ask::FaceGraphics}, {2, true, true, Ask::FacePicture},   {3, true, true, Ask::UnitGraphics},
        {3, false, false, Ask::UnitGraphics}, {4, true, true, Ask::NameList},      {4, false, false, Ask::NameList},
        {5, true, true, Ask::ExportTexts},   {5, false, false, Ask::ImportTexts}, {6, false, false, Ask::ChangeScript},
    };
    for (const Wiring& w : table) {
        select(w.mode);
        const size_t before = platform.dialogs.size();
        platform.answer(std::nullopt);  // cancel: nothing else happens
        (w.extract ? dialog->extractButton() : dialog->writeButton())->click();
        ASSERT_EQ(platform.dialogs.size(), before + 1) << w.mode << " " << w.extract;
        const ScriptedPlatform::Dialog& d = platform.dialogs.back();
        const FileDialogOptions o = fileQuestion(w.ask, w.save).options;
        EXPECT_EQ(std::to_string(d.save) + d.options.filter + d.options.defaultExtension + d.options.initialFileName,
                  std::to_string(w.save) + o.filter + o.defaultExtension + o.initialFileName) << w.mode << " " << w.extract;
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainWindow, ClosingWithUnsavedEditsAsksFirst) {
    platform.files["in.txt"] = test::bytesOf("##No.00 00\n" + test::sjis("ウ") + "//");
    select(5);
    platform.answer("in.txt");
    dialog->writeButton()->click();
    ASSERT_TRUE(session->isModified());
    platform.saveChoices = {Dialogs::SaveChoice::Cancel};
    press(dialog->modeCombo(), Qt::Key_Escape);
    EXPECT_EQ(platform.questions, std::vector<std::string>{test::sjis("変更を保存しますか？")});
    EXPECT_TRUE(dialog->isVisible());
    platform.saveChoices = {Dialogs::SaveChoice::Save};  // and then cancel the save dialog
    platform.answer(std::nullopt);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible() && platform.dialogs.back().save);
    platform.saveChoices = {Dialogs::SaveChoice::Save};  // save for real: the window closes
    platform.answer("out.smc");
    press(dialog->modeCombo(), Qt::Key_Escape);
    EXPECT_TRUE(!dialog->isVisible() && platform.files.count("out.smc") && !session->isModified());
    EXPECT_EQ(session->statusText(), u("out.smc に保存しました"));
    EXPECT_EQ(platform.questions.size(), 3u);
}

// A stray Enter keeps the window open, Enter on a button presses it; with
// edits, Discard closes it; with none, Escape closes it at once.
TEST_F(MainWindow, DiscardingClosesAndNothingUnsavedClosesAtOnce) {
    dialog->modeCombo()->setFocus();
    press(dialog->modeCombo(), Qt::Key_Return);
    press(dialog.get(), Qt::Key_Enter);
    EXPECT_TRUE(dialog->isVisible());
    platform.answer(std::nullopt);
    press(dialog->writeButton(), Qt::Key_Return);
    EXPECT_EQ(platform.dialogs.size(), 2u);  // the reload asked for a file
    session->run(u("編集"), [](EditorState& s, Platform&) { return s.image[0x3FFFF0] ^= 1, doneOutcome({}); });
    platform.saveChoices = {Dialogs::SaveChoice::Discard};
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    dialog->show();
    session->undoStack().undo();
    press(dialog->modeCombo(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(platform.questions.size(), 1u);
}

// The window menu's one command opens the version box; another window command does not.
TEST_F(MainWindow, ContextMenuOffersTheVersionBox) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dialog->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(dialog.get(), &event);
    QMenu* menu = dialog->windowMenu();
    ASSERT_TRUE(menu->isVisible() && menu->actions().size() == 1);
    QAction* about = menu->actions().front();
    EXPECT_EQ(about->text(), u("VELK のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    EXPECT_EQ(about->data().toInt(), MainDialog::kAboutCommand);
    menu->hide();
    QString title, version;
    whenShown(&QApplication::activeModalWidget, [&](QWidget* w) {
        title = w->windowTitle();
        if (auto* box = dynamic_cast<AboutDialog*>(w)) {
            version = box->versionLabel()->text();
            box->okButton()->click();
        }
    });
    about->trigger();
    EXPECT_EQ(title + version, u("VELKのﾊﾞｰｼﾞｮﾝ情報VELK Version 1.14"));
    bool opened = false;
    QTimer::singleShot(0, [&] { opened = QApplication::activeModalWidget() != nullptr; });
    dialog->systemCommand(0xF020);  // minimise
    QApplication::processEvents();
    EXPECT_FALSE(opened);
}

// The main window shows the ROM given, or asks until one loads; a cancel
// leaves it empty with its "ROM を開く". It runs until it closes.
TEST(EditorAppStart, OpensTheMainWindowOnTheRomGivenOrChosenOrEmpty) {
    const struct { bool given; std::vector<const char*> answers; size_t messages; const char* title; } cases[] = {
        {true, {}, 0, "demo.smc — VELK"},
        {false, {"zeros.smc", "missing.smc", "demo.smc"}, 2, "demo.smc — VELK"},
        {false, {nullptr}, 0, "VELK"},
    };
    for (const auto& c : cases) {
        ScriptedPlatform platform;
        platform.files["demo.smc"] = test::demoImage().bytes;
        platform.files["zeros.smc"] = std::vector<uint8_t>(1024, 0);
        for (const char* a : c.answers) platform.answer(a ? std::optional<std::filesystem::path>(a) : std::nullopt);
        EditorState state;
        QString title;
        bool hint = false;
        whenShown(mainWindowShown, [&](QWidget* w) {
            title = w->windowTitle();
            hint = static_cast<Workbench*>(w)->openHint()->isVisible();
            w->close();
        });
        EXPECT_EQ(EditorApp(state, platform, platform).run(c.given ? std::optional<std::filesystem::path>("demo.smc") : std::nullopt), 0);
        EXPECT_EQ(title, u(c.title));
        EXPECT_EQ(hint, c.answers.size() == 1);
        EXPECT_EQ(platform.dialogs.size(), c.answers.size());
        EXPECT_EQ(platform.messages.size(), c.messages);
    }
}

}  // namespace
}  // namespace velk
