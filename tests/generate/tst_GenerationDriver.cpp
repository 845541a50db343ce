#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "generate/GenerationContext.h"
#include "generate/GenerationDriver.h"

namespace {

struct Run {
    TestInstallation install;
    GenerationSnapshot snapshot;
    ProjectSettings settings;
    AdvancedOptions advanced;
    SingleVideo single;
    Playlist playlist;
    FakeRandom random;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeViews views;
    QString skin = QStringLiteral("Skin-30-dark");
    QString outputFolder = install.outputFolder();

    Run() {
        settings.ServerPath = QStringLiteral("http://example.com/");
        settings.VideoPath = QStringLiteral("http://example.com/");
        single.FlvVideoFileName = QStringLiteral("clip.flv");
        playlist.rows = {PlaylistEntry{"a.flv", "", "", "A", "", ""}};
    }

    bool go(qint16 width = 480, qint16 height = 270) {
        GenerationContext ctx{snapshot, settings, advanced,     single,
                              playlist, skin,     outputFolder, install.appFolder(),
                              random};
        return GenerationDriver::run(ctx, width, height, clock, dialogs, views);
    }
};

}  // namespace

class GenerationDriverTest : public QObject {
    Q_OBJECT

  private slots:
    void completedRunShowsCodeWindow();
    void failures_data();
    void failures();
    void playlistValuesAreNotReadForSingleVideo();
    void snapshotFields();
};

void GenerationDriverTest::completedRunShowsCodeWindow() {
    Run r;
    QVERIFY(r.go());
    QCOMPARE(r.views.log, (QStringList{"busy:1", "codeWindow", "busy:0"}));
    QCOMPARE(r.dialogs.messages.size(), 0);
    QCOMPARE(r.views.shownEmbedCode, r.snapshot.EmbedCode);
    QVERIFY(r.views.shownInstructions.startsWith("Vidlark output folder on your local PC:\r\n" +
                                                 r.outputFolder + "\r\n"));
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
