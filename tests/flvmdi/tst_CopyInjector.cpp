// The copy that injects on the way must give the very file a plain copy followed by the injector
// gives, leave the injector nothing to do, and never leave a half-written file under the target's
// name.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

#include "InjectedFile.h"
#include "LargeFlv.h"
#include "flv/CopyInjector.h"
#include "flv/Injector.h"

using namespace flvmdi;
using namespace injected;
Q_DECLARE_METATYPE(Bytes)

namespace {

enum class Route { InOrder, CopyDuringScan, CopyThatCannotMove };

std::string pathOf(const QString& path) {
    return path.toStdString();
}

bool supportsXattr(const QString& folder) {
    const QString probe = folder + "/probe";
    writeFile(probe, {1});
    const bool ok = ::setxattr(probe.toLocal8Bit().constData(), "user.probe", "1", 1, 0) == 0;
    QFile::remove(probe);
    return ok;
}

Bytes h263Video(bool audio, bool cuePoint, bool staleMetadata, size_t extra = 200) {
    FlvBuilder b(audio ? 5 : 1);
    if (staleMetadata)
        b.script(0, "onMetaData", "duration", 99);
    for (uint32_t i = 0; i < 120; ++i) {
        b.h263(i * 40, i % 25 == 0, extra + i * 3);
        if (audio)
            b.mp3(i * 40 + 5);
        if (cuePoint && i == 30)
            b.script(i * 40, "onCuePoint", "time", 1.2);
        if (staleMetadata && i == 70)
            b.script(i * 40, "onLastSecond");
        if (staleMetadata && i == 50)
            b.tag(8, i * 40 + 6, {0x2F, 1, 2}, 7);  // a wrong trailer
    }
    return b.bytes();
}

Bytes h264Video() {
    FlvBuilder b;
    b.avc(0, 1, 0, {1, 0x42, 0, 0x1E});
    for (uint32_t i = 0; i < 120; ++i) {
        b.avc(i * 40, i % 25 == 0 ? 1 : 2, 1, Bytes(300 + i, 0x11));
        b.mp3(i * 40 + 5);
    }
    return b.bytes();
}

Bytes audioOnly() {
    FlvBuilder b(4);
    for (uint32_t i = 0; i < 200; ++i)
        b.mp3(i * 26, 400 + i);
    return b.bytes();
}

// Long enough for the injector to align its long run within a block.
Bytes longVideo() {
    FlvBuilder b;
    b.script(0, "onMetaData", "duration", 3);
    for (uint32_t i = 0; i < 400; ++i) {
        b.h263(i * 40, i % 25 == 0, 50000 + i * 13);
        b.mp3(i * 40 + 7, 300);
    }
    return b.bytes();
}

// A video injected once already: a copy of it carries no stamp, so the injector checks it again.
Bytes injectedBefore() {
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    writeFile(path, h263Video(true, true, false));
    Injector({true, true}).inject(pathOf(path));
    return readFile(path);
}

EarlyCopy::Tuning tuningFor(Route route) {
    if (route == Route::InOrder)
        return {UINT64_MAX, 0};
    // A front too large to be filled by padding, for a file system that cannot move the copy.
    return {0, route == Route::CopyThatCannotMove ? 8192u : 0u};
}

QString folderFor(Route route) {
    return route == Route::CopyThatCannotMove ? "/dev/shm/flvmdi-XXXXXX"
                                              : QDir::tempPath() + "/flvmdi-XXXXXX";
}

}  // namespace

class CopyInjectorTest : public QObject {
    Q_OBJECT

  private slots:
    void sameAsCopyThenInject_data();
    void sameAsCopyThenInject();
    void refusedSourceWritesNothing_data();
    void refusedSourceWritesNothing();
    void stopLeavesOldTarget();
    void killedCopyLeavesSourceAndNoHalfTarget();
};

void CopyInjectorTest::sameAsCopyThenInject_data() {
    QTest::addColumn<Bytes>("input");
    QTest::addColumn<Route>("route");
    const QList<std::pair<const char*, Bytes>> corpus{
        {"H.263 with audio", h263Video(true, false, false)},
        {"H.264 with audio", h264Video()},
        {"audio only", audioOnly()},
        {"video only", h263Video(false, false, false)},
        {"cue points", h263Video(true, true, false)},
        {"stale metadata, wrong trailer", h263Video(true, true, true)},
        {"injected before", injectedBefore()},
        {"long run aligned", longVideo()},
    };
    const QList<std::pair<const char*, Route>> routes{
        {"in order", Route::InOrder},
        {"copy during scan", Route::CopyDuringScan},
        {"copy that cannot move", Route::CopyThatCannotMove},
    };
    for (const auto& [name, bytes] : corpus)
        for (const auto& [routeName, route] : routes)
            QTest::addRow("%s, %s", name, routeName) << bytes << route;
}

