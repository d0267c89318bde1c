// The item grid as a window onto the table: the rows' controls, the day's
// total as the user builds it, page switching, the selection and the colours.

#include "GridFixture.h"
#include "grid/WeightPanel.h"
#include "platform/CalendarControl.h"

namespace morv::test {
namespace {

using GridPages = GridFixture;

TEST_F(GridPages, EveryRowHasItsControlsOnTwoLinesOfItsPanel) {
    Form1& w = start();
    struct Control {
        const char* base;
        const char* caption;
        int line;
    };
    const Control controls[] = {
        {"Check", nullptr, 1},        {"LabelName", "品名", 1},  {"TextName", nullptr, 1},
        {"Command2b", "x2", 1},       {"Command3b", "x3", 1},    {"Command5b", "x5", 1},
        {"Command2w", "1/2", 1},      {"Command3w", "1/3", 1},   {"Command5w", "1/5", 1},
        {"LabelNa", "ナトリウム", 2}, {"TextNa", nullptr, 2},    {"Labelmg", "ミリグラム", 2},
        {"CommandNa", "塩分換算", 2}, {"TextEnbun", nullptr, 2}, {"Labelg", "グラム", 2},
    };
    for (int r = 0; r < 16; ++r) {
        for (const Control& c : controls) {
            const QString name = ArrayName(c.base, r);
            SCOPED_TRACE(name.toStdString());
            auto* widget = w.findChild<QWidget*>(name);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->parentWidget(), w.Pictureb()[r]);
            EXPECT_TRUE(w.Pictureb()[r]->rect().contains(widget->geometry()));
            const int middle = widget->geometry().center().y();
            EXPECT_EQ(middle < w.Pictureb()[r]->height() / 2, c.line == 1);
            EXPECT_EQ(widget->font().pointSize(), 8);
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                EXPECT_EQ(label->text(), c.caption);
            }
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                EXPECT_EQ(button->text(), c.caption);
                EXPECT_EQ(button->focusPolicy(), Qt::ClickFocus);
            }
        }
        EXPECT_EQ(w.Grid()->Check[r]->focusPolicy(), Qt::ClickFocus);
        EXPECT_EQ(w.Grid()->TextEnbun[r]->objectName(), ArrayName("TextEnbun", r));
    }
}

TEST_F(GridPages, TypingNameAndSaltAndTickingBuildsTheDayTotal) {
    Form1& w = start();
    w.TextMoku()->setText("2");
    ItemGrid& g = grid();

    type(g.TextName[0], "miso");
    EXPECT_EQ(w.ItemTable()[0].ItemName, "miso");
    EXPECT_EQ(Background(w.Pictureb()[0]), colour::Peach) << "a named row";
    EXPECT_EQ(Background(g.LabelNa[0]), colour::Peach);
    EXPECT_EQ(Background(g.TextName[0]), colour::WindowBackground()) << "not ticked yet";
    type(g.TextEnbun[0], "1.5");
    EXPECT_EQ(w.ItemTable()[0].ItemSalt, "1.5");
    EXPECT_EQ(w.LabelEnbun()->text(), "0");

    tick(0);
    EXPECT_EQ(w.ItemTable()[0].Checked, "1");
    EXPECT_EQ(Background(g.TextName[0]), colour::Pink);
    EXPECT_EQ(w.LabelEnbun()->text(), "1.5");
    EXPECT_EQ(Background(w.LabelEnbun()), colour::WindowBackground());

    type(g.TextName[1], "pickles");
    type(g.TextEnbun[1], "0.75");
    tick(1);
    EXPECT_EQ(w.LabelEnbun()->text(), "2.25");
    EXPECT_EQ(Background(w.LabelEnbun()), colour::Salmon) << "over the target of 2";

    tick(1);
    EXPECT_EQ(w.ItemTable()[1].Checked, "0");
    EXPECT_EQ(w.LabelEnbun()->text(), "1.5");
    EXPECT_EQ(Background(w.LabelEnbun()), colour::WindowBackground());
    EXPECT_EQ(Background(g.TextName[1]), colour::WindowBackground());

    // Emptying a counted row's name takes it out at once.
    type(g.TextName[0], "");
    QTest::keyClick(g.TextName[0], Qt::Key_Backspace);
    EXPECT_EQ(w.ItemTable()[0].ItemName, "");
    EXPECT_EQ(w.LabelEnbun()->text(), "0");
    EXPECT_EQ(Background(w.Pictureb()[0]), colour::ButtonFace());
}

