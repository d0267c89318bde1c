// icon-pixels <svg> <output> <size>...: the window icon drawn at each size, at
// build time, so that the program needs no SVG renderer to start. The output
// holds, for each size in turn, the size as a native 32-bit number and then
// size x size premultiplied ARGB32 pixels.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: icon-pixels <svg> <output> <size>...\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!svg.isValid() || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "icon-pixels: cannot read %s or write %s\n", argv[1], argv[2]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const quint32 size = QByteArray(argv[i]).toUInt();
        QImage image(static_cast<int>(size), static_cast<int>(size), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        out.write(reinterpret_cast<const char*>(&size), sizeof size);
        out.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    }
    return out.error() == QFileDevice::NoError ? 0 : 1;
}
