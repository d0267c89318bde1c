#pragma once
// The sums of the salt and blood-pressure report: which days of the log fall
// in a period, their weekly and whole-period averages, and the averages of the
// days a page of the salt list shows.
//
// Weeks start on the period's first day, whatever weekday it is: every week of
// a report has seven days (the last one may be shorter), so the weeks' figures
// compare with one another, and the default 28 days are exactly four weeks.
//
// Amounts are added exactly in decimal, in millionths, so that an average that
// lands on .05 g or .5 mmHg is rounded up as written and not by where a binary
// double happens to fall.

#include "storage/Records.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>
#include <span>
#include <vector>

namespace morv {

inline constexpr int ReportDefaultDays = 28;
// Ten years of days: a longer period is refused rather than drawn as a chart
// of hair-thin bars over thousands of pages.
inline constexpr qint64 ReportMaxDays = 3660;
// Up to about three months the report lists the weeks and every day; a longer
// one sums up each calendar month instead of pages of daily rows.
inline constexpr qint64 ReportDailyRowsDays = 92;
// Up to about a year the chart has a bar a day; beyond, bars that thin would
// be hairs, so it shows weekly averages, and monthly ones beyond three years.
inline constexpr qint64 ReportDailyBarsDays = 366;
inline constexpr qint64 ReportWeeklyBarsDays = 3 * 366;

enum class ChartUnit { Day, Week, Month };
ChartUnit ChartUnitFor(qint64 periodDays);

// A text as a whole number of millionths: what NumericValue accepts, but not
// below zero and not from a million up (no day's salt nor blood pressure
// comes near; such a text is left out of every sum). Digits past the sixth
// decimal round half up.
std::optional<qint64> Millionths(QStringView text);

struct ReportDay {
    QDate date;
    QString salt;                                 // as stored
    QString low, high;                            // the reading, the lower value first; empty when none
    std::optional<qint64> saltAmount;             // millionths of a gram, when it counts
    bool overTarget = false;                      // as the salt list colours it
    std::optional<qint64> lowAmount, highAmount;  // both or neither
};

// A run of days and what they add up to.
struct DaySums {
    QDate from, to;
    bool targetSet = false;              // without a target no day counts as over it: "—", not 0
    int days = 0;                        // days with a salt amount
    int overTarget = 0;                  // of those, days above the target
    int readings = 0;                    // days with a blood-pressure reading
    qint64 salt = 0, low = 0, high = 0;  // millionths

    // Rounded half up: tenths of a gram, whole mmHg; nothing without days.
    std::optional<qint64> saltTenths() const;
    std::optional<qint64> lowMmHg() const;
    std::optional<qint64> highMmHg() const;
    // The average salt in grams, for a chart's bar; nothing without days.
    std::optional<double> saltGrams() const;
};

// One day of the report from its record: the texts kept, the amounts read.
ReportDay ReportDayOf(const LogRecord& record, QDate date, const QString& target);

// The period's days that have a record, in date order, one per date (the first
// record of a date in the log, the one the blood-pressure panel acts on). The
// whole log is scanned once; it need not be in order, and a record whose date
// is no date is passed over.
std::vector<ReportDay> PeriodDays(const LogList& log, QDate from, QDate to, const QString& target);

DaySums SumDays(std::span<const ReportDay> days, QDate from, QDate to);

struct SaltReport {
    QDate from, to;
    QString target;
    std::vector<ReportDay> days;
    std::vector<DaySums> weeks;   // from the first day, seven days each
    std::vector<DaySums> months;  // calendar months, the first and last cut to the period
    DaySums whole;

    qint64 length() const { return from.daysTo(to) + 1; }
    bool dailyRows() const { return length() <= ReportDailyRowsDays; }
};

SaltReport MakeSaltReport(const LogList& log, QDate from, QDate to, const QString& target);

// The summary line of a page of the salt list: `first` and `count` are the
// records shown.
DaySums PageSums(const LogList& log, qint64 first, int count, const QString& target);
// `beforePressure` stands between the salt and the blood-pressure parts. The
// pressure reads as clinics write it: systolic first, "141/85".
QString PageSummaryText(const DaySums& sums, int shown, const QString& beforePressure = QStringLiteral("、"));

// "6.1" from 61; "—" for nothing.
QString TenthsText(std::optional<qint64> tenths);
QString WholeText(std::optional<qint64> value);
// Days over the target, or "—" when no target is set.
QString OverText(const DaySums& sums);
// "141/85", or "—" without readings.
QString PressureText(const DaySums& sums);

}  // namespace morv
