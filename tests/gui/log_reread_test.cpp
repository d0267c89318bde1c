// A log a sync program replaces under the running window, as the folder's
// watch sees it: read and merged on a thread of its own, with what was
// registered here meanwhile kept.

#include "MainWindowFixture.h"

#include <cstdio>

namespace morv::test {
namespace {

using LogReread = MainWindowFixture;

QByteArray Line(const char* date, const char* salt) {
    return QByteArray("\"") + date + "\",\"" + salt + "\",\"\",\"\"\r\n";
}

TEST_F(LogReread, ALogReplacedElsewhereIsMergedAwayFromTheWindow) {
    put("Enbun.txt", Line("2024/01/01", "5") + Line("2024/01/02", "6"));
    Form1& w = start();
    Diary& d = w.diary();
    d.RegisterDay(d.FindPlace("2024/01/05"), "2024/01/05", "7");
    const QByteArray theirs = Line("2024/01/01", "5") + Line("2024/01/02", "4") + Line("2024/01/03", "8");
    put("Enbun.txt.new", theirs);
    ASSERT_EQ(std::rename(qPrintable(path("Enbun.txt.new")), qPrintable(path("Enbun.txt"))), 0);
    QTRY_COMPARE_WITH_TIMEOUT(d.LogCount(), 4, 10000);
    EXPECT_EQ(d.DailyLog()[1].DaySalt, "4");
    EXPECT_EQ(d.DailyLog()[3].LogDate, "2024/01/05");
    EXPECT_EQ(d.Changes(DataFile::Enbun).days, std::set<QString>{"2024/01/05"});
    w.close();
    EXPECT_EQ(bytes("Enbun.txt"), theirs + Line("2024/01/05", "7"));
    EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
}  // namespace morv::test
