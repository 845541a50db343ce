#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include "FakeClockRandom.h"
#include "OutputFolder.h"
#include "TestFiles.h"
#include "formats/ConfigXmlWriter.h"
#include "generate/GenerationSnapshot.h"
#include "generate/RunDecisions.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/ScratchFolder.h"
#include "settings/StreamingMode.h"

namespace {

const QString ServerPath = QStringLiteral("http://www.example.com/video/");
const QString VideoPath = QStringLiteral("http://www.example.com/video/media/");

// The configuration file's input as a run leaves it: a single video of 480 x 270 under a 30-pixel
// skin bar, with the start-up options, the playlist editor left at the right.
struct Run : OutputFolder {
    QTemporaryDir appDir;
    ConfigXmlWriter::Input input;

    Run() {
        input.outputFolder = outputFolder();
        input.scratchFolder = ScratchFolder::path(AppPaths::portable(appDir.path()));
        input.tag = QStringLiteral("a0709");
        input.skinName = QStringLiteral("Skin-30-plain");
        input.serverPath = ServerPath;
        input.videoPath = VideoPath;
        input.options.videoBuffer = QStringLiteral("5");
        input.options.showBigPlayButton = true;
        input.options.audioLevel = QStringLiteral("50");
        input.box = {.playerWidth = 480,
                     .playerHeight = 270,
                     .skinAllowance = 30,
                     .position = PlaylistPosition::Right,
                     .widthPlaylist = 250};
        input.fontSize = 11;
        input.single = {QStringLiteral("clip.flv"),
                        QStringLiteral("clip"),
                        QStringLiteral("clip.mp4"),
                        QStringLiteral("clip.webm"),
                        {}};
        input.rows = {PlaylistEntry{}};
        QDir(appDir.path()).mkdir(QStringLiteral("temp"));
    }

    void usePlaylist(PlaylistPosition position, PlaylistLayout layout, qint16 playlistHeight) {
        input.box.playlist = true;
        input.box.position = position;
        input.layout = layout;
        input.box.playlistHeight = playlistHeight;
    }
    void setMode(StreamingMode mode) {
        input.isRtmp = mode == StreamingMode::Rtmp;
        input.isPseudo = mode == StreamingMode::Pseudo;
    }
    QString uploadPath() const { return outDir.path() + QStringLiteral("/zevoconfigsv.xml"); }
    QString testPath() const { return appDir.path() + QStringLiteral("/temp/zevoconfigsv.xml"); }

    // Both copies, with the code a run draws from 0.25: 2501 times the single video's or the
    // playlist's multiplier.
    void writeBoth() {
        input.videoModeCode = 2501 * (input.box.playlist ? 97 : 89);
        writeBothAsTheyAre();
    }
    void writeBothAsTheyAre() {
        OutputFile::write(ConfigXmlWriter::configXml(input));
        OutputFile::write(ConfigXmlWriter::testConfigXml(input));
    }
};

// What a player reads from the file: the option values and each video's attributes in order.
struct Parsed {
    QString error;
    QMap<QString, QString> options;
    QList<QList<QPair<QString, QString>>> videos;
};

Parsed parse(const QByteArray& bytes) {
    Parsed parsed;
    QXmlStreamReader xml(bytes);
    bool inConfig = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"config") {
            inConfig = true;
        } else if (xml.isEndElement() && xml.name() == u"config") {
            inConfig = false;
        } else if (xml.isStartElement() && inConfig) {
            const QString name = xml.name().toString();
            parsed.options[name] = xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == u"video") {
            QList<QPair<QString, QString>> attributes;
            for (const QXmlStreamAttribute& a : xml.attributes())
                attributes.append({a.name().toString(), a.value().toString()});
            parsed.videos.append(attributes);
        }
    }
    if (xml.hasError())
        parsed.error = xml.errorString();
    return parsed;
}

QStringList attributeNames(const QList<QPair<QString, QString>>& attributes) {
    QStringList names;
    for (const auto& a : attributes)
        names << a.first;
    return names;
}

QStringList v1Values(const Parsed& parsed) {
    QStringList values;
    for (const auto& video : parsed.videos)
        for (const auto& a : video)
            if (a.first == u"v1")
                values << a.second;
    return values;
}

