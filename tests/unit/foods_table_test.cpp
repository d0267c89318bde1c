#include "foods/core/FoodAmount.h"
#include "foods/core/FoodTable.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <optional>

using namespace morv;

namespace {

const Food* FoodNumbered(const FoodTable& table, int number) {
    for (const Food& food : table.foods())
        if (food.number == number) return &food;
    return nullptr;
}

TEST(FoodsTable, BuiltinTableHoldsTheTablesFiguresAndMarkers) {
    const FoodTable* table = FoodTable::Builtin();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->foods().size(), 2478u);  // the 2020 edition
    EXPECT_EQ(table->groupName(1), QStringLiteral("穀類"));
    EXPECT_EQ(table->groupName(18), QStringLiteral("調理済み流通食品類"));
    struct Case {
        int number;
        const char* name;
        const char* sodium;
        const char* salt;
    };
    // Published per 100 g; 15027 is an estimate, 13059 and 16015 carry the markers.
    const Case cases[] = {
        {7022, "うめ　梅干し　塩漬", "7200", "18.2"},
        {17007, "＜調味料類＞　（しょうゆ類）　こいくちしょうゆ", "5700", "14.5"},
        {1026, "こむぎ　［パン類］　角形食パン　食パン", "470", "1.2"},
        {12004, "鶏卵　全卵　生", "140", "0.4"},
        {1001, "アマランサス　玄穀", "1", "0"},
        {15027, "＜和生菓子・和半生菓子類＞　どら焼　つぶしあん入り", "170", "0.4"},
        {13059, "＜牛乳及び乳製品＞　（液状乳類）　乳児用液体ミルク", "不明", "微量"},
        {16015, "＜アルコール飲料類＞　（蒸留酒類）　しょうちゅう　単式蒸留しょうちゅう", "不明", "不明"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const Food* food = FoodNumbered(*table, c.number);
        ASSERT_NE(food, nullptr);
        EXPECT_EQ(food->name, QString::fromUtf8(c.name));
        EXPECT_EQ(SodiumFigureText(food->sodium), QString::fromUtf8(c.sodium));
        EXPECT_EQ(SaltFigureText(food->saltTenths), QString::fromUtf8(c.salt));
    }
    // Every name goes into the item file as it is.
    for (const Food& food : table->foods()) {
        bool undecodable = false;
        EXPECT_EQ(DecodeCp932(EncodeCp932(food.name), &undecodable), food.name) << food.number;
        EXPECT_FALSE(food.name.contains(Cp932Replacement)) << food.number;
    }
}

TEST(FoodsTable, ATextThatIsNoFoodTableIsRefused) {
    const char* broken[] = {
        "07022\tうめ\t7200\n",         // a field missing
        "07022\tうめ\tabc\t18.2\t\n",  // a figure that is no number
        "07022\t\t7200\t18.2\t\n",     // no name
        "G\tx\t穀類\n",
    };
    for (const char* text : broken) {
        QString error;
        EXPECT_EQ(FoodTable::Parse(text, &error), std::nullopt) << text;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(FoodTable::Parse("# only a comment\n")->foods().size(), 0u);
}

TEST(FoodsTable, ReadableNameDropsOnlyTheLeadingGroupMarkers) {
    const char* cases[][2] = {
        {"＜魚類＞　（あじ類）　まあじ　皮つき　生", "まあじ　皮つき　生"},
        {"（だいこん類）　だいこん　根　皮つき　生", "だいこん　根　皮つき　生"},
        {"こむぎ　［パン類］　角形食パン　食パン", "こむぎ　［パン類］　角形食パン　食パン"},
        {"こむぎ　［即席めん類］　即席中華めん　（添付調味料等を含むもの）",
         "こむぎ　［即席めん類］　即席中華めん　（添付調味料等を含むもの）"},
        {"（その他）", "（その他）"},  // nothing left to show otherwise
    };
    for (const auto& c : cases) EXPECT_EQ(ReadableName(QString::fromUtf8(c[0])), QString::fromUtf8(c[1]));
}

TEST(FoodsTable, AFoodForTheGramsEatenMakesATickedRowConvertedAsTheRowDoes) {
    const FoodTable* table = FoodTable::Builtin();
    ASSERT_NE(table, nullptr);
    struct Case {
        int number;
        const char* grams;
        std::optional<ItemRecord> row;
    };
    const Case cases[] = {
        {7022, "10", ItemRecord{"1", "うめ　梅干し　塩漬", "720", "1.82"}},  // 720 x 2.54 / 1000
        {17007, "18", ItemRecord{"1", "こいくちしょうゆ", "1026", "2.60"}},
        {1001, "33", ItemRecord{"1", "アマランサス　玄穀", "0.3", "0.00"}},
        {1026, "12.5", ItemRecord{"1", "こむぎ　［パン類］　角形食パン　食パン", "58.8", "0.14"}},  // 58.75
        {13059, "100", std::nullopt},  // sodium not measured
        {7022, "0", std::nullopt},
        {7022, "", std::nullopt},
        {7022, "abc", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.number) + " " + c.grams);
        EXPECT_EQ(ItemFor(*FoodNumbered(*table, c.number), QString::fromUtf8(c.grams)), c.row);
    }
    // A trace is 0, not "not measured".
    Food trace;
    trace.sodium = FigureTrace;
    trace.name = QStringLiteral("しお");
    EXPECT_EQ(ItemFor(trace, u"50"), (ItemRecord{"1", "しお", "0", "0"}));
}

}  // namespace
