#include <QTemporaryDir>
#include <QtTest>

#include "OutputFolder.h"
#include "TestFiles.h"
#include "formats/FlashEmbedScriptWriter.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

namespace {

struct Run : OutputFolder {
    FlashEmbedScriptWriter::Input input{
        .outputFolder = outputFolder(),
        .tag = QStringLiteral("a0732"),
        .skinUrl = QStringLiteral("http://www.example.com/video/Skin-30-float.swf?"),
        .serverPath = QStringLiteral("http://www.example.com/video/"),
        .backgroundColor = QStringLiteral("#000000"),
        .box = {.playerWidth = 480, .playerHeight = 270, .skinAllowance = 30, .widthPlaylist = 250},
    };
    void usePlaylist(PlaylistPosition position, qint16 playlistHeight) {
        input.box.playlist = true;
        input.box.position = position;
        input.box.playlistHeight = playlistHeight;
    }
    QStringList scripts() const {
        return FileOps::filesMatching(outDir.path(), QStringLiteral("zevoflashsv*.js"));
    }
};

}  // namespace

class FlashEmbedScriptTest : public QObject {
    Q_OBJECT

  private slots:
    void goldenFiles_data();
    void goldenFiles();
    void secondRunLeavesOneScript();
    void overflowRaisesError6_data();
    void overflowRaisesError6();
    void pathsAreEscapedInsideLiterals();
};

void FlashEmbedScriptTest::goldenFiles_data() {
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<PlaylistPosition>("position");
    QTest::addColumn<int>("playlistHeight");
    QTest::addColumn<QString>("golden");
    // A single video ignores where the playlist editor was left.
    QTest::newRow("single") << false << PlaylistPosition::Bottom << 0 << "flash_single.js";
    QTest::newRow("right") << true << PlaylistPosition::Right << 270 << "flash_right.js";
    QTest::newRow("bottom") << true << PlaylistPosition::Bottom << 300 << "flash_bottom.js";
    QTest::newRow("invisible") << true << PlaylistPosition::Invisible << 0 << "flash_invisible.js";
    // Fit to the page's width: the movie's element keeps the shape of the player's box, the list
    // included.
    QTest::newRow("single, fluid")
        << false << PlaylistPosition::Bottom << 0 << "flash_single_fluid.js";
    QTest::newRow("bottom, fluid")
        << true << PlaylistPosition::Bottom << 300 << "flash_bottom_fluid.js";
}

void FlashEmbedScriptTest::goldenFiles() {
    QFETCH(bool, multiple);
    QFETCH(PlaylistPosition, position);
    QFETCH(int, playlistHeight);
    QFETCH(QString, golden);
    Run run;
    run.usePlaylist(position, qint16(playlistHeight));
    run.input.box.playlist = multiple;
    run.input.fluidSize = golden.contains(QStringLiteral("_fluid"));
    OutputFile::write(FlashEmbedScriptWriter::flashEmbedScript(run.input));
    QCOMPARE(run.scripts(), QStringList{"zevoflashsva0732.js"});
    COMPARE_GOLDEN(TestFiles::readFile(run.outDir.filePath("zevoflashsva0732.js")),
                   "formats/" + golden);
}

void FlashEmbedScriptTest::secondRunLeavesOneScript() {
    Run run;
    TextFile::writeLines(run.outDir.filePath("zevocoresva0732.js"), {"kept"});
    OutputFile::write(FlashEmbedScriptWriter::flashEmbedScript(run.input));
    run.input.tag = QStringLiteral("a0801");
    OutputFile::write(FlashEmbedScriptWriter::flashEmbedScript(run.input));
    QCOMPARE(run.scripts(), QStringList{"zevoflashsva0801.js"});
    QVERIFY(TestFiles::readFile(run.outDir.filePath("zevoflashsva0801.js"))
                .startsWith("var a0801  = new SWFObject("));
    QVERIFY(QFile::exists(run.outDir.filePath("zevocoresva0732.js")));
}

void FlashEmbedScriptTest::overflowRaisesError6_data() {
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<PlaylistPosition>("position");
    QTest::addColumn<int>("playerWidth");
    QTest::addColumn<int>("playerHeight");
    QTest::addColumn<int>("playlistHeight");
    using P = PlaylistPosition;
    QTest::newRow("right: width plus list width") << true << P::Right << 32600 << 270 << 270;
    QTest::newRow("bottom: three heights") << true << P::Bottom << 480 << 270 << 32700;
    QTest::newRow("single: skin plus player") << false << P::Right << 480 << 32750 << 0;
}

void FlashEmbedScriptTest::overflowRaisesError6() {
    QFETCH(bool, multiple);
    QFETCH(PlaylistPosition, position);
    QFETCH(int, playerWidth);
    QFETCH(int, playerHeight);
    QFETCH(int, playlistHeight);
    Run run;
    TextFile::writeLines(run.outDir.filePath("zevoflashsva0000.js"), {"earlier run"});
    run.usePlaylist(position, qint16(playlistHeight));
    run.input.box.playlist = multiple;
    run.input.box.playerWidth = qint16(playerWidth);
    run.input.box.playerHeight = qint16(playerHeight);
    try {
        OutputFile::write(FlashEmbedScriptWriter::flashEmbedScript(run.input));
        QFAIL("no overflow reported");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), int(AppError::Overflow));
    }
    // Nothing was deleted for a script that could not be built.
    QCOMPARE(run.scripts(), QStringList{"zevoflashsva0000.js"});
}

void FlashEmbedScriptTest::pathsAreEscapedInsideLiterals() {
    Run run;
    run.input.serverPath = QStringLiteral("http://x.example.com/\"q\"\\</");
    run.input.skinUrl = run.input.serverPath + QStringLiteral("Skin-30-float.swf?");
    const QStringList lines = FlashEmbedScriptWriter::lines(run.input);
    QCOMPARE(lines.value(0),
             QStringLiteral("var a0732  = new SWFObject(\"http://x.example.com/\\\"q\\\"\\\\<\\/"
                            "Skin-30-float.swf?\", \"zevosva0732\", \"480\", \"300\", \"6\", "
                            "\"#000000\" );"));
    QCOMPARE(
        lines.value(1),
        QStringLiteral("a0732.addVariable(\"loc\", \"http://x.example.com/\\\"q\\\"\\\\<\\/\" );"));
}

QTEST_GUILESS_MAIN(FlashEmbedScriptTest)
#include "tst_FlashEmbedScript.moc"
