#include "grid/core/SaltArithmetic.h"

#include <gtest/gtest.h>

#include <optional>

using namespace morv;

namespace {

using Op = SaltOperation;

TEST(GridSaltArithmetic, ConvertsSodiumToSaltCutToTwoDecimals) {
    struct Case {
        const char* sodium;
        const char* salt;
    };
    const Case cases[] = {
        {"1000", "2.54"}, {"123", "0.31"},  // 0.31242 cut, not rounded
        {"250", "0.63"},                    // 0.635 cut
        {"1", "0.00"},                      // the cut keeps the zeros that were there
        {"2000", "5.08"}, {"0", "0"},      {" 500 ", "1.27"}, {"1.5", "0.00"}, {"999999", "2539.99"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sodium);
        EXPECT_EQ(SodiumToSalt(QString::fromLatin1(c.sodium)), std::optional<QString>(c.salt));
    }
}

TEST(GridSaltArithmetic, SodiumThatIsNoUsableNumberGivesNoSalt) {
    for (const char* sodium : {"", ".", "abc", "1.2.3", "1e3"}) {
        EXPECT_EQ(SodiumToSalt(QString::fromLatin1(sodium)), std::nullopt) << sodium;
    }
    // A pasted value near the top of the double range overflows the product.
    EXPECT_EQ(SodiumToSalt(QString(308, u'9')), std::nullopt);
}

TEST(GridSaltArithmetic, PortionButtonsWorkInWholeThousandths) {
    struct Case {
        const char* salt;
        Op op;
        const char* result;
    };
    const Case cases[] = {
        {"1", Op::Third, "0.333"},        {"0.003", Op::Half, "0.001"},
        {"0.001", Op::Half, "0"},         {"1.2", Op::Fifth, "0.24"},
        {"1.2345", Op::Times3, "3.703"},                                  // cut, not rounded
        {"2.5", Op::Times2, "5"},         {"0.0025", Op::Half, "0.001"},  // 2.5 thousandths round to 2
        {"0.0035", Op::Half, "0.002"},                                    // 3.5 thousandths round to 4
        {"0.0005", Op::Times2, "0.001"},  {"0.001", Op::Half, "0"},
        {"12", Op::Times3, "36"},         {"12", Op::Times5, "60"},
        {"0.1", Op::Times3, "0.3"},       {"10", Op::Third, "3.333"},
        {"7", Op::Fifth, "1.4"},          {"0", Op::Half, "0"},
        {" 1.5 ", Op::Times2, "3"},       {"-1", Op::Third, "-0.333"},  // toward zero
        {"1.23456", Op::Times5, "6.172"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.salt) + " op " + std::to_string(static_cast<int>(c.op)));
        EXPECT_EQ(MultiplySalt(QString::fromLatin1(c.salt), c.op), std::optional<QString>(c.result));
    }
}

TEST(GridSaltArithmetic, DivisionsStopAtThe32BitLimitOfThousandths) {
    struct Case {
        const char* salt;
        Op op;
        std::optional<QString> result;
    };
    const Case cases[] = {
        {"2147483.647", Op::Half, "1073741.823"},
        {"2147483.6474", Op::Half, "1073741.823"},
        {"2147483.6475", Op::Half, std::nullopt},  // rounds to 2^31
        {"2147483.648", Op::Third, std::nullopt},
        {"99999999999", Op::Fifth, std::nullopt},
        {"-2147483.648", Op::Half, "-1073741.824"},
        {"-2147483.649", Op::Half, std::nullopt},
        // The multiplications have no such limit.
        {"2147483.648", Op::Times2, "4294967.296"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.salt);
        EXPECT_EQ(MultiplySalt(QString::fromLatin1(c.salt), c.op), c.result);
    }
}

TEST(GridSaltArithmetic, NothingToScaleOrAnOverflowGivesNoResult) {
    const Op all[] = {Op::Times2, Op::Times3, Op::Times5, Op::Half, Op::Third, Op::Fifth};
    for (Op op : all) {
        for (const char* salt : {"", " ", ".", "x2", "1,5"}) {
            EXPECT_EQ(MultiplySalt(QString::fromLatin1(salt), op), std::nullopt) << salt;
        }
    }
    const QString huge = QStringLiteral("1") + QString(308, u'0');  // 1e308
    EXPECT_EQ(MultiplySalt(huge, Op::Times5), std::nullopt);
    EXPECT_EQ(MultiplySalt(huge, Op::Half), std::nullopt);
    EXPECT_EQ(MultiplySalt(QStringLiteral("-") + huge, Op::Times2), std::nullopt);
}

TEST(GridSaltArithmetic, RepeatedHalvingReachesZeroAndStays) {
    QString salt = QStringLiteral("0.0005");
    salt = *MultiplySalt(salt, Op::Times2);
    EXPECT_EQ(salt, "0.001");
    salt = *MultiplySalt(salt, Op::Half);
    EXPECT_EQ(salt, "0");
    EXPECT_EQ(MultiplySalt(salt, Op::Half), std::optional<QString>("0"));
}

}  // namespace
