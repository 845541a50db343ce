#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "models/PlaylistEditorModel.h"
#include "models/SingleVideoDialogModel.h"
#include "platform/AppError.h"
#include "settings/ProfileFile.h"

namespace {

// A profile as the desktop program saves it, 26 values; tests change single lines.
QStringList profileValues() {
    return {"SIN1",
            "0",
            "0",
            "1",
            "1",
            "16763904",
            "0000FF",
            "1",
            "1",
            "75",
            "0",
            "intro.jpg",
            "/pics/intro.jpg",
            "",
            "",
            "http://example.com/site/",
            "http://cdn.example.com/v/",
            "/home/u/out/",
            "1",
            "http://example.com/after",
            "http://example.com/aff",
            "<b>Buy</b>\r\n<i>now</i>",
            "1",
            "0",
            "",
            ""};
}

struct Fixture {
    TestInstallation install;
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.paths(), dialogs, views, clock, random};

    Fixture() { controller.loadInstallation(); }

    void readProfile(const QStringList& values) {
        const QString file = install.path("p.epe");
        ProfileFile::write(file, values);
        controller.readProfile(file);
    }
};

}  // namespace

class MainControllerTest : public QObject {
    Q_OBJECT

  private slots:
    void startsWithFirstSkinPaletteAndSize();
    void emptySkinFolderIsReported();
    void malformedSizeKeepsPreviousSize();
    void profileAppliesEveryLine();
    void shortProfileChangesOnlyItsLines();
    void skinIndexPastListStopsAfterEarlierLines();
    void rtmpProfileWhileRtmpIsCurrent();
    void liveProfileKeepsSavedTexts();
    void socialLineDoesNotOpenDialog();
    void unknownMarkerLeavesChoice();
    void laterOptionsFollowTheProfile_data();
    void laterOptionsFollowTheProfile();
    void missingProfileChangesNothing();
    void generateSingleVideo();
    void generateStopsOnIncompleteSelection();
    void generateStopsOnPlaylistNameThatIsNotPlain();
    void openingSaysWhenNothingCouldOpen_data();
    void openingSaysWhenNothingCouldOpen();
    void webPageSaysWhenNothingCouldOpen_data();
    void webPageSaysWhenNothingCouldOpen();
};

void MainControllerTest::startsWithFirstSkinPaletteAndSize() {
    Fixture f;
    QCOMPARE(f.controller.skins(), (QStringList{"Skin-30-dark", "Skin-40-light"}));
    QCOMPARE(f.controller.skinName(), QStringLiteral("Skin-30-dark"));
    QCOMPARE(f.controller.settings().PlayerColor, QStringLiteral("630E0E"));
    QCOMPARE(f.controller.settings().PlayerColorNumber, quint32(0x63 + 256 * 0x0E + 65536 * 0x0E));
    QCOMPARE(f.controller.playerSizes().width(), qint16(480));
    QCOMPARE(f.controller.advancedOptions().ErrorFlash, QStringLiteral("No Flash here"));
    QVERIFY(f.controller.videoFilesStatusVisible());  // no video chosen yet
    QCOMPARE(f.dialogs.messages.size(), 0);
    f.controller.selectSkin(1);
    QCOMPARE(f.controller.settings().PlayerColor, QStringLiteral("FFCC66"));
}

void MainControllerTest::emptySkinFolderIsReported() {
    TestInstallation install(QStringList{});
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller(install.paths(), dialogs, views, clock, random);
    QVERIFY(!controller.loadInstallation());
    QCOMPARE(dialogs.texts(), QStringList{"NO PLAYER SKINS FOUND. PLEASE REINSTALL THE SOFTWARE."});
    QCOMPARE(controller.skinName(), QString());
}

