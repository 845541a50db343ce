#include "formats/ActionScriptWriter.h"

#include "formats/Escaping.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

namespace {

// Attaches the end handler to the HTML5 container when the page has one; a page without HTML5
// has no such element, and the Flash player calls the action through the `vv` value instead.
QString attachLine(const QString& tag) {
    const QString container = "document.getElementById(\"vDiv" + tag + "\")";
    return "if (" + container + "){" + container + ".addEventListener(\"ended\",hndVidEnd,false);}";
}

QString handlerLine(const QString& body) {
    return "function hndVidEnd(e){if(!e){e=window.event;}" + body + "}";
}

void write(const GenerationContext& ctx, const QStringList& lines) {
    FileOps::deleteMatching(ctx.outputFolder, QStringLiteral("zevoacton*.js"));
    TextFile::writeLines(
        ctx.outputFolder + QStringLiteral("zevoacton") + ctx.snapshot.GenerationTag + ".js", lines);
}

}  // namespace

QStringList ActionScriptWriter::redirectLines(const GenerationContext& ctx) {
    // The address as typed, blanks included; only what would end the literal is escaped.
    const QString url = Escaping::jsString(ctx.settings.RedirectURL, u'"');
    return {attachLine(ctx.snapshot.GenerationTag),
            handlerLine("window.location=\"" + url + "\";")};
}

QStringList ActionScriptWriter::showLines(const GenerationContext& ctx) {
    const QString& t = ctx.snapshot.GenerationTag;
    const QString player = "$(\"#elementf" + t + "\")";
    const QString action = "$(\"#elemento" + t + "\")";
    const QString hfd = "hfd" + t;
    return {
        "function " + hfd + "(){$(\"#elementf" + t + "\" ).hide(\"slow\").delay(2000);" + action +
            ".show(\"slow\").delay(1000);}$(document).ready(function(){$(\"#backtovideo\")"
            ".click(function(){" +
            action + ".hide();" + player + ".show();});});",
        attachLine(t),
        handlerLine(hfd + "();"),
    };
}

void ActionScriptWriter::writeRedirectActionScript(const GenerationContext& ctx) {
    write(ctx, redirectLines(ctx));
}

void ActionScriptWriter::writeShowActionScript(const GenerationContext& ctx) {
    write(ctx, showLines(ctx));
}
