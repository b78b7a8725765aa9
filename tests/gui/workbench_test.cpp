#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTranslator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include "app/desktop.h"
#include "app/editor_session.h"
#include "app/file_commands.h"
#include "app/entry_page.h"
#include "app/face_page.h"
#include "app/unit_page.h"
#include "app/graphics_views.h"
#include "app/workbench.h"
#include "ops/run_operation.h"
#include "platform/disk_platform.h"
#include "demo_script.h"
#include "gfx/face_picture.h"
#include "gfx/png_codec.h"
#include "rom/face_rules.h"
#include "app/qt_text.h"
#include "scripted_platform.h"
#include "demo_window.h"
#include "test_support.h"
#include "text/name_list.h"
#include "text/text_collection.h"

namespace velk {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

bool sameEdits(const EditorState& a, const EditorState& b) {
    return a.image.bytes == b.image.bytes && a.catalogues.resources == b.catalogues.resources &&
           a.catalogues.names == b.catalogues.names && a.catalogues.colourSets == b.catalogues.colourSets &&
           a.tables == b.tables && a.glyphSheet == b.glyphSheet && a.glyphSheetLoaded == b.glyphSheetLoaded;
}

class WorkbenchWindow : public ::testing::Test, protected test::DemoWindow {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(openDemo());
        window->show();
        QApplication::processEvents();
    }
    void edit(EntryPage* page, int index, const char* utf8, bool apply = true) {
        page->select(index);
        page->editor()->setPlainText(u(utf8));
        if (apply) page->applyButton()->click();
    }
    std::filesystem::path file(const std::string& name, const Bytes& bytes) { return platform.files[name] = bytes, name; }
    // Runs a button's operation through the session on the file its dialog gave.
    void runButton(const char* step, Operation op, const std::filesystem::path& path) {
        session->run(u(step), [&](EditorState& s, Platform& p) { return op(s, p, path); });
    }
};

TEST_F(WorkbenchWindow, FilterFoldsWidthAndCaseAndFindsCodeBytes) {
    EntryPage* texts = window->textsPage();
    edit(texts, 0, "ＶＥＬＫ９ソマ[F9 CD:()]");
    ASSERT_TRUE(texts->problemLabel()->text().isEmpty()) << texts->problemLabel()->text().toStdString();
    const std::array<uint8_t, 2> f9cd = {0xF9, 0xCD};
    const auto holdingF9CD = static_cast<int>(std::ranges::count_if(std::as_const(state.catalogues).texts(), [&](const ResourceEntry& t) {
        return std::search(t.unpacked.begin(), t.unpacked.end(), f9cd.begin(), f9cd.end()) != t.unpacked.end();
    }));
    ASSERT_GE(holdingF9CD, 1);
    const struct { const char* query; int matches; } cases[] = {
        {"velk9", 1}, {"ｖｅｌｋ", 1}, {"VeLk９ｿﾏ", 1}, {"ＶＥＬＫ9 ", 0}, {"<F9 CD>", holdingF9CD},
        {"＜f9cd＞", holdingF9CD}, {"<F9 C>", 0}, {"", kTextCount},
    };
    for (const auto& c : cases) {
        texts->filterField()->setText(u(c.query));
        EXPECT_EQ(texts->filterModel()->rowCount(), c.matches) << c.query;
        EXPECT_EQ(texts->countLabel()->text(), u("5607 件中 %1 件").arg(c.matches)) << c.query;
    }
    // A jump to an entry the filter shows keeps the filter; to one it hides, clears it.
    texts->select(9);
    const QString nine = texts->editor()->toPlainText();
    texts->filterField()->setText(u("velk9"));
    texts->select(0);
    EXPECT_EQ(texts->filterField()->text(), u("velk9"));
    texts->select(9);
    EXPECT_TRUE(texts->filterField()->text().isEmpty() && texts->current() == 9 && texts->editor()->toPlainText() == nine);
    // Ctrl+F: one query over names and texts.
    window->searchAll();
    window->searchField()->setText(u("ｖｅｌｋ９"));
    EXPECT_EQ(std::pair(window->searchTexts()->model()->rowCount(), window->searchNames()->model()->rowCount()), std::pair(1, 0));
}

