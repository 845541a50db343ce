// A run killed between naming its new file and renaming it over the video leaves a hidden copy
// as large as the video. The next run on that video removes such copies once no live run holds
// them, and nothing else.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "InjectedFile.h"
#include "flv/Injector.h"
#include "flv/TemporaryFile.h"

using namespace flvmdi;
using namespace injected;
Q_DECLARE_METATYPE(Bytes)

namespace {

QByteArray local(const QString& path) {
    return path.toLocal8Bit();
}

// A process id that no process has any more.
pid_t deadPid() {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

// Another process holding the lock of a file until it is killed, as a live run holds its new file.
class LockingProcess {
  public:
    explicit LockingProcess(const QString& path) {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        const QByteArray name = local(path);
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(name.constData(), O_RDONLY);
            const char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? '1' : '0';
            [[maybe_unused]] const auto n = ::write(ready[1], &ok, 1);
            for (;;)
                ::pause();
        }
        char ok = '0';
        locked_ = pid_ > 0 && ::read(ready[0], &ok, 1) == 1 && ok == '1';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockingProcess() { kill(); }
    bool locked() const { return locked_; }
    pid_t pid() const { return pid_; }
    void kill() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    bool locked_ = false;
};

QString leftoverName(const QString& video, qint64 pid, int n) {
    return QStringLiteral(".%1.flvmdi-%2-%3").arg(video).arg(pid).arg(n);
}

QStringList folderEntries(const QString& folder) {
    auto list = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                       QDir::NoDotAndDotDot);
    list.sort();
    return list;
}

// Names a later run must leave alone: not the exact pattern for v.flv, or no regular file.
QStringList makeLookAlikes(const QString& folder, const Bytes& copy) {
    const QStringList files = {
        ".v.flv.flvmdi-12-x",      ".v.flv.flvmdi--1",  ".v.flv.flvmdi-12-",  ".v.flv.flvmdi-1a-2",
        ".v.flv.flvmdi-12-3.part", "v.flv.flvmdi-12-3", ".w.flv.flvmdi-12-3", "..v.flv.flvmdi-12-3",
        ".v.flv.flvmdi-12-3-4",    ".v.flvmdi-12-3",    ".V.flv.flvmdi-12-3"};
    for (const QString& name : files)
        writeFile(folder + '/' + name, copy);
    const QString dir = leftoverName("v.flv", deadPid(), 5);
    const QString link = leftoverName("v.flv", deadPid(), 6);
    const QString fifo = leftoverName("v.flv", deadPid(), 7);
    QDir(folder).mkdir(dir);
    writeFile(folder + "/outside.bin", copy);
    ::symlink("outside.bin", local(folder + '/' + link).constData());
    ::mkfifo(local(folder + '/' + fifo).constData(), 0600);
    return files + QStringList{dir, link, fifo, "outside.bin"};
}

Bytes injectedWith(const QString& folder, const Bytes& input) {
    const QString path = folder + "/prepared.flv";
    writeFile(path, input);
    Injector({true, true}).inject(path.toStdString());
    Bytes done = readFile(path);
    QFile::remove(path);
    return done;
}

}  // namespace

class LeftoversTest : public QObject {
    Q_OBJECT

  private slots:
    void removesCopiesOfDeadRunsOnly_data();
    void removesCopiesOfDeadRunsOnly();
    void runKilledAtTheRenameIsCleanedUpNextTime();
    void newFileIsLockedWhileItExists();
};

void LeftoversTest::removesCopiesOfDeadRunsOnly_data() {
    QTest::addColumn<Bytes>("video");
    QTemporaryDir scratch;
    QTest::newRow("first injection") << plainVideo(60);
    QTest::newRow("already injected") << injectedWith(scratch.path(), plainVideo(60));
}

void LeftoversTest::removesCopiesOfDeadRunsOnly() {
    QFETCH(Bytes, video);
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString path = dir.filePath("v.flv");
    writeFile(path, video);
    // A dead run's copy, and one named after a running process (its id was reused) that nobody
    // holds: both are dead.
    const QStringList dead = {leftoverName("v.flv", deadPid(), 0),
                              leftoverName("v.flv", ::getpid(), 3)};
    for (const QString& name : dead)
        writeFile(folder + '/' + name, video);
    const QString live = leftoverName("v.flv", deadPid(), 1);
    writeFile(folder + '/' + live, video);
    LockingProcess holder(folder + '/' + live);
    QVERIFY(holder.locked());
    QStringList kept = makeLookAlikes(folder, video) + QStringList{live, "v.flv"};
    kept.sort();

    QProcess run;
    run.start(QStringLiteral(FLVMDI_PROGRAM), {"/k", "/l", path});
    QVERIFY(run.waitForFinished(20000));
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(folderEntries(folder), kept);
    readInjected(readFile(path));
    QVERIFY(QFileInfo(folder + '/' + ".v.flv.flvmdi-12-3.part").size() == qint64(video.size()));

    // Once its holder is killed, the copy it held is dead too.
    holder.kill();
    run.start(QStringLiteral(FLVMDI_PROGRAM), {"/k", "/l", path});
    QVERIFY(run.waitForFinished(20000));
    QCOMPARE(run.exitCode(), 0);
    kept.removeOne(live);
    QCOMPARE(folderEntries(folder), kept);
}

// strace kills flvmdi as it enters the rename: its new file stays under its hidden name.
void LeftoversTest::runKilledAtTheRenameIsCleanedUpNextTime() {
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        QSKIP("strace is not installed: cannot stop flvmdi at its rename");
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    const Bytes input = plainVideo(80);
    writeFile(path, input);
    QProcess killed;
    killed.start(strace,
                 {"-f", "-o", "/dev/null", "-e", "inject=rename,renameat,renameat2:signal=KILL",
                  FLVMDI_PROGRAM, "/k", "/l", path});
    QVERIFY(killed.waitForFinished(20000));
    const QStringList left = folderEntries(dir.path());
    if (left.size() != 2)
        QSKIP(qPrintable("strace could not stop flvmdi at its rename: " +
                         QString::fromUtf8(killed.readAllStandardError())));
    QVERIFY(readFile(path) == input);
    QVERIFY(left[0].startsWith(".v.flv.flvmdi-"));
    QVERIFY(QFileInfo(dir.filePath(left[0])).size() > qint64(input.size()));

    QProcess next;
    next.start(QStringLiteral(FLVMDI_PROGRAM), {"/k", "/l", path});
    QVERIFY(next.waitForFinished(20000));
    QCOMPARE(next.exitCode(), 0);
    QCOMPARE(folderEntries(dir.path()), QStringList{"v.flv"});
    QVERIFY(keptTags(readFile(path)) == keptTags(input));
}

// A cleaning run tells a live copy by its lock: the new file must hold one from its creation,
// before it is ever named.
void LeftoversTest::newFileIsLockedWhileItExists() {
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    writeFile(path, plainVideo(10));
    TemporaryFile file(path.toStdString());
    const int other =
        ::open(qPrintable(QStringLiteral("/proc/self/fd/%1").arg(file.fd())), O_RDONLY);
    QVERIFY(other >= 0);
    QCOMPARE(::flock(other, LOCK_EX | LOCK_NB), -1);
    QCOMPARE(errno, EWOULDBLOCK);
    ::close(other);
}

QTEST_GUILESS_MAIN(LeftoversTest)
#include "tst_Leftovers.moc"
