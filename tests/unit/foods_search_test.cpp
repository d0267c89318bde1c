#include "foods/core/FoodSearch.h"

#include <gtest/gtest.h>

using namespace morv;

namespace {

TEST(FoodsSearch, KeysFoldKanaWidthCaseBlanksAndBrackets) {
    const char* cases[][2] = {
        {"ウメボシ", "うめぼし"},
        {"ｳﾒﾎﾞｼ", "うめぼし"},
        {"ＡＢＣ１２", "abc12"},
        {"Ｃｏｆｆｅｅ", "coffee"},
        {"（あじ類）　まあじ", "あじ類まあじ"},
        {"＜魚類＞ [x]", "魚類x"},
        {"うどん・そうめん", "うどんそうめん"},
        {"ヴァ", "ゔぁ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SearchKey(QString::fromUtf8(c[0])), QString::fromUtf8(c[1])) << c[0];
}

TEST(FoodsSearch, KanaKatakanaKanjiAndHalfWidthAllFindTheSameFood) {
    const FoodTable* table = FoodTable::Builtin();
    ASSERT_NE(table, nullptr);
    auto numbers = [&](const char* query) {
        std::vector<int> out;
        for (int i : SearchFoods(*table, QString::fromUtf8(query))) out.push_back(table->foods()[i].number);
        return out;
    };
    auto finds = [&](const char* query, int number) {
        const std::vector<int> found = numbers(query);
        return std::find(found.begin(), found.end(), number) != found.end();
    };
    for (const char* query : {"うめぼし", "ウメボシ", "梅干し", "ｳﾒﾎﾞｼ", "梅干し　塩漬", "うめ しおづけ"})
        EXPECT_TRUE(finds(query, 7022)) << query;  // うめ　梅干し　塩漬
    // Every word must match.
    EXPECT_EQ(numbers("うめぼし 調味"), std::vector<int>{7023});
    EXPECT_EQ(numbers("うめぼし かつお"), std::vector<int>{});
    // The group markers are searched too, though not shown.
    EXPECT_TRUE(finds("あじ類", 10003));
    EXPECT_EQ(numbers("").size(), table->foods().size());
}

TEST(FoodsSearch, NamesThatStartWithTheQueryComeFirstThenShorterOnes) {
    const auto table = FoodTable::Parse(
        "06134\t（だいこん類）　切干しだいこん　乾\t210\t0.5\t\n"
        "06132\t（だいこん類）　だいこん　根　皮つき　生\t19\t0\t\n"
        "06130\t（だいこん類）　だいこん　葉　生\t48\t0.1\t\n"
        "06136\t（だいこん類）　だいこん　漬物　たくあん漬\t1300\t3.3\t\n"
        "06200\tはつかだいこん　根　生\t8\t0\t\n");
    ASSERT_TRUE(table);
    std::vector<int> order;
    for (int i : SearchFoods(*table, u"ダイコン")) order.push_back(table->foods()[i].number);
    EXPECT_EQ(order, (std::vector<int>{6130, 6132, 6136, 6134, 6200}));
    // The leading marker is no start: "だいこん類" does not put 06134 first.
    order.clear();
    for (int i : SearchFoods(*table, u"きりぼし")) order.push_back(table->foods()[i].number);
    EXPECT_EQ(order, std::vector<int>{});  // no kana name given in this table
}

}  // namespace
