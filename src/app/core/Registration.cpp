#include "app/core/Registration.h"

namespace morv {

LogPlace FindLogPlace(const LogList& log, const QString& date) {
    // Plain scans rather than a binary search: an imported log need not be in
    // order. The day is looked for in the whole log first, so that in such a
    // log it is changed where it stands and never stored a second time; a new
    // day goes before the first later one.
    const int count = static_cast<int>(log.size());
    for (int i = 0; i < count; ++i)
        if (log[i].LogDate == date) return {LogPlace::Kind::Existing, i};
    for (int i = 0; i < count; ++i)
        if (log[i].LogDate.compare(date) > 0) return {LogPlace::Kind::Before, i};
    return {LogPlace::Kind::Append, count};
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
