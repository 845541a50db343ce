#include <QtTest>

#include "FakeDialogs.h"
#include "FakeViews.h"
#include "generate/GenerateRequest.h"
#include "generate/ValidationHost.h"

namespace {

// The main window as the checks see it; rewrites and requests are logged.
class FakeHost : public ValidationHost {
  public:
    ProjectSettings s;
    Playlist list;
    CaptionTracks tracks;
    bool marker = false;
    QStringList log;

    const ProjectSettings& settings() const override { return s; }
    const Playlist& playlist() const override { return list; }
    const CaptionTracks& singleVideoCaptions() const override { return tracks; }
    bool videoFilesStatusVisible() const override { return marker; }
    void setAudioLevel(const QString& t) override { s.AudioLevel = t; }
    void setServerPath(const QString& t) override { s.ServerPath = t; }
    void setVideoPath(const QString& t) override { s.VideoPath = t; }
    void showVideoFilesDialog() override {
        log.append(s.Multiple ? QStringLiteral("playlistEditor")
                              : QStringLiteral("singleVideoDialog"));
    }
    void chooseOutputFolder() override { log.append(QStringLiteral("cmdOutput")); }
};

// A complete playlist of two rows with thumbnails, ready to generate.
Playlist thumbnailRows() {
    Playlist p;
    p.layout = PlaylistLayout::TitleDescThumb;
    p.rows = {{"a.flv", "a.mp4", "a.webm", "A", "Da", "a.jpg"},
              {"b.flv", "b.mp4", "b.webm", "B", "Db", "b.jpg"}};
    return p;
}

const QString kIncomplete = QStringLiteral("INCOMPLETE http:// PATH. REFER TO QUICK HELP.");
const QString kAudioLevel = QStringLiteral(
    "THE AUDIO LEVEL (AudioLevel, \"Initialize Audio at:\") MUST BE A NUMBER FROM 0 TO 100.");

}  // namespace

class GenerateRequestTest : public QObject {
    Q_OBJECT

  private slots:
    void checks_data();
    void checks();
    void rewritesStayWhenALaterCheckFails();
    void secondPressAddsNoSecondSlash();
    void playlistNamesStopTheRun_data();
    void playlistNamesStopTheRun();
    void controlCharactersInCaptionTracks_data();
    void controlCharactersInCaptionTracks();
};

