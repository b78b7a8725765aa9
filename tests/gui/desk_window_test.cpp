#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTest>

#include "app/desk_panel.h"
#include "app/editor_session.h"
#include "app/entry_page.h"
#include "app/qt_text.h"
#include "app/replace_dialog.h"
#include "app/translation_desk.h"
#include "app/workbench.h"
#include "scripted_platform.h"
#include "demo_window.h"
#include "test_support.h"

namespace velk {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class Desk : public ::testing::Test, protected test::DemoWindow {
protected:
    void SetUp() override {
        platform.answer("demo.smc");
        ASSERT_NO_FATAL_FAILURE(openDemo());
        window->show();
        texts = window->textsPage();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void edit(int index, const QString& text) {
        texts->select(index);
        texts->editor()->setPlainText(text);
        texts->applyButton()->click();
    }
    void key(int keyCode) {
        texts->table()->setFocus();
        QTest::keyClick(texts->table(), static_cast<Qt::Key>(keyCode), Qt::ControlModifier);
    }
    QString form(int index) const { return qtText(entryForm(state, EntryKind::Text, index)); }
    QString fieldForm(int index) const { return form(index).replace(u("\r\n"), u("\n")); }
    QString statusCell(int index) const {
        return texts->model()->index(index, EntryTableModel::StatusColumn).data().toString();
    }
    TranslationDesk& desk() { return session->desk(); }

    EntryPage* texts = nullptr;
};

TEST_F(Desk, StatusKeysAreUndoStepsAndCtrlJFindsTheNextUntranslatedWrapping) {
    texts->select(5);
    EXPECT_EQ(statusCell(5), u("未翻訳"));
    key(Qt::Key_3);
    EXPECT_EQ(statusCell(5), u("要確認"));
    ASSERT_NE(desk().book().find(CodeKind::Text, 5), nullptr);
    EXPECT_EQ(desk().book().find(CodeKind::Text, 5)->status, DeskStatus::Review);
    EXPECT_TRUE(session->isModified());
    session->undoStack().undo();
    EXPECT_EQ(statusCell(5), u("未翻訳"));
    EXPECT_TRUE(desk().book().lines().empty());
    EXPECT_FALSE(session->isModified());
    session->undoStack().redo();
    EXPECT_EQ(statusCell(5), u("要確認"));

    // 6 is reviewed without a change, 7 is a draft by its edit: the next untranslated after 5 is 8.
    texts->select(6);
    key(Qt::Key_4);
    edit(7, form(7) + u("ア"));
    EXPECT_EQ(statusCell(7), u("下訳"));
    texts->select(5);
    key(Qt::Key_J);
    EXPECT_EQ(texts->current(), 8);
    texts->select(kTextCount - 1);
    key(Qt::Key_J);
    EXPECT_EQ(texts->current(), 0);
    // Ctrl+1 takes the status away: 6 is untranslated again, the edited 7 a draft.
    for (const int i : {6, 7}) {
        texts->select(i);
        key(Qt::Key_1);
    }
    EXPECT_EQ(statusCell(6), u("未翻訳"));
    EXPECT_EQ(statusCell(7), u("下訳"));
    // The filter shows one status.
    texts->desk()->statusFilter()->setCurrentIndex(1 + static_cast<int>(DeskStatus::Review));
    EXPECT_EQ(texts->filterModel()->rowCount(), 1);
    EXPECT_EQ(texts->filterModel()->mapToSource(texts->filterModel()->index(0, 0)).row(), 5);
}

// At 1280 x 720 on a 125 % screen the kinds list meets the page at the
// splitter's handle and the side pane's check box is not cut.
TEST_F(Desk, TheTextsPageFitsAtTheSmallestCommonScreen) {
    EXPECT_TRUE(QRect(QPoint(), window->screen()->availableSize()).contains(QRect(QPoint(), window->size())));
    texts->select(5);
    window->resize(1024, 576);
    QApplication::processEvents();
    auto* split = window->findChild<QSplitter*>(QStringLiteral("KindSplit"));
    EXPECT_LE(split->widget(1)->x() - split->widget(0)->geometry().right(), split->handleWidth() + 1);
    auto* repeats = texts->findChild<QCheckBox*>(QStringLiteral("RepeatsBox"));
    EXPECT_GE(repeats->width(), repeats->sizeHint().width());
}

TEST_F(Desk, ALockedTextRefusesApplyReplaceAndImportsUntilUnlocked) {
    const QString before = form(2);
    texts->select(2);
    key(Qt::Key_5);
    const DeskLine* line = desk().book().find(CodeKind::Text, 2);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->status, DeskStatus::Locked);
    EXPECT_EQ(line->lockedSha1, lockedTextSha1(before.toStdString()));
    const int steps = session->undoStack().count();

