#include "log/core/ReportLayout.h"

#include <algorithm>
#include <cmath>

namespace morv {
namespace {

// 1, 2 or 5 times a power of ten, at least `rough`.
double niceStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(std::max(rough, 1e-9))));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= rough) return m * power;
    return 10 * power;
}

}  // namespace

double ChartAxis::fraction(double value) const {
    if (max <= min) return 0;
    return std::clamp((value - min) / (max - min), 0.0, 1.0);
}

ChartAxis SaltAxis(const SaltReport& report, double targetGrams) {
    double top = std::max(10.0, targetGrams);
    for (const ReportDay& day : report.days)
        if (day.saltAmount)
            top = std::max(top, std::min(SaltAxisCap, static_cast<double>(*day.saltAmount) / 1e6));
    const double step = std::max(niceStep(top / 5), 1.0);
    return {0, std::ceil(top / step) * step, step};
}

ChartAxis PressureAxis(const SaltReport& report) {
    double low = 1e9, high = -1;
    for (const ReportDay& day : report.days)
        if (day.lowAmount) {
            low = std::min(low, static_cast<double>(*day.lowAmount) / 1e6);
            high = std::max(high, static_cast<double>(*day.highAmount) / 1e6);
        }
    if (high < 0) return {60, 160, 20};
    // The home reference of 135/85 always stands on the chart.
    low = std::min(low, HomeDiastolicLimit);
    high = std::max(high, HomeSystolicLimit);
    const double min = std::max(0.0, std::floor((low - 5) / 20) * 20);
    double max = std::ceil((high + 5) / 20) * 20;
    if (max - min < 60) max = min + 60;
    const double step = std::max(20.0, niceStep((max - min) / 6));
    return {min, std::ceil(max / step) * step, step};
}

DateAxis DateAxisFor(QDate from, QDate to) {
    DateAxis axis;
    const qint64 days = from.daysTo(to) + 1;
    if (!from.isValid() || !to.isValid() || days <= 0) return axis;
    const bool long_ = days > 183;
    if (!long_) {
        const qint64 every = days > 10 ? 7 * ((days + 69) / 70) : 1;
        for (qint64 d = 0; d < days; d += every)
            axis.marks.push_back({static_cast<int>(d), from.addDays(d).toString(QStringLiteral("MM/dd"))});
    } else {
        const int months = (to.year() - from.year()) * 12 + to.month() - from.month() + 1;
        int every = 12;
        for (int m : {1, 2, 3, 6})
            if (months / m <= 10) {
                every = m;
                break;
            }
        // The first of each month in the period that falls on the chosen
        // rhythm from January.
        for (QDate d(from.year(), from.month(), 1); d <= to; d = d.addMonths(1))
            if (d >= from && (d.month() - 1) % every == 0)
                axis.marks.push_back(
                    {static_cast<int>(from.daysTo(d)), d.toString(QStringLiteral("yyyy/MM"))});
    }
    if (long_ || from.year() != to.year())
        for (int y = from.year(); y <= to.year(); ++y) {
            const QDate first = std::max(from, QDate(y, 1, 1)), last = std::min(to, QDate(y, 12, 31));
            axis.years.push_back(
                {y, static_cast<int>(from.daysTo(first)), static_cast<int>(from.daysTo(last))});
        }
    return axis;
}

RowFlow FlowRows(double top, double pageTop, double bottom, double headerHeight, double rowHeight,
                 int columns) {
    auto fits = [&](double from) {
        return std::max(0, static_cast<int>(std::floor((bottom - from - headerHeight) / rowHeight)));
    };
    RowFlow flow;
    flow.pageRows = std::max(1, fits(pageTop)) * std::max(1, columns);
    flow.firstPageRows = fits(top) * std::max(1, columns);
    // A table does not start with a lonely line or two at a page's foot.
    if (flow.firstPageRows < 3 * columns) flow.firstPageRows = 0;
    return flow;
}

int RowsOnPage(int room, int left) {
    if (left <= room) return left;
    // One row over: it takes the one before it along.
    return left - room == 1 && room > 2 ? room - 1 : room;
}

ChartDays RunOf(QDate day, QDate from, QDate to) {
    switch (ChartUnitFor(from.daysTo(to) + 1)) {
        case ChartUnit::Day:
            return {day, day};
        case ChartUnit::Week: {
            const QDate first = from.addDays(from.daysTo(day) / 7 * 7);
            return {first, first.addDays(6)};
        }
        case ChartUnit::Month: {
            const QDate first(day.year(), day.month(), 1);
            return {first, first.addMonths(1).addDays(-1)};
        }
    }
    return {day, day};
}

ChartDays ChartDaysFor(QDate from, QDate to) {
    if (!from.isValid() || !to.isValid() || from > to) return {from, to};
    return {RunOf(from, from, to).first, RunOf(to, from, to).last};
}

}  // namespace morv
