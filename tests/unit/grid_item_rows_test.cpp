#include "grid/core/ItemRows.h"

#include <gtest/gtest.h>

using namespace morv;

namespace {

TEST(GridItemRows, NamesLoseSurroundingBlanksOnly) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"", u""},           {u"   ", u""},
        {u"\u3000\t ", u""},  {u"  みそ汁 ", u"みそ汁"},
        {u"a b", u"a b"},     {u"\u3000a\u3000b\u3000", u"a\u3000b"},
        {u"\na\n", u"\na\n"},  // only blanks a keyboard types into a one-line box
    };
    for (auto [name, stored] : cases)
        EXPECT_EQ(TrimBlanks(QString::fromUtf16(name)), QString::fromUtf16(stored));
}

TEST(GridItemRows, APageIsMarkedByItsBestRecord) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, ItemRecord>> records;  // slot, record
        PageMark page0;
        PageMark page1;
    };
    const Case cases[] = {
        {"empty table", {}, PageMark::Empty, PageMark::Empty},
        {"unticked name", {{3, {"0", "a", "", "1"}}}, PageMark::Named, PageMark::Empty},
        {"counted", {{15, {"1", "a", "", "1"}}}, PageMark::Counted, PageMark::Empty},
        {"counted after named",
         {{0, {"0", "a", "", ""}}, {9, {"1", "b", "", "2"}}},
         PageMark::Counted,
         PageMark::Empty},
        {"ticked, no number", {{16, {"1", "a", "", "x"}}}, PageMark::Empty, PageMark::Named},
        {"ticked, no name", {{17, {"1", "", "", "1"}}}, PageMark::Empty, PageMark::Empty},
        {"odd tick", {{20, {"y", "a", "", "1"}}}, PageMark::Empty, PageMark::Named},
    };
    for (const Case& c : cases) {
        ItemList items = NewItemTable();
        for (const auto& [slot, record] : c.records) items[static_cast<size_t>(slot)] = record;
        EXPECT_EQ(MarkOfPage(items, 0), c.page0) << c.what;
        EXPECT_EQ(MarkOfPage(items, 1), c.page1) << c.what;
    }
}

TEST(GridItemRows, AShortTableOrABadPageMarksNothing) {
    ItemList items(20, ItemRecord{"1", "a", "", "1"});
    EXPECT_EQ(MarkOfPage(items, 0), PageMark::Counted);
    EXPECT_EQ(MarkOfPage(items, 1), PageMark::Counted) << "slots 16..19 exist";
    EXPECT_EQ(MarkOfPage(items, 2), PageMark::Empty);
    EXPECT_EQ(MarkOfPage(items, -1), PageMark::Empty);
    EXPECT_EQ(MarkOfPage(items, 10), PageMark::Empty);
}

}  // namespace
