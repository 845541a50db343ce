#include "ui/ProductPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

#include "platform/Version.h"

namespace ProductPicture {

namespace {

void drawPlayButton(QPainter& painter, const QRectF& area) {
    const qreal r = area.height() * 0.22;
    const QPointF centre(area.center().x(), area.top() + area.height() * 0.38);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawEllipse(centre, r, r);
    painter.setBrush(QColor(0xFF, 0xCC, 0x66));
    painter.drawPolygon(QPolygonF{{centre.x() - r * 0.35, centre.y() - r * 0.5},
                                  {centre.x() - r * 0.35, centre.y() + r * 0.5},
                                  {centre.x() + r * 0.55, centre.y()}});
}

void drawName(QPainter& painter, const QRectF& area) {
    QFont font = painter.font();
    font.setPixelSize(qMax(12, int(area.height() * 0.09)));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRectF text(area.left(), area.top() + area.height() * 0.66, area.width(),
                      area.height() * 0.2);
    painter.drawText(text, Qt::AlignCenter, QStringLiteral(VIDLARK_TITLE));
}

}  // namespace

QPixmap draw(const QSize& size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    QLinearGradient background(area.topLeft(), area.bottomRight());
    background.setColorAt(0, QColor(0x63, 0x0E, 0x0E));
    background.setColorAt(1, QColor(0x1A, 0x1A, 0x1A));
    painter.fillRect(area, background);
    drawPlayButton(painter, area);
    drawName(painter, area);
    return picture;
}

}  // namespace ProductPicture
