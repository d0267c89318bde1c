#pragma once
// The drawing maths of the report that does not need a painter: the chart's
// axes and date marks, and how rows of a table fill pages.

#include "log/core/ReportSums.h"

#include <QDate>
#include <vector>

namespace morv {

// A value axis from `min` to `max` with a mark every `step`.
struct ChartAxis {
    double min = 0, max = 1, step = 1;
    // 0 at min, 1 at max; values beyond are held to the ends.
    double fraction(double value) const;
};

// The salt axis: from 0 to the largest salt or the target, whichever is
// higher, at least 10 g, rounded up to a whole mark. A day beyond
// SaltAxisCap (a slip of the keys, 99.9) does not flatten every other bar:
// the axis stops there and that bar is drawn cut, with its amount.
inline constexpr double SaltAxisCap = 30;
ChartAxis SaltAxis(const SaltReport& report, double targetGrams);
// The reference for readings taken at home: 135/85 mmHg and above is high.
inline constexpr double HomeSystolicLimit = 135;
inline constexpr double HomeDiastolicLimit = 85;

// The blood-pressure axis: around the lowest and highest readings and the
// home reference, in steps of 20 mmHg; 60 to 160 when there is none.
ChartAxis PressureAxis(const SaltReport& report);

// The dates under the chart. A short period within one year has its days,
// every one or every 7th, 14th ... so that no more than about ten stand
// ("12/10"). A period over about six months has months ("2024/03"), every
// 1, 2, 3, 6 or 12. Whenever the period crosses a year boundary or is that
// long, a band under the marks names each year over its days.
struct DateMark {
    int day = 0;  // from the period's first day
    QString label;
};
struct YearSpan {
    int year = 0;
    int firstDay = 0, lastDay = 0;  // from the period's first day
};
struct DateAxis {
    std::vector<DateMark> marks;
    std::vector<YearSpan> years;  // empty when no band is drawn
};
DateAxis DateAxisFor(QDate from, QDate to);

// Rows of a table laid down a page, then onto further pages: how many rows
// the first page takes from `top` (the rest of it) and each further page
// (from `pageTop`), `columns` side by side.
struct RowFlow {
    int firstPageRows = 0;  // may be 0: the table starts on a new page
    int pageRows = 1;
};
RowFlow FlowRows(double top, double pageTop, double bottom, double headerHeight, double rowHeight,
                 int columns);
// Of `left` rows, how many go on a page with room for `room`: the last row
// (the whole period's line) never stands alone on the next page.
int RowsOnPage(int room, int left);

// The days the chart's time axis spans: the period itself for daily bars;
// for weekly or monthly averages the period widened to whole weeks (from its
// first day) or calendar months, so that a run the period cuts short has a
// whole run's room and bar, not a sliver.
struct ChartDays {
    QDate first, last;
};
ChartDays ChartDaysFor(QDate from, QDate to);
// The run of the chart's unit that `day` falls in, as the chart draws it.
ChartDays RunOf(QDate day, QDate from, QDate to);

}  // namespace morv
