#pragma once
// The quoted-field text format shared by the data files and the exchange files.
//
// Writing: every field is a double quote, the text, a double quote; fields are
// joined by single commas; the line ends with CR LF. There is no escaping, so a
// field must not hold a double quote.
//
// Reading: fields are taken in sequence. Blanks before a field are skipped. A
// field that starts with a double quote runs to the next double quote (and may
// hold commas and line ends); anything between its closing quote and the next
// comma or line end is dropped. Any other field runs to the next comma or line
// end, without trailing blanks. Commas and line ends (CR LF, CR or LF) both end
// a field. Empty lines between records are skipped.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>
#include <initializer_list>

namespace morv {

// One line, CR LF included.
QString QuotedLine(std::initializer_list<QStringView> fields);

// The same line, CP932-encoded straight onto the end of `out`, with any
// double quote inside a field written as "'" (as QuoteFree does) and any CR
// or LF as a blank, so that every record stays one line.
void AppendQuotedLine(QByteArray& out, std::initializer_list<QStringView> fields);

// Names are free text but the format has no escaping: a double quote would end
// the field early, and a line break inside one makes the file read back
// differently. '"' becomes "'", U+201D becomes U+2019 and CR and LF each
// become a blank, a replacement meant to be seen, so the data files store it
// back into their tables and an import stores names that way at once.
void MakeNameStorable(QString& name);

// The other fields are numbers and dates and never hold a double quote when
// typed; one that arrived some other way would shift every later field by
// one, so it is written as an apostrophe.
QString QuoteFree(const QString& text);

enum class FieldResult {
    Record,  // the next record was read
    End,     // no record is left
    Broken,  // the text ended inside a record, or a quote was never closed
};

// Where the fields of the record last read lie in the text.
struct FieldSpan {
    qsizetype start, end;
};
using FieldSpans = QVarLengthArray<FieldSpan, 4>;

// The reading rules over text of either kind (UTF-16 or CP932 bytes: every
// character they look at is ASCII, and in CP932 no second byte of a two-byte
// character is below 0x40, so none of them can be one).
template <typename Char>
class FieldScanner {
public:
    FieldScanner(const Char* text, qsizetype size) : text_(text), size_(size) {}
    FieldResult next(int count, FieldSpans& spans);
    bool exact() const { return exact_; }

private:
    enum class Separator { Comma, LineEnd };
    bool readField(FieldSpan& span, Separator& after);
    bool is(qsizetype at, char c) const { return at < size_ && text_[at] == Char(c); }
    void skipBlanks();
    bool atLineEnd() const { return is(pos_, '\r') || is(pos_, '\n'); }
    void skipLineEnd();
    bool holds(const FieldSpan& span, char c) const;

    const Char* text_;
    qsizetype size_;
    qsizetype pos_ = 0;
    bool exact_ = true;
};

class FieldReader {
public:
    explicit FieldReader(QString text);

    using Result = FieldResult;
    // Reads the next record of `count` fields.
    Result next(int count, QStringList& fields);

    // False once the reading had to drop or shift anything that writing the
    // records back would not reproduce: text after a closing quote, a double
    // quote inside an unquoted field, a line end inside a quoted field, or a
    // record that is not one line of exactly `count` fields.
    bool exact() const { return scanner_.exact(); }

private:
    QString text_;
    FieldScanner<char16_t> scanner_;
    FieldSpans spans_;
};

// The same reading over the bytes of a data file: only the fields are
// decoded, each straight into its own string.
class Cp932FieldReader {
public:
    explicit Cp932FieldReader(QByteArrayView bytes) : bytes_(bytes), scanner_(bytes.data(), bytes.size()) {}

    FieldResult next(int count) { return scanner_.next(count, spans_); }
    // Field i of the record last read.
    QString field(int i);
    QByteArrayView fieldBytes(int i) const {
        return bytes_.sliced(spans_[i].start, spans_[i].end - spans_[i].start);
    }

    bool exact() const { return scanner_.exact(); }
    // Whether any field read so far held a byte that does not decode.
    bool undecodable() const { return undecodable_; }

private:
    QByteArrayView bytes_;
    FieldScanner<char> scanner_;
    FieldSpans spans_;
    bool undecodable_ = false;
};

}  // namespace morv
