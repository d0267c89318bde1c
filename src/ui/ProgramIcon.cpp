#include "ui/ProgramIcon.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

#include <cstring>

namespace morv {

QIcon ProgramIcon() {
    // Drawn from the SVG at build time (tools/icon_pixels.cpp): each size as a
    // native 32-bit number followed by its premultiplied ARGB32 pixels.
    QFile file(QStringLiteral(":/morvaline.argb"));
    QIcon icon;
    if (!file.open(QIODevice::ReadOnly)) return icon;
    const QByteArray bytes = file.readAll();
    qsizetype at = 0;
    while (at + 4 <= bytes.size()) {
        quint32 size = 0;
        std::memcpy(&size, bytes.constData() + at, sizeof size);
        at += sizeof size;
        const qsizetype length = qsizetype(size) * size * 4;
        if (size == 0 || size > 1024 || length > bytes.size() - at) break;
        const QImage image(reinterpret_cast<const uchar*>(bytes.constData() + at), int(size), int(size),
                           QImage::Format_ARGB32_Premultiplied);
        // A deep copy: the pixmap may keep the image's buffer, which is `bytes`.
        icon.addPixmap(QPixmap::fromImage(image.copy()));
        at += length;
    }
    return icon;
}

}  // namespace morv