TEST_F(WorkbenchWindow, AnAppliedEditEqualsTheImportOfTheSameFile) {
    // importedLine: the entry as the edited file holds it
    const struct { EntryKind kind; int index; const char* form; const char* importedLine; } cases[] = {
        {EntryKind::Name, 7, "北ソマ", "[F0 07] 北ソマ\r\n"},
        {EntryKind::Text, 300, "北\nソマキノコ", "##No.01 2C\n北\r\nソマキノコ//\r\n\r\n\r\n"},
    };
    for (const auto& c : cases) {
        const bool name = c.kind == EntryKind::Name;
        std::vector<uint8_t> exported = name ? nameListBytes(state.catalogues.names)
                                             : textCollectionBytes(std::as_const(state.catalogues).texts(),
                                                                   state.catalogues.names, state.tables);
        // An import packs every entry anew: start from the import of the file as exported.
        runButton("import", name ? importNameList : importTextCollection, file("same.txt", exported));
        // The file with only that entry changed.
        std::string text(exported.begin(), exported.end());
        const std::string label = entryLabel(c.kind, c.index);
        const size_t at = text.find(label);
        const size_t end = name ? text.find("\r\n", at) + 2 : text.find("//\r\n\r\n\r\n", at) + 8;
        text.replace(at, end - at, test::sjis(c.importedLine));
        EditorState imported = state;
        ASSERT_TRUE((name ? importNameList : importTextCollection)(imported, platform, file("edited.txt", test::bytesOf(text))).done());
        EntryPage* page = name ? window->namesPage() : window->textsPage();
        edit(page, c.index, c.form);
        EXPECT_TRUE(page->problemLabel()->text().isEmpty()) << page->problemLabel()->text().toStdString();
        EXPECT_TRUE(sameEdits(state, imported)) << label;
    }
}

TEST_F(WorkbenchWindow, AnInvalidEditShowsItsColumnAndChangesNothing) {
    EntryPage* texts = window->textsPage();
    const EditorState before = state;
    const struct { const char* form; const char* where; } cases[] = {{"北<ZZ>", "1 行 2 桁"}, {"北\nソマ<ZZ>", "2 行 3 桁"}, {"北ソ/マ", "1 行 3 桁"}, {"☃", "1 行 1 桁"}};
    for (const auto& c : cases) {
        edit(texts, 5, c.form, false);
        EXPECT_TRUE(texts->problemLabel()->text().contains(u(c.where))) << texts->problemLabel()->text().toStdString();
        EXPECT_FALSE(texts->applyButton()->isEnabled()) << c.form;
        texts->applyButton()->click();
    }
    EXPECT_TRUE(sameEdits(state, before));
}

TEST_F(WorkbenchWindow, UndoAndRedoGiveBackExactBytes) {
    std::vector<uint8_t> texts = textCollectionBytes(std::as_const(state.catalogues).texts(), state.catalogues.names, state.tables);
    std::string changed(texts.begin(), texts.end());
    changed.replace(changed.find("##No.00 01\n") + 11, 0, test::sjis("北北"));
    for (const DemoScriptFile& f : makeDemoScript()) file(f.name, f.bytes);
    const struct { const char* step; std::function<void()> run; } cases[] = {
        {"apply", [&] { edit(window->textsPage(), 9, "北ソマ"); }},
        {"import", [&] { runButton("テキストの読み込み", importTextCollection, file("t.txt", test::bytesOf(changed))); }},
        {"script", [&] { runButton("変更スクリプトの適用", applyChangeScript, kDemoScriptName); }},
    };
    std::vector<EditorState> states{state};
    for (const auto& c : cases) {
        c.run();
        EXPECT_FALSE(sameEdits(state, states.back())) << c.step;
        states.push_back(state);
    }
    ASSERT_EQ(session->undoStack().count(), 3);
    for (int i = 2; i >= 0; --i) {
        session->undoStack().undo();
        EXPECT_TRUE(sameEdits(state, states[static_cast<size_t>(i)])) << cases[i].step;
    }
    EXPECT_FALSE(session->isModified());
    for (size_t i = 1; i <= 3; ++i) {
        session->undoStack().redo();
        EXPECT_TRUE(sameEdits(state, states[i])) << cases[i - 1].step;
    }
}

