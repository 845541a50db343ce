#include <QtTest>

#include "platform/AppError.h"
#include "platform/InjectorRun.h"

// The injector's place is taken by `sh -c SCRIPT VIDEO`: the video is the last word of the
// command line, as in the run's own injector command lines.
class InjectorRunTest : public QObject {
    Q_OBJECT

  private slots:
    void outcome_data();
    void outcome();
    void aStopEndsTheInjectorAndIsNoFailure();
};

void InjectorRunTest::outcome_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<int>("notStarted");  // the error number, 0 when it started
    QTest::addColumn<QString>("video");

    const auto sh = [](const QString& script, const QString& video) {
        return QStringLiteral("/bin/sh -c \"%1\" \"%2\"").arg(script, video);
    };
    QTest::newRow("injected") << sh("echo injected; echo note >&2", "/out/clip.flv")
                              << QByteArray("injected\nnote\n") << false << 0 << "/out/clip.flv";
    QTest::newRow("FLV refused") << sh("echo bad tag; exit 3", "/out/my clip.flv")
                                 << QByteArray("bad tag\n") << true << 0 << "/out/my clip.flv";
    QTest::newRow("FLV in capitals refused")
        << sh("exit 1", "/out/CLIP.FLV") << QByteArray() << true << 0 << "/out/CLIP.FLV";
    QTest::newRow("FLV, injector killed")
        << sh("kill -9 $$", "/out/clip.flv") << QByteArray() << true << 0 << "/out/clip.flv";
    QTest::newRow("MP4 refused is no failure")
        << sh("echo not an FLV; exit 1", "/out/clip.mp4") << QByteArray("not an FLV\n") << false
        << 0 << "/out/clip.mp4";
    QTest::newRow("F4V refused is no failure")
        << sh("exit 1", "/out/clip.f4v") << QByteArray() << false << 0 << "/out/clip.f4v";
    QTest::newRow("name ending in flv without the dot")
        << sh("exit 1", "/out/clipflv") << QByteArray() << false << 0 << "/out/clipflv";
    QTest::newRow("injector missing, FLV")
        << QStringLiteral("\"/no/such/folder/flvmdi\" /k /l \"/out/clip.flv\"") << QByteArray()
        << true << int(AppError::FileNotFound) << "/out/clip.flv";
    QTest::newRow("injector missing, MP4")
        << QStringLiteral("\"/no/such/folder/flvmdi\" /k /l \"/out/clip.mp4\"") << QByteArray()
        << false << int(AppError::FileNotFound) << "/out/clip.mp4";
}

void InjectorRunTest::outcome() {
    QFETCH(QString, commandLine);
    QByteArray seen;
    const InjectorRun run =
        InjectorRun::run(commandLine, [&](const QByteArray& piece) { seen += piece; });
    QTEST(seen, "output");
    QTEST(run.failed, "failed");
    QTEST(run.notStarted ? int(run.notStarted->number()) : 0, "notStarted");
    QTEST(run.video, "video");
    QVERIFY(!run.stopped);
}

// The user's stop ends a long injection: the run reports it as stopped, not as a failed video,
// and what the injector printed before the stop has been handed on.
void InjectorRunTest::aStopEndsTheInjectorAndIsNoFailure() {
    QByteArray seen;
    int asked = 0;
    const InjectorRun run = InjectorRun::run(
        QStringLiteral("/bin/sh -c \"echo working; exec sleep 60\" \"/out/clip.flv\""),
        [&](const QByteArray& piece) { seen += piece; },
        [&] {
            ++asked;
            return seen.contains("working");
        });
    QVERIFY(run.stopped);
    QVERIFY(!run.failed);
    QVERIFY(!run.notStarted);
    QVERIFY(asked > 0);
    QCOMPARE(seen, QByteArray("working\n"));
}

QTEST_GUILESS_MAIN(InjectorRunTest)
#include "tst_InjectorRun.moc"
