#include "IconPainter.h"

#include <QPainter>
#include <QPen>

QImage IconPainter::render(const QList<IconShape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(size) / IconDrawing::Canvas, qreal(size) / IconDrawing::Canvas);
    for (const IconShape& shape : shapes) {
        painter.setBrush(shape.colour);
        if (shape.kind == IconShape::Kind::RoundedRect) {
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(shape.rect, shape.radius, shape.radius);
            continue;
        }
        if (shape.roundJoin > 0)
            painter.setPen(
                QPen(shape.colour, shape.roundJoin, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            painter.setPen(Qt::NoPen);
        painter.drawPolygon(shape.points);
    }
    return image;
}
