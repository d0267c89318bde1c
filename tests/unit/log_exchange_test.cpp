// The daily-log exchange file: Enbun.txt's lines out, and the check and load
// of a file coming in.

#include "storage/DataFiles.h"
#include "storage/LogExchange.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

namespace morv {
namespace {

TEST(LogExchange, ExportWritesEnbunLines) {
    EXPECT_EQ(EnbunBytes({}), "");
    EXPECT_EQ(EnbunBytes({{"2024/03/05", "9.2", "", ""}, {"2024/03/06", "7", "78", "131"}}),
              "\"2024/03/05\",\"9.2\",\"\",\"\"\r\n\"2024/03/06\",\"7\",\"78\",\"131\"\r\n");
}

TEST(LogExchange, TheCheckRefusesWhatCannotBeImported) {
    const QString good = "\"2024/01/05\",\"6\",\"\",\"\"\r\n";
    const struct {
        const char* what;
        QString text;
        LogCheck expected;
    } cases[] = {
        {"empty file", "", LogCheck::Refused},
        {"blank lines only", "\r\n\r\n", LogCheck::Refused},
        {"readings and unquoted fields", good + "2024/1/6,7.5,78,131\r\n", LogCheck::Accepted},
        {"not a calendar date", "\"2023/02/29\",\"6\",\"\",\"\"\r\n", LogCheck::Refused},
        {"salt of letters", good + "\"2024/01/06\",\"abc\",\"\",\"\"\r\n", LogCheck::Refused},
        {"empty salt", "\"2024/01/06\",\"\",\"\",\"\"\r\n", LogCheck::Refused},
        {"a reading of letters", good + "\"2024/01/06\",\"6\",\"\",\"x\"\r\n", LogCheck::Refused},
        {"fields not in fours", good + "\"2024/01/06\",\"6\"\r\n", LogCheck::Broken},
        {"a last line without its line end", good + "2024/01/06,7,,", LogCheck::Accepted},
        {"a single field", "\"2024/01/06\"", LogCheck::Broken},
        {"a refused record before the break", "\"x\",\"6\",\"\",\"\"\r\n\"1\"\r\n", LogCheck::Refused},
    };
    for (const auto& c : cases) {
        LogList log{{"old", "1", "", ""}};
        EXPECT_EQ(ReadLogExchange(c.text, log), c.expected) << c.what;
        EXPECT_EQ(log.empty(), c.expected != LogCheck::Accepted) << c.what;
    }
}

TEST(LogExchange, RecordsAreKeptExactlyAsWritten) {
    LogList log;
    ASSERT_EQ(ReadLogExchange("\"2024/3/5\",\"9.20\",\"\",\"\"\r\n\"2024/01/01\",\"1\",\"\",\"\"\r\n"
                              "\"2024/3/5\",\"2\",\"\",\"\"\r\n",
                              log),
              LogCheck::Accepted);
    const LogList expected{
        {"2024/3/5", "9.20", "", ""}, {"2024/01/01", "1", "", ""}, {"2024/3/5", "2", "", ""}};
    EXPECT_EQ(log, expected) << "not rewritten, sorted or merged";
}

TEST(LogExchange, AnExportedLogComesBackWhole) {
    LogList log;
    const QDate first(2020, 1, 1);
    for (int i = 0; i < 1000; ++i) {
        log.push_back({first.addDays(i).toString("yyyy/MM/dd"), QString::number(i % 97 / 10.0),
                       i % 3 ? QString::number(70 + i % 20) : "",
                       i % 3 ? QString::number(120 + i % 30) : ""});
    }
    LogList back;
    ASSERT_EQ(ReadLogExchange(DecodeCp932(EnbunBytes(log)), back), LogCheck::Accepted);
    EXPECT_EQ(back, log);
}

}  // namespace
}  // namespace morv
