// A long log costs the screen nothing: opening, paging and a blood-pressure
// registration touch twenty rows, and only the date lookup reads the whole log.

#include "SaltListFixture.h"

#include <QElapsedTimer>
#include <cstdio>
#include <functional>

namespace morv::test {
namespace {

using SaltListPerformance = SaltListFixture;

// The slowest of a few runs, so that the first, cold one counts.
double worstMilliseconds(const std::function<void()>& step, int runs = 5) {
    double worst = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        worst = std::max(worst, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return worst;
}

TEST_F(SaltListPerformance, HundredThousandDaysStayQuick) {
    constexpr int Days = 100000;
    Form1& w = start();
    w.DailyLog = days(Days, QDate(1750, 1, 1));
    for (int i = 0; i < Days; i += 3) {
        w.DailyLog[static_cast<size_t>(i)].PressureLow = "80";
        w.DailyLog[static_cast<size_t>(i)].PressureHigh = "120";
    }
    SaltListScreen& s = screen();
    const QString lastDay = w.DailyLog.back().LogDate;

    const double open = worstMilliseconds([&] {
        s.Command14->click();
        w.Command3->click();
    });
    EXPECT_EQ(s.TextPAGE->text(), "5000");
    // The main date is not in the log: switching the display on searches it all.
    const double displayOn = worstMilliseconds([&] {
                                 s.Command40->click();
                                 s.Command40->click();
                             }) /
                             2;
    s.Command40->click();
    const double wrapForward = worstMilliseconds([&] {
        s.TextPAGE->setText("5000");
        s.Command18->click();
    });
    EXPECT_EQ(s.TextPAGE->text(), "1");
    const double wrapBack = worstMilliseconds([&] {
        s.TextPAGE->setText("1");
        s.Command17->click();
    });
    EXPECT_EQ(s.TextPAGE->text(), "5000");
    const double typedPage = worstMilliseconds([&] {
        s.TextPAGE->setText("2500");
        QTest::keyClick(s.TextPAGE, Qt::Key_Return);
    });
    EXPECT_EQ(s.LabelE1[0]->text(), w.DailyLog[2499 * 20].LogDate);
    // The newest day is the last one the lookup reaches.
    s.TextPAGE->setText("5000");
    s.Command15->click();
    s.Text2->setText(lastDay);
    dialogs.answers = std::deque<bool>(10, true);
    const double registration = worstMilliseconds([&] {
        s.Text5->setText("135");
        s.Text6->setText("85");
        s.Command39->click();
    });
    EXPECT_EQ(w.DailyLog.back().PressureLow, "85");
    EXPECT_EQ(s.LabelE4[19]->text(), "85-135");

    std::printf(
        "100000 days: open %.2f ms, display on %.2f ms, '>' wrap %.2f ms, '<' wrap %.2f ms, "
        "typed page %.2f ms, registration %.2f ms\n",
        open, displayOn, wrapForward, wrapBack, typedPage, registration);
    for (double ms : {open, displayOn, wrapForward, wrapBack, typedPage, registration}) EXPECT_LT(ms, 50.0);
}

}  // namespace
}  // namespace morv::test
