#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/box_preview.h"
#include "app/desk_panel.h"
#include "app/entry_page.h"
#include "app/extra_selections.h"
#include "app/fit_model.h"
#include "app/fit_ruler.h"
#include "app/qt_text.h"
#include "app/workbench.h"
#include "ops/desk_ops.h"
#include "scripted_platform.h"
#include "demo_window.h"
#include "test_support.h"

namespace velk {
namespace {


class LiveFitWindow : public ::testing::Test, protected test::DemoWindow {
protected:
    void SetUp() override {
        platform.answer("demo.smc");
        ASSERT_NO_FATAL_FAILURE(openDemo());
        rules = FitModel::of(*session).rules();
        ASSERT_GT(rules.textColumns, 3);
        // A name of three cells or more that one more cell still leaves a name.
        const std::span<const int> widths = FitModel::of(*session).nameWidths();
        named = static_cast<int>(std::ranges::find_if(widths, [&](int w) { return w > 2 && w < rules.nameColumns; }) - widths.begin());
        ASSERT_LT(named, 256);
        width = widths[static_cast<size_t>(named)];
        ref = QStringLiteral("[F0 %1:()]").arg(QString::number(named, 16).toUpper().rightJustified(2, u'0'));
    }
    static QString cells(int n) { return QString(n, QChar(u'あ')); }
    BoxRules rules;
    int named = 0, width = 0;  // the name, its cells
    QString ref;               // a reference to it
};

TEST_F(LiveFitWindow, ALineOfExactlyTheColumnsFitsAndOneCellMoreIsRedAndSaysByHowMuch) {
    const int n = rules.textColumns, l = rules.textLines;
    const QString fits = QStringLiteral("%1/%1").arg(n), past = QStringLiteral("%1/%2").arg(n + 1).arg(n);
    const QString oneCellPast = QString::fromUtf8("1 行目が 1 マス超過（%1）").arg(past);
    QStringList lines(l, cells(n));
    // red: the characters marked in the field (a line past text-lines: the whole line, none of its characters)
    const struct { QString typed, ruler; int red; QString problem; } cases[] = {
        {cells(n), fits, 0, {}},
        {cells(n + 1), past, 1, oneCellPast},
        {cells(n - width) + ref, fits, 0, {}},
        {cells(n - width) + ref + QString::fromUtf8("(主人公)"), past, 5, oneCellPast},
        {lines.join(u'\n'), fits, 0, {}},
        {lines.join(u'\n') + u'\n', fits, 0, QString::fromUtf8("1 行超過（%1/%2 行）").arg(l + 1).arg(l)},
    };
    EntryPage* texts = window->textsPage();
    texts->select(0);
    for (const auto& c : cases) {
        const std::string typed = c.typed.toStdString();
        texts->editor()->setPlainText(c.typed);
        EXPECT_EQ(texts->liveFit()->ruler()->text(0), c.ruler) << typed;
        EXPECT_EQ(texts->problemLabel()->text(), c.problem) << typed;
        const QList<QTextEdit::ExtraSelection> red = marksOf(texts->editor(), MarkSource::Fit);
        ASSERT_EQ(red.size(), c.problem.isEmpty() ? 0 : 1) << typed;
        if (!red.empty()) {
            EXPECT_EQ(red[0].cursor.selectedText().size(), c.red) << typed;
        }
        EXPECT_TRUE(texts->applyButton()->isEnabled()) << typed;
    }
}

TEST_F(LiveFitWindow, RenamingANameLongerPutsATextThatUsesItIntoTheOverflowFilter) {
    EntryPage* texts = window->textsPage();
    texts->select(0);
    texts->editor()->setPlainText(cells(rules.textColumns - width) + ref);
    texts->applyButton()->click();
    texts->liveFit()->overflowBox()->setChecked(true);
    ASSERT_EQ(texts->filterModel()->rowCount(), 0);  // the ROM's own texts fit the rules inferred from them
    EntryPage* names = window->namesPage();
    names->select(named);
    names->editor()->setPlainText(names->editor()->toPlainText() + QChar(u'あ'));
    names->applyButton()->click();
    ASSERT_EQ(texts->filterModel()->rowCount(), 1);
    EXPECT_EQ(texts->filterModel()->mapToSource(texts->filterModel()->index(0, 0)).row(), 0);
    EXPECT_EQ(texts->countLabel()->text(), QString::fromUtf8("5607 件中 1 件"));
    // The status filter and はみ出し hold together: a row passes both or is hidden.
    QComboBox* status = texts->desk()->statusFilter();
    status->setCurrentIndex(1 + static_cast<int>(DeskStatus::Done));
    EXPECT_EQ(texts->filterModel()->rowCount(), 0);
    status->setCurrentIndex(1 + static_cast<int>(DeskStatus::Draft));
    EXPECT_EQ(texts->filterModel()->rowCount(), 1);
    status->setCurrentIndex(0);
    session->undoStack().undo();
    EXPECT_EQ(texts->filterModel()->rowCount(), 0);
}

TEST_F(LiveFitWindow, ABoxBreakStartsTheNextBoxAndANameMeetsNameColumns) {
    BoxRules boxes = rules;
    boxes.textLines = 1, boxes.textBoxBreak = {0x15};
    FitModel::of(*session).setRules(boxes);
    EntryPage* texts = window->textsPage();
    texts->select(0);
    texts->editor()->setPlainText(QString::fromUtf8("あ!15!い\nう"));
    const QString one = QStringLiteral("1/%1").arg(rules.textColumns);
    EXPECT_EQ(std::pair(texts->liveFit()->ruler()->text(0), texts->liveFit()->ruler()->text(1)), std::pair(one + u' ' + one, one));
    EXPECT_EQ(texts->problemLabel()->text(), QString::fromUtf8("2 枠目が 1 行超過（2/1 行）"));
    EXPECT_EQ(texts->liveFit()->preview()->boxCount(), 2);
    EntryPage* names = window->namesPage();
    names->select(named);
    for (const int n : {rules.nameColumns, rules.nameColumns + 1}) {
        names->editor()->setPlainText(cells(n));
        EXPECT_EQ(names->liveFit()->ruler()->text(0), QStringLiteral("%1/%2").arg(n).arg(rules.nameColumns));
        EXPECT_EQ(names->problemLabel()->text(),
                  n > rules.nameColumns ? QString::fromUtf8("名前が 1 マス超過（%1/%2）").arg(n).arg(rules.nameColumns) : QString());
    }
}

TEST_F(LiveFitWindow, AnOpenProjectsRulesTakeOverAndClosingItGivesTheRomsBack) {
    auto project = std::make_unique<OpenProject>();
    project->rules = rules;
    project->rules.textColumns = 12;
    project->original = static_cast<const Document&>(session->state());
    session->setProject(std::move(project));
    EntryPage* texts = window->textsPage();
    texts->select(0);
    texts->editor()->setPlainText(cells(13));
    EXPECT_EQ(texts->problemLabel()->text(), QString::fromUtf8("1 行目が 1 マス超過（13/12）"));
    session->setProject(nullptr);
    EXPECT_EQ(texts->liveFit()->ruler()->text(0), QStringLiteral("13/%1").arg(rules.textColumns));
    EXPECT_TRUE(texts->problemLabel()->text().isEmpty());
}

}  // namespace
}  // namespace velk
