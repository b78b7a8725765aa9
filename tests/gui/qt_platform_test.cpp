#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/dialog_units.h"
#include "app/file_questions.h"
#include "app/qt_platform.h"
#include "ops/operations.h"
#include "test_support.h"

namespace velk {
namespace {

// Answers the next modal file dialog with `name` in its current folder.
void answerFileDialog(const QString& name, QString* seenFilters = nullptr) {
    QTimer::singleShot(0, [=] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) return void(QApplication::activeModalWidget()->close());
        if (seenFilters) *seenFilters = d->nameFilters().join(QStringLiteral(";;"));
        d->selectFile(name);
        static_cast<QDialog*>(d)->accept();  // QFileDialog keeps its override protected
    });
}

class QtPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = QDir::currentPath();
        folder = test::scratchFolder();
        QDir::setCurrent(QString::fromStdString(folder.string()));
    }
    void TearDown() override { QDir::setCurrent(previous); }
    QString previous;
    std::filesystem::path folder;
    QtPlatform platform;
};

TEST(QtForms, FiltersAndDialogUnits) {
    EXPECT_EQ(qtNameFilters(sjis("ソルヴァーン　ROM(*.smc)|*.smc|全て(*.*)|*.*||")),
              QString::fromUtf8("ソルヴァーン　ROM(*.smc);;全て(*.*)"));
    EXPECT_EQ(qtNameFilters(sjis("画像|*.bmp;*.fig||")), QString::fromUtf8("画像 (*.bmp *.fig)"));
    EXPECT_EQ(qtNameFilters(""), QString());
    EXPECT_TRUE(mulDiv(45, 13, 8) == 73 && mulDiv(3, 2, 4) == 2 && mulDiv(-3, 2, 4) == -2);  // halves round away from zero
    EXPECT_EQ(fromDialogUnits({6, 12}, 16, 45, 33, 15), QRect(24, 68, 50, 23));
}

TEST_F(QtPlatformTest, InitialFolderIsUsedOnlyWhereItExists) {
    EXPECT_TRUE(initialDialogFolder().isEmpty());
    const QString name = QString::fromUtf8("c:＼＼temp");
    ASSERT_TRUE(QDir().mkdir(name));
    EXPECT_TRUE(initialDialogFolder().endsWith(name));
}

TEST_F(QtPlatformTest, OpenDialogReturnsPathAndNameAndMovesTheCurrentFolder) {
    std::filesystem::create_directories(folder / "roms");
    test::writeBytes(folder / "roms" / "game.smc", {1, 2, 3});
    QString filters;
    answerFileDialog(QString::fromStdString((folder / "roms" / "game.smc").string()), &filters);
    const std::optional<ChosenFile> chosen = platform.openFileDialog(fileQuestion(Ask::OpenRom, false).options);
    ASSERT_TRUE(chosen && chosen->path == folder / "roms" / "game.smc" && chosen->name == "game.smc");
    // (the dialog folds the full-width space of the label into a plain one)
    EXPECT_EQ(filters.split(QStringLiteral(";;")).size(), 2);
    EXPECT_TRUE(filters.endsWith(QString::fromUtf8("ROM(*.smc *.sfc);;全て(*.*)"))) << filters.toStdString();
    EXPECT_EQ(std::filesystem::current_path(), folder / "roms");
}

TEST_F(QtPlatformTest, SaveDialogAppendsTheDefaultExtensionAndCancelGivesNothing) {
    answerFileDialog(QString::fromStdString((folder / "out").string()));
    const std::optional<ChosenFile> chosen = platform.saveFileDialog({"smc", "*.smc", sjis("ROM(*.smc)|*.smc||")});
    ASSERT_TRUE(chosen && chosen->path == folder / "out.smc" && chosen->name == "out.smc");
    EXPECT_EQ(std::filesystem::current_path(), folder);  // only opening moves it
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });  // cancel
    EXPECT_FALSE(platform.openFileDialog(fileQuestion(Ask::OpenRom, false).options).has_value());
}

TEST_F(QtPlatformTest, MessageBoxShowsTheShiftJisTextWithOk) {
    QString text;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text(), buttons = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    platform.showMessage({sjis("demo.smcが読み込めません"), "demo.smcが読み込めません", ""});
    EXPECT_TRUE(text == QString::fromUtf8("demo.smcが読み込めません") && buttons == 1) << text.toStdString() << buttons;
}

}  // namespace
}  // namespace velk
