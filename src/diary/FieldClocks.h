#pragma once
// When each record of the diary last changed, and on which machine: the
// stamp of the change line that set it. A record read from a data file that
// no change line explains carries the file's own time, marked as such, until
// a line explains it or it is taken in as a change. The log's days are packed
// (a million days take 16 MB), the small tables are plain.

#include "storage/Stamp.h"

#include <QString>
#include <array>
#include <map>
#include <vector>

namespace morv {

class FieldClocks {
public:
    struct Clock {
        Stamp stamp;
        bool fromFile = false;  // a file's time: nothing in any journal says so yet
    };

    Clock& item(int slot) { return items_.at(static_cast<size_t>(slot)); }
    Clock& seasoning(int row) { return seasonings_.at(static_cast<size_t>(row)); }
    Clock& target() { return target_; }
    Clock& shift() { return shift_; }
    // The newest deletion of the whole log.
    Stamp& logDeleted() { return logDeleted_; }

    // A day's clock; a day never seen has the oldest stamp there is.
    Clock day(const QString& date) const;
    void setDay(const QString& date, const Clock& clock);
    // Every day's clock, in date order, for a walk over the log.
    template <class F>
    void forEachDay(F&& f) const {
        for (const Packed& p : days_) f(DateOf(p.date), unpack(p));
        for (const auto& [date, clock] : oddDays_) f(date, clock);
    }

    // Every day's clock, without its date (no date text is made).
    template <class F>
    void forEachDayClock(F&& f) const {
        for (const Packed& p : days_) f(unpack(p));
        for (const auto& [date, clock] : oddDays_) f(clock);
    }
    // Every day that stands at a file's time takes `stamp`; how many did.
    qint64 restampFileDays(const Stamp& stamp);

private:
    struct Packed {
        qint64 millis;
        quint32 date;  // yyyymmdd
        quint16 counter;
        quint16 node;  // index into nodes_; FileNode for a file's time
    };
    static constexpr quint16 FileNode = 0xFFFF;
    static quint32 DateKey(const QString& date);  // 0: not of the yyyy/mm/dd form
    static QString DateOf(quint32 key);
    Clock unpack(const Packed& p) const;
    quint16 nodeIndex(const QByteArray& node);

    std::array<Clock, 160> items_{};
    std::array<Clock, 20> seasonings_{};
    Clock target_;
    Clock shift_;
    Stamp logDeleted_;
    std::vector<Packed> days_;  // by date
    std::map<QString, Clock> oddDays_;
    std::vector<QByteArray> nodes_;
};

}  // namespace morv
