// Build-time tool: renders the program's SVG icon into a square PNG with Qt's own SVG renderer,
// the one the program draws its icon with, for panels and menus that do not render SVG.
// Usage: zarvo_render_icon SOURCE.svg SIZE OUTPUT.png

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SOURCE.svg SIZE OUTPUT.png\n", argv[0]);
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    bool sizeOk = false;
    const int size = QByteArray(argv[2]).toInt(&sizeOk);
    if (!sizeOk || size < 1 || size > 4096) {
        std::fprintf(stderr, "%s: bad size '%s'\n", argv[0], argv[2]);
        return 2;
    }
    QSvgRenderer renderer(source);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, size, size));
    }
    if (!image.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
