#include <QTemporaryDir>
#include <QtTest>

#include "platform/AppError.h"
#include "platform/ConsoleRunner.h"
#include "platform/TextFile.h"

class ConsoleRunnerTest : public QObject {
    Q_OBJECT

  private slots:
    void streamsEverythingInOrder_data();
    void streamsEverythingInOrder();
    void quotedPathsWithBlanksAreOneArgument();
    void missingProgramRaisesFileNotFound();
    void programStillRunningAfterClosingItsOutputIsEnded();
    void reportsTheExitStatus_data();
    void reportsTheExitStatus();
};

void ConsoleRunnerTest::streamsEverythingInOrder_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("nothing") << "true" << QByteArray();
    QTest::newRow("standard error too")
        << "echo out; echo err >&2; echo out2" << QByteArray("out\nerr\nout2\n");
    const QByteArray long1(300, 'a'), long2(700, 'b');
    QTest::newRow("longer than one read")
        << QStringLiteral("printf '%1'; sleep 0.1; printf '%2' >&2")
               .arg(QString::fromLatin1(long1), QString::fromLatin1(long2))
        << long1 + long2;
}

void ConsoleRunnerTest::streamsEverythingInOrder() {
    QFETCH(QString, script);
    QByteArray seen;
    int pieces = 0;
    const QString result =
        ConsoleRunner::run("/bin/sh -c \"" + script + "\"", [&](const QByteArray& b) {
            seen += b;
            ++pieces;
        });
    QTEST(seen, "output");
    QCOMPARE(result, QString());
    QVERIFY(pieces <= qMax<qsizetype>(1, seen.size()));
}

void ConsoleRunnerTest::quotedPathsWithBlanksAreOneArgument() {
    QTemporaryDir dir(QDir::tempPath() + "/app folder XXXXXX");
    const QString program = dir.filePath("show args.sh");
    TextFile::writeBytes(program, "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
    QByteArray seen;
    ConsoleRunner::run('"' + program + "\" /k /l \"/out folder/my video.flv\"",
                       [&](const QByteArray& b) { seen += b; });
    QCOMPARE(seen, QByteArray("[/k]\n[/l]\n[/out folder/my video.flv]\n"));
}

void ConsoleRunnerTest::missingProgramRaisesFileNotFound() {
    QByteArray seen;
    try {
        ConsoleRunner::run("\"/no such/flvmdi\" /k /l \"x.flv\"",
                           [&](const QByteArray& b) { seen += b; });
        QFAIL("a missing program was started");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 53);
    }
    QCOMPARE(seen, QByteArray());
}

void ConsoleRunnerTest::programStillRunningAfterClosingItsOutputIsEnded() {
    QTemporaryDir dir;
    const QString pidFile = dir.filePath("pid");
    ConsoleRunner::run("/bin/sh -c \"echo $$ > '" + pidFile + "'; exec >&- 2>&-; sleep 60\"", {});
    const QByteArray pid = TextFile::readBytes(pidFile).trimmed();
    QVERIFY(!pid.isEmpty());
    QVERIFY2(!QFile::exists("/proc/" + pid), "the program was left running");
}

void ConsoleRunnerTest::reportsTheExitStatus_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("status");
    QTest::newRow("success") << "echo done" << 0;
    QTest::newRow("refused file") << "echo no >&2; exit 1" << 1;
    QTest::newRow("system error") << "exit 3" << 3;
    QTest::newRow("exits a moment after closing its output")
        << "exec >&- 2>&-; sleep 0.2; exit 4" << 4;
    QTest::newRow("dies of a signal") << "kill -9 $$" << int(ConsoleRunner::Killed);
    QTest::newRow("ended for running on")
        << "exec >&- 2>&-; sleep 60" << int(ConsoleRunner::Killed);
}

void ConsoleRunnerTest::reportsTheExitStatus() {
    QFETCH(QString, script);
    QTEST(ConsoleRunner::runForStatus("/bin/sh -c \"" + script + "\"", {}), "status");
}

QTEST_GUILESS_MAIN(ConsoleRunnerTest)
#include "tst_ConsoleRunner.moc"
