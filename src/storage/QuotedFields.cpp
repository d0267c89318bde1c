#include "storage/QuotedFields.h"

#include "text/Cp932.h"

#include <algorithm>
#include <utility>

namespace morv {

QString QuotedLine(std::initializer_list<QStringView> fields) {
    QString line;
    bool first = true;
    for (QStringView field : fields) {
        if (!first) line += QLatin1Char(',');
        first = false;
        line += QLatin1Char('"');
        line += field;
        line += QLatin1Char('"');
    }
    line += QLatin1String("\r\n");
    return line;
}

namespace {

// The line of a record that is all ASCII, written in one go; false (and
// nothing written) for any other.
bool AppendAsciiLine(QByteArray& out, std::initializer_list<QStringView> fields) {
    qsizetype room = 1;
    for (QStringView field : fields) room += field.size() + 3;
    const qsizetype at = out.size();
    out.resize(at + room);
    char* to = out.data() + at;
    for (QStringView field : fields) {
        *to++ = '"';
        for (const QChar c : field) {
            if (c.unicode() >= 0x80) {
                out.resize(at);
                return false;
            }
            *to++ = c == u'"' ? '\'' : c == u'\r' || c == u'\n' ? ' ' : char(c.unicode());
        }
        *to++ = '"';
        *to++ = ',';
    }
    to[-1] = '\r';
    *to++ = '\n';
    out.resize(to - out.constData());
    return true;
}

}  // namespace

void AppendQuotedLine(QByteArray& out, std::initializer_list<QStringView> fields) {
    if (AppendAsciiLine(out, fields)) return;
    bool first = true;
    for (QStringView field : fields) {
        if (!first) out.append(',');
        first = false;
        out.append('"');
        const qsizetype at = out.size();
        AppendCp932(field, out);
        // No second byte of a CP932 character is below 0x40: every 0x22 here
        // is a double quote, every 0x0D and 0x0A a line end.
        std::replace(out.begin() + at, out.end(), '"', '\'');
        std::replace_if(
            out.begin() + at, out.end(), [](char b) { return b == '\r' || b == '\n'; }, ' ');
        out.append('"');
    }
    out.append("\r\n", 2);
}

void MakeNameStorable(QString& name) {
    name.replace(QChar(u'"'), QChar(u'\''));
    name.replace(QChar(u'\u201D'), QChar(u'\u2019'));
    name.replace(QChar(u'\r'), QChar(u' '));
    name.replace(QChar(u'\n'), QChar(u' '));
}

QString QuoteFree(const QString& text) {
    if (!text.contains(u'"')) return text;
    QString safe = text;
    safe.replace(QChar(u'"'), QChar(u'\''));
    return safe;
}

template <typename Char>
void FieldScanner<Char>::skipBlanks() {
    while (is(pos_, ' ') || is(pos_, '\t')) ++pos_;
}

template <typename Char>
void FieldScanner<Char>::skipLineEnd() {
    if (is(pos_, '\r')) ++pos_;
    if (is(pos_, '\n')) ++pos_;
}

template <typename Char>
bool FieldScanner<Char>::holds(const FieldSpan& span, char c) const {
    return std::find(text_ + span.start, text_ + span.end, Char(c)) != text_ + span.end;
}

template <typename Char>
bool FieldScanner<Char>::readField(FieldSpan& span, Separator& after) {
    skipBlanks();
    if (is(pos_, '"')) {
        const Char* close = text_ + pos_ + 1;
        bool lineEnd = false;
        for (; close < text_ + size_ && *close != Char('"'); ++close)
            lineEnd = lineEnd || *close == Char('\r') || *close == Char('\n');
        if (close == text_ + size_) return false;
        span = {pos_ + 1, close - text_};
        if (lineEnd) exact_ = false;
        pos_ = span.end + 1;
        skipBlanks();
        if (pos_ < size_ && !is(pos_, ',') && !atLineEnd()) exact_ = false;
        while (pos_ < size_ && !is(pos_, ',') && !atLineEnd()) ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < size_ && !is(pos_, ',') && !atLineEnd()) ++pos_;
        qsizetype end = pos_;
        while (end > start && (is(end - 1, ' ') || is(end - 1, '\t'))) --end;
        span = {start, end};
        if (holds(span, '"')) exact_ = false;
    }
    if (is(pos_, ',')) {
        ++pos_;
        after = Separator::Comma;
    } else {
        skipLineEnd();
        after = Separator::LineEnd;
    }
    return true;
}

template <typename Char>
FieldResult FieldScanner<Char>::next(int count, FieldSpans& spans) {
    spans.clear();
    // Blank lines only count between records; inside a record an empty line
    // is an empty field, so that a record never silently borrows fields from
    // the one after it.
    for (;;) {
        skipBlanks();
        if (!atLineEnd()) break;
        skipLineEnd();
    }
    if (pos_ >= size_) return FieldResult::End;
    for (int i = 0; i < count; ++i) {
        // Running out after a separator means the record was cut short.
        if (i > 0 && pos_ >= size_) return FieldResult::Broken;
        FieldSpan span;
        Separator after;
        if (!readField(span, after)) return FieldResult::Broken;
        if ((after == Separator::Comma) != (i + 1 < count)) exact_ = false;
        spans.append(span);
    }
    return FieldResult::Record;
}

template class FieldScanner<char16_t>;
template class FieldScanner<char>;

FieldReader::FieldReader(QString text)
    : text_(std::move(text)), scanner_(reinterpret_cast<const char16_t*>(text_.constData()), text_.size()) {}

FieldReader::Result FieldReader::next(int count, QStringList& fields) {
    fields.clear();
    const Result result = scanner_.next(count, spans_);
    if (result == Result::Record) {
        for (const FieldSpan& span : std::as_const(spans_))
            fields.append(text_.mid(span.start, span.end - span.start));
    }
    return result;
}

QString Cp932FieldReader::field(int i) {
    const QByteArrayView bytes = fieldBytes(i);
    bool undecodable = false;
    QString text = DecodeCp932(bytes, &undecodable);
    undecodable_ = undecodable_ || undecodable;
    return text;
}

}  // namespace morv
