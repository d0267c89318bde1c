// "塩分登録" on the real window: the date box's forms, the refusal of a wrong
// date, insert, overwrite (Yes and No) and append, and the deletion panel.

#include "MainWindowFixture.h"
#include "diary/DiaryBooks.h"
#include "grid/WeightPanel.h"
#include "log/DeletionPanel.h"
#include "text/Cp932.h"
#include "ui/Colours.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv::test {
namespace {

using Registration = MainWindowFixture;

TEST_F(Registration, StoresTheShownTotalUnderTheDateAndConfirms) {
    put("Kiroku.txt", EncodeCp932(u"\"1\",\"みそ汁\",\"\",\"1.234\"\r\n\"1\",\"漬物\",\"\",\"2.005\"\r\n"));
    Form1& w = start();
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    ASSERT_EQ(w.LogCount(), 1);
    EXPECT_EQ(w.DailyLog()[0], (LogRecord{"2024/01/05", "3.23", "", ""}));
    EXPECT_EQ(dialogs.notices(), QStringList{"2024/01/05 の塩分 [ 3.23 ] グラムを登録しました"});
    EXPECT_TRUE(w.Text1_0()->hasFocus());
}

TEST_F(Registration, TypedFormsOfADateAreRegisteredAsYearMonthDay) {
    Form1& w = start();
    const std::pair<const char*, const char*> cases[] = {{"20240105", "2024/01/05"},
                                                         {"2024/1/6", "2024/01/06"},
                                                         {"24/1/7", "2024/01/07"},
                                                         {"240108", "2024/01/08"}};
    for (auto [typed, stored] : cases) {
        w.Text1_0()->setText(typed);
        QTest::mouseClick(w.Command2(), Qt::LeftButton);
        EXPECT_EQ(w.DailyLog().back().LogDate, stored) << typed;
    }
    EXPECT_EQ(w.LogCount(), 4);
    EXPECT_TRUE(dialogs.questions().isEmpty());
}

TEST_F(Registration, AWrongDateIsRefusedWithAPinkDateBox) {
    Form1& w = start();
    for (const char* typed : {"2024/13/01", "2023/02/29", "", "abc", "2024010"}) {
        dialogs.calls.clear();
        w.Text1_0()->setText(typed);
        QTest::mouseClick(w.Command2(), Qt::LeftButton);
        EXPECT_EQ(dialogs.notices(), QStringList{"日付が誤っています"}) << typed;
        EXPECT_EQ(Background(w.Text1_0()), colour::Pink) << typed;
        EXPECT_TRUE(w.Text1_0()->hasFocus());
    }
    EXPECT_EQ(w.LogCount(), 0);
    // The next key in the date box takes the colour away again.
    QTest::keyClick(w.Text1_0(), Qt::Key_End);
    EXPECT_EQ(Background(w.Text1_0()), colour::White);
}

TEST_F(Registration, ANewDayGoesBetweenItsNeighbours) {
    put("Enbun.txt", "\"2024/01/02\",\"5\",\"\",\"\"\r\n\"2024/01/05\",\"6\",\"78\",\"131\"\r\n");
    Form1& w = start();
    w.Text1_0()->setText("2024/01/03");
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    ASSERT_EQ(w.LogCount(), 3);
    EXPECT_EQ(w.DailyLog()[1], (LogRecord{"2024/01/03", "0", "", ""}));
    EXPECT_EQ(w.DailyLog()[2], (LogRecord{"2024/01/05", "6", "78", "131"}));
}

TEST_F(Registration, AnExistingDayIsReplacedOnlyAfterYesAndKeepsItsPressure) {
    put("Kiroku.txt", "\"1\",\"a\",\"\",\"4.5\"\r\n");
    put("Enbun.txt", "\"2024/01/05\",\"6\",\"78\",\"131\"\r\n");
    Form1& w = start();
    const QString question = "指定された日付はすでに登録されています\r\n\r\n内容を書き換えますか？";

    dialogs.answers = {false};
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    EXPECT_EQ(dialogs.questions(), QStringList{question});
    EXPECT_TRUE(dialogs.notices().isEmpty()) << "No stops without a further message";
    EXPECT_EQ(w.DailyLog()[0], (LogRecord{"2024/01/05", "6", "78", "131"}));

    dialogs.calls.clear();
    dialogs.answers = {true};
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    EXPECT_EQ(dialogs.questions(), QStringList{question});
    EXPECT_EQ(dialogs.notices(), QStringList{"2024/01/05 の塩分 [ 4.5 ] グラムを登録しました"});
    ASSERT_EQ(w.LogCount(), 1);
    EXPECT_EQ(w.DailyLog()[0], (LogRecord{"2024/01/05", "4.5", "78", "131"}));
}

TEST_F(Registration, WorksDuringAnItemImportAndKeepsTheReminder) {
    Form1& w = start();
    w.Label46()->setText("previewed.TXT");
    w.diary().BeginItemImport(w.ItemTable());
    w.Text1_0()->setText("2015/11/26");
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    EXPECT_EQ(w.LogCount(), 1);
    EXPECT_EQ(w.Label3()->text(), "読み込んだファイルの内容を表示しています");
}

TEST_F(Registration, DeleteOpensTheDeletionPanelOverTheCommandsAndCancelCloses) {
    Form1& w = start();
    w.ShowStatus("x");
    QTest::mouseClick(w.Command30(), Qt::LeftButton);
    EXPECT_TRUE(w.Picture4()->isVisible());
    EXPECT_EQ(w.Picture4()->pos(), QPoint(0, 40));
    EXPECT_FALSE(w.Picture1()->isVisible());
    EXPECT_FALSE(w.Picture7()->isVisible());
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_TRUE(w.Picture4()->Command33->hasFocus());
    EXPECT_EQ(w.Picture4()->Command31->text(), "削除");
    EXPECT_EQ(w.Picture4()->Label16_2->text(), "塩分一覧");

    QTest::mouseClick(w.Picture4()->Command33, Qt::LeftButton);
    EXPECT_FALSE(w.Picture4()->isVisible());
    EXPECT_TRUE(w.Picture1()->isVisible());
    EXPECT_TRUE(w.Picture7()->isVisible());
}

}  // namespace
}  // namespace morv::test

