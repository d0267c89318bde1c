// Blood pressure on the salt-list screen: the display toggle, the date box and
// its calendar, registering, replacing and deleting a reading, the bars and
// their shift, and the keys of the two reading boxes.

#include "SaltListFixture.h"
#include "diary/DiaryBooks.h"

namespace morv::test {
namespace {

const QString NotLogged = QStringLiteral("塩分登録されていない日付に血圧は登録できません");
const QString Overwrite =
    QStringLiteral("指定された日付の血圧はすでに登録されています\r\n\r\n内容を書き換えますか？");
const QString DeleteQuestion = QStringLiteral("指定された日付の血圧を削除してよろしいですか？");

class SaltListPressure : public SaltListFixture {
protected:
    // 2024/01/01 .. 2024/01/05 (the main date); the 3rd and 5th carry readings.
    static LogList week() {
        LogList log = days(5, QDate(2024, 1, 1));
        log[2].PressureLow = "70";
        log[2].PressureHigh = "110";
        log[4].PressureLow = "85";
        log[4].PressureHigh = "135";
        return log;
    }

    // Opens the list on `log` with the display on.
    SaltListScreen& openOn(LogList log) {
        SaltListScreen& s = openWith(std::move(log));
        s.Command40->click();
        return s;
    }

    void typeReading(const char* first, const char* second) {
        screen().Text5->setText(QString::fromLatin1(first));
        screen().Text6->setText(QString::fromLatin1(second));
    }

