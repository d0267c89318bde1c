#include "text/DateText.h"

#include <gtest/gtest.h>

using namespace morv;

TEST(DateText, ReadsTheTypedForms) {
    struct Case {
        const char16_t* text;
        int year, month, day;
    };
    const Case cases[] = {
        {u"2024/01/05", 2024, 1, 5},   {u"2024/1/5", 2024, 1, 5},    {u"2024/12/31", 2024, 12, 31},
        {u"2024/02/29", 2024, 2, 29},  {u"2000/02/29", 2000, 2, 29}, {u"24/01/05", 2024, 1, 5},
        {u"  24/01/05", 2024, 1, 5},   {u"   4/01/05", 2004, 1, 5},  {u"00/1/1", 2000, 1, 1},
        {u"29/12/31", 2029, 12, 31},   {u"30/01/01", 1930, 1, 1},    {u"99/12/31", 1999, 12, 31},
        {u"2024-01-05", 2024, 1, 5},   {u"\t2024/1/5 ", 2024, 1, 5}, {u"1000/01/01", 1000, 1, 1},
        {u"9999/12/31", 9999, 12, 31},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const auto date = ReadDate(text);
        ASSERT_TRUE(date.has_value()) << text.toStdString();
        EXPECT_EQ(*date, QDate(c.year, c.month, c.day)) << text.toStdString();
        EXPECT_TRUE(IsValidDate(text)) << text.toStdString();
    }
}

TEST(DateText, RefusesWhatIsNotADate) {
    const char16_t* cases[] = {
        u"",
        u" ",
        u"/",
        u"//",
        u"2023/02/29",
        u"1900/02/29",
        u"2024/13/01",
        u"2024/00/10",
        u"2024/01/00",
        u"2024/01/32",
        u"2024/04/31",
        u"2024/01/05x",
        u"x2024/01/05",
        u"2024/01",
        u"2024/01/05/",
        u"2024/01-05",
        u"2024-01/05",
        u"2024//05",
        u"/01/05",
        u"2024/001/05",
        u"2024/01/005",
        u"024/01/05",
        u"0999/01/01",
        u"10000/01/01",
        u"20240105",
        u"2024.01.05",
        u"2024 /01/05",
        u"2024/ 1/05",
        u"２０２４/01/05",
        u"-2024/01/05",
        u"+24/01/05",
        u"2024年1月5日",
        u"abc",
        u"    /  /  ",
    };
    for (const char16_t* c : cases) {
        const QString text = QString::fromUtf16(c);
        EXPECT_FALSE(ReadDate(text).has_value()) << text.toStdString();
        EXPECT_FALSE(IsValidDate(text)) << text.toStdString();
    }
}

TEST(DateText, WritesYearMonthDayPadded) {
    EXPECT_EQ(DateText(QDate(2024, 1, 5)), u"2024/01/05");
    EXPECT_EQ(DateText(QDate(1999, 12, 31)), u"1999/12/31");
    EXPECT_EQ(DateText(QDate()), u"");
    EXPECT_EQ(DateText(QDate(999, 1, 1)), u"");
    EXPECT_EQ(DateText(QDate(10000, 1, 1)), u"");
    // Texts compare in date order.
    EXPECT_LT(DateText(QDate(2023, 12, 31)), DateText(QDate(2024, 1, 1)));
}

TEST(DateText, LaysShortTextsIntoThePatternFromTheRight) {
    struct Case {
        const char16_t* text;
        const char16_t* laid;
    };
    const Case cases[] = {
        {u"20240105", u"2024/01/05"},
        {u"240105", u"  24/01/05"},
        {u"40105", u"   4/01/05"},
        {u"5", u"    /  / 5"},
        {u"", u"    /  /  "},
        {u"abc", u"    / a/bc"},
        // Every character fills a placeholder, slashes included.
        {u"2024/1/5", u"2024//1//5"},
        {u"202401051", u"20240/10/51"},
        {u"2024/01/05", u"2024/01/05"},
        {u"2024/01/05 ", u"2024/01/05 "},
        {u"whatever is long", u"whatever is long"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(LayIntoDatePattern(text), QString::fromUtf16(c.laid)) << text.toStdString();
    }
}

TEST(DateText, NormalizesWhatTheDateBoxHolds) {
    struct Case {
        const char16_t* text;
        const char16_t* normal;
    };
    const Case cases[] = {
        {u"2024/01/05", u"2024/01/05"},
        {u"2024/1/5", u"2024/01/05"},
        {u"24/1/5", u"2024/01/05"},
        {u"2024-1-5", u"2024/01/05"},
        {u" 2024/1/5 ", u"2024/01/05"},
        {u"20240105", u"2024/01/05"},
        {u"240105", u"2024/01/05"},
        {u"991231", u"1999/12/31"},
        {u"40105", u"2004/01/05"},
        // Not dates: laid into the pattern when short, otherwise left alone.
        {u"abc", u"    / a/bc"},
        {u"", u"    /  /  "},
        {u"20230229", u"2023/02/29"},
        {u"2024/13/01", u"2024/13/01"},
        {u"2024/01/05x", u"2024/01/05x"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const QString normal = NormalizeDateText(text);
        EXPECT_EQ(normal, QString::fromUtf16(c.normal)) << text.toStdString();
        // Normalizing again changes nothing.
        EXPECT_EQ(NormalizeDateText(normal), normal) << text.toStdString();
    }
    EXPECT_FALSE(IsValidDate(NormalizeDateText(u"abc"_qs)));
    EXPECT_FALSE(IsValidDate(NormalizeDateText(u"20230229"_qs)));
}
