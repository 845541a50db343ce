#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "../flvmdi/ScratchMount.h"
#include "TestFiles.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/OutputFile.h"
#include "platform/SideFileName.h"

// How generated files reach the disk: beside their target and renamed over it, so a link under
// the name is replaced rather than written through and a full disk leaves the older file; and
// the hidden names they are written under fit in a name whatever the target's length.
class GeneratedFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void sideFileNamesFitInAName_data();
    void sideFileNamesFitInAName();
    void longNamesAreWrittenAndCopied_data();
    void longNamesAreWrittenAndCopied();
    void whatIsUnderTheName_data();
    void whatIsUnderTheName();
};

namespace {

const QString kTail = QStringLiteral(".vidlark-4194304-99");

QString repeated(const QString& piece, int bytes) {
    QString text;
    while (QFile::encodeName(text + piece).size() <= bytes)
        text += piece;
    return text;
}

// The names of a folder, hidden ones included.
QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

void GeneratedFilesTest::sideFileNamesFitInAName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("cut");  // whether the name must be cut to fit
    QTest::newRow("short name") << "onlinetest.html" << false;
    QTest::newRow("235 characters, the most that fit whole")
        << repeated("v", 231) + ".flv" << false;
    // With the widest process number the hidden name of a 236-character name is 256 bytes long.
    QTest::newRow("236 characters") << repeated("v", 232) + ".flv" << true;
    QTest::newRow("255 bytes") << repeated("v", 251) + ".flv" << true;
    QTest::newRow("255 bytes of two-byte letters")
        << repeated(QString(QChar(0x00e9)), 250) + ".flv" << true;
    QTest::newRow("255 bytes of three-byte letters")
        << repeated(QString(QChar(0x65e5)), 251) << true;
    QTest::newRow("255 bytes of four-byte letters")
        << repeated(QString::fromUtf8("\xF0\x9F\x8E\xAC"), 255) << true;
}

// The hidden name keeps as much of the name as fits, never half a letter, and two long names
// that begin alike still get names of their own.
void GeneratedFilesTest::sideFileNamesFitInAName() {
    QFETCH(QString, name);
    QFETCH(bool, cut);
    const QString side = SideFileName::of(name, kTail);
    QVERIFY2(QFile::encodeName(side).size() <= 255, qPrintable(side));
    QVERIFY(side.startsWith(u'.') && side.endsWith(kTail));
    QCOMPARE(side == u'.' + name + kTail, !cut);
    QCOMPARE(QString::fromUtf8(QFile::encodeName(side)), side);  // whole letters only
    if (!cut)
        return;
    const QString other = name.chopped(2) + QStringLiteral("xy");
    QVERIFY(SideFileName::of(other, kTail) != side);
    QCOMPARE(SideFileName::of(name, kTail), side);
}

void GeneratedFilesTest::longNamesAreWrittenAndCopied_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("236 characters") << repeated("v", 232) + ".flv";
    QTest::newRow("255 bytes") << repeated("v", 251) + ".flv";
    QTest::newRow("255 bytes of two-byte letters")
        << repeated(QString(QChar(0x00e9)), 250) + ".vtt";
}

// Any name the file system holds can be written and copied to, over an older file too.
void GeneratedFilesTest::longNamesAreWrittenAndCopied() {
    QFETCH(QString, name);
    QTemporaryDir folder;
    const QString written = folder.filePath(name);
    FileOps::writeFile(written, "first");
    FileOps::writeFile(written, "second");
    QCOMPARE(TestFiles::readFile(written), QByteArray("second"));
    QTemporaryDir other;
    const QString copied = other.filePath(name);
    QVERIFY(FileOps::copyFile(written, copied));
    QCOMPARE(TestFiles::readFile(copied), QByteArray("second"));
    QCOMPARE(namesIn(folder.path()), QStringList{name});
    QCOMPARE(namesIn(other.path()), QStringList{name});
}