void GenerateRequestTest::checks_data() {
    QTest::addColumn<bool>("marker");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("video");
    QTest::addColumn<QString>("outDir");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("requests");  // host requests, then views log
    QTest::addColumn<QString>("audioAfter");
    QTest::addColumn<QString>("serverAfter");
    QTest::addColumn<QString>("videoAfter");

    const QString ok = QStringLiteral("/out/");
    const QString site = QStringLiteral("http://example.com/v/");
    QTest::newRow("marker, single: only the dialog, no other check")
        << true << false << 1 << "250"
        << ""
        << ""
        << "" << false << QStringList{"PLEASE SAVE YOUR VIDEO FILE LIST FIRST!"}
        << QStringList{"singleVideoDialog"} << "250"
        << ""
        << "";
    QTest::newRow("marker, playlist") << true << true << 1 << "50" << site << "" << ok << false
                                      << QStringList{"PLEASE SAVE YOUR VIDEO FILE LIST FIRST!"}
                                      << QStringList{"playlistEditor"} << "50" << site << "";
    QTest::newRow("audio 250 capped, everything passes")
        << false << false << 1 << "250" << site << "" << ok << true << QStringList{}
        << QStringList{} << "100" << site << site;
    QTest::newRow("audio 100 stays") << false << false << 1 << "100" << site << site << ok << true
                                     << QStringList{} << QStringList{} << "100" << site << site;
    // The page's script sets the volume from the level: anything but a whole number from 0 up
    // would throw there and leave the end-of-video action unattached.
    const struct {
        const char* label;
        const char* audio;
    } refused[] = {{"letters", "x9"},     {"empty", ""},
                   {"blanks only", "  "}, {"negative", "-5"},
                   {"fraction", "5.5"},   {"exponent", "1e2"},
                   {"sign", "+5"},        {"digits and text", "50%"}};
    for (const auto& bad : refused)
        QTest::addRow("audio refused: %s", bad.label)
            << false << false << 1 << bad.audio << site << site << ok << false
            << QStringList{kAudioLevel} << QStringList{"focus:txtAudioLevel"} << bad.audio << site
            << site;
    QTest::newRow("audio with blanks around digits passes as typed")
        << false << false << 1 << " 70 " << site << site << ok << true << QStringList{}
        << QStringList{} << " 70 " << site << site;
    QTest::newRow("audio of more digits than a number holds capped")
        << false << false << 1 << "99999999999999999999" << site << site << ok << true
        << QStringList{} << QStringList{} << "100" << site << site;
    QTest::newRow("audio 0 passes") << false << false << 1 << "0" << site << site << ok << true
                                    << QStringList{} << QStringList{} << "0" << site << site;
    QTest::newRow("audio refused before the path checks")
        << false << false << 1 << "loud"
        << ""
        << ""
        << "" << false << QStringList{kAudioLevel} << QStringList{"focus:txtAudioLevel"} << "loud"
        << ""
        << "";
    QTest::newRow("blank server path")
        << false << false << 1 << "50"
        << "   "
        << "" << ok << false << QStringList{"NO HTML PATH SPECIFIED!"}
        << QStringList{"help:1", "focus:txtServerPath"} << "50"
        << "   "
        << "";
    QTest::newRow("scheme only, with blanks: focus then help")
        << false << false << 1 << "50"
        << " http:// "
        << "" << ok << false << QStringList{kIncomplete}
        << QStringList{"focus:txtServerPath", "help:1"} << "50"
        << " http:// "
        << "";
    QTest::newRow("upper-case scheme passes the comparison")
        << false << false << 1 << "50"
        << "HTTP://"
        << "" << ok << true << QStringList{} << QStringList{} << "50"
        << "HTTP://"
        << "HTTP://";
    QTest::newRow("scheme and one character passes")
        << false << false << 1 << "50"
        << "http://a"
        << "" << ok << true << QStringList{} << QStringList{} << "50"
        << "http://a/"
        << "http://a/";
    QTest::newRow("video path scheme only, in Pseudo too")
        << false << false << 3 << "50" << site << "http://" << ok << false
        << QStringList{kIncomplete} << QStringList{"focus:txtVideoPath", "help:2"} << "50" << site
        << "http://";
    QTest::newRow("slash after a trailing blank")
        << false << false << 1 << "50"
        << "http://example.com/v/ "
        << "" << ok << true << QStringList{} << QStringList{} << "50"
        << "http://example.com/v/ /"
        << "http://example.com/v/ /";
    QTest::newRow("video path gets its slash")
        << false << false << 1 << "50" << site << "http://cdn.example.com/m" << ok << true
        << QStringList{} << QStringList{} << "50" << site << "http://cdn.example.com/m/";
    QTest::newRow("rtmp: blank video path stops")
        << false << false << 2 << "50" << site << "  " << ok << false
        << QStringList{"VIDEO FILE(S) PATH CANNOT BE BLANK FOR A RTMP PLAYER!"}
        << QStringList{"focus:txtVideoPath"} << "50" << site << "  ";
    QTest::newRow("rtmp: scheme only stops")
        << false << false << 2 << "50" << site << "rtmp://" << ok << false
        << QStringList{"INCOMPLETE rtmp:// PATH. REFER TO QUICK HELP."}
        << QStringList{"focus:txtVideoPath"} << "50" << site << "rtmp://";
    QTest::newRow("rtmp: scheme and a blank gets a slash after the blank and passes")
        << false << false << 2 << "50" << site << " rtmp:// " << ok << true << QStringList{}
        << QStringList{} << "50" << site << " rtmp:// /";
    QTest::newRow("rtmp: longer address passes with its slash")
        << false << false << 2 << "50" << site << "rtmp://media.example.com/app" << ok << true
        << QStringList{} << QStringList{} << "50" << site << "rtmp://media.example.com/app/";
    QTest::newRow("no output folder: folder choice, then stop")
        << false << false << 1 << "50" << site << ""
        << "" << false << QStringList{"PLEASE PROVIDE OUTPUT FOLDER."} << QStringList{"cmdOutput"}
        << "50" << site << site;
}

