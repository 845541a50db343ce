// Two injections of one file at the same time: the second waits for the first, and when the
// first has renamed its new file over the video meanwhile, the second starts over on that new
// file instead of writing what it worked out for the old one.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <thread>

#include "InjectedFile.h"
#include "ProcessProbe.h"
#include "flv/Injector.h"

using namespace flvmdi;
using namespace injected;
Q_DECLARE_METATYPE(Bytes)

namespace {

// Holds an exclusive lock on a file as another injector would, until released or destroyed.
class LockHolder {
  public:
    explicit LockHolder(const QString& path)
        : fd_(::open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC)) {
        locked_ = fd_ >= 0 && ::flock(fd_, LOCK_EX) == 0;
    }
    ~LockHolder() { release(); }
    bool locked() const { return locked_; }
    void release() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
    bool locked_ = false;
};

// Puts new content at the path the way an injector does: written beside it, renamed over it.
void replaceByRename(const QString& path, const Bytes& content) {
    const QString beside = path + ".new";
    writeFile(beside, content);
    QCOMPARE(::rename(beside.toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0);
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// An injected recording that went on: more frames behind what was injected, so the next run
// rewrites only the metadata region in place.
Bytes grownRecording(const QString& folder) {
    const QString path = folder + "/grown.flv";
    writeFile(path, plainVideo(50));
    Injector({true, false}).inject(path.toStdString());
    FlvBuilder more;
    for (uint32_t i = 50; i < 90; ++i)
        more.h263(i * 100, i % 10 == 0);
    writeFile(path, Bytes(more.bytes().begin() + 13, more.bytes().end()), QIODevice::Append);
    const Bytes grown = readFile(path);
    QFile::remove(path);
    return grown;
}

Bytes injectedVideo(const QString& folder) {
    const QString path = folder + "/done.flv";
    writeFile(path, plainVideo(70, 10, 33));
    Injector({true, true}).inject(path.toStdString());
    const Bytes done = readFile(path);
    QFile::remove(path);
    return done;
}

}  // namespace

class LockingTest : public QObject {
    Q_OBJECT

  private slots:
    void injectsTheFileThatReplacedTheLockedOne_data();
    void injectsTheFileThatReplacedTheLockedOne();
    void givesUpWhenTheFileKeepsBeingReplaced();
    void waitsForTheLockWithinItsPatience_data();
    void waitsForTheLockWithinItsPatience();
};

void LockingTest::injectsTheFileThatReplacedTheLockedOne_data() {
    QTest::addColumn<Bytes>("stale");
    QTemporaryDir scratch;
    QTest::newRow("stale file needed a rewrite") << plainVideo(60, 10, 30);
    QTest::newRow("stale file would be updated in place") << grownRecording(scratch.path());
    QTest::newRow("stale file was up to date") << injectedVideo(scratch.path());
}

// The test holds the lock as a first injector would, lets flvmdi open the file and wait, renames
// another video over the path, then lets go: flvmdi must inject the video now at the path.
void LockingTest::injectsTheFileThatReplacedTheLockedOne() {
    QFETCH(Bytes, stale);
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    writeFile(path, stale);
    const Bytes replacement = plainVideo(80, 20, 57);
    LockHolder first(path);
    QVERIFY(first.locked());

    QProcess second;
    second.start(QStringLiteral(FLVMDI_PROGRAM), {"/k", "/l", path});
    QVERIFY2(probe::waitUntilHolds(second, probe::statOf(path)),
             qPrintable(QString::fromUtf8(second.readAllStandardError())));
    replaceByRename(path, replacement);
    first.release();
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitCode(), 0);

    const Bytes output = readFile(path);
    const Injected file = readInjected(output);
    QVERIFY(keptTags(output) == keptTags(replacement));
    QCOMPARE(file.meta.find("filesize")->number, double(output.size()));
    QCOMPARE(file.meta.find("keyframes")->find("times")->items.size(), size_t(4));
    QCOMPARE(file.scriptNames, (std::vector<std::string>{"onMetaData", "onLastSecond"}));
    QCOMPARE(folderEntries(dir.path()), QStringList{"v.flv"});
}

// Every time flvmdi has opened the file and waits for its lock, another locked file takes its
// place: flvmdi must stop after a few rounds with a clear message and write nothing.
void LockingTest::givesUpWhenTheFileKeepsBeingReplaced() {
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    Bytes current = plainVideo(30, 10, 20);
    writeFile(path, current);
    auto holder = std::make_unique<LockHolder>(path);
    QProcess program;
    program.start(QStringLiteral(FLVMDI_PROGRAM), {"/k", "/l", path});
    int replacements = 0;
    while (replacements < 50 && probe::waitUntilHolds(program, probe::statOf(path))) {
        current = plainVideo(30, 10, 21 + size_t(replacements));
        replaceByRename(path, current);
        auto next = std::make_unique<LockHolder>(path);
        QVERIFY(next->locked());
        holder = std::move(next);  // lets go of the file flvmdi is waiting for
        ++replacements;
    }
    QVERIFY(program.state() == QProcess::NotRunning || program.waitForFinished(20000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    qInfo("flvmdi gave up after %d replacements: %s", replacements, qPrintable(err.trimmed()));
    QCOMPARE(program.exitCode(), 3);
    QVERIFY2(err.contains("replaced") && err.count('\n') == 1, qPrintable(err));
    QVERIFY(replacements >= 2 && replacements < 50);
    QVERIFY(readFile(path) == current);
    QCOMPARE(folderEntries(dir.path()), QStringList{"v.flv"});
}

void LockingTest::waitsForTheLockWithinItsPatience_data() {
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<int>("patienceMs");
    QTest::addColumn<bool>("injected");
    QTest::newRow("released a moment later") << 300 << 20000 << true;
    QTest::newRow("released at once") << 0 << 20000 << true;
    QTest::newRow("held longer than the patience") << 3000 << 400 << false;
}

void LockingTest::waitsForTheLockWithinItsPatience() {
    QFETCH(int, holdMs);
    QFETCH(int, patienceMs);
    QFETCH(bool, injected);
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    const Bytes input = plainVideo(40);
    writeFile(path, input);
    LockHolder other(path);
    QVERIFY(other.locked());
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
        other.release();
    });
    QElapsedTimer clock;
    clock.start();
    const Injector injector({true, false}, {}, {std::chrono::milliseconds(patienceMs), 5});
    QString problem;
    try {
        injector.inject(path.toStdString());
    } catch (const IoError& e) {
        problem = e.what();
    }
    const qint64 waited = clock.elapsed();
    releaser.join();
    if (injected) {
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(waited >= holdMs);
        QVERIFY(keptTags(readFile(path)) == keptTags(input));
        readInjected(readFile(path));
    } else {
        QVERIFY2(problem.contains("locked"), qPrintable(problem));
        QVERIFY(waited >= patienceMs && waited < holdMs);
        QVERIFY(readFile(path) == input);
    }
}

QTEST_GUILESS_MAIN(LockingTest)
#include "tst_Locking.moc"
