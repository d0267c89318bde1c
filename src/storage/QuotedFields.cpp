#include "storage/QuotedFields.h"

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

void ReplaceQuoteMarks(QString& name) {
    name.replace(QChar(u'"'), QChar(u'\''));
    name.replace(QChar(u'\u201D'), QChar(u'\u2019'));
}

QString QuoteFree(const QString& text) {
    if (!text.contains(u'"')) return text;
    QString safe = text;
    safe.replace(QChar(u'"'), QChar(u'\''));
    return safe;
}

FieldReader::FieldReader(QString text) : text_(std::move(text)) {}

void FieldReader::skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == u' ' || text_[pos_] == u'\t')) ++pos_;
}

bool FieldReader::atLineEnd() const {
    return pos_ < text_.size() && (text_[pos_] == u'\r' || text_[pos_] == u'\n');
}

void FieldReader::skipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == u'\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
}

bool FieldReader::readField(QString& field, Separator& after) {
    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == u'"') {
        const qsizetype close = text_.indexOf(u'"', pos_ + 1);
        if (close < 0) return false;
        field = text_.mid(pos_ + 1, close - pos_ - 1);
        if (field.contains(u'\r') || field.contains(u'\n')) exact_ = false;
        pos_ = close + 1;
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] != u',' && !atLineEnd()) exact_ = false;
        while (pos_ < text_.size() && text_[pos_] != u',' && !atLineEnd()) ++pos_;
    } else {
        const qsizetype start = pos_;
        while (pos_ < text_.size() && text_[pos_] != u',' && !atLineEnd()) ++pos_;
        qsizetype end = pos_;
        while (end > start && (text_[end - 1] == u' ' || text_[end - 1] == u'\t')) --end;
        field = text_.mid(start, end - start);
        if (field.contains(u'"')) exact_ = false;
    }
    if (pos_ < text_.size() && text_[pos_] == u',') {
        ++pos_;
        after = Separator::Comma;
    } else {
        skipLineEnd();
        after = Separator::LineEnd;
    }
    return true;
}

FieldReader::Result FieldReader::next(int count, QStringList& fields) {
    fields.clear();
    // Blank lines only count between records; inside a record an empty line
    // is an empty field, so that a record never silently borrows fields from
    // the one after it.
    for (;;) {
        skipBlanks();
        if (!atLineEnd()) break;
        skipLineEnd();
    }
    if (pos_ >= text_.size()) return Result::End;
    for (int i = 0; i < count; ++i) {
        // Running out after a separator means the record was cut short.
        if (i > 0 && pos_ >= text_.size()) return Result::Broken;
        QString field;
        Separator after;
        if (!readField(field, after)) return Result::Broken;
        if ((after == Separator::Comma) != (i + 1 < count)) exact_ = false;
        fields.append(field);
    }
    return Result::Record;
}

}  // namespace morv
