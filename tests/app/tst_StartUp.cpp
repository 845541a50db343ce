#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "app/HelpTexts.h"
#include "app/MainController.h"
#include "app/ProfileCommands.h"
#include "app/StartUp.h"
#include "media/PlaylistFile.h"
#include "models/PlaylistEditorModel.h"
#include "platform/InstanceGuard.h"
#include "platform/Scrambler.h"
#include "platform/TextFile.h"
#include "settings/ProfileFile.h"

namespace {

struct App {
    TestInstallation install;
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.paths(), dialogs, views, clock, random};
    InstanceGuard guard{install.path("lock")};

    void scratch(const QString& name) {
        TextFile::writeLines(install.path("app/temp/" + name), {"x"});
    }
    QStringList files(const QString& folder) const {
        return QDir(install.path(folder)).entryList(QDir::Files);
    }
};

// Two rows with titles and descriptions, under the player, HTML5 copies on.
Playlist twoRowPlaylist() {
    Playlist playlist;
    playlist.layout = PlaylistLayout::TitleDesc;
    playlist.position = PlaylistPosition::Bottom;
    playlist.FLVVideoFilesPath = QStringLiteral("/videos/");
    playlist.Mp4VideoFilesPath = QStringLiteral("/videos/");
    playlist.rows = {{"one.flv", "one.mp4", {}, "One", "First", {}, {}},
                     {"two.flv", "two.mp4", {}, "Two", "Second", {}, {}}};
    return playlist;
}

const QString kMissing =
    QStringLiteral("PREVIOUS SESSION FILE MISSING. CHECK ALL VIDEO AND IMAGE FILE LOCATIONS.");

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

  private slots:
    void secondCopyEndsWithoutTouchingScratch();
    void startUpEmptiesScratchAndLoadsQuotedProfile();
    void profileArgument_data();
    void profileArgument();
    void profileProblems_data();
    void profileProblems();
    void playlistPath_data();
    void playlistPath();
    void playlistArgumentOpensEditor_data();
    void playlistArgumentOpensEditor();
    void playlistProblems_data();
    void playlistProblems();
    void close_data();
    void close();
    void profileSaveAndLoadRoundTrip();
    void profileValueThatCannotBeStored();
    void profileWithControlCharacterChangesNothing_data();
    void profileWithControlCharacterChangesNothing();
    void tintBoxesAndDialog();
    void helpTopics();
};

void StartUpTest::secondCopyEndsWithoutTouchingScratch() {
    App first;
    QVERIFY(first.guard.acquire());
    App second;
    second.scratch("video.flv");
    InstanceGuard secondGuard(first.install.path("lock"));
    QVERIFY(!StartUp::run(second.controller, secondGuard, QString()));
    QCOMPARE(second.dialogs.texts(), QStringList{"THIS SOFTWARE IS ALREADY OPEN!"});
    QCOMPARE(second.files("app/temp"), QStringList{"video.flv"});
}

void StartUpTest::startUpEmptiesScratchAndLoadsQuotedProfile() {
    App app;
    app.scratch("do-not-upload.html");
    app.scratch("thumbs/pic1.jpg");
    QDir(app.install.path("app/temp/thumbs")).removeRecursively();
    const QString profile = app.install.path("my profile.epe");
    ProfileFile::write(profile, {"SIN3"});
    QVERIFY(StartUp::run(app.controller, app.guard, '"' + profile + '"'));
    QCOMPARE(app.files("app/temp"), QStringList{});
    QVERIFY(QDir(app.install.path("app/temp/thumbs")).exists());
    QCOMPARE(app.controller.settings().streamingMode, StreamingMode::Pseudo);
    QCOMPARE(app.views.log.mid(app.views.log.indexOf("busy:1")),
             (QStringList{"busy:1", "splash", "busy:0"}));
    QCOMPARE(app.dialogs.messages.size(), 0);
}

