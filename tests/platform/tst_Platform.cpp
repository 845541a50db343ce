#include <unistd.h>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <functional>
#include <stdexcept>

#include "../flvmdi/ScratchMount.h"
#include "TestFiles.h"
#include "platform/AppError.h"
#include "platform/Cp1252.h"
#include "platform/FileOps.h"
#include "platform/Int16.h"
#include "platform/TextFile.h"

class PlatformTest : public QObject {
    Q_OBJECT

  private slots:
    void commonMessage_data();
    void commonMessage();
    void commonMessageGivesTheReason();
    void int16FromText_data();
    void int16FromText();
    void int16Arithmetic();
    void cp1252RoundTripsEveryByte();
    void cp1252Encoding_data();
    void cp1252Encoding();
    void readLinesAcceptsCrLfAndLf_data();
    void readLinesAcceptsCrLfAndLf();
    void writeLinesEndsEachWithCrLf();
    void missingFilesRaiseClassicNumbers();
    void messagesNameTheFileAndWhatWasDone_data();
    void messagesNameTheFileAndWhatWasDone();
    void atomicWriteKeepsOldFileWhenFolderIsMissing();
    void deleteMatchingTouchesOnlyThePattern();
    void copyFileOverwritesAndReportsMissingSource();
    void copyWithProgressReportsEachChunk_data();
    void copyWithProgressReportsEachChunk();
    void interruptedCopyLeavesTheOlderFile_data();
    void interruptedCopyLeavesTheOlderFile();
    void copyOntoTheSameFileLeavesIt_data();
    void copyOntoTheSameFileLeavesIt();
    void copyOntoAFullDiskLeavesNoPart_data();
    void copyOntoAFullDiskLeavesNoPart();
};

void PlatformTest::commonMessage_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("named");  // the path the error names; empty: a plain error
    QTest::addColumn<QString>("text");
    QTest::newRow("53") << 53 << ""
                        << "ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.";
    QTest::newRow("6") << 6 << ""
                       << "ERROR# 6 OVERFLOW. PLEASE CONTACT SUPPORT.";
    QTest::newRow("13") << 13 << ""
                        << "ERROR# 13 TYPE MISMATCH. PLEASE CONTACT SUPPORT.";
    QTest::newRow("75") << 75 << ""
                        << "ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.";
    QTest::newRow("5") << 5 << ""
                       << "ERROR# 5 INVALID PROCEDURE CALL OR ARGUMENT. PLEASE CONTACT SUPPORT.";
    // The path keeps its letters as they are: upper-casing it would name another file.
    QTest::newRow("53 naming a file")
        << 53 << "/home/ann/My Videos/clip.flv"
        << "ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.\n/home/ann/My Videos/clip.flv";
    QTest::newRow("76 naming a folder")
        << 76 << "/opt/vidlark/ruffle/"
        << "ERROR# 76 PATH NOT FOUND. PLEASE CONTACT SUPPORT.\n/opt/vidlark/ruffle/";
}

// The system's reason is a third line, after the classic text and the file.
void PlatformTest::commonMessageGivesTheReason() {
    QCOMPARE(
        commonErrorMessage(AppError::naming(61, "/media/stick/p.epe", AppError::Operation::Writing,
                                            AppError::reasonOf(ENOSPC))),
        "ERROR# 61 DISK FULL. PLEASE CONTACT SUPPORT.\nWriting /media/stick/p.epe\n"
        "No space left on device");
    QCOMPARE(commonErrorMessage(
                 AppError::copying(70, "/a/clip.flv", "/b/clip.flv", AppError::reasonOf(EACCES))),
             "ERROR# 70 PERMISSION DENIED. PLEASE CONTACT SUPPORT.\nCopying /a/clip.flv\nto "
             "/b/clip.flv\nPermission denied");
    QCOMPARE(AppError::reasonOf(ENAMETOOLONG), "File name too long");
    // Without a reason the message is what it always was.
    QCOMPARE(commonErrorMessage(AppError::naming(53, "/x", AppError::Operation::Reading)),
             "ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.\nReading /x");
    QCOMPARE(QString::fromStdString(
                 AppError::naming(75, "/x", AppError::Operation::Reading, "Is a directory").what()),
             "ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.\nReading /x\n"
             "Is a directory");
}

