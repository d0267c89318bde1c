#pragma once
// Dates are texts of the form yyyy/mm/dd, compared as texts. These helpers read
// the forms a user may type and write the canonical one.

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

namespace morv {

// Reads a calendar date written as year, month and day separated by "/" (or
// consistently by "-"), with surrounding blanks allowed: yyyy/mm/dd, yyyy/m/d,
// and one- or two-digit years (00-29 are 2000-2029, 30-99 are 1930-1999).
// Four-digit years run from 1000 to 9999. 2023/02/29 and 2024/13/01 are not dates.
std::optional<QDate> ReadDate(QStringView text);
bool IsValidDate(QStringView text);

// yyyy/mm/dd.
QString DateText(QDate date);

// The date `days` after the one in text, as yyyy/mm/dd; nothing when text is
// not a date or the day would fall outside the four-digit years.
std::optional<QString> MovedDateText(QStringView text, int days);

// Lays a text shorter than 10 characters into the pattern "@@@@/@@/@@" from the
// right; placeholders left over at the left become blanks, so "20240105" becomes
// "2024/01/05". Longer texts come back unchanged. Characters beyond the eight
// placeholders of a nine-character text stand before the pattern.
QString LayIntoDatePattern(const QString& text);

// What the date box's actions make of its text: a valid date is rewritten as
// yyyy/mm/dd; a text then shorter than 10 characters is laid into the pattern;
// if that reads as a date it is rewritten once more (so "  24/01/05" becomes
// "2024/01/05"). The result may still not be a valid date.
QString NormalizeDateText(const QString& text);

}  // namespace morv
