#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

#include "EndAddresses.h"
#include "Html5ScriptRun.h"
#include "ScriptRun.h"
#include "TestFiles.h"
#include "formats/Html5SingleScriptWriter.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

namespace {

using Run = Html5ScriptRun;

// The configuration file as the page's server answers it: no intro image, one video.
QJsonObject page() {
    const QJsonObject xml{{"ff", "No"}, {"ww", "480"}, {"xx", "270"}, {"ii", "80"}, {"vv", "No"}};
    return {{"present", QJsonArray{"vIa0732"}},
            {"xml", xml},
            {"videos", QJsonArray{QJsonObject{{"v2", "a.mp4"}, {"v3", "a.webm"}}}},
            {"fire", QJsonArray()}};
}

QString videoElement(const QString& fallback) {
    return "<video id =\"vIa0732\" width=\"480\" height=\"270\" controls=\"controls\" "
           "preload=\"metadata\" onclick=\"if(/Android/.test(navigator.userAgent))this.play();\">"
           "<source src=\"a.mp4\" type=\"video/mp4\" /><source src=\"a.webm\" "
           "type=\"video/webm\" />" +
           fallback + "</video>";
}

}  // namespace

class Html5SingleScriptTest : public QObject {
    Q_OBJECT

  private slots:
    void goldenFile();
    void optionsGoldenFiles_data();
    void optionsGoldenFiles();
    void mutedStartAddsTheUnmuteButton();
    void captionsGoldenFile();
    void relativeServerPath_data();
    void relativeServerPath();
    void deletesEveryHtml5ScriptFirst();
    void typedTextReachesThePage_data();
    void typedTextReachesThePage();
    void endOpensOnlyPageAddresses_data();
    void endOpensOnlyPageAddresses();
};

void Html5SingleScriptTest::goldenFile() {
    Run run;
    OutputFile::write(Html5SingleScriptWriter::html5SingleScript(run.input));
    QCOMPARE(run.files(), QStringList{"zevohtml5sva0732.js"});
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), "formats/html5_single.js");
}

void Html5SingleScriptTest::optionsGoldenFiles_data() {
    QTest::addColumn<bool>("autoPlay");
    QTest::addColumn<bool>("playsInline");
    QTest::addColumn<bool>("mutedAutoPlay");
    QTest::addColumn<QString>("golden");
    const QString off = QStringLiteral("formats/html5_single.js");
    QTest::newRow("auto start alone: as before") << true << false << false << off;
    // The muted start belongs to auto start: without it the video waits for the visitor.
    QTest::newRow("muted start without auto start") << false << false << true << off;
    QTest::newRow("inline") << false << true << false << "formats/html5_single_inline.js";
    QTest::newRow("auto start muted") << true << false << true << "formats/html5_single_muted.js";
    QTest::newRow("fit to page width")
        << false << false << false << "formats/html5_single_fluid.js";
}

void Html5SingleScriptTest::optionsGoldenFiles() {
    QFETCH(bool, autoPlay);
    QFETCH(bool, playsInline);
    QFETCH(bool, mutedAutoPlay);
    QFETCH(QString, golden);
    Run run;
    run.input.autoPlay = autoPlay;
    run.input.playsInline = playsInline;
    run.input.mutedAutoPlay = mutedAutoPlay;
    run.input.fluidSize = golden.contains(QStringLiteral("_fluid"));
    OutputFile::write(Html5SingleScriptWriter::html5SingleScript(run.input));
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), golden);
}

// Run as a page runs it: the video element carries both options, and the button lands in the
// container after it.
void Html5SingleScriptTest::mutedStartAddsTheUnmuteButton() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    Run run;
    run.input.autoPlay = run.input.playsInline = run.input.mutedAutoPlay = true;
    OutputFile::write(Html5SingleScriptWriter::html5SingleScript(run.input));
    const QJsonObject seen = ScriptRun::run(run.script(), page());
    VERIFY_SCRIPT_RAN(seen);
    const QJsonArray appended = seen["appended"].toArray();
    QCOMPARE(appended.size(), 2);
    QString video = videoElement(run.input.errorHtml5);
    video.replace("preload=\"metadata\" ",
                  "preload=\"metadata\" playsinline=\"playsinline\" muted=\"muted\" "
                  "autoplay=\"autoplay\" ");
    QCOMPARE(appended[0].toString(), video);
    QVERIFY(
        appended[1].toString().startsWith("<button type=\"button\" id=\"uBa0732\" "
                                          "onclick=\"uMa0732();\""));
    QVERIFY(appended[1].toString().endsWith(">&#128263; Unmute</button>"));
    QCOMPARE(seen["log"].toArray(),
             (QJsonArray{"empty #vDiva0732", "css #vDiva0732 position relative"}));
    QVERIFY(seen["listeners"].toArray().contains("vIa0732:volumechange"));
}

// The tracks are built from the configuration's `cc` as soon as the video element is there.
void Html5SingleScriptTest::captionsGoldenFile() {
    Run run;
    run.input.captions = true;
    OutputFile::write(Html5SingleScriptWriter::html5SingleScript(run.input));
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), "formats/html5_single_captions.js");
}

