#include <sys/stat.h>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/AppError.h"
#include "platform/FileWorkPlan.h"
#include "platform/TextFile.h"

namespace {

using Kind = FileWorkStep::Kind;

FileWorkStep step(Kind kind, qint64 bytes, const QString& source = {}, const QString& target = {}) {
    FileWorkStep s;
    s.kind = kind;
    s.bytes = bytes;
    s.source = source;
    s.target = target;
    return s;
}

}  // namespace

class FileWorkPlanTest : public QObject {
    Q_OBJECT

  private slots:
    void progressGoesForwardToTheEnd_data();
    void progressGoesForwardToTheEnd();
    void timeLeft_data();
    void timeLeft();
    void sourcesAreCheckedUnlessAnEarlierStepWritesThem();
    void sourceThatIsNoRegularFile_data();
    void sourceThatIsNoRegularFile();
    void worthWatching_data();
    void worthWatching();
};

void FileWorkPlanTest::progressGoesForwardToTheEnd_data() {
    QTest::addColumn<QList<qint64>>("planned");  // bytes of each step
    QTest::addColumn<QList<qint64>>("actual");   // what each step's copy reports as its total
    QTest::newRow("equal steps") << QList<qint64>{100, 100} << QList<qint64>{100, 100};
    QTest::newRow("empty files only") << QList<qint64>{0, 0, 0} << QList<qint64>{0, 0, 0};
    // The mirror of an injected video reads more than the plan said.
    QTest::newRow("video grew") << QList<qint64>{1000, 1000, 1000}
                                << QList<qint64>{1000, 1000, 1400};
    QTest::newRow("large and small")
        << QList<qint64>{3ll << 30, 5, 0} << QList<qint64>{3ll << 30, 5, 0};
}

// Each step is reported at its start, after every quarter of its bytes and at its end, as the
// runner and the copies do; the bar never goes back and ends full.
void FileWorkPlanTest::progressGoesForwardToTheEnd() {
    QFETCH(QList<qint64>, planned);
    QFETCH(QList<qint64>, actual);
    FileWorkPlan plan;
    for (qint64 bytes : planned)
        plan.steps << step(Kind::Copy, bytes);
    double last = -1;
    qint64 lastBytes = -1;
    for (int i = 0; i < plan.steps.size(); ++i) {
        QList<std::pair<qint64, qint64>> reports{{0, std::max<qint64>(planned[i], 1)}};
        for (int quarter = 1; quarter <= 4; ++quarter)
            reports.append({actual[i] * quarter / 4, actual[i]});
        for (const auto& [done, total] : reports) {
            const double now = plan.fraction(i, done, total);
            const qint64 bytes = plan.bytesDone(i, done, total);
            QVERIFY2(now >= last && bytes >= lastBytes,
                     qPrintable(QStringLiteral("step %1 at %2 of %3").arg(i).arg(done).arg(total)));
            last = now;
            lastBytes = bytes;
        }
    }
    QCOMPARE(last, 1.0);
    QCOMPARE(lastBytes, plan.totalBytes());
}

void FileWorkPlanTest::timeLeft_data() {
    QTest::addColumn<double>("fraction");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("a quarter in 10 s") << 0.25 << qint64(10000) << qint64(30);
    QTest::newRow("half in 1 min") << 0.5 << qint64(60000) << qint64(60);
    QTest::newRow("done") << 1.0 << qint64(5000) << qint64(0);
    QTest::newRow("too early: under a second") << 0.5 << qint64(900) << qint64(-1);
    QTest::newRow("too early: under a percent") << 0.005 << qint64(60000) << qint64(-1);
}

void FileWorkPlanTest::timeLeft() {
    QFETCH(double, fraction);
    QFETCH(qint64, elapsedMs);
    QTEST(FileWorkPlan::secondsLeft(fraction, elapsedMs), "seconds");
}

// The mirror reads the copy an earlier step writes; the check must not ask for it before the run.
void FileWorkPlanTest::sourcesAreCheckedUnlessAnEarlierStepWritesThem() {
    QTemporaryDir dir;
    const QString video = dir.filePath("clip.flv"), copy = dir.filePath("out.flv");
    TextFile::writeBytes(video, "FLV");
    FileWorkPlan plan;
    plan.steps << step(Kind::Copy, 3, video, copy) << step(Kind::Inject, 3, copy, copy)
               << step(Kind::Mirror, 3, copy, dir.filePath("mirror.flv"));
    plan.checkSources();
    plan.steps.move(2, 0);  // the mirror before the copy: its source is not there yet
    try {
        plan.checkSources();
        QFAIL("a source no earlier step writes passed the check");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 53);
        QCOMPARE(e.path(), copy);
    }
    plan.steps.move(0, 2);
    plan.alsoRead << dir.filePath("thumb.jpg");
    try {
        plan.checkSources();
        QFAIL("a missing picture passed the check");
    } catch (const AppError& e) {
        QCOMPARE(e.path(), dir.filePath("thumb.jpg"));
    }
}

// A source that is there but is no regular file is named with what it is, not as missing.
void FileWorkPlanTest::sourceThatIsNoRegularFile_data() {
    QTest::addColumn<QString>("made");  // "folder" or "fifo"
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << "folder"
                              << "Is a directory";
    QTest::newRow("a FIFO") << "fifo"
                            << "Is a FIFO (named pipe), not a regular file";
}

void FileWorkPlanTest::sourceThatIsNoRegularFile() {
    QFETCH(QString, made);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString source = dir.filePath("clip.en.vtt");
    if (made == "folder")
        QVERIFY(QDir().mkdir(source));
    else
        QVERIFY(::mkfifo(QFile::encodeName(source).constData(), 0600) == 0);
    FileWorkPlan plan;
    plan.steps << step(Kind::Copy, 3, source, dir.filePath("out.vtt"));
    try {
        plan.checkSources();
        QFAIL("a source that is no regular file passed the check");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 75);
        QCOMPARE(e.path(), source);
        QCOMPARE(e.reason(), reason);
    }
}

void FileWorkPlanTest::worthWatching_data() {
    QTest::addColumn<QList<qint64>>("copies");  // bytes of each copy
    QTest::addColumn<bool>("injection");
    QTest::addColumn<bool>("watched");
    QTest::newRow("small copies") << QList<qint64>{1000, 20 << 20, 20 << 20} << false << false;
    QTest::newRow("64 MB in all") << QList<qint64>{32 << 20, 32 << 20} << false << true;
    QTest::newRow("an injection of a small video") << QList<qint64>{1000} << true << true;
}

// The injector's output has always been shown while it runs; large copies are worth a bar.
void FileWorkPlanTest::worthWatching() {
    QFETCH(QList<qint64>, copies);
    QFETCH(bool, injection);
    FileWorkPlan plan;
    for (qint64 bytes : copies)
        plan.steps << step(Kind::Copy, bytes);
    if (injection)
        plan.steps << step(Kind::Inject, copies.first());
    QTEST(plan.worthWatching(), "watched");
}

QTEST_GUILESS_MAIN(FileWorkPlanTest)
#include "tst_FileWorkPlan.moc"
