#pragma once

#include <QImage>
#include <QString>

// The two small buttons a generated page shows under the player when social sharing is on:
// images/wg_fb.jpg opens the Facebook share page, images/wg_tw.jpg the Twitter one. Our own
// plain drawings: a coloured plate, a simple sign and a word.
class ShareButton {
  public:
    enum class Kind { Facebook, Twitter };

    static constexpr int Width = 60;
    static constexpr int Height = 20;

    static QImage draw(Kind kind);
    // "wg_fb.jpg" or "wg_tw.jpg".
    static QString fileName(Kind kind);

  private:
    static void drawShareSign(QPainter& painter, const QRect& box);
    static void drawBubbleSign(QPainter& painter, const QRect& box);
};
