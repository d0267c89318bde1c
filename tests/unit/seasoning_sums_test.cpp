#include "diary/SelectedItems.h"
#include "grid/core/SaltArithmetic.h"
#include "seasoning/core/SeasoningSums.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace morv;

namespace {

using Op = SaltOperation;
using Text = std::optional<QString>;

TEST(SeasoningSums, WorkedExamples) {
    // The portion buttons share the grid's arithmetic.
    const struct {
        const char* salt;
        Op op;
        Text result;
    } portions[] = {
        {"6.0", Op::Third, "2"},
        {"0.9", Op::Half, "0.45"},
        {"1.3", Op::Third, "0.433"},
        {"0.2", Op::Times3, "0.6"},
        {"0.333", Op::Times3, "0.999"},
        {"0.001", Op::Third, "0"},
        {"0.005", Op::Half, "0.002"},
        {"0.0025", Op::Half, "0.001"},
        {"0.1", Op::Times3, "0.3"},
        {"1.23456", Op::Times2, "2.469"},
        {"2147483.6475", Op::Half, std::nullopt},
        {"", Op::Times2, std::nullopt},
    };
    for (const auto& c : portions)
        EXPECT_EQ(MultiplySalt(QString::fromLatin1(c.salt), c.op), c.result) << c.salt;

    const struct {
        std::vector<CountedRow> rows;
        const char* total;
    } totals[] = {
        {{}, "0"},
        {{{true, "a", "0.1"}, {true, "b", "0.2"}}, "0.3"},
        {{{true, "a", "7.456"}}, "7.45"},
        {{{true, "  ", "1"}, {true, "", "5"}, {false, "c", "5"}, {true, "d", "x"}}, "1"},
        {{{true, "extra", "1.23456"}}, "1.23"},
    };
    for (const auto& c : totals) EXPECT_EQ(SeasoningTotalText(c.rows), c.total);

    EXPECT_EQ(AddedToExtra("1", "1.23456"), Text("2.23456")) << "not cut";
    EXPECT_EQ(AddedToExtra("", ""), Text(""));
    EXPECT_EQ(AddedToExtra("", "0.5"), Text("0.5"));
    EXPECT_EQ(AddedToExtra("2", ""), Text("2"));
    EXPECT_EQ(ScaledBy(u"1.23456", u"1"), Text("1.234"));
    EXPECT_EQ(ScaledBy(u"1.5", u"3"), Text("4.5"));
    EXPECT_EQ(ScaledBy(u"1.5", u""), std::nullopt);
    EXPECT_EQ(ScaledBy(QString(300, u'9'), QString(300, u'9')), std::nullopt) << "beyond the double range";
    EXPECT_EQ(CarriedInto("1.5", "0.45"), Text("1.95"));
    EXPECT_EQ(CarriedInto("1.0005", "1"), Text("2.000")) << "cut, not rounded";
    EXPECT_EQ(CarriedInto("", "0.45"), Text("0.45"));
    EXPECT_EQ(CarriedInto("abc", "2"), Text("2"));
}

ItemList items(int selected) {
    ItemList table = NewItemTable();
    for (int s = 0; s < selected; ++s) table[size_t(s)] = {"1", QStringLiteral("n%1").arg(s), "", "1"};
    return table;
}

TEST(SelectedItemsList, SnapshotAndPaging) {
    ItemList table = items(3);
    table[1].ItemSalt = "x";
    table[2].ItemName = "";
    table[5] = {"0", "unticked", "", "1"};
    table[160] = {"1", "beyond the table", "", "1"};
    ASSERT_EQ(BuildSelectedItems(table).size(), 1u);

    for (auto [count, pages] : {std::pair{0, 1}, {1, 1}, {60, 1}, {61, 2}, {120, 2}, {121, 3}, {160, 3}})
        EXPECT_EQ(ListPageCount(static_cast<int>(BuildSelectedItems(items(count)).size())), pages) << count;

    EXPECT_EQ(NextListPage(2, 2), 1);
    EXPECT_EQ(NextListPage(1, 2), 2);
    EXPECT_EQ(PreviousListPage(1, 2), 2);
    EXPECT_EQ(ClampListPage(NextListPage(9, 2), 2), 2) << "an out-of-range box is brought back";
    EXPECT_EQ(ClampListPage(PageBoxValue(u"0", 2), 3), 1);
    EXPECT_EQ(PageBoxValue(u"", 2), 2) << "an emptied box stands for the page shown";

    EXPECT_EQ(NameCellText("ABC 12"), QStringLiteral(" ＡＢＣ　１２"));
    EXPECT_EQ(SaltCellText("1.5"), "1.5 ");
}

}  // namespace