// A detail alone is for diagnostics; only an error made to name a path shows it.
void PlatformTest::commonMessage() {
    QFETCH(int, number);
    QFETCH(QString, named);
    QFETCH(QString, text);
    const AppError error = named.isEmpty() ? AppError(number, QStringLiteral("/some/path"))
                                           : AppError::naming(number, named);
    QCOMPARE(commonErrorMessage(error), text);
}

void PlatformTest::int16FromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");  // or -error number
    QTest::newRow("plain") << "480" << 480;
    QTest::newRow("blanks") << " 12 " << 12;
    QTest::newRow("negative") << "-32768" << -32768;
    QTest::newRow("max") << "32767" << 32767;
    QTest::newRow("overflow") << "32768" << -6;
    QTest::newRow("huge") << "99999999999999999999" << -6;
    QTest::newRow("empty") << "" << -13;
    QTest::newRow("letters") << "abc" << -13;
    QTest::newRow("sign only") << "-" << -13;
    QTest::newRow("decimal") << "1.5" << -13;
}

void PlatformTest::int16FromText() {
    QFETCH(QString, text);
    QFETCH(int, value);
    try {
        QCOMPARE(int(Int16::fromText(text)), value);
    } catch (const AppError& e) {
        QCOMPARE(-e.number(), value);
    }
}

void PlatformTest::int16Arithmetic() {
    QCOMPARE(Int16::add(640, 300), qint16(940));
    QCOMPARE(Int16::multiply(436, 75), qint16(32700));
    QVERIFY_THROWS_EXCEPTION(AppError, Int16::multiply(437, 75));
    QVERIFY_THROWS_EXCEPTION(AppError, Int16::add(32767, 1));
    try {
        Int16::add(32000, 1000);
        QFAIL("no overflow");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 6);
    }
}

void PlatformTest::cp1252RoundTripsEveryByte() {
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    QCOMPARE(Cp1252::encode(Cp1252::decode(all)), all);
}

void PlatformTest::cp1252Encoding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "ab" << QByteArray("ab");
    QTest::newRow("e acute") << QString::fromUtf8("é") << QByteArray("\xe9");
    QTest::newRow("euro") << QString::fromUtf8("€") << QByteArray("\x80");
    QTest::newRow("typographic quotes") << QString::fromUtf8("“”") << QByteArray("\x93\x94");
    QTest::newRow("not in code page") << QString::fromUtf8("ж") << QByteArray("?");
    QTest::newRow("outside basic plane") << QString::fromUtf8("a😀b") << QByteArray("a?b");
}

void PlatformTest::cp1252Encoding() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp1252::encode(text), bytes);
}

void PlatformTest::readLinesAcceptsCrLfAndLf_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nc\r\n") << QStringList{"", "", "c"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("cp1252") << QByteArray("\x80\r\n") << QStringList{QString::fromUtf8("€")};
}

void PlatformTest::readLinesAcceptsCrLfAndLf() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.txt");
    TextFile::writeBytes(path, bytes);
    QCOMPARE(TextFile::readLines(path), lines);
}

void PlatformTest::writeLinesEndsEachWithCrLf() {
    QTemporaryDir dir;
    const QString path = dir.filePath("f.txt");
    TextFile::writeLines(path, {"x", "", QString::fromUtf8("é")});
    QCOMPARE(TestFiles::readFile(path), QByteArray("x\r\n\r\n\xe9\r\n"));
}

