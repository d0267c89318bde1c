#include "text/NumericText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <limits>

using namespace morv;

TEST(TextNumeric, AcceptsDecimalNumbersWithBlanksAndSign) {
    struct Case {
        const char16_t* text;
        double value;
    };
    const Case cases[] = {
        {u"0", 0},
        {u"3", 3},
        {u"2.54", 2.54},
        {u"1.", 1},
        {u".5", 0.5},
        {u"+2", 2},
        {u"-3", -3},
        {u" -3 ", -3},
        {u"\t1.25\t", 1.25},
        {u"007", 7},
        {u"-.5", -0.5},
        {u"+0.", 0},
        {u"0.31242", 0.31242},
        {u"123456789012345678901234567890", 123456789012345678901234567890.0},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(IsNumeric(text));
        ASSERT_TRUE(NumericValue(text).has_value());
        EXPECT_DOUBLE_EQ(*NumericValue(text), c.value);
        EXPECT_DOUBLE_EQ(ValueOf(text), c.value);
    }
}

TEST(TextNumeric, RefusesAnythingElse) {
    const char16_t* cases[] = {
        u"",         u" ",    u".",       u"+",       u"-",   u"+.",    u" . ", u"1e3",
        u"1E3",      u"0x10", u"&H10",    u"1,000",   u"1,5", u"1.2.3", u"..5", u"１",
        u"1０",      u"- 1",  u"+-1",     u"--1",     u"1 2", u"1-",    u"inf", u"nan",
        u"Infinity", u"1d2",  u"\u30002", u"2\u3000", u"\n1", u"1\r\n", u"12a", u"a12",
    };
    for (const char16_t* c : cases) {
        const QString text = QString::fromUtf16(c);
        EXPECT_FALSE(IsNumeric(text)) << text.toStdString();
        EXPECT_FALSE(NumericValue(text).has_value()) << text.toStdString();
        EXPECT_EQ(ValueOf(text), 0.0) << text.toStdString();
    }
}

TEST(TextNumeric, HandlesValuesAtTheEdgeOfTheDoubleRange) {
    // Beyond the double range is not a usable amount.
    const QString huge = QString(400, u'9');
    EXPECT_FALSE(IsNumeric(huge));
    EXPECT_FALSE(IsNumeric(u"-"_qs + huge + u".5"_qs));
    EXPECT_EQ(ValueOf(huge), 0.0);

    // A vanishing fraction is still a number, just zero.
    const QString tiny = u"0."_qs + QString(400, u'0') + u"1"_qs;
    ASSERT_TRUE(IsNumeric(tiny));
    EXPECT_EQ(ValueOf(tiny), 0.0);

    // Leading zeros do not make a number large.
    EXPECT_DOUBLE_EQ(ValueOf(QString(400, u'0') + u"12"_qs), 12.0);
}

TEST(TextNumeric, IgnoresTheCLocale) {
    // A locale with a decimal comma must not change what "." means. Not every
    // system has one installed; the check is skipped when none is.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const char* candidates[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8"};
    bool switched = false;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name)) {
            switched = true;
            break;
        }
    }
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
    const double value = ValueOf(u"2.54");
    const QString text = NumberText(0.31242);
    const bool commaNumeric = IsNumeric(u"2,54");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_DOUBLE_EQ(value, 2.54);
    EXPECT_EQ(text, u"0.31242");
    EXPECT_FALSE(commaNumeric);
}

TEST(NumberText, WritesPlainDecimalTextWithFifteenDigits) {
    struct Case {
        double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {0.1 * 3, u"0.3"},
        {1.0 / 3, u"0.333333333333333"},
        {2.0 / 3, u"0.666666666666667"},
        {3, u"3"},
        {0, u"0"},
        {-0.0, u"0"},
        {0.31242, u"0.31242"},
        {1000 * 2.54 / 1000, u"2.54"},
        {123 * 2.54 / 1000, u"0.31242"},
        {0.00254, u"0.00254"},
        {-2.5, u"-2.5"},
        {-1.0 / 3, u"-0.333333333333333"},
        {10, u"10"},
        {1500.25, u"1500.25"},
        {1e20, u"100000000000000000000"},
        {-1e20, u"-100000000000000000000"},
        {1.2345678901234567e20, u"123456789012346000000"},
        {123456789012345.6, u"123456789012346"},
        {999999999999999.9, u"1000000000000000"},
        {0.1 + 0.2, u"0.3"},
        {1e-7, u"0.0000001"},
        {1.5e-10, u"0.00000000015"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberText(c.value), QString::fromUtf16(c.text)) << c.value;
    }
}

TEST(NumberText, EdgeValues) {
    EXPECT_EQ(NumberText(std::numeric_limits<double>::infinity()), u"");
    EXPECT_EQ(NumberText(-std::numeric_limits<double>::infinity()), u"");
    EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()), u"");

    const QString max = NumberText(DBL_MAX);
    EXPECT_EQ(max.size(), 309);
    EXPECT_TRUE(max.startsWith(u"179769313486232"));
    EXPECT_EQ(max.mid(15), QString(294, u'0'));

    const QString denormal = NumberText(5e-324);
    EXPECT_TRUE(denormal.startsWith(u"0."_qs + QString(323, u'0') + u"494065645841247"_qs));
    EXPECT_EQ(denormal.size(), 2 + 323 + 15);
}

TEST(NumberText, ReadsBackAsTheSameNumber) {
    // What the program shows must be accepted again when the user leaves it
    // in a box, with the value it showed.
    // (DBL_MAX is left out: its 15-digit text rounds up past the double range.)
    const double values[] = {0.1 * 3, 1.0 / 3, 2.54,   123 * 2.54 / 1000, -7.125, 1e20,
                             1e-7,    1e300,   5e-324, 12345.678};
    for (const double v : values) {
        const QString text = NumberText(v);
        ASSERT_TRUE(IsNumeric(text)) << text.toStdString();
        EXPECT_EQ(NumberText(ValueOf(text)), text);
    }
}

TEST(TextCutDecimals, KeepsDigitsAfterThePointWithoutRounding) {
    struct Case {
        const char16_t* text;
        int n;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"0.00254", 2, u"0.00"},
        {u"0.635", 2, u"0.63"},
        {u"0.639", 2, u"0.63"},
        {u"3", 2, u"3"},
        {u"3.1", 2, u"3.1"},
        {u"3.14", 2, u"3.14"},
        {u"2.54321", 3, u"2.543"},
        {u"-1.999", 2, u"-1.99"},
        {u".5678", 2, u".56"},
        {u"1.2.3", 2, u"1.2."},
        {u"", 2, u""},
        {u".", 2, u"."},
        {u"12.5", 0, u"12."},
        {u"12.5", -1, u"12."},
        {u"abc", 2, u"abc"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(CutDecimals(text, c.n), QString::fromUtf16(c.expected)) << text.toStdString() << " " << c.n;
    }
}
