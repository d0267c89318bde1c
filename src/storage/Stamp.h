#pragma once
// The clock that orders changes made on different machines: a hybrid logical
// clock (Kulkarni et al., 2014). Its stamps follow the wall clock, but a
// machine that has seen another machine's stamp only makes later ones, so a
// change made after reading another machine's journal wins over what it read,
// even when this machine's clock is behind.

#include <QByteArray>
#include <QByteArrayView>

#include <compare>
#include <functional>
#include <optional>

namespace morv {

struct Stamp {
    qint64 millis = 0;  // milliseconds since 1970 UTC
    quint32 counter = 0;
    QByteArray node;  // the machine that made the change

    // By millis, then counter, then node (bytewise), as their text sorts.
    // A default Stamp is older than every stamp a clock makes: the age of a
    // value that came from a file and from no journal line.
    std::strong_ordering operator<=>(const Stamp& other) const;
    bool operator==(const Stamp& other) const;

    // "2026-12-08T13:01:28.123Z-0000-3f2a9c1b7e4d5a60": the UTC time, the
    // counter as 4 hex digits and the node. Everything before the node has a
    // fixed width, so the texts of two stamps sort as the stamps do.
    QByteArray text() const;
    // The stamp `text` shows, or nothing when it is not exactly such a text:
    // a real date from 1970 to 9999, lowercase hex, a node of 1 to 32 hex digits.
    static std::optional<Stamp> parse(QByteArrayView text);
    // The same, with the node's bytes shared with `node` when the text names
    // it: the lines of one journal all do, and need no copy of their own.
    static std::optional<Stamp> parse(QByteArrayView text, const QByteArray& node);
};

// 9999-12-31T23:59:59.999Z, the last time the text form can show.
inline constexpr qint64 LastStampMillis = 253402300799999;
inline constexpr quint32 LastStampCounter = 0xFFFF;

// True when `node` can name a machine in a stamp: 1 to 32 of [0-9a-f].
bool IsStampNode(QByteArrayView node);

// The wall clock, in milliseconds since 1970 UTC.
qint64 WallClockMillis();

class Hlc {
public:
    explicit Hlc(QByteArray node, std::function<qint64()> nowMillis = WallClockMillis);

    // The stamp of a change made here: later than every stamp this clock has
    // made or seen, even when the wall clock went back meanwhile.
    Stamp tick();
    // Takes in a stamp read from another machine's journal, so that changes
    // made here from now on are later than it. A remote clock that is ahead
    // (a machine an hour off) is followed, not refused: refusing would leave
    // that machine's changes winning over every change made here.
    void see(const Stamp& remote);
    // The latest stamp made or seen, with this clock's node.
    const Stamp& last() const { return last_; }

private:
    void settle(qint64 millis, qint64 counter);

    Stamp last_;
    std::function<qint64()> now_;
};

}  // namespace morv