// The remaining layout, mode and HTML5 combinations, on the rows set up by the caller.
void setUpMorePlaylistGoldenCases(Run& run, const QString& name) {
    using P = PlaylistPosition;
    using L = PlaylistLayout;
    ConfigXmlWriter::Options& p = run.input.options;
    const QString rtmpPath = QStringLiteral("rtmp://stream.example.com/vod/");
    if (name == u"playlist_invisible_title_normal") {
        run.usePlaylist(P::Invisible, L::TitleOnly, 0);
        p.playerColor = QStringLiteral("FFFFFF");
        p.autoPlay = true;
    } else if (name == u"playlist_right_title_rtmp_html5") {
        run.usePlaylist(P::Right, L::TitleOnly, 270);
        run.setMode(StreamingMode::Rtmp);
        run.input.videoPath = rtmpPath;
        run.input.useHtml5 = true;
        run.input.skinName = QStringLiteral("Skin-20-dark");
        run.input.box.skinAllowance = 20;
        p.playerColor = QStringLiteral("000000");
        p.outroImageName = QStringLiteral("outro.jpg");
    } else if (name == u"playlist_bottom_title_pseudo_html5") {
        run.usePlaylist(P::Bottom, L::TitleOnly, 180);
        run.setMode(StreamingMode::Pseudo);
        run.input.useHtml5 = true;
        run.input.skinName = QStringLiteral("Skin-30-float");
        run.input.options.hideControlsFloatingBar = true;
        p.playerColor = QStringLiteral("336699");
    } else if (name == u"playlist_right_title_pseudo") {
        run.usePlaylist(P::Right, L::TitleOnly, 270);
        run.setMode(StreamingMode::Pseudo);
        p.playerColor = QStringLiteral("ABCDEF");
        p.showEmbedCode = true;
        p.redirectUrl = QStringLiteral("   ");
        p.actionCode = QStringLiteral("<b>Thanks</b>");
    } else if (name == u"playlist_right_desc_normal_html5") {
        run.usePlaylist(P::Right, L::TitleDesc, 270);
        run.input.useHtml5 = true;
        p.playerColor = QStringLiteral("630E0E");
        p.affiliateLink = QStringLiteral("http://www.example.com/buy");
    } else if (name == u"playlist_bottom_desc_normal") {
        run.usePlaylist(P::Bottom, L::TitleDesc, 300);
        run.input.options.videoBuffer = QStringLiteral("3");
        p.playerColor = QStringLiteral("112233");
        p.autoProgress = true;
        p.showBigPlayButton = false;
        p.audioLevel = QStringLiteral("80");
    } else if (name == u"playlist_invisible_desc_rtmp") {
        run.usePlaylist(P::Invisible, L::TitleDesc, 0);
        run.setMode(StreamingMode::Rtmp);
        run.input.videoPath = rtmpPath;
        p.playerColor = QStringLiteral("000000");
        p.isLive = true;
    } else if (name == u"playlist_bottom_desc_pseudo_html5") {
        run.usePlaylist(P::Bottom, L::TitleDesc, 300);
        run.setMode(StreamingMode::Pseudo);
        run.input.useHtml5 = true;
        run.input.fontSize = 12;
        p.playerColor = QStringLiteral("FFFFFF");
    } else if (name == u"playlist_invisible_thumb_rtmp_html5") {
        run.usePlaylist(P::Invisible, L::TitleDescThumb, 0);
        run.setMode(StreamingMode::Rtmp);
        run.input.videoPath = rtmpPath;
        run.input.useHtml5 = true;
        p.playerColor = QStringLiteral("630E0E");
        p.introImageName = QStringLiteral("intro.jpg");
    } else if (name == u"playlist_right_thumb_rtmp") {
        run.usePlaylist(P::Right, L::TitleDescThumb, 270);
        run.setMode(StreamingMode::Rtmp);
        run.input.videoPath = rtmpPath;
        run.input.skinName = QStringLiteral("Skin-30-float");
        p.playerColor = QStringLiteral("112233");
        p.isLive = true;
    } else if (name == u"playlist_invisible_thumb_pseudo") {
        run.usePlaylist(P::Invisible, L::TitleDescThumb, 0);
        run.setMode(StreamingMode::Pseudo);
        p.playerColor = QStringLiteral("ABCDEF");
        p.autoProgress = true;
        p.redirectUrl = QStringLiteral("http://www.example.com/next.html");
        p.actionCode = QStringLiteral("<b>Thanks</b>");
    }
}

// Three rows whose Flash files give the three kinds of RTMP stream name, with text to escape.
void setUpPlaylistGoldenCase(Run& run, const QString& name) {
    using P = PlaylistPosition;
    using L = PlaylistLayout;
    ConfigXmlWriter::Options& p = run.input.options;
    run.input.rows = {
        {"one.flv", "one.mp4", "one.webm", "First clip", "The first one", "one.jpg"},
        {"two.mp4", "two.mp4", "two.webm", "Second clip", "", "two.jpg"},
        {"three.f4v", "three.mp4", "three.webm", "Third & last", "Say \"bye\"", "three.jpg"},
    };
    if (name == u"playlist_bottom_title_normal_html5") {
        run.usePlaylist(P::Bottom, L::TitleOnly, 180);
        run.input.useHtml5 = true;
        p.playerColor = QStringLiteral("FFFFFF");
        p.autoProgress = true;
    } else if (name == u"playlist_right_title_rtmp") {
        run.usePlaylist(P::Right, L::TitleOnly, 270);
        run.setMode(StreamingMode::Rtmp);
        run.input.videoPath = QStringLiteral("rtmp://stream.example.com/vod/");
        run.input.skinName = QStringLiteral("Skin-30-float");
        p.playerColor = QStringLiteral("000000");
        p.isLive = true;
    } else if (name == u"playlist_invisible_desc_pseudo") {
        run.usePlaylist(P::Invisible, L::TitleDesc, 0);
        run.setMode(StreamingMode::Pseudo);
        p.playerColor = QStringLiteral("336699");
        p.redirectUrl = QStringLiteral("http://www.example.com/next.html");
    } else if (name == u"playlist_bottom_desc_rtmp_html5") {
        run.usePlaylist(P::Bottom, L::TitleDesc, 300);
        run.setMode(StreamingMode::Rtmp);
        run.input.videoPath = QStringLiteral("rtmp://stream.example.com/vod/");
        run.input.useHtml5 = true;
        run.input.skinName = QStringLiteral("Skin-20-dark");
        run.input.box.skinAllowance = 20;
        p.playerColor = QStringLiteral("630E0E");
    } else if (name == u"playlist_bottom_thumb_normal") {
        run.usePlaylist(P::Bottom, L::TitleDescThumb, 300);
        run.input.fontSize = 12;
        p.playerColor = QStringLiteral("ABCDEF");
        p.showEmbedCode = true;
        p.actionCode = QStringLiteral("<b>Thanks</b>");
    } else if (name == u"playlist_right_thumb_pseudo_html5") {
        run.usePlaylist(P::Right, L::TitleDescThumb, 270);
        run.setMode(StreamingMode::Pseudo);
        run.input.useHtml5 = true;
        p.playerColor = QStringLiteral("112233");
        p.introImageName = QStringLiteral("intro.jpg");
        p.affiliateLink = QStringLiteral("http://www.example.com/buy?a=1&b=2");
    } else {
        setUpMorePlaylistGoldenCases(run, name);
    }
}

