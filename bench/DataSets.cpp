#include "DataSets.h"

#include "storage/DataFiles.h"

#include <QDate>
#include <QDir>

namespace morv::bench {

ItemList FullItemTable() {
    static const QString names[] = {QStringLiteral("みそ汁（豆腐）"), QStringLiteral("焼き鮭"),
                                    QStringLiteral("カップ麺 No.7"), QStringLiteral("梅干し ２個"),
                                    QStringLiteral("ソース焼きそば")};
    ItemList items = NewItemTable();
    for (int i = 0; i < StoredItemCount; ++i) {
        const int sodium = 120 + 37 * i;
        items[static_cast<size_t>(i)] = {i % 3 == 0 ? QStringLiteral("1") : QStringLiteral("0"),
                                         names[i % 5] + QString::number(i), QString::number(sodium),
                                         QString::number(sodium * 2.54 / 1000, 'f', 1)};
    }
    return items;
}

LogList Days(int n) {
    const QDate last(2025, 12, 31);
    QDate day = last.addDays(1 - n);
    if (day.year() < 1000) day = QDate(1000, 1, 1);
    LogList log;
    log.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i, day = day.addDays(1)) {
        LogRecord record{
            day.toString(QStringLiteral("yyyy/MM/dd")), QString::number(6 + i % 70 / 10.0, 'f', 1), {}, {}};
        if (i % 3 == 0) {
            record.PressureLow = QString::number(70 + i % 20);
            record.PressureHigh = QString::number(115 + i % 30);
        }
        log.push_back(std::move(record));
    }
    return log;
}

QString DataSets::home(int days) {
    if (auto found = homes_.find(days); found != homes_.end()) return found->second;
    const QString home = root_ + QStringLiteral("/days-%1").arg(days);
    QDir().mkpath(days > 0 ? home + QStringLiteral("/Tavelnor") : home);
    if (days > 0) {
        DataFiles files(
            home + QStringLiteral("/Tavelnor/"), [](const QString&) {},
            [] { return QDateTime::currentDateTime(); });
        ItemList items = FullItemTable();
        files.KirokuFileWrite(items);
        SeasoningList seasonings{};
        for (int i = 0; i < SeasoningRowCount; ++i)
            seasonings[static_cast<size_t>(i)] = {QStringLiteral("しょうゆ%1").arg(i), QStringLiteral("0.9")};
        files.ChomiFileWrite(seasonings);
        files.MokuFileWrite(QStringLiteral("6.5"));
        files.EnbunFileWrite(Days(days));
        files.AtuFileWrite(DefaultPressureBarShift);
    }
    homes_[days] = home;
    return home;
}

QString DataSets::folder(int days) { return home(days) + QStringLiteral("/Tavelnor/"); }

void DataSets::resetEmpty() {
    QDir(home(0) + QStringLiteral("/Tavelnor")).removeRecursively();
    QDir().mkpath(home(0));
}

}  // namespace morv::bench
