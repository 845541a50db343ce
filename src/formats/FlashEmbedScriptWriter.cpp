#include "formats/FlashEmbedScriptWriter.h"

#include "formats/SwfObjectLines.h"

QStringList FlashEmbedScriptWriter::lines(const Input& in) {
    const PlayerBox box = PlayerBox::of(in.box);
    const auto call = [&in](const QString& method, const QStringList& arguments) {
        return SwfObjectLines::call(in.tag, method, arguments);
    };
    const QString addParam = QStringLiteral("addParam");
    return QStringList{SwfObjectLines::constructor(in.tag, in.skinUrl, box, in.backgroundColor)} +
           SwfObjectLines::fluidStyle(in.tag, box, in.fluidSize) +
           QStringList{
               call(QStringLiteral("addVariable"), {QStringLiteral("loc"), in.serverPath}),
               call(addParam, {QStringLiteral("bgcolor"), in.backgroundColor}),
               call(addParam, {QStringLiteral("quality"), QStringLiteral("high")}),
               call(addParam, {QStringLiteral("menu"), QStringLiteral("false")}),
               call(addParam, {QStringLiteral("allowFullScreen"), QStringLiteral("true")}),
               call(addParam, {QStringLiteral("allowScriptAccess"), QStringLiteral("always")}),
               call(QStringLiteral("write"), {QStringLiteral("flashcontent") + in.tag}),
               QString(),
           };
}

OutputFile FlashEmbedScriptWriter::flashEmbedScript(const Input& in) {
    return OutputFile::ofLines(in.outputFolder + QStringLiteral("zevoflashsv") + in.tag + ".js",
                               lines(in), QStringLiteral("zevoflashsv*.js"));
}
