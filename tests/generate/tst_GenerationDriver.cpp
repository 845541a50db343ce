#include <QtTest>

#include "FakeDialogs.h"
#include "FakeViews.h"
#include "GenerationInputs.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "formats/ActionScriptWriter.h"
#include "generate/GenerationContext.h"
#include "generate/GenerationDriver.h"
#include "platform/AppError.h"
#include "platform/FileWorkPlan.h"
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

    GenerationDriver::Outcome outcome(qint16 width = 480, qint16 height = 270) {
        const GenerationContext ctx = context(skin, outputFolder, install.paths());
        return GenerationDriver::run(ctx, {snapshot, random}, width, height, clock, dialogs, views);
    }
    bool go(qint16 width = 480, qint16 height = 270) {
        return outcome(width, height) == GenerationDriver::Outcome::Completed;
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
    void missingSourceStopsTheRunBeforeWriting_data();
    void missingSourceStopsTheRunBeforeWriting();
    void captionsAreWrittenAsWebVtt();
    void badCaptionStopsTheRunBeforeWriting_data();
    void badCaptionStopsTheRunBeforeWriting();
    void cancelLeavesNothingHalfDone_data();
    void cancelLeavesNothingHalfDone();
    void progressGoesForwardToTheEnd();
    void readOnlyOutputFolder();
    void playlistValuesAreNotReadForSingleVideo();
    void snapshotFields();
    void oneVideoModeCodePerRun();
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
                .contains("</h1>\r\n" + r.snapshot.EmbedCode.toLatin1() + "\r\n<br>\r\n"));
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
    const QString& tag = r.snapshot.GenerationTag;
    const QStringList expected = endOfVideo == "show"
                                     ? ActionScriptWriter::showLines(tag)
                                     : ActionScriptWriter::redirectLines(tag, redirect);
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

// A step of the file work that fails (a folder in the way of the skin's copy) ends the run there.
void GenerationDriverTest::assemblyFailureShowsNoCodeWindow() {
    Run r;
    QVERIFY(QDir().mkpath(r.outputFolder + "Skin-30-dark.swf"));
    QCOMPARE(r.outcome(), GenerationDriver::Outcome::Failed);
    QCOMPARE(r.dialogs.texts(),
             QStringList{QStringLiteral("ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT "
                                        "SUPPORT.\nCopying ") +
                         r.install.path("app/swfs/Skin-30-dark.swf") + "\nto " + r.outputFolder +
                         "Skin-30-dark.swf\nIs a directory"});
    QCOMPARE(r.dialogs.messages[0].title, QStringLiteral("Error"));
    QCOMPARE(r.views.log, (QStringList{"busy:1", r.injected("clip.flv"), "busy:0"}));
    QCOMPARE(r.views.fileWork.constLast(), QStringLiteral("end"));
    // What was written before the failure stays.
    QVERIFY(r.written("onlinetest.html") && r.written("clip.flv"));
}

void GenerationDriverTest::missingSourceStopsTheRunBeforeWriting_data() {
    QTest::addColumn<QString>("choices");  // words: playlist html5 pseudo intro outro social thumbs
    QTest::addColumn<QString>("missing");  // below the test installation
    QTest::addColumn<int>("error");
    QTest::newRow("single Flash video") << ""
                                        << "videos/clip.flv" << 53;
    QTest::newRow("single Mp4 copy") << "html5"
                                     << "videos/clip.mp4" << 53;
    QTest::newRow("single WebM copy") << "html5"
                                      << "videos/clip.webm" << 53;
    QTest::newRow("second row's Flash video") << "playlist"
                                              << "videos/b.flv" << 53;
    QTest::newRow("row's Mp4 copy") << "playlist html5"
                                    << "videos/b.mp4" << 53;
    QTest::newRow("row's WebM copy") << "playlist html5"
                                     << "videos/a.webm" << 53;
    QTest::newRow("row's thumbnail") << "playlist thumbs"
                                     << "pictures/b.jpg" << 53;
    QTest::newRow("rendered intro image") << "intro"
                                          << "app/temp/temp.jpg" << 53;
    QTest::newRow("rendered outro image") << "outro"
                                          << "app/temp/semp.jpg" << 53;
    QTest::newRow("skin") << ""
                          << "app/swfs/Skin-30-dark.swf" << 53;
    QTest::newRow("SWFObject library") << ""
                                       << "app/zevoswf.js" << 53;
    QTest::newRow("seek script") << "pseudo"
                                 << "app/swfs/zevoseek.php" << 53;
    QTest::newRow("share button") << "social"
                                  << "app/images/wg_tw.jpg" << 53;
    QTest::newRow("emulator script") << ""
                                     << "app/ruffle/ruffle.js" << 53;
    QTest::newRow("emulator folder") << "playlist"
                                     << "app/ruffle" << 76;
}

