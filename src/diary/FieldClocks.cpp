#include "diary/FieldClocks.h"

#include <algorithm>

namespace morv {

quint32 FieldClocks::DateKey(const QString& date) {
    if (date.size() != 10 || date[4] != u'/' || date[7] != u'/') return 0;
    quint32 key = 0;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        const char16_t c = date[i].unicode();
        if (c < u'0' || c > u'9') return 0;
        key = key * 10 + (c - u'0');
    }
    return key;
}

QString FieldClocks::DateOf(quint32 key) {
    return QStringLiteral("%1/%2/%3")
        .arg(key / 10000, 4, 10, QLatin1Char('0'))
        .arg(key / 100 % 100, 2, 10, QLatin1Char('0'))
        .arg(key % 100, 2, 10, QLatin1Char('0'));
}

FieldClocks::Clock FieldClocks::unpack(const Packed& p) const {
    Clock clock;
    clock.stamp.millis = p.millis;
    clock.stamp.counter = p.counter;
    clock.fromFile = p.node == FileNode;
    if (!clock.fromFile && p.node < nodes_.size()) clock.stamp.node = nodes_[p.node];
    return clock;
}

quint16 FieldClocks::nodeIndex(const QByteArray& node) {
    const auto found = std::find(nodes_.begin(), nodes_.end(), node);
    if (found != nodes_.end()) return static_cast<quint16>(found - nodes_.begin());
    nodes_.push_back(node);
    return static_cast<quint16>(nodes_.size() - 1);
}

qint64 FieldClocks::restampFileDays(const Stamp& stamp) {
    qint64 count = 0;
    const quint16 node = nodeIndex(stamp.node);
    for (Packed& p : days_) {
        if (p.node != FileNode) continue;
        p = {stamp.millis, p.date, static_cast<quint16>(std::min<quint32>(stamp.counter, 0xFFFF)), node};
        ++count;
    }
    for (auto& [date, clock] : oddDays_)
        if (clock.fromFile) {
            clock = {stamp, false};
            ++count;
        }
    return count;
}

FieldClocks::Clock FieldClocks::day(const QString& date) const {
    const quint32 key = DateKey(date);
    if (key == 0) {
        const auto found = oddDays_.find(date);
        return found == oddDays_.end() ? Clock{} : found->second;
    }
    const auto at = std::lower_bound(days_.begin(), days_.end(), key,
                                     [](const Packed& p, quint32 k) { return p.date < k; });
    return at != days_.end() && at->date == key ? unpack(*at) : Clock{};
}

void FieldClocks::setDay(const QString& date, const Clock& clock) {
    const quint32 key = DateKey(date);
    if (key == 0) {
        oddDays_[date] = clock;
        return;
    }
    const Packed packed{clock.stamp.millis, key,
                        static_cast<quint16>(std::min<quint32>(clock.stamp.counter, 0xFFFF)),
                        clock.fromFile ? FileNode : nodeIndex(clock.stamp.node)};
    // Days mostly come in date order (a new day, a log read): the end first.
    if (days_.empty() || days_.back().date < key) return days_.push_back(packed);
    const auto at = std::lower_bound(days_.begin(), days_.end(), key,
                                     [](const Packed& p, quint32 k) { return p.date < k; });
    if (at != days_.end() && at->date == key)
        *at = packed;
    else
        days_.insert(at, packed);
}

}  // namespace morv
