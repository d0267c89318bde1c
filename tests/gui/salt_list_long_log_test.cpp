// A log of 100,000 days: 5,000 pages, four digits in the page box, and the
// newest day the last one the date lookup reaches. How fast this goes is
// measured by the benchmarks (make bench).

#include "SaltListFixture.h"

namespace morv::test {
namespace {

using SaltListLongLog = SaltListFixture;

TEST_F(SaltListLongLog, PagesWrapAndTheNewestDayTakesAReading) {
    constexpr int Days = 100000;
    Form1& w = start();
    w.diary().LoadDailyLog(days(Days, QDate(1750, 1, 1)));
    SaltListScreen& s = screen();
    const QString lastDay = w.DailyLog().back().LogDate;

    w.Command3()->click();
    EXPECT_EQ(s.TextPAGE->text(), "5000");
    // The main date is not in the log: switching the display on searches it all.
    s.Command40->click();
    ASSERT_TRUE(s.PressureDisplayOn());
    s.Command18->click();
    EXPECT_EQ(s.TextPAGE->text(), "1");
    s.Command17->click();
    EXPECT_EQ(s.TextPAGE->text(), "5000");
    s.TextPAGE->setText("2500");
    QTest::keyClick(s.TextPAGE, Qt::Key_Return);
    EXPECT_EQ(s.LabelE1[0]->text(), w.DailyLog()[2499 * 20].LogDate);

    s.TextPAGE->setText("5000");
    s.Command15->click();
    s.Text2->setText(lastDay);
    dialogs.answers = std::deque<bool>(2, true);
    s.Text5->setText("135");
    s.Text6->setText("85");
    s.Command39->click();
    EXPECT_EQ(w.DailyLog().back().PressureLow, "85");
    EXPECT_EQ(s.LabelE4[19]->text(), "85-135");
}

}  // namespace
}  // namespace morv::test