void MainControllerTest::malformedSizeKeepsPreviousSize() {
    TestInstallation install({"Skin-30-dark"}, {"640x360", "big"});
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller(install.paths(), dialogs, views, clock, random);
    controller.loadInstallation();
    controller.selectPlayerSize(1);
    QCOMPARE(controller.playerSizes().width(), qint16(640));
    QCOMPARE(controller.playerSizes().height(), qint16(360));
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.contains("\"big\""));
    QVERIFY_THROWS_EXCEPTION(AppError, controller.selectPlayerSize(2));
}

void MainControllerTest::profileAppliesEveryLine() {
    Fixture f;
    QStringList values = profileValues();
    values[12] = f.install.path("intro.jpg");  // the load renders it, so it has to exist
    QImage intro(64, 48, QImage::Format_RGB32);
    intro.fill(Qt::white);
    QVERIFY(intro.save(values[12], "JPG"));
    f.readProfile(values);
    const ProjectSettings& s = f.controller.settings();
    QVERIFY(!s.Multiple);
    QCOMPARE(s.streamingMode, StreamingMode::Normal);
    QCOMPARE(f.controller.skinName(), QStringLiteral("Skin-40-light"));
    QCOMPARE(f.controller.playerSizes().width(), qint16(640));
    QCOMPARE(s.PlayerColor, QStringLiteral("0000FF"));
    QCOMPARE(s.PlayerColorNumber, quint32(0xFF0000));  // line 7's text wins over line 6
    QVERIFY(s.AutoPlay && s.AutoProgress && !s.ShowBigPlayButton && s.Encrypt && s.ShowEmbedCode);
    QVERIFY(!f.controller.window().states().cmdIntroImageEnabled);
    QCOMPARE(s.AudioLevel, QStringLiteral("75"));
    QCOMPARE(s.IntroImageName, QStringLiteral("intro.jpg"));
    QCOMPARE(s.IntroImagePath, values[12]);
    QCOMPARE(s.ServerPath, QStringLiteral("http://example.com/site/"));
    QCOMPARE(s.VideoPath, QStringLiteral("http://cdn.example.com/v/"));
    QCOMPARE(s.OutDir, QStringLiteral("/home/u/out/"));
    QCOMPARE(f.controller.window().states().lblOutDirToolTip, QStringLiteral(" /home/u/out/ "));
    QCOMPARE(s.RedirectURL, QStringLiteral("http://example.com/after"));
    QCOMPARE(s.AffiliateLink, QStringLiteral("http://example.com/aff"));
    QCOMPARE(s.ActionCode, QStringLiteral("<b>Buy</b>\r\n<i>now</i>"));
    QVERIFY(!f.controller.window().loadingProfile());
}

void MainControllerTest::shortProfileChangesOnlyItsLines() {
    Fixture f;
    f.readProfile({"MUL3", "0", "1", "1", "1"});
    const ProjectSettings& s = f.controller.settings();
    QVERIFY(s.Multiple);
    QCOMPARE(s.streamingMode, StreamingMode::Pseudo);
    QVERIFY(s.Html5);
    QCOMPARE(f.controller.skinName(), QStringLiteral("Skin-40-light"));
    QCOMPARE(f.controller.playerSizes().height(), qint16(360));
    QCOMPARE(s.PlayerColor, QStringLiteral("FFCC66"));  // the new skin's palette
    QCOMPARE(s.ServerPath, QStringLiteral("http://"));
    QCOMPARE(s.AudioLevel, QStringLiteral("50"));
}

void MainControllerTest::skinIndexPastListStopsAfterEarlierLines() {
    Fixture f;
    QStringList values = profileValues();
    values[0] = "MUL1";
    values[2] = "1";
    values[3] = "7";
    try {
        f.readProfile(values);
        QFAIL("a skin index past the list was taken");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), int(AppError::SubscriptOutOfRange));
    }
    QVERIFY(f.controller.settings().Multiple);
    QVERIFY(f.controller.settings().Html5);
    QCOMPARE(f.controller.skinName(), QStringLiteral("Skin-30-dark"));
    QCOMPARE(f.controller.playerSizes().width(), qint16(480));  // line 5 not reached
    QVERIFY(!f.controller.window().loadingProfile());
}