void PlatformTest::missingFilesRaiseClassicNumbers() {
    QTemporaryDir dir;
    try {
        TextFile::readLines(dir.filePath("nope.txt"));
        QFAIL("read a missing file");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 53);
    }
    try {
        TextFile::writeLines(dir.filePath("no/such/folder/f.txt"), {"x"});
        QFAIL("wrote into a missing folder");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 76);
    }
}

using FileAction = std::function<void(const QDir&)>;

// Each failing file operation, as the user meets it: the classic text first, then what the
// program was doing and to which file, so the user knows which of a run's files to look at.
void PlatformTest::messagesNameTheFileAndWhatWasDone_data() {
    QTest::addColumn<FileAction>("action");
    QTest::addColumn<QString>("text");  // "@" stands for the scratch folder
    const QString n53 = QStringLiteral("ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.\n");
    const QString n76 = QStringLiteral("ERROR# 76 PATH NOT FOUND. PLEASE CONTACT SUPPORT.\n");
    const QString n75 =
        QStringLiteral("ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.\n");
    QTest::newRow("reading a missing text file")
        << FileAction([](const QDir& d) { TextFile::readLines(d.filePath("gone.txt")); })
        << n53 + "Reading @/gone.txt\nNo such file or directory";
    QTest::newRow("writing into a missing folder")
        << FileAction([](const QDir& d) { TextFile::writeLines(d.filePath("no/f.txt"), {"x"}); })
        << n76 + "Writing @/no/f.txt\nNo such file or directory";
    QTest::newRow("saving whole into a missing folder") << FileAction([](const QDir& d) {
        TextFile::writeLinesAtomically(d.filePath("no/p.epe"), {});
    }) << n76 + "Writing @/no/p.epe\nNo such file or directory";
    QTest::newRow("copying a missing file") << FileAction([](const QDir& d) {
        FileOps::copyFile(d.filePath("clip.mp4"), d.filePath("out.mp4"));
    }) << n53 + "Copying @/clip.mp4\nto @/out.mp4";
    QTest::newRow("copying into a missing folder, in chunks") << FileAction([](const QDir& d) {
        TextFile::writeLines(d.filePath("a.txt"), {"x"});
        FileOps::copyFile(d.filePath("a.txt"), d.filePath("no/a.txt"),
                          [](qint64, qint64) { return true; });
    }) << n76 + "Copying @/a.txt\nto @/no/a.txt";
    QTest::newRow("making a folder where a file is") << FileAction([](const QDir& d) {
        TextFile::writeLines(d.filePath("thumbs"), {"x"});
        FileOps::makeFolder(d.filePath("thumbs/more"));
    }) << n75 + "Making the folder @/thumbs/more\nNot a directory";
}

void PlatformTest::messagesNameTheFileAndWhatWasDone() {
    QFETCH(FileAction, action);
    QFETCH(QString, text);
    QTemporaryDir dir;
    try {
        action(QDir(dir.path()));
        QFAIL("the operation did not fail");
    } catch (const AppError& e) {
        QCOMPARE(commonErrorMessage(e), QString(text).replace(u'@', dir.path()));
    }
}

void PlatformTest::atomicWriteKeepsOldFileWhenFolderIsMissing() {
    QTemporaryDir dir;
    const QString path = dir.filePath("doc.txt");
    TextFile::writeLinesAtomically(path, {"old"});
    TextFile::writeLinesAtomically(path, {"new", "lines"});
    QCOMPARE(TestFiles::readFile(path), QByteArray("new\r\nlines\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.txt"});
}

void PlatformTest::deleteMatchingTouchesOnlyThePattern() {
    QTemporaryDir dir;
    for (const char* name :
         {"zevocoresva0101.js", "zevocoresva0202.js", "zevoflashsva0101.js", "zevocoresv.txt"})
        TextFile::writeLines(dir.filePath(name), {"x"});
    FileOps::deleteMatching(dir.path(), "zevocoresv*.js");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             (QStringList{"zevocoresv.txt", "zevoflashsva0101.js"}));
    FileOps::deleteMatching(dir.path(), "nothing*.js");
}

