// A day's fields keep the exact text they were given and order as their texts.

#include "storage/Records.h"
#include "storage/UsualLog.h"

#include <QDate>

#include <gtest/gtest.h>

namespace morv {
namespace {

int sign(int v) { return (v > 0) - (v < 0); }

TEST(StorageLogFields, DatesKeepTheirTextAndOrderAsText) {
    const QString texts[] = {"2024/01/05",  "2024/1/5",     "",           "2024/01/05 ",
                             "abcd/ef/gh",  "０２４/01/05", "1999/12/31", "2024/3/5",
                             "10000/01/01", "0000/00/00",   "2024/01/06"};
    for (const QString& a : texts) {
        const DateField field(a);
        EXPECT_EQ(field.text(), a);
        EXPECT_EQ(field.size(), a.size()) << qPrintable(a);
        EXPECT_EQ(field.isEmpty(), a.isEmpty());
        const DateField copy = field;
        EXPECT_EQ(copy, a);
        for (const QString& b : texts)
            EXPECT_EQ(sign(field.compare(DateField(b))), sign(a.compare(b))) << qPrintable(a + " : " + b);
    }
    DateField fromBytes;
    EXPECT_TRUE(DateField::FromUsualBytes("2024/01/05", 10, fromBytes));
    EXPECT_EQ(fromBytes, QString("2024/01/05"));
    EXPECT_FALSE(DateField::FromUsualBytes("2024/1/5", 8, fromBytes));
}

TEST(StorageLogFields, SharedTextsAreOnePointerAndEqualByText) {
    const SharedText empty, salt(QStringLiteral("6.5"));
    SharedText copy = salt;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(SharedText(QString()), empty);
    EXPECT_EQ(copy, salt);
    EXPECT_EQ(SharedText("6.5"), salt) << "separate strings of one text";
    copy = QStringLiteral("7");
    EXPECT_EQ(salt.text(), "6.5") << "a copy changed alone";
    EXPECT_EQ(sizeof(SharedText), sizeof(void*));
    EXPECT_EQ(sizeof(DateField), sizeof(void*));
}

}  // namespace
}  // namespace morv

namespace morv {
namespace {

TEST(StorageUsualLog, TakesOnlyTheLinesThatTheProgramWritesAndSharesTheirTexts) {
    LogList log;
    ASSERT_TRUE(
        ReadUsualLog("\"2024/01/04\",\"6.5\",\"\",\"\"\r\n\"2024/1/5\",\"6.5\",\"80\",\"120\"\r\n", log));
    const LogList expected{{"2024/01/04", "6.5", "", ""}, {"2024/1/5", "6.5", "80", "120"}};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(log[1].LogDate.text(), "2024/1/5");
    // Each of these is left to the general reader, which knows its rules.
    for (const char* odd :
         {"\"2024/01/04\",\"6,5\",\"\",\"\"\r\n", "\"2024/01/04\",\"6\",\"\",\"\"\n",
          "\"2024/01/04\",\"6\",\"\",\"\"", "\"2024/01/04\",\"6\",\"\"\r\n",
          " \"2024/01/04\",\"6\",\"\",\"\"\r\n", "\r\n", "\"2024/01/04\",\"\x82\xa0\",\"\",\"\"\r\n",
          "\"2024/01/04\",\"6\"\"\",\"\",\"\"\r\n"}) {
        LogList other;
        EXPECT_FALSE(ReadUsualLog(QByteArrayView(odd), other)) << odd;
    }
}

TEST(StorageUsualLog, KeepsEveryTextExactlyHoweverManyDistinctOnesThereAre) {
    // Past the thousands the texts stop being collected for sharing; short
    // and long ones, lengths one to nine, each must still read back as it was.
    QByteArray bytes;
    LogList expected;
    for (int i = 0; i < 6000; ++i) {
        const QString salt = QString::number(i % 7 == 0 ? i * 1000003LL : i);
        const QString low = i % 3 ? QString() : QString::number(i % 9 + 1);
        const QString high = i % 5 ? QString() : QStringLiteral("1") + QString(i % 9, u'0');
        const QString date = QDate(2000, 1, 1).addDays(i).toString(QStringLiteral("yyyy/MM/dd"));
        bytes += QStringLiteral("\"%1\",\"%2\",\"%3\",\"%4\"\r\n").arg(date, salt, low, high).toLatin1();
        expected.push_back({date, salt, low, high});
    }
    LogList log;
    ASSERT_TRUE(ReadUsualLog(bytes, log));
    EXPECT_EQ(log, expected);
}

}  // namespace
}  // namespace morv
