#include <QtTest>

#include "FakeDialogs.h"
#include "FakeViews.h"
#include "media/CaptionFile.h"
#include "models/SelectionHost.h"
#include "models/SingleVideoDialogModel.h"
#include "platform/TextFile.h"

namespace {

// The main window as the dialog sees it; every switch of Html5 is recorded.
class FakeHost : public SelectionHost {
  public:
    StreamingMode mode = StreamingMode::Normal;
    bool html5On = false;
    bool marker = true;  // incomplete until a selection is made
    QList<bool> html5Switches;

    StreamingMode streamingMode() const override { return mode; }
    bool html5() const override { return html5On; }
    void setHtml5(bool on) override {
        html5Switches.append(on);
        html5On = on;
    }
    bool videoFilesStatusVisible() const override { return marker; }
    void setVideoFilesStatusVisible(bool visible) override { marker = visible; }
};

struct Fixture {
    FakeHost host;
    FakeDialogs dialogs;
    FakeViews views;
    SingleVideoDialogModel dialog{host, dialogs, views};

    explicit Fixture(StreamingMode mode = StreamingMode::Normal, bool html5 = false) {
        host.mode = mode;
        host.html5On = html5;
    }
    // The next file dialog answers with this file.
    void willPick(const QString& path) { dialogs.openAnswers.enqueue(QStringList{path}); }
    void chooseFlash(const QString& path) {
        willPick(path);
        dialog.chooseFlashFile();
    }
};

const QString FullFlashFilter = QStringLiteral(
    "FLV (*.flv)|*.flv|H.264 Mp4(*.mp4)|*.mp4|H.264 F4V(*.f4v)|*.f4v|H.264 M4V (*.m4v)|*.m4v");
const QString H264Filter =
    QStringLiteral("H.264 Mp4(*.mp4)|*.mp4|H.264 F4V(*.f4v)|*.f4v|H.264 M4V (*.m4v)|*.m4v");

}  // namespace

class SingleVideoSelectionTest : public QObject {
    Q_OBJECT

  private slots:
    void captionChooser();
    void captionLanguageFromName_data();
    void captionLanguageFromName();
    void rtmpNames_data();
    void rtmpNames();
    void shortFlashNameKeepsPreviousStreamName();
    void streamNameIsBuiltOnlyInRtmpMode();
    void fileChoiceSplitsPath_data();
    void fileChoiceSplitsPath();
    void fileRequests_data();
    void fileRequests();
    void cancelledChoiceChangesNothing();
    void anotherFlashFileDropsWhatBelongsToTheOld_data();
    void anotherFlashFileDropsWhatBelongsToTheOld();
    void saveWithoutFlashFileStaysOpen();
    void saveWithHtml5AndNoMp4FileAsksForIt();
    void rtmpModeTurnsHtml5OffAndSaves();
    void showingMirrorsHtml5WithoutSwitchingIt();
    void makeFromFlashEnabled_data();
    void makeFromFlashEnabled();
    void closePathsSetMarkerFromSilentCheck_data();
    void closePathsSetMarkerFromSilentCheck();
    void webmFileIsNeverRequired();
    void helpShowsTopic3();
    void html5MirrorSaysWhereItIsSet_data();
    void html5MirrorSaysWhereItIsSet();
};

void SingleVideoSelectionTest::rtmpNames_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("stream");
    QTest::newRow("mp4") << "clip.mp4"
                         << "mp4:clip.mp4";
    QTest::newRow("f4v") << "clip.f4v"
                         << "f4v:clip.f4v";
    QTest::newRow("m4v") << "clip.m4v"
                         << "m4v:clip.m4v";
    QTest::newRow("flv") << "clip.flv"
                         << "clip";
    QTest::newRow("upper-case MP4 is not H.264") << "clip.MP4"
                                                 << "clip";
    QTest::newRow("name is only the extension") << "mp4"
                                                << "mp4:mp4";
    QTest::newRow("four characters") << "a.fl"
                                     << "";
}

