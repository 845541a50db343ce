// The run's video copies: a Flash video arrives injected (or, when the injector cannot take it,
// as it is), and on a file system that shares blocks every copy shares them instead of copying.
#include <sys/xattr.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "../flvmdi/FlvBuilder.h"
#include "ReflinkMount.h"
#include "generate/InjectedCopy.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"

namespace {

QByteArray flashVideo(size_t extra = 200) {
    FlvBuilder b;
    for (uint32_t i = 0; i < 200; ++i) {
        b.h263(i * 40, i % 25 == 0, extra + i);
        b.mp3(i * 40 + 5);
    }
    return QByteArray(reinterpret_cast<const char*>(b.bytes().data()), qsizetype(b.bytes().size()));
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

bool hasStamp(const QString& path) {
    return ::getxattr(QFile::encodeName(path).constData(), "user.flvmdi", nullptr, 0) > 0;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

}  // namespace

class VideoCopiesTest : public QObject {
    Q_OBJECT

  private slots:
    void flashVideoArrivesInjected_data();
    void flashVideoArrivesInjected();
    void stoppedInjectedCopyLeavesNothing();
    void secondCopyWhileFlushing_data();
    void secondCopyWhileFlushing();
    void copiesShareBlocks();
};

void VideoCopiesTest::flashVideoArrivesInjected_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("injected");
    const QByteArray video = flashVideo();
    QTest::newRow("Flash video") << video << true;
    QTest::newRow("cut short: copied as it is") << video.left(video.size() - 50) << false;
    QTest::newRow("no FLV: copied as it is") << QByteArray("source") << false;
    QTest::newRow("empty: copied as it is") << QByteArray() << false;
}

void VideoCopiesTest::flashVideoArrivesInjected() {
    QFETCH(QByteArray, source);
    QFETCH(bool, injected);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("out"));
    put(dir.filePath("v.flv"), source);
    put(dir.filePath("out/v.flv"), "old");
    QList<std::pair<qint64, qint64>> reports;
    QVERIFY(InjectedCopy::copyFile(
        dir.filePath("v.flv"), dir.filePath("out/v.flv"),
        [&](qint64 done, qint64 total) {
            reports << std::pair{done, total};
            return true;
        },
        1 << 20));
    const QByteArray output = contentOf(dir.filePath("out/v.flv"));
    QCOMPARE(output.mid(13 + 11 + 3, 10) == "onMetaData", injected);
    if (!injected)
        QCOMPARE(output, source);
    QCOMPARE(contentOf(dir.filePath("v.flv")), source);
    QVERIFY(!reports.isEmpty());
    QCOMPARE(reports.last(), (std::pair{output.size(), output.size()}));
    QCOMPARE(entries(dir.filePath("out")), QStringList{"v.flv"});
}

void VideoCopiesTest::stoppedInjectedCopyLeavesNothing() {
    QTemporaryDir dir;
    put(dir.filePath("v.flv"), flashVideo(40000));
    QVERIFY(QDir(dir.path()).mkdir("out"));
    QVERIFY(!InjectedCopy::copyFile(
        dir.filePath("v.flv"), dir.filePath("out/v.flv"), [](qint64, qint64) { return false; },
        1 << 20));
    QCOMPARE(entries(dir.filePath("out")), QStringList{});
}

void VideoCopiesTest::secondCopyWhileFlushing_data() {
    QTest::addColumn<QString>("alsoTo");
    QTest::addColumn<bool>("stopAfterCopy");
    QTest::addColumn<bool>("made");
    QTest::newRow("made beside") << "mirror/v.flv" << false << true;
    QTest::newRow("folder missing: the video is still copied") << "none/v.flv" << false << false;
    QTest::newRow("stopped once the video is copied: neither stays")
        << "mirror/v.flv" << true << false;
}

// The run's mirror of an injected copy is made from the finished file during its flush.
void VideoCopiesTest::secondCopyWhileFlushing() {
    QFETCH(QString, alsoTo);
    QFETCH(bool, stopAfterCopy);
    QFETCH(bool, made);
    QTemporaryDir dir;
    const QByteArray video = flashVideo(40000);
    put(dir.filePath("v.flv"), video);
    QVERIFY(QDir(dir.path()).mkdir("out"));
    QVERIFY(QDir(dir.path()).mkdir("mirror"));
    put(dir.filePath("mirror/v.flv"), "old mirror");
    bool whole = false;
    const auto progress = [&](qint64 done, qint64 total) {
        const bool goOn = !(stopAfterCopy && whole);
        whole = whole || done == total;
        return goOn;
    };
    bool alsoMade = !made;
    const bool copied = InjectedCopy::copyFile(dir.filePath("v.flv"), dir.filePath("out/v.flv"),
                                               progress, 1 << 20, dir.filePath(alsoTo), &alsoMade);
    QCOMPARE(copied, !stopAfterCopy);
    QCOMPARE(alsoMade, made);
    QCOMPARE(contentOf(dir.filePath("v.flv")), video);
    if (stopAfterCopy) {
        QCOMPARE(entries(dir.filePath("out")), QStringList{});
        QCOMPARE(contentOf(dir.filePath("mirror/v.flv")), QByteArray("old mirror"));
        QCOMPARE(entries(dir.filePath("mirror")), QStringList{"v.flv"});
        return;
    }
    const QByteArray output = contentOf(dir.filePath("out/v.flv"));
    QCOMPARE(output.mid(13 + 11 + 3, 10), QByteArray("onMetaData"));
    QVERIFY(hasStamp(dir.filePath("out/v.flv")));
    QCOMPARE(contentOf(dir.filePath("mirror/v.flv")) == output, made);
    QCOMPARE(entries(dir.filePath("mirror")), QStringList{"v.flv"});
}

// The mirror and the other video copies clone the whole file; the Flash copy its body but the
// last second, which the onLastSecond tag moves off the blocks.
void VideoCopiesTest::copiesShareBlocks() {
    ReflinkMount mount;
    if (!mount.mounted())
        QSKIP(qPrintable("no XFS with shared blocks to test on: " + mount.problem()));
    const QByteArray video = flashVideo(100000);
    put(mount.filePath("v.flv"), video);
    put(mount.filePath("v.mp4"), QByteArray(8 << 20, 'm'));
    QVERIFY(QDir(mount.path()).mkdir("out"));
    int reports = 0;
    const auto progress = [&reports](qint64 done, qint64 total) {
        reports += done == total ? 1 : 0;
        return true;
    };
    QVERIFY(
        FileOps::copyFile(mount.filePath("v.mp4"), mount.filePath("out/v.mp4"), progress, 1 << 20));
    QVERIFY(InjectedCopy::copyFile(mount.filePath("v.flv"), mount.filePath("out/v.flv"), progress,
                                   1 << 20));
    QCOMPARE(reports, 2);
    QCOMPARE(contentOf(mount.filePath("out/v.mp4")), QByteArray(8 << 20, 'm'));
    QCOMPARE(ReflinkMount::sharedBytes(mount.filePath("out/v.mp4")), uint64_t(8 << 20));
    QVERIFY(ReflinkMount::sharedBytes(mount.filePath("out/v.flv")) >
            uint64_t(video.size()) * 3 / 4);
    QVERIFY(hasStamp(mount.filePath("out/v.flv")));
    QCOMPARE(entries(mount.filePath("out")), (QStringList{"v.flv", "v.mp4"}));
}

QTEST_GUILESS_MAIN(VideoCopiesTest)
#include "tst_VideoCopies.moc"
