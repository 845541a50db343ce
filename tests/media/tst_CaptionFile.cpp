#include <sys/stat.h>
#include <QTemporaryDir>
#include <QtTest>

#include "media/CaptionFile.h"
#include "media/CaptionFileError.h"

// Caption files come from subtitle tools, editors and the web: each must become a WebVTT file in
// UTF-8 or be refused with a message naming the file and the line at fault.
class TestCaptionFile : public QObject {
    Q_OBJECT

  private slots:
    void converts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("vtt as it is")
            << "a.vtt" << QByteArray("WEBVTT\n\n00:01.000 --> 00:02.500\nHello\n")
            << QByteArray("WEBVTT\n\n00:01.000 --> 00:02.500\nHello\n");
        QTest::newRow("vtt with BOM, CR LF, ids, hours, settings and a note")
            << "a.VTT"
            << QByteArray(
                   "\xEF\xBB\xBFWEBVTT - title\r\n\r\nNOTE made by hand\r\n\r\nintro\r\n"
                   "01:00:01.000 --> 01:00:02.000 line:0 align:start\r\nA <i>b</i>\r\n")
            << QByteArray(
                   "WEBVTT - title\n\nNOTE made by hand\n\nintro\n"
                   "01:00:01.000 --> 01:00:02.000 line:0 align:start\nA <i>b</i>\n");
        QTest::newRow("srt in UTF-8")
            << "b.srt"
            << QByteArray(
                   "1\n00:00:01,000 --> 00:00:02,000\nCaf\xC3\xA9\n\n"
                   "2\n00:00:03,250 --> 00:00:04,000 X1:10 X2:20 Y1:1 Y2:2\n"
                   "two\nlines\n")
            << QByteArray(
                   "WEBVTT\n\n1\n00:00:01.000 --> 00:00:02.000\nCaf\xC3\xA9\n\n"
                   "2\n00:00:03.250 --> 00:00:04.000\ntwo\nlines\n");
        // é (E9), à (E0), ü (FC) and the euro sign (80) of Windows-1252, with CR LF.
        QTest::newRow("srt in Windows-1252")
            << "c.SRT"
            << QByteArray(
                   "1\r\n00:00:01,000 --> 00:00:02,000\r\nD\xE9j\xE0 vu \xFC\x62\x65r "
                   "\x80 5\r\n\r\n")
            << QByteArray(
                   "WEBVTT\n\n1\n00:00:01.000 --> 00:00:02.000\n"
                   "D\xC3\xA9j\xC3\xA0 vu \xC3\xBC\x62\x65r \xE2\x82\xAC 5\n");
        QTest::newRow("srt with BOM, no numbers, one-digit hours and an arrow in the text")
            << "d.srt"
            << QByteArray(
                   "\xEF\xBB\xBF"
                   "0:00:01,000 --> 0:00:02,000\nx --> y\n")
            << QByteArray("WEBVTT\n\n00:00:01.000 --> 00:00:02.000\nx --&gt; y\n");
    }
    void converts() {
        QFETCH(QString, name);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(CaptionFile::toWebVtt(input, name), expected);
    }

    void refuses_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");

        QTest::newRow("empty") << "e.vtt" << QByteArray() << 0 << "empty";
        QTest::newRow("blank lines only") << "e.srt" << QByteArray("\r\n \n\t\n") << 0 << "empty";
        QTest::newRow("binary") << "x.vtt" << QByteArray("WEBVTT\n\n\x01\x02\0\xff", 10) << 3
                                << "no text file";
        QTest::newRow("NUL in an srt")
            << "x.srt" << QByteArray("1\n00:00:01,000 --> 00:00:02,000\na\0b\n", 37) << 3
            << "control code 0";
        QTest::newRow("no header")
            << "h.vtt" << QByteArray("00:01.000 --> 00:02.000\nx\n") << 1 << "WEBVTT";
        QTest::newRow("header glued to text")
            << "h.vtt" << QByteArray("WEBVTTX\n\n00:01.000 --> 00:02.000\nx\n") << 1 << "WEBVTT";
        QTest::newRow("short milliseconds")
            << "t.vtt"
            << QByteArray(
                   "WEBVTT\n\n1\n00:01.000 --> 00:02.000\na\n\n2\n00:03.5 --> "
                   "00:04.000\nb\n")
            << 8 << "\"00:03.5\" is not a time";
        QTest::newRow("seconds past 59")
            << "t.vtt" << QByteArray("WEBVTT\n\n00:00:61.000 --> 00:01:02.000\na\n") << 3
            << "\"00:00:61.000\"";
        QTest::newRow("srt comma in a vtt")
            << "t.vtt" << QByteArray("WEBVTT\n\n00:00:01,000 --> 00:00:02,000\na\n") << 3
            << "\"00:00:01,000\" is not a time";
        QTest::newRow("single-digit hours in a vtt")
            << "t.vtt" << QByteArray("WEBVTT\n\n1:00:01.000 --> 1:00:02.000\na\n") << 3
            << "not a time";
        QTest::newRow("no arrow") << "t.vtt"
                                  << QByteArray("WEBVTT\n\nid\n00:01.000 - 00:02.000\na\n") << 4
                                  << "is not a cue timing";
        QTest::newRow("one-dash arrow: the timing line is named, not the text")
            << "t.vtt" << QByteArray("WEBVTT\n\n00:01.000 -> 00:02.000\ntext\n") << 3
            << "\"00:01.000 -> 00:02.000\" is not a cue timing";
        // A file with no cue shows nothing: as useless as an empty one.
        QTest::newRow("header only") << "h.vtt" << QByteArray("WEBVTT\n") << 0 << "holds no cue";
        QTest::newRow("header with its own lines and a note")
            << "h.vtt" << QByteArray("WEBVTT - film\nKind: captions\n\nNOTE made by hand\n\n") << 0
            << "holds no cue";
        QTest::newRow("style and region blocks only")
            << "h.vtt" << QByteArray("WEBVTT\r\n\r\nSTYLE\r\n::cue {}\r\n\r\nREGION\r\nid:r\r\n")
            << 0 << "holds no cue";
        QTest::newRow("text without timing")
            << "t.vtt" << QByteArray("WEBVTT\n\n00:01.000 --> 00:02.000\na\n\nstray text\n") << 6
            << "is not a cue timing";
        QTest::newRow("end before start")
            << "t.vtt" << QByteArray("WEBVTT\n\n00:05.000 --> 00:04.999\na\n") << 3
            << "before or when it starts";
        QTest::newRow("end equal to start in an srt")
            << "t.srt" << QByteArray("1\n00:00:05,000 --> 00:00:05,000\na\n") << 2
            << "before or when it starts";
        QTest::newRow("srt dot-less time")
            << "t.srt" << QByteArray("1\n00:00:01 --> 00:00:02,000\na\n") << 2
            << "\"00:00:01\" is not a time";
        QTest::newRow("srt second cue broken, CR LF counted once")
            << "t.srt"
            << QByteArray(
                   "1\r\n00:00:01,000 --> 00:00:02,000\r\na\r\n\r\n2\r\n00:00:03,000 "
                   "--> 00:0:04,000\r\nb\r\n")
            << 6 << "\"00:0:04,000\"";
    }
    void refuses() {
        QFETCH(QString, name);
        QFETCH(QByteArray, input);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const QString path = QStringLiteral("/subs/") + name;
        try {
            CaptionFile::toWebVtt(input, path);
            QFAIL("the file was accepted");
        } catch (const CaptionFileError& error) {
            QCOMPARE(error.line(), line);
            QCOMPARE(error.path(), path);
            QVERIFY2(error.message().contains(path), qPrintable(error.message()));
            QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
            if (line > 0)
                QVERIFY2(error.message().contains(QStringLiteral("Line %1:").arg(line)),
                         qPrintable(error.message()));
        }
    }

    // A caption file is text of a few hundred KB; anything past the limit is refused by its size
    // before it is read whole (the files here are sparse: they take no room on the disk). A file
    // at the limit is read, and refused only for what it holds (zeros).
    void sizeLimit_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("at the limit") << CaptionFile::kMaxBytes << 1 << "control code 0";
        QTest::newRow("one byte over") << CaptionFile::kMaxBytes + 1 << 0 << "larger than 8 MiB";
        QTest::newRow("a video's size") << (qint64(3) << 30) << 0 << "larger than 8 MiB";
    }
    void sizeLimit() {
        QFETCH(qint64, size);
        QFETCH(int, line);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.vtt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
        file.close();
        try {
            CaptionFile::toWebVtt(path);
            QFAIL("the file was accepted");
        } catch (const CaptionFileError& error) {
            QCOMPARE(error.line(), line);
            QVERIFY2(error.message().startsWith("CAPTION FILE NOT USABLE.\n" + path + "\n"),
                     qPrintable(error.message()));
            QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
        }
    }

    // What is not a regular file is refused by its type before it is read: a pipe or a device
    // would block the run or never end.
    void refusesWhatIsNoRegularFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("endless device") << "/dev/zero";
        QTest::newRow("terminal device") << "/dev/tty";
    }
    void refusesWhatIsNoRegularFile() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = kind;
        if (kind == QLatin1String("folder")) {
            path = dir.filePath(QStringLiteral("subs.vtt"));
            QVERIFY(QDir().mkdir(path));
        } else if (kind == QLatin1String("fifo")) {
            path = dir.filePath(QStringLiteral("pipe.vtt"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (!QFileInfo::exists(path)) {
            QSKIP("this system has no such device");
        }
        try {
            CaptionFile::toWebVtt(path);
            QFAIL("the file was accepted");
        } catch (const CaptionFileError& error) {
            QCOMPARE(error.line(), 0);
            QCOMPARE(error.path(), path);
            QVERIFY2(error.message().contains(QStringLiteral("not a regular file")),
                     qPrintable(error.message()));
        }
    }
};

QTEST_APPLESS_MAIN(TestCaptionFile)
#include "tst_CaptionFile.moc"