void PlatformTest::copyFileOverwritesAndReportsMissingSource() {
    QTemporaryDir dir;
    TextFile::writeLines(dir.filePath("a"), {"one"});
    TextFile::writeLines(dir.filePath("b"), {"old", "longer"});
    FileOps::copyFile(dir.filePath("a"), dir.filePath("b"));
    QCOMPARE(TestFiles::readFile(dir.filePath("b")), QByteArray("one\r\n"));
    try {
        FileOps::copyFile(dir.filePath("missing"), dir.filePath("c"));
        QFAIL("copied a missing file");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 53);
    }
}

void PlatformTest::copyWithProgressReportsEachChunk_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<qint64>>("reports");
    QTest::newRow("three chunks") << 10000 << QList<qint64>{4096, 8192, 10000};
    QTest::newRow("exactly one chunk") << 4096 << QList<qint64>{4096};
    QTest::newRow("empty file") << 0 << QList<qint64>{0};
}

void PlatformTest::copyWithProgressReportsEachChunk() {
    QFETCH(int, size);
    QTemporaryDir dir;
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7);
    TextFile::writeBytes(dir.filePath("video.flv"), bytes);
    TextFile::writeBytes(dir.filePath("copy.flv"), "an older, longer file that must be replaced");
    QList<qint64> reports;
    FileOps::copyFile(
        dir.filePath("video.flv"), dir.filePath("copy.flv"),
        [&](qint64 done, qint64 total) {
            reports.append(total == size ? done : -total);
            return true;
        },
        4096);
    QTEST(reports, "reports");
    QCOMPARE(TestFiles::readFile(dir.filePath("copy.flv")), bytes);
}

void PlatformTest::interruptedCopyLeavesTheOlderFile_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("olderFile");
    for (const char* how : {"stopped", "report failed"}) {
        QTest::addRow("%s, over an older file", how) << QString(how) << true;
        QTest::addRow("%s, new file", how) << QString(how) << false;
    }
}

// A copy that is stopped after its first piece, or whose progress report fails (an exception out
// of the window), leaves neither a part of itself nor a damaged older file.
void PlatformTest::interruptedCopyLeavesTheOlderFile() {
    QFETCH(QString, how);
    QFETCH(bool, olderFile);
    QTemporaryDir dir;
    const QByteArray bytes = QByteArray("FLV\x01\x05").repeated(2000);
    TextFile::writeBytes(dir.filePath("video.flv"), bytes);
    if (olderFile)
        TextFile::writeBytes(dir.filePath("copy.flv"), "the older copy");
    const auto before = TestFiles::filesBelow(dir.path());
    int reports = 0;
    bool stopped = false;
    try {
        stopped = !FileOps::copyFile(
            dir.filePath("video.flv"), dir.filePath("copy.flv"),
            [&](qint64, qint64) {
                ++reports;
                if (how == "report failed")
                    throw std::runtime_error("the window went away");
                return false;
            },
            4096);
    } catch (const std::runtime_error&) {
    }
    QCOMPARE(stopped, how == "stopped");
    QCOMPARE(reports, 1);
    QCOMPARE(TestFiles::filesBelow(dir.path()), before);
}

// A second name for dir/videos/clip.flv, made as `how` says; empty when this system cannot.
QString secondName(const QTemporaryDir& dir, const QString& how) {
    const QString source = dir.filePath("videos/clip.flv");
    if (how == "same text")
        return source;
    if (how == "hard link")
        return ::link(QFile::encodeName(source), QFile::encodeName(dir.filePath("out/clip.flv"))) ==
                       0
                   ? dir.filePath("out/clip.flv")
                   : QString();
    if (how == "link to the file")
        return QFile::link(source, dir.filePath("out/clip.flv")) ? dir.filePath("out/clip.flv")
                                                                 : QString();
    if (how == "folder through a link")
        return QFile::link(dir.filePath("videos"), dir.filePath("linked"))
                   ? dir.filePath("linked/clip.flv")
                   : QString();
    // A bind mount: the texts differ and no link is there to resolve.
    if (QProcess::execute("mount", {"--bind", dir.filePath("videos"), dir.filePath("out")}) != 0)
        return {};
    return dir.filePath("out/clip.flv");
}

