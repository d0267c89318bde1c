// The report's sums: which days fall in a period, weeks counted from its first
// day, and averages rounded half up exactly as the decimal texts say.

#include "log/core/PdfText.h"
#include "log/core/ReportFiles.h"
#include "log/core/ReportLayout.h"
#include "log/core/ReportSums.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace morv {
namespace {

LogRecord day(const char* date, const char* salt, const char* low = "", const char* high = "") {
    return {QString::fromUtf8(date), QString::fromUtf8(salt), QString::fromUtf8(low),
            QString::fromUtf8(high)};
}

QDate date(const char* text) {
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyy/MM/dd"));
}

// "from-to days/over/readings salt low-high", as a row of the report reads.
QString describe(const DaySums& s) {
    return QStringLiteral("%1-%2 %3/%4/%5 %6 %7-%8")
        .arg(s.from.toString(QStringLiteral("MM/dd")), s.to.toString(QStringLiteral("MM/dd")))
        .arg(s.days)
        .arg(OverText(s))
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
        {"empty week",
         {day("2024/01/01", "9")},
         "2024/01/08",
         "2024/01/14",
         "6",
         {"01/08-01/14 0/0/0 — —-—", "01/08-01/14 0/0/0 — —-—"}},
        {"days without readings, and a reading without a salt",
         {day("2024/01/08", "5"), day("2024/01/09", "7"), day("2024/01/10", "", "80", "120")},
         "2024/01/08",
         "2024/01/14",
         "9",
         {"01/08-01/14 2/0/1 6.0 80-120", "01/08-01/14 2/0/1 6.0 80-120"}},
        // 6.05 and 80.5 / 120.5 are not what binary doubles hold.
        {"rounding at .05 and .5",
         {day("2024/01/08", "6.0", "80", "120"), day("2024/01/09", "6.1", "81", "121")},
         "2024/01/08",
         "2024/01/14",
         "9",
         {"01/08-01/14 2/0/2 6.1 81-121", "01/08-01/14 2/0/2 6.1 81-121"}},
        {"just below .05 stays down",
         {day("2024/01/08", "6.04"), day("2024/01/09", "6.059999")},
         "2024/01/08",
         "2024/01/09",
         "9",
         {"01/08-01/09 2/0/0 6.0 —-—", "01/08-01/09 2/0/0 6.0 —-—"}},
        {"a period starting mid-week (Wednesday), its last week short",
         {day("2024/01/03", "4"), day("2024/01/09", "6"), day("2024/01/10", "8"), day("2024/01/14", "9")},
         "2024/01/03",
         "2024/01/14",
         "7",
         {"01/03-01/09 2/0/0 5.0 —-—", "01/10-01/14 2/2/0 8.5 —-—", "01/03-01/14 4/2/0 6.8 —-—"}},
        {"a day over the target: strictly above, as the list colours it",
         {day("2024/01/08", "6.5", "85", "130"), day("2024/01/09", "6.51"), day("2024/01/10", "7")},
         "2024/01/08",
         "2024/01/10",
         "6.5",
         {"01/08-01/10 3/2/1 6.7 85-130", "01/08-01/10 3/2/1 6.7 85-130"}},
        {"no target: no count against it",
         {day("2024/01/08", "12")},
         "2024/01/08",
         "2024/01/08",
         "目標",
         {"01/08-01/08 1/—/0 12.0 —-—", "01/08-01/08 1/—/0 12.0 —-—"}},
        {"a log out of order, a date twice (the first counts), another form of date, bad texts",
         {day("2024/01/10", "3", "130", "90"), day("2024/01/08", "5"), day("2024/1/9", "4"),
          day("2024/01/08", "20"), day("2024/01/07", "50"), day("2024/01/11", "-2"), day("2024/01/12", "1e3"),
          day("2024/01/32", "40"), day("2024/01/13", "2000000")},
         "2024/01/08",
         "2024/01/14",
         "9",
         {"01/08-01/14 3/0/1 4.0 90-130", "01/08-01/14 3/0/1 4.0 90-130"}},
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
        {"6.05", 6'050'000},
        {" +7 ", 7'000'000},
        {".5", 500'000},
        {"1.", 1'000'000},
        {"0.0000005", 1},
        {"0.0000004", 0},
        {"999999.9999999", std::nullopt},
        {"-0", 0},
        {"-1", std::nullopt},
        {"1e3", std::nullopt},
        {"1.2.3", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"１２", std::nullopt},
        {"1000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
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

// Blood pressure reads as clinics write it, systolic first; without a target
// no count against it is given.
TEST(ReportSums, PageSummaryLine) {
    const LogList log = {day("2024/01/08", "6.0", "80", "120"), day("2024/01/09", "6.1"),
                         day("2024/01/10", "9")};
    EXPECT_EQ(PageSummaryText(PageSums(log, 0, 2, QStringLiteral("6")), 2),
              QStringLiteral("表示中の2日：平均塩分 6.1 g、目標超過 1/2日、平均血圧 120/80 mmHg"));
    EXPECT_EQ(PageSummaryText(PageSums(log, 2, 1, QStringLiteral("10")), 1),
              QStringLiteral("表示中の1日：平均塩分 9.0 g、目標超過 0/1日"));
    EXPECT_EQ(PageSummaryText(PageSums(log, 0, 1, QString()), 1),
              QStringLiteral("表示中の1日：平均塩分 6.0 g、目標超過 —、平均血圧 120/80 mmHg"));
    EXPECT_EQ(PageSummaryText(PageSums(log, 3, 0, QString()), 0), QString());
}

TEST(ReportSums, MonthsOfALongPeriod) {
    const SaltReport report = MakeSaltReport({day("2024/01/31", "8"), day("2024/02/01", "6"),
                                              day("2024/02/29", "7"), day("2024/05/02", "5", "70", "130")},
                                             date("2024/01/20"), date("2024/05/02"), QStringLiteral("6.5"));
    QStringList got;
    for (const DaySums& m : report.months) got << describe(m);
    EXPECT_EQ(got.join(u'|').toStdString(),
              "01/20-01/31 1/1/0 8.0 —-—|02/01-02/29 2/1/0 6.5 —-—|"
              "03/01-03/31 0/0/0 — —-—|04/01-04/30 0/0/0 — —-—|"
              "05/01-05/02 1/0/1 5.0 70-130");
    EXPECT_FALSE(report.dailyRows());
    EXPECT_TRUE(MakeSaltReport({}, date("2024/01/01"), date("2024/03/31"), {}).dailyRows());
    EXPECT_EQ(ChartUnitFor(366), ChartUnit::Day);
    EXPECT_EQ(ChartUnitFor(731), ChartUnit::Week);
    EXPECT_EQ(ChartUnitFor(3660), ChartUnit::Month);
}

TEST(ReportLayout, AxesHoldEveryBarAndTheTarget) {
    SaltReport report = MakeSaltReport({day("2024/01/08", "23.4", "55", "187")}, date("2024/01/08"),
                                       date("2024/01/08"), QString());
    const ChartAxis salt = SaltAxis(report, 6.5);
    EXPECT_EQ(salt.min, 0);
    EXPECT_GE(salt.max, 23.4);
    EXPECT_LE(salt.max / salt.step, 6);
    EXPECT_EQ(SaltAxis(report, 40).max, 40);
    // A slip of the keys does not flatten the other days: the axis stops at
    // the cap and that bar is drawn cut.
    SaltReport slip = MakeSaltReport({day("2024/01/08", "6"), day("2024/01/09", "99.9")}, date("2024/01/08"),
                                     date("2024/01/09"), QString());
    EXPECT_EQ(SaltAxis(slip, 7).max, SaltAxisCap);
    const ChartAxis bp = PressureAxis(report);
    EXPECT_LE(bp.min, 55);
    EXPECT_GE(bp.max, 187);
    EXPECT_EQ(bp.fraction(0), 0);
    EXPECT_EQ(bp.fraction(500), 1);
    report.days.clear();
    EXPECT_EQ(PressureAxis(report).min, 60);
    EXPECT_LE(PressureAxis(report).min, HomeDiastolicLimit);
    EXPECT_GE(PressureAxis(report).max, HomeSystolicLimit);
}

// Dates under the chart: days within a year; a year band once the period
// crosses a year boundary; months with their year beyond about six months.
TEST(ReportLayout, DateMarksCarryTheYear) {
    auto describeAxis = [](const DateAxis& axis) {
        QStringList parts;
        for (const DateMark& m : axis.marks) parts << QStringLiteral("%1:%2").arg(m.day).arg(m.label);
        for (const YearSpan& y : axis.years)
            parts << QStringLiteral("%1=%2-%3").arg(y.year).arg(y.firstDay).arg(y.lastDay);
        return parts.join(u' ').toStdString();
    };
    EXPECT_EQ(describeAxis(DateAxisFor(date("2024/03/01"), date("2024/03/28"))),
              "0:03/01 7:03/08 14:03/15 21:03/22");
    EXPECT_EQ(describeAxis(DateAxisFor(date("2024/12/20"), date("2025/01/16"))),
              "0:12/20 7:12/27 14:01/03 21:01/10 2024=0-11 2025=12-27");
    EXPECT_EQ(
        describeAxis(DateAxisFor(date("2024/02/10"), date("2025/02/09"))),
        "20:2024/03 81:2024/05 142:2024/07 204:2024/09 265:2024/11 326:2025/01 2024=0-325 2025=326-365");
    for (const char* from : {"2023/12/10", "2016/12/10"}) {
        const DateAxis axis = DateAxisFor(date(from), date("2026/12/09"));
        EXPECT_LE(axis.marks.size(), 11u) << from;
        for (const DateMark& m : axis.marks)
            EXPECT_TRUE(QRegularExpression("^20\\d\\d/\\d\\d$").match(m.label).hasMatch());
        EXPECT_EQ(axis.years.back().lastDay, date(from).daysTo(date("2026/12/09")));
    }
}

TEST(ReportLayout, RowsFlowOntoPagesWithoutALonelyLine) {
    // 100 of room under a 10 header, rows of 10: nine rows a column.
    EXPECT_EQ(FlowRows(0, 0, 100, 10, 10, 2).firstPageRows, 18);
    EXPECT_EQ(FlowRows(60, 0, 100, 10, 10, 1).firstPageRows, 3);
    EXPECT_EQ(FlowRows(70, 0, 100, 10, 10, 1).firstPageRows, 0);  // two would stand alone
    EXPECT_EQ(FlowRows(95, 0, 100, 10, 10, 1).pageRows, 9);
    EXPECT_EQ(FlowRows(0, 0, 5, 10, 10, 1).pageRows, 1);  // always some progress
    // The whole period's line does not go over alone: the row before it goes too.
    EXPECT_EQ(RowsOnPage(25, 26), 24);
    EXPECT_EQ(RowsOnPage(25, 27), 25);
    EXPECT_EQ(RowsOnPage(25, 25), 25);
    EXPECT_EQ(RowsOnPage(2, 3), 2);  // always some progress
}

// A chart of averages spans whole runs: the week or month the period cuts
// short has a whole run's room, not a sliver.
TEST(ReportLayout, ACutRunKeepsAWholeRunsRoom) {
    const struct {
        const char *from, *to, *first, *last;
    } cases[] = {
        {"2024/03/01", "2024/03/28", "2024/03/01", "2024/03/28"},  // daily bars: the period
        {"2024/01/01", "2025/12/31", "2024/01/01", "2026/01/04"},  // 731 days: 104 weeks and 3 days
        {"2016/12/10", "2026/12/09", "2016/12/01", "2026/12/31"},  // monthly: whole months
    };
    for (const auto& c : cases) {
        const ChartDays days = ChartDaysFor(date(c.from), date(c.to));
        EXPECT_EQ(days.first, date(c.first)) << c.from;
        EXPECT_EQ(days.last, date(c.last)) << c.from;
    }
    const ChartDays lastWeek = RunOf(date("2025/12/31"), date("2024/01/01"), date("2025/12/31"));
    EXPECT_EQ(lastWeek.first.daysTo(lastWeek.last), 6);
}

// The text a PDF gives back: a glyph the font shares between a radical and
// its ideograph reads as the ideograph, and nothing in the file moves.
TEST(PdfText, SharedGlyphsReadAsTheTextDrawn) {
    QByteArray pdf =
        "1 0 obj\nbegincmap\n2 beginbfchar\n<2F8E> <2F8E>\n<0003> <2027>\nendbfchar\n"
        "2 beginbfrange\n<0000> <0000> <2F47>\n<0001> <0004> [<5869> <2F8E> <2FBC> <2F6C>]\n"
        "<0010> <0011> <2F00>\nendbfrange\nendcmap\n<2F8E>";
    const qsizetype size = pdf.size();
    CorrectPdfToUnicode(pdf);
    EXPECT_EQ(pdf.size(), size);
    // Sources stay, destinations are the text; a range counting up stays;
    // outside a table nothing changes.
    EXPECT_EQ(pdf.toStdString(),
              "1 0 obj\nbegincmap\n2 beginbfchar\n<2F8E> <8840>\n<0003> <30FB>\nendbfchar\n"
              "2 beginbfrange\n<0000> <0000> <65E5>\n<0001> <0004> [<5869> <8840> <9AD8> <76EE>]\n"
              "<0010> <0011> <2F00>\nendbfrange\nendcmap\n<2F8E>");
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
    put("Enbun.bak",
        QStringLiteral("\"2024/01/08\",\"6\",\"80\",\"120\"\r\n\"2024/01/09\",\"7\",\"\",\"\"\r\n"));
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