TEST_F(GridPages, ANameOfBlanksLeavesTheRowUnnamed) {
    Form1& w = start();
    tick(3);
    w.Grid()->TextEnbun[3]->setText("2");
    for (const QString& name : {QStringLiteral("   "), QStringLiteral("\u3000 ")}) {
        w.Grid()->TextName[3]->setText(name);
        EXPECT_EQ(w.ItemTable()[3].ItemName, "");
        EXPECT_EQ(Background(w.Pictureb()[3]), colour::ButtonFace());
        EXPECT_EQ(Background(w.Grid()->TextName[3]), colour::WindowBackground());
        EXPECT_EQ(w.LabelEnbun()->text(), "0");
    }
}

TEST_F(GridPages, NamesFromTheFileLoseTheirBlanksWhenShown) {
    records({{u"1", u"  ", u"", u"1"}, {u"1", u" みそ ", u"", u"2"}});
    Form1& w = start();
    EXPECT_EQ(w.ItemTable()[0].ItemName, "");
    EXPECT_EQ(Background(w.Pictureb()[0]), colour::ButtonFace());
    EXPECT_EQ(w.LabelEnbun()->text(), "2") << "a name of blanks does not count";
    w.Command1()->click();
    EXPECT_TRUE(
        DecodeCp932(bytes("Kiroku.txt")).contains(QStringLiteral("\r\n\"1\",\"みそ\",\"\",\"2\"\r\n")));
}

TEST_F(GridPages, SwitchingPagesKeepsEveryRowAsItWasLeft) {
    Form1& w = start();
    ItemGrid& g = grid();
    type(g.TextName[0], "  soup ");
    g.TextNa[0]->setText(" 120 ");  // pasted text is not filtered
    g.TextEnbun[0]->setText(" 1.5 ");
    tick(0);
    type(g.TextName[15], "bread");
    type(g.TextNa[15], "470");
    EXPECT_EQ(w.LabelEnbun()->text(), "1.5");

    page(1);
    EXPECT_EQ(w.ItemPage(), 1);
    for (int r : {0, 15}) {
        EXPECT_EQ(g.TextName[r]->text(), "");
        EXPECT_EQ(g.TextNa[r]->text(), "");
        EXPECT_FALSE(g.Check[r]->isChecked());
        EXPECT_EQ(Background(w.Pictureb()[r]), colour::ButtonFace());
    }
    type(g.TextName[0], "second page");
    EXPECT_EQ(w.ItemTable()[16].ItemName, "second page");
    EXPECT_EQ(w.ItemTable()[0].ItemName, "soup");

    page(0);
    EXPECT_EQ(g.TextName[0]->text(), "soup") << "stored without its blanks";
    EXPECT_EQ(g.TextNa[0]->text(), " 120 ");
    EXPECT_EQ(g.TextEnbun[0]->text(), " 1.5 ");
    EXPECT_TRUE(g.Check[0]->isChecked());
    EXPECT_EQ(Background(g.TextName[0]), colour::Pink);
    EXPECT_EQ(Background(w.Pictureb()[0]), colour::Peach);
    EXPECT_EQ(g.TextName[15]->text(), "bread");
    EXPECT_EQ(g.TextNa[15]->text(), "470");
    EXPECT_FALSE(g.Check[15]->isChecked());
    EXPECT_EQ(w.LabelEnbun()->text(), "1.5") << "showing a page does not change the total";
    const ItemRecord expected{"1", "soup", " 120 ", " 1.5 "};
    EXPECT_EQ(w.ItemTable()[0], expected);
}

TEST_F(GridPages, ShowingAPageFillsAnEmptyTickAndKeepsOddOnes) {
    records({{u"", u"  spaced  ", u"", u"1"},
             {u"x", u"odd", u"", u"2"},
             {u"1", u"ok", u"9.9.9", u"3"},
             {u" 1", u"blank one", u"", u"4"}});
    Form1& w = start();
    ItemGrid& g = grid();
    const ItemRecord expected[] = {
        {"0", "spaced", "", "1"},
        {"x", "odd", "", "2"},
        {"1", "ok", "9.9.9", "3"},
        {" 1", "blank one", "", "4"},
    };
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(w.ItemTable()[r], expected[r]) << r;
        EXPECT_EQ(g.Check[r]->isChecked(), r == 2) << r;
    }
    EXPECT_EQ(g.TextName[0]->text(), "  spaced  ") << "shown as stored";
    EXPECT_EQ(w.LabelEnbun()->text(), "3");
    page(1);
    page(0);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(w.ItemTable()[r], expected[r]) << r;
}

