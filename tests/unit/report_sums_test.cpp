// The report's sums: which days fall in a period, weeks counted from its first
// day, and averages rounded half up exactly as the decimal texts say.

#include "log/core/ReportFiles.h"
#include "log/core/ReportLayout.h"
#include "log/core/ReportSums.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace morv {
namespace {

LogRecord day(const char* date, const char* salt, const char* low = "", const char* high = "") {
    return {QString::fromUtf8(date), QString::fromUtf8(salt), QString::fromUtf8(low), QString::fromUtf8(high)};
}

QDate date(const char* text) { return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyy/MM/dd")); }

// "from-to days/over/readings salt low-high", as a row of the report reads.
QString describe(const DaySums& s) {
    return QStringLiteral("%1-%2 %3/%4/%5 %6 %7-%8")
        .arg(s.from.toString(QStringLiteral("MM/dd")), s.to.toString(QStringLiteral("MM/dd")))
        .arg(s.days)
        .arg(s.overTarget)
        .arg(s.readings)
        .arg(TenthsText(s.saltTenths()), WholeText(s.lowMmHg()), WholeText(s.highMmHg()));
}

TEST(ReportSums, WeeksAndPeriod) {
    struct Case {
        const char* what;
        LogList log;
        const char *from, *to, *target;
        std::vector<const char*> weeks;  // then the whole period
    };
    const Case cases[] = {
        {"empty week", {day("2024/01/01", "9")}, "2024/01/08", "2024/01/14", "6",
         {"01/08-01/14 0/0/0 — —-—", "01/08-01/14 0/0/0 — —-—"}},
        {"days without readings, and a reading without a salt",
         {day("2024/01/08", "5"), day("2024/01/09", "7"), day("2024/01/10", "", "80", "120")},
         "2024/01/08", "2024/01/14", "", {"01/08-01/14 2/0/1 6.0 80-120", "01/08-01/14 2/0/1 6.0 80-120"}},
        // 6.05 and 80.5 / 120.5 are not what binary doubles hold.
        {"rounding at .05 and .5",
         {day("2024/01/08", "6.0", "80", "120"), day("2024/01/09", "6.1", "81", "121")}, "2024/01/08",
         "2024/01/14", "", {"01/08-01/14 2/0/2 6.1 81-121", "01/08-01/14 2/0/2 6.1 81-121"}},
        {"just below .05 stays down", {day("2024/01/08", "6.04"), day("2024/01/09", "6.059999")}, "2024/01/08",
         "2024/01/09", "", {"01/08-01/09 2/0/0 6.0 —-—", "01/08-01/09 2/0/0 6.0 —-—"}},
        {"a period starting mid-week (Wednesday), its last week short",
         {day("2024/01/03", "4"), day("2024/01/09", "6"), day("2024/01/10", "8"), day("2024/01/14", "9")},
         "2024/01/03", "2024/01/14", "7",
         {"01/03-01/09 2/0/0 5.0 —-—", "01/10-01/14 2/2/0 8.5 —-—", "01/03-01/14 4/2/0 6.8 —-—"}},
        {"a day over the target: strictly above, as the list colours it",
         {day("2024/01/08", "6.5", "85", "130"), day("2024/01/09", "6.51"), day("2024/01/10", "7")}, "2024/01/08",
         "2024/01/10", "6.5", {"01/08-01/10 3/2/1 6.7 85-130", "01/08-01/10 3/2/1 6.7 85-130"}},
        {"no target: no day over it", {day("2024/01/08", "12")}, "2024/01/08", "2024/01/08", "目標",
         {"01/08-01/08 1/0/0 12.0 —-—", "01/08-01/08 1/0/0 12.0 —-—"}},
        {"a log out of order, a date twice (the first counts), another form of date, bad texts",
         {day("2024/01/10", "3", "130", "90"), day("2024/01/08", "5"), day("2024/1/9", "4"),
          day("2024/01/08", "20"), day("2024/01/07", "50"), day("2024/01/11", "-2"), day("2024/01/12", "1e3"),
          day("2024/01/32", "40"), day("2024/01/13", "2000000")},
         "2024/01/08", "2024/01/14", "", {"01/08-01/14 3/0/1 4.0 90-130", "01/08-01/14 3/0/1 4.0 90-130"}},
    };
    for (const Case& c : cases) {
        const SaltReport report =
            MakeSaltReport(c.log, date(c.from), date(c.to), QString::fromUtf8(c.target));
        QStringList got;
        for (const DaySums& w : report.weeks) got << describe(w);
        got << describe(report.whole);
        QStringList want;
        for (const char* w : c.weeks) want << QString::fromUtf8(w);
        EXPECT_EQ(got.join(u'|').toStdString(), want.join(u'|').toStdString()) << c.what;
    }
}

TEST(ReportSums, AmountsAreReadExactlyOrLeftOut) {
    const std::pair<const char*, std::optional<qint64>> cases[] = {
        {"6.05", 6'050'000},     {" +7 ", 7'000'000}, {".5", 500'000},       {"1.", 1'000'000},
        {"0.0000005", 1},        {"0.0000004", 0},    {"999999.9999999", std::nullopt},
        {"-0", 0},               {"-1", std::nullopt}, {"1e3", std::nullopt}, {"1.2.3", std::nullopt},
        {"", std::nullopt},      {".", std::nullopt},  {"１２", std::nullopt},
        {"1000000", std::nullopt}, {"99999999999999999999", std::nullopt},
    };
    for (auto [text, want] : cases) EXPECT_EQ(Millionths(QString::fromUtf8(text)), want) << text;
}

TEST(ReportSums, DaysOfThePeriodInDateOrder) {
    const LogList log = {day("2024/01/12", "1"), day("2023/12/31", "2"), day("2024/01/10", "3"),
                         day("2024/01/11", "4", "90", "80"), day("2024/01/13", "5")};
    const std::vector<ReportDay> days = PeriodDays(log, date("2024/01/10"), date("2024/01/12"), QString());
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days[0].salt, "3");
    EXPECT_EQ(days[1].date, date("2024/01/11"));
    // A reading stored the other way round reads lower first.
    EXPECT_EQ(days[1].low + "-" + days[1].high, "80-90");
    EXPECT_EQ(days[2].salt, "1");
}

TEST(ReportSums, PageSummaryLine) {
    const LogList log = {day("2024/01/08", "6.0", "80", "120"), day("2024/01/09", "6.1"), day("2024/01/10", "9")};
    EXPECT_EQ(PageSummaryText(PageSums(log, 0, 2, QStringLiteral("6")), 2),
              QStringLiteral("表示中の2日：平均塩分 6.1 g、目標超過 1/2日、平均血圧 80-120 mmHg"));
    EXPECT_EQ(PageSummaryText(PageSums(log, 2, 1, QStringLiteral("10")), 1),
              QStringLiteral("表示中の1日：平均塩分 9.0 g、目標超過 0/1日"));
    EXPECT_EQ(PageSummaryText(PageSums(log, 3, 0, QString()), 0), QString());
}

TEST(ReportLayout, AxesHoldEveryBarAndTheTarget) {
    SaltReport report = MakeSaltReport({day("2024/01/08", "23.4", "55", "187")}, date("2024/01/08"),
                                       date("2024/01/08"), QString());
    const ChartAxis salt = SaltAxis(report, 6.5);
    EXPECT_EQ(salt.min, 0);
    EXPECT_GE(salt.max, 23.4);
    EXPECT_LE(salt.max / salt.step, 6);
    EXPECT_EQ(SaltAxis(report, 40).max, 40);
    const ChartAxis bp = PressureAxis(report);
    EXPECT_LE(bp.min, 55);
    EXPECT_GE(bp.max, 187);
    EXPECT_EQ(bp.fraction(0), 0);
    EXPECT_EQ(bp.fraction(500), 1);
    report.days.clear();
    EXPECT_EQ(PressureAxis(report).min, 60);
    for (qint64 days : {1, 10, 11, 28, 366, 3660}) {
        const std::vector<int> marks = DateMarks(days);
        EXPECT_EQ(marks.front(), 0);
        EXPECT_LT(marks.back(), days);
        EXPECT_LE(marks.size(), 11u) << days;
    }
}

TEST(ReportLayout, RowsFlowOntoPagesWithoutALonelyLine) {
    // 100 of room under a 10 header, rows of 10: nine rows a column.
    EXPECT_EQ(FlowRows(0, 0, 100, 10, 10, 2).firstPageRows, 18);
    EXPECT_EQ(FlowRows(60, 0, 100, 10, 10, 1).firstPageRows, 3);
    EXPECT_EQ(FlowRows(70, 0, 100, 10, 10, 1).firstPageRows, 0);  // two would stand alone
    EXPECT_EQ(FlowRows(95, 0, 100, 10, 10, 1).pageRows, 9);
    EXPECT_EQ(FlowRows(0, 0, 5, 10, 10, 1).pageRows, 1);  // always some progress
}

// The report reads the folder as it stands and changes nothing in it.
class ReportFilesTest : public ::testing::Test {
protected:
    void put(const char* name, const QString& text) {
        QFile file(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(EncodeCp932(text));
    }
    QStringList listing() const { return QDir(dir.path()).entryList(QDir::Files | QDir::System); }
    QString folder() const { return dir.path() + QLatin1Char('/'); }
    QTemporaryDir dir;
    ReportSource source;
    QString why;
};

TEST_F(ReportFilesTest, ReadsTheLogAndTargetAndPrefersALeftoverBackup) {
    ASSERT_TRUE(ReadReportSource(folder(), source, why));
    EXPECT_TRUE(source.log.empty());
    EXPECT_TRUE(source.target.isEmpty());

    put("Enbun.txt", QStringLiteral("\"2024/01/08\",\"5\",\"\",\"\"\r\n"));
    put("Enbun.bak", QStringLiteral("\"2024/01/08\",\"6\",\"80\",\"120\"\r\n\"2024/01/09\",\"7\",\"\",\"\"\r\n"));
    put("Moku.txt", QStringLiteral("6.5\r\n7\r\n"));
    const QStringList before = listing();
    ASSERT_TRUE(ReadReportSource(folder(), source, why)) << why.toStdString();
    ASSERT_EQ(source.log.size(), 2u);
    EXPECT_EQ(source.log[0], day("2024/01/08", "6", "80", "120"));
    EXPECT_EQ(source.target, QStringLiteral("6.5"));
    EXPECT_EQ(listing(), before);
}

TEST_F(ReportFilesTest, ABrokenLogAFifoOrNoFolderIsAReasonNotAReport) {
    put("Enbun.txt", QStringLiteral("\"2024/01/08\",\"5\",\"\r\n"));
    EXPECT_FALSE(ReadReportSource(folder(), source, why));
    EXPECT_TRUE(why.contains(QStringLiteral("Enbun.txt"))) << why.toStdString();
    QFile::remove(dir.filePath(QStringLiteral("Enbun.txt")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("Enbun.txt"))).constData(), 0600), 0);
    EXPECT_FALSE(ReadReportSource(folder(), source, why));  // and does not wait on it
    EXPECT_FALSE(ReadReportSource(folder() + QStringLiteral("none/"), source, why));
    EXPECT_FALSE(why.isEmpty());
}

}  // namespace
}  // namespace morv
