// The seasoning calculator on the real window: a meal's seasonings carried
// into the grid, the Enter and focus hints, clearing every tick, and the names
// kept across a restart.

#include "GridFixture.h"
#include "diary/SeasoningDefaults.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"

namespace morv::test {
namespace {

class SeasoningTest : public GridFixture {
protected:
    SeasoningPanel& calc() { return *form->PictureCho(); }
    SeasoningStrip& strip() { return *form->Picture7(); }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void tickC(int row) { click(calc().CheckC[row]); }
    QString total() const { return form->PictureCho()->LabelEnbunC->text(); }
};

TEST_F(SeasoningTest, AMealsSeasoningsAreCarriedIntoTheSelectedSaltBox) {
    records({{u"1", u"みそ汁", u"", u"1"}, {u"1", u"焼き魚", u"", u"1.5"}});
    Form1& w = start();
    click(strip().Command44);
    EXPECT_EQ(dialogs.notices(), QStringList{"塩分のエリアが選択されていません"});

    type(grid().TextEnbun[1], "");
    click(strip().Command43);
    ASSERT_TRUE(calc().isVisible());
    EXPECT_TRUE(calc().TextEnbunC[20]->hasFocus());
    EXPECT_EQ(calc().TextNameC[0]->text(), "食塩(小さじ)")
        << "an empty row is filled from the built-in table";
    EXPECT_EQ(calc().LabelC[2]->text(), "※項目名削除で初期値に戻します");
    EXPECT_EQ(total(), "0");

    tickC(0);
    EXPECT_EQ(Background(calc().TextNameC[0]), colour::Pink);
    EXPECT_EQ(total(), "6");
    click(calc().Commandc3w[0]);
    EXPECT_EQ(calc().TextEnbunC[0]->text(), "2");
    tickC(3);
    EXPECT_EQ(total(), "2.9");

    click(calc().Command48);
    ASSERT_TRUE(calc().Picture8->isVisible());
    QTest::keyClicks(calc().TextEnbunC[21], "1.23456");
    click(calc().Command50);
    EXPECT_EQ(calc().TextEnbunC[20]->text(), "1.23456");
    EXPECT_EQ(total(), "4.13");
    EXPECT_TRUE(calc().Picture8->isVisible()) << "the side calculator stays open";
    tickC(1);
    EXPECT_FALSE(calc().Picture8->isVisible()) << "ticking a seasoning hides it";
    tickC(1);

    click(calc().Command46);
    EXPECT_FALSE(calc().isVisible());
    EXPECT_EQ(w.LabelEnbunR()->text(), "4.13");
    EXPECT_EQ(Background(grid().TextEnbun[1]), colour::Yellow);
    click(strip().Command44);
    EXPECT_EQ(grid().TextEnbun[1]->text(), "4.13");
    EXPECT_EQ(w.ItemTable()[1].ItemSalt, "4.13");
    EXPECT_EQ(w.LabelEnbun()->text(), "5.13");
    EXPECT_EQ(w.LabelEnbunR()->text(), "0");
    EXPECT_EQ(Background(grid().TextEnbun[1]), colour::White);
    click(strip().Command51);
    EXPECT_EQ(grid().TextEnbun[1]->text(), "4.13") << "nothing is carried";

    click(strip().Command43);
    EXPECT_EQ(calc().TextEnbunC[0]->text(), "6.0") << "every opening starts from the unit salts";
    EXPECT_EQ(total(), "0");
    tickC(1);
    click(calc().Command46);
    click(strip().Command51);
    EXPECT_EQ(w.ItemTable()[1].ItemSalt, "5.33");
    EXPECT_EQ(w.LabelEnbun()->text(), "6.33");

    click(strip().Command43);
    tickC(2);
    click(calc().Command46);
    click(strip().Command43);
    click(calc().Command46);
    EXPECT_EQ(Background(grid().TextEnbun[1]), colour::White) << "nothing is left to carry into it";
}

TEST_F(SeasoningTest, EnterAndFocusHints) {
    start();
    click(strip().Command43);
    const QString enterHint = "エンターキーを押して下さい";

    tickC(0);
    type(calc().TextEnbunC[0], "3");
    EXPECT_EQ(calc().LabelC[0]->text(), enterHint);
    EXPECT_EQ(total(), "6") << "typing alone does not count yet";
    enter(calc().TextEnbunC[0]);
    EXPECT_EQ(calc().LabelC[0]->text(), "※表示されている値は目安です");
    EXPECT_EQ(total(), "3");

    type(calc().TextEnbunC[4], "2");
    EXPECT_EQ(calc().LabelC[4]->text(), "") << "an unticked row gives no hint";
    type(calc().TextTaniC[4], "0.8");
    EXPECT_EQ(calc().LabelC[4]->text(), enterHint) << "a unit salt always does";
    QTest::keyClicks(calc().TextTaniC[4], ".");
    EXPECT_EQ(dialogs.notices(), QStringList{"すでに小数点が入力されています"});
    enter(calc().TextTaniC[4]);
    EXPECT_EQ(calc().TextEnbunC[4]->text(), "0.8");
    EXPECT_EQ(calc().LabelC[4]->text(), "");

    type(calc().TextEnbunC[20], "1");
    EXPECT_EQ(calc().LabelC[10]->text(), enterHint) << "the extra row hints on row 10's line";
    calc().TextEnbunC[21]->setFocus();
    EXPECT_EQ(calc().LabelC[10]->text(), "");

    type(calc().TextNameC[5], "");
    QTest::keyClick(calc().TextNameC[5], Qt::Key_Backspace);
    EXPECT_EQ(calc().LabelC[5]->text(), "初期化する場合、エンターキーを押して下さい");
    enter(calc().TextNameC[5]);
    EXPECT_EQ(calc().TextNameC[5]->text(), "みそ(小さじ)");
    EXPECT_EQ(calc().TextEnbunC[5]->text(), "0.7");

    calc().TextEnbunC[19]->setFocus();
    QTest::keyClick(calc().TextEnbunC[19], Qt::Key_Tab);
    EXPECT_TRUE(calc().TextEnbunC[20]->hasFocus()) << "Tab from the last row goes to the extra row";
    QTest::keyClick(calc().TextEnbunC[20], Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(calc().TextEnbunC[19], Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(calc().TextTaniC[19]->hasFocus()) << "Shift+Tab goes back through the last row";
    calc().TextEnbunC[20]->setFocus();
    QTest::keyClick(calc().TextEnbunC[20], Qt::Key_Tab);
    EXPECT_TRUE(calc().TextNameC[0]->hasFocus()) << "and round the panel, never under it";
    click(calc().Command46);
    click(strip().Command43);
    click(calc().Command48);
    calc().TextBaiC->setFocus();
    QTest::keyClick(calc().TextBaiC, Qt::Key_Tab);
    EXPECT_TRUE(calc().TextEnbunC[21]->hasFocus());
    EXPECT_EQ(calc().LabelC[0]->text(), "※表示されている値は目安です") << "not by way of row 0's name";
    QTest::keyClicks(calc().TextEnbunC[21], "2");
    QTest::keyClicks(calc().TextBaiC, "1.5");
    enter(calc().TextBaiC);
    EXPECT_EQ(calc().TextEnbunC[21]->text(), "3");
    EXPECT_EQ(calc().TextBaiC->text(), "");
}

TEST_F(SeasoningTest, ClearingAllTicksAsksFirst) {
    QString lines;
    for (int s = 0; s < 40; ++s) lines += QStringLiteral("\"1\",\"item%1\",\"\",\"1\"\r\n").arg(s);
    put("Kiroku.txt", EncodeCp932(lines));
    Form1& w = start();
    click(w.Command47());
    EXPECT_EQ(dialogs.questions(), QStringList{"全てのチェックを外しますか？"});
    EXPECT_EQ(w.LabelEnbun()->text(), "40") << "No changes nothing";
    dialogs.answers = {true};
    click(w.Command47());
    EXPECT_EQ(w.LabelEnbun()->text(), "0");
    for (int s = 0; s < 160; ++s) ASSERT_EQ(w.ItemTable()[size_t(s)].Checked, "0") << s;
    EXPECT_FALSE(grid().Check[0]->isChecked());
    EXPECT_EQ(Background(grid().TextName[0]), colour::WindowBackground());
    EXPECT_EQ(Background(w.CommandP()[1]), colour::LightYellow);
    EXPECT_TRUE(w.Text1_0()->hasFocus());
}

TEST_F(SeasoningTest, AnEditedNameSurvivesARestartAndTheShownDefaultsReachTheFile) {
    start();
    click(strip().Command43);
    calc().TextNameC[7]->setFocus();
    calc().TextNameC[7]->setText("<b>自家製</b>ドレッシング");
    type(calc().TextTaniC[7], "0.3");
    form->close();
    form.reset();
    start();
    EXPECT_EQ(calc().TextNameC[7]->text(), "<b>自家製</b>ドレッシング");
    EXPECT_EQ(calc().TextTaniC[7]->text(), "0.3");
    EXPECT_EQ(form->SeasoningTable()[7].UnitSalt, "0.3");
    // The built-in seasonings shown in the other rows were written too.
    EXPECT_EQ(form->SeasoningTable()[0], BuiltInSeasonings()[0]);
}

}  // namespace
}  // namespace morv::test
