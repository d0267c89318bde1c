#include "platform/TabRing.h"

#include <QApplication>
#include <QWidget>

namespace morv {

bool MoveFocusInRing(const QList<QWidget*>& ring, bool next) {
    const qsizetype n = ring.size();
    qsizetype at = ring.indexOf(QApplication::focusWidget());
    if (at < 0) at = next ? n - 1 : 0;
    for (qsizetype step = 1; step <= n; ++step) {
        QWidget* candidate = ring[((at + (next ? step : -step)) % n + n) % n];
        if (candidate->isVisible() && candidate->isEnabled() && (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

}  // namespace morv
