#include <QtTest>

#include "CoreScriptFixture.h"
#include "OutputFolder.h"
#include "TestFiles.h"
#include "formats/ActionScriptWriter.h"
#include "generate/CoreScriptWriter.h"
#include "generate/GenerationDriver.h"
#include "generate/WriterInputs.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"

class CoreScriptTest : public QObject {
    Q_OBJECT

  private slots:
    void matchesGolden_data();
    void matchesGolden();
    void html5GuardsComeInPairs_data();
    void html5GuardsComeInPairs();
    void tableWidth_data();
    void tableWidth();
    void endOfVideoBranch_data();
    void endOfVideoBranch();
    void codeTxtOnlyWhenEmbeddingIsAllowed();
    void newerRunReplacesOlderCoreScript();
    void userTextReachesThePageAsTyped();
    void html5ContainersDependOnTheDevice_data();
    void html5ContainersDependOnTheDevice();
};

namespace {

const QString kUaTest = QStringLiteral(
    "if(!((navigator.userAgent.toLowerCase().indexOf('android') != -1)&&(navigator.userAgent."
    "toLowerCase().indexOf('mobile') != -1)) || "
    "(navigator.userAgent.toLowerCase().indexOf('iphone')"
    "!= -1) || (navigator.userAgent.toLowerCase().indexOf('ipod') != -1) ) {");

const QString kDesktop = QStringLiteral("Mozilla/5.0 (Windows NT 6.1) Firefox/20.0");

// The core script's input for a single video with HTML5 off and nothing optional switched on.
struct Run : OutputFolder {
    CoreScriptWriter::Input input{
        .outputFolder = outputFolder(),
        .tag = QStringLiteral("a0709"),
        .serverPath = QStringLiteral("http://www.example.com/videos/"),
        .playerWidth = 640,
        .widthPlaylist = 300,
        .errorFlash = QStringLiteral("Get the Flash Player to see this video."),
    };

    // A run decides this from the action code as typed.
    void setActionCode(const QString& code) {
        input.actionCode = code;
        input.hasActionCode = !code.trimmed().isEmpty();
    }
    QByteArray coreScript() const {
        return TestFiles::readFile(outFile(QStringLiteral("zevocoresva0709.js")));
    }
};

void configure(Run& run, const QString& scenario) {
    CoreScriptWriter::Input& in = run.input;
    in.useHtml5 = scenario.contains(QLatin1String("html5"));
    in.playlist = scenario.contains(QLatin1String("playlist"));
    in.fluidSize = scenario.contains(QLatin1String("fluid"));
    if (scenario == QLatin1String("action")) {
        run.setActionCode(QStringLiteral(
            "  <a href=\"http://shop.example.com/buy.html\"><img src=\"buy.png\" alt=\"Buy "
            "now\"></a>\r\n"));
        in.redirectUrl = QStringLiteral("http://www.example.com/thanks.html");
    }
    if (scenario == QLatin1String("redirect"))
        in.redirectUrl = QStringLiteral(" http://www.example.com/thanks.html ");
    if (scenario == QLatin1String("social")) {
        in.socialShare = true;
        in.shareUrl = QStringLiteral("http://www.example.com/holiday.html");
        in.shareTitle = QStringLiteral("Holiday Videos");
    }
}

}  // namespace

void CoreScriptTest::matchesGolden_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("golden");
    QTest::newRow("single video") << "single"
                                  << "generate/core_single.js";
    QTest::newRow("single video, HTML5") << "single html5"
                                         << "generate/core_single_html5.js";
    QTest::newRow("playlist at the right, HTML5") << "playlist html5"
                                                  << "generate/core_playlist_html5.js";
    // Fit to the page's width: the table takes the page's width up to its own.
    QTest::newRow("single video, fluid") << "single fluid"
                                         << "generate/core_single_fluid.js";
    QTest::newRow("playlist at the right, HTML5, fluid") << "playlist html5 fluid"
                                                         << "generate/core_playlist_html5_fluid.js";
    QTest::newRow("action code wins over redirect") << "action"
                                                    << "generate/core_action.js";
    QTest::newRow("redirect") << "redirect"
                              << "generate/core_redirect.js";
    QTest::newRow("embedding and social sharing") << "social"
                                                  << "generate/core_social.js";
}

