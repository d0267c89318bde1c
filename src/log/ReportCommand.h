#pragma once
// morvaline --report FILE.pdf [--from YYYY/MM/DD] [--to YYYY/MM/DD]
//
// A name without an extension gets ".pdf"; one with another is refused. The
// dates take the forms the report panel takes (2026/12/08, 2026-12-08,
// 20261208), and every line it writes follows the locale, as --help does.
//
// Writes the salt and blood-pressure report of the data folder to a PDF file
// and ends, without a window or a display. It only reads the data folder: it
// takes no lock and puts nothing back, so it may run while the window is open.

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace morv {

inline const QString ReportOption = QStringLiteral("report");
inline const QString ReportFromOption = QStringLiteral("from");
inline const QString ReportToOption = QStringLiteral("to");

// The exit code when the arguments ask for a report (0 written, 1 the data
// or the file failed, 2 the arguments are wrong, each failure with one line
// on stderr); nothing when they do not, or when --help or --version is asked
// as well, which the program answers instead.
std::optional<int> RunReportCommand(int argc, char** argv);

struct ReportRequest {
    QString file;
    QDate from, to;
};

// The request in `arguments` (the program's name first), with the period
// defaulting to the 28 days ending today, or a one-line reason.
std::optional<ReportRequest> ParseReportArguments(const QStringList& arguments, QDate today, QString& why);

}  // namespace morv
