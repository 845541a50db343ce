#include <QTemporaryDir>
#include <QtTest>

#include "OutputFolder.h"
#include "TestFiles.h"
#include "formats/StylesheetWriter.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

namespace {

struct Run : OutputFolder {
    StylesheetWriter::Input input{.outputFolder = outputFolder()};
    QString css() const { return outFile("zevostyle.css"); }
};

}  // namespace

class StylesheetTest : public QObject {
    Q_OBJECT

  private slots:
    void goldenFiles_data();
    void goldenFiles();
    void overflowKeepsEarlierStylesheet();
};

void StylesheetTest::goldenFiles_data() {
    QTest::addColumn<PlaylistPosition>("position");
    QTest::addColumn<QList<int>>("sizes");  // width, height, playlist height, list width, font
    QTest::addColumn<QString>("golden");
    // Bottom: 4 items of titles only are 180 pixels high, and the list is as wide as the video.
    QTest::newRow("bottom") << PlaylistPosition::Bottom << QList<int>{480, 270, 180, 250, 11}
                            << "style_bottom.css";
    // Right: the list is 3 pixels narrower than its share and as high as the video.
    QTest::newRow("right") << PlaylistPosition::Right << QList<int>{640, 360, 360, 250, 12}
                           << "style_right.css";
    QTest::newRow("invisible") << PlaylistPosition::Invisible << QList<int>{320, 180, 0, 250, 10}
                               << "style_invisible.css";
    // Fit to the page's width: the video's container takes its video's size, up to the chosen
    // width; a list below follows the page's width up to the player's, one beside keeps its own;
    // neither is wider than the page.
    QTest::newRow("bottom, fluid") << PlaylistPosition::Bottom << QList<int>{480, 270, 180, 250, 11}
                                   << "style_bottom_fluid.css";
    QTest::newRow("right, fluid") << PlaylistPosition::Right << QList<int>{640, 360, 360, 250, 12}
                                  << "style_right_fluid.css";
    QTest::newRow("invisible, fluid")
        << PlaylistPosition::Invisible << QList<int>{320, 180, 0, 250, 10}
        << "style_invisible_fluid.css";
}

void StylesheetTest::goldenFiles() {
    QFETCH(PlaylistPosition, position);
    QFETCH(QList<int>, sizes);
    QFETCH(QString, golden);
    Run run;
    run.input.position = position;
    run.input.playerWidth = qint16(sizes[0]);
    run.input.playerHeight = qint16(sizes[1]);
    run.input.playlistHeight = qint16(sizes[2]);
    run.input.widthPlaylist = qint16(sizes[3]);
    run.input.fontSize = qint16(sizes[4]);
    run.input.fluidSize = golden.contains(QStringLiteral("_fluid"));
    TextFile::writeLines(run.css(), {"an earlier run's longer stylesheet", "second line"});
    OutputFile::write(StylesheetWriter::playerStylesheet(run.input));
    COMPARE_GOLDEN(TestFiles::readFile(run.css()), "formats/" + golden);
}

void StylesheetTest::overflowKeepsEarlierStylesheet() {
    Run run;
    run.input.position = PlaylistPosition::Right;
    run.input.widthPlaylist = -32766;
    TextFile::writeLines(run.css(), {"earlier"});
    try {
        OutputFile::write(StylesheetWriter::playerStylesheet(run.input));
        QFAIL("no overflow reported");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), int(AppError::Overflow));
    }
    QCOMPARE(TextFile::readLines(run.css()), QStringList{"earlier"});
    run.input.widthPlaylist = -32765;  // the smallest width whose list width still fits
    OutputFile::write(StylesheetWriter::playerStylesheet(run.input));
    QVERIFY(TestFiles::readFile(run.css()).contains("width:-32768px;"));
}

QTEST_GUILESS_MAIN(StylesheetTest)
#include "tst_Stylesheet.moc"
