#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include "GenerationInputs.h"
#include "TestFiles.h"
#include "formats/ConfigXmlWriter.h"
#include "generate/RunDecisions.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"

namespace {

const QString ServerPath = QStringLiteral("http://www.example.com/video/");
const QString VideoPath = QStringLiteral("http://www.example.com/video/media/");

// Everything a generation run hands the writers, in the state the driver leaves it.
struct Run : WriterRun {
    QTemporaryDir appDir;

    Run() {
        skinName = QStringLiteral("Skin-30-plain");
        snapshot.PlayerWidth = 480;
        snapshot.PlayerHeight = 270;
        snapshot.SkinAllowance = 30;
        snapshot.PlayListFontSize = 11;
        snapshot.WidthPlaylist = 250;
        snapshot.GenerationTag = QStringLiteral("a0709");
        snapshot.ServerPath = ServerPath;
        snapshot.VideoPath = VideoPath;
        single.FlvVideoFileName = QStringLiteral("clip.flv");
        single.FlvVideoFileNameRTMP = QStringLiteral("clip");
        single.Mp4VideoFileName = QStringLiteral("clip.mp4");
        single.WebmVideoFileName = QStringLiteral("clip.webm");
        random.value = 0.25;
        QDir(appDir.path()).mkdir(QStringLiteral("temp"));
    }

    GenerationContext ctx() {
        return context(skinName, outDir.path() + FileOps::separator(), appDir.path());
    }
    void usePlaylist(PlaylistPosition position, PlaylistLayout layout, qint16 playlistHeight) {
        settings.Multiple = true;
        playlist.position = position;
        playlist.layout = layout;
        snapshot.PlaylistHeight = playlistHeight;
    }
    void setMode(StreamingMode mode) {
        settings.streamingMode = mode;
        snapshot.IsRtmp = mode == StreamingMode::Rtmp;
        snapshot.IsPseudo = mode == StreamingMode::Pseudo;
    }
    QString uploadPath() const { return outDir.path() + QStringLiteral("/zevoconfigsv.xml"); }
    QString testPath() const { return appDir.path() + QStringLiteral("/temp/zevoconfigsv.xml"); }

