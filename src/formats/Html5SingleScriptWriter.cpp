#include "formats/Html5SingleScriptWriter.h"

#include <QStringList>

#include "formats/AddressGuard.h"
#include "formats/CaptionsAttribute.h"
#include "formats/Escaping.h"
#include "formats/FluidStyle.h"

namespace {

// Every global name of the script ends in the run's tag, so scripts of several runs can share a
// page.
struct Names {
    QString t;  // the generation tag
    QString x, i, vW, vH, aL, eU, vA, xM, eV, vI, div, hE, uB, uM, sU;

    explicit Names(const QString& tag)
        : t(tag),
          x(u'x' + tag),
          i(u'i' + tag),
          vW(QStringLiteral("vW") + tag),
          vH(QStringLiteral("vH") + tag),
          aL(QStringLiteral("aL") + tag),
          eU(QStringLiteral("eU") + tag),
          vA(QStringLiteral("vA") + tag),
          xM(QStringLiteral("xM") + tag),
          eV(QStringLiteral("eV") + tag),
          vI(QStringLiteral("vI") + tag),
          div(QStringLiteral("vDiv") + tag),
          hE(QStringLiteral("hE") + tag),
          uB(QStringLiteral("uB") + tag),
          uM(QStringLiteral("uM") + tag),
          sU(QStringLiteral("sU") + tag) {}
};

// Declarations, and the loader up to the emptied container. `configUrl` is already escaped for
// its double-quoted literal.
QStringList loaderFragments(const Names& n, const QString& configUrl) {
    return {
        "var " + n.x + ";var " + n.i + ";var " + n.vW + ";",
        "var " + n.vH + ";var " + n.vA + "=new Array();",
        "var " + n.eU + ";" + n.x + "=\"" + configUrl + "\";",
        n.xM + "();function " + n.xM + "(){",
        "$.ajax({type:\"GET\",url:" + n.x + ",dataType:\"xml\",success:function onXMLloaded(xml){",
        n.i + "=" + n.hE + "($(xml).find(\"ff\").text());",
        n.vW + "=$(xml).find(\"ww\").text();",
        n.vH + "=$(xml).find(\"xx\").text();",
        n.aL + "=$(xml).find(\"ii\").text();",
        n.eU + "=$(xml).find(\"vv\").text();",
        "$(xml).find(\"video\").each(function loopingItems(value){",
        "var obj= { mp4:" + n.hE + "($(this).attr(\"v2\")),webm:" + n.hE +
            "($(this).attr(\"v3\")),};",
        n.vA + ".push(obj);});$(\"#" + n.div + "\").empty();",
    };
}

// The two sources and the text for browsers without video support; `error` is already escaped
// for the single-quoted literal of append().
QString sources(const Names& n, const QString& error) {
    return "\"><source src=\"'+" + n.vA + "[0].mp4+'\" type=\"video/mp4\" /><source src=\"'+" +
           n.vA + "[0].webm+'\" type=\"video/webm\" />" + error + "</video>');";
}

const QString kControls = QStringLiteral("+'\" controls=\"controls\" preload=\"metadata\" ");
const QString kAndroidPlay =
    QStringLiteral("onclick=\"if(/Android/.test(navigator.userAgent))this.play();");

// The video element, with a poster only when the configuration names an intro image. `options`
// are the attributes of the chosen HTML5 options, each followed by a blank.
QStringList videoFragments(const Names& n, const QString& error, const QString& options) {
    const QString append = "$(\"#" + n.div + "\").append('<video id =\"" + n.vI + "\" width=\"'+";
    return {
        "if (" + n.i + " != \"No\"){" + append + " " + n.vW + "+'\" height=\"'+" + n.vH +
            kControls + options + "poster=\"'+" + n.i + "+'\" " + kAndroidPlay,
        sources(n, error) + "}else{",
        append + n.vW + "+'\" height=\"'+ " + n.vH + kControls + options + kAndroidPlay,
        sources(n, error) + "}",
    };
}

// Volume, and the end of the video: pause, rewind, then run the `vv` action unless it is "No":
// the page's action function ("javascript:NAME()", only a function the page has), or an address
// to open, never a script.
QStringList endFragments(const Names& n) {
    const QString video = "document.getElementById(\"" + n.vI + "\")";
    return {
        "; " + video + ".volume = " + n.aL + "/100;",
        video + ".addEventListener('ended',function(){",
        n.eV + "();  });}});}function " + n.eV + "(){  " + video + ".pause();",
        video + ".currentTime = 0;",
        "if (" + n.eU + " != \"No\"){if (" + n.eU + ".indexOf(\"javascript:\") == 0){",
        "var funcUrl = " + n.eU + ".substr(11,8);",
        "if (typeof window[funcUrl] == \"function\"){window[funcUrl]();}}",
        "else if (" + n.sU + "(" + n.eU + ")){window.open(" + n.eU + ",\"_self\");}}}",
        AddressGuard::scriptFunction(n.sU),
        // The addresses read from the configuration file go into double-quoted attributes of the
        // video element: a quote or ampersand in a file name must not end or change them.
        "function " + n.hE + "(s){return String(s).replace(/[&<>\"]/g,",
        "function(c){return \"&#\"+c.charCodeAt(0)+\";\";});}//",
    };
}

// Browsers refuse to start a video with sound before the visitor has touched the page, but let
// it start muted; the button over the video gives the sound back and goes, as it does when the
// visitor unmutes with the video's own controls.
QStringList unmuteFragments(const Names& n) {
    const QString video = "document.getElementById(\"" + n.vI + "\")";
    return {
        video + ".muted = true;",
        "$(\"#" + n.div +
            "\").css(\"position\",\"relative\").append('<button type=\"button\" id=\"" + n.uB +
            "\" onclick=\"" + n.uM + "();\" ",
        "style=\"position:absolute;left:8px;top:8px;z-index:2;padding:6px 12px;border:0;",
        "border-radius:4px;background:rgba(0,0,0,0.7);color:#fff;font:bold 14px sans-serif;",
        "cursor:pointer\">&#128263; Unmute</button>');",
        video + ".addEventListener('volumechange',function(){",
        "if (!this.muted){$(\"#" + n.uB + "\").remove();}});",
    };
}

QString uMFunction(const Names& n) {
    return "function " + n.uM + "(){document.getElementById(\"" + n.vI + "\").muted = false;$(\"#" +
           n.uB + "\").remove();}";
}

bool startsMuted(const Html5ScriptInput& in) {
    return in.autoPlay && in.mutedAutoPlay;
}

// The size comes from the configuration file, so the style reads the script's variables.
QString fluidAttribute(const Names& n) {
    return "style=\"" + FluidStyle::box("'+" + n.vW + "+'", "'+" + n.vH + "+'") + "\" ";
}

QString optionAttributes(const Html5ScriptInput& in, const Names& n) {
    QString attributes;
    if (in.playsInline)
        attributes += QStringLiteral("playsinline=\"playsinline\" ");
    if (startsMuted(in))
        attributes += QStringLiteral("muted=\"muted\" autoplay=\"autoplay\" ");
    if (in.fluidSize)
        attributes += fluidAttribute(n);
    return attributes;
}

}  // namespace

