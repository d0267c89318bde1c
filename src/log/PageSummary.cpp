#include "log/PageSummary.h"

#include "log/core/ReportSums.h"
#include "ui/Controls.h"

#include <QFont>
#include <QLabel>

namespace morv {

QLabel* MakePageSummary(QWidget* parent, const QRect& place, const QFont& rowFont) {
    QLabel* label = MakeLabel(parent, QStringLiteral("LabelSummary"), QString(), place,
                              Qt::AlignVCenter | Qt::AlignRight);
    // Read as often as the list itself, so never in smaller type than its rows.
    if (rowFont.pointSizeF() > label->font().pointSizeF()) label->setFont(rowFont);
    label->setWordWrap(true);
    return label;
}

void ShowPageSummary(QLabel* label, const LogList& log, qint64 first, int rows, const QString& target) {
    const DaySums sums = PageSums(log, first, rows, target);
    // Two lines in the narrow space beside the button, broken between the parts.
    label->setText(PageSummaryText(sums, rows, QStringLiteral("\n")));
    const QString text = PageSummaryText(sums, rows);
    // A screen reader reads the name of a label; the text is all there is to say.
    label->setAccessibleName(text.isEmpty() ? QStringLiteral("集計なし") : text);
}

}  // namespace morv