void MainControllerTest::rtmpProfileWhileRtmpIsCurrent() {
    Fixture f;
    f.controller.window().selectStreamingMode(StreamingMode::Rtmp);
    f.controller.window().change(&ProjectSettings::VideoPath, "rtmp://typed/app/");
    QStringList values = profileValues().mid(0, 16);
    values[0] = "SIN2";
    f.readProfile(values);
    QCOMPARE(f.controller.settings().VideoPath, QStringLiteral("rtmp://typed/app/"));
    values.append("rtmp://saved/app/");
    f.readProfile(values);
    QCOMPARE(f.controller.settings().VideoPath, QStringLiteral("rtmp://saved/app/"));
}

void MainControllerTest::liveProfileKeepsSavedTexts() {
    Fixture f;
    QStringList values = profileValues();
    values[0] = "SIN2";
    values[1] = "1";
    values[19] = "Not Applicable";
    values[21] = "Not Applicable";
    values[22] = "0";
    f.readProfile(values);
    QVERIFY(f.controller.settings().IsLive);
    QCOMPARE(f.controller.settings().RedirectURL, QStringLiteral("Not Applicable"));
    QCOMPARE(f.controller.settings().ActionCode, QStringLiteral("Not Applicable"));
    QVERIFY(!f.controller.window().states().txtRedirectURLEnabled);
    QVERIFY(!f.controller.window().states().txtActionCodeEnabled);
    QVERIFY(!f.controller.window().states().optMultipleEnabled);
}

void MainControllerTest::socialLineDoesNotOpenDialog() {
    Fixture f;
    QStringList values = profileValues();
    values[23] = "1";
    values[24] = QString::fromUtf8("Café – “Holiday” €");
    values[25] = "http://example.com/page?a=1&b=2";
    f.readProfile(values);
    QVERIFY(f.controller.settings().SocialShare);
    QVERIFY(!f.views.log.contains("socialDialog"));
    QCOMPARE(f.controller.settings().ShareTitle, values[24]);
    QCOMPARE(f.controller.settings().ShareURL, values[25]);
}

void MainControllerTest::unknownMarkerLeavesChoice() {
    Fixture f;
    f.controller.window().selectMultiple();
    f.readProfile({"XYZ3"});
    QVERIFY(f.controller.settings().Multiple);
    QCOMPARE(f.controller.settings().streamingMode, StreamingMode::Pseudo);
}

void MainControllerTest::laterOptionsFollowTheProfile_data() {
    QTest::addColumn<QStringList>("laterLines");
    QTest::addColumn<bool>("playsInline");
    QTest::addColumn<bool>("mutedAutoPlay");
    QTest::addColumn<bool>("fluidSize");
    QTest::newRow("26 lines, as older versions save") << QStringList{} << false << false << false;
    QTest::newRow("inline play on") << QStringList{"1"} << true << false << false;
    QTest::newRow("muted start on") << QStringList{"0", "1"} << false << true << false;
    QTest::newRow("both on") << QStringList{"1", "1"} << true << true << false;
    QTest::newRow("28 lines: fit to page width off")
        << QStringList{"1", "1"} << true << true << false;
    QTest::newRow("fit to page width on") << QStringList{"0", "0", "1"} << false << false << true;
}

// Saving leaves out the later lines at their start values, so their absence means off: a
// profile saved with the options off turns them off again, whatever the window had.
void MainControllerTest::laterOptionsFollowTheProfile() {
    QFETCH(QStringList, laterLines);
    QFETCH(bool, playsInline);
    QFETCH(bool, mutedAutoPlay);
    QFETCH(bool, fluidSize);
    Fixture f;
    f.controller.window().settings().PlaysInline = true;
    f.controller.window().settings().MutedAutoPlay = true;
    f.controller.window().settings().FluidSize = true;
    f.readProfile(profileValues() + laterLines);
    QCOMPARE(f.controller.settings().PlaysInline, playsInline);
    QCOMPARE(f.controller.settings().MutedAutoPlay, mutedAutoPlay);
    QCOMPARE(f.controller.settings().FluidSize, fluidSize);
}

