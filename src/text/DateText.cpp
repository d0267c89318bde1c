#include "text/DateText.h"

#include <iterator>

namespace morv {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Reads one field of ASCII digits, 1 to maxDigits long; -1 otherwise.
int ReadField(QStringView field, int maxDigits) {
    if (field.isEmpty() || field.size() > maxDigits) return -1;
    int value = 0;
    for (const QChar c : field) {
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

}  // namespace

std::optional<QDate> ReadDate(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const QStringView body = text.sliced(begin, end - begin);

    const qsizetype first = body.indexOf(u'/') >= 0 ? body.indexOf(u'/') : body.indexOf(u'-');
    if (first < 0) return std::nullopt;
    const QChar separator = body[first];
    const qsizetype second = body.indexOf(separator, first + 1);
    if (second < 0 || body.indexOf(separator, second + 1) >= 0) return std::nullopt;
    // A mix such as 2024/01-05 is not one of the forms.
    const QChar other = separator == u'/' ? QChar(u'-') : QChar(u'/');
    if (body.contains(other)) return std::nullopt;

    const QStringView yearText = body.first(first);
    const int month = ReadField(body.sliced(first + 1, second - first - 1), 2);
    const int day = ReadField(body.sliced(second + 1), 2);
    int year = ReadField(yearText, 4);
    if (year < 0 || month < 0 || day < 0) return std::nullopt;

    if (yearText.size() <= 2) {
        year += year < 30 ? 2000 : 1900;
    } else if (yearText.size() == 3 || year < 1000) {
        return std::nullopt;
    }
    if (!QDate::isValid(year, month, day)) return std::nullopt;
    return QDate(year, month, day);
}

bool IsValidDate(QStringView text) { return ReadDate(text).has_value(); }

QString DateText(QDate date) {
    // Outside four-digit years the text would not sort or read back.
    if (!date.isValid() || date.year() < 1000 || date.year() > 9999) return QString();
    return QString::asprintf("%04d/%02d/%02d", date.year(), date.month(), date.day());
}

std::optional<QString> MovedDateText(QStringView text, int days) {
    const auto date = ReadDate(text);
    if (!date) return std::nullopt;
    QString moved = DateText(date->addDays(days));
    if (moved.isEmpty()) return std::nullopt;
    return moved;
}

QString LayIntoDatePattern(const QString& text) {
    static constexpr char16_t kPattern[] = u"@@@@/@@/@@";
    constexpr qsizetype kPatternLength = std::size(kPattern) - 1;
    if (text.size() >= kPatternLength) return text;

    // Fill the placeholders from the right with the text's characters, from
    // its last one backwards; literal characters of the pattern stay.
    QString out(kPatternLength, u' ');
    qsizetype source = text.size() - 1;
    for (qsizetype i = kPatternLength - 1; i >= 0; --i) {
        if (kPattern[i] != u'@') {
            out[i] = kPattern[i];
        } else if (source >= 0) {
            out[i] = text[source--];
        }
    }
    // A nine-character text has one character more than there are
    // placeholders; it stands in front of the pattern.
    return text.left(source + 1) + out;
}

QString NormalizeDateText(const QString& text) {
    if (const auto date = ReadDate(text)) return DateText(*date);
    if (text.size() >= 10) return text;
    const QString laid = LayIntoDatePattern(text);
    if (const auto date = ReadDate(laid)) return DateText(*date);
    return laid;
}

}  // namespace morv
