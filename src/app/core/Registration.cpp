#include "app/core/Registration.h"

namespace morv {

LogPlace FindLogPlace(const LogList& log, const QString& date) {
    // A plain scan rather than a binary search: an imported log need not be in
    // order, and the first matching or later date decides.
    for (int i = 0; i < static_cast<int>(log.size()); ++i) {
        const int order = log[i].LogDate.compare(date);
        if (order == 0) return {LogPlace::Kind::Existing, i};
        if (order > 0) return {LogPlace::Kind::Before, i};
    }
    return {LogPlace::Kind::Append, static_cast<int>(log.size())};
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
