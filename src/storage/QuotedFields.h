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

#include <QString>
#include <QStringList>
#include <QStringView>
#include <initializer_list>

namespace morv {

// One line, CR LF included.
QString QuotedLine(std::initializer_list<QStringView> fields);

// Names are free text but the format has no escaping: a double quote would end
// the field early. '"' becomes "'" and U+201D becomes U+2019, a replacement
// meant to be seen, so the data files store it back into their tables.
void ReplaceQuoteMarks(QString& name);

// The other fields are numbers and dates and never hold a double quote when
// typed; one that arrived some other way would shift every later field by
// one, so it is written as an apostrophe.
QString QuoteFree(const QString& text);

class FieldReader {
public:
    explicit FieldReader(QString text);

    enum class Result {
        Record,  // `fields` holds the next record
        End,     // no record is left
        Broken,  // the text ended inside a record, or a quote was never closed
    };
    // Reads the next record of `count` fields.
    Result next(int count, QStringList& fields);

    // False once the reading had to drop or shift anything that writing the
    // records back would not reproduce: text after a closing quote, a double
    // quote inside an unquoted field, a line end inside a quoted field, or a
    // record that is not one line of exactly `count` fields.
    bool exact() const { return exact_; }

private:
    enum class Separator { Comma, LineEnd };
    bool readField(QString& field, Separator& after);
    void skipBlanks();
    bool atLineEnd() const;
    void skipLineEnd();

    QString text_;
    qsizetype pos_ = 0;
    bool exact_ = true;
};

}  // namespace morv