void CopyInjectorTest::sameAsCopyThenInject() {
    QFETCH(Bytes, input);
    QFETCH(Route, route);
    QTemporaryDir dir(folderFor(route));
    if (!dir.isValid())
        QSKIP("no folder for this route here");
    for (const char* sub : {"in", "out", "ref"})
        QVERIFY(QDir(dir.path()).mkdir(sub));
    const QString source = dir.filePath("in/v.flv");
    const QString target = dir.filePath("out/v.flv");
    const QString reference = dir.filePath("ref/v.flv");
    writeFile(source, input);
    writeFile(reference, input);
    const InjectOptions options{true, true};
    const auto tuning = tuningFor(route);
    Injector(options, tuning).inject(pathOf(reference));

    std::vector<uint64_t> reports;
    const auto copied =
        CopyInjector(options, tuning).copy(pathOf(source), pathOf(target), [&](auto done, auto) {
            reports.push_back(done);
            return true;
        });
    QVERIFY(copied);
    const Bytes output = readFile(target);
    QVERIFY(output == readFile(reference));
    QCOMPARE(copied->fileSize, uint64_t(output.size()));
    QVERIFY(readFile(source) == input);
    QVERIFY(std::is_sorted(reports.begin(), reports.end()));
    QVERIFY(!reports.empty() && reports.back() == output.size());

    // The injector run that follows finds the copy up to date and leaves it alone.
    struct stat before {};
    ::stat(target.toLocal8Bit().constData(), &before);
    const auto after = Injector(options, tuning).inject(pathOf(target));
    QCOMPARE(after.kind, InjectResult::Kind::Unchanged);
    QCOMPARE(after.stampMatched, supportsXattr(dir.path()));
    QVERIFY(readFile(target) == output);
    struct stat now {};
    ::stat(target.toLocal8Bit().constData(), &now);
    QCOMPARE(now.st_ino, before.st_ino);
    QCOMPARE(now.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

void CopyInjectorTest::refusedSourceWritesNothing_data() {
    QTest::addColumn<Bytes>("input");
    const Bytes good = h263Video(true, false, false);
    QTest::newRow("truncated") << Bytes(good.begin(), good.end() - 100);
    QTest::newRow("not FLV") << Bytes{0, 0, 0, 0x18, 'f', 't', 'y', 'p', 'm', 'p', '4', '2'};
    FlvBuilder b;
    b.h263(0, true);
    const size_t second = b.h263(40, false);
    Bytes encrypted = b.bytes();
    encrypted[second] |= 0x20;  // the tag's filter bit
    QTest::newRow("encrypted") << encrypted;
}

// The caller copies such a file plainly; the copy that injects must leave the old target alone.
void CopyInjectorTest::refusedSourceWritesNothing() {
    QFETCH(Bytes, input);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("out"));
    const QString source = dir.filePath("v.flv");
    const QString target = dir.filePath("out/v.flv");
    writeFile(source, input);
    writeFile(target, {'o', 'l', 'd'});
    QVERIFY_THROWS_EXCEPTION(FlvError,
                             CopyInjector({true, true}).copy(pathOf(source), pathOf(target)));
    QVERIFY(readFile(target) == Bytes({'o', 'l', 'd'}));
    QCOMPARE(
        QDir(dir.filePath("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{"v.flv"});
}

void CopyInjectorTest::stopLeavesOldTarget() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("out"));
    const QString source = dir.filePath("v.flv");
    const QString target = dir.filePath("out/v.flv");
    writeFile(source, longVideo());
    writeFile(target, {'o', 'l', 'd'});
    int reports = 0;
    const auto copied =
        CopyInjector({true, true}).copy(pathOf(source), pathOf(target), [&](uint64_t, uint64_t) {
            return ++reports < 2;
        });
    QVERIFY(!copied);
    QCOMPARE(reports, 2);
    QVERIFY(readFile(target) == Bytes({'o', 'l', 'd'}));
    QCOMPARE(
        QDir(dir.filePath("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{"v.flv"});
}

// A child process makes the copy and is killed at a random moment: the source must stay as it
// was, and the target be the old file or the complete new one, with nothing beside it.
void CopyInjectorTest::killedCopyLeavesSourceAndNoHalfTarget() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("out"));
    QVERIFY(QDir(dir.path()).mkdir("ref"));
    const QString source = dir.filePath("v.flv");
    const QString target = dir.filePath("out/v.flv");
    const QString finished = dir.filePath("ref/v.flv");
    writeLargeFlv(source, 2000, true);  // 64 MiB
    const Bytes pristine = readFile(source);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(CopyInjector({true, true}).copy(pathOf(source), pathOf(finished)));
    const qint64 fullRun = std::max<qint64>(clock.elapsed(), 20);
    const Bytes complete = readFile(finished);

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("full run %lld ms, seed %u", fullRun, seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> delay(0, fullRun);
    int interrupted = 0;
    const Bytes old{'o', 'l', 'd'};
    writeFile(target, old);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            try {
                CopyInjector({true, true}).copy(pathOf(source), pathOf(target));
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        QThread::msleep(quint64(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY(readFile(source) == pristine);
        const Bytes now = readFile(target);
        QVERIFY2(now == old || now == complete, qPrintable(QString::number(round)));
        QCOMPARE(QDir(dir.filePath("out"))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"v.flv"});
        if (now == old)
            ++interrupted;
        else
            writeFile(target, old);
    }
    qInfo("%d of 12 copies were cut short", interrupted);
    QVERIFY(interrupted >= 2);
}

QTEST_GUILESS_MAIN(CopyInjectorTest)
#include "tst_CopyInjector.moc"