// A change to another entry keeps typed text; one to its own shows its new form. One notify a step.
TEST_F(WorkbenchWindow, UnappliedTextStaysUntilItsOwnEntryChanges) {
    int notifies = 0;
    QObject::connect(session.get(), &EditorSession::changed, [&] { ++notifies; });
    edit(window->namesPage(), 7, "北ソマ", false);
    edit(window->textsPage(), 9, "北ソマ");
    session->undoStack().undo();
    EXPECT_TRUE(window->namesPage()->editor()->toPlainText() == u("北ソマ") && window->namesPage()->applyButton()->isEnabled());
    edit(window->textsPage(), 9, "北", false);
    session->undoStack().redo();
    EXPECT_EQ(window->textsPage()->editor()->toPlainText(), u("北ソマ"));
    EXPECT_EQ(window->textsPage()->model()->index(9, EntryTableModel::TextColumn).data().toString(), u("北ソマ"));
    EXPECT_EQ(notifies, 3);
}

TEST_F(WorkbenchWindow, TheFaceGridShowsTheFacePicturesPixels) {
    const std::vector<uint8_t> bmp = facePictureBytes(std::as_const(state.catalogues).faces(), state.catalogues.colourSets);
    const QImage& grid = window->faceGrid()->picture();
    for (const int f : {0, 37, kFaceCount - 1})
        for (int y = 0; y < kFaceHeight; ++y)
            for (int x = 0; x < kFaceWidth; ++x) {
                const size_t at = 54 + (static_cast<size_t>(kFacePictureWidth) * (kFacePictureHeight - 1 - (48 * (f / 16) + y)) +
                                        static_cast<size_t>(32 * (f % 16) + x)) * 3;
                const QRgb want = qRgb(bmp[at + 2], bmp[at + 1], bmp[at]);
                const int gx = window->faceGrid()->faceRect(f).x() + 2 * x, gy = window->faceGrid()->faceRect(f).y() + 2 * y;
                for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
                    ASSERT_EQ(grid.pixel(gx + dx, gy + dy), want) << "face " << f << " at " << x << "," << y;
            }
    window->colourSetBox()->setValue(3);  // another colour set draws another picture
    EXPECT_EQ(faceImage(state, 5, 3).pixel(0, 0), window->faceGrid()->picture().pixel(window->faceGrid()->faceRect(5).topLeft()));
    // Each number stands below its face, inside its own cell, and is drawn.
    FaceGrid* faces = window->faceGrid();
    for (const int scale : {1, 4}) {
        window->facePage()->zoomBox()->setValue(scale);
        const int below = 156 - faces->columns();
        const QRect face = faces->faceRect(below), number = faces->numberRect(below);
        EXPECT_EQ(face.size(), QSize(32 * scale, 48 * scale));
        EXPECT_TRUE(number.top() > face.bottom() && number.bottom() < faces->faceRect(156).top()) << scale;
        const QImage drawn = faces->picture().copy(number);
        QImage blank(drawn.size(), drawn.format());
        blank.fill(faces->palette().color(QPalette::Base));
        EXPECT_NE(drawn, blank) << scale;
        EXPECT_EQ(FaceGrid::number(156), u("156"));
    }
}

// One face out and into another: one undo step, the same bytes; a bad file changes nothing.
TEST_F(WorkbenchWindow, OneFaceGoesOutAndComesBackAsOneStep) {
    ASSERT_EQ(facesSharingSlot(std::as_const(state.catalogues).faces(), 4).size(), 1u);
    FacePage* page = window->facePage();
    ASSERT_NE(state.catalogues.faces()[3].unpacked, state.catalogues.faces()[4].unpacked);
    ASSERT_TRUE(page->exportFace(3, "f3.png").done());
    ASSERT_TRUE(page->importFace(4, "f3.png").done());
    EXPECT_EQ(session->undoStack().count(), 1);
    ASSERT_TRUE(page->exportFace(4, "f4.png").done());
    EXPECT_EQ(platform.files["f4.png"], platform.files["f3.png"]);
    session->undoStack().undo();
    const EditorState before = state;
    std::vector<Rgb> palette(129);
    std::vector<uint8_t> pixels(32 * 48, 0);
    pixels.back() = 128;
    file("wide.png", encodeIndexedPng(33, 48, std::vector<uint8_t>(33 * 48, 1), std::vector<Rgb>(16)));
    file("index.png", encodeIndexedPng(32, 48, pixels, palette));
    for (const char* name : {"wide.png", "index.png"}) EXPECT_TRUE(page->importFace(4, name).failed()) << name;
    EXPECT_EQ(platform.details, (std::vector<std::string>{"wide.png: 32 x 48 pixels expected, found 33 x 48",
                                                          "index.png: pixel (31, 47) has palette index 128; indexes 0-127 are read"}));
    EXPECT_TRUE(sameEdits(state, before));
    EXPECT_EQ(session->undoStack().index(), 0);
}

