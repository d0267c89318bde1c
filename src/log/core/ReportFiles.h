#pragma once
// The log and the salt target read for a report straight from the data
// folder, without the data files' start-up steps: nothing is restored, kept
// aside or written, so a report can be made while the window has the folder.

#include "platform/core/CommandLineOptions.h"
#include "storage/Records.h"

#include <QString>

namespace morv {

struct ReportSource {
    LogList log;
    QString target;  // the first line of Moku.txt, or empty
};

// false, with a one-line reason in `language`, when the folder or its log
// cannot be read (a log over the size the window reads is too large).
// A leftover Enbun.bak (a save that did not finish) is read in place of
// Enbun.txt, as the next start of the window would put it back; a folder
// without a log gives an empty one.
bool ReadReportSource(const QString& folder, ReportSource& source, QString& why,
                      HelpLanguage language = HelpLanguage::Japanese);

// Why a report may not be written to a path. The report command writes only
// a regular file of the user's own choosing: never a device, a FIFO or a
// folder (a report as root over /dev/null would replace the system's), never
// the diary (a data file or anything in the data folder, wherever links lead),
// and not a file its owner made read-only.
enum class ReportTarget { Allowed, NotRegular, InDataFolder, ReadOnly };
ReportTarget CheckReportTarget(const QString& path, const QString& dataFolder);

}  // namespace morv
