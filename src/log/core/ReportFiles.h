#pragma once
// The log and the salt target read for a report straight from the data
// folder, without the data files' start-up steps: nothing is restored, kept
// aside or written, so a report can be made while the window has the folder.

#include "storage/Records.h"

#include <QString>

namespace morv {

struct ReportSource {
    LogList log;
    QString target;  // the first line of Moku.txt, or empty
};

// false, with a one-line reason, when the folder or its log cannot be read.
// A leftover Enbun.bak (a save that did not finish) is read in place of
// Enbun.txt, as the next start of the window would put it back; a folder
// without a log gives an empty one.
bool ReadReportSource(const QString& folder, ReportSource& source, QString& why);

}  // namespace morv