// A face saved in the picture editor comes back as one step; a file that does not read changes nothing.
TEST_F(WorkbenchWindow, AFaceSavedInThePictureEditorComesBack) {
    DiskPlatform disk;
    EditorSession onDisk(state, disk, platform);
    FacePage page(onDisk);
    std::vector<QUrl> opened;
    page.openUrl = [&](const QUrl& url) { return opened.push_back(url), true; };
    page.openInEditor(5);
    page.openInEditor(4);
    const QString edited = page.editFolder() + u("/face-004.png");
    ASSERT_EQ(opened.back(), QUrl::fromLocalFile(edited));
    const std::vector<uint8_t> face4 = state.catalogues.faces()[4].unpacked;
    QFile::remove(edited);  // as an editor that saves by renaming does
    QFile::copy(page.editFolder() + u("/face-005.png"), edited);
    ASSERT_TRUE(QTest::qWaitFor([&] { return onDisk.undoStack().count() == 1; }, 5000));
    EXPECT_EQ(state.catalogues.faces()[4].unpacked, state.catalogues.faces()[5].unpacked);
    onDisk.undoStack().undo();
    QFile bad(edited);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate) && bad.write("GIF89a") == 6);
    bad.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !platform.messages.empty(); }, 5000));
    EXPECT_EQ(platform.details.back(), "face-004.png: not a PNG file");
    EXPECT_EQ(state.catalogues.faces()[4].unpacked, face4);
    EXPECT_EQ(onDisk.undoStack().count(), 1);
}

TEST_F(WorkbenchWindow, AUnitNumberSelectsThatUnitAndTheColourSetRedrawsIt) {
    UnitPage* units = window->unitPage();
    window->showKind(Workbench::UnitGraphics);
    units->numberBox()->setValue(5899);
    EXPECT_EQ(units->grid()->selected(), 5899);
    QTest::keyClick(units->grid(), Qt::Key_Up);
    EXPECT_EQ(units->numberBox()->value(), 5899 - UnitGrid::kColumns);
    units->colourSetBox()->setValue(15);
    EXPECT_EQ(units->grid()->colourSet(), 15);
    EXPECT_NE(unitImage(state, 7, 15), unitImage(state, 7, 0));
    ASSERT_NE(unitImage(state, 9, 0), unitImage(state, 7, 0));
    ASSERT_TRUE(units->exportUnit(7, "u7.png").done() && units->importUnit(9, "u7.png").done());
    EXPECT_EQ(session->undoStack().count(), 1);
    EXPECT_EQ(unitImage(state, 9, 0), unitImage(state, 7, 0));
    ASSERT_TRUE(units->exportUnit(9, "u9.png").done());
    EXPECT_EQ(platform.files["u9.png"], platform.files["u7.png"]);
}

// The window's sentence names the entry and place, offers 全角にする, which makes the apply go through.
TEST_F(WorkbenchWindow, AnUnencodableCharacterIsNamedWithItsEntryAndPlaceAndCanBeWidened) {
    EntryPage* texts = window->textsPage();
    edit(texts, 0x1598, "北\nソaマ", false);
    EXPECT_EQ(texts->problemLabel()->text(), u("##No.15 98（2 行 2 桁目）: 「a」は文字表になく、全角の「ａ」ならあります。"));
    ASSERT_TRUE(texts->fullWidthButton()->isVisibleTo(window.get()));
    texts->fullWidthButton()->click();
    EXPECT_EQ(texts->editor()->toPlainText(), u("北\nソａマ"));
    EXPECT_TRUE(texts->problemLabel()->text().isEmpty() && !texts->fullWidthButton()->isVisibleTo(window.get()));
    texts->applyButton()->click();
    EXPECT_EQ(qtText(entryForm(state, EntryKind::Text, 0x1598)), u("北\r\nソａマ"));
    edit(texts, 0x1598, "北熊", false);
    EXPECT_FALSE(texts->fullWidthButton()->isVisibleTo(window.get()));
    EXPECT_FALSE(texts->problemLabel()->text().contains(u("--")));
}

