#pragma once
// The salt and blood-pressure report on paper: A4 portrait, drawn with the
// program's font onto any paged device, a PDF file or a printer alike.

#include "log/core/ReportSums.h"

#include <QByteArray>
#include <QDate>

class QPagedPaintDevice;

namespace morv {

inline const QString ReportTitle = QStringLiteral("塩分・血圧の記録");
inline const QString NoRecordedDayText = QStringLiteral("この期間に記録された日はありません");

// Sets A4 portrait and the report's margins on a device before anything is drawn.
void SetUpReportPage(QPagedPaintDevice& device);

// Draws every page; `made` is the date printed as the day the report was
// made. false when the device cannot be painted on.
bool PaintReport(QPagedPaintDevice& device, const SaltReport& report, QDate made);

// The report as the bytes of a PDF file with its font embedded; empty when
// it could not be made.
QByteArray ReportPdf(const SaltReport& report, QDate made);

}  // namespace morv
