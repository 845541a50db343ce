#include "ShareButton.h"

#include <QPainter>
#include <QPainterPath>

#include "PixelFont.h"

namespace {

const QColor Ink(Qt::white);
const QRect SignBox(4, 4, 12, 12);
constexpr int TextLeft = 22;

}  // namespace

QString ShareButton::fileName(Kind kind) {
    return kind == Kind::Facebook ? QStringLiteral("wg_fb.jpg") : QStringLiteral("wg_tw.jpg");
}

QImage ShareButton::draw(Kind kind) {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);  // JPEG has no transparency; white blends with most pages
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor plate =
        kind == Kind::Facebook ? QColor(0x3D, 0x58, 0x8F) : QColor(0x2B, 0x9C, 0xD8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(plate);
    painter.drawRoundedRect(QRectF(0.5, 0.5, Width - 1, Height - 1), 4, 4);
    if (kind == Kind::Facebook)
        drawShareSign(painter, SignBox);
    else
        drawBubbleSign(painter, SignBox);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QString word = kind == Kind::Facebook ? QStringLiteral("Share") : QStringLiteral("Tweet");
    PixelFont::draw(painter, {TextLeft, (Height - PixelFont::GlyphHeight) / 2}, word, Ink);
    return image;
}

void ShareButton::drawShareSign(QPainter& painter, const QRect& box) {
    // Three linked dots, the common sign for passing something on.
    const QPointF a(box.left() + 2.5, box.center().y() + 0.5);
    const QPointF b(box.right() - 1.5, box.top() + 2.0);
    const QPointF c(box.right() - 1.5, box.bottom() - 1.0);
    painter.setPen(QPen(Ink, 1.2));
    painter.drawLine(a, b);
    painter.drawLine(a, c);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    for (const QPointF& p : {a, b, c})
        painter.drawEllipse(p, 2.2, 2.2);
}

void ShareButton::drawBubbleSign(QPainter& painter, const QRect& box) {
    // A speech bubble with a tail at the lower left.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(box.left(), box.top() + 1, box.width(), box.height() - 4), 3, 3);
    QPainterPath tail;
    tail.moveTo(box.left() + 2, box.bottom() - 4);
    tail.lineTo(box.left() + 1, box.bottom() + 1);
    tail.lineTo(box.left() + 7, box.bottom() - 4);
    tail.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    painter.drawPath(bubble.united(tail));
}