// A source that went missing after it was chosen is named, and the run stops before the output
// folder or the scratch folder is touched: half an output folder is worse than none.
void GenerationDriverTest::missingSourceStopsTheRunBeforeWriting() {
    QFETCH(QString, choices);
    QFETCH(QString, missing);
    QFETCH(int, error);
    Run r;
    const QStringList words = choices.split(' ', Qt::SkipEmptyParts);
    QDir().mkpath(r.install.path("pictures"));
    for (const char* name :
         {"videos/clip.webm", "videos/a.mp4", "videos/a.webm", "videos/b.flv", "videos/b.mp4",
          "app/temp/temp.jpg", "app/temp/semp.jpg", "pictures/a.jpg", "pictures/b.jpg"})
        TextFile::writeBytes(r.install.path(name), "x");
    r.settings.Multiple = words.contains("playlist");
    r.settings.Html5 = words.contains("html5");
    if (words.contains("pseudo"))
        r.settings.streamingMode = StreamingMode::Pseudo;
    r.settings.IntroImageName = words.contains("intro") ? "beach.jpg" : "";
    r.settings.OutroImageName = words.contains("outro") ? "thanks.jpg" : "";
    r.settings.SocialShare = words.contains("social");
    r.single.Mp4VideoFileName = "clip.mp4";
    r.single.WebmVideoFileName = "clip.webm";
    r.single.WebmVideoFilePath = r.videos + "clip.webm";
    r.single.WebmVideoFilePathOnly = r.videos;
    r.playlist.rows = {PlaylistEntry{"a.flv", "", "a.webm", "A", "", "a.jpg"},
                       PlaylistEntry{"b.flv", "b.mp4", "", "B", "", "b.jpg"}};
    r.playlist.Mp4VideoFilesPath = r.playlist.WebMVideoFilesPath = r.videos;
    r.playlist.ThumbImagesPath = r.install.path("pictures") + QDir::separator();
    if (words.contains("thumbs"))
        r.playlist.layout = PlaylistLayout::TitleDescThumb;
    const QString path = r.install.path(missing);
    QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
    const QString scratch = r.install.path("app/temp");
    const auto outputBefore = TestFiles::filesBelow(r.outputFolder);
    const auto scratchBefore = TestFiles::filesBelow(scratch);

    QCOMPARE(r.outcome(), GenerationDriver::Outcome::SourceMissing);

    const QString classic = QStringLiteral("ERROR# %1 %2. PLEASE CONTACT SUPPORT.")
                                .arg(error)
                                .arg(AppError::describe(error).toUpper());
    const QString named = "Reading " + (error == 76 ? path + QDir::separator() : path);
    QCOMPARE(r.dialogs.texts(), QStringList{classic + "\n" + named});
    QCOMPARE(r.views.log, (QStringList{"busy:1", "busy:0"}));
    QCOMPARE(TestFiles::filesBelow(r.outputFolder), outputBefore);
    QCOMPARE(TestFiles::filesBelow(scratch), scratchBefore);
}

// An SRT file in Windows-1252 reaches the output folder and the local test page as WebVTT in
// UTF-8 under the name the configuration gives it; a file two rows share is written once.
void GenerationDriverTest::captionsAreWrittenAsWebVtt() {
    Run r;
    r.settings.Multiple = true;
    r.settings.Html5 = true;
    TextFile::writeBytes(r.videos + "a.fr.SRT",
                         "1\r\n00:00:01,000 --> 00:00:02,500\r\nD\xE9j\xE0\r\n");
    TextFile::writeBytes(r.videos + "a.en.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n");
    const CaptionTracks tracks{{r.videos + "a.fr.SRT", "fr", ""},
                               {r.videos + "a.en.vtt", "en", ""}};
    r.playlist.rows = {PlaylistEntry{"a.flv", "", "", "A", "", "", tracks},
                       PlaylistEntry{"a.flv", "", "", "B", "", "", {tracks[1]}}};
    QVERIFY(r.go());
    const QByteArray french = "WEBVTT\n\n1\n00:00:01.000 --> 00:00:02.500\nD\xC3\xA9j\xC3\xA0\n";
    QCOMPARE(TestFiles::readFile(r.outputFolder + "a.fr.vtt"), french);
    QCOMPARE(TestFiles::readFile(r.install.path("app/temp/a.fr.vtt")), french);
    QCOMPARE(TestFiles::readFile(r.outputFolder + "a.en.vtt"),
             QByteArray("WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n"));
    QVERIFY(
        TestFiles::readFile(r.outputFolder + "zevoconfigsv.xml")
            .contains("cc=\"http://example.com/a.fr.vtt|fr||http://example.com/a.en.vtt|en|\""));
    int captionSteps = 0;
    for (const FileWorkStep& step : r.views.plannedSteps)
        captionSteps += step.kind == FileWorkStep::Kind::Caption;
    QCOMPARE(captionSteps, 2);
}