// Captions are written last on a video's line, and only on the lines of videos that have them.
void setUpCaptionGoldenCase(Run& run, const QString& name) {
    if (name == u"single_captions") {
        run.input.single.captions = {
            {"/subs/clip 50%#1.en.srt", "en", "English \"CC\" | 100%"},
            {"/subs/fr|x.vtt", "fr-CA", QStringLiteral("Fran\u00e7ais & co")},
        };
        return;
    }
    run.input.rows[1].Captions = {{"/subs/two.srt", "", ""}};
}

void setUpGoldenCase(Run& run, const QString& name) {
    ConfigXmlWriter::Options& p = run.input.options;
    if (name.contains(u"captions")) {
        setUpGoldenCase(run, name == u"single_captions"
                                 ? QStringLiteral("single_normal_html5")
                                 : QStringLiteral("playlist_right_thumb_html5"));
        setUpCaptionGoldenCase(run, name);
    } else if (name == u"single_normal_html5") {
        run.input.skinName = QStringLiteral("Skin-30-float");
        run.input.options.hideControlsFloatingBar = true;
        p.playerColor = QStringLiteral("630E0E");
        p.autoPlay = true;
        p.introImageName = QStringLiteral("intro.jpg");
        p.showEmbedCode = true;
        p.affiliateLink = QStringLiteral("http://www.example.com/buy");
        run.input.useHtml5 = true;
    } else if (name == u"single_normal") {
        run.input.skinName = QStringLiteral("Skin-20-dark");
        run.input.box.skinAllowance = 20;
        run.input.options.hideControlsFloatingBar = true;
        run.input.options.videoBuffer = QStringLiteral("3");
        p.playerColor = QStringLiteral("FFFFFF");
        p.autoProgress = true;
        p.showBigPlayButton = false;
        p.audioLevel = QStringLiteral("80");
        p.outroImageName = QStringLiteral("outro.jpg");
        p.affiliateLink = QStringLiteral("   ");
        p.actionCode = QStringLiteral("<b>Thanks</b>");
    } else if (name == u"single_rtmp") {
        run.input.skinName = QStringLiteral("Skin-30-float");
        run.setMode(StreamingMode::Rtmp);
        run.input.videoPath = QStringLiteral("rtmp://stream.example.com/vod/");
        run.input.useHtml5 = true;  // the box is hidden in Rtmp mode but still counts
        p.playerColor = QStringLiteral("000000");
        p.autoPlay = true;
        p.isLive = true;
        p.redirectUrl = QStringLiteral("http://www.example.com/thanks.html");
        p.actionCode = QStringLiteral("<p>x</p>");
    } else if (name == u"single_pseudo") {
        run.setMode(StreamingMode::Pseudo);
        run.input.useHtml5 = true;
        p.playerColor = QStringLiteral("336699");
    } else if (name == u"playlist_right_thumb_html5") {
        run.usePlaylist(PlaylistPosition::Right, PlaylistLayout::TitleDescThumb, 270);
        run.input.useHtml5 = true;
        run.input.fontSize = 12;
        p.playerColor = QStringLiteral("630E0E");
        run.input.rows = {
            {"one.flv", "one.mp4", "one.webm", "First clip", "The first one", "one.jpg"},
            {"two.flv", "two.mp4", "two.webm", "Second clip", "", "two.jpg"},
        };
    } else if (name.startsWith(u"playlist_")) {
        setUpPlaylistGoldenCase(run, name);
    }
}

}  // namespace

class ConfigXmlTest : public QObject {
    Q_OBJECT

  private slots:
    void goldenFiles_data();
    void goldenFiles();
    void videoModeCode_data();
    void videoModeCode();
    void playlistLayoutValues_data();
    void playlistLayoutValues();
    void deliveryValues_data();
    void deliveryValues();
    void endOfVideoAndClickThrough_data();
    void endOfVideoAndClickThrough();
    void skinDependentValues_data();
    void skinDependentValues();
    void rtmpStreamName_data();
    void rtmpStreamName();
    void rtmpPlaylistRows();
    void playlistAttributes_data();
    void playlistAttributes();
    void emptyPlaylistHasNoVideoLines();
    void overflowRaisesError6_data();
    void overflowRaisesError6();
    void specialCharactersStayWellFormed();
    void videoAddressesEncodeTheFileName_data();
    void videoAddressesEncodeTheFileName();
    void seekScriptNamesStayBare_data();
    void seekScriptNamesStayBare();
    void missingOutputFolderRaises();
    void captionAddressesFollowTheMode_data();
    void captionAddressesFollowTheMode();
};

