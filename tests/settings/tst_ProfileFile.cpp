#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileValueError.h"

// The bytes below are the scrambled lines worked out by hand with the key "morvelquist"
// (m 109, o 111, r 114, v 118, e 101, l 108, q 113, u 117, i 105, s 115, t 116).
class ProfileFileTest : public QObject {
    Q_OBJECT

  private slots:
    void readsHandWrittenFile_data();
    void readsHandWrittenFile();
    void writesTheSameBytes();
    void fullProfileRoundTrips();
    void refusesValueThatScramblesToLineBreak_data();
    void refusesValueThatScramblesToLineBreak();
    void missingFileRaises53();
};

namespace {

// "SIN1": S 83+111=194, I 73+114=187, N 78+118=196, "1" 49+101=150.
// "0": 48+111=159. "a CR LF b": 208, 127, 128, 199.
// "Café €": 178, 211, 220, é 233+101-256=78, blank 140, € 128+113=241.
const QByteArray kSin1("\xC2\xBB\xC4\x96");
const QByteArray kZero("\x9F");
const QByteArray kMultiLine("\xD0\x7F\x80\xC7");
const QByteArray kCafe("\xB2\xD3\xDC\x4E\x8C\xF1");

QStringList handValues() {
    return {"SIN1", "0", "", "a\r\nb", QString::fromUtf8("Café €")};
}

QByteArray handFile(const QByteArray& lineEnd) {
    return kSin1 + lineEnd + kZero + lineEnd + lineEnd + kMultiLine + lineEnd + kCafe + lineEnd;
}

QStringList fullProfile() {
    return {"MUL2",
            "0",
            "1",
            "3",
            "0",
            "926478",
            "0E230E",
            "1",
            "0",
            "100",
            "1",
            "intro.jpg",
            "/home/ann/pictures/intro.jpg",
            "",
            "",
            "http://www.example.com/videos/",
            "rtmp://media.example.com/vod/",
            "/home/ann/out/",
            "0",
            "http://www.example.com/thanks.html",
            "",
            "<form action=\"x\">\r\n<input type=\"submit\">\r\n</form>",
            "1",
            "1",
            QString::fromUtf8("Ann‘s “Holiday” Videos — €5"),
            "http://www.example.com/"};
}

}  // namespace

void ProfileFileTest::readsHandWrittenFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << handFile("\r\n");
    QTest::newRow("bare LF") << handFile("\n");
}

void ProfileFileTest::readsHandWrittenFile() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("p.epe");
    TextFile::writeBytes(path, bytes);
    QCOMPARE(ProfileFile::readValues(path), handValues());
}

void ProfileFileTest::writesTheSameBytes() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.epe");
    ProfileFile::write(path, handValues());
    QCOMPARE(TestFiles::readFile(path), handFile("\r\n"));
}

void ProfileFileTest::fullProfileRoundTrips() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.epe");
    TextFile::writeBytes(path, "old contents, longer than nothing\r\n");
    ProfileFile::write(path, fullProfile());
    QCOMPARE(ProfileFile::readValues(path), fullProfile());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.epe"});
}

void ProfileFileTest::refusesValueThatScramblesToLineBreak_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");
    // z-caron 158 + o 111 = 269: CR.
    QTest::newRow("first line") << 1 << QString(QChar(0x17E)) << 1
                                << QString::fromUtf8(
                                       "PROFILE NOT SAVED. CHARACTER 1 (\"ž\") OF SINGLE OR "
                                       "PLAYLIST AND STREAMING MODE CANNOT BE STORED IN A "
                                       "PROFILE. PLEASE REPLACE IT AND SAVE AGAIN.");
    // em dash 151 + v 118 = 269: CR.
    QTest::newRow("em dash in share title")
        << 25 << QString::fromUtf8("ab—c") << 3
        << QString::fromUtf8(
               "PROFILE NOT SAVED. CHARACTER 3 (\"—\") OF TITLE OF CONTENT CANNOT BE STORED IN A "
               "PROFILE. PLEASE REPLACE IT AND SAVE AGAIN.");
    // closing double quote 148 + v 118 = 266: LF.
    QTest::newRow("typographic quote in server path")
        << 16 << QString::fromUtf8("ab”") << 3
        << QString::fromUtf8(
               "PROFILE NOT SAVED. CHARACTER 3 (\"”\") OF HTML FILES PATH CANNOT BE STORED IN A "
               "PROFILE. PLEASE REPLACE IT AND SAVE AGAIN.");
    // Outside Windows-1252 the file would hold "?" and the video would not be found again.
    QTest::newRow("video address in another script")
        << 17 << QString::fromUtf8("http://a/视频/") << 10
        << QString::fromUtf8(
               "PROFILE NOT SAVED. CHARACTER 10 (\"视\") OF VIDEO FILE(S) PATH CANNOT BE STORED "
               "IN A PROFILE. PLEASE REPLACE IT AND SAVE AGAIN.");
    QTest::newRow("character beyond the basic plane")
        << 25 << QString::fromUtf8("a?🎬") << 3
        << QString::fromUtf8(
               "PROFILE NOT SAVED. CHARACTER 3 (\"🎬\") OF TITLE OF CONTENT CANNOT BE STORED IN "
               "A PROFILE. PLEASE REPLACE IT AND SAVE AGAIN.");
}

void ProfileFileTest::refusesValueThatScramblesToLineBreak() {
    QFETCH(int, line);
    QFETCH(QString, value);
    QFETCH(int, position);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("p.epe");
    const QByteArray old = handFile("\r\n");
    TextFile::writeBytes(path, old);
    QStringList values = fullProfile();
    values[line - 1] = value;
    try {
        ProfileFile::write(path, values);
        QFAIL("the value was stored");
    } catch (const ProfileValueError& e) {
        QCOMPARE(e.line(), line);
        QCOMPARE(int(e.position()), position);
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(TestFiles::readFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.epe"});
}

void ProfileFileTest::missingFileRaises53() {
    QTemporaryDir dir;
    try {
        ProfileFile::readValues(dir.filePath("none.epe"));
        QFAIL("read a missing profile");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 53);
    }
}

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "tst_ProfileFile.moc"
