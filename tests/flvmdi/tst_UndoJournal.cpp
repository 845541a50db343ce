// The undo journal of the in-place update at its edges: a disk too full to take it, and a journal
// path taken by something that is no journal.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "InjectedFile.h"
#include "ScratchMount.h"
#include "flv/Injector.h"
#include "flv/UndoJournal.h"

using namespace flvmdi;
using namespace injected;

namespace {

QByteArray local(const QString& path) {
    return path.toLocal8Bit();
}

// An injected recording that went on, so that the next run updates its metadata in place. With
// one keyframe in two, the metadata region (and so the journal) spans several 4 KiB pages.
Bytes grownRecording(const QString& path) {
    writeFile(path, plainVideo(600, 2));
    Injector({true, false}).inject(path.toStdString());
    FlvBuilder more;
    for (uint32_t i = 600; i < 640; ++i)
        more.h263(i * 100, i % 2 == 0);
    writeFile(path, Bytes(more.bytes().begin() + 13, more.bytes().end()), QIODevice::Append);
    return readFile(path);
}

struct Run {
    int status = -1;  // -1: did not finish in time, and was killed
    QString out;
    QString err;
};

Run runProgram(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(FLVMDI_PROGRAM), args);
    Run run;
    if (!p.waitForFinished(15000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.status = p.exitCode();
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

// Fills the file system but for `pagesLeft` pages of 4 KiB.
void fillUp(const QString& folder, qint64 pagesLeft) {
    QFile filler(folder + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(1 << 16, 'f');
    while (filler.write(block) == block.size())
        ;
    filler.close();
    QVERIFY(QFile::resize(filler.fileName(), filler.size() - pagesLeft * 4096));
    struct statvfs space {};
    QCOMPARE(::statvfs(local(folder).constData(), &space), 0);
    QCOMPARE(qint64(space.f_bavail * space.f_frsize), pagesLeft * 4096);
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// What sits at the journal path instead of a journal; false when it cannot be made here.
bool makeStranger(const QString& kind, const QString& at, const QString& folder,
                  const Bytes& journal) {
    const QByteArray path = local(at);
    if (kind == "pipe")
        return ::mkfifo(path.constData(), 0600) == 0;
    if (kind == "folder")
        return QDir().mkdir(at);
    if (kind == "device")
        return ::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    if (kind == "socket") {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (size_t(path.size()) >= sizeof address.sun_path)
            return false;
        std::copy(path.begin(), path.end(), address.sun_path);
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return bound;
    }
    // A link to a journal that would match the video: following it would undo the last update.
    writeFile(folder + "/elsewhere", journal);
    return ::symlink(kind == "link" ? "elsewhere" : "nowhere", path.constData()) == 0;
}

}  // namespace

class UndoJournalTest : public QObject {
    Q_OBJECT

  private slots:
    void failedUpdateRemovesItsJournal_data();
    void failedUpdateRemovesItsJournal();
    void strangerAtTheJournalPathIsLeftAlone_data();
    void strangerAtTheJournalPathIsLeftAlone();
};

void UndoJournalTest::failedUpdateRemovesItsJournal_data() {
    QTest::addColumn<qint64>("pagesLeft");
    QTest::newRow("no room for the journal") << qint64(0);
    QTest::newRow("room for a part of the journal") << qint64(1);
}

void UndoJournalTest::failedUpdateRemovesItsJournal() {
    QFETCH(qint64, pagesLeft);
    ScratchMount disk("tmpfs", "size=4m,mode=0700");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    const QString path = disk.filePath("v.flv");
    const Bytes grown = grownRecording(path);
    const size_t region = 13 + 11 + readBe24(&grown[14]) + 4;
    QVERIFY2(region > 4096, "the journal must not fit into one page");
    fillUp(disk.path(), pagesLeft);

    const Run full = runProgram({"/k", path});
    QCOMPARE(full.status, 3);
    QVERIFY2(full.err.contains("No space left"), qPrintable(full.err));
    QVERIFY(readFile(path) == grown);
    QCOMPARE(folderEntries(disk.path()), (QStringList{"filler", "v.flv"}));

    // With room again, the update goes through.
    QVERIFY(QFile::remove(disk.filePath("filler")));
    const Run roomy = runProgram({"/k", path});
    QCOMPARE(roomy.status, 0);
    QVERIFY2(roomy.out.contains("updated in place"), qPrintable(roomy.out));
    QCOMPARE(readInjected(readFile(path)).meta.find("keyframes")->find("times")->items.size(),
             size_t(320));
}

void UndoJournalTest::strangerAtTheJournalPathIsLeftAlone_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<mode_t>("type");
    QTest::newRow("pipe") << "pipe" << mode_t(S_IFIFO);
    QTest::newRow("folder") << "folder" << mode_t(S_IFDIR);
    QTest::newRow("link to a matching journal") << "link" << mode_t(S_IFLNK);
    QTest::newRow("dangling link") << "dangling" << mode_t(S_IFLNK);
    QTest::newRow("device") << "device" << mode_t(S_IFCHR);
    QTest::newRow("socket") << "socket" << mode_t(S_IFSOCK);
}

// The run must neither block on a pipe, nor follow a link, nor remove what it did not make; it
// says what is in the way and leaves the video as it was.
void UndoJournalTest::strangerAtTheJournalPathIsLeftAlone() {
    QFETCH(QString, kind);
    QFETCH(mode_t, type);
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    const Bytes grown = grownRecording(path);
    // An update that was written but whose journal was not yet removed: undoing it would put the
    // old bytes back.
    const size_t region = 13 + 11 + readBe24(&grown[14]) + 4;
    Bytes updated = grown;
    updated[region - 20] ^= 0x20;
    const QString journal = QString::fromStdString(UndoJournal::pathFor(path.toStdString()));
    UndoJournal::write(path.toStdString(), grown.size(), {grown.data(), region},
                       {updated.data(), region});
    const Bytes journalBytes = readFile(journal);
    QVERIFY(QFile::remove(journal));
    writeFile(path, updated);
    if (!makeStranger(kind, journal, dir.path(), journalBytes))
        QSKIP(qPrintable("cannot make a " + kind + " here"));
    const QStringList before = folderEntries(dir.path());

    const Run run = runProgram({"/k", path});
    QVERIFY2(run.status != -1, "flvmdi hung");
    QCOMPARE(run.status, 3);
    QVERIFY2(run.err.contains(".v.flv.flvmdi-undo") && run.err.contains("not a regular file") &&
                 run.err.count('\n') == 1,
             qPrintable(run.err));
    QVERIFY(readFile(path) == updated);
    QCOMPARE(folderEntries(dir.path()), before);
    struct stat st {};
    QCOMPARE(::lstat(local(journal).constData(), &st), 0);
    QCOMPARE(st.st_mode & S_IFMT, type);
    if (kind == "link")
        QVERIFY(readFile(dir.filePath("elsewhere")) == journalBytes);
}

QTEST_GUILESS_MAIN(UndoJournalTest)
#include "tst_UndoJournal.moc"