void MainControllerTest::missingProfileChangesNothing() {
    Fixture f;
    try {
        f.controller.readProfile(f.install.path("none.epe"));
        QFAIL("read a missing profile");
    } catch (const AppError& e) {
        QCOMPARE(commonErrorMessage(e),
                 QStringLiteral("ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.\nReading ") +
                     f.install.path("none.epe") + QStringLiteral("\nNo such file or directory"));
    }
    QCOMPARE(f.controller.settings().ServerPath, QStringLiteral("http://"));
}

void MainControllerTest::generateSingleVideo() {
    Fixture f;
    const QString video = f.install.path("clip.flv");
    QFile file(video);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    f.controller.window().change(&ProjectSettings::ServerPath, "http://example.com/site");
    f.controller.window().change(&ProjectSettings::OutDir, f.install.outputFolder());
    f.dialogs.openAnswers.enqueue(QStringList{video});
    f.controller.singleVideo().show();
    f.controller.singleVideo().chooseFlashFile();
    f.controller.singleVideo().save();
    QVERIFY(!f.controller.videoFilesStatusVisible());

    QCOMPARE(f.controller.generate(), MainController::GenerateOutcome::Completed);
    const GenerationSnapshot& snap = f.controller.snapshot();
    QCOMPARE(snap.GenerationTag, QStringLiteral("a0709"));
    QCOMPARE(snap.EmbedCode,
             QStringLiteral("<script type=\"text/javascript\" "
                            "src=\"http://example.com/site/zevocoresva0709.js\"></script>"));
    QCOMPARE(f.views.shownEmbedCode, snap.EmbedCode);
    const QDir out(f.install.outputFolder());
    const QString injection =
        '"' + f.install.appFolder() + "/flvmdi\" /k /l \"" + out.filePath("clip.flv") + '"';
    QCOMPARE(f.views.log.mid(f.views.log.indexOf("busy:1")),
             (QStringList{"busy:1", "inject:" + injection, "codeWindow", "busy:0"}));
    QCOMPARE(out.entryList(QDir::Files, QDir::Name),
             (QStringList{"Skin-30-dark.swf", "clip.flv", "onlinetest.html", "zevoconfigsv.xml",
                          "zevocoresva0709.js", "zevoflashsva0709.js", "zevoswf.js"}));
    QVERIFY(QFile::exists(f.install.path("app/temp/zevoconfigsv.xml")));
    QVERIFY(TestFiles::readFile(out.filePath("zevoconfigsv.xml"))
                .contains("v1=\"http://example.com/site/clip.flv\""));
}

void MainControllerTest::generateStopsOnIncompleteSelection() {
    Fixture f;
    f.controller.window().change(&ProjectSettings::OutDir, f.install.outputFolder());
    QCOMPARE(f.controller.generate(), MainController::GenerateOutcome::Stopped);
    QCOMPARE(f.dialogs.texts(), QStringList{"PLEASE SAVE YOUR VIDEO FILE LIST FIRST!"});
    QVERIFY(f.views.log.contains("singleVideoDialog"));
    QCOMPARE(QDir(f.install.outputFolder()).entryList(QDir::Files), QStringList{});
}