void ConfigXmlTest::goldenFiles_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"single_normal_html5", "single_normal", "single_rtmp", "single_pseudo",
                             "playlist_right_thumb_html5",
                             // each layout, each mode, HTML5 on and off
                             "playlist_bottom_title_normal_html5", "playlist_right_title_rtmp",
                             "playlist_invisible_desc_pseudo", "playlist_bottom_desc_rtmp_html5",
                             "playlist_bottom_thumb_normal", "playlist_right_thumb_pseudo_html5",
                             "playlist_invisible_title_normal", "playlist_right_title_rtmp_html5",
                             "playlist_bottom_title_pseudo_html5", "playlist_right_title_pseudo",
                             "playlist_right_desc_normal_html5", "playlist_bottom_desc_normal",
                             "playlist_invisible_desc_rtmp", "playlist_bottom_desc_pseudo_html5",
                             "playlist_invisible_thumb_rtmp_html5", "playlist_right_thumb_rtmp",
                             "playlist_invisible_thumb_pseudo",
                             // captions on the single video, on the second row only
                             "single_captions", "playlist_right_thumb_captions"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void ConfigXmlTest::goldenFiles() {
    QFETCH(QString, name);
    Run run;
    setUpGoldenCase(run, name);
    run.writeBoth();
    COMPARE_GOLDEN(TestFiles::readFile(run.uploadPath()), "formats/config_" + name + ".xml");
    // The local copy names the machine's own folder; the golden file holds a marker for it.
    const QByteArray local = TestFiles::readFile(run.testPath())
                                 .replace(run.appDir.path().toUtf8(), QByteArray("@APPFOLDER@"));
    COMPARE_GOLDEN(local, "formats/config_" + name + "_test.xml");
}

void ConfigXmlTest::videoModeCode_data() {
    QTest::addColumn<double>("uniform");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<int>("code");
    QTest::newRow("single lowest") << 0.0 << false << 89;
    QTest::newRow("single") << 0.25 << false << 2501 * 89;
    QTest::newRow("single highest") << 0.99999999 << false << 890000;
    QTest::newRow("playlist lowest") << 0.0 << true << 97;
    QTest::newRow("playlist highest") << 0.99999999 << true << 970000;
}

void ConfigXmlTest::videoModeCode() {
    QFETCH(double, uniform);
    QFETCH(bool, multiple);
    QFETCH(int, code);
    Run run;
    run.input.box.playlist = multiple;
    FakeRandom random;
    random.values << uniform << 0.5;  // a second draw would give another code
    GenerationSnapshot snapshot;
    snapshot.VideoModeCode = 7;  // left over from an earlier run
    RunDecisions::decide(snapshot, multiple, random);
    run.input.videoModeCode = snapshot.VideoModeCode;
    run.writeBothAsTheyAre();
    QCOMPARE(snapshot.VideoModeCode, code);
    QCOMPARE(random.reseeds, 1);
    const QString expected = QString::number(code);
    QCOMPARE(parse(TestFiles::readFile(run.uploadPath())).options.value("aa"), expected);
    QCOMPARE(parse(TestFiles::readFile(run.testPath())).options.value("aa"), expected);
}

void ConfigXmlTest::playlistLayoutValues_data() {
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<PlaylistPosition>("position");
    QTest::addColumn<PlaylistLayout>("layout");
    QTest::addColumn<int>("playlistHeight");
    QTest::addColumn<bool>("autoProgress");
    // kk ll mm nn oo pp, then ee of the upload and of the local copy
    QTest::addColumn<QStringList>("values");
    using P = PlaylistPosition;
    using L = PlaylistLayout;
    QTest::newRow("right: widths run together")
        << true << P::Right << L::TitleOnly << 270 << false
        << QStringList{"730250", "300", "Yes", "None", "Right", "270", "No", "No"};
    QTest::newRow("bottom, 4 items with descriptions")
        << true << P::Bottom << L::TitleDesc << 300 << false
        << QStringList{"480", "600", "Yes", "Desc", "Bottom", "300", "No", "No"};
    QTest::newRow("bottom, titles only")
        << true << P::Bottom << L::TitleOnly << 180 << true
        << QStringList{"480", "480", "Yes", "None", "Bottom", "180", "Yes", "Yes"};
    QTest::newRow("invisible moves on by itself online")
        << true << P::Invisible << L::TitleDescThumb << 0 << false
        << QStringList{"480", "300", "No", "Thumb", "No", "0", "Yes", "No"};
    QTest::newRow("single, editor left at invisible")
        << false << P::Invisible << L::TitleDesc << 0 << false
        << QStringList{"480", "300", "No", "Desc", "No", "0", "Yes", "No"};
    QTest::newRow("single, editor left at right")
        << false << P::Right << L::TitleOnly << 0 << true
        << QStringList{"480", "300", "No", "None", "No", "0", "Yes", "Yes"};
}

