// The three-way merge of a data file changed on this machine and elsewhere,
// per file, written as base / ours / theirs; and the Diary's own bookkeeping
// of what it changed since the file was read, which is the merge's base.

#include "diary/Diary.h"
#include "diary/SyncMerge.h"

#include <gtest/gtest.h>

namespace morv {
namespace {

LogRecord Day(const char* date, const char* salt) { return {date, salt, {}, {}}; }

// A log as "date=salt ..." with days 01..; "-" for none.
LogList Log(std::initializer_list<std::pair<const char*, const char*>> days) {
    LogList log;
    for (const auto& [date, salt] : days) log.push_back(Day(date, salt));
    return log;
}

// The base of every day where base and ours differ, as the Diary keeps it.
LogBase BaseOf(const LogList& base, const LogList& ours) {
    LogBase changed;
    auto find = [](const LogList& log, const QString& date) -> std::optional<LogRecord> {
        for (const LogRecord& d : log)
            if (d.LogDate == date) return d;
        return std::nullopt;
    };
    for (const LogList* side : {&base, &ours})
        for (const LogRecord& d : *side)
            if (find(base, d.LogDate) != find(ours, d.LogDate))
                changed.emplace(d.LogDate, find(base, d.LogDate));
    return changed;
}

TEST(SyncMerge, TheLogMergesByDate) {
    struct Case {
        const char* name;
        LogList base, ours, theirs, merged;
        bool conflict;
    };
    const LogList b = Log({{"2024/01/01", "5"}, {"2024/01/02", "6"}, {"2024/01/03", "7"}});
    const Case cases[] = {
        {"a day added on each side", b,
         Log({{"2024/01/01", "5"}, {"2024/01/02", "6"}, {"2024/01/03", "7"}, {"2024/01/05", "9"}}),
         Log({{"2024/01/01", "5"}, {"2024/01/02", "6"}, {"2024/01/03", "7"}, {"2024/01/04", "8"}}),
         Log({{"2024/01/01", "5"},
              {"2024/01/02", "6"},
              {"2024/01/03", "7"},
              {"2024/01/04", "8"},
              {"2024/01/05", "9"}}),
         false},
        {"a day new here goes before theirs", b,
         Log({{"2023/12/31", "1"}, {"2024/01/01", "5"}, {"2024/01/02", "6"}, {"2024/01/03", "7"}}),
         Log({{"2024/01/01", "5"}, {"2024/01/03", "7"}}),
         Log({{"2023/12/31", "1"}, {"2024/01/01", "5"}, {"2024/01/03", "7"}}), false},
        {"changed only there", b, b, Log({{"2024/01/01", "5"}, {"2024/01/02", "4"}, {"2024/01/03", "7"}}),
         Log({{"2024/01/01", "5"}, {"2024/01/02", "4"}, {"2024/01/03", "7"}}), false},
        {"changed here, deleted there", b,
         Log({{"2024/01/01", "5"}, {"2024/01/02", "3"}, {"2024/01/03", "7"}}),
         Log({{"2024/01/01", "5"}, {"2024/01/03", "7"}}),
         Log({{"2024/01/01", "5"}, {"2024/01/02", "3"}, {"2024/01/03", "7"}}), true},
        {"deleted there, unchanged here", b, b, Log({{"2024/01/01", "5"}, {"2024/01/03", "7"}}),
         Log({{"2024/01/01", "5"}, {"2024/01/03", "7"}}), false},
        {"changed alike on both", b, Log({{"2024/01/01", "2"}, {"2024/01/02", "6"}, {"2024/01/03", "7"}}),
         Log({{"2024/01/01", "2"}, {"2024/01/02", "6"}, {"2024/01/03", "7"}}),
         Log({{"2024/01/01", "2"}, {"2024/01/02", "6"}, {"2024/01/03", "7"}}), false},
        {"changed differently: ours", b, Log({{"2024/01/01", "2"}, {"2024/01/02", "6"}, {"2024/01/03", "7"}}),
         Log({{"2024/01/01", "3"}, {"2024/01/02", "6"}, {"2024/01/03", "8"}}),
         Log({{"2024/01/01", "2"}, {"2024/01/02", "6"}, {"2024/01/03", "8"}}), true},
        {"the same day added differently",
         {},
         Log({{"2024/01/05", "1"}}),
         Log({{"2024/01/05", "2"}}),
         Log({{"2024/01/05", "1"}}),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MergedLog m = MergeLog(c.ours, c.theirs, BaseOf(c.base, c.ours), false);
        EXPECT_EQ(m.data, c.merged);
        EXPECT_EQ(m.conflict, c.conflict);
        // What is left to save is exactly where the result is not theirs.
        EXPECT_EQ(m.stillOurs.empty(), m.data == c.theirs);
    }
    // Replaced as a whole here (no base): theirs' own days stay, ours win.
    const MergedLog whole = MergeLog(Log({{"2024/01/02", "1"}}), b, {}, true);
    EXPECT_EQ(whole.data, Log({{"2024/01/01", "5"}, {"2024/01/02", "1"}, {"2024/01/03", "7"}}));
    EXPECT_TRUE(whole.conflict);
}

TEST(SyncMerge, TablesMergeBySlotAndValuesAsOne) {
    ItemList base = NewItemTable(), ours = base, theirs = base;
    ours[0].ItemName = "here";                  // changed only here
    theirs[1].ItemName = "there";               // changed only there
    ours[2].Checked = theirs[2].Checked = "1";  // alike
    ours[3].ItemSalt = "1";                     // differently
    theirs[3].ItemSalt = "2";
    ItemBase changed{{0, base[0]}, {2, base[2]}, {3, base[3]}};
    const MergedItems items = MergeItems(ours, theirs, changed, false);
    EXPECT_EQ(items.data[0].ItemName, "here");
    EXPECT_EQ(items.data[1].ItemName, "there");
    EXPECT_EQ(items.data[2].Checked, "1");
    EXPECT_EQ(items.data[3].ItemSalt, "1");
    EXPECT_TRUE(items.conflict);
    EXPECT_EQ(items.stillOurs.size(), 2u) << "slots 0 and 3 still differ from the file";

    SeasoningList s{}, so = s, st = s;
    so[4].UnitSalt = "6.0";
    st[5].SeasoningName = "酢";
    const MergedSeasonings rows = MergeSeasonings(so, st, {{4, s[4]}}, false);
    EXPECT_EQ(rows.data[4].UnitSalt, "6.0");
    EXPECT_EQ(rows.data[5].SeasoningName, "酢");
    EXPECT_FALSE(rows.conflict);

    struct Value {
        const char* name;
        std::optional<QString> base;  // absent: unchanged here
        QString ours, theirs, merged;
        bool conflict;
    };
    for (const Value& v : {Value{"only there", std::nullopt, "7", "8", "8", false},
                           Value{"only here", QString("7"), "6", "7", "6", false},
                           Value{"alike", QString("7"), "6", "6", "6", false},
                           Value{"differently", QString("7"), "6", "5", "6", true}}) {
        SCOPED_TRACE(v.name);
        bool conflict = false;
        EXPECT_EQ(MergeValue(v.ours, v.theirs, v.base, conflict), v.merged);
        EXPECT_EQ(conflict, v.conflict);
    }
}

TEST(SyncMerge, TheDiaryMergesWhatItChangedSinceTheRead) {
    Diary diary;
    diary.LoadDailyLog(Log({{"2024/01/01", "5"}, {"2024/01/02", "6"}}));
    diary.RegisterDay(FindLogPlace(diary.DailyLog(), "2024/01/04"), "2024/01/04", "9");
    diary.SetReading(0, "80", "120");
    // Elsewhere: a day added, and 01/01 changed too.
    const LogList theirs = Log({{"2024/01/01", "4"}, {"2024/01/02", "6"}, {"2024/01/03", "8"}});
    EXPECT_TRUE(diary.TakeDailyLog(theirs));
    ASSERT_EQ(diary.LogCount(), 4);
    EXPECT_EQ(diary.DailyLog()[0], (LogRecord{"2024/01/01", "5", "80", "120"}));
    EXPECT_EQ(diary.DailyLog()[2].LogDate, "2024/01/03");
    EXPECT_EQ(diary.DailyLog()[3].LogDate, "2024/01/04");
    EXPECT_EQ(diary.Changes(DataFile::Enbun).days, (std::set<QString>{"2024/01/01", "2024/01/04"}));

    // Nothing changed here: the file simply becomes the data.
    diary.Saved(DataFile::Enbun);
    EXPECT_FALSE(diary.TakeDailyLog(theirs));
    EXPECT_EQ(diary.DailyLog(), theirs);
    EXPECT_FALSE(diary.HasChanges(DataFile::Enbun));

    // A sync program's copy adds only the days this log lacks.
    EXPECT_EQ(diary.AddMissingDays(Log({{"2024/01/02", "1"}, {"2023/12/30", "2"}})), 1);
    EXPECT_EQ(diary.DailyLog().front(), Day("2023/12/30", "2"));
    EXPECT_EQ(diary.DailyLog()[2], Day("2024/01/02", "6"));

    // Merged away from the diary's thread: a change made meanwhile drops the
    // result untouched, and the merge made again keeps it.
    diary.Saved(DataFile::Enbun);
    diary.SetReading(0, "70", "110");
    const LogList theirsNow =
        Log({{"2023/12/30", "2"}, {"2024/01/01", "4"}, {"2024/01/02", "6"}, {"2024/01/03", "1"}});
    Diary::LogTake take = diary.PrepareLogTake(theirsNow);
    Diary::RunLogTake(take);
    diary.RegisterDay(diary.FindPlace("2024/01/09"), "2024/01/09", "1");
    const LogList before = diary.DailyLog();
    EXPECT_EQ(diary.FinishLogTake(take), std::nullopt);
    EXPECT_EQ(diary.DailyLog(), before);
    take = diary.PrepareLogTake(theirsNow);
    Diary::RunLogTake(take);
    EXPECT_EQ(diary.FinishLogTake(take), std::optional<bool>(false));
    EXPECT_EQ(diary.DailyLog(), (LogList{{"2023/12/30", "2", "70", "110"},
                                         Day("2024/01/01", "4"),
                                         Day("2024/01/02", "6"),
                                         Day("2024/01/03", "1"),
                                         Day("2024/01/09", "1")}));
    EXPECT_EQ(diary.Changes(DataFile::Enbun).days, (std::set<QString>{"2023/12/30", "2024/01/09"}));

    EXPECT_TRUE(IsSyncConflictCopy("Enbun.sync-conflict-20240105-093000-ABCDEFG.txt", "Enbun"));
    EXPECT_TRUE(IsSyncConflictCopy("Enbun (conflicted copy 2024-01-05 093000).txt", "Enbun"));
    EXPECT_TRUE(IsSyncConflictCopy("Kiroku (conflict 2024-01-05 093000).txt", "Kiroku"));
    EXPECT_FALSE(IsSyncConflictCopy(MergedCopyName("Enbun", "20240105-093100", 2), "Enbun"));
    EXPECT_FALSE(IsSyncConflictCopy("Enbun.sync-conflict-20240105-093000-ABCDEFG.merged-20240105-093100.txt",
                                    "Enbun"));
    EXPECT_FALSE(IsSyncConflictCopy(".syncthing.Enbun.txt.tmp", "Enbun"));
    EXPECT_FALSE(IsSyncConflictCopy("Enbun.unreadable-20240105-093000.txt", "Enbun"));
}

}  // namespace
}  // namespace morv
