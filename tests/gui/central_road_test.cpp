// The diary's central road in one go, as a user walks it: items typed and
// ticked, the total against the target, the day registered, registered again
// with No and with Yes, and the log saved when the window closes.

#include "GridFixture.h"
#include "diary/DiaryBooks.h"
#include "log/SaltListScreen.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"
#include "selected/SelectedItemsPanel.h"
#include "ui/Colours.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv::test {
namespace {

using CentralRoad = GridFixture;

TEST_F(CentralRoad, TypeTickRegisterOverwriteAndSave) {
    Form1& w = start();
    ItemGrid& g = grid();
    type(w.TextMoku(), "3");

    // Japanese names arrive through the input method, not as key presses.
    g.TextName[0]->setText("みそ汁");
    type(g.TextEnbun[0], "1.5");
    tick(0);
    g.TextName[1]->setText("焼き鮭");
    type(g.TextNa[1], "1000");
    enter(g.TextNa[1]);  // sodium to salt: 2.54 g
    EXPECT_EQ(g.TextEnbun[1]->text(), "2.54");
    tick(1);
    EXPECT_EQ(w.LabelEnbun()->text(), "4.04");
    EXPECT_EQ(Background(w.LabelEnbun()), colour::Salmon) << "over the target of 3";

    w.Text1_0()->clear();
    QTest::keyClicks(w.Text1_0(), "20240105");
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    EXPECT_EQ(dialogs.notices().value(0), "2024/01/05 の塩分 [ 4.04 ] グラムを登録しました");
    ASSERT_EQ(w.LogCount(), 1);

    // Half a portion of salmon after all; register again, first declining.
    QTest::mouseClick(g.Command2w[1], Qt::LeftButton);
    EXPECT_EQ(g.TextEnbun[1]->text(), "1.27");
    EXPECT_EQ(w.LabelEnbun()->text(), "2.77");
    EXPECT_EQ(Background(w.LabelEnbun()), colour::WindowBackground());
    dialogs.calls.clear();
    dialogs.answers = {false, true};
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    EXPECT_EQ(w.DailyLog()[0].DaySalt, "4.04");
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    EXPECT_EQ(dialogs.questions().size(), 2);
    EXPECT_EQ(dialogs.notices(), QStringList{"2024/01/05 の塩分 [ 2.77 ] グラムを登録しました"});
    EXPECT_EQ(w.DailyLog()[0], (LogRecord{"2024/01/05", "2.77", "", ""}));

    QTest::mouseClick(w.Command1(), Qt::LeftButton);
    EXPECT_EQ(bytes("Enbun.txt"), "\"2024/01/05\",\"2.77\",\"\",\"\"\r\n");
    EXPECT_TRUE(bytes("Kiroku.txt")
                    .startsWith(EncodeCp932(u"\"1\",\"みそ汁\",\"\",\"1.5\"\r\n"
                                            u"\"1\",\"焼き鮭\",\"\",\"1.27\"\r\n")));
    EXPECT_EQ(bytes("Moku.txt"), "3\r\n");
}

}  // namespace
}  // namespace morv::test

namespace morv::test {
namespace {

TEST_F(CentralRoad, AChangeMadeThroughTheDiaryAloneReachesEveryViewThatShowsIt) {
    Form1& w = start();
    Diary& d = w.diary();
    ItemGrid& g = grid();
    d.SetItem(17, {"1", "みそ汁", "", "1.5"});  // page 2, row 2
    EXPECT_EQ(w.LabelEnbun()->text(), "1.5");
    EXPECT_EQ(Background(w.CommandP()[1]), colour::LightOrange);
    page(1);
    EXPECT_EQ(g.TextName[1]->text(), "みそ汁");
    EXPECT_TRUE(g.Check[1]->isChecked());
    d.SetItemSalt(17, "2");
    EXPECT_EQ(g.TextEnbun[1]->text(), "2");
    EXPECT_EQ(w.LabelEnbun()->text(), "2");
    d.SetSaltTarget("1");
    EXPECT_EQ(w.TextMoku()->text(), "1");
    EXPECT_EQ(Background(w.LabelEnbun()), colour::Salmon);

    w.Command13()->click();
    SelectedItemsPanel& list = *w.PictureH();
    d.SetItemName(17, "豚汁");
    EXPECT_EQ(list.LabelH1[0]->accessibleName(), "みそ汁") << "but the selected list, a snapshot while open";
    list.Command19->click();

    // The calculator shows its built-in seasonings without counting them as
    // edits (nothing for the journal), though Chomi.txt is written with them.
    w.Picture7()->Command43->click();
    SeasoningPanel& calc = *w.PictureCho();
    EXPECT_TRUE(DiaryBooks(d).PendingJournal().seasonings.empty());
    EXPECT_TRUE(DiaryBooks(d).HasChanges(DataFile::Chomi));
    d.SetSeasoningName(0, "岩塩");
    EXPECT_EQ(calc.TextNameC[0]->text(), "岩塩");
    calc.Command46->click();

    d.RegisterDay(d.FindPlace("2024/01/05"), "2024/01/05", "2");
    w.Command3()->click();
    SaltListScreen& s = *w.PictureE();
    d.RegisterDay(d.FindPlace("2024/01/05"), "2024/01/05", "3");
    EXPECT_EQ(s.LabelE2[0]->text(), "3");
}

}  // namespace
}  // namespace morv::test