TEST_F(GridPages, SwitchingPagesClearsTheSelectionAndItsHighlight) {
    Form1& w = start();
    ItemGrid& g = grid();
    w.Picture1()->Text3->setText("350");
    type(g.TextNa[5], "");
    ASSERT_TRUE(w.SodiumAreaSelected());
    ASSERT_EQ(w.SelectedRow(), 5);
    EXPECT_EQ(Background(g.TextNa[5]), colour::Yellow);
    w.ShowStatus("old");
    w.Calendar1()->show();

    page(0);  // the page shown: nothing reloads, the selection stays
    EXPECT_TRUE(w.SodiumAreaSelected());
    EXPECT_EQ(w.SelectedRow(), 5);
    EXPECT_EQ(Background(g.TextNa[5]), colour::Yellow);
    EXPECT_EQ(QApplication::focusWidget(), w.Text1_0());
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_FALSE(w.Calendar1()->isVisible());

    page(3);
    EXPECT_FALSE(w.SodiumAreaSelected());
    EXPECT_FALSE(w.SaltAreaSelected());
    EXPECT_EQ(w.SelectedRow(), 0);
    EXPECT_EQ(Background(g.TextNa[5]), colour::White);
    EXPECT_EQ(QApplication::focusWidget(), w.Text1_0());

    // The same for a salt area.
    type(g.TextEnbun[7], "");
    ASSERT_TRUE(w.SaltAreaSelected());
    EXPECT_EQ(Background(g.TextEnbun[7]), colour::Yellow);
    page(2);
    EXPECT_FALSE(w.SaltAreaSelected());
    EXPECT_EQ(Background(g.TextEnbun[7]), colour::White);
    w.Picture1()->Text3->clear();
}

TEST_F(GridPages, LeavingAnEditedSaltByAPageButtonCountsItOnItsOwnPage) {
    records({{u"1", u"soup", u"", u"1"}});
    Form1& w = start();
    type(grid().TextEnbun[0], "3");
    EXPECT_EQ(w.LabelEnbun()->text(), "1") << "typing alone does not recompute";
    EXPECT_TRUE(w.EnterPrompt());
    page(4);
    EXPECT_EQ(w.ItemTable()[0].ItemSalt, "3");
    EXPECT_EQ(w.LabelEnbun()->text(), "3");
    EXPECT_FALSE(w.EnterPrompt());
    EXPECT_EQ(w.Label3()->text(), "");
}

TEST_F(GridPages, PageButtonsShowWhatTheirPagesHold) {
    records({{u"0", u"named", u"", u"1"}});
    Form1& w = start();
    // Page 3 (slots 32..47) counts; page 5 has only a name; page 9 has a
    // ticked name without a numeric salt.
    w.diary().SetItem(40, {"1", "counted", "", "0.5"});
    w.diary().SetItem(80, {"0", "named", "", ""});
    w.diary().SetItem(144, {"1", "named", "", "abc"});
    w.diary().SetItem(145, {"1", "", "", "3"});
    grid().PaintPageButtons();
    auto expect = [&](std::array<QColor, 10> colours) {
        for (int p = 0; p < 10; ++p) EXPECT_EQ(Background(w.CommandP()[p]), colours[p]) << "page " << p + 1;
    };
    const QColor S = colour::Salmon, Y = colour::LightYellow, O = colour::LightOrange, W = colour::White;
    expect({S, W, O, W, W, Y, W, W, W, Y});

    // Ticking page 1's item with a numeric salt counts it at once, but its
    // button waits for the next repaint.
    tick(0);
    EXPECT_EQ(w.LabelEnbun()->text(), "1.5");
    page(5);
    expect({O, W, O, W, W, S, W, W, W, Y});
    page(0);
    expect({S, W, O, W, W, Y, W, W, W, Y});
}

}  // namespace
}  // namespace morv::test
