#include "formats/SwfObjectLines.h"

#include "formats/Escaping.h"
#include "formats/FluidStyle.h"

namespace SwfObjectLines {

QString literal(const QString& text) {
    return u'"' + Escaping::jsString(text, u'"') + u'"';
}

QString constructor(const QString& tag, const QString& skin, const PlayerBox& box,
                    const QString& backgroundColor) {
    const QStringList arguments{literal(skin),
                                literal(QStringLiteral("zevosv") + tag),
                                literal(QString::number(box.width)),
                                literal(QString::number(box.height)),
                                literal(QStringLiteral("6")),
                                literal(backgroundColor)};
    return QStringLiteral("var ") + tag + QStringLiteral("  = new SWFObject(") +
           arguments.join(QStringLiteral(", ")) + QStringLiteral(" );");
}

QStringList fluidStyle(const QString& tag, const PlayerBox& box, bool fluidSize) {
    if (!fluidSize)
        return {};
    return {call(tag, QStringLiteral("setAttribute"),
                 {QStringLiteral("style"), FluidStyle::movie(box.width, box.height)})};
}

QString call(const QString& tag, const QString& method, const QStringList& arguments) {
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted << literal(argument);
    return tag + u'.' + method + u'(' + quoted.join(QStringLiteral(", ")) + QStringLiteral(" );");
}

}  // namespace SwfObjectLines
