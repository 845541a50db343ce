#include "SvgIcon.h"

#include <QStringList>

namespace {

QString number(qreal value) {
    return QString::number(value, 'g', 6);
}

QString colourName(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

}  // namespace

QString SvgIcon::text(const QList<IconShape>& shapes) {
    const QString size = QString::number(IconDrawing::Canvas);
    QString svg = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                      "viewBox=\"0 0 %1 %1\">\n")
                      .arg(size);
    for (const IconShape& shape : shapes)
        svg += QStringLiteral("  ") + element(shape) + QLatin1Char('\n');
    return svg + QStringLiteral("</svg>\n");
}

QString SvgIcon::element(const IconShape& shape) {
    const QString fill = colourName(shape.colour);
    if (shape.kind == IconShape::Kind::RoundedRect) {
        const QRectF& r = shape.rect;
        return QStringLiteral(
                   "<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>")
            .arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()),
                 number(shape.radius), fill);
    }
    QStringList points;
    for (const QPointF& p : shape.points)
        points.append(number(p.x()) + QLatin1Char(',') + number(p.y()));
    QString polygon = QStringLiteral("<polygon points=\"%1\" fill=\"%2\"")
                          .arg(points.join(QLatin1Char(' ')), fill);
    if (shape.roundJoin > 0)
        polygon += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\"")
                       .arg(fill, number(shape.roundJoin));
    return polygon + QStringLiteral("/>");
}
