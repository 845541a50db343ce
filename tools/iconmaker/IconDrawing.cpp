#include "IconDrawing.h"

namespace {

// The frame leaves a margin, as icons of a theme do, so it sits beside them at the same size.
const QRectF Frame(16, 16, 224, 224);
constexpr qreal FrameRadius = 40;

// Five holes along each long edge of the frame.
constexpr int Holes = 5;
constexpr qreal HoleWidth = 24;
constexpr qreal HoleHeight = 20;
constexpr qreal HoleStep = 40;
constexpr qreal HoleRadius = 5;
constexpr qreal FirstHoleLeft = 36;
constexpr qreal TopHoles = 32;
constexpr qreal BottomHoles = 204;

IconShape roundedRect(const QRectF& rect, qreal radius, const QColor& colour) {
    IconShape shape;
    shape.rect = rect;
    shape.radius = radius;
    shape.colour = colour;
    return shape;
}

IconShape playSign() {
    // Its corners' centres; the rounding outline adds half its width around them. The point is
    // right of the frame's middle so the sign's weight sits in the middle.
    IconShape shape;
    shape.kind = IconShape::Kind::Polygon;
    shape.points = QPolygonF({QPointF(104, 84), QPointF(104, 172), QPointF(180, 128)});
    shape.roundJoin = 16;
    shape.colour = IconDrawing::light();
    return shape;
}

}  // namespace

QList<IconShape> IconDrawing::shapes() {
    QList<IconShape> shapes{roundedRect(Frame, FrameRadius, dark())};
    for (qreal top : {TopHoles, BottomHoles}) {
        for (int i = 0; i < Holes; ++i) {
            const QRectF hole(FirstHoleLeft + i * HoleStep, top, HoleWidth, HoleHeight);
            shapes.append(roundedRect(hole, HoleRadius, light()));
        }
    }
    shapes.append(playSign());
    return shapes;
}
