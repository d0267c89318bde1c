#pragma once
// The daily log as the program writes it: every line `"date","salt","low","high"`
// with CR LF, the fields printable ASCII without quotes or commas. Such a file
// (nearly every one) is read in one tight pass; any other goes to the general
// reader of quoted fields, which knows the rules for what is unusual.

#include "storage/Records.h"

#include <QByteArrayView>

namespace morv {

// The days of `bytes`, or false (and `log` unspecified) at the first line of
// another shape. The salt and pressure texts that repeat share one string.
bool ReadUsualLog(QByteArrayView bytes, LogList& log);

// Any log text: the tight pass when it can, else the general reader.
enum class LogParse {
    Exact,    // read as the file stands
    Changed,  // read, but with something dropped, shifted or substituted
    Broken,   // the text ends inside a record, or a quote is never closed
};
// `usual`: read by the tight pass, so the program writes these same bytes for it.
LogParse ParseLog(QByteArrayView bytes, LogList& log, bool* usual = nullptr);

}  // namespace morv
