// The weight conversion panel on the real window: its three refusals in their
// fixed order, the result in the selected grid box, the highlight, the keys.

#include "MainWindowFixture.h"
#include "foods/FoodTableWindow.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "ui/Colours.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv::test {
namespace {

class WeightPanelTest : public MainWindowFixture {
protected:
    WeightPanel& panel() { return *form->Picture1(); }
    void enter(const QString& perHundred, const QString& weight) {
        panel().Text3->setText(perHundred);
        panel().Text4->setText(weight);
    }
    void convert() { QTest::mouseClick(panel().Command4, Qt::LeftButton); }
};

TEST_F(WeightPanelTest, RefusalsComeInTheirFixedOrder) {
    Form1& w = start();
    struct Case {
        const char* perHundred;
        const char* weight;
        const char* message;
        const char* focused;
    } cases[] = {
        {"", "x", "数字が入力されていません", "Text3"},
        {".", "45", "数字が入力されていません", "Text3"},
        {"350", "", "数字が入力されていません", "Text4"},
        {"350", "45", "ナトリウムまたは塩分のエリアが選択されていません", "Text3"},
    };
    for (const Case& c : cases) {
        dialogs.calls.clear();
        enter(c.perHundred, c.weight);
        convert();
        EXPECT_EQ(dialogs.notices(), QStringList{c.message}) << c.perHundred << " " << c.weight;
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focused);
        EXPECT_EQ(panel().Text3->text(), c.perHundred) << "the panel is left as it was";
    }
    EXPECT_EQ(w.ItemTable()[0].Sodium, "");
}

TEST_F(WeightPanelTest, ASodiumResultGoesIntoTheSelectedSodiumBoxOnly) {
    put("Kiroku.txt", "\"1\",\"a\",\"\",\"1\"\r\n\"1\",\"b\",\"\",\"2\"\r\n\"1\",\"c\",\"\",\"3\"\r\n");
    Form1& w = start();
    w.Grid()->TextNa[2]->setFocus();
    enter("350", "45");
    EXPECT_EQ(Background(w.Grid()->TextNa[2]), colour::Yellow)
        << "the target is marked while the panel holds text";
    convert();
    EXPECT_EQ(w.Grid()->TextNa[2]->text(), "157.5");
    EXPECT_EQ(w.ItemTable()[2].Sodium, "157.5");
    EXPECT_EQ(w.LabelEnbun()->text(), "6") << "sodium does not count";
    EXPECT_TRUE(w.Grid()->TextNa[2]->hasFocus());
    EXPECT_EQ(Background(w.Grid()->TextNa[2]), colour::White);
    EXPECT_EQ(panel().Text3->text(), "");
    EXPECT_EQ(panel().Text4->text(), "");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(WeightPanelTest, ASaltResultChangesTheTotalAtOnce) {
    put("Kiroku.txt", "\"1\",\"a\",\"\",\"1\"\r\n");
    Form1& w = start();
    const std::pair<std::pair<const char*, const char*>, const char*> cases[] = {
        {{"1.2", "250"}, "3"}, {{"0.8", "33"}, "0.26"}, {{"350", "45"}, "157.5"}};
    for (auto [input, result] : cases) {
        w.Grid()->TextEnbun[0]->setFocus();
        enter(input.first, input.second);
        convert();
        EXPECT_EQ(w.Grid()->TextEnbun[0]->text(), result);
        EXPECT_EQ(w.ItemTable()[0].ItemSalt, result);
        EXPECT_EQ(w.LabelEnbun()->text(), result);
        EXPECT_TRUE(w.Grid()->TextEnbun[0]->hasFocus());
        EXPECT_EQ(Background(w.Grid()->TextEnbun[0]), colour::White);
    }
}

TEST_F(WeightPanelTest, TypingInThePanelMarksTheSelectedBox) {
    Form1& w = start();
    w.Grid()->TextEnbun[4]->setFocus();
    panel().Text3->setFocus();
    QTest::keyClicks(panel().Text3, "1");
    EXPECT_EQ(Background(w.Grid()->TextEnbun[4]), colour::Yellow);
    EXPECT_EQ(Background(w.Grid()->TextNa[4]), colour::White);
}

TEST_F(WeightPanelTest, PanelBoxesTakeNumbersWithOnePoint) {
    start();
    panel().Text3->setFocus();
    QTest::keyClicks(panel().Text3, "1a.5-.");
    QTest::keyClick(panel().Text3, Qt::Key_Return);
    EXPECT_EQ(panel().Text3->text(), "1.5");
    EXPECT_EQ(dialogs.notices(), QStringList{"すでに小数点が入力されています"});
    QTest::keyClicks(panel().Text3, "123456");
    EXPECT_EQ(panel().Text3->text(), "1.5123") << "six characters are typed at most";
}

TEST_F(WeightPanelTest, TabOrShiftTabOutOfTheWeightBoxGoesToTheDateBox) {
    Form1& w = start();
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        panel().Text4->setFocus();
        QTest::keyClick(panel().Text4, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(QApplication::focusWidget(), w.Text1_0());
    }
    // Reaching the weight box by Tab from the per-100-gram box still works.
    panel().Text3->setFocus();
    QTest::keyClick(panel().Text3, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), panel().Text4);
}

