#include "storage/LogFields.h"

namespace morv {

namespace {

// yyyymmdd of "yyyy/mm/dd" written in ASCII digits, or -1.
template <typename Char>
qint64 UsualDate(const Char* t, qsizetype size) {
    if (size != 10 || t[4] != Char('/') || t[7] != Char('/')) return -1;
    qint64 value = 0;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (t[i] < Char('0') || t[i] > Char('9')) return -1;
        value = value * 10 + (t[i] - Char('0'));
    }
    return value;
}

}  // namespace

DateField::DateField(const QString& text) {
    const qint64 n = UsualDate(reinterpret_cast<const char16_t*>(text.constData()), text.size());
    bits_ = n >= 0 ? pack(quint32(n)) : reinterpret_cast<quintptr>(detail::NewNode(text));
}

bool DateField::FromUsualBytes(const char* bytes, qsizetype size, DateField& out) {
    const qint64 n = UsualDate(bytes, size);
    if (n < 0) return false;
    out = DateField();
    out.bits_ = pack(quint32(n));
    return true;
}

QStringView DateField::view(char16_t (&buffer)[10]) const {
    if (!packed()) return node() ? QStringView(node()->text) : QStringView();
    quint32 n = number();
    for (int i : {9, 8, 6, 5, 3, 2, 1, 0}) {
        buffer[i] = char16_t(u'0' + n % 10);
        n /= 10;
    }
    buffer[4] = buffer[7] = u'/';
    return QStringView(buffer, 10);
}

QString DateField::text() const {
    char16_t buffer[10];
    return view(buffer).toString();
}

qsizetype DateField::size() const {
    if (packed()) return 10;
    return node() ? node()->text.size() : 0;
}

int DateField::compare(const DateField& other) const {
    // Usual dates are digits in the same places: their numbers order as their texts.
    if (packed() && other.packed()) return number() < other.number() ? -1 : number() > other.number() ? 1 : 0;
    char16_t a[10], b[10];
    return view(a).compare(other.view(b));
}

}  // namespace morv
