#pragma once
// Merging a data file that another program (a sync program bringing another
// machine's save) changed with what was changed here meanwhile, record by
// record: the log by date, the item and seasoning tables by slot, the target
// and the bar shift as one value each.
//
// Each merge gets this copy's data (ours), the file as it is now (theirs) and,
// for each record changed here since the file was last read or written here,
// what the record held then (its base; absent for a day that was new). A
// record not changed here has ours as its base. `whole`: the data was
// replaced as a whole here and no record's base is known; every record then
// counts as changed here from nothing.
//
// A record changed only there takes theirs (a deletion included); one changed
// only here keeps ours; one added on either side is kept; one changed alike
// on both is that. One changed differently on both sides keeps ours, and the
// merge says so (`conflict`): theirs is then worth keeping aside.

#include "storage/Records.h"

#include <QString>
#include <map>
#include <optional>

namespace morv {

template <class Data, class Key, class Record>
struct Merged {
    Data data;
    bool conflict = false;
    // Where the result differs from theirs: theirs' record, the base of what
    // is still a change here to save.
    std::map<Key, std::optional<Record>> stillOurs;
};

using ItemBase = std::map<int, ItemRecord>;
using SeasoningBase = std::map<int, SeasoningRecord>;
using LogBase = std::map<QString, std::optional<LogRecord>>;

using MergedItems = Merged<ItemList, int, ItemRecord>;
using MergedSeasonings = Merged<SeasoningList, int, SeasoningRecord>;
using MergedLog = Merged<LogList, QString, LogRecord>;

// One record. true in `conflict` when ours wins over a different change there.
template <class R>
const std::optional<R>& MergeRecord(const std::optional<R>& base, const std::optional<R>& ours,
                                    const std::optional<R>& theirs, bool& conflict) {
    if (ours == base) return theirs;  // not really changed here
    if (theirs != base && theirs != ours) conflict = true;
    return ours;
}

// Slots 0..159; slot 160, never stored, stays ours.
MergedItems MergeItems(const ItemList& ours, const ItemList& theirs, const ItemBase& base, bool whole);
MergedSeasonings MergeSeasonings(const SeasoningList& ours, const SeasoningList& theirs,
                                 const SeasoningBase& base, bool whole);
// In date order where theirs is; a day new on this side goes before the
// first later day of theirs.
MergedLog MergeLog(const LogList& ours, LogList theirs, const LogBase& base, bool whole);

// One value; `base` absent: not changed here. The value that wins.
template <class T>
T MergeValue(const T& ours, const T& theirs, const std::optional<T>& base, bool& conflict) {
    if (!base) return theirs;
    return *MergeRecord<T>(base, ours, theirs, conflict);
}

// The days of `other` whose dates `log` lacks, in date order: what another
// copy of the log adds to it, the log's own days winning.
LogList MissingDays(const LogList& log, const LogList& other);
// `log` with `days` put in at their places by date (after equal dates).
LogList WithDays(const LogList& log, const LogList& days);

}  // namespace morv

namespace morv {

// A sync program's conflict copy of the file `stem` ("Enbun"): Syncthing's
// "Enbun.sync-conflict-<date>-<time>-<device>.txt", Nextcloud's and Dropbox's
// "Enbun (conflicted copy ...).txt", Nextcloud's "Enbun (conflict ...).txt".
// One already merged is not.
bool IsSyncConflictCopy(const QString& name, const QString& stem);
// What a merged conflict copy is renamed to: "Enbun.merged-YYYYMMDD-HHMMSS.txt"
// (-2, -3, ... for n > 1), a name that no sync program takes for a conflict
// copy of its own, and so never prunes.
QString MergedCopyName(const QString& stem, const QString& stamp, int n = 1);

}  // namespace morv