void ConfigXmlTest::playlistLayoutValues() {
    QFETCH(bool, multiple);
    QFETCH(PlaylistPosition, position);
    QFETCH(PlaylistLayout, layout);
    QFETCH(int, playlistHeight);
    QFETCH(bool, autoProgress);
    QFETCH(QStringList, values);
    Run run;
    run.usePlaylist(position, layout, qint16(playlistHeight));
    run.input.box.playlist = multiple;
    run.input.options.autoProgress = autoProgress;
    run.writeBoth();
    const Parsed upload = parse(TestFiles::readFile(run.uploadPath()));
    const Parsed local = parse(TestFiles::readFile(run.testPath()));
    QStringList actual;
    for (const char* name : {"kk", "ll", "mm", "nn", "oo", "pp"}) {
        QCOMPARE(local.options.value(name), upload.options.value(name));
        actual << upload.options.value(name);
    }
    actual << upload.options.value("ee") << local.options.value("ee");
    QCOMPARE(actual, values);
}

void ConfigXmlTest::deliveryValues_data() {
    QTest::addColumn<StreamingMode>("mode");
    QTest::addColumn<bool>("live");
    QTest::addColumn<QStringList>("values");  // bb qq rr of the upload copy
    QTest::newRow("normal, live ignored")
        << StreamingMode::Normal << true << QStringList{"Progressive", "No", "No"};
    QTest::newRow("pseudo") << StreamingMode::Pseudo << false << QStringList{"Pseudo", "No", "No"};
    QTest::newRow("rtmp on demand")
        << StreamingMode::Rtmp << false << QStringList{"Rtmp", VideoPath, "No"};
    QTest::newRow("rtmp live") << StreamingMode::Rtmp << true
                               << QStringList{"Rtmp", VideoPath, "Yes"};
}

void ConfigXmlTest::deliveryValues() {
    QFETCH(StreamingMode, mode);
    QFETCH(bool, live);
    QFETCH(QStringList, values);
    Run run;
    run.setMode(mode);
    run.input.options.isLive = live;
    run.writeBoth();
    const Parsed upload = parse(TestFiles::readFile(run.uploadPath()));
    const Parsed local = parse(TestFiles::readFile(run.testPath()));
    QCOMPARE((QStringList{upload.options["bb"], upload.options["qq"], upload.options["rr"]}),
             values);
    QCOMPARE((QStringList{local.options["bb"], local.options["qq"], local.options["rr"]}),
             (QStringList{"Progressive", "No", "No"}));
}

void ConfigXmlTest::endOfVideoAndClickThrough_data() {
    QTest::addColumn<QString>("redirect");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("affiliate");
    QTest::addColumn<QString>("vv");
    QTest::addColumn<QString>("uu");
    QTest::newRow("nothing") << ""
                             << ""
                             << ""
                             << "No"
                             << "No";
    QTest::newRow("blank redirect, action code") << "   "
                                                 << "<b>Bye</b>"
                                                 << "  "
                                                 << "javascript:hfda0709()"
                                                 << "No";
    QTest::newRow("redirect wins over action code") << "http://r.example.com/"
                                                    << "<b>Bye</b>"
                                                    << "http://a.example.com/"
                                                    << "http://r.example.com/"
                                                    << "http://a.example.com/";
    QTest::newRow("values as typed, blanks kept") << " http://r.example.com/ "
                                                  << ""
                                                  << " x "
                                                  << " http://r.example.com/ "
                                                  << " x ";
    QTest::newRow("action code of line breaks only") << ""
                                                     << " \r\n "
                                                     << ""
                                                     << "No"
                                                     << "No";
}

void ConfigXmlTest::endOfVideoAndClickThrough() {
    QFETCH(QString, redirect);
    QFETCH(QString, action);
    QFETCH(QString, affiliate);
    QFETCH(QString, vv);
    QFETCH(QString, uu);
    Run run;
    run.input.options.redirectUrl = redirect;
    run.input.options.actionCode = action;
    run.input.options.affiliateLink = affiliate;
    run.writeBoth();
    const Parsed upload = parse(TestFiles::readFile(run.uploadPath()));
    const Parsed local = parse(TestFiles::readFile(run.testPath()));
    QCOMPARE(upload.options.value("vv"), vv);
    QCOMPARE(upload.options.value("uu"), uu);
    QCOMPARE(local.options.value("vv"), QStringLiteral("No"));
    QCOMPARE(local.options.value("uu"), QStringLiteral("No"));
}

void ConfigXmlTest::skinDependentValues_data() {
    QTest::addColumn<QString>("skin");
    QTest::addColumn<bool>("hideBar");
    QTest::addColumn<QString>("jj");
    QTest::addColumn<QString>("ac");
    QTest::newRow("float, bar hidden") << "Skin-30-float" << true << "0xABCDEFy"
                                       << "fff";
    QTest::newRow("float, bar shown") << "Skin-30-float-dark" << false << "0xABCDEFn"
                                      << "000";
    QTest::newRow("no float, flag ignored") << "Skin-30-dark" << true << "0xABCDEF"
                                            << "000";
    QTest::newRow("case-sensitive") << "Skin-30-Float-Dark" << true << "0xABCDEF"
                                    << "fff";
}

