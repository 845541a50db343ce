#include "generate/TestPageWriter.h"

#include "formats/Escaping.h"
#include "formats/SwfObjectLines.h"
#include "generate/WebAddresses.h"
#include "platform/Cp1252.h"
#include "platform/Int16.h"
#include "platform/ScratchFolder.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Both pages share it. Every character beyond ASCII is written as a reference (see Escaping), so
// the pages' bytes read the same as UTF-8; a browser honours the declaration only when it is
// well-formed, and otherwise guesses.
const QString kMetaLine =
    QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/>");

// A screen reader reads a page in the language it names, and a visitor finds its parts by the
// main landmark and the heading.
const QString kHtmlLine = QStringLiteral("<html lang=\"en\">");
const QString kHeadingRule = QStringLiteral("h1{font-size:14px;text-align:center;}");

using SwfObjectLines::call;

// `lines` with `extra` right after the first line that reads `anchor`.
QStringList withAfter(QStringList lines, const QString& anchor, const QStringList& extra) {
    const qsizetype at = lines.indexOf(anchor) + 1;
    for (qsizetype k = 0; k < extra.size(); ++k)
        lines.insert(at + k, extra[k]);
    return lines;
}

// A phone lays out a page without a viewport line as a desktop page and shows it zoomed out, so a
// fluid player would never have a narrow page to follow.
QStringList withViewport(const QStringList& lines, bool fluidSize) {
    if (!fluidSize)
        return lines;
    return withAfter(
        lines, kMetaLine,
        {QStringLiteral(
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>")});
}

QStringList onlineTestPageLines(const TestPageWriter::Input& in) {
    return {
        kHtmlLine,
        QStringLiteral("<head>"),
        kMetaLine,
        QStringLiteral("<title>Vidlark - Streaming Video - Online Test</title>"),
        QStringLiteral("<style type=\"text/css\">"),
        QStringLiteral("body{ background-color: #FFFFFF; margin-top: 100px; margin-left: 0px; "
                       "font-family: Verdana, Arial, Helvetica, sans-serif; font-size: 12px; }"),
        QStringLiteral("p { color: #000000; font-style: normal; text-decoration: none;}"),
        kHeadingRule,
        QStringLiteral("</style>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body>"),
        QStringLiteral("<main>"),
        QStringLiteral("<h1>Vidlark - Streaming Video - Online Test</h1>"),
        in.embedCode,
        QStringLiteral("<br>"),
        QStringLiteral("<br>"),
        QStringLiteral("<br>"),
        QStringLiteral("<br>"),
        QStringLiteral("<br>"),
        QStringLiteral("<br>"),
        QStringLiteral("<p align=\"center\"><b>If you can view the video above then your code and "
                       "files are perfectly allright.</b></p> "),
        QStringLiteral("<p align=\"center\">If you cannot view the video above then  there might "
                       "be a <br> problem with your code or the placement of the files. <br>You "
                       "can contact Vidlark Customer Support <a href=\"") +
            WebAddresses::supportPage() +
            QStringLiteral("\"  target=\"_blank\" >here</a>.<br>For a quick reference put a link "
                           "to this page also.</p> "),
        QStringLiteral("</main>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
}

QStringList localHead() {
    return {
        kHtmlLine,
        QStringLiteral("<head>"),
        // Lets the browser run the page's scripts although it is opened from the local disk.
        QStringLiteral("<!-- saved from url=(0014)about:internet -->"),
        kMetaLine,
        QStringLiteral("<title>Vidlark - Streaming Video - Local Test</title>"),
        QStringLiteral("<style type=\"text/css\">"),
        QStringLiteral("body{ background-color:#FFFFFF;margin-top:10px; margin-left:10px;"
                       "font-family:Verdana, Arial, Helvetica, sans-serif;font-size:12px;}"),
        QStringLiteral(".message{ background-color:#F8E4CC;border:1px;padding:5px;}"),
        QStringLiteral("p{color:#153450;font-style: normal;text-decoration: none;}"),
        kHeadingRule,
        QStringLiteral("</style>"),
        QStringLiteral("<script type=\"text/javascript\" src=\"zevoswf.js\"></script>"),
        QStringLiteral("</head>"),
        QString(),
    };
}

QStringList localBody(const TestPageWriter::Input& in, const QString& swfObject) {
    const QString& tag = in.tag;
    const QString addParam = QStringLiteral("addParam");
    return {
        QStringLiteral("<body>"),
        QStringLiteral("<main>"),
        QStringLiteral("<h1>Vidlark - Streaming Video - Local Test</h1>"),
        QStringLiteral("<div class=\"message\" align=\"center\">"),
        QStringLiteral("<p>This is a test on your local browser. If you have selected marketing "
                       "options they will work when you publish the player online. <br>  All "
                       "files that need to be uploaded are here: ") +
            Escaping::xmlText(in.outputFolder) + QStringLiteral("</p> "),
        QStringLiteral("</div>"),
        QStringLiteral("<br>"),
        QStringLiteral("<div id=\"flashcontent") + tag +
            QStringLiteral("\" align=\"center\"> You probably do not have the Flash Player (<a "
                           "href=\"") +
            WebAddresses::flashPlayerDownload() +
            QStringLiteral("\">Get Adobe Flash Player Here</a>) installed for your browser or the "
                           "video files are misplaced on your server!</div>"),
        QStringLiteral("<script type=\"text/javascript\">"),
        QStringLiteral("// <![CDATA["),
        swfObject,
        // No location: the player reads the local-test configuration next to the page.
        call(tag, QStringLiteral("addVariable"), {QStringLiteral("loc"), QString()}),
        call(tag, addParam, {QStringLiteral("bgcolor"), in.backgroundColor}),
        call(tag, addParam, {QStringLiteral("quality"), QStringLiteral("high")}),
        call(tag, addParam, {QStringLiteral("menu"), QStringLiteral("false")}),
        call(tag, addParam, {QStringLiteral("allowFullScreen"), QStringLiteral("true")}),
        call(tag, QStringLiteral("write"), {QStringLiteral("flashcontent") + tag}),
        QString(),
        QStringLiteral("   // ]]>"),
        QStringLiteral("</script>"),
        QStringLiteral("</div>"),
        QStringLiteral("<br>"),
        QStringLiteral("<br>"),
        QStringLiteral("</main>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
}

}  // namespace

QString TestPageWriter::onlineTestPage(const Input& in) {
    return withViewport(onlineTestPageLines(in), in.fluidSize).join(kCrLf) + kCrLf;
}

QString TestPageWriter::swfObjectLine(const Input& in) {
    return SwfObjectLines::constructor(in.tag, in.skinFile, PlayerBox::of(in.box),
                                       in.backgroundColor);
}

QStringList TestPageWriter::localTestPageLines(const Input& in) {
    const QString swfObject = swfObjectLine(in);
    const QStringList fluidStyle =
        SwfObjectLines::fluidStyle(in.tag, PlayerBox::of(in.box), in.fluidSize);
    return withViewport(localHead(), in.fluidSize) +
           withAfter(localBody(in, swfObject), swfObject, fluidStyle);
}

QString TestPageWriter::localTestPagePath(const AppPaths& paths) {
    return ScratchFolder::localTestPage(paths);
}

OutputFile TestPageWriter::onlineTestPageFile(const Input& in) {
    return {in.outputFolder + QStringLiteral("onlinetest.html"),
            Cp1252::encode(onlineTestPage(in)),
            {}};
}

OutputFile TestPageWriter::localTestPageFile(const Input& in) {
    return OutputFile::ofLines(localTestPagePath(in.paths), localTestPageLines(in));
}
