#include "Placeholderimages.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon TypeSquare(int type, const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker());
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::number(type));
    return QIcon(pixmap);
}

QIcon ClockFace()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(40, 90, 200));
    painter.setPen(QColor(20, 40, 120));
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawLine(QPointF(8, 8), QPointF(8, 3.5));
    painter.drawLine(QPointF(8, 8), QPointF(11.5, 8));
    return QIcon(pixmap);
}

} // namespace

QList<QIcon> PlaceholderImageList()
{
    const QColor colours[] = {QColor(0, 128, 0), QColor(200, 0, 0), QColor(200, 100, 0), QColor(120, 80, 0),
                              QColor(0, 110, 150), QColor(90, 90, 90), QColor(190, 0, 140)};
    QList<QIcon> images;
    for (int type = 1; type <= 7; ++type)
        images << TypeSquare(type, colours[type - 1]);
    images << ClockFace();
    return images;
}
