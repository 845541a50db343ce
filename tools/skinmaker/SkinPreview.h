#pragma once

#include <QImage>
#include <QRectF>

#include "SkinStyle.h"

// The preview picture the main window shows when a skin is chosen: the skin's player scaled into
// a fixed frame, with a black video area and the control bar in the skin's colours. A floating
// bar is drawn as a rounded plate over the bottom of the picture instead of a strip.
class SkinPreview {
  public:
    static constexpr int Width = 320;
    static constexpr int Height = 200;

    static QImage draw(const SkinStyle& style);

  private:
    static QRectF playerRect(const SkinStyle& style);
    static QRectF barRect(const SkinStyle& style, const QRectF& player, double scale);
    static void drawControls(QPainter& painter, const QRectF& bar, const QColor& color);
    static void drawBigPlayButton(QPainter& painter, const QRectF& video);
};