void GenerateRequestTest::checks() {
    QFETCH(bool, marker);
    QFETCH(bool, multiple);
    QFETCH(int, mode);
    QFETCH(QString, audio);
    QFETCH(QString, server);
    QFETCH(QString, video);
    QFETCH(QString, outDir);
    QFETCH(bool, passes);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, requests);

    FakeHost host;
    host.marker = marker;
    host.s.Multiple = multiple;
    host.s.streamingMode = static_cast<StreamingMode>(mode);
    host.s.AudioLevel = audio;
    host.s.ServerPath = server;
    host.s.VideoPath = video;
    host.s.OutDir = outDir;
    FakeDialogs dialogs;
    FakeViews views;

    QCOMPARE(GenerateRequest::validate(host, dialogs, views), passes);
    QCOMPARE(dialogs.texts(), messages);
    for (const auto& m : dialogs.messages) {
        QCOMPARE(m.title, QStringLiteral("Error"));
        QCOMPARE(m.icon, Dialogs::Icon::Critical);
    }
    QCOMPARE(host.log + views.log, requests);
    QTEST(host.s.AudioLevel, "audioAfter");
    QTEST(host.s.ServerPath, "serverAfter");
    QTEST(host.s.VideoPath, "videoAfter");
}

void GenerateRequestTest::rewritesStayWhenALaterCheckFails() {
    FakeHost host;
    host.s.AudioLevel = "999";
    host.s.ServerPath = "http://example.com";
    host.s.VideoPath = "";
    FakeDialogs dialogs;
    FakeViews views;
    QVERIFY(!GenerateRequest::validate(host, dialogs, views));  // no output folder
    QCOMPARE(host.s.AudioLevel, QStringLiteral("100"));
    QCOMPARE(host.s.ServerPath, QStringLiteral("http://example.com/"));
    QCOMPARE(host.s.VideoPath, QStringLiteral("http://example.com/"));
}

void GenerateRequestTest::secondPressAddsNoSecondSlash() {
    FakeHost host;
    host.s.ServerPath = "http://example.com/site";
    host.s.OutDir = "/out/";
    FakeDialogs dialogs;
    FakeViews views;
    QVERIFY(GenerateRequest::validate(host, dialogs, views));
    QVERIFY(GenerateRequest::validate(host, dialogs, views));
    QCOMPARE(host.s.ServerPath, QStringLiteral("http://example.com/site/"));
}

void GenerateRequestTest::playlistNamesStopTheRun_data() {
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("messages");

    const struct {
        int index;
        const char* name;
    } fields[] = {{0, "FLV/MP4 VIDEO FILE"},
                  {1, "MP4 VIDEO FILE"},
                  {2, "WEBM VIDEO FILE"},
                  {5, "THUMBNAIL IMAGE"}};
    const struct {
        const char* label;
        QString name;
        const char* fault;
    } names[] = {{"parent folder", "../escaped.flv", "IT HOLDS A FOLDER SEPARATOR"},
                 {"backslash", "..\\escaped.flv", "IT HOLDS A FOLDER SEPARATOR"},
                 {"dot dot", "..", "IT STANDS FOR A FOLDER (\"..\")"},
                 {"dot", ".", "IT STANDS FOR A FOLDER (\".\")"},
                 {"escape character", "a\x1b.flv", "IT HOLDS A CONTROL CHARACTER (CODE 27)"}};
    for (const auto& field : fields)
        for (const auto& bad : names)
            QTest::addRow("%s, %s", field.name, bad.label)
                << true << field.index << bad.name
                << QStringList{
                       QStringLiteral("THE %1 OF ROW 2 IS NOT A PLAIN FILE NAME: %2. "
                                      "PLEASE REPLACE IT IN THE PLAYLIST.")
                           .arg(QString::fromLatin1(field.name), QString::fromLatin1(bad.fault))};
    // The editor keeps its playlist while a single video is generated; it is not used.
    QTest::newRow("single video project") << false << 0 << "../escaped.flv" << QStringList{};
}