void PlatformTest::copyOntoTheSameFileLeavesIt_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("withProgress");
    for (const char* how :
         {"same text", "hard link", "link to the file", "folder through a link", "bind mount"}) {
        QTest::addRow("%s", how) << QString(how) << false;
        QTest::addRow("%s, with progress", how) << QString(how) << true;
    }
}

void PlatformTest::copyOntoTheSameFileLeavesIt() {
    QFETCH(QString, how);
    QFETCH(bool, withProgress);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("videos") && QDir(dir.path()).mkpath("out"));
    const QByteArray bytes = QByteArray("FLV\x01\x05").repeated(1000);
    TextFile::writeBytes(dir.filePath("videos/clip.flv"), bytes);
    const QString target = secondName(dir, how);
    if (target.isEmpty())
        QSKIP("this system cannot make that second name (a bind mount needs root)");
    auto unmount = qScopeGuard([&] {
        if (how == "bind mount")
            QProcess::execute("umount", {dir.filePath("out")});
    });
    QVERIFY(FileOps::sameFile(dir.filePath("videos/clip.flv"), target));
    qint64 reported = 0;
    FileOps::copyFile(dir.filePath("videos/clip.flv"), target,
                      withProgress ? FileOps::Progress([&](qint64, qint64) {
                          ++reported;
                          return true;
                      })
                                   : FileOps::Progress());
    QCOMPARE(TestFiles::readFile(dir.filePath("videos/clip.flv")), bytes);
    QCOMPARE(reported, 0);
}

// A disk that fills up during a copy: the copy fails with error 61 naming both files, and the
// target's name holds what it held before (nothing, or the older file), never a part of the new
// one; nothing else of the copy stays on the disk either.
void PlatformTest::copyOntoAFullDiskLeavesNoPart_data() {
    QTest::addColumn<bool>("inChunks");
    QTest::addColumn<bool>("olderFile");
    QTest::newRow("whole copy, new name") << false << false;
    QTest::newRow("whole copy over an older file") << false << true;
    QTest::newRow("copy in chunks, new name") << true << false;
    QTest::newRow("copy in chunks over an older file") << true << true;
}

void PlatformTest::copyOntoAFullDiskLeavesNoPart() {
    QFETCH(bool, inChunks);
    QFETCH(bool, olderFile);
    ScratchMount disk("tmpfs", "size=256k");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    QTemporaryDir sources;
    const QByteArray video(600 * 1024, 'v');
    const QString from = sources.filePath("clip.mp4");
    TextFile::writeBytes(from, video);
    const QString to = disk.filePath("clip.mp4");
    if (olderFile)
        TextFile::writeBytes(to, "older");
    QString message;
    try {
        if (inChunks)
            FileOps::copyFile(
                from, to, [](qint64, qint64) { return true; }, 64 * 1024);
        else
            FileOps::copyFile(from, to);
    } catch (const AppError& e) {
        message = commonErrorMessage(e);
    }
    const QStringList left = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    QCOMPARE(left, olderFile ? QStringList{"clip.mp4"} : QStringList{});
    if (olderFile)
        QCOMPARE(TestFiles::readFile(to), QByteArray("older"));
    QCOMPARE(message, "ERROR# 61 DISK FULL. PLEASE CONTACT SUPPORT.\nCopying " + from + "\nto " +
                          to + "\nNo space left on device");
}

QTEST_GUILESS_MAIN(PlatformTest)
#include "tst_Platform.moc"
