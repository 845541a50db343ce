#include "formats/FlashEmbedScriptWriter.h"

#include "formats/SwfObjectLines.h"
#include "platform/Int16.h"

namespace {

QString call(const GenerationContext& ctx, const QString& method, const QStringList& arguments) {
    return SwfObjectLines::call(ctx.snapshot.GenerationTag, method, arguments);
}

}  // namespace

QStringList FlashEmbedScriptWriter::lines(const GenerationContext& ctx) {
    const GenerationSnapshot& s = ctx.snapshot;
    const QString addParam = QStringLiteral("addParam");
    return QStringList{SwfObjectLines::constructor(ctx, s.SkinUrl)} +
           SwfObjectLines::fluidStyle(ctx) +
           QStringList{
               call(ctx, QStringLiteral("addVariable"), {QStringLiteral("loc"), s.ServerPath}),
               call(ctx, addParam, {QStringLiteral("bgcolor"), s.BackgroundColor}),
               call(ctx, addParam, {QStringLiteral("quality"), QStringLiteral("high")}),
               call(ctx, addParam, {QStringLiteral("menu"), QStringLiteral("false")}),
               call(ctx, addParam, {QStringLiteral("allowFullScreen"), QStringLiteral("true")}),
               call(ctx, addParam, {QStringLiteral("allowScriptAccess"), QStringLiteral("always")}),
               call(ctx, QStringLiteral("write"),
                    {QStringLiteral("flashcontent") + s.GenerationTag}),
               QString(),
           };
}

OutputFile FlashEmbedScriptWriter::flashEmbedScript(const GenerationContext& ctx) {
    return OutputFile::ofLines(
        ctx.outputFolder + QStringLiteral("zevoflashsv") + ctx.snapshot.GenerationTag + ".js",
        lines(ctx), QStringLiteral("zevoflashsv*.js"));
}