TEST_F(WorkbenchWindow, TitleStatusAndSavesFollowAnImportAndItsUndo) {
    EXPECT_EQ(window->windowTitle() + window->statusLabel()->text(), u("demo.smc — VELKdemo.smc を読み込みました"));
    runButton("保存", saveRom, "before.smc");
    EXPECT_EQ(session->undoStack().count(), 0);  // a save with nothing before it is no step: its layout stays
    std::vector<uint8_t> names = nameListBytes(state.catalogues.names);
    names.insert(names.begin() + kNameLabelLength, {0x96, 0x6B});  // 北
    runButton("名前リストの読み込み", importNameList, file("n.txt", names));
    EXPECT_EQ(window->windowTitle() + window->statusLabel()->text(), u("demo.smc * — VELK名前 2510 件を読み込みました"));
    EXPECT_TRUE(window->namesPage()->model()->edited(0));
    runButton("保存", saveRom, "edited.smc");
    EXPECT_EQ(window->windowTitle(), u("demo.smc — VELK"));
    session->undoStack().undo();  // the import, and the layout of the save after it
    EXPECT_EQ(window->windowTitle() + window->statusLabel()->text(), u("demo.smc * — VELK元に戻しました: 名前リストの読み込み"));
    EXPECT_FALSE(window->namesPage()->model()->edited(0) || session->undoStack().canUndo());
    runButton("保存", saveRom, "after.smc");
    EXPECT_TRUE(platform.files.at("after.smc") == platform.files.at("before.smc") && platform.files.at("edited.smc") != platform.files.at("before.smc"));
}

// Ctrl+O with edits asks about the loaded file once the other has loaded:
// Cancel keeps edits and undo steps; Save writes over the file (and its .bak).
TEST_F(WorkbenchWindow, OpeningAnotherRomWithUnsavedEditsAsksFirst) {
    const std::vector<uint8_t> loaded = platform.files["other.smc"] = platform.files.at("demo.smc");
    auto ctrlO = [this](Dialogs::SaveChoice choice) {
        platform.saveChoices = {choice};
        platform.answer("other.smc");
        QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    };
    edit(window->textsPage(), 300, "北");
    const EditorState edited = state;
    ctrlO(Dialogs::SaveChoice::Cancel);
    EXPECT_TRUE(sameEdits(state, edited) && session->isModified() && session->undoStack().count() == 1);
    ctrlO(Dialogs::SaveChoice::Save);
    EXPECT_EQ(platform.questions, std::vector<std::string>(2, test::sjis("demo.smc への変更を保存しますか？")));
    EXPECT_EQ(platform.files.at("demo.smc.bak"), loaded);
    EXPECT_TRUE(platform.files.at("demo.smc") != loaded && state.loaded.path == "other.smc" && !session->isModified());
    ctrlO(Dialogs::SaveChoice::Cancel);  // nothing unsaved: no question
    EXPECT_EQ(platform.questions.size(), 2u);
    // Ctrl+Q asks the same; Cancel keeps the window, its edits and their undo.
    edit(window->textsPage(), 301, "北");
    platform.saveChoices = {Dialogs::SaveChoice::Cancel};
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(window->isVisible() && session->isModified() && session->undoStack().count() == 1 && platform.questions.size() == 3);
}

