#include "SkinPreview.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr double Margin = 10.0;
const QColor PageColor(0x7F, 0x7F, 0x7F);  // neutral, so dark and light bars both stand out
const QColor VideoColor(Qt::black);

QPolygonF triangle(const QRectF& box) {
    return QPolygonF{
        {box.left(), box.top()}, {box.right(), box.center().y()}, {box.left(), box.bottom()}};
}

}  // namespace

QImage SkinPreview::draw(const SkinStyle& style) {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(PageColor);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF player = playerRect(style);
    const double scale = player.width() / style.playerSize().width();
    const QRectF video(player.topLeft(), QSizeF(player.width(), SkinStyle::VideoHeight * scale));
    // A floating bar hovers over the picture, so the video fills the whole player.
    painter.fillRect(style.floatingBar ? player : video, VideoColor);
    drawBigPlayButton(painter, video);

    const QRectF bar = barRect(style, player, scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style.barColor());
    if (style.floatingBar)
        painter.drawRoundedRect(bar, bar.height() / 3, bar.height() / 3);
    else
        painter.drawRect(bar);
    drawControls(painter, bar, style.controlColor());
    return image;
}

QRectF SkinPreview::playerRect(const SkinStyle& style) {
    const QSizeF player = style.playerSize();
    const double scale =
        qMin((Width - 2 * Margin) / player.width(), (Height - 2 * Margin) / player.height());
    const QSizeF scaled = player * scale;
    return {QPointF((Width - scaled.width()) / 2, (Height - scaled.height()) / 2), scaled};
}

QRectF SkinPreview::barRect(const SkinStyle& style, const QRectF& player, double scale) {
    const double height = style.allowance * scale;
    if (!style.floatingBar)
        return {player.left(), player.bottom() - height, player.width(), height};
    // Inset from the sides and the bottom, and a little thinner than the skin's allowance.
    const double inset = player.width() * 0.06;
    const double plate = height * 0.7;
    return {player.left() + inset, player.bottom() - (height + plate) / 2,
            player.width() - 2 * inset, plate};
}

void SkinPreview::drawControls(QPainter& painter, const QRectF& bar, const QColor& color) {
    const double unit = bar.height() * 0.5;
    const double middle = bar.center().y();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    // Play button, progress track with its knob, volume steps, full-screen box.
    const QRectF play(bar.left() + unit * 0.6, middle - unit / 2, unit * 0.85, unit);
    painter.drawPolygon(triangle(play));
    const double trackLeft = play.right() + unit * 0.8;
    const double trackRight = bar.right() - unit * 4.2;
    painter.drawRect(QRectF(trackLeft, middle - 1, trackRight - trackLeft, 2));
    painter.drawEllipse(QPointF(trackLeft + (trackRight - trackLeft) * 0.35, middle), unit / 4,
                        unit / 4);
    // Five volume steps rising to the right, as the player's bar has them.
    for (int step = 0; step < 5; ++step) {
        const double h = unit * (0.35 + 0.13 * (step + 1));
        painter.drawRect(
            QRectF(trackRight + unit * (0.6 + 0.45 * step), middle + unit / 2 - h, unit * 0.27, h));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color, 1.2));
    painter.drawRect(
        QRectF(bar.right() - unit * 1.3, middle - unit * 0.35, unit * 0.8, unit * 0.7));
}

void SkinPreview::drawBigPlayButton(QPainter& painter, const QRectF& video) {
    const double radius = video.height() * 0.14;
    const QPointF centre = video.center();
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 2));
    painter.setBrush(QColor(0x22, 0x22, 0x22));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x60, 0x60, 0x60));
    const QRectF box(centre.x() - radius * 0.35, centre.y() - radius * 0.5, radius * 0.9, radius);
    painter.drawPolygon(triangle(box));
}
