#include "formats/ActionScriptWriter.h"

#include "formats/Escaping.h"

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

OutputFile file(const GenerationContext& ctx, const QStringList& lines) {
    return OutputFile::ofLines(
        ctx.outputFolder + QStringLiteral("zevoacton") + ctx.snapshot.GenerationTag + ".js", lines,
        QStringLiteral("zevoacton*.js"));
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

std::optional<OutputFile> ActionScriptWriter::actionScript(const GenerationContext& ctx) {
    if (ctx.snapshot.HasActionCode)
        return showActionScript(ctx);
    if (!ctx.settings.RedirectURL.trimmed().isEmpty())
        return redirectActionScript(ctx);
    return std::nullopt;
}

OutputFile ActionScriptWriter::redirectActionScript(const GenerationContext& ctx) {
    return file(ctx, redirectLines(ctx));
}

OutputFile ActionScriptWriter::showActionScript(const GenerationContext& ctx) {
    return file(ctx, showLines(ctx));
}
