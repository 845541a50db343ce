#pragma once

#include <QImage>
#include <QList>

#include "IconDrawing.h"

// The icon as a picture of `size` x `size` pixels with a transparent background: the shapes
// painted as the SVG describes them, scaled from the drawing's canvas.
class IconPainter {
  public:
    static QImage render(const QList<IconShape>& shapes, int size);
};