void StartUpTest::profileArgument_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("path");
    QTest::newRow("quoted") << "\"C:\\My Files\\a.epe\""
                            << "C:\\My Files\\a.epe";
    QTest::newRow("as given") << "/home/u/a.epe"
                              << "/home/u/a.epe";
    QTest::newRow("one quote only") << "\"a.epe"
                                    << "\"a.epe";
    QTest::newRow("lone quote") << "\""
                                << "\"";
}

void StartUpTest::profileArgument() {
    QFETCH(QString, argument);
    QTEST(StartUp::argumentPath(argument), "path");
}

void StartUpTest::profileProblems_data() {
    QTest::addColumn<QStringList>("profile");  // empty: no file at all
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file warns and goes on") << QStringList{} << true << kMissing;
    QTest::newRow("skin index past the list ends the program")
        << QStringList{"SIN1", "0", "0", "9"} << false
        << "ERROR# 9 SUBSCRIPT OUT OF RANGE. PLEASE CONTACT SUPPORT.";
}

void StartUpTest::profileProblems() {
    QFETCH(QStringList, profile);
    App app;
    const QString path = app.install.path("p.epe");
    if (!profile.isEmpty())
        ProfileFile::write(path, profile);
    QTEST(StartUp::run(app.controller, app.guard, path), "goesOn");
    QCOMPARE(app.dialogs.messages.size(), 1);
    QTEST(app.dialogs.messages[0].text, "message");
}

void StartUpTest::playlistPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("playlist");
    QTest::newRow("playlist") << "/home/u/list.plf" << true;
    QTest::newRow("upper case") << "/media/USB/LIST.PLF" << true;
    QTest::newRow("profile") << "/home/u/a.epe" << false;
    QTest::newRow("last suffix counts") << "/home/u/list.plf.epe" << false;
    QTest::newRow("suffix of the folder only") << "/home/u/lists.plf/a" << false;
    QTest::newRow("no suffix") << "/home/u/plf" << false;
}

void StartUpTest::playlistPath() {
    QFETCH(QString, path);
    QTEST(StartUp::isPlaylistPath(path), "playlist");
}

void StartUpTest::playlistArgumentOpensEditor_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("quoted");
    QTest::newRow("as given") << "my list.plf" << false;
    QTest::newRow("quoted") << "my list.plf" << true;
    QTest::newRow("upper-case suffix") << "LIST.PLF" << false;
}

void StartUpTest::playlistArgumentOpensEditor() {
    QFETCH(QString, name);
    QFETCH(bool, quoted);
    App app;
    const QString path = app.install.path(name);
    PlaylistFile::write(path, twoRowPlaylist(), true);
    PlaylistEditorModel& editor = app.controller.playlistEditor();
    // What the editor holds when its window appears.
    QStringList shown;
    app.views.onPlaylistEditor = [&] {
        shown = {editor.cellText(1, PlaylistEditorModel::TitleColumn),
                 editor.cellText(2, PlaylistEditorModel::DescColumn), editor.caption()};
    };
    QVERIFY(StartUp::run(app.controller, app.guard, quoted ? '"' + path + '"' : path));
    QCOMPARE(app.dialogs.texts(), QStringList());
    QCOMPARE(app.views.log.mid(app.views.log.indexOf("splash")),
             (QStringList{"splash", "busy:0", "playlistEditor"}));
    QCOMPARE(shown, (QStringList{"One", "Second", PlaylistEditorModel::kCaption + ' ' + path}));
    const ProjectSettings& s = app.controller.settings();
    QVERIFY(s.Multiple);
    QVERIFY(s.Html5);
    QCOMPARE(editor.playlist().position, PlaylistPosition::Bottom);
    QCOMPARE(editor.playlist().layout, PlaylistLayout::TitleDesc);
    QCOMPARE(editor.playlist().FLVVideoFilesPath, QStringLiteral("/videos/"));
}

