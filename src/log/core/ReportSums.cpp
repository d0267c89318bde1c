#include "log/core/ReportSums.h"

#include "log/core/LogBars.h"
#include "text/DateText.h"
#include "text/NumericText.h"

#include <algorithm>

namespace morv {
namespace {

constexpr qint64 Scale = 1'000'000;

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Half up, for a sum of non-negative millionths over `count` days, in units
// of 1/`per` (10: tenths, 1: whole).
std::optional<qint64> averaged(qint64 sum, int count, qint64 per) {
    if (count <= 0) return std::nullopt;
    const qint64 divisor = qint64{count} * Scale;
    return (2 * sum * per + divisor) / (2 * divisor);
}

// yyyy/mm/dd as written by the program: the fast, common case.
bool isCanonical(QStringView text) {
    if (text.size() != 10 || text[4] != u'/' || text[7] != u'/') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < u'0' || text[i] > u'9') return false;
    return true;
}

}  // namespace

std::optional<qint64> Millionths(QStringView text) {
    qsizetype i = 0, end = text.size();
    while (i < end && isBlank(text[i])) ++i;
    while (end > i && isBlank(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    qint64 whole = 0, fraction = 0;
    int digits = 0, decimals = 0;
    bool point = false, roundUp = false;
    for (; i < end; ++i) {
        const QChar c = text[i];
        if (c == u'.') {
            if (point) return std::nullopt;
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9') return std::nullopt;
        const int d = c.unicode() - u'0';
        ++digits;
        if (!point) {
            whole = whole * 10 + d;
            if (whole >= Scale) return std::nullopt;
        } else if (decimals < 6) {
            fraction = fraction * 10 + d;
            ++decimals;
        } else if (decimals++ == 6) {
            roundUp = d >= 5;
        }
    }
    if (digits == 0) return std::nullopt;
    for (int k = std::min(decimals, 6); k < 6; ++k) fraction *= 10;
    const qint64 value = whole * Scale + fraction + (roundUp ? 1 : 0);
    if (negative && value != 0) return std::nullopt;
    // 999999.9999999 rounds up to a million.
    if (value >= Scale * Scale) return std::nullopt;
    return value;
}

ChartUnit ChartUnitFor(qint64 periodDays) {
    if (periodDays <= ReportDailyBarsDays) return ChartUnit::Day;
    return periodDays <= ReportWeeklyBarsDays ? ChartUnit::Week : ChartUnit::Month;
}

std::optional<double> DaySums::saltGrams() const {
    if (days <= 0) return std::nullopt;
    return static_cast<double>(salt) / days / Scale;
}

std::optional<qint64> DaySums::saltTenths() const { return averaged(salt, days, 10); }
std::optional<qint64> DaySums::lowMmHg() const { return averaged(low, readings, 1); }
std::optional<qint64> DaySums::highMmHg() const { return averaged(high, readings, 1); }

ReportDay ReportDayOf(const LogRecord& record, QDate date, const QString& target) {
    ReportDay day;
    day.date = date;
    day.salt = record.DaySalt;
    day.saltAmount = Millionths(record.DaySalt.view());
    if (day.saltAmount) day.overTarget = SaltBarFor(record.DaySalt.view(), target).overTarget;
    auto low = Millionths(record.PressureLow.view());
    auto high = Millionths(record.PressureHigh.view());
    if (low && high) {
        // A file from elsewhere may hold the pair the other way round.
        const bool swap = *low > *high;
        day.low = swap ? record.PressureHigh : record.PressureLow;
        day.high = swap ? record.PressureLow : record.PressureHigh;
        day.lowAmount = std::min(*low, *high);
        day.highAmount = std::max(*low, *high);
    }
    return day;
}

std::vector<ReportDay> PeriodDays(const LogList& log, QDate from, QDate to, const QString& target) {
    const QString first = DateText(from), last = DateText(to);
    struct Found {
        QDate date;
        size_t index;
    };
    std::vector<Found> found;
    for (size_t i = 0; i < log.size(); ++i) {
        const QString& text = log[i].LogDate;
        if (isCanonical(text)) {
            if (text < first || text > last) continue;
            if (const auto date = ReadDate(text)) found.push_back({*date, i});
        } else if (const auto date = ReadDate(text); date && *date >= from && *date <= to) {
            found.push_back({*date, i});
        }
    }
    // Only the period's few records are sorted; a log in order is already.
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.date < b.date; });
    std::vector<ReportDay> days;
    days.reserve(found.size());
    for (const Found& f : found)
        if (days.empty() || days.back().date != f.date)
            days.push_back(ReportDayOf(log[f.index], f.date, target));
    return days;
}

DaySums SumDays(std::span<const ReportDay> days, QDate from, QDate to) {
    DaySums sums;
    sums.from = from;
    sums.to = to;
    for (const ReportDay& day : days) {
        if (day.saltAmount) {
            ++sums.days;
            sums.salt += *day.saltAmount;
            sums.overTarget += day.overTarget ? 1 : 0;
        }
        if (day.lowAmount) {
            ++sums.readings;
            sums.low += *day.lowAmount;
            sums.high += *day.highAmount;
        }
    }
    return sums;
}

SaltReport MakeSaltReport(const LogList& log, QDate from, QDate to, const QString& target) {
    SaltReport report;
    report.from = from;
    report.to = to;
    report.target = target;
    report.days = PeriodDays(log, from, to, target);
    const bool targetSet = NumericValue(target).has_value();
    const std::span<const ReportDay> all(report.days);
    // Consecutive runs of the period, each summed from the days in it.
    auto runs = [&](std::vector<DaySums>& into, auto nextStart) {
        auto begin = all.begin();
        for (QDate start = from; start.isValid() && start <= to; start = nextStart(start)) {
            const QDate end = std::min(nextStart(start).addDays(-1), to);
            const auto stop =
                std::find_if(begin, all.end(), [&](const ReportDay& d) { return d.date > end; });
            into.push_back(SumDays({begin, stop}, start, end));
            into.back().targetSet = targetSet;
            begin = stop;
        }
    };
    runs(report.weeks, [](QDate d) { return d.addDays(7); });
    runs(report.months, [](QDate d) { return QDate(d.year(), d.month(), 1).addMonths(1); });
    report.whole = SumDays(all, from, to);
    report.whole.targetSet = targetSet;
    return report;
}

DaySums PageSums(const LogList& log, qint64 first, int count, const QString& target) {
    std::vector<ReportDay> days;
    const qint64 size = static_cast<qint64>(log.size());
    for (qint64 i = std::max<qint64>(0, first); i < std::min(size, first + count); ++i)
        days.push_back(ReportDayOf(log[static_cast<size_t>(i)], {}, target));
    DaySums sums = SumDays(days, {}, {});
    sums.targetSet = NumericValue(target).has_value();
    return sums;
}

QString PageSummaryText(const DaySums& sums, int shown, const QString& beforePressure) {
    if (shown <= 0) return {};
    QString text = QStringLiteral("表示中の%1日：平均塩分 %2 g、目標超過 ")
                       .arg(shown)
                       .arg(TenthsText(sums.saltTenths()));
    text += sums.targetSet ? QStringLiteral("%1/%2日").arg(sums.overTarget).arg(shown) : OverText(sums);
    if (sums.readings > 0)
        text += beforePressure + QStringLiteral("平均血圧 %1 mmHg").arg(PressureText(sums));
    return text;
}

QString TenthsText(std::optional<qint64> tenths) {
    if (!tenths) return QStringLiteral("—");
    return QStringLiteral("%1.%2").arg(*tenths / 10).arg(*tenths % 10);
}

QString WholeText(std::optional<qint64> value) {
    return value ? QString::number(*value) : QStringLiteral("—");
}

QString OverText(const DaySums& sums) {
    return sums.targetSet ? QString::number(sums.overTarget) : QStringLiteral("—");
}

QString PressureText(const DaySums& sums) {
    if (sums.readings <= 0) return QStringLiteral("—");
    return WholeText(sums.highMmHg()) + QLatin1Char('/') + WholeText(sums.lowMmHg());
}

}  // namespace morv
