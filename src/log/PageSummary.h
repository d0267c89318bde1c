#pragma once
// The line under the salt list that sums up the days of the page shown:
// average salt, days over the target and, when there are readings, the
// average blood pressure.

#include "storage/Records.h"

#include <QRect>
#include <QString>

class QFont;
class QLabel;
class QWidget;

namespace morv {

// In `rowFont`, the list's own text, when that is larger than the label's.
QLabel* MakePageSummary(QWidget* parent, const QRect& place, const QFont& rowFont);

// The records first .. first + rows - 1 of the log, as the page shows them.
void ShowPageSummary(QLabel* label, const LogList& log, qint64 first, int rows, const QString& target);

}  // namespace morv
