#include <QtTest>

#include "FakeDialogs.h"
#include "FakeViews.h"
#include "GenerationInputs.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "formats/ActionScriptWriter.h"
#include "generate/GenerationContext.h"
#include "generate/GenerationDriver.h"
#include "platform/TextFile.h"

namespace {

struct Run : GenerationInputs {
    TestInstallation install;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeViews views;
    QString skin = QStringLiteral("Skin-30-dark");
    QString outputFolder = install.outputFolder();

    QString videos = install.path("videos") + QDir::separator();

    // Every support file the output folder gets, and the videos in a folder of their own.
    Run() {
        QDir().mkpath(install.path("videos"));
        QDir().mkpath(install.path("app/images"));
        for (const char* name :
             {"app/zevoswf.js", "app/swfs/zevoseek.php", "app/swfs/Skin-00-x.swf",
              "app/images/wg_fb.jpg", "app/images/wg_tw.jpg", "videos/clip.flv", "videos/clip.mp4",
              "videos/a.flv"})
            TextFile::writeBytes(install.path(name), "x");
        settings.ServerPath = QStringLiteral("http://example.com/");
        settings.VideoPath = QStringLiteral("http://example.com/");
        single.FlvVideoFileName = QStringLiteral("clip.flv");
        single.FlvVideoFilePath = videos + "clip.flv";
        single.FlvVideoFilePathOnly = single.Mp4VideoFilePathOnly = videos;
        single.Mp4VideoFilePath = videos + "clip.mp4";
        playlist.rows = {PlaylistEntry{"a.flv", "", "", "A", "", ""}};
        playlist.FLVVideoFilesPath = videos;
    }

    QString injected(const QString& name) const {
        return "inject:\"" + install.appFolder() + QDir::separator() + "flvmdi\" /k /l \"" +
               outputFolder + name + "\"";
    }

    bool written(const QString& name) const { return QFile::exists(outputFolder + name); }

    bool go(qint16 width = 480, qint16 height = 270) {
        GenerationContext ctx = context(skin, outputFolder, install.appFolder());
        return GenerationDriver::run(ctx, width, height, clock, dialogs, views);
    }
};

}  // namespace

class GenerationDriverTest : public QObject {
    Q_OBJECT

  private slots:
    void completedRunShowsCodeWindow();
    void writers_data();
    void writers();
    void failures_data();
    void failures();
    void assemblyFailureShowsNoCodeWindow();
    void readOnlyOutputFolder();
    void playlistValuesAreNotReadForSingleVideo();
    void snapshotFields();
};

void GenerationDriverTest::completedRunShowsCodeWindow() {
    Run r;
    QVERIFY(r.go());
    QCOMPARE(r.views.log, (QStringList{"busy:1", r.injected("clip.flv"), "codeWindow", "busy:0"}));
    QCOMPARE(r.dialogs.messages.size(), 0);
    QVERIFY(r.written("onlinetest.html"));
    QVERIFY(QFile::exists(r.install.path("app/temp/do-not-upload.html")));
    // The online page holds the embed code exactly as shown in the code window.
    QVERIFY(TestFiles::readFile(r.outputFolder + "onlinetest.html")
                .contains("<body>\r\n" + r.snapshot.EmbedCode.toLatin1() + "\r\n<br>\r\n"));
    QCOMPARE(r.views.shownEmbedCode, r.snapshot.EmbedCode);
    QVERIFY(r.views.shownInstructions.startsWith("Vidlark output folder on your local PC:\r\n" +
                                                 r.outputFolder + "\r\n"));
}

void GenerationDriverTest::writers_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QString>("actionCode");
    QTest::addColumn<QString>("redirect");
    QTest::addColumn<bool>("html5Script");
    QTest::addColumn<QString>("endOfVideo");  // "show", "redirect" or none
    QTest::newRow("single video") << false << false << ""
                                  << "" << false << "";
    QTest::newRow("single video, HTML5") << false << true << ""
                                         << "" << true << "";
    QTest::newRow("playlist, HTML5") << true << true << ""
                                     << "" << true << "";
    QTest::newRow("playlist") << true << false << ""
                              << "" << false << "";
    QTest::newRow("action code") << false << false << "<b>Thanks</b>"
                                 << "http://example.com/next" << false << "show";
    QTest::newRow("redirect") << false << false << " "
                              << "http://example.com/next" << false << "redirect";
}