void StartUpTest::playlistProblems_data() {
    QTest::addColumn<QString>("content");  // "-": no file; "/": a folder of that name
    QTest::addColumn<QString>("message");  // %1: the path
    QTest::newRow("missing") << "-"
                             << "PLAYLIST FILE NOT FOUND: %1";
    QTest::newRow("not a playlist")
        << "not a playlist"
        << "PLAYLIST NOT LOADED. THE FILE IS DAMAGED OR IS NOT A PLAYLIST: %1";
    QTest::newRow("row cut short") << "short row"
                                   << "PLAYLIST NOT LOADED. ROW 2 OF THE FILE HAS 1 FIELDS WHERE "
                                      "THE FILE PROMISES 5.";
    QTest::newRow("a folder") << "/"
                              << "ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.\n"
                                 "Reading %1\nIs a directory";
}

// The program goes on with the main window as it would be without the argument.
void StartUpTest::playlistProblems() {
    QFETCH(QString, content);
    QFETCH(QString, message);
    App app;
    const QString path = app.install.path("list.plf");
    if (content == "/") {
        QVERIFY(QDir().mkpath(path));
    } else if (content == "short row") {
        QStringList lines = PlaylistFile::fileLines(twoRowPlaylist(), true);
        lines.last() = Scrambler::scramble("two.flv", Scrambler::kScrambleKey);
        TextFile::writeLines(path, lines);
    } else if (content != "-") {
        TextFile::writeLines(path, {content});
    }
    QVERIFY(StartUp::run(app.controller, app.guard, path));
    QCOMPARE(app.dialogs.texts(), QStringList{message.replace("%1", path)});
    QVERIFY(!app.views.log.contains("playlistEditor"));
    QVERIFY(!app.controller.settings().Multiple);
    QVERIFY(!app.controller.settings().Html5);
    QCOMPARE(app.controller.playlistEditor().rowCount(), 1);
    QCOMPARE(app.controller.playlistEditor().caption(), PlaylistEditorModel::kCaption);
}

void StartUpTest::close_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("localTest");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("No keeps everything")
        << false << true << QStringList{"clip.flv", "do-not-upload.html"};
    QTest::newRow("Yes after a local test empties temp") << true << true << QStringList{};
    QTest::newRow("Yes without a local test keeps temp")
        << true << false << QStringList{"clip.flv"};
}

void StartUpTest::close() {
    QFETCH(bool, yes);
    QFETCH(bool, localTest);
    App app;
    app.scratch("clip.flv");
    app.scratch("thumbs/pic1.jpg");
    if (localTest)
        app.scratch("do-not-upload.html");
    app.dialogs.answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    QCOMPARE(StartUp::confirmClose(app.controller), yes);
    QCOMPARE(app.dialogs.messages[0].text, QStringLiteral("CLOSE SOFTWARE?"));
    QTEST(app.files("app/temp"), "left");
    QCOMPARE(app.files("app/temp/thumbs"), QStringList{"pic1.jpg"});
}

void StartUpTest::profileSaveAndLoadRoundTrip() {
    App app;
    app.controller.loadInstallation();
    MainWindowModel& w = app.controller.window();
    w.selectStreamingMode(StreamingMode::Rtmp);
    w.setHtml5(true);
    app.controller.selectSkin(1);
    app.controller.setPlayerColorText("1a2B3c");
    w.change(&ProjectSettings::ServerPath, "http://example.com/");
    w.change(&ProjectSettings::ActionCode, "<b>one</b>\r\n<i>two</i>");
    w.settings().ShareTitle = QString::fromUtf8("Café €");
    const QString path = app.install.path("saved.epe");
    app.dialogs.saveAnswers.enqueue(path);
    ProfileCommands(app.controller).save();
    QCOMPARE(app.dialogs.messages.last().text, "PROFILE SAVED AS " + path);
    QCOMPARE(app.dialogs.messages.last().title, QStringLiteral(" Message"));
    QCOMPARE(w.states().caption, "Vidlark Streaming Video 14 " + path);

    App other;
    other.controller.loadInstallation();
    other.dialogs.openAnswers.enqueue(QStringList{path});
    ProfileCommands(other.controller).load();
    QCOMPARE(ProfileCommands(other.controller).values(), ProfileCommands(app.controller).values());
    QCOMPARE(other.controller.window().states().caption, "Vidlark Streaming Video 14 " + path);
}

