#pragma once

#include <QColor>
#include <QList>
#include <QPolygonF>
#include <QRectF>

// One filled shape of the application icon: a rounded rectangle, or a polygon whose corners are
// rounded by an outline of its own colour drawn with round joins.
struct IconShape {
    enum class Kind { RoundedRect, Polygon };

    Kind kind = Kind::RoundedRect;
    QRectF rect;          // RoundedRect
    qreal radius = 0;     // RoundedRect: corner radius
    QPolygonF points;     // Polygon
    qreal roundJoin = 0;  // Polygon: width of the rounding outline; 0 draws none
    QColor colour;
};

// The application icon "vidlark": a dark red film frame with a row of perforations at the top and
// at the bottom and a light play sign in the middle, in the colours of the dark skins. It is
// drawn on a square canvas of Canvas units; the SVG and every PNG size come from these shapes, so
// they show the same picture.
class IconDrawing {
  public:
    static constexpr int Canvas = 256;

    static QList<IconShape> shapes();
    static QColor dark() { return QColor(0x63, 0x0E, 0x0E); }
    static QColor light() { return QColor(0xFF, 0xCC, 0x66); }
};