void ConfigXmlTest::skinDependentValues() {
    QFETCH(QString, skin);
    QFETCH(bool, hideBar);
    QFETCH(QString, jj);
    QFETCH(QString, ac);
    Run run;
    run.input.skinName = skin;
    run.input.options.hideControlsFloatingBar = hideBar;
    run.input.options.playerColor = QStringLiteral("ABCDEF");
    run.writeBoth();
    const Parsed upload = parse(TestFiles::readFile(run.uploadPath()));
    const Parsed local = parse(TestFiles::readFile(run.testPath()));
    QCOMPARE(upload.options.value("jj"), jj);
    QCOMPARE(local.options.value("jj"), QStringLiteral("0xABCDEF"));
    QCOMPARE(upload.options.value("ac"), ac);
    QCOMPARE(local.options.value("ac"), ac);
}

void ConfigXmlTest::rtmpStreamName_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::newRow("flv") << "a.flv"
                         << "a";
    QTest::newRow("mp4") << "b.mp4"
                         << "mp4:b.mp4";
    QTest::newRow("f4v") << "c.f4v"
                         << "f4v:c.f4v";
    QTest::newRow("m4v is cut") << "e.m4v"
                                << "e";
    QTest::newRow("upper-case MP4 is cut") << "d.MP4"
                                           << "d";
    QTest::newRow("no extension dot") << "movie_mp4"
                                      << "mp4:movie_mp4";
    QTest::newRow("too short") << "ab"
                               << "ab";
    QTest::newRow("empty") << ""
                           << "";
}

void ConfigXmlTest::rtmpStreamName() {
    QFETCH(QString, file);
    QFETCH(QString, name);
    QCOMPARE(ConfigXmlWriter::playlistRtmpStreamName(file), name);
}

void ConfigXmlTest::rtmpPlaylistRows() {
    Run run;
    run.setMode(StreamingMode::Rtmp);
    run.usePlaylist(PlaylistPosition::Right, PlaylistLayout::TitleOnly, 270);
    const QStringList files{"a.flv", "b.mp4", "c.f4v", "e.m4v", "d.MP4"};
    run.input.rows.clear();
    for (const QString& f : files)
        run.input.rows.append({f, "x.mp4", "x.webm", "T", "", ""});
    run.writeBoth();
    QCOMPARE(v1Values(parse(TestFiles::readFile(run.uploadPath()))),
             (QStringList{"a", "mp4:b.mp4", "f4v:c.f4v", "e", "d"}));
    QCOMPARE(v1Values(parse(TestFiles::readFile(run.testPath()))), files);
}

void ConfigXmlTest::playlistAttributes_data() {
    QTest::addColumn<PlaylistLayout>("layout");
    QTest::addColumn<StreamingMode>("mode");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QStringList>("upload");
    QTest::addColumn<QStringList>("local");
    using L = PlaylistLayout;
    using M = StreamingMode;
    QTest::newRow("titles, no HTML5") << L::TitleOnly << M::Normal << false
                                      << QStringList{"title", "v1"} << QStringList{"title", "v1"};
    QTest::newRow("titles, HTML5")
        << L::TitleOnly << M::Normal << true << QStringList{"title", "v1", "v2", "v3"}
        << QStringList{"title", "v1"};
    QTest::newRow("descriptions, HTML5, pseudo")
        << L::TitleDesc << M::Pseudo << true << QStringList{"title", "desc", "v1", "v2", "v3"}
        << QStringList{"title", "desc", "v1"};
    QTest::newRow("thumbnails, HTML5, rtmp")
        << L::TitleDescThumb << M::Rtmp << true << QStringList{"title", "desc", "v1", "pic"}
        << QStringList{"title", "desc", "v1", "pic"};
}

void ConfigXmlTest::playlistAttributes() {
    QFETCH(PlaylistLayout, layout);
    QFETCH(StreamingMode, mode);
    QFETCH(bool, html5);
    QFETCH(QStringList, upload);
    QFETCH(QStringList, local);
    Run run;
    run.usePlaylist(PlaylistPosition::Bottom, layout, 300);
    run.setMode(mode);
    run.input.useHtml5 = html5;
    run.input.rows = {{"one.flv", "one.mp4", "one.webm", "One", "First", "one.jpg"}};
    run.writeBoth();
    const Parsed uploaded = parse(TestFiles::readFile(run.uploadPath()));
    const Parsed tested = parse(TestFiles::readFile(run.testPath()));
    QCOMPARE(uploaded.videos.size(), 1);
    QCOMPARE(attributeNames(uploaded.videos[0]), upload);
    QCOMPARE(attributeNames(tested.videos[0]), local);
    QCOMPARE(uploaded.options.contains("yy"), html5);
}

void ConfigXmlTest::emptyPlaylistHasNoVideoLines() {
    Run run;
    run.usePlaylist(PlaylistPosition::Bottom, PlaylistLayout::TitleDesc, 0);
    run.input.rows.clear();
    for (const bool testCopy : {false, true}) {
        const QStringList lines = ConfigXmlWriter::lines(run.input, testCopy);
        QCOMPARE(lines.mid(lines.size() - 3), (QStringList{"<files>", "</files>", "</vidlark>"}));
    }
}

