// Kills flvmdi at random moments of a large injection: every time, the video must be either the
// untouched original or the complete injected file, and nothing may be left beside it.
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

#include "FlvBuilder.h"
#include "LargeFlv.h"

namespace {

constexpr int kRounds = 16;

bool sameContent(const QString& a, const QString& b) {
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    while (!fa.atEnd())
        if (fa.read(1 << 20) != fb.read(1 << 20))
            return false;
    return true;
}

}  // namespace

class CrashSafetyTest : public QObject {
    Q_OBJECT

  private slots:
    void killedInjectionLeavesOriginalOrResult();
};

void CrashSafetyTest::killedInjectionLeavesOriginalOrResult() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("work");
    const QString pristine = dir.filePath("pristine.flv");
    const QString finished = dir.filePath("finished.flv");
    const QString target = dir.filePath("work/video.flv");
    writeLargeFlv(pristine, 4000, false);  // 128 MiB
    QVERIFY(QFile::copy(pristine, finished));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(QProcess::execute(FLVMDI_PROGRAM, {"/k", "/l", finished}), 0);
    const qint64 fullRun = clock.elapsed();

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("full run %lld ms, seed %u", fullRun, seed);
    std::mt19937 random(seed);
    // Later runs find the file in the page cache and may be quicker than the first.
    std::uniform_int_distribution<qint64> delay(0, fullRun * 3 / 4);
    int interrupted = 0;
    QVERIFY(QFile::copy(pristine, target));
    for (int round = 0; round < kRounds; ++round) {
        QProcess p;
        p.start(FLVMDI_PROGRAM, {"/k", "/l", target});
        QVERIFY(p.waitForStarted());
        QThread::msleep(quint64(delay(random)));
        p.kill();
        p.waitForFinished();
        const bool untouched = sameContent(target, pristine);
        QVERIFY2(untouched || sameContent(target, finished), qPrintable(QString::number(round)));
        QCOMPARE(QDir(dir.filePath("work"))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"video.flv"});
        if (untouched) {
            ++interrupted;
        } else {
            QVERIFY(QFile::remove(target));
            QVERIFY(QFile::copy(pristine, target));
        }
    }
    qInfo("%d of %d runs were cut short", interrupted, kRounds);
    QVERIFY(interrupted >= kRounds / 4);
    // Whatever the kills left, the next run completes the injection.
    QCOMPARE(QProcess::execute(FLVMDI_PROGRAM, {"/k", "/l", target}), 0);
    QVERIFY(sameContent(target, finished));
}

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "tst_CrashSafety.moc"