// A file system that allows an escape character in a name hands it to the editor through the
// file chooser; the run stops before the configuration file could carry it.
void MainControllerTest::generateStopsOnPlaylistNameThatIsNotPlain() {
    Fixture f;
    f.controller.window().change(&ProjectSettings::ServerPath, "http://example.com/site");
    f.controller.window().change(&ProjectSettings::OutDir, f.install.outputFolder());
    f.controller.window().selectMultiple();
    PlaylistEditorModel& editor = f.controller.playlistEditor();
    editor.show();
    f.dialogs.openAnswers.enqueue(
        QStringList{"/v/a.flv", QStringLiteral("/v/b") + QChar(0x1B) + QStringLiteral(".flv")});
    editor.addFlashFiles();
    editor.setCellText(1, PlaylistEditorModel::TitleColumn, "A");
    editor.setCellText(2, PlaylistEditorModel::TitleColumn, "B");
    editor.save();
    QVERIFY(!f.controller.videoFilesStatusVisible());

    QCOMPARE(f.controller.generate(), MainController::GenerateOutcome::Stopped);
    QCOMPARE(f.dialogs.texts(),
             QStringList{"THE FLV/MP4 VIDEO FILE OF ROW 2 IS NOT A PLAIN FILE NAME: IT HOLDS A "
                         "CONTROL CHARACTER (CODE 27). PLEASE REPLACE IT IN THE PLAYLIST."});
    QVERIFY(f.views.log.contains("playlistEditor"));
    QCOMPARE(QDir(f.install.outputFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
}

void MainControllerTest::openingSaysWhenNothingCouldOpen_data() {
    QTest::addColumn<bool>("documentation");  // Help -> Documentation, or "Open Output Folder"
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("given");  // what the desktop is asked to open
    QTest::addColumn<QStringList>("messages");
    const QString folderMessage =
        "THE OUTPUT FOLDER COULD NOT BE OPENED. NO PROGRAM TO OPEN IT WAS FOUND.\n/home/u/out/";
    const QString pageMessage =
        "THE DOCUMENTATION COULD NOT BE OPENED. NO PROGRAM TO OPEN IT WAS "
        "FOUND.\nhttp://www.vidlark.com/documentation";
    QTest::newRow("folder opened")
        << false << true << "/home/u/out/onlinetest.html" << QStringList{};
    QTest::newRow("folder: no program")
        << false << false << "/home/u/out/onlinetest.html" << QStringList{folderMessage};
    QTest::newRow("documentation opened")
        << true << true << "http://www.vidlark.com/documentation" << QStringList{};
    QTest::newRow("documentation: no program")
        << true << false << "http://www.vidlark.com/documentation" << QStringList{pageMessage};
}

// The support, social and About links name the page that nothing could open.
void MainControllerTest::webPageSaysWhenNothingCouldOpen_data() {
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("opened") << true << QStringList{};
    QTest::newRow("no program") << false
                                << QStringList{
                                       "THE WEB PAGE COULD NOT BE OPENED. NO PROGRAM TO "
                                       "OPEN IT WAS FOUND.\nhttp://example.com/support"};
}

void MainControllerTest::webPageSaysWhenNothingCouldOpen() {
    QFETCH(bool, opened);
    QFETCH(QStringList, messages);
    Fixture f;
    QStringList asked;
    f.controller.openWebPage("http://example.com/support", [&](const QString& what) {
        asked.append(what);
        return opened;
    });
    QCOMPARE(asked, QStringList{"http://example.com/support"});
    QCOMPARE(f.dialogs.texts(), messages);
}

void MainControllerTest::openingSaysWhenNothingCouldOpen() {
    QFETCH(bool, documentation);
    QFETCH(bool, opened);
    QFETCH(QString, given);
    QFETCH(QStringList, messages);
    Fixture f;
    f.controller.window().change(&ProjectSettings::OutDir, "/home/u/out/");
    QStringList asked;
    const auto open = [&](const QString& what) {
        asked.append(what);
        return opened;
    };
    if (documentation)
        f.controller.openDocumentation(open);
    else
        f.controller.openOutputFolder(open);
    QCOMPARE(asked, QStringList{given});
    QCOMPARE(f.dialogs.texts(), messages);
    for (const FakeDialogs::Shown& shown : f.dialogs.messages)
        QCOMPARE(shown.icon, Dialogs::Icon::Critical);
}

QTEST_GUILESS_MAIN(MainControllerTest)
#include "tst_MainController.moc"