void CoreScriptTest::matchesGolden() {
    QFETCH(QString, scenario);
    QFETCH(QString, golden);
    Run run;
    configure(run, scenario);
    OutputFile::write(CoreScriptWriter::coreScript(run.input));
    COMPARE_GOLDEN(run.coreScript(), golden);
    // Embedding is allowed in the social case: its code.txt names this run's core script.
    if (scenario == QLatin1String("social"))
        COMPARE_GOLDEN(CoreScriptWriter::codeTxt(run.input).content,
                       QStringLiteral("generate/code_social.txt"));
}

void CoreScriptTest::html5GuardsComeInPairs_data() {
    QTest::addColumn<QString>("scenario");
    QTest::newRow("single") << "single html5";
    QTest::newRow("playlist") << "playlist html5";
    QTest::newRow("with action code") << "action html5";
}

// Each "}" closes the UA test before it; a missing or extra one breaks the whole page.
void CoreScriptTest::html5GuardsComeInPairs() {
    QFETCH(QString, scenario);
    Run run;
    configure(run, scenario);
    if (scenario.contains(QLatin1String("action")))
        run.setActionCode(QStringLiteral("<b>Thanks</b>"));
    const QStringList lines = CoreScriptWriter::lines(run.input);
    QCOMPARE(lines.count(kUaTest), 3);
    QCOMPARE(lines.count(QStringLiteral("}")), 3);
    bool open = false;
    for (const QString& line : lines) {
        if (line == kUaTest) {
            QVERIFY(!open);
            open = true;
        } else if (line == QLatin1String("}")) {
            QVERIFY(open);
            open = false;
        }
    }
    QVERIFY(!open);
}

void CoreScriptTest::tableWidth_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<PlaylistPosition>("position");
    QTest::addColumn<int>("playerWidth");
    QTest::addColumn<int>("width");  // or -error number
    QTest::newRow("right") << true << PlaylistPosition::Right << 640 << 948;
    QTest::newRow("bottom") << true << PlaylistPosition::Bottom << 640 << 644;
    QTest::newRow("invisible") << true << PlaylistPosition::Invisible << 640 << 644;
    QTest::newRow("single ignores an earlier playlist")
        << false << PlaylistPosition::Right << 640 << 644;
    QTest::newRow("right overflows") << true << PlaylistPosition::Right << 32460 << -6;
    QTest::newRow("right at the limit") << true << PlaylistPosition::Right << 32459 << 32767;
    QTest::newRow("single overflows") << false << PlaylistPosition::Right << 32764 << -6;
}

void CoreScriptTest::tableWidth() {
    QFETCH(bool, playlist);
    QFETCH(PlaylistPosition, position);
    QFETCH(int, playerWidth);
    QFETCH(int, width);
    Run run;
    run.input.playlist = playlist;
    run.input.position = position;
    run.input.playerWidth = static_cast<qint16>(playerWidth);
    try {
        const QStringList lines = CoreScriptWriter::lines(run.input);
        QVERIFY(width > 0);
        QVERIFY(lines.contains(
            QStringLiteral("document.write('<table width=\"%1\" border=\"0\" align=\"center\">');")
                .arg(width)));
    } catch (const AppError& e) {
        QCOMPARE(-e.number(), width);
    }
}

void CoreScriptTest::endOfVideoBranch_data() {
    QTest::addColumn<QString>("actionCode");
    QTest::addColumn<QString>("redirect");
    QTest::addColumn<QString>("scripts");
    QTest::newRow("nothing") << ""
                             << ""
                             << "flash";
    QTest::newRow("blank action code, redirect") << " \r\n\t "
                                                 << "http://x.example/"
                                                 << "flash redirect";
    QTest::newRow("blank action code, blank redirect") << "  "
                                                       << "   "
                                                       << "flash";
    QTest::newRow("both: only the action code") << "<b>Hi</b>"
                                                << "http://x.example/"
                                                << "flash action";
    QTest::newRow("not applicable while live") << "Not Applicable"
                                               << "Not Applicable"
                                               << "flash action";
}