QString Html5SingleScriptWriter::relativeServerPath(const QString& serverPath) {
    const QStringList pieces = serverPath.split(u'/');
    QString result;
    for (qsizetype k = 3; k < pieces.size(); ++k) {
        result += pieces[k];
        if (!result.isEmpty())
            result += u'/';
    }
    if (result.endsWith(QStringLiteral("//")))
        result.chop(1);
    if (!result.startsWith(u'/'))
        result.prepend(u'/');
    return result;
}

QString Html5SingleScriptWriter::text(const Html5ScriptInput& in) {
    const Names names(in.tag);
    const QString configUrl =
        Escaping::jsString(relativeServerPath(in.serverPath), u'"') + "zevoconfigsv.xml";
    const QString error = Escaping::jsString(in.errorHtml5, u'\'');
    QStringList fragments = loaderFragments(names, configUrl) +
                            videoFragments(names, error, optionAttributes(in, names));
    QStringList end = endFragments(names);
    if (in.captions) {
        // The tracks go into the video as soon as it is on the page, before it loads anything.
        fragments.append("cT" + names.t + "(document.getElementById(\"" + names.vI +
                         "\"),$(xml).find(\"video\").first().attr(\"cc\"));");
        end.insert(end.size() - 2, CaptionsAttribute::trackFunctions(names.t));
    }
    if (startsMuted(in)) {
        // After the volume line, inside the loader; the function before the closing comment.
        fragments.append(end.takeFirst());
        fragments += unmuteFragments(names);
        end.insert(end.size() - 2, uMFunction(names));
    }
    return (fragments + end).join(QString());
}

OutputFile Html5SingleScriptWriter::html5SingleScript(const Html5ScriptInput& in) {
    return OutputFile::ofLines(in.outputFolder + QStringLiteral("zevohtml5sv") + in.tag + ".js",
                               {text(in)}, QStringLiteral("zevohtml5*.js"));
}