void GeneratedFilesTest::whatIsUnderTheName_data() {
    QTest::addColumn<QString>("under");  // what the folder holds under the file's name
    QTest::addColumn<QString>("error");  // the first line of the message; empty: written
    QTest::newRow("nothing") << ""
                             << "";
    QTest::newRow("an older file") << "file"
                                   << "";
    QTest::newRow("a link to a file outside") << "link to file"
                                              << "";
    QTest::newRow("a link to a folder") << "link to folder"
                                        << "";
    QTest::newRow("a dangling link") << "dangling link"
                                     << "";
    QTest::newRow("a folder") << "folder"
                              << "ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.";
    QTest::newRow("an older file on a full disk") << "file, full disk"
                                                  << "ERROR# 61 DISK FULL. PLEASE CONTACT SUPPORT.";
    QTest::newRow("a link on a full disk") << "link to file, full disk"
                                           << "ERROR# 61 DISK FULL. PLEASE CONTACT SUPPORT.";
}

// A generated file takes its name whole or not at all: what was under the name stays as it was
// on a failure, a link is replaced and never written through, and no part is left beside it.
void GeneratedFilesTest::whatIsUnderTheName() {
    QFETCH(QString, under);
    QFETCH(QString, error);
    const bool fullDisk = under.endsWith(QLatin1String("full disk"));
    std::unique_ptr<ScratchMount> disk;
    QTemporaryDir plain;
    QString folder = plain.path();
    if (fullDisk) {
        disk = std::make_unique<ScratchMount>("tmpfs", "size=64k");
        if (!disk->mounted())
            QSKIP(qPrintable(disk->problem()));
        folder = disk->path();
    }
    QTemporaryDir outside;
    const QString target = outside.filePath("elsewhere.html");
    FileOps::writeFile(target, "the link's own file");
    const QString path = folder + "/onlinetest.html";
    if (under.startsWith("file"))
        FileOps::writeFile(path, "older");
    else if (under.startsWith("link to file"))
        QVERIFY(QFile::link(target, path));
    else if (under == "link to folder")
        QVERIFY(QFile::link(outside.path(), path));
    else if (under == "dangling link")
        QVERIFY(QFile::link(outside.filePath("none"), path));
    else if (under == "folder")
        QVERIFY(QDir().mkpath(path + "/inner"));
    const QStringList before = namesIn(folder);
    if (fullDisk) {
        QFile filler(folder + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    const QByteArray content(fullDisk ? 128 * 1024 : 4000, 'n');

    QString message;
    try {
        OutputFile::write({path, content, {}});
    } catch (const AppError& e) {
        message = commonErrorMessage(e);
    }

    QCOMPARE(TestFiles::readFile(target), QByteArray("the link's own file"));
    QCOMPARE(QDir(outside.path()).entryList(QDir::Files), QStringList{"elsewhere.html"});
    if (fullDisk)
        QFile::remove(folder + "/filler");
    if (!error.isEmpty()) {
        QCOMPARE(namesIn(folder), before);  // no side file left, nothing else added
        // The third line gives the system's reason.
        const QString reason = fullDisk ? "No space left on device" : "Is a directory";
        QCOMPARE(message, error + "\nWriting " + path + "\n" + reason);
        if (under.startsWith("file"))
            QCOMPARE(TestFiles::readFile(path), QByteArray("older"));
        if (under.startsWith("link"))
            QCOMPARE(QFileInfo(path).symLinkTarget(), target);
        return;
    }
    QVERIFY2(message.isEmpty(), qPrintable(message));
    QStringList after = before;
    if (!after.contains("onlinetest.html"))
        after << "onlinetest.html";
    after.sort();
    QCOMPARE(namesIn(folder), after);
    QVERIFY(!QFileInfo(path).isSymLink());
    QCOMPARE(TestFiles::readFile(path), content);
}

QTEST_GUILESS_MAIN(GeneratedFilesTest)
#include "tst_GeneratedFiles.moc"