void CoreScriptTest::endOfVideoBranch() {
    QFETCH(QString, actionCode);
    QFETCH(QString, redirect);
    QFETCH(QString, scripts);
    CoreScriptFixture f;
    f.setActionCode(actionCode);
    f.settings.RedirectURL = redirect;
    // The scripts the run writes beside the core script, which loads them.
    QStringList written;
    const QByteArray show =
        ActionScriptWriter::showActionScript(WriterInputs::actionScript(f.ctx())).content;
    for (const OutputFile& file : GenerationDriver::outputFiles(f.ctx())) {
        const QString name = QFileInfo(file.path).fileName();
        if (name.startsWith(QLatin1String("zevoflashsv")))
            written << QStringLiteral("flash");
        else if (name.startsWith(QLatin1String("zevoacton")))
            written << (file.content == show ? QStringLiteral("action")
                                             : QStringLiteral("redirect"));
    }
    QCOMPARE(written.join(u' '), scripts);

    const QString joined = CoreScriptWriter::lines(WriterInputs::coreScript(f.ctx())).join(u'\n');
    const bool action = scripts.contains(QLatin1String("action"));
    const bool anyEnd = action || scripts.contains(QLatin1String("redirect"));
    QCOMPARE(joined.contains(QLatin1String("elementfa0709")), action);
    QCOMPARE(joined.contains(QLatin1String("elementoa0709")), action);
    QCOMPARE(joined.contains(QLatin1String("jquery.min.js")), action);
    QCOMPARE(joined.count(QLatin1String("zevoactona0709.js")), anyEnd ? 1 : 0);
}

void CoreScriptTest::codeTxtOnlyWhenEmbeddingIsAllowed() {
    CoreScriptFixture f;
    const QString codeTxt = f.outputFolder() + QStringLiteral("code.txt");
    const auto written = [&f] {
        QStringList paths;
        for (const OutputFile& file : GenerationDriver::outputFiles(f.ctx()))
            paths << file.path;
        return paths;
    };
    QVERIFY(!written().contains(codeTxt));
    f.settings.ShowEmbedCode = true;
    QVERIFY(written().contains(codeTxt));
    QCOMPARE(CoreScriptWriter::codeTxt(WriterInputs::coreScript(f.ctx())).content,
             QByteArray("embedtext=<script type=\"text/javascript\" "
                        "src=\"http://www.example.com/videos/zevocoresva0709.js\"></script>\r\n"));
}

void CoreScriptTest::newerRunReplacesOlderCoreScript() {
    Run run;
    const QString folder = run.outputFolder();
    TextFile::writeLines(folder + QStringLiteral("zevoflashsva0001.js"), {});
    TextFile::writeLines(folder + QStringLiteral("zevocoresv.txt"), {});
    OutputFile::write(CoreScriptWriter::coreScript(run.input));
    run.input.tag = QStringLiteral("a0810");
    OutputFile::write(CoreScriptWriter::coreScript(run.input));
    QCOMPARE(FileOps::filesMatching(folder, QStringLiteral("zevocoresv*")),
             QStringList({"zevocoresv.txt", "zevocoresva0810.js"}));
    QVERIFY(FileOps::fileExists(folder + QStringLiteral("zevoflashsva0001.js")));
}

