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
// higher, at least 10 g, rounded up to a whole mark.
ChartAxis SaltAxis(const SaltReport& report, double targetGrams);
// The blood-pressure axis: around the lowest and highest readings in steps
// of 20 mmHg, 60 to 160 when there is none.
ChartAxis PressureAxis(const SaltReport& report);

// Which days of the period get a date under the chart: every day of a short
// period, then every 7th, 14th ... day, so that no more than about ten stand.
std::vector<int> DateMarks(qint64 periodDays);

// Rows of a table laid down a page, then onto further pages: how many rows
// the first page takes from `top` (the rest of it) and each further page
// (from `pageTop`), `columns` side by side.
struct RowFlow {
    int firstPageRows = 0;  // may be 0: the table starts on a new page
    int pageRows = 1;
};
RowFlow FlowRows(double top, double pageTop, double bottom, double headerHeight, double rowHeight,
                 int columns);

}  // namespace morv
