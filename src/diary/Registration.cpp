#include "diary/Registration.h"

#include <algorithm>

namespace morv {

LogPlace FindLogPlace(const LogList& log, const QString& date) {
    // Plain scans rather than a binary search: an imported log need not be in
    // order. The day is looked for in the whole log first, so that in such a
    // log it is changed where it stands and never stored a second time; a new
    // day goes before the first later one.
    const int count = static_cast<int>(log.size());
    const DateField wanted(date);
    for (int i = 0; i < count; ++i)
        if (log[i].LogDate == wanted) return {LogPlace::Kind::Existing, i};
    for (int i = 0; i < count; ++i)
        if (log[i].LogDate.compare(wanted) > 0) return {LogPlace::Kind::Before, i};
    return {LogPlace::Kind::Append, count};
}

LogPlace FindLogPlaceInOrder(const LogList& log, const QString& date) {
    const DateField wanted(date);
    const auto at =
        std::lower_bound(log.begin(), log.end(), wanted,
                         [](const LogRecord& day, const DateField& d) { return day.LogDate.compare(d) < 0; });
    const int index = static_cast<int>(at - log.begin());
    if (at == log.end()) return {LogPlace::Kind::Append, index};
    return {at->LogDate == wanted ? LogPlace::Kind::Existing : LogPlace::Kind::Before, index};
}

bool IsInDateOrder(const LogList& log) {
    return std::adjacent_find(log.begin(), log.end(), [](const LogRecord& a, const LogRecord& b) {
               return a.LogDate.compare(b.LogDate) >= 0;
           }) == log.end();
}

void RegisterDay(LogList& log, const LogPlace& place, const QString& date, const QString& salt) {
    switch (place.kind) {
        case LogPlace::Kind::Existing:
            log[place.index].LogDate = date;
            log[place.index].DaySalt = salt;
            break;
        case LogPlace::Kind::Before:
            log.insert(log.begin() + place.index, LogRecord{date, salt, {}, {}});
            break;
        case LogPlace::Kind::Append:
            log.push_back(LogRecord{date, salt, {}, {}});
            break;
    }
}

QString RegisteredText(const QString& date, const QString& salt) {
    return date + QStringLiteral(" の塩分 [ ") + salt + QStringLiteral(" ] グラムを登録しました");
}

}  // namespace morv
