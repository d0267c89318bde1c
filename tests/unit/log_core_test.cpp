// The salt list's arithmetic: pages of twenty days, the bars' places in twips,
// and which of two typed readings is the lower one.

#include "log/BarPixels.h"
#include "log/core/BloodPressure.h"
#include "log/core/LogPages.h"

#include <gtest/gtest.h>
#include <limits>

namespace morv {
namespace {

constexpr qint32 Int32Max = std::numeric_limits<qint32>::max();
constexpr qint32 Int32Min = std::numeric_limits<qint32>::min();

TEST(LogPages, PageCountRoundsUpAndNeverFallsBelowOne) {
    const std::pair<qint64, qint64> cases[] = {
        {0, 1},
        {1, 1},
        {20, 1},
        {21, 2},
        {40, 2},
        {41, 3},
        {32767 * 20 + 1, 32768},  // beyond a 16-bit page number
        {100000, 5000},
        {Int32Max, 107374183},
        {-5, 1},
    };
    for (auto [count, pages] : cases) EXPECT_EQ(PageCount(count), pages) << count;
}

TEST(LogPages, PageBoxTextReadsLikeALeadingNumber) {
    const std::pair<const char*, qint64> cases[] = {
        {"", 0},
        {"7", 7},
        {"0007", 7},
        {" 12", 12},
        {"12ab", 12},
        {"-3", -3},
        {"+4", 4},
        {"abc", 0},
        {"1.9", 1},
        {"99999999999999999999999999", PageNumberLimit},
        {"-99999999999999999999999999", -PageNumberLimit},
    };
    for (auto [text, value] : cases) EXPECT_EQ(PageValue(QString::fromLatin1(text)), value) << text;
}

TEST(LogPages, TypedPagesAreCorrectedIntoRange) {
    struct Case {
        qint64 typed, pages, shown;
    };
    const Case cases[] = {
        {0, 3, 1}, {-5, 3, 1}, {1, 3, 1},
        {2, 3, 2}, {3, 3, 3},  {99, 3, 3},
        {4, 1, 1}, {1, 0, 1},  {PageNumberLimit, 5000, 5000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampPage(c.typed, c.pages), c.shown) << c.typed << " of " << c.pages;
}

TEST(LogPages, StepsWrapAtBothEnds) {
    struct Case {
        qint64 page, pages, previous, next;
    };
    const Case cases[] = {
        {1, 1, 1, 1},
        {1, 3, 3, 2},
        {2, 3, 1, 3},
        {3, 3, 2, 1},
        // Typed out of range: the step starts from the typed value and the
        // correction of the shown page brings it back.
        {0, 3, -1, 1},
        {99, 3, 98, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PreviousPage(c.page, c.pages), c.previous) << c.page << " of " << c.pages;
        EXPECT_EQ(NextPage(c.page, c.pages), c.next) << c.page << " of " << c.pages;
    }
    EXPECT_EQ(ClampPage(NextPage(99, 3), 3), 3) << "a page typed beyond the end shows the last page";
    EXPECT_EQ(ClampPage(PreviousPage(0, 3), 3), 1);
    // The bounds of what a box can hold step without overflowing.
    EXPECT_EQ(NextPage(PageNumberLimit, 5), PageNumberLimit + 1);
    EXPECT_EQ(PreviousPage(-PageNumberLimit, 5), -PageNumberLimit - 1);
}

TEST(LogPages, RowsOfAPageStayInsideTheLog) {
    struct Case {
        qint64 page, count;
        int rows;
    };
    const Case cases[] = {
        {1, 0, 0},  {1, 20, 20}, {1, 21, 20},        {2, 21, 1},
        {3, 41, 1}, {4, 41, 0},  {5000, 100000, 20}, {PageNumberLimit, 100000, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RowsOnPage(FirstRecordOfPage(c.page), c.count), c.rows) << c.page << " of " << c.count;
    EXPECT_EQ(FirstRecordOfPage(0), 0) << "a page below 1 never reaches before the log";
    EXPECT_EQ(RowsOnPage(-20, 41), 0);
}

TEST(LogBars, SaltBarLengthAndColourAgainstTheTarget) {
    struct Case {
        const char* salt;
        const char* target;
        double width;
        bool over;
    };
    const Case cases[] = {
        {"10", "", 5000, false},    {"1.23", "", 615, false},  {"0", "0", 0, false},
        {"7", "7", 3500, false},    {"7.0", "7", 3500, false}, {"7.01", "7", 3505, true},
        {"6", "abc", 3000, false},  {"abc", "1", 0, false},    {"", "1", 0, false},
        {"-2", "", 0, false},       {"-2", "-3", 0, true},     {"1e3", "", 0, false},
        {" 8 ", "7.5", 4000, true},
    };
    for (const Case& c : cases) {
        const SaltBar bar = SaltBarFor(QString::fromLatin1(c.salt), QString::fromLatin1(c.target));
        EXPECT_DOUBLE_EQ(bar.width, c.width) << c.salt << " / " << c.target;
        EXPECT_EQ(bar.overTarget, c.over) << c.salt << " / " << c.target;
    }
    EXPECT_DOUBLE_EQ(SaltBarFor(u"99999999999999999999999", u"").width, BarTwipsLimit);
}

TEST(LogBars, PressureBarFromBothReadingsAndTheShift) {
    struct Case {
        const char* low;
        const char* high;
        qint32 shift;
        bool shown;
        double left, width;
    };
    const Case cases[] = {
        {"80", "120", 3000, true, 80 * 30 + 7000, 1200},
        {"080", "80", 3000, true, 80 * 30 + 7000, 0},
        {"80", "120", 0, true, 80 * 30 + 4000, 1200},
        {"120", "80", 3000, true, 120 * 30 + 7000, 0},  // lower above higher from a file: no negative width
        {"-10", "5", 3000, true, -300 + 7000, 450},
        {"80", "120", -5000, true, 80 * 30 - 1000, 1200},  // a shift read from an edited file
        {"80", "120", Int32Max, true, BarTwipsLimit, 1200},
        {"80", "", 3000, false, 0, 0},
        {"", "120", 3000, false, 0, 0},
        {"x", "120", 3000, false, 0, 0},
        {"", "", 3000, false, 0, 0},
    };
    for (const Case& c : cases) {
        const PressureBar bar =
            PressureBarFor(QString::fromLatin1(c.low), QString::fromLatin1(c.high), c.shift);
        EXPECT_EQ(bar.shown, c.shown) << c.low << "-" << c.high;
        EXPECT_DOUBLE_EQ(bar.left, c.left) << c.low << "-" << c.high << " at " << c.shift;
        EXPECT_DOUBLE_EQ(bar.width, c.width) << c.low << "-" << c.high;
        if (c.shown) {
            EXPECT_EQ(bar.caption, QString::fromLatin1(c.low) + "-" + QString::fromLatin1(c.high));
        }
    }
}

TEST(LogBars, ShiftStepsStayBetweenZeroAndTheIntegerRange) {
    struct Case {
        qint32 shift, left, right;
    };
    const Case cases[] = {
        {3000, 2800, 3200},
        {200, 0, 400},
        {100, 0, 300},
        {0, 0, 200},
        {Int32Max, Int32Max - 200, Int32Max},
        {Int32Min, 0, Int32Min + 200},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShiftBarsLeft(c.shift), c.left) << c.shift;
        EXPECT_EQ(ShiftBarsRight(c.shift), c.right) << c.shift;
    }
}

TEST(LogBars, PixelEdgesAreRoundedSoBarsEndUnderTheirMarks) {
    // A 10-gram bar ends on the pixel of the "10" mark at 4080 + 5000 twips.
    const PixelSpan ten = ToPixels(4080, 5000);
    EXPECT_EQ(ten.left, 272);
    EXPECT_EQ(ten.left + ten.width, ToPixels(9080));
    const PixelSpan pressure = ToPixels(80 * 30 + 7000, 1200);
    EXPECT_EQ(pressure.left, 627);
    EXPECT_EQ(pressure.width, 80);
    EXPECT_EQ(ToPixels(4080, -500).width, 0);
    const PixelSpan far = ToPixels(1e300, 1e300);
    EXPECT_EQ(far.left, ToPixels(BarTwipsLimit));
    EXPECT_EQ(far.width, 0);
    EXPECT_EQ(ToPixels(-1e300), -ToPixels(BarTwipsLimit));
}

TEST(LogPressure, DateLookupFindsTheFirstExactMatch) {
    const LogList log{{"2024/01/04", "5", "", ""},
                      {"2024/01/05", "6", "", ""},
                      {"2024/01/05", "7", "80", "120"},
                      {"2024/1/6", "8", "", ""}};
    EXPECT_EQ(FindLogDate(log, "2024/01/05"), 1);
    EXPECT_EQ(FindLogDate(log, "2024/01/04"), 0);
    EXPECT_EQ(FindLogDate(log, "2024/01/06"), -1) << "texts are compared, not dates";
    EXPECT_EQ(FindLogDate(log, "2024/1/6"), 3);
    EXPECT_EQ(FindLogDate(log, ""), -1);
    EXPECT_EQ(FindLogDate({}, "2024/01/05"), -1);
}

TEST(LogPressure, TheLowerReadingIsStoredFirstAsTyped) {
    struct Case {
        const char* first;
        const char* second;
        const char* low;
        const char* high;
    };
    const Case cases[] = {
        {"120", "80", "80", "120"}, {"80", "120", "80", "120"},
        {"80", "080", "080", "80"},  // equal values: the second box is the lower
        {"99", "100", "99", "100"},  // values, not texts, are compared
        {"100", "99", "99", "100"}, {"7", "", "", "7"},
    };
    for (const Case& c : cases) {
        const PressureReading r = OrderReading(QString::fromLatin1(c.first), QString::fromLatin1(c.second));
        EXPECT_EQ(r.low, QString::fromLatin1(c.low)) << c.first << " " << c.second;
        EXPECT_EQ(r.high, QString::fromLatin1(c.high)) << c.first << " " << c.second;
    }
}

TEST(LogPressure, OnlyAWholeReadingCanBeDeleted) {
    EXPECT_TRUE(HasReading({"d", "1", "80", "120"}));
    EXPECT_TRUE(HasReading({"d", "1", "120", "80"}));
    EXPECT_FALSE(HasReading({"d", "1", "80", ""}));
    EXPECT_FALSE(HasReading({"d", "1", "", "120"}));
    EXPECT_FALSE(HasReading({"d", "1", "a", "120"}));
    EXPECT_FALSE(HasReading({"d", "1", "", ""}));
}

}  // namespace
}  // namespace morv