void GenerationDriverTest::badCaptionStopsTheRunBeforeWriting_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("malformed time")
        << false << "clip.vtt" << QByteArray("WEBVTT\n\n00:01.000 --> 00:02,000\nx\n")
        << "Line 3: \"00:02,000\" is not a time";
    QTest::newRow("empty, on a row") << true << "a.srt" << QByteArray() << "The file is empty.";
    QTest::newRow("binary") << false << "clip.srt" << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)
                            << "Line 2: the file holds control code 26";
    QTest::newRow("two files, one name")
        << false << "clip.vtt" << QByteArray("WEBVTT\n") << "as clip.vtt, as is";
}

// A caption file that cannot be used is named with its line, and nothing is written: the page
// would otherwise point at captions the browser drops.
void GenerationDriverTest::badCaptionStopsTheRunBeforeWriting() {
    QFETCH(bool, playlist);
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    Run r;
    r.settings.Multiple = playlist;
    r.settings.Html5 = true;
    TextFile::writeBytes(r.videos + name, content);
    CaptionTracks tracks{{r.videos + name, "en", ""}};
    if (reason.startsWith("as ")) {
        QDir().mkpath(r.videos + "other");
        TextFile::writeBytes(r.videos + "other/clip.srt", "1\n00:00:01,000 --> 00:00:02,000\nx\n");
        tracks.prepend({r.videos + "other/clip.srt", "de", ""});
    }
    (playlist ? r.playlist.rows[0].Captions : r.single.Captions) = tracks;
    const QString scratch = r.install.path("app/temp");
    const auto outputBefore = TestFiles::filesBelow(r.outputFolder);
    const auto scratchBefore = TestFiles::filesBelow(scratch);

    QCOMPARE(r.outcome(), GenerationDriver::Outcome::SourceMissing);

    QCOMPARE(r.dialogs.texts().size(), 1);
    const QString text = r.dialogs.texts().first();
    QVERIFY2(text.startsWith("CAPTION FILE NOT USABLE.\n" + r.videos + name + "\n"),
             qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QCOMPARE(r.views.log, (QStringList{"busy:1", "busy:0"}));
    QCOMPARE(TestFiles::filesBelow(r.outputFolder), outputBefore);
    QCOMPARE(TestFiles::filesBelow(scratch), scratchBefore);
}

void GenerationDriverTest::cancelLeavesNothingHalfDone_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("when");   // start, middle (of a copy) or injection
    QTest::addColumn<QString>("older");  // a file already at the step's target; empty for none
    QTest::newRow("during the video's copy, over an older copy") << 0 << "middle"
                                                                 << "out/clip.flv";
    QTest::newRow("during the video's first copy") << 0 << "middle"
                                                   << "";
    QTest::newRow("during the injection") << 1 << "injection"
                                          << "";
    // An earlier run's mirror is gone before the run writes anything: the scratch folder keeps
    // no copy of an earlier run's video, whatever the run's end.
    QTest::newRow("during the mirror, over an older mirror") << 2 << "middle"
                                                             << "app/temp/clip.flv";
    QTest::newRow("before the emulator's first file") << 7 << "start"
                                                      << "";
}