namespace morv::test {
namespace {

TEST_F(Registration, AQuestionAnsweredAfterTheLogChangedActsOnTheDayItAskedAbout) {
    auto day = [](const char* date, const char* salt) { return LogRecord{date, salt, {}, {}}; };
    const LogList synced{day("2024/03/01", "5"), day("2024/03/02", "6"), day("2024/03/03", "7")};
    for (bool emptied : {false, true}) {
        SCOPED_TRACE(emptied ? "the log deleted elsewhere meanwhile" : "a day added elsewhere meanwhile");
        Form1& w = start();
        w.diary().LoadDailyLog(synced);
        w.Text1_0()->setText("2024/03/03");
        dialogs.answers = {true};
        dialogs.whileAsked = [&w, &synced, &day, emptied] {
            std::map<QString, std::optional<LogRecord>> theirs;
            if (emptied)
                for (const LogRecord& d : synced) theirs[d.LogDate] = std::nullopt;
            else
                theirs["2024/02/01"] = day("2024/02/01", "4");
            DiaryBooks(w.diary()).ApplyDays(theirs);
        };
        w.Command2()->click();
        const LogList expected = emptied ? LogList{day("2024/03/03", "0")}
                                         : LogList{day("2024/02/01", "4"), day("2024/03/01", "5"),
                                                   day("2024/03/02", "6"), day("2024/03/03", "0")};
        EXPECT_EQ(w.DailyLog(), expected);
        form.reset();
    }
}

}  // namespace
}  // namespace morv::test
