#pragma once
// The data the benchmarks run on, generated through the program's own writers
// so that every file is one the program could have saved: a full table of 160
// items and a log of any number of days.

#include "storage/Records.h"

#include <QString>
#include <map>

namespace morv::bench {

// 160 items mixing kana, kanji, full-width and ASCII, as a real table does.
ItemList FullItemTable();
// n consecutive days ending in 2025 (or starting in the year 1000 when that
// would reach back past it), every third one with a blood-pressure reading.
LogList Days(int n);

class DataSets {
public:
    explicit DataSets(QString root) : root_(std::move(root)) {}
    // The XDG_DATA_HOME of a full item table and a log of `days` days, written
    // on first use; 0 days is an empty home that the caller may empty again.
    QString home(int days);
    // The program's data folder inside home(days), ending in "/".
    QString folder(int days);
    // Removes everything the program left in the empty home.
    void resetEmpty();

private:
    QString root_;
    std::map<int, QString> homes_;
};

}  // namespace morv::bench
