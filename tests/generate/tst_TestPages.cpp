#include <QtTest>

#include "GenerationInputs.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "generate/EmbedCodeBuilder.h"
#include "generate/TestPageWriter.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"

namespace {

// A single video of 640 x 360 on a skin that adds 30 pixels, generated at 14:07:09.
struct Pages {
    TestInstallation install;
    TestPageWriter::Input input{
        .outputFolder = install.outputFolder(),
        .paths = install.paths(),
        .tag = QStringLiteral("a0709"),
        .skinFile = QStringLiteral("Skin-30-dark.swf"),
        .backgroundColor = QStringLiteral("#000000"),
        .box = {.playerWidth = 640, .playerHeight = 360, .skinAllowance = 30},
    };

    QByteArray localPage() const {
        return TestFiles::readFile(install.path("app/temp/do-not-upload.html"));
    }
};

}  // namespace

class TestPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void onlinePage_data();
    void onlinePage();
    void localPage();
    void localPageFluid();
    void swfObjectSize_data();
    void swfObjectSize();
    void overflowWritesNoLocalPage();
    void outputFolderShownAsText_data();
    void outputFolderShownAsText();
};

void TestPagesTest::onlinePage_data() {
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<QString>("golden");
    QTest::newRow("plain embed code") << false << "generate/onlinetest_plain.html";
    QTest::newRow("escaped embed code") << true << "generate/onlinetest_escaped.html";
    // Without the viewport line a phone lays the page out a desktop wide.
    QTest::newRow("fit to page width") << false << "generate/onlinetest_fluid.html";
}

void TestPagesTest::onlinePage() {
    QFETCH(bool, encrypt);
    QFETCH(QString, golden);
    Pages p;
    // The embed code of this run, as the code window shows it.
    GenerationInputs run;
    run.snapshot.ServerPath = QStringLiteral("http://www.example.com/videos/");
    run.snapshot.GenerationTag = p.input.tag;
    run.settings.Encrypt = encrypt;
    p.input.embedCode = EmbedCodeBuilder::build(run.context(QString(), p.input.outputFolder));
    p.input.fluidSize = golden.contains(QStringLiteral("_fluid"));
    OutputFile::write(TestPageWriter::onlineTestPageFile(p.input));
    COMPARE_GOLDEN(TestFiles::readFile(p.input.outputFolder + "onlinetest.html"), golden);
}

void TestPagesTest::localPage() {
    Pages p;
    // A longer page of an earlier run is replaced whole.
    p.input.outputFolder = QStringLiteral("/home/ann/a much longer folder name of an earlier run/");
    OutputFile::write(TestPageWriter::localTestPageFile(p.input));
    p.input.outputFolder = QStringLiteral("/home/ann/site/");
    OutputFile::write(TestPageWriter::localTestPageFile(p.input));
    COMPARE_GOLDEN(p.localPage(), "generate/localtest_single.html");
}

// The local page's player follows the window as the published one does.
void TestPagesTest::localPageFluid() {
    Pages p;
    p.input.fluidSize = true;
    p.input.outputFolder = QStringLiteral("/home/ann/site/");
    OutputFile::write(TestPageWriter::localTestPageFile(p.input));
    COMPARE_GOLDEN(p.localPage(), "generate/localtest_single_fluid.html");
}

void TestPagesTest::swfObjectSize_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    const int right = int(PlaylistPosition::Right), bottom = int(PlaylistPosition::Bottom),
              invisible = int(PlaylistPosition::Invisible);
    // The list is 300 wide and adds 225 below the player; the skin adds 30.
    QTest::newRow("single video") << false << right << "640"
                                  << "390";
    QTest::newRow("playlist at the right") << true << right << "940"
                                           << "390";
    QTest::newRow("playlist at the bottom") << true << bottom << "640"
                                            << "615";
    QTest::newRow("invisible playlist") << true << invisible << "640"
                                        << "390";
}

void TestPagesTest::swfObjectSize() {
    QFETCH(bool, playlist);
    QFETCH(int, position);
    QFETCH(QString, width);
    QFETCH(QString, height);
    Pages p;
    p.input.box.playlist = playlist;
    p.input.box.position = static_cast<PlaylistPosition>(position);
    p.input.box.widthPlaylist = 300;
    p.input.box.playlistHeight = 225;
    OutputFile::write(TestPageWriter::localTestPageFile(p.input));
    const QStringList lines = TextFile::splitLines(QString::fromLatin1(p.localPage()));
    QCOMPARE(lines.value(24),
             "var a0709  = new SWFObject(\"Skin-30-dark.swf\", \"zevosva0709\", \"" + width +
                 "\", \"" + height + "\", \"6\", \"#000000\" );");
}

void TestPagesTest::overflowWritesNoLocalPage() {
    Pages p;
    p.input.box.playlist = true;
    p.input.box.position = PlaylistPosition::Bottom;
    p.input.box.playlistHeight = 32767 - 390 + 1;
    try {
        OutputFile::write(TestPageWriter::localTestPageFile(p.input));
        QFAIL("the height overflowed without an error");
    } catch (const AppError& error) {
        QCOMPARE(error.number(), int(AppError::Overflow));
    }
    QVERIFY(!QFile::exists(p.install.path("app/temp/do-not-upload.html")));
}

void TestPagesTest::outputFolderShownAsText_data() {
    QTest::addColumn<QString>("outDir");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "/home/ann/My Site/"
                           << "/home/ann/My Site/";
    QTest::newRow("ampersand") << "/home/ann/Tom & Jerry/"
                               << "/home/ann/Tom &amp; Jerry/";
    QTest::newRow("angle brackets") << "/tmp/<draft>/"
                                    << "/tmp/&lt;draft&gt;/";
    // The page says UTF-8 but is written in Windows-1252: an accent goes as a reference.
    QTest::newRow("quotes stay, accents as references") << "/tmp/\"Café\" 'x'/"
                                                        << "/tmp/\"Caf&#233;\" 'x'/";
}

void TestPagesTest::outputFolderShownAsText() {
    QFETCH(QString, outDir);
    QFETCH(QString, shown);
    Pages p;
    p.input.outputFolder = outDir;
    OutputFile::write(TestPageWriter::localTestPageFile(p.input));
    const QStringList lines = TextFile::readLines(p.install.path("app/temp/do-not-upload.html"));
    QCOMPARE(lines.value(18),
             "<p>This is a test on your local browser. If you have selected marketing options they "
             "will work when you publish the player online. <br>  All files that need to be "
             "uploaded are here: " +
                 shown + "</p> ");
}

QTEST_GUILESS_MAIN(TestPagesTest)
#include "tst_TestPages.moc"