void Html5SingleScriptTest::relativeServerPath_data() {
    QTest::addColumn<QString>("serverPath");
    QTest::addColumn<QString>("expected");
    QTest::newRow("scheme and host") << "http://www.example.com/"
                                     << "/";
    QTest::newRow("host without closing slash") << "http://www.example.com"
                                                << "/";
    QTest::newRow("folders a and b") << "http://www.example.com/a/b/"
                                     << "/a/b/";
    QTest::newRow("no closing slash") << "http://www.example.com/a/b"
                                      << "/a/b/";
    QTest::newRow("nested") << "https://www.example.com/v/2024/clips/"
                            << "/v/2024/clips/";
    // Only the last of the doubled closing slashes is dropped.
    QTest::newRow("nested, closing //") << "http://www.example.com/a/b//"
                                        << "/a/b//";
    QTest::newRow("empty piece after host") << "http://www.example.com//a/"
                                            << "/a/";
    QTest::newRow("fewer than four pieces") << "www.example.com/video/"
                                            << "/";
    QTest::newRow("no scheme: three pieces dropped") << "www.example.com/a/b/c/"
                                                     << "/c/";
    QTest::newRow("empty") << ""
                           << "/";
}

void Html5SingleScriptTest::relativeServerPath() {
    QFETCH(QString, serverPath);
    QFETCH(QString, expected);
    QCOMPARE(Html5SingleScriptWriter::relativeServerPath(serverPath), expected);
}

void Html5SingleScriptTest::deletesEveryHtml5ScriptFirst() {
    Run run;
    const QStringList earlier{"zevohtml5sva0000.js", "zevohtml5pl.js", "zevohtml5sva0731.js"};
    const QStringList unrelated{"zevoactona0000.js", "zevoflashsva0000.js", "zevohtml5sv.txt",
                                "zevostyle.css"};
    for (const QString& name : earlier + unrelated)
        TextFile::writeLines(run.outDir.filePath(name), {"earlier run"});
    OutputFile::write(Html5SingleScriptWriter::html5SingleScript(run.input));
    run.input.tag = QStringLiteral("a0801");
    OutputFile::write(Html5SingleScriptWriter::html5SingleScript(run.input));
    QStringList expected = unrelated;
    expected << "zevohtml5sva0801.js";
    expected.sort();
    QCOMPARE(run.files(), expected);
    QVERIFY(TestFiles::readFile(run.script()).startsWith("var xa0801;"));
}

void Html5SingleScriptTest::typedTextReachesThePage_data() {
    QTest::addColumn<QString>("serverPath");
    QTest::addColumn<QString>("errorHtml5");
    QTest::addColumn<QString>("configUrl");
    const QString server = QStringLiteral("http://www.example.com/video/");
    const QString url = QStringLiteral("/video/zevoconfigsv.xml");
    QTest::newRow("plain") << server << "No HTML5 video here." << url;
    QTest::newRow("apostrophe") << server << "Sorry, your browser can't play this video." << url;
    QTest::newRow("quotes, backslash, markup, line break")
        << server << "<p>Use \"Chrome\" or C:\\Tools\\</p>\r\n<b>Thanks</b>" << url;
    QTest::newRow("Windows-1252 letters")
        << server << QString::fromUtf8("Vidéo indisponible – désolé") << url;
    QTest::newRow("double quote in the server path") << "http://www.example.com/my \"clips\"\\/"
                                                     << "x"
                                                     << "/my \"clips\"\\/zevoconfigsv.xml";
}

void Html5SingleScriptTest::typedTextReachesThePage() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    QFETCH(QString, serverPath);
    QFETCH(QString, errorHtml5);
    QFETCH(QString, configUrl);
    Run run;
    run.input.serverPath = serverPath;
    run.input.errorHtml5 = errorHtml5;
    OutputFile::write(Html5SingleScriptWriter::html5SingleScript(run.input));
    const QJsonObject seen = ScriptRun::run(run.script(), page());
    VERIFY_SCRIPT_RAN(seen);
    const QJsonObject ajax = seen["ajax"].toObject();
    QCOMPARE(ajax["url"].toString(), configUrl);
    QCOMPARE(ajax["type"].toString(), QStringLiteral("GET"));
    QCOMPARE(ajax["dataType"].toString(), QStringLiteral("xml"));
    QCOMPARE(seen["log"].toArray(), QJsonArray{"empty #vDiva0732"});
    QCOMPARE(seen["appended"].toArray(), QJsonArray{videoElement(errorHtml5)});
}

void Html5SingleScriptTest::endOpensOnlyPageAddresses_data() {
    EndAddresses::addRows();
    QTest::newRow("the page's action code") << "javascript:hfda0732()" << true;
}

void Html5SingleScriptTest::endOpensOnlyPageAddresses() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    QFETCH(QString, address);
    QFETCH(bool, opens);
    Run run;
    OutputFile::write(Html5SingleScriptWriter::html5SingleScript(run.input));
    QJsonObject config = page();
    QJsonObject xml = config["xml"].toObject();
    xml["vv"] = address;
    config["xml"] = xml;
    config["fire"] = QJsonArray{"vIa0732"};
    config["functions"] = QJsonArray{"hfda0732"};
    const QJsonObject seen = ScriptRun::run(run.script(), config);
    VERIFY_SCRIPT_RAN(seen);
    const QString expected = address.startsWith(QLatin1String("javascript:hfd"))
                                 ? QStringLiteral("called hfda0732")
                                 : address + QStringLiteral(" _self");
    QCOMPARE(seen["location"].toString(), opens ? expected : QStringLiteral("unchanged"));
}

QTEST_GUILESS_MAIN(Html5SingleScriptTest)
#include "tst_Html5SingleScript.moc"