// Cancel at one step of a single Flash video's file work (HTML5 off): the step's partial file is
// gone, an older file at its target is as it was, the sources and the earlier steps' files are
// untouched, and the message tells which steps were done.
void GenerationDriverTest::cancelLeavesNothingHalfDone() {
    QFETCH(int, step);
    QFETCH(QString, when);
    QFETCH(QString, older);
    Run r;
    QFile video(r.videos + "clip.flv");
    QVERIFY(video.resize(20 << 20));  // several pieces of a copy, so it can stop in the middle
    if (!older.isEmpty())
        TextFile::writeBytes(r.install.path(older), "older");
    const auto sources = TestFiles::filesBelow(r.videos);
    r.views.onFileWorkProgress = [&](int index, qint64 done, qint64 total) {
        return index != step || (when == "start" ? done != 0 : done == 0 || done == total);
    };
    r.views.onInjection = [&](int index) { return index != step || when != "injection"; };

    QCOMPARE(r.outcome(), GenerationDriver::Outcome::Cancelled);

    const QStringList steps{"Copy clip.flv to the output folder",
                            "Inject metadata into clip.flv",
                            "Copy clip.flv for the local test page",
                            "Copy Skin-30-dark.swf to the output folder",
                            "Copy zevoswf.js to the output folder",
                            "Copy Skin-30-dark.swf for the local test page",
                            "Copy zevoswf.js for the local test page",
                            "Copy ruffle/core.wasm to the output folder",
                            "Copy ruffle/ruffle.js to the output folder"};
    auto listed = [](const QStringList& lines) {
        QStringList out;
        for (const QString& line : lines)
            out << "  " + line;
        return out.isEmpty() ? QStringList{"  (none)"} : out;
    };
    const QStringList message =
        QStringList{
            "GENERATION CANCELLED. Nothing is left half-written: the step under way was "
            "undone, and the files written before it stay.",
            "", "Done (after the player files, scripts and test pages):"} +
        listed(steps.mid(0, step)) + QStringList{"", "Not done:"} + listed(steps.mid(step));
    QCOMPARE(r.dialogs.texts(), QStringList{message.join('\n')});
    QCOMPARE(r.dialogs.messages[0].title, QStringLiteral("Cancelled"));
    QCOMPARE(r.dialogs.messages[0].icon, Dialogs::Icon::Information);
    QVERIFY(!r.views.log.contains("codeWindow"));
    QCOMPARE(r.views.fileWork.constLast(), QStringLiteral("end"));

    QCOMPARE(TestFiles::filesBelow(r.videos), sources);
    const QString scratch = r.install.path("app/temp/");
    for (const QString& path :
         TestFiles::filesBelow(r.outputFolder).keys() + TestFiles::filesBelow(scratch).keys())
        QVERIFY2(!QFileInfo(path).fileName().startsWith('.'), qPrintable(path));
    const QString target = step == 2 ? scratch + "clip.flv" : r.outputFolder + "clip.flv";
    const bool olderStays = !older.isEmpty() && step != 2;
    if (step <= 2 && when != "injection")
        QCOMPARE(TestFiles::readFile(target),
                 olderStays ? QByteArray("older") : "<missing file " + target.toUtf8() + ">");
    if (step >= 1)
        QCOMPARE(TestFiles::readFile(r.outputFolder + "clip.flv"),
                 TestFiles::readFile(r.videos + "clip.flv"));
    QCOMPARE(QFileInfo::exists(r.outputFolder + "ruffle"), false);
}

// The reports of a whole run, in order, as shares of the whole: they never go back and end full.
void GenerationDriverTest::progressGoesForwardToTheEnd() {
    Run r;
    QFile video(r.videos + "clip.flv");
    QVERIFY(video.resize(20 << 20));
    QVERIFY(r.go());
    FileWorkPlan plan;
    plan.steps = r.views.plannedSteps;
    QCOMPARE(plan.steps.size(), 9);
    QCOMPARE(r.views.fileWork.first(), QStringLiteral("begin"));
    QCOMPARE(r.views.fileWork.last(), QStringLiteral("end"));
    double last = -1;
    for (const QString& report : r.views.fileWork.mid(1, r.views.fileWork.size() - 2)) {
        const QStringList parts = report.split(QRegularExpression("[:/]"));
        const double now =
            plan.fraction(parts[0].toInt(), parts[1].toLongLong(), parts[2].toLongLong());
        QVERIFY2(now >= last, qPrintable(report));
        last = now;
    }
    QCOMPARE(last, 1.0);
    // The video's copy and its mirror report each 8 MB piece.
    QVERIFY(r.views.fileWork.contains(QStringLiteral("0:8388608/20971520")));
    QVERIFY(r.views.fileWork.contains(QStringLiteral("2:16777216/20971520")));
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
    const QStringList lines = r.dialogs.messages[0].text.split(u'\n');
    QVERIFY2(expected.contains(lines[0]) && lines.value(1).startsWith("Writing " + r.outputFolder),
             qPrintable(r.dialogs.texts().join("")));
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

// The code is drawn once per run, before the first file, and both configuration copies carry it;
// the next run draws its own.
void GenerationDriverTest::oneVideoModeCodePerRun() {
    Run r;
    r.random.values << 0.25 << 0.5 << 0.75;
    const auto carried = [&r](const QString& path) {
        const QRegularExpression aa(QStringLiteral("<aa>(\\d+)</aa>"));
        return aa.match(QString::fromLatin1(TestFiles::readFile(path))).captured(1);
    };
    const QString upload = r.outputFolder + "zevoconfigsv.xml";
    const QString local = r.install.path("app/temp/zevoconfigsv.xml");
    QVERIFY(r.go());
    QCOMPARE(r.random.reseeds, 1);
    QCOMPARE(r.snapshot.VideoModeCode, 2501 * 89);
    QCOMPARE(carried(upload), QString::number(2501 * 89));
    QCOMPARE(carried(local), QString::number(2501 * 89));
    QVERIFY(r.go());
    QCOMPARE(r.random.reseeds, 2);
    QCOMPARE(r.random.values.size(), 1);
    QCOMPARE(carried(upload), QString::number(5001 * 89));
    QCOMPARE(carried(local), QString::number(5001 * 89));
}

QTEST_GUILESS_MAIN(GenerationDriverTest)
#include "tst_GenerationDriver.moc"