void ConfigXmlTest::overflowRaisesError6_data() {
    QTest::addColumn<PlaylistPosition>("position");
    QTest::addColumn<int>("playerWidth");
    QTest::addColumn<int>("playerHeight");
    QTest::addColumn<int>("playlistHeight");
    QTest::newRow("right: width plus list width") << PlaylistPosition::Right << 32600 << 270 << 270;
    QTest::newRow("bottom: three heights") << PlaylistPosition::Bottom << 480 << 270 << 32700;
    QTest::newRow("invisible: skin plus player")
        << PlaylistPosition::Invisible << 480 << 32750 << 0;
}

void ConfigXmlTest::overflowRaisesError6() {
    QFETCH(PlaylistPosition, position);
    QFETCH(int, playerWidth);
    QFETCH(int, playerHeight);
    QFETCH(int, playlistHeight);
    Run run;
    run.usePlaylist(position, PlaylistLayout::TitleDesc, qint16(playlistHeight));
    run.input.box.playerWidth = qint16(playerWidth);
    run.input.box.playerHeight = qint16(playerHeight);
    for (const bool testCopy : {false, true}) {
        try {
            testCopy ? OutputFile::write(ConfigXmlWriter::testConfigXml(run.input))
                     : OutputFile::write(ConfigXmlWriter::configXml(run.input));
            QFAIL("no overflow reported");
        } catch (const AppError& e) {
            QCOMPARE(e.number(), int(AppError::Overflow));
        }
    }
    // The file is built whole before it is written, so no half file is left behind.
    QVERIFY(!QFile::exists(run.uploadPath()));
    QVERIFY(!QFile::exists(run.testPath()));
}

void ConfigXmlTest::specialCharactersStayWellFormed() {
    Run run;
    run.usePlaylist(PlaylistPosition::Right, PlaylistLayout::TitleDescThumb, 270);
    run.input.useHtml5 = true;
    run.input.serverPath = QStringLiteral("http://x.example.com/a&b/");
    run.input.videoPath = QStringLiteral("http://x.example.com/v&w/");
    const PlaylistEntry row{"it's & <new>.flv", "a&b.mp4",       "a\"b.webm",
                            "Say \"Hi\" & go",  "a < b & c > d", "p&q.jpg"};
    run.input.rows = {row};
    run.input.options.redirectUrl = QStringLiteral("http://r.example.com/?a=1&b=<2>");
    run.input.options.affiliateLink = QStringLiteral("http://a.example.com/?x=\"1\"&y=2");
    run.writeBoth();
    const Parsed upload = parse(TestFiles::readFile(run.uploadPath()));
    QVERIFY2(upload.error.isEmpty(), qPrintable(upload.error));
    QCOMPARE(upload.options.value("vv"), run.input.options.redirectUrl);
    QCOMPARE(upload.options.value("uu"), run.input.options.affiliateLink);
    QCOMPARE(upload.options.value("tt"), run.input.serverPath);
    QCOMPARE(upload.options.value("yy"), run.input.serverPath + "thumbs/");
    const QList<QPair<QString, QString>> expected{{"title", row.Title},
                                                  {"desc", row.Description},
                                                  {"v1", run.input.videoPath + row.FlashFile},
                                                  {"v2", run.input.videoPath + row.Mp4File},
                                                  {"v3", run.input.videoPath + row.WebmFile},
                                                  {"pic", row.Thumbnail}};
    QCOMPARE(upload.videos.value(0), expected);
    const Parsed local = parse(TestFiles::readFile(run.testPath()));
    QVERIFY2(local.error.isEmpty(), qPrintable(local.error));
    QCOMPARE(v1Values(local), QStringList{row.FlashFile});
}

// A browser reads "#" as the start of a fragment, "?" as the start of a query and "%" as the start
// of an escape: in the name part of an HTML5 address they are percent-encoded. The folder part is
// an address the user typed and stays as it is; the Flash source keeps the plain name, which the
// player turns into its own requests.
void ConfigXmlTest::videoAddressesEncodeTheFileName_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<QString>("videoPath");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("encoded");
    const QString folder = QStringLiteral("http://x.example.com/my%20videos/");
    for (const bool playlist : {false, true}) {
        const char* kind = playlist ? "playlist" : "single";
        QTest::addRow("%s: hash", kind) << playlist << VideoPath << "clip#1"
                                        << "clip%231";
        QTest::addRow("%s: question mark", kind) << playlist << VideoPath << "why?"
                                                 << "why%3F";
        QTest::addRow("%s: percent and blank", kind) << playlist << VideoPath << "50% off"
                                                     << "50%25 off";
        QTest::addRow("%s: all three, twice", kind) << playlist << VideoPath << "a#b?c%d#"
                                                    << "a%23b%3Fc%25d%23";
        QTest::addRow("%s: plain name unchanged", kind) << playlist << VideoPath << "Café & co (1)"
                                                        << "Café & co (1)";
        QTest::addRow("%s: escaped folder kept as typed", kind) << playlist << folder << "clip#1"
                                                                << "clip%231";
    }
}