// The names are checked first of all, so the run stops before any rewrite of the window.
void GenerateRequestTest::playlistNamesStopTheRun() {
    QFETCH(bool, multiple);
    QFETCH(int, field);
    QFETCH(QString, name);
    QFETCH(QStringList, messages);
    FakeHost host;
    host.s.Multiple = multiple;
    host.s.AudioLevel = "250";
    host.s.ServerPath = "http://example.com/site/";
    host.s.OutDir = "/out/";
    host.list = thumbnailRows();
    QString PlaylistEntry::*const rowFields[] = {
        &PlaylistEntry::FlashFile, &PlaylistEntry::Mp4File,     &PlaylistEntry::WebmFile,
        &PlaylistEntry::Title,     &PlaylistEntry::Description, &PlaylistEntry::Thumbnail};
    host.list.rows[1].*rowFields[field] = name;
    FakeDialogs dialogs;
    FakeViews views;

    QCOMPARE(GenerateRequest::validate(host, dialogs, views), messages.isEmpty());
    QCOMPARE(dialogs.texts(), messages);
    if (!messages.isEmpty()) {
        QCOMPARE(host.log + views.log, QStringList{"playlistEditor"});
        QCOMPARE(host.s.AudioLevel, QStringLiteral("250"));
    }
}

void GenerateRequestTest::controlCharactersInCaptionTracks_data() {
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("fault");  // what the message names; empty: the run goes on
    QTest::newRow("single, clean") << false << "en"
                                   << "English: SDH"
                                   << "";
    QTest::newRow("single, start of heading in the label")
        << false << "en"
        << "Eng\x01lish"
        << "CHARACTER 4 (CONTROL CODE 1) OF THE LABEL OF CAPTION TRACK 2";
    QTest::newRow("single, unit separator in the label")
        << false << "en"
        << "\x1f"
        << "CHARACTER 1 (CONTROL CODE 31) OF THE LABEL OF CAPTION TRACK 2";
    QTest::newRow("single, delete in the label")
        << false << "en"
        << "English\x7f"
        << "CHARACTER 8 (CONTROL CODE 127) OF THE LABEL OF CAPTION TRACK 2";
    QTest::newRow("single, tab in the language")
        << false << "e\tn"
        << ""
        << "CHARACTER 2 (CONTROL CODE 9) OF THE LANGUAGE OF CAPTION TRACK 2";
    QTest::newRow("single, C1 control in the language")
        << false << QString(QChar(0x85)) << ""
        << "CHARACTER 1 (CONTROL CODE 133) OF THE LANGUAGE OF CAPTION TRACK 2";
    QTest::newRow("playlist, clean") << true << "de"
                                     << "Deutsch"
                                     << "";
    QTest::newRow("playlist, control in the label")
        << true << "de"
        << "\x01"
        << "CHARACTER 1 (CONTROL CODE 1) OF THE LABEL OF CAPTION TRACK 2 OF ROW 2";
}

// The second track of the single video, or of the playlist's second row, holds the text; the
// other videos' tracks are clean. Only the tracks of the project's kind are generated.
void GenerateRequestTest::controlCharactersInCaptionTracks() {
    QFETCH(bool, multiple);
    QFETCH(QString, language);
    QFETCH(QString, label);
    QFETCH(QString, fault);
    FakeHost host;
    host.s.Multiple = multiple;
    host.s.AudioLevel = "80";
    host.s.ServerPath = "http://example.com/site/";
    host.s.OutDir = "/out/";
    host.list = thumbnailRows();
    const CaptionTracks tracks{{"/subs/a.en.vtt", "en", "English"},
                               {"/subs/b.vtt", language, label}};
    // The other kind's tracks hold a control character that must not stop this run.
    const CaptionTracks unused{{"/subs/u.vtt", "u\x01", "\x02"}};
    host.tracks = multiple ? unused : tracks;
    host.list.rows[0].Captions = multiple ? CaptionTracks{tracks.first()} : unused;
    host.list.rows[1].Captions = multiple ? tracks : unused;
    FakeDialogs dialogs;
    FakeViews views;

    QCOMPARE(GenerateRequest::validate(host, dialogs, views), fault.isEmpty());
    if (fault.isEmpty()) {
        QCOMPARE(dialogs.texts(), QStringList{});
        return;
    }
    QCOMPARE(
        dialogs.texts(),
        QStringList{fault +
                    " CANNOT BE WRITTEN TO THE PLAYER'S FILES. PLEASE REMOVE IT.\n/subs/b.vtt"});
    QCOMPARE(host.log, QStringList{multiple ? "playlistEditor" : "singleVideoDialog"});
}

QTEST_GUILESS_MAIN(GenerateRequestTest)
#include "tst_GenerateRequest.moc"