TEST_F(WorkbenchWindow, UndoKeysInTheEditFieldUndoItsTypingFirstThenTheEditorsSteps) {
    EntryPage* texts = window->textsPage();
    texts->select(9);
    const QString before = texts->editor()->toPlainText();
    QApplication::setActiveWindow(window.get());
    texts->editor()->setFocus();
    QTest::sendKeyEvent(QTest::Click, texts->editor(), Qt::Key_unknown, u("北"), Qt::NoModifier);
    QTest::keyClick(texts->editor(), Qt::Key_Return, Qt::ControlModifier);  // Apply
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->undoStack().index() == 1; }));  // a button's key clicks it after a moment
    QTest::sendKeyEvent(QTest::Click, texts->editor(), Qt::Key_unknown, u("ソ"), Qt::NoModifier);
    QTest::keyClick(texts->editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(std::pair(texts->editor()->toPlainText(), session->undoStack().index()), std::pair(u("北") + before, 1));
    QTest::keyClick(texts->editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(std::pair(texts->editor()->toPlainText(), session->undoStack().index()), std::pair(before, 0));
    QTest::keyClick(texts->editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(std::pair(texts->editor()->toPlainText(), session->undoStack().index()), std::pair(u("北") + before, 1));
}

// Ctrl+S writes over the loaded file (keeping its .bak); Save As starts at
// the loaded file, and the title, the recent list and the next Ctrl+S follow
// the new file. A patch reports as the command line does.
TEST_F(WorkbenchWindow, SaveInPlaceSaveAsAndAPatch) {
    const std::vector<uint8_t> loaded = platform.files.at("demo.smc");
    edit(window->textsPage(), 300, "北");
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(platform.files.at("demo.smc.bak") == loaded && platform.files.at("demo.smc") != loaded && platform.dialogs.empty());
    EXPECT_EQ(window->windowTitle(), u("demo.smc — VELK"));
    edit(window->textsPage(), 301, "北");
    platform.answer("copy.smc");
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    const std::filesystem::path started = platform.dialogs.at(0).options.initialFileName;
    EXPECT_TRUE(started.is_absolute() && started.filename() == "demo.smc") << started;
    EXPECT_EQ(window->windowTitle(), u("copy.smc — VELK"));
    EXPECT_TRUE(window->files()->recentFiles().value(0).endsWith(u("/copy.smc")));
    const std::vector<uint8_t> saved = platform.files.at("demo.smc");
    edit(window->textsPage(), 302, "北");
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(platform.files.at("demo.smc") == saved && platform.files.at("copy.smc.bak") != platform.files.at("copy.smc"));
    QString report;
    window->files()->inform = [&](const QString& r) { report = r; };
    edit(window->textsPage(), 303, "北");
    platform.answer("p.bps");
    window->files()->exportPatch();
    EXPECT_TRUE(report.startsWith(u("p.bps: ")) && report.contains(u(", verified\n"))) << report.toStdString();
    EXPECT_EQ(window->statusLabel()->text(), report.section(u'\n', 0, 0));
}

// Ctrl+F: the filter; Down: its first match; Enter or F2: the edit field, with
// the matches marked; Escape: back to the list; Tab: out of it.
TEST_F(WorkbenchWindow, KeysWalkFromTheFilterToTheListToTheEditFieldAndBack) {
    EntryPage* texts = window->textsPage();
    edit(texts, 40, "ＶＥＬＫ北ＶＥＬＫ");
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), texts->filterField());
    QTest::keyClicks(texts->filterField(), "Velk");
    QTest::keyClick(texts->filterField(), Qt::Key_Down);
    EXPECT_TRUE(QApplication::focusWidget() == texts->table() && texts->current() == 40);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F2}) {
        QTest::keyClick(texts->table(), key);
        EXPECT_EQ(QApplication::focusWidget(), texts->editor()) << key;
        QTest::keyClick(texts->editor(), Qt::Key_Escape);
        EXPECT_EQ(QApplication::focusWidget(), texts->table()) << key;
    }
    const QList<QTextEdit::ExtraSelection> marks = texts->editor()->extraSelections();
    EXPECT_EQ(std::ranges::count_if(marks, [](const auto& m) { return m.cursor.selectedText() == u("ＶＥＬＫ"); }), 2);
    QTest::keyClick(texts->table(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), texts->table());
}

// 表示 > 言語 > English is remembered, and the next window reads in English.
TEST_F(WorkbenchWindow, EnglishChosenIsTheNextWindowsLanguage) {
    window->findChild<QAction*>(u("Language-en"))->trigger();
    QTranslator english;
    ASSERT_TRUE(installLanguage(english, chosenLanguage()));
    Workbench next(*session);
    QCoreApplication::removeTranslator(&english);
    chooseLanguage(kJapanese);
    QStringList menus;
    for (QAction* menu : next.menuBar()->actions()) menus << menu->text();
    EXPECT_EQ(menus.join(u' '), u("&File &Edit &View &Tools &Help"));
    EXPECT_EQ(static_cast<QPushButton*>(next.openHint())->text(), u("Open a ROM (Ctrl+O)"));
}

}  // namespace
}  // namespace velk