void SingleVideoSelectionTest::rtmpNames() {
    QFETCH(QString, file);
    QFETCH(QString, stream);
    Fixture f(StreamingMode::Rtmp);
    f.chooseFlash(QStringLiteral("/srv/media/") + file);
    QCOMPARE(f.dialog.video().FlvVideoFileName, file);
    QCOMPARE(f.dialog.video().FlvVideoFileNameRTMP, stream);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void SingleVideoSelectionTest::shortFlashNameKeepsPreviousStreamName() {
    Fixture f(StreamingMode::Rtmp);
    f.chooseFlash("/srv/media/clip.flv");
    f.chooseFlash("/srv/media/a.b");
    QCOMPARE(f.dialogs.texts(),
             QStringList{"ERROR# 5 INVALID PROCEDURE CALL OR ARGUMENT. PLEASE CONTACT SUPPORT."});
    QCOMPARE(f.dialogs.messages[0].icon, Dialogs::Icon::Critical);
    // The file itself is taken; only its stream name could not be made.
    QCOMPARE(f.dialog.video().FlvVideoFileName, QStringLiteral("a.b"));
    QCOMPARE(f.dialog.video().FlvVideoFilePath, QStringLiteral("/srv/media/a.b"));
    QCOMPARE(f.dialog.video().FlvVideoFileNameRTMP, QStringLiteral("clip"));
}

void SingleVideoSelectionTest::streamNameIsBuiltOnlyInRtmpMode() {
    Fixture f(StreamingMode::Normal);
    f.chooseFlash("/srv/media/clip.mp4");
    QCOMPARE(f.dialog.video().FlvVideoFileNameRTMP, QString());
    f.host.mode = StreamingMode::Rtmp;
    f.chooseFlash("/srv/media/clip.flv");
    QCOMPARE(f.dialog.video().FlvVideoFileNameRTMP, QStringLiteral("clip"));
    // A later change of mode leaves the stream name as it was built.
    f.host.mode = StreamingMode::Normal;
    f.chooseFlash("/srv/media/other.flv");
    QCOMPARE(f.dialog.video().FlvVideoFileNameRTMP, QStringLiteral("clip"));
}

void SingleVideoSelectionTest::fileChoiceSplitsPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("nested") << "/home/ann/videos/clip one.flv"
                            << "clip one.flv"
                            << "/home/ann/videos/";
    QTest::newRow("root") << "/clip.flv"
                          << "clip.flv"
                          << "/";
    QTest::newRow("dotted folder") << "/v.1/clip"
                                   << "clip"
                                   << "/v.1/";
    QTest::newRow("no folder") << "clip.flv"
                               << "clip.flv"
                               << "";
}

void SingleVideoSelectionTest::fileChoiceSplitsPath() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    Fixture f;
    f.chooseFlash(path);
    f.willPick(path);
    f.dialog.chooseMp4File();
    f.willPick(path);
    f.dialog.chooseWebmFile();
    const SingleVideo& v = f.dialog.video();
    QCOMPARE((QStringList{v.FlvVideoFilePath, v.FlvVideoFileName, v.FlvVideoFilePathOnly}),
             (QStringList{path, name, folder}));
    QCOMPARE((QStringList{v.Mp4VideoFilePath, v.Mp4VideoFileName, v.Mp4VideoFilePathOnly}),
             (QStringList{path, name, folder}));
    QCOMPARE((QStringList{v.WebmVideoFilePath, v.WebmVideoFileName, v.WebmVideoFilePathOnly}),
             (QStringList{path, name, folder}));
}

void SingleVideoSelectionTest::fileRequests_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("filters");
    const QStringList titles{"Open Video File", "Select Mp4 Video File", "Select Webm Video File"};
    const QString webm = QStringLiteral("WebM files (*.webm)|*.webm");
    QTest::newRow("normal") << int(StreamingMode::Normal) << titles
                            << QStringList{FullFlashFilter, H264Filter, webm};
    QTest::newRow("rtmp") << int(StreamingMode::Rtmp) << titles
                          << QStringList{FullFlashFilter, H264Filter, webm};
    QTest::newRow("pseudo offers only FLV") << int(StreamingMode::Pseudo) << titles
                                            << QStringList{"FLV (*.flv)|*.flv", H264Filter, webm};
}

