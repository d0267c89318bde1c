#include "storage/Stamp.h"

#include <QDateTime>

#include <algorithm>
#include <string_view>

namespace morv {
namespace {

constexpr qint64 MillisPerDay = 86400000;
constexpr int FixedWidth = 30;  // the text before the node
constexpr qsizetype MaxNode = 32;

std::string_view View(const QByteArray& bytes) { return {bytes.constData(), size_t(bytes.size())}; }

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar, and
// back (H. Hinnant's algorithms, for years from 1970 on).
qint64 DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return qint64(era) * 146097 + doe - 719468;
}

void CivilFromDays(qint64 z, int& y, int& m, int& d) {
    z += 719468;
    const qint64 era = z / 146097;
    const int doe = int(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int(yoe + era * 400) + (m <= 2);
}

int DaysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

void PutDecimal(char*& p, int value, int width) {
    for (int i = width - 1; i >= 0; --i, value /= 10) p[i] = char('0' + value % 10);
    p += width;
}

// The number the `width` digits at `at` show, or -1.
int Decimal(QByteArrayView text, int at, int width) {
    int value = 0;
    for (int i = at; i < at + width; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::strong_ordering Stamp::operator<=>(const Stamp& other) const {
    if (const auto c = millis <=> other.millis; c != 0) return c;
    if (const auto c = counter <=> other.counter; c != 0) return c;
    return View(node) <=> View(other.node);
}

bool Stamp::operator==(const Stamp& other) const {
    return millis == other.millis && counter == other.counter && node == other.node;
}

QByteArray Stamp::text() const {
    const qint64 shown = std::clamp<qint64>(millis, 0, LastStampMillis);
    const qint64 days = shown / MillisPerDay;
    const int inDay = int(shown % MillisPerDay);
    int y, m, d;
    CivilFromDays(days, y, m, d);

    QByteArray out(FixedWidth, Qt::Uninitialized);
    char* p = out.data();
    const auto put = [&p](char c) { *p++ = c; };
    PutDecimal(p, y, 4), put('-'), PutDecimal(p, m, 2), put('-'), PutDecimal(p, d, 2), put('T');
    PutDecimal(p, inDay / 3600000, 2), put(':'), PutDecimal(p, inDay / 60000 % 60, 2), put(':');
    PutDecimal(p, inDay / 1000 % 60, 2), put('.'), PutDecimal(p, inDay % 1000, 3), put('Z'), put('-');
    const quint32 c = std::min(counter, LastStampCounter);
    for (int shift = 12; shift >= 0; shift -= 4) put("0123456789abcdef"[(c >> shift) & 0xF]);
    put('-');
    return out + node;
}

std::optional<Stamp> Stamp::parse(QByteArrayView text) { return parse(text, QByteArray()); }

std::optional<Stamp> Stamp::parse(QByteArrayView text, const QByteArray& known) {
    if (text.size() <= FixedWidth || text.size() > FixedWidth + MaxNode) return std::nullopt;
    for (const auto& [at, c] : {std::pair{4, '-'},
                                {7, '-'},
                                {10, 'T'},
                                {13, ':'},
                                {16, ':'},
                                {19, '.'},
                                {23, 'Z'},
                                {24, '-'},
                                {29, '-'}})
        if (text[at] != c) return std::nullopt;
    const int y = Decimal(text, 0, 4), m = Decimal(text, 5, 2), d = Decimal(text, 8, 2);
    const int h = Decimal(text, 11, 2), mi = Decimal(text, 14, 2), s = Decimal(text, 17, 2);
    const int ms = Decimal(text, 20, 3);
    if (y < 1970 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m) || h < 0 || h > 23 || mi < 0 ||
        mi > 59 || s < 0 || s > 59 || ms < 0)
        return std::nullopt;
    quint32 counter = 0;
    for (int i = 25; i < 29; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) return std::nullopt;
        counter = counter << 4 | quint32(digit);
    }
    const QByteArrayView node = text.sliced(FixedWidth);
    if (!IsStampNode(node)) return std::nullopt;
    const qint64 millis = DaysFromCivil(y, m, d) * MillisPerDay + ((h * 60 + mi) * 60 + s) * 1000 + ms;
    return Stamp{millis, counter, node == QByteArrayView(known) ? known : node.toByteArray()};
}

bool IsStampNode(QByteArrayView node) {
    return node.size() >= 1 && node.size() <= MaxNode &&
           std::all_of(node.begin(), node.end(), [](char c) { return HexDigit(c) >= 0; });
}

qint64 WallClockMillis() { return QDateTime::currentMSecsSinceEpoch(); }

Hlc::Hlc(QByteArray node, std::function<qint64()> nowMillis)
    : last_{0, 0, std::move(node)}, now_(std::move(nowMillis)) {}

Stamp Hlc::tick() {
    const qint64 now = now_();
    if (now > last_.millis)
        settle(now, 0);
    else
        settle(last_.millis, qint64(last_.counter) + 1);
    return last_;
}

void Hlc::see(const Stamp& remote) {
    const qint64 now = now_();
    const qint64 l = std::max({last_.millis, remote.millis, now});
    if (l == last_.millis && l == remote.millis)
        settle(l, qint64(std::max(last_.counter, remote.counter)) + 1);
    else if (l == last_.millis)
        settle(l, qint64(last_.counter) + 1);
    else if (l == remote.millis)
        settle(l, qint64(remote.counter) + 1);
    else
        settle(l, 0);
}

// A counter past its 4 digits moves the time on by a millisecond instead, so
// stamps keep increasing and keep their text form. The text form ends in the
// year 9999; a clock that got there (from a stamp that far ahead) stays at
// its last stamp.
void Hlc::settle(qint64 millis, qint64 counter) {
    if (counter > LastStampCounter) ++millis, counter = 0;
    if (millis > LastStampMillis) millis = LastStampMillis, counter = LastStampCounter;
    last_.millis = millis;
    last_.counter = quint32(counter);
}

}  // namespace morv
