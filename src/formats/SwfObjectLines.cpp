#include "formats/SwfObjectLines.h"

#include "formats/Escaping.h"
#include "formats/FluidStyle.h"
#include "formats/PlayerBox.h"

namespace SwfObjectLines {

QString literal(const QString& text) {
    return u'"' + Escaping::jsString(text, u'"') + u'"';
}

QString constructor(const GenerationContext& ctx, const QString& skin) {
    const GenerationSnapshot& s = ctx.snapshot;
    const PlayerBox box = PlayerBox::of(ctx);
    const QStringList arguments{literal(skin),
                                literal(QStringLiteral("zevosv") + s.GenerationTag),
                                literal(QString::number(box.width)),
                                literal(QString::number(box.height)),
                                literal(QStringLiteral("6")),
                                literal(s.BackgroundColor)};
    return QStringLiteral("var ") + s.GenerationTag + QStringLiteral("  = new SWFObject(") +
           arguments.join(QStringLiteral(", ")) + QStringLiteral(" );");
}

QStringList fluidStyle(const GenerationContext& ctx) {
    if (!ctx.settings.FluidSize)
        return {};
    const PlayerBox box = PlayerBox::of(ctx);
    return {call(ctx.snapshot.GenerationTag, QStringLiteral("setAttribute"),
                 {QStringLiteral("style"), FluidStyle::movie(box.width, box.height)})};
}

QString call(const QString& tag, const QString& method, const QStringList& arguments) {
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted << literal(argument);
    return tag + u'.' + method + u'(' + quoted.join(QStringLiteral(", ")) + QStringLiteral(" );");
}

}  // namespace SwfObjectLines
