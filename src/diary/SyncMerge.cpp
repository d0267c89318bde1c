#include "diary/SyncMerge.h"

#include <QSet>
#include <algorithm>
#include <set>

namespace morv {
namespace {

bool ByDate(const LogRecord& a, const LogRecord& b) { return a.LogDate < b.LogDate; }

// The first day of each wanted date. Few dates in a long log: a binary search
// each when the log is in date order, as it is unless an import made it so.
std::map<QString, const LogRecord*> DaysOf(const LogList& log, const std::vector<QString>& dates) {
    std::map<QString, const LogRecord*> found;
    if (dates.size() < 64 && std::is_sorted(log.begin(), log.end(), ByDate)) {
        for (const QString& date : dates) {
            const auto at =
                std::lower_bound(log.begin(), log.end(), LogRecord{DateField(date), {}, {}, {}}, ByDate);
            if (at != log.end() && at->LogDate == date) found.emplace(date, &*at);
        }
        return found;
    }
    const std::set<QString> wanted(dates.begin(), dates.end());
    for (const LogRecord& day : log)
        if (wanted.count(day.LogDate)) found.emplace(day.LogDate, &day);
    return found;
}

std::optional<LogRecord> Find(const std::map<QString, const LogRecord*>& days, const QString& date) {
    const auto at = days.find(date);
    return at == days.end() ? std::nullopt : std::optional<LogRecord>(*at->second);
}

template <class Merged, class List, class Base>
void MergeSlots(Merged& result, const List& ours, const List& theirs, const Base& base, bool whole,
                int count) {
    auto one = [&](int slot, const std::optional<typename Base::mapped_type>& b) {
        const std::optional<typename Base::mapped_type> o = ours[size_t(slot)], t = theirs[size_t(slot)];
        const auto& kept = MergeRecord(b, o, t, result.conflict);
        if (kept != t) {
            result.data[size_t(slot)] = *kept;
            result.stillOurs[slot] = t;
        }
    };
    if (whole) {
        for (int slot = 0; slot < count; ++slot) one(slot, std::nullopt);
    } else {
        for (const auto& [slot, record] : base)
            if (slot >= 0 && slot < count) one(slot, record);
    }
}

}  // namespace

MergedItems MergeItems(const ItemList& ours, const ItemList& theirs, const ItemBase& base, bool whole) {
    MergedItems result{theirs, false, {}};
    ItemList o = ours;
    o.resize(size_t(ItemSlotCount));
    result.data.resize(size_t(ItemSlotCount));
    MergeSlots(result, o, result.data, base, whole, StoredItemCount);
    result.data[size_t(StoredItemCount)] = o[size_t(StoredItemCount)];
    return result;
}

MergedSeasonings MergeSeasonings(const SeasoningList& ours, const SeasoningList& theirs,
                                 const SeasoningBase& base, bool whole) {
    MergedSeasonings result{theirs, false, {}};
    MergeSlots(result, ours, theirs, base, whole, SeasoningRowCount);
    return result;
}

MergedLog MergeLog(const LogList& ours, LogList theirs, const LogBase& base, bool whole) {
    MergedLog result;
    std::vector<QString> dates;
    if (whole) {
        for (const LogRecord& day : ours) dates.push_back(day.LogDate);
    } else {
        for (const auto& entry : base) dates.push_back(entry.first);
    }
    const auto ourDays = DaysOf(ours, dates);
    const auto theirDays = DaysOf(theirs, dates);
    // What differs from theirs: the day to hold, or none to remove theirs.
    // Keyed by the date field, so that each day of their log below is looked
    // up and compared without a text made for it.
    std::map<DateField, std::optional<LogRecord>> decided;
    for (const QString& date : dates) {
        if (decided.count(DateField(date)) || result.stillOurs.count(date)) continue;
        std::optional<LogRecord> b;
        if (!whole) b = base.at(date);
        const std::optional<LogRecord> o = Find(ourDays, date), t = Find(theirDays, date);
        const auto& kept = MergeRecord(b, o, t, result.conflict);
        if (kept == t) continue;
        decided.emplace(DateField(date), kept);
        result.stillOurs.emplace(date, t);
    }
    // Their days are moved, not copied: a million days' shared texts are
    // then neither counted up here nor down again when theirs is dropped.
    if (decided.empty()) {
        result.data = std::move(theirs);
        return result;
    }
    result.data.reserve(theirs.size() + decided.size());
    auto next = decided.begin();
    auto addNewBefore = [&](const DateField* date) {
        for (; next != decided.end() && (!date || date->compare(next->first) > 0); ++next)
            if (next->second && !theirDays.count(next->first.text())) result.data.push_back(*next->second);
    };
    for (LogRecord& day : theirs) {
        addNewBefore(&day.LogDate);
        const auto change = decided.find(day.LogDate);
        if (change == decided.end() || theirDays.at(day.LogDate) != &day) {
            result.data.push_back(std::move(day));
        } else if (change->second) {
            result.data.push_back(*change->second);
        }
    }
    addNewBefore(nullptr);
    return result;
}

LogList MissingDays(const LogList& log, const LogList& other) {
    QSet<QString> have;
    have.reserve(qsizetype(log.size()));
    for (const LogRecord& day : log) have.insert(day.LogDate);
    LogList missing;
    for (const LogRecord& day : other)
        if (!have.contains(day.LogDate)) {
            have.insert(day.LogDate);
            missing.push_back(day);
        }
    std::stable_sort(missing.begin(), missing.end(), ByDate);
    return missing;
}

LogList WithDays(const LogList& log, const LogList& days) {
    LogList result;
    result.reserve(log.size() + days.size());
    auto next = days.begin();
    for (const LogRecord& day : log) {
        for (; next != days.end() && next->LogDate < day.LogDate; ++next) result.push_back(*next);
        result.push_back(day);
    }
    result.insert(result.end(), next, days.end());
    return result;
}

}  // namespace morv

namespace morv {

bool IsSyncConflictCopy(const QString& name, const QString& stem) {
    return name.startsWith(stem) && name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive) &&
           (name.contains(QLatin1String(".sync-conflict-")) ||
            name.contains(QLatin1String("(conflict"), Qt::CaseInsensitive)) &&
           !name.contains(QLatin1String(".merged-"));
}

QString MergedCopyName(const QString& stem, const QString& stamp, int n) {
    const QString taken = n > 1 ? QStringLiteral("-%1").arg(n) : QString();
    return stem + QLatin1String(".merged-") + stamp + taken + QLatin1String(".txt");
}

}  // namespace morv
