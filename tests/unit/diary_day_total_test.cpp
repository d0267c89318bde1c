// The day's total and the places of registered days in the log.

#include "diary/DayTotal.h"
#include "diary/Registration.h"

#include <gtest/gtest.h>

namespace morv {
namespace {

ItemList items(std::initializer_list<ItemRecord> first) {
    ItemList table = NewItemTable();
    int slot = 0;
    for (const ItemRecord& item : first) table[slot++] = item;
    return table;
}

TEST(AppDayTotal, CountsTickedNamedNumericItemsCutToTwoDecimals) {
    EXPECT_EQ(DayTotalText(NewItemTable()), "0");
    EXPECT_EQ(DayTotalText(items({{"1", "a", "", "1.234"}, {"1", "b", "", "2.005"}})), "3.23") << "3.239 cut";
    EXPECT_EQ(DayTotalText(items({{"1", "a", "", "0.1"}, {"1", "b", "", "0.2"}})), "0.3");
    EXPECT_EQ(DayTotalText(items({{"1", "a", "", "7"}})), "7");
    EXPECT_EQ(DayTotalText(items({{"1", "a", "", "6.05"}})), "6.05");
    // Unticked, unnamed, non-numeric and odd tick values do not count.
    EXPECT_EQ(DayTotalText(items({{"0", "a", "", "1"},
                                  {"1", "", "", "1"},
                                  {"1", "b", "", "1.2.3"},
                                  {"", "c", "", "1"},
                                  {"2", "d", "", "1"},
                                  {"1", "e", "", " 2 "}})),
              "2");
}

TEST(AppDayTotal, SlotBeyondTheStoredTableNeverCounts) {
    ItemList table = NewItemTable();
    table[160] = {"1", "imported extra", "", "9"};
    EXPECT_EQ(DayTotalText(table), "0");
}

TEST(AppDayTotal, OnlyANumericTargetBelowTheShownTotalIsExceeded) {
    EXPECT_FALSE(TotalOverTarget("6", "6"));
    EXPECT_TRUE(TotalOverTarget("6.01", "6"));
    EXPECT_FALSE(TotalOverTarget("6", ""));
    EXPECT_FALSE(TotalOverTarget("6", "abc"));
    EXPECT_FALSE(TotalOverTarget("3.23", "3.23")) << "the cut caption is compared, not the uncut sum";
    EXPECT_TRUE(TotalOverTarget("0.01", "0"));
}

TEST(AppRegistration, NewDaysKeepTheLogAscendingAndOldDaysKeepTheirPressure) {
    LogList log{{"2024/01/02", "5", "", ""}, {"2024/01/05", "6", "80", "120"}};
    const LogPlace between = FindLogPlace(log, "2024/01/03");
    EXPECT_EQ(between.kind, LogPlace::Kind::Before);
    RegisterDay(log, between, "2024/01/03", "7.5");
    const LogPlace first = FindLogPlace(log, "2023/12/31");
    RegisterDay(log, first, "2023/12/31", "4");
    const LogPlace last = FindLogPlace(log, "2024/02/01");
    EXPECT_EQ(last.kind, LogPlace::Kind::Append);
    RegisterDay(log, last, "2024/02/01", "0");
    const LogList expected{{"2023/12/31", "4", "", ""},
                           {"2024/01/02", "5", "", ""},
                           {"2024/01/03", "7.5", "", ""},
                           {"2024/01/05", "6", "80", "120"},
                           {"2024/02/01", "0", "", ""}};
    EXPECT_EQ(log, expected);

    const LogPlace existing = FindLogPlace(log, "2024/01/05");
    ASSERT_EQ(existing.kind, LogPlace::Kind::Existing);
    EXPECT_EQ(existing.index, 3);
    RegisterDay(log, existing, "2024/01/05", "9.1");
    EXPECT_EQ(log[3], (LogRecord{"2024/01/05", "9.1", "80", "120"}));
    EXPECT_EQ(log.size(), 5u);
}

TEST(AppRegistration, AnImportedLogOutOfOrderIsAddedToAndNeverGetsADayTwice) {
    LogList log{{"2024/05/01", "5", "", ""}, {"2024/01/01", "6", "80", "120"}, {"2024/01/01", "7", "", ""}};
    const LogPlace existing = FindLogPlace(log, "2024/01/01");
    EXPECT_EQ(existing.kind, LogPlace::Kind::Existing);
    EXPECT_EQ(existing.index, 1) << "the first of its records, wherever it stands";
    const LogPlace fresh = FindLogPlace(log, "2024/02/01");
    EXPECT_EQ(fresh.kind, LogPlace::Kind::Before);
    EXPECT_EQ(fresh.index, 0) << "before the first later day";
}

TEST(AppRegistration, HalvingFindsWhatTheScanFindsInAnOrderedLog) {
    const LogList log{{"2024/01/02", "5", "", ""}, {"2024/01/05", "6", "", ""}, {"2024/02/01", "1", "", ""}};
    ASSERT_TRUE(IsInDateOrder(log));
    for (const char* date :
         {"2023/12/31", "2024/01/02", "2024/01/03", "2024/01/05", "2024/01/31", "2024/02/01", "2024/03/01"}) {
        const LogPlace scanned = FindLogPlace(log, date), halved = FindLogPlaceInOrder(log, date);
        EXPECT_EQ(halved.kind, scanned.kind) << date;
        EXPECT_EQ(halved.index, scanned.index) << date;
    }
    EXPECT_EQ(FindLogPlaceInOrder({}, "2024/01/05").kind, LogPlace::Kind::Append);
    EXPECT_FALSE(IsInDateOrder({{"2024/01/02", "", "", ""}, {"2024/01/02", "", "", ""}})) << "a day twice";
    EXPECT_FALSE(IsInDateOrder({{"2024/05/01", "", "", ""}, {"2024/01/01", "", "", ""}}));
}

TEST(AppRegistration, EmptyLogAndConfirmationText) {
    EXPECT_EQ(FindLogPlace({}, "2024/01/05").kind, LogPlace::Kind::Append);
    EXPECT_EQ(RegisteredText("2024/01/05", "6.5"), "2024/01/05 の塩分 [ 6.5 ] グラムを登録しました");
}

}  // namespace
}  // namespace morv
