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
        if (day.saltAmount) top = std::max(top, static_cast<double>(*day.saltAmount) / 1e6);
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
    const double min = std::max(0.0, std::floor((low - 5) / 20) * 20);
    double max = std::ceil((high + 5) / 20) * 20;
    if (max - min < 60) max = min + 60;
    const double step = std::max(20.0, niceStep((max - min) / 6));
    return {min, std::ceil(max / step) * step, step};
}

std::vector<int> DateMarks(qint64 periodDays) {
    std::vector<int> marks;
    if (periodDays <= 0) return marks;
    qint64 every = 1;
    if (periodDays > 10) every = 7 * ((periodDays + 69) / 70);
    for (qint64 d = 0; d < periodDays; d += every) marks.push_back(static_cast<int>(d));
    return marks;
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

}  // namespace morv