    // The bar of row r in twips, as pixels: left at low * 30 + shift + 4000.
    void expectBar(int r, int low, int high, int shift = 3000) {
        QLabel* bar = screen().LabelE4[r];
        ASSERT_TRUE(bar->isVisible()) << r;
        const double left = low * 30.0 + shift + 4000;
        EXPECT_EQ(bar->x(), px(left)) << r;
        EXPECT_EQ(bar->width(), px(left + std::max(0, high - low) * 30) - px(left)) << r;
    }
};

TEST_F(SaltListPressure, TheToggleShowsThePanelsAndTheBars) {
    SaltListScreen& s = openWith(week());
    Form1& w = *form;
    EXPECT_FALSE(s.Picture5->isVisible());
    s.Text5->setText("1");
    w.Text1_0()->setText("2024/01/03");
    s.Command40->click();
    EXPECT_EQ(s.Command40->text(), "血圧非表示");
    EXPECT_TRUE(s.Picture5->isVisible());
    EXPECT_TRUE(s.Picture6->isVisible());
    EXPECT_EQ(s.Text2->text(), "2024/01/03");
    EXPECT_EQ(s.Text5->text(), "");
    EXPECT_FALSE(s.Command39->isEnabled());
    EXPECT_TRUE(s.Command38->isEnabled()) << "2024/01/03 has a reading";
    EXPECT_TRUE(s.Text5->hasFocus());
    const bool shown[] = {false, false, true, false, true};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(s.LabelE4[r]->isVisible(), shown[r]) << r;
    EXPECT_EQ(s.LabelE4[2]->text(), "70-110");
    EXPECT_EQ(Background(s.LabelE4[2]), colour::Lavender);
    expectBar(2, 70, 110);
    expectBar(4, 85, 135);

    s.Command35->click();
    s.Command40->click();
    EXPECT_EQ(s.Command40->text(), "血圧表示");
    EXPECT_FALSE(s.Picture5->isVisible());
    EXPECT_FALSE(s.Picture6->isVisible());
    EXPECT_FALSE(s.Calendar2->isVisible());
    for (QLabel* bar : s.LabelE4) EXPECT_FALSE(bar->isVisible());
}

TEST_F(SaltListPressure, RegisteringStoresTheLowerNumberFirst) {
    SaltListScreen& s = openOn(week());
    s.Command37->click();  // 2024/01/04, no reading yet
    EXPECT_FALSE(s.Command38->isEnabled());
    QTest::keyClicks(s.Text5, "120");
    EXPECT_FALSE(s.Command39->isEnabled()) << "both boxes are needed";
    QTest::keyClicks(s.Text6, "80");
    EXPECT_TRUE(s.Command39->isEnabled());
    s.Command39->click();
    EXPECT_EQ(form->DailyLog()[3].PressureLow, "80");
    EXPECT_EQ(form->DailyLog()[3].PressureHigh, "120");
    EXPECT_EQ(s.LabelE4[3]->text(), "80-120");
    expectBar(3, 80, 120);
    EXPECT_EQ(s.LabelE4[3]->width(), 1200 / 15) << "40 mmHg is 1200 twips";
    EXPECT_TRUE(s.Command38->isEnabled());
    EXPECT_EQ(s.Text5->text(), "");
    EXPECT_EQ(s.Text6->text(), "");
    EXPECT_FALSE(s.Command39->isEnabled());
    EXPECT_TRUE(s.Text5->hasFocus());
    EXPECT_TRUE(dialogs.calls.empty());

    // Equal values: the second box's text is the lower one, both as typed.
    s.Command37->click();  // 2024/01/03 already has a reading
    typeReading("80", "080");
    dialogs.answers = {true};
    s.Command39->click();
    EXPECT_EQ(dialogs.questions(), QStringList{Overwrite});
    EXPECT_EQ(form->DailyLog()[2].PressureLow, "080");
    EXPECT_EQ(form->DailyLog()[2].PressureHigh, "80");
    EXPECT_EQ(s.LabelE4[2]->text(), "080-80");
    EXPECT_EQ(s.LabelE4[2]->width(), 0);
}

TEST_F(SaltListPressure, ADayWithoutSaltIsRefusedAndAnswersDecideOverwrites) {
    SaltListScreen& s = openOn(week());
    s.Command36->click();
    EXPECT_EQ(s.Text2->text(), "2024/01/06");
    typeReading("130", "90");
    const LogList before = form->DailyLog();
    s.Command39->click();
    EXPECT_EQ(dialogs.notices(), QStringList{NotLogged});
    EXPECT_EQ(form->DailyLog(), before);
    EXPECT_EQ(s.Text5->text(), "130") << "nothing is emptied on a refusal";

    struct Case {
        bool yes;
        const char* low;
        const char* high;
    };
    for (const Case& c : {Case{false, "85", "135"}, Case{true, "90", "130"}}) {
        SCOPED_TRACE(c.yes);
        dialogs.calls.clear();
        s.Text2->setText("2024/01/05");
        typeReading("130", "90");
        dialogs.answers = {c.yes};
        s.Command39->click();
        EXPECT_EQ(dialogs.questions(), QStringList{Overwrite});
        EXPECT_EQ(form->DailyLog()[4].PressureLow, c.low);
        EXPECT_EQ(form->DailyLog()[4].PressureHigh, c.high);
        EXPECT_EQ(s.LabelE4[4]->text(), QString::fromLatin1(c.low) + "-" + c.high);
        EXPECT_EQ(s.Text5->text(), c.yes ? "" : "130");
    }
}

TEST_F(SaltListPressure, DeletingAsksAndEmptiesTheReading) {
    SaltListScreen& s = openOn(week());
    ASSERT_TRUE(s.Command38->isEnabled());
    s.Command38->click();  // the empty answer queue says No
    EXPECT_EQ(dialogs.questions(), QStringList{DeleteQuestion});
    EXPECT_EQ(form->DailyLog()[4].PressureLow, "85");
    EXPECT_TRUE(s.LabelE4[4]->isVisible());
    EXPECT_TRUE(s.Text5->hasFocus());

    dialogs.answers = {true};
    s.Command38->click();
    EXPECT_EQ(form->DailyLog()[4].PressureLow, "");
    EXPECT_EQ(form->DailyLog()[4].PressureHigh, "");
    EXPECT_EQ(form->DailyLog()[4].DaySalt, "5");
    EXPECT_FALSE(s.LabelE4[4]->isVisible());
    EXPECT_FALSE(s.Command38->isEnabled());
    EXPECT_TRUE(s.Text5->hasFocus());

    // A date outside the log: the question comes, nothing changes.
    s.Command38->setEnabled(true);
    s.Text2->setText("2030/01/01");
    const LogList before = form->DailyLog();
    dialogs.answers = {true};
    s.Command38->click();
    EXPECT_EQ(form->DailyLog(), before);
}

TEST_F(SaltListPressure, ShiftMovesEveryBarAndStopsAtZero) {
    SaltListScreen& s = openWith(week());
    form->diary().SetPressureBarShift(100);
    s.Command40->click();
    expectBar(2, 70, 110, 100);
    s.Command41->click();
    EXPECT_EQ(form->PressureBarShift(), 0);
    expectBar(2, 70, 110, 0);
    expectBar(4, 85, 135, 0);
    s.Command41->click();
    EXPECT_EQ(form->PressureBarShift(), 0);
    s.Command42->click();
    EXPECT_EQ(form->PressureBarShift(), 200);
    expectBar(2, 70, 110, 200);
    EXPECT_TRUE(s.Text5->hasFocus());
    EXPECT_TRUE(dialogs.calls.empty());
    form->close();
    EXPECT_EQ(bytes("Atu.txt"), "200\r\n") << "the shift is kept for the next run";
}

TEST_F(SaltListPressure, EnterMovesBetweenTheBoxesAndRegistersWhenBothAreFilled) {
    SaltListScreen& s = openOn(week());
    s.Command37->click();  // 2024/01/04
    QTest::keyClicks(s.Text5, "120");
    QTest::keyClick(s.Text5, Qt::Key_Return);
    EXPECT_TRUE(s.Text6->hasFocus()) << "one box filled: no registration, on to the second";
    EXPECT_EQ(form->DailyLog()[3].PressureLow, "");
    QTest::keyClicks(s.Text6, "80");
    QTest::keyClick(s.Text6, Qt::Key_Return);
    EXPECT_EQ(form->DailyLog()[3].PressureLow, "80");
    EXPECT_TRUE(s.Text5->hasFocus());

    // Only the second box filled: Enter there goes to the first.
    s.Text6->setFocus();
    QTest::keyClicks(s.Text6, "75");
    QTest::keyClick(s.Text6, Qt::Key_Return);
    EXPECT_TRUE(s.Text5->hasFocus());

    // A refused registration leaves both boxes filled; Enter in the first goes on.
    s.Text2->setText("2025/01/01");
    QTest::keyClicks(s.Text5, "130");
    QTest::keyClick(s.Text5, Qt::Key_Return);
    EXPECT_EQ(dialogs.notices(), QStringList{NotLogged});
    EXPECT_TRUE(s.Text6->hasFocus());
    QTest::keyClick(s.Text6, Qt::Key_Return);
    EXPECT_TRUE(s.Text6->hasFocus()) << "both filled: the focus stays";
    EXPECT_EQ(dialogs.notices().size(), 2);
}

TEST_F(SaltListPressure, ReadingBoxesTakeThreeDigitsOnly) {
    SaltListScreen& s = openOn(week());
    QTest::keyClicks(s.Text5, "1a2.-3 4");
    EXPECT_EQ(s.Text5->text(), "123");
    s.Text6->setFocus();
    s.Text6->insert("9x");
    EXPECT_EQ(s.Text6->text(), "") << "pasted text is held to digits too";
    s.Text6->insert("95");
    EXPECT_EQ(s.Text6->text(), "95");
    s.Text5->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(s.Text5->selectedText(), "123");
}

TEST_F(SaltListPressure, DateButtonsAndTheCalendarKeepTheDeleteButtonHonest) {
    SaltListScreen& s = openOn(week());
    struct Step {
        QPushButton* button;
        const char* date;
        bool deletable;
    };
    const Step steps[] = {
        {s.Command37, "2024/01/04", false}, {s.Command37, "2024/01/03", true},
        {s.Command37, "2024/01/02", false}, {s.Command37, "2024/01/01", false},
        {s.Command37, "2023/12/31", false}, {s.Command36, "2024/01/01", false},
    };
    for (const Step& step : steps) {
        step.button->click();
        EXPECT_EQ(s.Text2->text(), step.date);
        EXPECT_EQ(s.Command38->isEnabled(), step.deletable) << step.date;
        EXPECT_TRUE(s.Text5->hasFocus());
    }
    s.Text2->setText("2024/02/30");
    s.Command36->click();
    EXPECT_EQ(s.Text2->text(), "2024/02/30") << "not a date: left as it is";

    // "CL" opens on the box's date, or on today when it holds none.
    s.Text2->setText("20240103");
    s.Command35->click();
    EXPECT_TRUE(s.Calendar2->isVisible());
    EXPECT_EQ(s.Calendar2->selectedDate(), QDate(2024, 1, 3));
    EXPECT_EQ(s.Text2->text(), "20240103") << "the box itself is not rewritten";
    s.Text2->setText("abc");
    s.Command35->click();
    EXPECT_EQ(s.Calendar2->selectedDate(), QDate(2024, 1, 5));

    s.Calendar2->setDate(QDate(2024, 1, 3));
    emit s.Calendar2->clicked(QDate(2024, 1, 3));
    EXPECT_EQ(s.Text2->text(), "2024/01/03");
    EXPECT_FALSE(s.Calendar2->isVisible());
    EXPECT_TRUE(s.Command38->isEnabled());
    EXPECT_TRUE(s.Text5->hasFocus());

    // A click on the date box closes the calendar and hands over to the reading.
    s.Command35->click();
    QTest::mouseClick(s.Text2, Qt::LeftButton);
    EXPECT_FALSE(s.Calendar2->isVisible());
    EXPECT_TRUE(s.Text5->hasFocus());

    // Dates match as texts only.
    s.Text2->setText("2024/1/3");
    s.Command36->click();
    s.Command37->click();
    EXPECT_EQ(s.Text2->text(), "2024/01/03");
    EXPECT_TRUE(s.Command38->isEnabled());
    s.Text2->setFocus();
    s.Text2->selectAll();
    QTest::keyClicks(s.Text2, "2024/1/3");
    EXPECT_FALSE(s.Command38->isEnabled()) << "a typed date is checked as it changes";
}

TEST_F(SaltListPressure, DateButtonsLeaveTheFirstAndLastDayOfTheCalendar) {
    SaltListScreen& s = openOn(week());
    Form1& w = *form;
    const std::tuple<QLineEdit*, QPushButton*, QString> cases[] = {{w.Text1_0(), w.Command9(), "1000/01/01"},
                                                                   {w.Text1_0(), w.Command10(), "9999/12/31"},
                                                                   {s.Text2, s.Command37, "1000/01/01"},
                                                                   {s.Text2, s.Command36, "9999/12/31"}};
    for (const auto& [box, button, date] : cases) {
        box->setText(date);
        button->click();
        EXPECT_EQ(box->text(), date) << button->objectName().toStdString();
    }
}

TEST_F(SaltListPressure, BarsNeverCoverTheCalendarOrTheEntryPanel) {
    LogList log = days(3, QDate(2024, 1, 3));
    log[2].PressureLow = "-120";  // from an edited file: the bar starts far left
    log[2].PressureHigh = "200";
    SaltListScreen& s = openOn(log);
    s.Command35->click();
    form->diary().SetPressureBarShift(200);  // one step of "<" from the left end
    s.Command41->click();
    const QLabel* bar = s.LabelE4[2];
    ASSERT_TRUE(bar->isVisible());
    QWidget* const underBar[] = {s.Command39, s.Calendar2.get()};
    for (QWidget* covered : underBar) {
        // A point of the bar that is also on the button or the calendar.
        const QPoint onBar(covered->mapTo(&s, covered->rect().center()).x(), bar->geometry().center().y());
        ASSERT_TRUE(bar->geometry().contains(onBar) && covered->rect().contains(covered->mapFrom(&s, onBar)));
        QWidget* hit = s.childAt(onBar);
        EXPECT_TRUE(hit == covered || covered->isAncestorOf(hit)) << covered->objectName().toStdString();
    }
}

TEST_F(SaltListPressure, BarsFollowThePageShownAndOnlyWhileTheDisplayIsOn) {
    LogList log = days(25, QDate(2024, 1, 1));
    log[3].PressureLow = "80";
    log[3].PressureHigh = "120";
    log[21].PressureLow = "90";
    log[21].PressureHigh = "140";
    SaltListScreen& s = openWith(log);
    s.Command17->click();  // page 1, display off
    for (QLabel* bar : s.LabelE4) EXPECT_FALSE(bar->isVisible());
    s.Command40->click();
    EXPECT_TRUE(s.LabelE4[3]->isVisible());
    s.Command18->click();  // page 2: the bar moves to record 21's row
    EXPECT_FALSE(s.LabelE4[3]->isVisible());
    EXPECT_EQ(s.LabelE4[1]->text(), "90-140");
    for (int r = 5; r < 20; ++r) EXPECT_FALSE(s.LabelE4[r]->isVisible()) << r;

    // A page typed but not yet shown does not pull the bars away from the rows.
    s.TextPAGE->setText("1");
    s.Text2->setText("2024/01/22");
    typeReading("95", "145");
    dialogs.answers = {true};
    s.Command39->click();
    EXPECT_EQ(s.LabelE1[1]->text(), "2024/01/22");
    EXPECT_EQ(s.LabelE4[1]->text(), "95-145");
    EXPECT_FALSE(s.LabelE4[3]->isVisible());
    s.TextPAGE->setText("0");
    s.Command42->click();
    EXPECT_TRUE(s.LabelE4[1]->isVisible());
}

TEST_F(SaltListPressure, ReadingsFromAnEditedFileNeverBreakTheScreen) {
    LogList log = days(5, QDate(2024, 1, 1));
    log[0] = {"2024/01/01", "-4", "140", "90"};  // lower above higher, negative salt
    log[1] = {"2024/01/02", "5", "80", ""};      // half a reading
    log[2] = {"2024/01/03", "5", "x", "120"};    // not a number
    log[3] = {"2024/01/04", "5", "-20", "99999999999999999"};
    log[4] = {"2024/01/05", "5", "80", "120"};
    SaltListScreen& s = openWith(log);
    form->diary().SetPressureBarShift(2147483600);
    s.Command40->click();
    EXPECT_TRUE(s.LabelE4[0]->isVisible());
    EXPECT_EQ(s.LabelE4[0]->width(), 0);
    EXPECT_EQ(s.LabelE4[0]->text(), "140-90");
    EXPECT_EQ(s.LabelE3[0]->width(), 0);
    EXPECT_FALSE(s.LabelE4[1]->isVisible());
    EXPECT_FALSE(s.LabelE4[2]->isVisible());
    EXPECT_TRUE(s.LabelE4[3]->isVisible());
    for (int i = 0; i < 3; ++i) s.Command42->click();
    EXPECT_EQ(form->PressureBarShift(), 2147483647) << "the shift stops at the top of its range";
    s.Text2->setText("2024/01/02");
    s.Command36->click();
    s.Command37->click();
    EXPECT_FALSE(s.Command38->isEnabled()) << "half a reading cannot be deleted";
    typeReading("120", "80");
    dialogs.answers = {true};
    s.Command39->click();
    EXPECT_EQ(dialogs.questions(), QStringList{Overwrite}) << "a stored lower number is a reading to replace";
    EXPECT_EQ(form->DailyLog()[1].PressureHigh, "120");
}

}  // namespace
}  // namespace morv::test

namespace morv::test {
namespace {

TEST_F(SaltListPressure, AReadingAnsweredAfterTheLogChangedGoesToItsOwnDay) {
    LogList log = days(3, QDate(2024, 3, 1));
    log[1].PressureLow = "85";
    log[1].PressureHigh = "125";
    SaltListScreen& s = openWith(log);
    s.Text2->setText("2024/03/02");
    typeReading("70", "110");
    dialogs.answers = {true};
    dialogs.whileAsked = [this, log] {
        DiaryBooks(form->diary()).ApplyDays({{"2024/02/01", LogRecord{"2024/02/01", "4", {}, {}}}});
    };
    s.Command39->click();
    const LogList& now = form->DailyLog();
    ASSERT_EQ(now.size(), 4u);
    EXPECT_EQ(now[1].PressureLow, "") << "2024/03/01 keeps no reading";
    EXPECT_EQ(now[2].LogDate, "2024/03/02");
    EXPECT_EQ(now[2].PressureLow, "70");
    EXPECT_EQ(now[2].PressureHigh, "110");
}

}  // namespace
}  // namespace morv::test
