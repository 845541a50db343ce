#include "formats/Html5PlaylistScriptWriter.h"

#include <QStringList>

#include "formats/AddressGuard.h"
#include "formats/CaptionsAttribute.h"
#include "formats/Escaping.h"
#include "formats/FluidStyle.h"
#include "formats/Html5SingleScriptWriter.h"

namespace {

// Every global name of the script but addListeners ends in the run's tag, so scripts of several
// runs can share a page. The pieces below write the tag as "@", a character the script itself
// never uses.
struct Tagged {
    QString tag;
    QString operator()(const char* piece) const {
        return QString::fromLatin1(piece).replace(u'@', tag);
    }
};

// Declarations and the loader, which reads the player options of the configuration file.
// `configUrl` is already escaped for its double-quoted literal.
QStringList loaderFragments(const Tagged& t, const QString& configUrl) {
    return {
        t("var x@;var aP@;var i@;"),
        t("var vW@;var vH@;var tP@;"),
        t("var vA@=new Array();var tI@;"),
        t("var iP@;var iP@;var eU@;"),
        t("x@=\"") + configUrl + "zevoconfigsv.xml\";",
        t("xM@();function xM@(){"),
        t(R"js($.ajax({type:"GET",url:x@,dataType:"xml",success:function onXMLloaded(xml){)js"),
        t(R"js(aP@=$(xml).find("ee").text();)js"),
        t(R"js(i@=hE@($(xml).find("ff").text());)js"),
        t(R"js(vW@=$(xml).find("ww").text();)js"),
        t(R"js(vH@=$(xml).find("xx").text();)js"),
        t(R"js(aL@=$(xml).find("ii").text();)js"),
        t(R"js(pT@=$(xml).find("nn").text();)js"),
        t(R"js(tP@=$(xml).find("yy").text();)js"),
        t(R"js(eU@=$(xml).find("vv").text();)js"),
        t(R"js($("#pDivSc@").append('<ul aria-label="Playlist"></ul>');)js"),
        t(R"js($(xml).find("video").each(function loopingItems(value){)js"),
    };
}

// One list item per video, by layout, in the list the loader made. The values read from the
// configuration file pass through hE<tag> before they are pasted into the item's HTML, so a title
// such as "a <b> c" shows as typed instead of becoming markup; plain text comes out of it
// unchanged. An invisible list has no thumbnail folder (`yy`): its hidden images get no address
// rather than one that is not found. Each item is a tab stop; its table only lays it out.
QStringList listFragments(const Tagged& t) {
    return {
        t(R"js(var obj={title:hE@($(this).attr("title")),stitle:hE@($(this).attr("desc")),)js"
          R"js(mp4:hE@($(this).attr("v2")),webm:hE@($(this).attr("v3")),)js"
          R"js(thumb:(tP@?hE@(tP@+$(this).attr("pic"),1):"")};)js"),
        t(R"js(vA@.push(obj);)js"),
        t(R"js(if (pT@ == "None"){$("#pDivSc@ > ul").append('<li tabindex="0"><table class="litable" )js"
          R"js(role="presentation"><tr><td><strong>'+obj.title+'</strong></td></tr></table></li>');})js"),
        t(R"js(else if (pT@ == "Desc"){)js"),
        t(R"js($("#pDivSc@ > ul").append('<li tabindex="0"><table class="litable" role="presentation">)js"
          R"js(<tr><td><strong>'+obj.title+'</strong></td></tr><tr><td>'+obj.stitle+'</td></tr>)js"
          R"js(</table></li>');}else{)js"),
        t(R"js($("#pDivSc@ > ul").append('<li tabindex="0"><table class="litable" role="presentation"><tr>)js"
          R"js(<td width="22%" rowspan="2"><img alt="" src='+obj.thumb+'></td> )js"
          R"js(<td width="78%"><strong>'+obj.title+'</strong></td></tr>)js"
          R"js(<tr><td>'+obj.stitle+'</td></tr></table></li>');}});)js"),
        t(R"js(tI@ = $("#pDivSc@ li").size();)js"),
    };
}

const char* const kAndroidPlay =
    R"js(onclick="if(/Android/.test(navigator.userAgent))this.play();)js";

// The two sources of video `index` and the text for browsers without video support; `error` is
// already escaped for the single-quoted literal of append().
QString sources(const Tagged& t, const char* index, const QString& error) {
    return t(R"js("><source src="'+vA@[)js") + t(index) + t(R"js(].mp4+'" type="video/mp4" />)js") +
           t(R"js(<source src="'+vA@[)js") + t(index) + t(R"js(].webm+'" type="video/webm" />)js") +
           error + "</video>');";
}

bool startsMuted(const Html5ScriptInput& in) {
    return in.autoPlay && in.mutedAutoPlay;
}

// The attributes of the chosen HTML5 options, each followed by a blank; `first` for the video
// shown when the page loads, the one a muted start starts. The fluid size comes from the
// configuration file, so its style reads the script's variables.
QString optionAttributes(const Tagged& t, const Html5ScriptInput& in, bool first) {
    QString attributes;
    if (in.playsInline)
        attributes += QStringLiteral("playsinline=\"playsinline\" ");
    if (first && startsMuted(in))
        attributes += QStringLiteral("muted=\"muted\" autoplay=\"autoplay\" ");
    if (in.fluidSize)
        attributes += "style=\"" + FluidStyle::box(t("'+vW@+'"), t("'+vH@+'")) + "\" ";
    return attributes;
}

// The video shown when the page loads, with a poster only when the configuration names an intro
// image.
QStringList firstVideoFragments(const Tagged& t, const QString& error, const QString& options) {
    const QString open = t(R"js($("#vDiv@").append('<video id ="vI@" width="'+)js");
    return {
        t(R"js($("#vDiv@").empty();if (i@ != "No"){)js"),
        open + t(R"js( vW@+'" height="'+vH@+'" controls="controls" preload="metadata" )js") +
            options + t(R"js(poster="'+i@+'" )js") + kAndroidPlay,
        sources(t, "0", error) + "}else{",
        open + t(R"js(vW@+'" height="'+ vH@+'" controls="controls" preload="metadata" )js") +
            options + kAndroidPlay,
        sources(t, "0", error) + "}",
    };
}

// The first video highlights its item when it plays and only advances when it ends; the
// end-of-video action belongs to the videos started by pV.
QStringList firstVideoHandlerFragments(const Tagged& t) {
    return {
        t(R"js(iP@ = 0;document.getElementById("vI@").addEventListener('play',function(){)js"),
        t(R"js($("#pDivSc@ li").eq(iP@).css("background-color", "#666666").attr("aria-current","true");)js"),
        t(R"js(document.getElementById("vI@").focus();});)js"),
        t(R"js(document.getElementById("vI@").volume = aL@/100;)js"),
        t(R"js(document.getElementById("vI@").addEventListener('ended',function(){)js"),
        t(R"js(if (aP@== "Yes"){iP@ = iP@ +1;pV@();})js"),
        t(R"js(});addListeners();}});})js"),
    };
}

// pV plays video iP in a fresh element; eV gives it the end handler that advances or, after the
// last video, carries out the `vv` action: the page's action function, or an address that sU
// finds is no script.
QStringList playFragments(const Tagged& t, const QString& error, const QString& options) {
    return {
        t(R"js(function pV@(){$("#pDivSc@ li").css("background-color", "#333333").removeAttr("aria-current");)js"),
        t(R"js($("#pDivSc@ li").eq(iP@).css("background-color", "#666666").attr("aria-current","true");)js"),
        t(R"js($("#vDiv@").empty();$("#vDiv@").append('<video id ="v@" width="'+vW@+'" )js"
          R"js(height="'+vH@+'" controls="controls"  )js") +
            options + kAndroidPlay,
        sources(t, "iP@", error),
        t(R"js(document.getElementById("v@").volume = aL@/100;)js"),
        t(R"js(document.getElementById("v@").play();)js"),
        t(R"js(document.getElementById("v@").focus();)js"),
        t(R"js(eV@();}function eV@(){)js"),
        t(R"js(document.getElementById("v@").addEventListener('ended',function(){)js"),
        t(R"js(if ((iP@+1) != tI@){if (aP@ == "Yes"){)js"),
        t(R"js(iP@ = iP@+1;pV@();}}else{)js"),
        t(R"js(if (eU@ != "No"){if (eU@.indexOf("javascript:") == 0){)js"),
        t(R"js(var funcUrl = eU@.substr(11,8);)js"),
        t(R"js(if (typeof window[funcUrl] == "function"){window[funcUrl]();}})js"),
        t(R"js(else if (sU@(eU@)){window.open(eU@,"_self");}}}});})js"),
    };
}

// The list items answer a click, and Enter or Space as a click; then sU<tag>, the test of an end
// address, and hE<tag>, which makes a value safe inside element text and double-quoted
// attributes, and with `u` also inside the unquoted src of a thumbnail (a blank in a file name
// would otherwise end the address).
QStringList listenerFragments(const Tagged& t) {
    return {
        t(R"js(function addListeners(){$("#pDivSc@ li").each(function looping(index) {)js"),
        t(R"js($(this).click(function onItemClick(){)js"),
        t(R"js(iP@ = index;pV@();}).keydown(function onItemKey(e){)js"),
        t(R"js(if (e.which == 13 || e.which == 32){e.preventDefault();$(this).click();}});});})js"),
        AddressGuard::scriptFunction(t("sU@")),
        t(R"js(function hE@(s,u){return String(s).replace(u?/[&<>"'\s=`]/g:/[&<>"]/g,)js"
          R"js(function(c){return "&#"+c.charCodeAt(0)+";";});})js"),
        QStringLiteral("//"),
    };
}

// Browsers start a video by itself only muted, and the videos after it too unless the visitor
// has given the sound back: mU<tag> keeps the visitor's choice from one video element to the
// next, and uS<tag> puts the Unmute button over each element that starts muted.
QStringList mutedStartFragments(const Tagged& t) {
    return {
        t(R"js(var mU@=true;function uS@(id){var v=document.getElementById(id);)js"),
        t(R"js(v.addEventListener('volumechange',function(){mU@=this.muted;)js"),
        t(R"js(if (!this.muted){$("#uB@").remove();}});if (mU@){)js"),
        t(R"js($("#vDiv@").css("position","relative").append('<button type="button" id="uB@" )js"
          R"js(onclick="uM@();" )js"),
        QStringLiteral("style=\"position:absolute;left:8px;top:8px;z-index:2;padding:6px 12px;"
                       "border:0;border-radius:4px;background:rgba(0,0,0,0.7);color:#fff;"
                       "font:bold 14px sans-serif;cursor:pointer\">&#128263; Unmute</button>');}}"),
        t(R"js(function uM@(){mU@=false;$("#vDiv@ video").prop("muted",false);$("#uB@").remove();})js"),
    };
}

// `lines` with `extra` right after the line that reads `anchor`.
QStringList withAfter(QStringList lines, const QString& anchor, const QString& extra) {
    lines.insert(lines.indexOf(anchor) + 1, extra);
    return lines;
}

}  // namespace

QString Html5PlaylistScriptWriter::text(const Html5ScriptInput& in) {
    const Tagged t{in.tag};
    const QString configUrl =
        Escaping::jsString(Html5SingleScriptWriter::relativeServerPath(in.serverPath), u'"');
    const QString error = Escaping::jsString(in.errorHtml5, u'\'');
    QStringList list = listFragments(t);
    QStringList first = firstVideoFragments(t, error, optionAttributes(t, in, true));
    QStringList firstHandlers = firstVideoHandlerFragments(t);
    QStringList play = playFragments(t, error, optionAttributes(t, in, false));
    QStringList listeners = listenerFragments(t);
    if (in.captions) {
        // Each video element gets the tracks of the video it plays: pV makes a fresh element for
        // every move, so the tracks of the one before go with it.
        list.insert(1, t(R"js(obj.cc=$(this).attr("cc");)js"));
        first << t(R"js(cT@(document.getElementById("vI@"),vA@[0].cc);)js");
        play.insert(4, t(R"js(cT@(document.getElementById("v@"),vA@[iP@].cc);)js"));
        listeners.insert(listeners.size() - 1, CaptionsAttribute::trackFunctions(in.tag));
    }
    if (startsMuted(in)) {
        firstHandlers =
            withAfter(firstHandlers, t(R"js(document.getElementById("vI@").volume = aL@/100;)js"),
                      t(R"js(document.getElementById("vI@").muted = true;uS@("vI@");)js"));
        play = withAfter(play, t(R"js(document.getElementById("v@").volume = aL@/100;)js"),
                         t(R"js(document.getElementById("v@").muted = mU@;uS@("v@");)js"));
        // Before the closing comment.
        for (const QString& line : mutedStartFragments(t))
            listeners.insert(listeners.size() - 1, line);
    }
    return (loaderFragments(t, configUrl) + list + first + firstHandlers + play + listeners)
        .join(QString());
}

OutputFile Html5PlaylistScriptWriter::html5PlaylistScript(const Html5ScriptInput& in) {
    return OutputFile::ofLines(in.outputFolder + QStringLiteral("zevohtml5sv") + in.tag + ".js",
                               {text(in)}, QStringLiteral("zevohtml5*.js"));
}
