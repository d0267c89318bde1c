#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace morv {

QIcon ProgramIcon() {
    QSvgRenderer svg(QStringLiteral(":/morvaline.svg"));
    QIcon icon;
    if (!svg.isValid()) return icon;
    // Title bars and task switchers; larger views take the installed scalable
    // icon by its name, so larger copies here would only slow the start.
    for (const int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace morv