    edit(2, u("ア"));
    EXPECT_EQ(form(2), before);
    EXPECT_EQ(session->undoStack().count(), steps);
    EXPECT_EQ(window->statusLabel()->text(), u("##No.00 02 は固定されています。変更するには固定を外してください"));

    // The preview offers no tick for it; an operation that changes it anyway leaves it alone.
    ReplaceDialog* replace = window->openReplace();
    replace->patternField()->setText(u("re:(?s).+"));
    replace->replacementField()->setText(u("ア"));
    replace->scopeBox()->setCurrentIndex(ReplaceDialog::TextsScope);
    replace->updatePreview();
    ReplacePreviewModel* preview = replace->previewModel();
    ASSERT_EQ(preview->index(0, 0).data().toString(), u("##No.00 02"));
    EXPECT_EQ(preview->index(0, ReplacePreviewModel::ReasonColumn).data().toString(), u("固定されています"));
    EXPECT_FALSE(preview->flags(preview->index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(preview->tickable(), preview->rowCount() - 1);
    const ReplaceRow forced{{EntryKind::Text, 2}, before.toStdString(), "ア", {}, {}, {}, 0};
    session->run(u("置換"), [&](EditorState& s, Platform&) { return applyReplace(s, std::span(&forced, 1)); });
    EXPECT_EQ(form(2), before);
    EXPECT_EQ(session->undoStack().count(), steps);
    EXPECT_EQ(window->statusLabel()->text(), u("固定された 1 件は変更しませんでした"));

    texts->select(2);
    key(Qt::Key_2);
    edit(2, u("ア"));
    EXPECT_EQ(form(2), u("ア"));
}

TEST_F(Desk, ReplacePreviewKeepsOutWhatDoesNotEncodeAndAppliesAsOneStep) {
    // 4096 code bytes fit a text; one more does not.
    edit(0, u("イ") + QString(4095, QChar(u'ア')));
    edit(1, u("イ"));
    const int steps = session->undoStack().count();
    ReplaceDialog* replace = window->openReplace();
    replace->patternField()->setText(u("イ"));
    replace->replacementField()->setText(u("イア"));
    replace->updatePreview();
    ReplacePreviewModel* preview = replace->previewModel();
    ASSERT_GE(preview->rowCount(), 2);
    EXPECT_FALSE(preview->index(0, ReplacePreviewModel::ReasonColumn).data().toString().isEmpty());
    EXPECT_FALSE(preview->flags(preview->index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(preview->index(1, ReplacePreviewModel::ReasonColumn).data().toString().isEmpty());
    EXPECT_EQ(preview->index(1, ReplacePreviewModel::AfterColumn).data().toString(), u("イア"));
    EXPECT_EQ(preview->index(1, ReplacePreviewModel::AfterColumn).data(ReplacePreviewModel::MarksRole).value<QList<int>>(),
              QList<int>({0, 2}));
    EXPECT_EQ(preview->tickable(), preview->rowCount() - 1);
    // Untick the last row: it stays as it was.
    const int last = preview->rowCount() - 1;
    const int lastEntry = preview->ticked().back().entry.index;
    const QString lastBefore = form(lastEntry);
    preview->setData(preview->index(last, 0), Qt::Unchecked, Qt::CheckStateRole);
    replace->applyButton()->click();
    EXPECT_EQ(session->undoStack().count(), steps + 1);
    EXPECT_EQ(form(1), u("イア"));
    EXPECT_EQ(form(0).size(), 4096);
    EXPECT_EQ(form(lastEntry), lastBefore);
    session->undoStack().undo();
    EXPECT_EQ(form(1), u("イ"));
}

TEST_F(Desk, RepeatsTakeTheTranslationAsOneStepExceptLockedOnes) {
    int first = -1;
    for (int i = 0; i < kTextCount && first < 0; ++i)
        if (desk().repeatsOf(EntryKind::Text, i).size() >= 2) first = i;
    ASSERT_GE(first, 0);
    const std::vector<int> others = desk().repeatsOf(EntryKind::Text, first);
    texts->select(others.back());
    key(Qt::Key_5);
    const QString lockedBefore = form(others.back());
    const int steps = session->undoStack().count();
    texts->desk()->repeatsBox()->setChecked(true);
    edit(first, u("アイ"));
    EXPECT_EQ(session->undoStack().count(), steps + 1);
    for (const int i : others) EXPECT_EQ(form(i), i == others.back() ? lockedBefore : u("アイ")) << i;
    EXPECT_TRUE(window->statusLabel()->text().endsWith(u("（同じ原文の %1 件にも反映、固定の 1 件は除外）").arg(others.size() - 1)));
    session->undoStack().undo();
    for (const int i : others) EXPECT_EQ(form(i), desk().original(EntryKind::Text, i)) << i;
    EXPECT_EQ(form(first), desk().original(EntryKind::Text, first));
}

TEST_F(Desk, TheNoteGoesWithTheApplyAndTheGlossaryWarnsOfAMissingTerm) {
    texts->select(9);
    QListWidget* uses = texts->findChild<QListWidget*>(QStringLiteral("UsesList"));
    ASSERT_EQ(uses->count(), 1);
    EXPECT_EQ(uses->item(0)->data(Qt::UserRole).toInt(), 0x618);  // [F6 18:(...)] in the text
    const QString term = desk().original(EntryKind::Text, 9).left(2);
    desk().addTerm(GlossaryTerm{term.toStdString(), "北", {}, 0});
    QLabel* missing = texts->desk()->missingLabel();
    EXPECT_TRUE(missing->text().isEmpty());  // untranslated: no warning yet
    const int steps = session->undoStack().count();
    texts->desk()->noteField()->setPlainText(u("要相談"));
    edit(9, fieldForm(9) + u("ア"));
    EXPECT_EQ(session->undoStack().count(), steps + 1);
    EXPECT_EQ(desk().note(EntryKind::Text, 9), u("要相談"));
    EXPECT_EQ(missing->text(), u("訳語がありません: 「%1」→「北」").arg(term));
    texts->editor()->setPlainText(fieldForm(9) + u("北"));
    EXPECT_TRUE(missing->text().isEmpty());
    session->undoStack().undo();
    EXPECT_EQ(desk().note(EntryKind::Text, 9), QString());
    EXPECT_EQ(form(9), desk().original(EntryKind::Text, 9));
}

TEST(DeskDiff, MarksWhatEachSideLacks) {
    using Runs = std::vector<std::pair<int, int>>;
    const struct { const char *a, *b; Runs removed, inserted; } cases[] = {
        {"北の村", "北の村", {}, {}},         {"北の村", "北の小村", {}, {{2, 1}}},
        {"北X南Y村", "北南村", {{1, 1}, {3, 1}}, {}}, {"", "北南", {}, {{0, 2}}},
        {"北南村", "村北", {{0, 2}}, {{1, 1}}},  // a tie keeps the later match
    };
    for (const auto& c : cases) {
        const TextDiff d = diffText(u(c.a), u(c.b));
        EXPECT_EQ(d.removed, c.removed) << c.a << " " << c.b;
        EXPECT_EQ(d.inserted, c.inserted) << c.a << " " << c.b;
    }
}

}  // namespace
}  // namespace velk