void GenerationDriverTest::writers() {
    QFETCH(bool, playlist);
    QFETCH(bool, html5);
    QFETCH(QString, actionCode);
    QFETCH(QString, redirect);
    QFETCH(bool, html5Script);
    QFETCH(QString, endOfVideo);
    Run r;
    r.settings.Multiple = playlist;
    r.settings.Html5 = html5;
    r.settings.ActionCode = actionCode;
    r.settings.RedirectURL = redirect;
    QVERIFY(r.go());
    QCOMPARE(r.written("zevohtml5sva0709.js"), html5Script);
    QCOMPARE(r.snapshot.VideoDivId, html5Script ? QStringLiteral("vDiva0709") : QString());
    // Only the HTML5 playlist player is laid out by the stylesheet, and only it fills the list.
    QCOMPARE(r.written("zevostyle.css"), playlist && html5);
    QCOMPARE(r.snapshot.ListScrollId,
             playlist && html5 ? QStringLiteral("pDivSca0709") : QString());
    QCOMPARE(r.written("zevoacton" + r.snapshot.GenerationTag + ".js"), !endOfVideo.isEmpty());
    if (endOfVideo.isEmpty())
        return;
    const GenerationContext ctx = r.context(r.skin, r.outputFolder, r.install.appFolder());
    const QStringList expected = endOfVideo == "show" ? ActionScriptWriter::showLines(ctx)
                                                      : ActionScriptWriter::redirectLines(ctx);
    QCOMPARE(TextFile::readLines(r.outputFolder + "zevoacton" + r.snapshot.GenerationTag + ".js"),
             expected);
}

void GenerationDriverTest::failures_data() {
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("fontSize");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("outputExists");
    QTest::addColumn<int>("error");
    const int right = int(PlaylistPosition::Right), bottom = int(PlaylistPosition::Bottom);
    const int titleDesc = int(PlaylistLayout::TitleDesc),
              titleOnly = int(PlaylistLayout::TitleOnly);
    QTest::newRow("436 items with descriptions fit") << true << bottom << titleDesc << "436"
                                                     << "11"
                                                     << "Skin-00-x" << 480 << true << 0;
    QTest::newRow("437 items at the bottom overflow the playlist height")
        << true << bottom << titleDesc << "437"
        << "11"
        << "Skin-00-x" << 480 << true << 6;
    QTest::newRow("title-only rows are 45 high") << true << bottom << titleOnly << "728"
                                                 << "11"
                                                 << "Skin-00-x" << 480 << true << 6;
    QTest::newRow("table width of a single video overflows")
        << false << right << titleOnly << "4"
        << "11"
        << "Skin-30-dark" << 32764 << true << 6;
    QTest::newRow("items not a number") << true << right << titleOnly << "four"
                                        << "11"
                                        << "Skin-30-dark" << 480 << true << 13;
    QTest::newRow("font size empty") << false << right << titleOnly << "4"
                                     << ""
                                     << "Skin-30-dark" << 480 << true << 13;
    QTest::newRow("skin name without allowance") << false << right << titleOnly << "4"
                                                 << "11"
                                                 << "Plain" << 480 << true << 13;
    QTest::newRow("output folder missing") << false << right << titleOnly << "4"
                                           << "11"
                                           << "Skin-30-dark" << 480 << false << 76;
}

void GenerationDriverTest::failures() {
    QFETCH(bool, multiple);
    QFETCH(int, position);
    QFETCH(int, layout);
    QFETCH(int, width);
    QFETCH(bool, outputExists);
    QFETCH(int, error);
    Run r;
    r.settings.Multiple = multiple;
    r.playlist.position = static_cast<PlaylistPosition>(position);
    r.playlist.layout = static_cast<PlaylistLayout>(layout);
    QFETCH(QString, items);
    r.advanced.ItemsPlaylist = items;
    QFETCH(QString, fontSize);
    r.advanced.PlayListFontSize = fontSize;
    QFETCH(QString, skin);
    r.skin = skin;
    if (!outputExists)
        r.outputFolder = r.install.path("missing/");

    const bool completed = r.go(qint16(width), 60);  // low, so only the named sum overflows
    QCOMPARE(completed, error == 0);
    if (error == 0)
        return;
    QCOMPARE(r.dialogs.messages.size(), 1);
    QCOMPARE(r.dialogs.messages[0].title, QStringLiteral("Error"));
    QCOMPARE(r.dialogs.messages[0].icon, Dialogs::Icon::Critical);
    QVERIFY2(r.dialogs.messages[0].text.startsWith(QStringLiteral("ERROR# %1 ").arg(error)),
             qPrintable(r.dialogs.messages[0].text));
    QCOMPARE(r.views.log, (QStringList{"busy:1", "busy:0"}));  // no code window
}

