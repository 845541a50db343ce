#include "formats/FlashEmbedScriptWriter.h"

#include "formats/Escaping.h"
#include "formats/PlayerBox.h"
#include "platform/FileOps.h"
#include "platform/Int16.h"
#include "platform/TextFile.h"

namespace {

// A double-quoted JavaScript string literal holding `text` exactly.
QString literal(const QString& text) {
    return u'"' + Escaping::jsString(text, u'"') + u'"';
}

QString constructorLine(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    const PlayerBox box = PlayerBox::of(ctx);
    const QStringList arguments{literal(s.SkinUrl),
                                literal(QStringLiteral("zevosv") + s.GenerationTag),
                                literal(QString::number(box.width)),
                                literal(QString::number(box.height)),
                                literal(QStringLiteral("6")),
                                literal(s.BackgroundColor)};
    return QStringLiteral("var ") + s.GenerationTag + QStringLiteral("  = new SWFObject(") +
           arguments.join(QStringLiteral(", ")) + QStringLiteral(" );");
}

// One call on the tag's SWFObject: `G.method("a", "b" );`.
QString call(const GenerationContext& ctx, const QString& method, const QStringList& arguments) {
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted << literal(argument);
    return ctx.snapshot.GenerationTag + u'.' + method + u'(' + quoted.join(QStringLiteral(", ")) +
           QStringLiteral(" );");
}

}  // namespace

QStringList FlashEmbedScriptWriter::lines(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    const QString addParam = QStringLiteral("addParam");
    return {
        constructorLine(ctx),
        call(ctx, QStringLiteral("addVariable"), {QStringLiteral("loc"), s.ServerPath}),
        call(ctx, addParam, {QStringLiteral("bgcolor"), s.BackgroundColor}),
        call(ctx, addParam, {QStringLiteral("quality"), QStringLiteral("high")}),
        call(ctx, addParam, {QStringLiteral("menu"), QStringLiteral("false")}),
        call(ctx, addParam, {QStringLiteral("allowFullScreen"), QStringLiteral("true")}),
        call(ctx, addParam, {QStringLiteral("allowScriptAccess"), QStringLiteral("always")}),
        call(ctx, QStringLiteral("write"), {QStringLiteral("flashcontent") + s.GenerationTag}),
        QString(),
    };
}

void FlashEmbedScriptWriter::writeFlashEmbedScript(const GenerationContext& ctx) {
    // Built before anything is deleted, so an overflow leaves the earlier script in place.
    const QStringList content = lines(ctx);
    FileOps::deleteMatching(ctx.outputFolder, QStringLiteral("zevoflashsv*.js"));
    TextFile::writeLines(
        ctx.outputFolder + QStringLiteral("zevoflashsv") + ctx.snapshot.GenerationTag + ".js",
        content);
}