// Apostrophes, quotes, "</" and line breaks in the user's texts must neither break the script
// nor change what the page shows.
void CoreScriptTest::userTextReachesThePageAsTyped() {
    Run run;
    CoreScriptWriter::Input& in = run.input;
    in.errorFlash = QStringLiteral(
        "You don't have Flash: <a href=\"http://get.adobe.com/flashplayer/\">get "
        "it</a>\r\nhere \\ now");
    run.setActionCode(
        QString::fromUtf8("\r\n<a href='http://x.example/my%20cart'>“Buy” €5</a>\r\n"));
    in.socialShare = true;
    in.shareUrl = QStringLiteral("http://www.example.com/a b.html?x=1&y=2");
    in.shareTitle = QStringLiteral("Tom's \"best\" & worst");
    // The address sits in attributes of the written HTML: quote, ampersand and accent as
    // references, the apostrophe escaped for the literal only.
    in.serverPath = QString::fromUtf8("http://www.example.com/v'\"&é/");
    OutputFile::write(CoreScriptWriter::coreScript(in));
    const NodeRun node = runInNode(run.coreScript(), kDesktop);
    REQUIRE_NODE(node);

    const QString s = QStringLiteral("http://www.example.com/v'&quot;&amp;&#233;/");
    const QString u = QStringLiteral("http://www.example.com/a%20b.html?x=1%26y=2");
    const QString t = QStringLiteral("Tom%27s%20%22best%22%20%26%20worst");
    const QString expected =
        QStringLiteral(
            "<script src=\"//ajax.googleapis.com/ajax/libs/jquery/1.9.1/jquery.min.js\">"
            "</script>") +
        "<script type=\"text/javascript\" src=\"" + s + "zevoswf.js\"></script>" +
        "<table width=\"644\" border=\"0\" align=\"center\"><tr><td>" +
        "<div id=\"elementfa0709\" align=\"center\"><div id=\"flashcontenta0709\" "
        "align=\"center\">" +
        in.errorFlash + "</div>" + "<script type=\"text/javascript\" src=\"" + s +
        "zevoflashsva0709.js\"></script>" + "</div>" + "<script type=\"text/javascript\" src=\"" +
        s + "zevoactona0709.js\"></script>" +
        "<div id=\"elementoa0709\" align=\"center\" style=\"display:none;\">" +
        in.actionCode.trimmed() +
        "<button type=\"button\" id=\"backtovideo\" style=\"cursor:pointer;color:#000000;"
        "font-size:12px;font-family:Verdana;background:none;border:0;padding:0\">Dismiss</button>"
        "</div>" +
        "</td></tr><tr><td>" + "<a href=\"http://www.facebook.com/share.php?u=" + u + "&t=" + t +
        "\" target=\"_blank\"><img src=\"" + s +
        "wg_fb.jpg\" alt=\"Facebook It\" border=\"0\"></a>&nbsp;" +
        "<a href=\"http://twitter.com/share?url=" + u + "&title=" + t +
        "\" target=\"_blank\"><img src=\"" + s + "wg_tw.jpg\" alt=\"Twitt It\" border=\"0\"></a>" +
        "</td></tr></table>";
    QCOMPARE(node.html, expected);
    QCOMPARE(QUrl::fromPercentEncoding(t.toLatin1()), in.shareTitle);
    QCOMPARE(QUrl::fromPercentEncoding(u.toLatin1()), in.shareUrl);
}

void CoreScriptTest::html5ContainersDependOnTheDevice_data() {
    QTest::addColumn<QString>("userAgent");
    QTest::addColumn<bool>("flashPlaceholder");
    QTest::newRow("desktop") << kDesktop << true;
    QTest::newRow("android phone")
        << "Mozilla/5.0 (Linux; Android 4.1; Nexus 4) Chrome/18.0 Mobile Safari/535.19" << false;
    QTest::newRow("android tablet")
        << "Mozilla/5.0 (Linux; Android 4.1; Nexus 7) Safari/535.19" << true;
    QTest::newRow("iphone") << "Mozilla/5.0 (iPhone; CPU iPhone OS 6_0 like Mac OS X) Mobile/10A5"
                            << true;
    QTest::newRow("android phone named iphone") << "Android Mobile iPhone" << true;
}

// On Android phones the Flash placeholder is never opened and only the HTML5 containers are
// written; everywhere else they sit inside the placeholder as its alternative content.
void CoreScriptTest::html5ContainersDependOnTheDevice() {
    QFETCH(QString, userAgent);
    QFETCH(bool, flashPlaceholder);
    Run run;
    run.input.useHtml5 = true;
    OutputFile::write(CoreScriptWriter::coreScript(run.input));
    const NodeRun node = runInNode(run.coreScript(), userAgent);
    REQUIRE_NODE(node);

    const QString s = QStringLiteral("http://www.example.com/videos/");
    const QString containers =
        "<!--[if gte IE 9]><!--><script type=\"text/javascript\" src=\"" + s +
        "zevohtml5sva0709.js\"></script><div id=\"vDiva0709\"></div><!--<![endif]-->";
    QString expected = QStringLiteral(
        "<script src=\"//ajax.googleapis.com/ajax/libs/jquery/1.9.1/jquery.min.js\"></script>");
    if (flashPlaceholder)
        expected += "<script type=\"text/javascript\" src=\"" + s + "zevoswf.js\"></script>";
    expected += QStringLiteral("<table width=\"644\" border=\"0\" align=\"center\"><tr><td>");
    if (flashPlaceholder)
        expected += "<div id=\"flashcontenta0709\" align=\"center\">" + containers + "</div>" +
                    "<script type=\"text/javascript\" src=\"" + s +
                    "zevoflashsva0709.js\"></script>";
    else
        expected += containers;
    expected += QStringLiteral("</td></tr></table>");
    QCOMPARE(node.html, expected);
}

QTEST_GUILESS_MAIN(CoreScriptTest)
#include "tst_CoreScript.moc"