void SingleVideoSelectionTest::fileRequests() {
    QFETCH(int, mode);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, filters);
    Fixture f(static_cast<StreamingMode>(mode), true);
    f.dialog.show();
    f.dialog.chooseFlashFile();
    f.dialog.chooseMp4File();
    f.dialog.chooseWebmFile();
    QCOMPARE(f.dialogs.fileRequests.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(f.dialogs.fileRequests[i].title, titles[i]);
        QCOMPARE(f.dialogs.fileRequests[i].filter, filters[i]);
        QVERIFY(!f.dialogs.fileRequests[i].multiple);
    }
}

void SingleVideoSelectionTest::cancelledChoiceChangesNothing() {
    Fixture f(StreamingMode::Rtmp);
    f.chooseFlash("/srv/clip.mp4");
    f.willPick("/srv/clip.mp4");
    f.dialog.chooseMp4File();
    f.dialogs.openAnswers.enqueue(std::nullopt);
    f.dialog.chooseFlashFile();
    f.dialogs.openAnswers.enqueue(std::nullopt);
    f.dialog.chooseMp4File();
    QCOMPARE(f.dialog.video().FlvVideoFilePath, QStringLiteral("/srv/clip.mp4"));
    QCOMPARE(f.dialog.video().FlvVideoFileNameRTMP, QStringLiteral("mp4:clip.mp4"));
    QCOMPARE(f.dialog.video().Mp4VideoFileName, QStringLiteral("clip.mp4"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void SingleVideoSelectionTest::anotherFlashFileDropsWhatBelongsToTheOld_data() {
    QTest::addColumn<QString>("before");  // the Flash file in use; empty: none yet
    QTest::addColumn<QString>("mp4");
    QTest::addColumn<QString>("webm");
    QTest::addColumn<QString>("after");  // the Flash file chosen then
    QTest::addColumn<bool>("keepMp4");
    QTest::addColumn<bool>("keepWebm");
    QTest::addColumn<bool>("keepCaptions");
    QTest::newRow("another video") << "/v/clip.flv"
                                   << "/v/clip.mp4"
                                   << "/v/clip.webm"
                                   << "/v/other.flv" << false << false << false;
    QTest::newRow("the same file again") << "/v/clip.flv"
                                         << "/v/clip.mp4"
                                         << "/v/clip.webm"
                                         << "/v/clip.flv" << true << true << true;
    QTest::newRow("the same name in another folder") << "/v/clip.flv"
                                                     << "/h/clip.mp4"
                                                     << "/h/clip.webm"
                                                     << "/w/clip.flv" << true << true << false;
    QTest::newRow("copies already named for the new video")
        << "/v/clip.flv"
        << "/h/other.mp4"
        << "/h/clip.webm"
        << "/v/other.flv" << true << false << false;
    QTest::newRow("an MP4 as the Flash video") << "/v/clip.flv"
                                               << "/v/clip.mp4"
                                               << ""
                                               << "/v/clip.mp4" << true << true << false;
    QTest::newRow("names differing in case") << "/v/clip.flv"
                                             << "/v/clip.mp4"
                                             << "/v/clip.webm"
                                             << "/v/Clip.flv" << false << false << false;
    QTest::newRow("a dotted name") << "/v/clip.flv"
                                   << "/v/clip.en.mp4"
                                   << "/v/clip.webm"
                                   << "/v/clip.en.flv" << true << false << false;
    // Files chosen before any Flash file belong to no other video.
    QTest::newRow("the first Flash file") << ""
                                          << "/v/intro.mp4"
                                          << "/v/intro.webm"
                                          << "/v/clip.flv" << true << true << true;
}

// Caption tracks and HTML5 copies belong to the video: choosing another Flash file leaves none of
// the previous video's tracks and no copy whose name does not match the new video's.
void SingleVideoSelectionTest::anotherFlashFileDropsWhatBelongsToTheOld() {
    QFETCH(QString, before);
    QFETCH(QString, mp4);
    QFETCH(QString, webm);
    QFETCH(QString, after);
    QFETCH(bool, keepMp4);
    QFETCH(bool, keepWebm);
    QFETCH(bool, keepCaptions);
    Fixture f(StreamingMode::Normal, true);
    f.dialog.show();
    if (!before.isEmpty())
        f.chooseFlash(before);
    f.dialog.useMp4File(mp4);
    f.dialog.useWebmFile(webm);
    const CaptionTracks tracks{{"/s/clip.en.vtt", "en", "English"}};
    f.dialog.addCaption(tracks.first());

    f.chooseFlash(after);

    const SingleVideo& v = f.dialog.video();
    QCOMPARE(v.FlvVideoFilePath, after);
    const QString mp4Name = QFileInfo(mp4).fileName();
    QCOMPARE((QStringList{v.Mp4VideoFilePath, v.Mp4VideoFileName, v.Mp4VideoFilePathOnly}),
             keepMp4 ? (QStringList{mp4, mp4Name, mp4.chopped(mp4Name.size())})
                     : (QStringList{"", "", ""}));
    const QString webmName = QFileInfo(webm).fileName();
    QCOMPARE((QStringList{v.WebmVideoFilePath, v.WebmVideoFileName, v.WebmVideoFilePathOnly}),
             keepWebm ? (QStringList{webm, webmName, webm.chopped(webmName.size())})
                      : (QStringList{"", "", ""}));
    QCOMPARE(v.Captions, keepCaptions ? tracks : CaptionTracks{});
    QVERIFY(f.dialogs.messages.isEmpty());
}

void SingleVideoSelectionTest::saveWithoutFlashFileStaysOpen() {
    Fixture f;
    f.dialog.show();
    f.willPick("/srv/clip.flv");
    f.dialog.save();
    QCOMPARE(f.dialogs.texts(), QStringList{"FLV FILE MISSING"});
    QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Error"));
    QCOMPARE(f.dialogs.messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    QCOMPARE(f.dialogs.fileRequests[0].title, QStringLiteral("Open Video File"));
    // The file picked there is kept, but the user confirms again with Save.
    QCOMPARE(f.dialog.video().FlvVideoFileName, QStringLiteral("clip.flv"));
    QVERIFY(f.dialog.isVisible());
    QVERIFY(f.host.marker);
    f.dialog.save();
    QVERIFY(!f.dialog.isVisible());
    QVERIFY(!f.host.marker);
    QCOMPARE(f.dialogs.messages.size(), 1);
}

void SingleVideoSelectionTest::saveWithHtml5AndNoMp4FileAsksForIt() {
    Fixture f(StreamingMode::Normal, true);
    f.dialog.show();
    QVERIFY(f.dialog.html5Files());
    QVERIFY(f.dialog.mp4FileEnabled());
    QVERIFY(f.dialog.webmFileEnabled());
    f.chooseFlash("/srv/clip.flv");
    f.dialog.save();
    QCOMPARE(f.dialogs.texts(), QStringList{"MP4 FILE MISSING"});
    QCOMPARE(f.dialogs.messages[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(f.dialogs.fileRequests.last().title, QStringLiteral("Select Mp4 Video File"));
    QVERIFY(f.dialog.isVisible());
    QVERIFY(f.host.marker);
}

void SingleVideoSelectionTest::rtmpModeTurnsHtml5OffAndSaves() {
    Fixture f(StreamingMode::Normal, true);
    f.dialog.show();
    QVERIFY(f.dialog.html5Files());
    f.chooseFlash("/srv/clip.flv");
    f.dialog.cancel();

    f.host.mode = StreamingMode::Rtmp;
    f.dialog.show();
    QVERIFY(!f.dialog.html5Files());
    QCOMPARE(f.host.html5Switches, QList<bool>{false});
    QVERIFY(!f.host.html5On);
    QVERIFY(!f.dialog.mp4FileEnabled());
    QVERIFY(!f.dialog.webmFileEnabled());
    QVERIFY(!f.dialog.html5CheckEnabled());
    f.dialog.save();
    QVERIFY(f.dialogs.messages.isEmpty());
    QVERIFY(!f.dialog.isVisible());
    QVERIFY(!f.host.marker);
}

void SingleVideoSelectionTest::showingMirrorsHtml5WithoutSwitchingIt() {
    Fixture f(StreamingMode::Pseudo, false);
    f.dialog.show();
    QVERIFY(!f.dialog.html5Files());
    QVERIFY(!f.dialog.mp4FileEnabled());
    QVERIFY(!f.dialog.html5CheckEnabled());
    QVERIFY(f.dialog.isVisible());
    f.dialog.cancel();
    f.host.html5On = true;  // turned on in the main window meanwhile
    f.dialog.show();
    QVERIFY(f.dialog.html5Files());
    QVERIFY(f.dialog.mp4FileEnabled());
    QVERIFY(f.dialog.webmFileEnabled());
    QVERIFY(!f.dialog.html5CheckEnabled());
    f.host.html5On = false;
    f.dialog.show();
    QVERIFY(!f.dialog.html5Files());
    QVERIFY(!f.dialog.webmFileEnabled());
    // The dialog followed the main window and never had to switch it.
    QVERIFY(f.host.html5Switches.isEmpty());
}

void SingleVideoSelectionTest::makeFromFlashEnabled_data() {
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QString>("flash");  // empty: none chosen
    QTest::addColumn<bool>("enabled");

    QTest::newRow("FLV, HTML5 on") << true << "/v/clip.flv" << true;
    QTest::newRow("F4V, HTML5 on") << true << "/v/clip.f4v" << true;
    QTest::newRow("FLV, HTML5 off") << false << "/v/clip.flv" << false;
    QTest::newRow("nothing chosen") << true << "" << false;
    QTest::newRow("already an MP4") << true << "/v/clip.MP4" << false;
}

void SingleVideoSelectionTest::makeFromFlashEnabled() {
    QFETCH(bool, html5);
    QFETCH(QString, flash);
    QFETCH(bool, enabled);
    Fixture f(StreamingMode::Normal, html5);
    f.dialog.show();
    if (!flash.isEmpty())
        f.chooseFlash(flash);

    QCOMPARE(f.dialog.makeFromFlashEnabled(), enabled);
}

void SingleVideoSelectionTest::closePathsSetMarkerFromSilentCheck_data() {
    QTest::addColumn<int>("way");  // 0 cancel, 1 remoteClick, 2 closeRequest
    QTest::newRow("cancel") << 0;
    QTest::newRow("remote click") << 1;
    QTest::newRow("close request") << 2;
}

void SingleVideoSelectionTest::closePathsSetMarkerFromSilentCheck() {
    QFETCH(int, way);
    Fixture f;
    const auto close = [&] {
        if (way == 0)
            f.dialog.cancel();
        else if (way == 1)
            f.dialog.remoteClick();
        else
            f.dialog.closeRequest();
    };
    f.dialog.show();
    f.host.marker = false;
    close();
    QVERIFY(f.host.marker);  // no Flash file yet
    QVERIFY(!f.dialog.isVisible());

    f.dialog.show();
    f.chooseFlash("/srv/clip.flv");
    close();
    QVERIFY(!f.host.marker);
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(f.dialog.video().FlvVideoFileName, QStringLiteral("clip.flv"));
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(f.dialogs.fileRequests.size(), 1);  // the silent check opened no file dialog
}

void SingleVideoSelectionTest::webmFileIsNeverRequired() {
    Fixture f(StreamingMode::Normal, true);
    f.dialog.show();
    f.chooseFlash("/srv/clip.flv");
    f.willPick("/srv/clip.mp4");
    f.dialog.chooseMp4File();
    QVERIFY(f.dialog.checkData(false));
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(f.dialogs.fileRequests.size(), 2);
    f.dialog.save();
    QVERIFY(!f.dialog.isVisible());
}

void SingleVideoSelectionTest::helpShowsTopic3() {
    Fixture f;
    f.dialog.help();
    QCOMPARE(f.views.log, QStringList{"help:3"});
}

// Files are read as they are added: an unusable one is reported by line and left out, the others
// keep the chosen order with the language their names give.
void SingleVideoSelectionTest::captionChooser() {
    QTemporaryDir dir;
    const QString good = dir.filePath("clip.en.vtt");
    const QString bad = dir.filePath("clip.fr.srt");
    const QString other = dir.filePath("notes.srt");
    TextFile::writeBytes(good, "WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n");
    TextFile::writeBytes(bad, "1\n00:00:01,000 --> 00:00:00,500\nx\n");
    TextFile::writeBytes(other, "1\n00:00:01,000 --> 00:00:02,000\ny\n");
    Fixture f;
    f.dialogs.openAnswers.enqueue(QStringList{good, bad, other});
    f.dialog.addCaptionFiles();
    QCOMPARE(f.dialogs.fileRequests.size(), 1);
    QVERIFY(f.dialogs.fileRequests[0].multiple);
    QVERIFY(f.dialogs.fileRequests[0].filter.contains("*.srt"));
    QCOMPARE(f.dialogs.texts().size(), 1);
    QVERIFY(f.dialogs.texts()[0].contains(bad + "\nLine 2: "));
    QCOMPARE(f.dialog.video().Captions, (CaptionTracks{{good, "en", ""}, {other, "", ""}}));

    f.dialog.setCaptionLanguage(1, "pt-BR");
    f.dialog.setCaptionLabel(1, QStringLiteral("Notas\tx\u0085|%"));
    f.dialog.setCaptionLabel(7, "nobody");  // no such track: nothing changes
    QCOMPARE(f.dialog.video().Captions[1], (CaptionTrack{other, "pt-BR", "Notasx|%"}));
    f.dialog.removeCaption(0);
    f.dialog.removeCaption(3);
    QCOMPARE(f.dialog.video().Captions, (CaptionTracks{{other, "pt-BR", "Notasx|%"}}));

    f.dialogs.openAnswers.enqueue(std::nullopt);  // cancelled: nothing changes
    f.dialog.addCaptionFiles();
    QCOMPARE(f.dialog.video().Captions.size(), 1);
}

void SingleVideoSelectionTest::captionLanguageFromName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("language");
    QTest::newRow("two letters") << "/s/clip.en.vtt"
                                 << "en";
    QTest::newRow("region") << "/s/clip.pt-BR.srt"
                            << "pt-BR";
    QTest::newRow("three letters") << "/s/clip.deu.srt"
                                   << "deu";
    QTest::newRow("no tag") << "/s/clip.vtt"
                            << "";
    QTest::newRow("word, not a tag") << "/s/clip.final.vtt"
                                     << "";
    QTest::newRow("tag in the folder only") << "/s/a.en/clip.vtt"
                                            << "";
}

void SingleVideoSelectionTest::captionLanguageFromName() {
    QFETCH(QString, path);
    QFETCH(QString, language);
    QCOMPARE(CaptionFile::languageFromName(path), language);
}

void SingleVideoSelectionTest::html5MirrorSaysWhereItIsSet_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QString>("toolTip");  // a part of it
    QTest::newRow("normal, off") << int(StreamingMode::Normal) << false
                                 << "is off in the main window";
    QTest::newRow("normal, on") << int(StreamingMode::Normal) << true << "Set by";
    QTest::newRow("pseudo, off") << int(StreamingMode::Pseudo) << false << "turn it on there";
    QTest::newRow("rtmp, on in the main window")
        << int(StreamingMode::Rtmp) << true << "no HTML5 fallback";
}

// The check box is never enabled: its tool tip says where HTML5 is switched, or why it cannot be.
void SingleVideoSelectionTest::html5MirrorSaysWhereItIsSet() {
    QFETCH(int, mode);
    QFETCH(bool, html5);
    QFETCH(QString, toolTip);
    Fixture f(StreamingMode(mode), html5);
    f.dialog.show();
    QVERIFY(!f.dialog.html5CheckEnabled());
    QVERIFY2(f.dialog.html5CheckToolTip().contains(toolTip),
             qPrintable(f.dialog.html5CheckToolTip()));
    // The Mp4 and WebM commands say why they are disabled, and nothing while they work.
    QCOMPARE(f.dialog.html5FilesToolTip().isEmpty(), f.dialog.mp4FileEnabled());
    if (!f.dialog.mp4FileEnabled())
        QVERIFY2(f.dialog.html5FilesToolTip().contains(
                     mode == int(StreamingMode::Rtmp) ? "no HTML5 fallback" : "is off in the main"),
                 qPrintable(f.dialog.html5FilesToolTip()));
}

QTEST_GUILESS_MAIN(SingleVideoSelectionTest)
#include "tst_SingleVideoDialogModel.moc"