    // Both copies, the way the driver writes them: the run's decisions first.
    void writeBoth() {
        RunDecisions::decide(snapshot, settings.Multiple, random);
        OutputFile::write(ConfigXmlWriter::configXml(ctx()));
        OutputFile::write(ConfigXmlWriter::testConfigXml(ctx()));
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
    ProjectSettings& p = run.settings;
    const QString rtmpPath = QStringLiteral("rtmp://stream.example.com/vod/");
    if (name == u"playlist_invisible_title_normal") {
        run.usePlaylist(P::Invisible, L::TitleOnly, 0);
        p.PlayerColor = QStringLiteral("FFFFFF");
        p.AutoPlay = true;
    } else if (name == u"playlist_right_title_rtmp_html5") {
        run.usePlaylist(P::Right, L::TitleOnly, 270);
        run.setMode(StreamingMode::Rtmp);
        run.snapshot.VideoPath = rtmpPath;
        run.snapshot.UseHtml5 = true;
        run.skinName = QStringLiteral("Skin-20-dark");
        run.snapshot.SkinAllowance = 20;
        p.PlayerColor = QStringLiteral("000000");
        p.OutroImageName = QStringLiteral("outro.jpg");
    } else if (name == u"playlist_bottom_title_pseudo_html5") {
        run.usePlaylist(P::Bottom, L::TitleOnly, 180);
        run.setMode(StreamingMode::Pseudo);
        run.snapshot.UseHtml5 = true;
        run.skinName = QStringLiteral("Skin-30-float");
        run.advanced.HideControlsFloatingBar = true;
        p.PlayerColor = QStringLiteral("336699");
    } else if (name == u"playlist_right_title_pseudo") {
        run.usePlaylist(P::Right, L::TitleOnly, 270);
        run.setMode(StreamingMode::Pseudo);
        p.PlayerColor = QStringLiteral("ABCDEF");
        p.ShowEmbedCode = true;
        p.RedirectURL = QStringLiteral("   ");
        p.ActionCode = QStringLiteral("<b>Thanks</b>");
    } else if (name == u"playlist_right_desc_normal_html5") {
        run.usePlaylist(P::Right, L::TitleDesc, 270);
        run.snapshot.UseHtml5 = true;
        p.PlayerColor = QStringLiteral("630E0E");
        p.AffiliateLink = QStringLiteral("http://www.example.com/buy");
    } else if (name == u"playlist_bottom_desc_normal") {
        run.usePlaylist(P::Bottom, L::TitleDesc, 300);
        run.advanced.VideoBuffer = QStringLiteral("3");
        p.PlayerColor = QStringLiteral("112233");
        p.AutoProgress = true;
        p.ShowBigPlayButton = false;
        p.AudioLevel = QStringLiteral("80");
    } else if (name == u"playlist_invisible_desc_rtmp") {
        run.usePlaylist(P::Invisible, L::TitleDesc, 0);
        run.setMode(StreamingMode::Rtmp);
        run.snapshot.VideoPath = rtmpPath;
        p.PlayerColor = QStringLiteral("000000");
        p.IsLive = true;
    } else if (name == u"playlist_bottom_desc_pseudo_html5") {
        run.usePlaylist(P::Bottom, L::TitleDesc, 300);
        run.setMode(StreamingMode::Pseudo);
        run.snapshot.UseHtml5 = true;
        run.snapshot.PlayListFontSize = 12;
        p.PlayerColor = QStringLiteral("FFFFFF");
    } else if (name == u"playlist_invisible_thumb_rtmp_html5") {
        run.usePlaylist(P::Invisible, L::TitleDescThumb, 0);
        run.setMode(StreamingMode::Rtmp);
        run.snapshot.VideoPath = rtmpPath;
        run.snapshot.UseHtml5 = true;
        p.PlayerColor = QStringLiteral("630E0E");
        p.IntroImageName = QStringLiteral("intro.jpg");
    } else if (name == u"playlist_right_thumb_rtmp") {
        run.usePlaylist(P::Right, L::TitleDescThumb, 270);
        run.setMode(StreamingMode::Rtmp);
        run.snapshot.VideoPath = rtmpPath;
        run.skinName = QStringLiteral("Skin-30-float");
        p.PlayerColor = QStringLiteral("112233");
        p.IsLive = true;
    } else if (name == u"playlist_invisible_thumb_pseudo") {
        run.usePlaylist(P::Invisible, L::TitleDescThumb, 0);
        run.setMode(StreamingMode::Pseudo);
        p.PlayerColor = QStringLiteral("ABCDEF");
        p.AutoProgress = true;
        p.RedirectURL = QStringLiteral("http://www.example.com/next.html");
        p.ActionCode = QStringLiteral("<b>Thanks</b>");
    }
}

// Three rows whose Flash files give the three kinds of RTMP stream name, with text to escape.
void setUpPlaylistGoldenCase(Run& run, const QString& name) {
    using P = PlaylistPosition;
    using L = PlaylistLayout;
    ProjectSettings& p = run.settings;
    run.playlist.rows = {
        {"one.flv", "one.mp4", "one.webm", "First clip", "The first one", "one.jpg"},
        {"two.mp4", "two.mp4", "two.webm", "Second clip", "", "two.jpg"},
        {"three.f4v", "three.mp4", "three.webm", "Third & last", "Say \"bye\"", "three.jpg"},
    };
    if (name == u"playlist_bottom_title_normal_html5") {
        run.usePlaylist(P::Bottom, L::TitleOnly, 180);
        run.snapshot.UseHtml5 = true;
        p.PlayerColor = QStringLiteral("FFFFFF");
        p.AutoProgress = true;
    } else if (name == u"playlist_right_title_rtmp") {
        run.usePlaylist(P::Right, L::TitleOnly, 270);
        run.setMode(StreamingMode::Rtmp);
        run.snapshot.VideoPath = QStringLiteral("rtmp://stream.example.com/vod/");
        run.skinName = QStringLiteral("Skin-30-float");
        p.PlayerColor = QStringLiteral("000000");
        p.IsLive = true;
    } else if (name == u"playlist_invisible_desc_pseudo") {
        run.usePlaylist(P::Invisible, L::TitleDesc, 0);
        run.setMode(StreamingMode::Pseudo);
        p.PlayerColor = QStringLiteral("336699");
        p.RedirectURL = QStringLiteral("http://www.example.com/next.html");
    } else if (name == u"playlist_bottom_desc_rtmp_html5") {
        run.usePlaylist(P::Bottom, L::TitleDesc, 300);
        run.setMode(StreamingMode::Rtmp);
        run.snapshot.VideoPath = QStringLiteral("rtmp://stream.example.com/vod/");
        run.snapshot.UseHtml5 = true;
        run.skinName = QStringLiteral("Skin-20-dark");
        run.snapshot.SkinAllowance = 20;
        p.PlayerColor = QStringLiteral("630E0E");
    } else if (name == u"playlist_bottom_thumb_normal") {
        run.usePlaylist(P::Bottom, L::TitleDescThumb, 300);
        run.snapshot.PlayListFontSize = 12;
        p.PlayerColor = QStringLiteral("ABCDEF");
        p.ShowEmbedCode = true;
        p.ActionCode = QStringLiteral("<b>Thanks</b>");
    } else if (name == u"playlist_right_thumb_pseudo_html5") {
        run.usePlaylist(P::Right, L::TitleDescThumb, 270);
        run.setMode(StreamingMode::Pseudo);
        run.snapshot.UseHtml5 = true;
        p.PlayerColor = QStringLiteral("112233");
        p.IntroImageName = QStringLiteral("intro.jpg");
        p.AffiliateLink = QStringLiteral("http://www.example.com/buy?a=1&b=2");
    } else {
        setUpMorePlaylistGoldenCases(run, name);
    }
}

// Captions are written last on a video's line, and only on the lines of videos that have them.
void setUpCaptionGoldenCase(Run& run, const QString& name) {
    if (name == u"single_captions") {
        run.single.Captions = {
            {"/subs/clip 50%#1.en.srt", "en", "English \"CC\" | 100%"},
            {"/subs/fr|x.vtt", "fr-CA", QStringLiteral("Fran\u00e7ais & co")},
        };
        return;
    }
    run.playlist.rows[1].Captions = {{"/subs/two.srt", "", ""}};
}

void setUpGoldenCase(Run& run, const QString& name) {
    ProjectSettings& p = run.settings;
    if (name.contains(u"captions")) {
        setUpGoldenCase(run, name == u"single_captions"
                                 ? QStringLiteral("single_normal_html5")
                                 : QStringLiteral("playlist_right_thumb_html5"));
        setUpCaptionGoldenCase(run, name);
    } else if (name == u"single_normal_html5") {
        run.skinName = QStringLiteral("Skin-30-float");
        run.advanced.HideControlsFloatingBar = true;
        p.PlayerColor = QStringLiteral("630E0E");
        p.AutoPlay = true;
        p.IntroImageName = QStringLiteral("intro.jpg");
        p.ShowEmbedCode = true;
        p.AffiliateLink = QStringLiteral("http://www.example.com/buy");
        run.snapshot.UseHtml5 = true;
    } else if (name == u"single_normal") {
        run.skinName = QStringLiteral("Skin-20-dark");
        run.snapshot.SkinAllowance = 20;
        run.advanced.HideControlsFloatingBar = true;
        run.advanced.VideoBuffer = QStringLiteral("3");
        p.PlayerColor = QStringLiteral("FFFFFF");
        p.AutoProgress = true;
        p.ShowBigPlayButton = false;
        p.AudioLevel = QStringLiteral("80");
        p.OutroImageName = QStringLiteral("outro.jpg");
        p.AffiliateLink = QStringLiteral("   ");
        p.ActionCode = QStringLiteral("<b>Thanks</b>");
    } else if (name == u"single_rtmp") {
        run.skinName = QStringLiteral("Skin-30-float");
        run.setMode(StreamingMode::Rtmp);
        run.snapshot.VideoPath = QStringLiteral("rtmp://stream.example.com/vod/");
        run.snapshot.UseHtml5 = true;  // the box is hidden in Rtmp mode but still counts
        p.PlayerColor = QStringLiteral("000000");
        p.AutoPlay = true;
        p.IsLive = true;
        p.RedirectURL = QStringLiteral("http://www.example.com/thanks.html");
        p.ActionCode = QStringLiteral("<p>x</p>");
    } else if (name == u"single_pseudo") {
        run.setMode(StreamingMode::Pseudo);
        run.snapshot.UseHtml5 = true;
        p.PlayerColor = QStringLiteral("336699");
    } else if (name == u"playlist_right_thumb_html5") {
        run.usePlaylist(PlaylistPosition::Right, PlaylistLayout::TitleDescThumb, 270);
        run.snapshot.UseHtml5 = true;
        run.snapshot.PlayListFontSize = 12;
        p.PlayerColor = QStringLiteral("630E0E");
        run.playlist.rows = {
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
    void html5AddressesEncodeTheFileName_data();
    void html5AddressesEncodeTheFileName();
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
    run.settings.Multiple = multiple;
    run.random.values << uniform << 0.5;  // a second draw would give another code
    run.snapshot.VideoModeCode = 7;       // left over from an earlier run
    run.writeBoth();
    QCOMPARE(run.snapshot.VideoModeCode, code);
    QCOMPARE(run.random.reseeds, 1);
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
    run.settings.Multiple = multiple;
    run.settings.AutoProgress = autoProgress;
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
    run.settings.IsLive = live;
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
    run.settings.RedirectURL = redirect;
    run.settings.ActionCode = action;
    run.settings.AffiliateLink = affiliate;
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
    run.skinName = skin;
    run.advanced.HideControlsFloatingBar = hideBar;
    run.settings.PlayerColor = QStringLiteral("ABCDEF");
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
    run.playlist.rows.clear();
    for (const QString& f : files)
        run.playlist.rows.append({f, "x.mp4", "x.webm", "T", "", ""});
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
    run.snapshot.UseHtml5 = html5;
    run.playlist.rows = {{"one.flv", "one.mp4", "one.webm", "One", "First", "one.jpg"}};
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
    run.playlist.rows.clear();
    for (const bool testCopy : {false, true}) {
        const QStringList lines = ConfigXmlWriter::lines(run.ctx(), testCopy);
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
    run.snapshot.PlayerWidth = qint16(playerWidth);
    run.snapshot.PlayerHeight = qint16(playerHeight);
    for (const bool testCopy : {false, true}) {
        try {
            testCopy ? OutputFile::write(ConfigXmlWriter::testConfigXml(run.ctx()))
                     : OutputFile::write(ConfigXmlWriter::configXml(run.ctx()));
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
    run.snapshot.UseHtml5 = true;
    run.snapshot.ServerPath = QStringLiteral("http://x.example.com/a&b/");
    run.snapshot.VideoPath = QStringLiteral("http://x.example.com/v&w/");
    const PlaylistEntry row{"it's & <new>.flv", "a&b.mp4",       "a\"b.webm",
                            "Say \"Hi\" & go",  "a < b & c > d", "p&q.jpg"};
    run.playlist.rows = {row};
    run.settings.RedirectURL = QStringLiteral("http://r.example.com/?a=1&b=<2>");
    run.settings.AffiliateLink = QStringLiteral("http://a.example.com/?x=\"1\"&y=2");
    run.writeBoth();
    const Parsed upload = parse(TestFiles::readFile(run.uploadPath()));
    QVERIFY2(upload.error.isEmpty(), qPrintable(upload.error));
    QCOMPARE(upload.options.value("vv"), run.settings.RedirectURL);
    QCOMPARE(upload.options.value("uu"), run.settings.AffiliateLink);
    QCOMPARE(upload.options.value("tt"), run.snapshot.ServerPath);
    QCOMPARE(upload.options.value("yy"), run.snapshot.ServerPath + "thumbs/");
    const QList<QPair<QString, QString>> expected{{"title", row.Title},
                                                  {"desc", row.Description},
                                                  {"v1", run.snapshot.VideoPath + row.FlashFile},
                                                  {"v2", run.snapshot.VideoPath + row.Mp4File},
                                                  {"v3", run.snapshot.VideoPath + row.WebmFile},
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
void ConfigXmlTest::html5AddressesEncodeTheFileName_data() {
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

void ConfigXmlTest::html5AddressesEncodeTheFileName() {
    QFETCH(bool, playlist);
    QFETCH(QString, videoPath);
    QFETCH(QString, name);
    QFETCH(QString, encoded);
    Run run;
    run.snapshot.UseHtml5 = true;
    run.snapshot.VideoPath = videoPath;
    run.single.FlvVideoFileName = name + ".flv";
    run.single.Mp4VideoFileName = name + ".mp4";
    run.single.WebmVideoFileName = name + ".webm";
    if (playlist) {
        run.usePlaylist(PlaylistPosition::Bottom, PlaylistLayout::TitleOnly, 300);
        run.playlist.rows = {{name + ".flv", name + ".mp4", name + ".webm", "T", "", ""}};
    }
    run.writeBoth();
    const Parsed upload = parse(TestFiles::readFile(run.uploadPath()));
    QVERIFY2(upload.error.isEmpty(), qPrintable(upload.error));
    QMap<QString, QString> values;
    for (const auto& [attribute, value] : upload.videos.value(0))
        values[attribute] = value;
    QCOMPARE(values.value("v1"), videoPath + name + ".flv");
    QCOMPARE(values.value("v2"), videoPath + encoded + ".mp4");
    QCOMPARE(values.value("v3"), videoPath + encoded + ".webm");
    const Parsed local = parse(TestFiles::readFile(run.testPath()));
    QCOMPARE(v1Values(local), QStringList{name + ".flv"});
}

void ConfigXmlTest::missingOutputFolderRaises() {
    Run run;
    GenerationContext ctx = run.ctx();
    ctx.outputFolder = run.outDir.path() + QStringLiteral("/missing/");
    QVERIFY_THROWS_EXCEPTION(AppError, OutputFile::write(ConfigXmlWriter::configXml(ctx)));
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
    run.snapshot.VideoPath =
        mode == StreamingMode::Rtmp ? QStringLiteral("rtmp://stream.example.com/vod/") : VideoPath;
    const CaptionTracks tracks{{"/subs/clip.en.srt", "en", "English"}};
    run.single.Captions = tracks;
    if (playlist) {
        run.usePlaylist(PlaylistPosition::Bottom, PlaylistLayout::TitleOnly, 300);
        run.playlist.rows = {{"clip.flv", "clip.mp4", "clip.webm", "T", "", ""}};
        run.playlist.rows[0].Captions = tracks;
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
