#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "platform/AppError.h"
#include "platform/Scrambler.h"
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
    void refusesControlCharactersOnSave_data();
    void refusesControlCharactersOnSave();
    void refusesControlCharactersOnLoad_data();
    void refusesControlCharactersOnLoad();
    void codeKeepsTabsAndLineBreaks();
    void refusesImageNamesThatAreNotPlain_data();
    void refusesImageNamesThatAreNotPlain();
};

namespace {

// "SIN1": S 83+111=194, I 73+114=187, N 78+118=196, "1" 49+101=150.
// "0": 48+111=159. "a CR LF b": 208, 127, 128, 199.
// "Café €": 178, 211, 220, é 233+101-256=78, blank 140, € 128+113=241.
const QByteArray kSin1("\xC2\xBB\xC4\x96");
const QByteArray kZero("\x9F");
const QByteArray kMultiLine("\xD0\x7F\x80\xC7");
const QByteArray kCafe("\xB2\xD3\xDC\x4E\x8C\xF1");

// Line 22, the end-of-video HTML code, is the one setting that holds line breaks; the lines
// between are empty.
QStringList handValues() {
    QStringList values{"SIN1", "0", ""};
    while (values.size() < 21)
        values.append(QString());
    values << "a\r\nb"
           << ""
           << "" << QString::fromUtf8("Café €");
    return values;
}

QByteArray handFile(const QByteArray& lineEnd) {
    QByteArray bytes = kSin1 + lineEnd + kZero + lineEnd + lineEnd;
    for (int line = 4; line < 22; ++line)
        bytes += lineEnd;
    return bytes + kMultiLine + lineEnd + lineEnd + lineEnd + kCafe + lineEnd;
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

QString scrambled(const QString& value) {
    return Scrambler::scramble(value, Scrambler::kScrambleKey);
}

// Lines holding text, and the name the messages give each.
struct TextLine {
    int line;
    const char* name;
    bool multiLine;
};
const TextLine kTextLines[] = {{12, "INTRO IMAGE NAME", false},
                               {16, "HTML FILES PATH", false},
                               {20, "VIDEO ON END URL", false},
                               {22, "VIDEO ON END HTML CODE", true},
                               {25, "TITLE OF CONTENT", false}};

struct BadCharacter {
    const char* label;
    QChar character;
    bool lineBreak;  // held by the multi-line setting
};
const BadCharacter kBadCharacters[] = {{"nul", QChar(0x00), false},
                                       {"bell", QChar(0x07), false},
                                       {"tab", QChar(0x09), true},
                                       {"line feed", QChar(0x0A), true},
                                       {"carriage return", QChar(0x0D), true},
                                       {"unit separator", QChar(0x1F), false},
                                       {"delete", QChar(0x7F), false},
                                       {"c1 control", QChar(0x81), false},
                                       {"last c1 control", QChar(0x9D), false}};

// Every pair of a text line and a control character it cannot hold.
void addControlCharacterRows(const QString& message) {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    for (const TextLine& target : kTextLines)
        for (const BadCharacter& bad : kBadCharacters) {
            if (target.multiLine && bad.lineBreak)
                continue;
            QTest::addRow("%s, %s", target.name, bad.label)
                << target.line << QStringLiteral("ab") + bad.character + QStringLiteral("c")
                << message.arg(bad.character.unicode()).arg(QString::fromLatin1(target.name));
        }
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

void ProfileFileTest::refusesControlCharactersOnSave_data() {
    addControlCharacterRows(
        QStringLiteral("PROFILE NOT SAVED. CHARACTER 3 (CONTROL CODE %1) OF %2 CANNOT BE STORED IN "
                       "A PROFILE. PLEASE REMOVE IT AND SAVE AGAIN."));
}

void ProfileFileTest::refusesControlCharactersOnSave() {
    QFETCH(int, line);
    QFETCH(QString, value);
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
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(TestFiles::readFile(path), old);
}

void ProfileFileTest::refusesControlCharactersOnLoad_data() {
    addControlCharacterRows(
        QStringLiteral("PROFILE NOT LOADED. CHARACTER 3 (CONTROL CODE %1) OF %2 IS NOT ALLOWED IN "
                       "A PROFILE. NO SETTING WAS CHANGED."));
}

// A file written by another program, or altered by hand: the values are scrambled here without
// the writer's checks.
void ProfileFileTest::refusesControlCharactersOnLoad() {
    QFETCH(int, line);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("p.epe");
    QStringList lines;
    for (const QString& v : fullProfile())
        lines.append(scrambled(v));
    lines[line - 1] = scrambled(value);
    TextFile::writeLines(path, lines);
    try {
        ProfileFile::readValues(path);
        QFAIL("the profile was read");
    } catch (const ProfileValueError& e) {
        QCOMPARE(e.line(), line);
        QCOMPARE(e.message(), message);
    }
}

void ProfileFileTest::codeKeepsTabsAndLineBreaks() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.epe");
    QStringList values = fullProfile();
    values[21] = QStringLiteral("<p>\r\n\t<b>x</b>\n\r</p>\t");
    ProfileFile::write(path, values);
    QCOMPARE(ProfileFile::readValues(path), values);
}

// The image names are the names the rendered pictures get in the output folder; the source is
// the path of the line after each.
void ProfileFileTest::refusesImageNamesThatAreNotPlain_data() {
    QTest::addColumn<bool>("saving");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    const struct {
        const char* label;
        QString name;
        const char* fault;
    } names[] = {{"parent folder", "../../escaped.jpg", "IT HOLDS A FOLDER SEPARATOR"},
                 {"backslash", "..\\escaped.jpg", "IT HOLDS A FOLDER SEPARATOR"},
                 {"absolute", "/home/ann/.profile", "IT HOLDS A FOLDER SEPARATOR"},
                 {"dot dot", "..", "IT STANDS FOR A FOLDER (\"..\")"},
                 {"dot", ".", "IT STANDS FOR A FOLDER (\".\")"}};
    for (const bool saving : {true, false})
        for (const int line : {12, 14})
            for (const auto& bad : names)
                QTest::addRow("%s line %d, %s", saving ? "save" : "load", line, bad.label)
                    << saving << line << bad.name
                    << (saving ? QStringLiteral("PROFILE NOT SAVED. %1 IS NOT A PLAIN FILE NAME: "
                                                "%2. PLEASE RENAME THE IMAGE AND CHOOSE IT AGAIN.")
                               : QStringLiteral("PROFILE NOT LOADED. %1 IS NOT A PLAIN FILE NAME: "
                                                "%2. NO SETTING WAS CHANGED."))
                           .arg(line == 12 ? "INTRO IMAGE NAME" : "OUTRO IMAGE NAME",
                                QString::fromLatin1(bad.fault));
}

void ProfileFileTest::refusesImageNamesThatAreNotPlain() {
    QFETCH(bool, saving);
    QFETCH(int, line);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("p.epe");
    QStringList values = fullProfile();
    values[line - 1] = name;
    values[line] = QStringLiteral("/home/ann/pictures/any.jpg");
    const QByteArray old = handFile("\r\n");
    if (saving) {
        TextFile::writeBytes(path, old);
    } else {
        QStringList lines;
        for (const QString& v : values)
            lines.append(scrambled(v));
        TextFile::writeLines(path, lines);
    }
    try {
        if (saving)
            ProfileFile::write(path, values);
        else
            ProfileFile::readValues(path);
        QFAIL("the name was taken");
    } catch (const ProfileValueError& e) {
        QCOMPARE(e.line(), line);
        QCOMPARE(e.message(), message);
    }
    if (saving)
        QCOMPARE(TestFiles::readFile(path), old);
}

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "tst_ProfileFile.moc"
