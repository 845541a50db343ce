#pragma once

#include <QList>
#include <QString>

#include "IconDrawing.h"

// The icon's scalable form: an SVG document with one element per shape, on the drawing's canvas.
class SvgIcon {
  public:
    static QString text(const QList<IconShape>& shapes);

  private:
    static QString element(const IconShape& shape);
};