void GenerationDriverTest::assemblyFailureShowsNoCodeWindow() {
    Run r;
    QVERIFY(QFile::remove(r.install.path("app/swfs/Skin-30-dark.swf")));
    QVERIFY(!r.go());
    QCOMPARE(r.dialogs.texts(),
             QStringList{QStringLiteral("ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.")});
    QCOMPARE(r.dialogs.messages[0].title, QStringLiteral("Error"));
    QCOMPARE(r.views.log, (QStringList{"busy:1", r.injected("clip.flv"), "busy:0"}));
    // What was written before the failure stays.
    QVERIFY(r.written("onlinetest.html") && r.written("clip.flv"));
}

void GenerationDriverTest::readOnlyOutputFolder() {
    Run r;
    QFile::setPermissions(r.outputFolder, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(r.outputFolder + "probe");
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        QFile::setPermissions(r.outputFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("folder permissions are not enforced for this user");
    }
    const bool completed = r.go();
    QFile::setPermissions(r.outputFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!completed);
    // The first file of the run cannot be created: refused access, whether it is told as a
    // permission (70) or as a path/file access error (75).
    const QStringList expected{
        QStringLiteral("ERROR# 70 PERMISSION DENIED. PLEASE CONTACT SUPPORT."),
        QStringLiteral("ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.")};
    QCOMPARE(r.dialogs.messages.size(), 1);
    QVERIFY2(expected.contains(r.dialogs.messages[0].text), qPrintable(r.dialogs.texts().join("")));
    QCOMPARE(r.views.log, (QStringList{"busy:1", "busy:0"}));
}

void GenerationDriverTest::playlistValuesAreNotReadForSingleVideo() {
    Run r;
    r.advanced.ItemsPlaylist = "not a number";
    r.advanced.WidthPlaylist = "";
    r.snapshot.ItemsPlaylist = 9;  // from an earlier run; a single video leaves it alone
    QVERIFY(r.go());
    QCOMPARE(r.snapshot.ItemsPlaylist, qint16(9));
    QCOMPARE(r.snapshot.PlaylistHeight, qint16(0));
}

void GenerationDriverTest::snapshotFields() {
    Run r;
    r.settings.ServerPath = "  http://example.com/site/  ";
    r.settings.VideoPath = " http://cdn.example.com/ ";
    r.settings.ActionCode = " \r\n ";
    r.settings.Html5 = true;
    r.settings.streamingMode = StreamingMode::Pseudo;
    r.clock.time = QTime(10, 0, 5);
    r.single.Mp4VideoFileName = "clip.mp4";
    QVERIFY(r.go(640, 360));
    const GenerationSnapshot& s = r.snapshot;
    QCOMPARE(s.GenerationTag, QStringLiteral("a0005"));
    QCOMPARE(s.ServerPath, QStringLiteral("http://example.com/site/"));
    QCOMPARE(s.VideoPath, QStringLiteral("http://cdn.example.com/"));
    QCOMPARE(s.SkinFile, QStringLiteral("Skin-30-dark.swf"));
    QCOMPARE(s.SkinUrl, QStringLiteral("http://example.com/site/Skin-30-dark.swf?"));
    QCOMPARE(s.SkinAllowance, qint16(30));
    QCOMPARE(s.PlayerWidth, qint16(640));
    QCOMPARE(s.PlayerHeight, qint16(360));
    QCOMPARE(s.PlayListFontSize, qint16(11));
    QCOMPARE(s.BackgroundColor, QStringLiteral("#000000"));
    QVERIFY(s.UseHtml5 && s.IsPseudo && !s.IsRtmp && !s.HasActionCode);
}

QTEST_GUILESS_MAIN(GenerationDriverTest)
#include "tst_GenerationDriver.moc"