void StartUpTest::profileValueThatCannotBeStored() {
    App app;
    app.controller.loadInstallation();
    app.controller.window().settings().ShareTitle = QString::fromUtf8("Holiday — 2026");
    const QString path = app.install.path("saved.epe");
    app.dialogs.saveAnswers.enqueue(path);
    ProfileCommands(app.controller).save();
    QVERIFY(app.dialogs.messages.last().text.startsWith("PROFILE NOT SAVED"));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(app.controller.window().states().caption,
             QStringLiteral("Vidlark Streaming Video 14"));
}

void StartUpTest::profileWithControlCharacterChangesNothing_data() {
    QTest::addColumn<bool>("atStartUp");
    QTest::newRow("load command") << false;
    QTest::newRow("start-up argument") << true;
}

// Line 25 holds a NUL, written without the writer's checks; the lines before it would switch to
// a playlist in Pseudo mode and set the pages' address.
void StartUpTest::profileWithControlCharacterChangesNothing() {
    QFETCH(bool, atStartUp);
    App app;
    const QString path = app.install.path("damaged.epe");
    QStringList lines;
    for (int line = 1; line <= 26; ++line) {
        QString value = line == 1 ? QStringLiteral("MUL3") : QStringLiteral("0");
        if (line == 16)
            value = QStringLiteral("http://example.com/");
        if (line == 25)
            value = QStringLiteral("Holiday") + QChar(0);
        lines.append(Scrambler::scramble(value, Scrambler::kScrambleKey));
    }
    TextFile::writeLines(path, lines);

    if (atStartUp) {
        QVERIFY(StartUp::run(app.controller, app.guard, path));
    } else {
        app.controller.loadInstallation();
        app.dialogs.openAnswers.enqueue(QStringList{path});
        ProfileCommands(app.controller).load();
    }
    QCOMPARE(app.dialogs.texts(),
             QStringList{"PROFILE NOT LOADED. CHARACTER 8 (CONTROL CODE 0) OF TITLE OF CONTENT IS "
                         "NOT ALLOWED IN A PROFILE. NO SETTING WAS CHANGED."});
    const ProjectSettings& s = app.controller.settings();
    QVERIFY(!s.Multiple);
    QCOMPARE(s.streamingMode, StreamingMode::Normal);
    QCOMPARE(s.ServerPath, QStringLiteral("http://"));
    QCOMPARE(app.controller.window().states().caption,
             QStringLiteral("Vidlark Streaming Video 14"));
}

void StartUpTest::tintBoxesAndDialog() {
    App app;
    app.controller.loadInstallation();
    QCOMPARE(app.controller.window().states().tintBoxColours.size(), 18);
    QVERIFY(app.controller.window().states().lblPlayerTintMessage.startsWith(
        "You have selected a player that will look better with a dark color tint."));
    app.controller.clickTintBox(14);
    QCOMPARE(app.controller.settings().PlayerColor, QStringLiteral("231E01"));
    app.dialogs.colourAnswers.enqueue(0u);
    app.controller.chooseTint();
    QCOMPARE(app.dialogs.colourRequests, QList<quint32>{0x011E23});
    QCOMPARE(app.controller.settings().PlayerColor, QStringLiteral("000000"));
    app.controller.chooseTint();  // cancelled
    QCOMPARE(app.controller.settings().PlayerColor, QStringLiteral("000000"));
}

void StartUpTest::helpTopics() {
    QVERIFY(HelpTexts::topic(1).startsWith(
        "The HTML Path on Server is where your html files reside on the webserver. \r\n\r\n"
        "Right input examples: \r\n"));
    QVERIFY(HelpTexts::topic(1).endsWith("\r\nVideo file name is not required "));
    QVERIFY(HelpTexts::topic(2).contains("/application/_definst_/folder/ \r\n\r\nFor Pseudo"));
    QVERIFY(HelpTexts::topic(3).endsWith("to all these formats."));
    QCOMPARE(HelpTexts::topic(4), QString());
}

QTEST_GUILESS_MAIN(StartUpTest)
#include "tst_StartUp.moc"
