// The main view's own boxes: what the date and target boxes let through, the
// calendar pick, the status line reset, the total's colour and the tab order.

#include "MainWindowFixture.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "platform/CalendarControl.h"
#include "ui/Colours.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

namespace morv::test {
namespace {

using MainWindowInput = MainWindowFixture;

TEST_F(MainWindowInput, DateBoxKeepsOnlyDigitsAndSlashes) {
    Form1& w = start();
    w.Text1_0()->clear();
    QTest::keyClicks(w.Text1_0(), "2024-01-05");
    EXPECT_EQ(w.Text1_0()->text(), "20240105");
    QTest::keyClicks(w.Text1_0(), "a. ");
    QTest::keyClick(w.Text1_0(), Qt::Key_Return);
    EXPECT_EQ(w.Text1_0()->text(), "20240105");
    QTest::keyClick(w.Text1_0(), Qt::Key_Backspace);
    QTest::keyClicks(w.Text1_0(), "/");
    EXPECT_EQ(w.Text1_0()->text(), "2024010/");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(MainWindowInput, TargetBoxRefusesASecondPointWithAMessage) {
    Form1& w = start();
    w.TextMoku()->setFocus();
    QTest::keyClicks(w.TextMoku(), "7.5");
    QTest::keyClicks(w.TextMoku(), ".");
    EXPECT_EQ(w.TextMoku()->text(), "7.5");
    EXPECT_EQ(dialogs.notices(), QStringList{"すでに小数点が入力されています"});
    QTest::keyClicks(w.TextMoku(), "x-");
    QTest::keyClick(w.TextMoku(), Qt::Key_Return);
    EXPECT_EQ(w.TextMoku()->text(), "7.5") << "other characters go without a message";
    EXPECT_EQ(dialogs.notices().size(), 1);
    QTest::keyClicks(w.TextMoku(), "123456789");
    EXPECT_EQ(w.TextMoku()->text(), "7.512345") << "at most 8 characters are typed";
}

TEST_F(MainWindowInput, TargetBoxSelectsItsTextAndClearsTheStatusOnFocus) {
    Form1& w = start();
    w.TextMoku()->setText("6.5");
    w.ShowStatus("old message");
    w.Calendar1()->show();
    w.TextMoku()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.TextMoku()->selectedText(), "6.5");
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_FALSE(w.Calendar1()->isVisible());
}

TEST_F(MainWindowInput, TypingGoesOnWhenTheWindowComesBack) {
    Form1& w = start();
    w.Grid()->TextName[0]->setText("soup");
    w.Grid()->Check[0]->setChecked(true);
    for (QLineEdit* box : {w.TextMoku(), w.Grid()->TextEnbun[0], w.Picture1()->Text3, w.Picture1()->Text4}) {
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, "7.5");
        QTest::keyClicks(box, ".");
        // A message box (or another program) takes the window's focus and gives it back.
        QWidget other;
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        other.hide();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        ASSERT_TRUE(box->hasFocus()) << box->objectName().toStdString();
        QTest::keyClicks(box, "0");
        EXPECT_EQ(box->text(), "7.50") << box->objectName().toStdString();
    }
}

TEST_F(MainWindowInput, TotalTurnsSalmonOnlyAboveTheTarget) {
    put("Kiroku.txt", "\"1\",\"a\",\"\",\"6\"\r\n\"1\",\"\",\"\",\"5\"\r\n\"1\",\"b\",\"\",\"x\"\r\n");
    Form1& w = start();
    EXPECT_EQ(w.LabelEnbun()->text(), "6") << "unnamed and non-numeric items do not count";
    const std::pair<const char*, bool> cases[] = {{"6", false}, {"5.99", true}, {"", false}, {"7", false}};
    for (auto [target, salmon] : cases) {
        w.TextMoku()->setText(target);
        EXPECT_EQ(Background(w.LabelEnbun()), salmon ? colour::Salmon : colour::WindowBackground()) << target;
    }
}

TEST_F(MainWindowInput, KeysInTheDateBoxResetTheStatusLine) {
    Form1& w = start();
    w.ShowStatus("日付が誤っています");
    SetBackground(w.Text1_0(), colour::Pink);
    QTest::keyClick(w.Text1_0(), Qt::Key_Left);
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_EQ(Background(w.Text1_0()), colour::White);

    // While an import is previewed the reminder stays.
    w.Label46()->setText("Morvaline20240105.TXT");
    SetBackground(w.Text1_0(), colour::Pink);
    QTest::keyClick(w.Text1_0(), Qt::Key_Left);
    EXPECT_EQ(w.Label3()->text(), "読み込んだファイルの内容を表示しています");
    EXPECT_EQ(Background(w.Text1_0()), colour::Pink);
}

TEST_F(MainWindowInput, ClickingTheDateBoxHidesTheCalendar) {
    Form1& w = start();
    w.Calendar1()->show();
    w.ShowStatus("x");
    QTest::mouseClick(w.Text1_0(), Qt::LeftButton);
    EXPECT_FALSE(w.Calendar1()->isVisible());
    EXPECT_EQ(w.Label3()->text(), "");
}

TEST_F(MainWindowInput, PickingADayWritesItIntoTheDateBox) {
    Form1& w = start();
    QTest::mouseClick(w.Command16(), Qt::LeftButton);
    ASSERT_TRUE(w.Calendar1()->isVisible());
    EXPECT_EQ(w.Calendar1()->selectedDate(), QDate(2024, 1, 5));
    w.Calendar1()->setYear(2025);
    w.Calendar1()->setMonth(3);
    w.Calendar1()->setDay(5);
    auto* view = w.Calendar1()->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(w.Text1_0()->text(), "2025/03/05");
    EXPECT_FALSE(w.Calendar1()->isVisible());
    EXPECT_TRUE(w.Text1_0()->hasFocus());
}

TEST_F(MainWindowInput, CalendarSettersLandOnTheIntendedDay) {
    Form1& w = start();
    w.Calendar1()->setDate(QDate(2024, 1, 31));
    // Month first would meet 2024/02/31; the day is kept in range on the way.
    w.Calendar1()->setYear(2023);
    w.Calendar1()->setMonth(2);
    w.Calendar1()->setDay(28);
    EXPECT_EQ(w.Calendar1()->selectedDate(), QDate(2023, 2, 28));
}

TEST_F(MainWindowInput, CalendarOpensOnTheTypedDayOrToday) {
    Form1& w = start();
    w.Text1_0()->setText("20230704");
    QTest::mouseClick(w.Command16(), Qt::LeftButton);
    EXPECT_EQ(w.Calendar1()->selectedDate(), QDate(2023, 7, 4));
    w.Text1_0()->setText("2023/13/04");
    QTest::mouseClick(w.Command16(), Qt::LeftButton);
    EXPECT_EQ(w.Calendar1()->selectedDate(), QDate(2024, 1, 5));
}

TEST_F(MainWindowInput, DayButtonsStepThroughTheCalendar) {
    Form1& w = start();
    w.Text1_0()->setText("2024/03/01");
    QTest::mouseClick(w.Command9(), Qt::LeftButton);
    EXPECT_EQ(w.Text1_0()->text(), "2024/02/29");
    QTest::mouseClick(w.Command10(), Qt::LeftButton);
    QTest::mouseClick(w.Command10(), Qt::LeftButton);
    EXPECT_EQ(w.Text1_0()->text(), "2024/03/02");
    EXPECT_TRUE(w.Text1_0()->hasFocus());
    w.Text1_0()->setText("2024/02/30");
    QTest::mouseClick(w.Command9(), Qt::LeftButton);
    EXPECT_EQ(w.Text1_0()->text(), "2024/02/30") << "an invalid date stays";
}

TEST_F(MainWindowInput, TabRunsThroughTheMainViewInOrder) {
    Form1& w = start();
    QList<QWidget*> forward{w.TextMoku()};
    for (int r = 0; r < 16; ++r)
        forward += {w.Grid()->TextName[r], w.Grid()->TextNa[r], w.Grid()->TextEnbun[r]};
    // Leaving the weight box by Tab goes back to the date box.
    forward += {w.Picture1()->Text3, w.Picture1()->Text4, w.Text1_0()};
    w.Text1_0()->setFocus();
    for (QWidget* next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), next) << qPrintable(next->objectName());
    }
    // The commands and the date buttons follow the weight box in the chain.
    const QList<QWidget*> backward{w.Command10(), w.Command16(), w.Command9(), w.Command1(),
                                   w.Command8(),  w.Command3(),  w.Command2(), w.Picture1()->Text4};
    for (QWidget* previous : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(QApplication::focusWidget(), previous) << qPrintable(previous->objectName());
    }
}

TEST_F(MainWindowInput, WindowIsPlacedCentredAcrossAndHighOnTheScreen) {
    Form1& w = start();
    const QRect screen = w.screen()->geometry();
    const int left = std::max(screen.x(), screen.x() + (screen.width() - 985) / 2);
    const int top = std::max(screen.y(), screen.y() + (screen.height() / 2 - 673 / 2) / 2);
    EXPECT_EQ(w.pos(), QPoint(left, top));
}

}  // namespace
}  // namespace morv::test