TEST_F(WeightPanelTest, ByKeysTheValueLandsInTheRowTabbedAwayFrom) {
    Form1& w = start();
    ItemGrid& g = *w.Grid();
    auto key = [](int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), mods);
    };
    g.TextName[0]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(g.TextName[0], "miso");
    key(Qt::Key_Tab);  // to row 1's sodium
    ASSERT_EQ(QApplication::focusWidget(), g.TextNa[0]);
    int tabs = 0;
    while (QApplication::focusWidget() != panel().Text3 && tabs++ < 60) key(Qt::Key_Tab);
    ASSERT_EQ(tabs, 47);
    QTest::keyClicks(panel().Text3, "350");
    key(Qt::Key_Tab);
    QTest::keyClicks(panel().Text4, "45");
    key(Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(dialogs.notices().isEmpty()) << qPrintable(dialogs.notices().join("; "));
    EXPECT_EQ(w.ItemTable()[0].Sodium, "157.5");
    EXPECT_EQ(w.ItemTable()[15].ItemSalt, "") << "row 16, only passed through, is left alone";
    EXPECT_EQ(QApplication::focusWidget(), g.TextNa[0]);

    // A box typed into after tabbing there is the one that is meant.
    key(Qt::Key_Tab);
    QTest::keyClicks(g.TextEnbun[0], "1");
    EXPECT_TRUE(w.SaltAreaSelected());
    EXPECT_EQ(w.SelectedRow(), 0);
}

// The panel's way to the food table: for the row whose box the panel would
// fill, with the focus left where it was, and a pick fills that row.
TEST_F(WeightPanelTest, TheFoodTableOpensFromThePanelForItsRow) {
    Form1& w = start();
    ItemGrid& g = *w.Grid();
    QTest::mouseClick(g.TextNa[2], Qt::LeftButton);
    QTest::mouseClick(panel().Text3, Qt::LeftButton);
    ASSERT_TRUE(panel().CommandFoods->isVisible());
    EXPECT_TRUE(panel().rect().contains(panel().CommandFoods->geometry()));
    QTest::mouseClick(panel().CommandFoods, Qt::LeftButton);
    FoodTableWindow* table = w.FoodTable().built();
    ASSERT_TRUE(table && table->isVisible());
    TypeCommitted(table->searchBox(), QStringLiteral("うめぼし"));
    QTest::keyClick(table->searchBox(), Qt::Key_Return);
    QTest::keyClick(table->gramsBox(), Qt::Key_Return);
    EXPECT_TRUE(g.Check[2]->isChecked());
    EXPECT_TRUE(w.ItemTable()[2].ItemName.contains(QStringLiteral("梅干し")));
    EXPECT_EQ(w.ItemTable()[0].ItemName, "");
}

}  // namespace
}  // namespace morv::test
