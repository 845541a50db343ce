#include "formats/ActionScriptWriter.h"

#include "formats/AddressGuard.h"
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

OutputFile file(const ActionScriptWriter::Input& in, const QStringList& lines) {
    return OutputFile::ofLines(in.outputFolder + QStringLiteral("zevoacton") + in.tag + ".js",
                               lines, QStringLiteral("zevoacton*.js"));
}

}  // namespace

QStringList ActionScriptWriter::redirectLines(const QString& tag, const QString& redirectUrl) {
    // The address as typed, blanks included; only what would end the literal is escaped. A
    // script address is never opened, however it is spelt.
    const QString url = Escaping::jsString(redirectUrl, u'"');
    const QString guard = "sU" + tag;
    return {attachLine(tag),
            handlerLine("var u=\"" + url + "\";if(" + guard + "(u)){window.location=u;}"),
            AddressGuard::scriptFunction(guard)};
}

QStringList ActionScriptWriter::showLines(const QString& t) {
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

std::optional<OutputFile> ActionScriptWriter::actionScript(const Input& in) {
    if (in.hasActionCode)
        return showActionScript(in);
    if (!in.redirectUrl.trimmed().isEmpty())
        return redirectActionScript(in);
    return std::nullopt;
}

OutputFile ActionScriptWriter::redirectActionScript(const Input& in) {
    return file(in, redirectLines(in.tag, in.redirectUrl));
}

OutputFile ActionScriptWriter::showActionScript(const Input& in) {
    return file(in, showLines(in.tag));
}
