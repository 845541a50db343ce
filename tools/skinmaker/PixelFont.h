#pragma once

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <QString>

// A 5 x 7 pixel font with just the letters the share buttons spell. Drawn cell by cell, so the
// build needs no installed fonts and draws the same pictures on every machine.
class PixelFont {
  public:
    static constexpr int GlyphWidth = 5;
    static constexpr int GlyphHeight = 7;
    static constexpr int Spacing = 1;

    // Width in pixels of `text` at `scale`; unknown letters count as blanks.
    static int width(const QString& text, int scale = 1);
    // Draws `text` with its top left corner at `topLeft`.
    static void draw(QPainter& painter, QPoint topLeft, const QString& text, const QColor& color,
                     int scale = 1);

  private:
    static const char* const* glyph(QChar letter);
};
