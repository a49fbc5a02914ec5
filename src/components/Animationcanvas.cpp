#include "Animationcanvas.h"

#include <QPainter>
#include <QPolygon>

InvertingImageCanvas::InvertingImageCanvas(QImage &image, QPoint origin)
    : m_image(image)
    , m_origin(origin)
{
}

void InvertingImageCanvas::DrawOutline(const TOutline &outline)
{
    if (outline.isEmpty())
        return;
    QPolygon polygon(outline);
    polygon.translate(-m_origin);
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(polygon);
    m_touched |= polygon.boundingRect().adjusted(-1, -1, 1, 1);
}
