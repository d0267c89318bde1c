// The diary announces each real change once, for its own file, and nothing
// for a value it already holds; it remembers what changed until a save.

#include "diary/Diary.h"
#include "diary/DataKinds.h"
#include "diary/DiaryBooks.h"

#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace morv {
namespace {

struct Operation {
    const char* name;
    std::function<void(Diary&)> apply;
    DataFile file;
};

void prepare(Diary& diary) {
    ItemList items = NewItemTable();
    items[2] = {"1", "みそ汁", "", "1.5"};
    diary.LoadItemTable(items);
    diary.LoadDailyLog({{"2024/01/03", "7", "", ""}, {"2024/01/05", "6", "80", "120"}});
    diary.LoadSaltTarget("6.5");
}

TEST(AppDiary, EachOperationAnnouncesItsOwnFileOnceAndAnEqualValueNothing) {
    const Operation operations[] = {
        {"set an item",
         [](Diary& d) {
             d.SetItem(5, {"1", "鮭", "", "2"});
         },
         DataFile::Kiroku},
        {"tick", [](Diary& d) { d.SetChecked(3, "1"); }, DataFile::Kiroku},
        {"name", [](Diary& d) { d.SetItemName(2, "汁"); }, DataFile::Kiroku},
        {"sodium", [](Diary& d) { d.SetSodium(2, "500"); }, DataFile::Kiroku},
        {"salt", [](Diary& d) { d.SetItemSalt(2, "1.2"); }, DataFile::Kiroku},
        {"clear all ticks", [](Diary& d) { d.ClearAllTicks(); }, DataFile::Kiroku},
        {"register a new day",
         [](Diary& d) { d.RegisterDay(FindLogPlace(d.DailyLog(), "2024/01/04"), "2024/01/04", "5"); },
         DataFile::Enbun},
        {"register over a day",
         [](Diary& d) { d.RegisterDay(FindLogPlace(d.DailyLog(), "2024/01/05"), "2024/01/05", "3"); },
         DataFile::Enbun},
        {"set a reading", [](Diary& d) { d.SetReading(0, "70", "110"); }, DataFile::Enbun},
        {"clear a reading", [](Diary& d) { d.ClearReading(1); }, DataFile::Enbun},
        {"seasoning name", [](Diary& d) { d.SetSeasoningName(4, "味噌"); }, DataFile::Chomi},
        {"unit salt", [](Diary& d) { d.SetUnitSalt(4, "2"); }, DataFile::Chomi},
        {"bar shift", [](Diary& d) { d.SetPressureBarShift(2800); }, DataFile::Atu},
        {"target", [](Diary& d) { d.SetSaltTarget("7"); }, DataFile::Moku},
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.name);
        Diary diary;
        prepare(diary);
        std::vector<DataFile> heard;
        QObject::connect(&diary, &Diary::changed, [&](DataFile f) { heard.push_back(f); });
        op.apply(diary);
        EXPECT_EQ(heard, std::vector<DataFile>{op.file});
        for (const DataKind& kind : DataKinds)
            EXPECT_EQ(DiaryBooks(diary).HasChanges(kind.file), kind.file == op.file);
        op.apply(diary);
        EXPECT_EQ(heard.size(), 1u) << "the same value again";
        DiaryBooks(diary).Saved(op.file);
        EXPECT_FALSE(DiaryBooks(diary).HasChanges(op.file));
    }
}

// A save on another thread reads the log it was handed while the user goes on.
TEST(AppDiary, ASharedLogStaysAsItWasWhileTheDiaryChanges) {
    const std::function<void(Diary&)> changes[] = {
        [](Diary& d) { d.RegisterDay(FindLogPlace(d.DailyLog(), "2024/01/09"), "2024/01/09", "5"); },
        [](Diary& d) { d.RegisterDay(FindLogPlace(d.DailyLog(), "2024/01/05"), "2024/01/05", "3"); },
        [](Diary& d) { d.SetReading(0, "70", "110"); },
        [](Diary& d) {
            d.BeginLogImport({{"2020/01/01", "1", "", ""}});
        },
    };
    for (const auto& change : changes) {
        Diary diary;
        prepare(diary);
        const LogList before = diary.DailyLog();
        const std::shared_ptr<const LogList> shared = DiaryBooks(diary).SharedLog();
        change(diary);
        EXPECT_EQ(*shared, before);
        EXPECT_NE(diary.DailyLog(), before);
    }
}

TEST(AppDiary, RemembersWhichRecordsChangedAndLoadingIsNoChange) {
    Diary diary;
    prepare(diary);
    int heard = 0;
    QObject::connect(&diary, &Diary::changed, [&] { ++heard; });
    diary.LoadItemTable(NewItemTable());
    diary.LoadDailyLog({});
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(diary.ItemTable().size(), static_cast<size_t>(ItemSlotCount));

    diary.SetItemSalt(7, "1");
    diary.SetChecked(9, "1");
    diary.RegisterDay(FindLogPlace(diary.DailyLog(), "2024/02/01"), "2024/02/01", "4");
    diary.ClearAllTicks();
    EXPECT_EQ(DiaryBooks(diary).Changes(DataFile::Kiroku).rows, (std::set<int>{7, 9}));
    EXPECT_EQ(DiaryBooks(diary).Changes(DataFile::Enbun).days, std::set<QString>{"2024/02/01"});
    EXPECT_FALSE(DiaryBooks(diary).Changes(DataFile::Enbun).whole);
}

TEST(AppDiary, ADroppedImportGivesBackTheFileOrTheTableFromBeforeTheFirstImport) {
    Diary diary;
    prepare(diary);
    const ItemList before = diary.ItemTable();
    ItemList first = before, second = before;
    first[0].ItemName = "一つ目";
    second[0].ItemName = "二つ目";
    diary.BeginItemImport(first);
    diary.BeginItemImport(second);
    EXPECT_TRUE(diary.ItemImportPending());
    DiaryBooks(diary).DropItemImport(nullptr);  // the file could not be read back
    EXPECT_FALSE(diary.ItemImportPending());
    EXPECT_EQ(diary.ItemTable(), before);
    EXPECT_TRUE(DiaryBooks(diary).HasChanges(DataFile::Kiroku)) << "saved again from memory";

    diary.BeginLogImport({{"2020/01/01", "1", "", ""}});
    const LogList readBack{{"2024/01/05", "6", "", ""}};
    DiaryBooks(diary).DropLogImport(&readBack);
    EXPECT_EQ(diary.DailyLog(), readBack);
    EXPECT_FALSE(DiaryBooks(diary).HasChanges(DataFile::Enbun));
}

}  // namespace
}  // namespace morv