// The Flash player's address (v1) and the HTML5 ones, of the uploaded and of the local copy.
void ConfigXmlTest::videoAddressesEncodeTheFileName() {
    QFETCH(bool, playlist);
    QFETCH(QString, videoPath);
    QFETCH(QString, name);
    QFETCH(QString, encoded);
    Run run;
    run.input.useHtml5 = true;
    run.input.videoPath = videoPath;
    run.input.single.flv = name + ".flv";
    run.input.single.mp4 = name + ".mp4";
    run.input.single.webm = name + ".webm";
    if (playlist) {
        run.usePlaylist(PlaylistPosition::Bottom, PlaylistLayout::TitleOnly, 300);
        run.input.rows = {{name + ".flv", name + ".mp4", name + ".webm", "T", "", ""}};
    }
    run.writeBoth();
    const Parsed upload = parse(TestFiles::readFile(run.uploadPath()));
    QVERIFY2(upload.error.isEmpty(), qPrintable(upload.error));
    QMap<QString, QString> values;
    for (const auto& [attribute, value] : upload.videos.value(0))
        values[attribute] = value;
    QCOMPARE(values.value("v1"), videoPath + encoded + ".flv");
    QCOMPARE(values.value("v2"), videoPath + encoded + ".mp4");
    QCOMPARE(values.value("v3"), videoPath + encoded + ".webm");
    const Parsed local = parse(TestFiles::readFile(run.testPath()));
    QCOMPARE(v1Values(local), QStringList{encoded + ".flv"});
}

// The player puts a pseudo-streamed name into the seek script's query itself, and an RTMP
// stream name is no address: both stay as typed online. The local copy plays the file beside
// the page, so its address is encoded.
void ConfigXmlTest::seekScriptNamesStayBare_data() {
    QTest::addColumn<StreamingMode>("mode");
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<QString>("online");
    const QString name = QStringLiteral("take#1 why? 50%");
    for (const bool playlist : {false, true}) {
        const char* kind = playlist ? "playlist" : "single";
        QTest::addRow("pseudo, %s", kind) << StreamingMode::Pseudo << playlist << name + ".flv";
        QTest::addRow("rtmp, %s", kind) << StreamingMode::Rtmp << playlist << name;
    }
}

void ConfigXmlTest::seekScriptNamesStayBare() {
    QFETCH(StreamingMode, mode);
    QFETCH(bool, playlist);
    QFETCH(QString, online);
    const QString name = QStringLiteral("take#1 why? 50%");
    Run run;
    run.setMode(mode);
    run.input.single.flv = name + ".flv";
    run.input.single.flvRtmp = name;
    if (playlist) {
        run.usePlaylist(PlaylistPosition::Bottom, PlaylistLayout::TitleOnly, 300);
        run.input.rows = {{name + ".flv", "", "", "T", "", ""}};
    }
    run.writeBoth();
    QCOMPARE(v1Values(parse(TestFiles::readFile(run.uploadPath()))), QStringList{online});
    QCOMPARE(v1Values(parse(TestFiles::readFile(run.testPath()))),
             QStringList{QStringLiteral("take%231 why%3F 50%25.flv")});
}

void ConfigXmlTest::missingOutputFolderRaises() {
    Run run;
    run.input.outputFolder = run.outDir.path() + QStringLiteral("/missing/");
    QVERIFY_THROWS_EXCEPTION(AppError, OutputFile::write(ConfigXmlWriter::configXml(run.input)));
}

// Caption files are uploaded with the output folder. Over HTTP they sit beside the videos; an
// RTMP server streams only the videos, so there the players fetch the captions from the server
// path, the folder of the other uploaded files.
void ConfigXmlTest::captionAddressesFollowTheMode_data() {
    QTest::addColumn<StreamingMode>("mode");
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<QString>("folder");
    for (const bool playlist : {false, true}) {
        const char* kind = playlist ? "playlist" : "single";
        QTest::addRow("normal, %s", kind) << StreamingMode::Normal << playlist << VideoPath;
        QTest::addRow("pseudo, %s", kind) << StreamingMode::Pseudo << playlist << VideoPath;
        QTest::addRow("rtmp, %s", kind) << StreamingMode::Rtmp << playlist << ServerPath;
    }
}

void ConfigXmlTest::captionAddressesFollowTheMode() {
    QFETCH(StreamingMode, mode);
    QFETCH(bool, playlist);
    QFETCH(QString, folder);
    Run run;
    run.setMode(mode);
    run.input.videoPath =
        mode == StreamingMode::Rtmp ? QStringLiteral("rtmp://stream.example.com/vod/") : VideoPath;
    const CaptionTracks tracks{{"/subs/clip.en.srt", "en", "English"}};
    run.input.single.captions = tracks;
    if (playlist) {
        run.usePlaylist(PlaylistPosition::Bottom, PlaylistLayout::TitleOnly, 300);
        run.input.rows = {{"clip.flv", "clip.mp4", "clip.webm", "T", "", ""}};
        run.input.rows[0].Captions = tracks;
    }
    run.writeBoth();
    const auto ccOf = [](const Parsed& parsed) {
        for (const auto& [attribute, value] : parsed.videos.value(0))
            if (attribute == u"cc")
                return value;
        return QStringLiteral("(none)");
    };
    QCOMPARE(ccOf(parse(TestFiles::readFile(run.uploadPath()))), folder + "clip.en.vtt|en|English");
    QCOMPARE(ccOf(parse(TestFiles::readFile(run.testPath()))), QString("clip.en.vtt|en|English"));
}

QTEST_GUILESS_MAIN(ConfigXmlTest)
#include "tst_ConfigXml.moc"
