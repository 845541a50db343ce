#include <QProcess>
#include <QtTest>

// --help and --version of the three programs as built: GNU's answer on standard output, status 0,
// nothing on standard error, and no display needed (the desktop program answers before Qt starts
// its windows).
class InfoOptionsTest : public QObject {
    Q_OBJECT

  private slots:
    void answersOnStandardOutput_data();
    void answersOnStandardOutput();
    void fullStandardOutputIsAFailure_data();
    void fullStandardOutputIsAFailure();
};

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The program of the application folder, without any display to connect to.
Run run(const QString& program, const QStringList& args, const QString& outputFile = QString()) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(QStringLiteral(VIDLARK_APP_DIR "/") + program, args);
    Run result;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        result.err = "crashed or did not end: " + process.readAllStandardError();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

}  // namespace

void InfoOptionsTest::answersOnStandardOutput_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("firstLine");
    QTest::addColumn<QByteArray>("lastLine");
    const QByteArray version = " (Vidlark Streaming Video) " VIDLARK_PROJECT_VERSION;
    for (const char* program : {"vidlark", "vidlark-cli", "flvmdi"}) {
        const QByteArray name(program);
        QTest::addRow("%s --version", program)
            << QString::fromLatin1(name) << QStringList{"--version"} << name + version
            << QByteArray("There is NO WARRANTY, to the extent permitted by law.");
        QTest::addRow("%s --help", program)
            << QString::fromLatin1(name) << QStringList{"--help"} << "Usage: " + name + ' '
            << "Full documentation: man " + name;
    }
    QTest::newRow("vidlark-cli generate --help")
        << "vidlark-cli" << QStringList{"generate", "--help"} << QByteArray("Usage: vidlark-cli ")
        << QByteArray("Full documentation: man vidlark-cli");
    // Whole arguments anywhere before "--", the switches and the file notwithstanding.
    QTest::newRow("flvmdi /k --version FILE")
        << "flvmdi" << QStringList{"/k", "--version", "missing.flv"} << "flvmdi" + version
        << QByteArray("There is NO WARRANTY, to the extent permitted by law.");
}

void InfoOptionsTest::answersOnStandardOutput() {
    QFETCH(QString, program);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, firstLine);
    QFETCH(QByteArray, lastLine);
    const Run answer = run(program, args);
    QVERIFY2(answer.err.isEmpty(), answer.err.constData());
    QCOMPARE(answer.exitCode, 0);
    QVERIFY(answer.out.endsWith('\n'));
    const QList<QByteArray> lines = answer.out.chopped(1).split('\n');
    QVERIFY2(lines.first().startsWith(firstLine), answer.out.constData());
    QCOMPARE(lines.last(), lastLine);
    if (args.contains(QStringLiteral("--version")))
        QCOMPARE(lines.first(), firstLine);
}

void InfoOptionsTest::fullStandardOutputIsAFailure_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    for (const char* program : {"vidlark", "vidlark-cli", "flvmdi"})
        for (const char* option : {"--help", "--version"})
            QTest::addRow("%s %s", program, option) << program << option;
}

// A script that sends the text to a full disk is told so, by the status and on standard error.
void InfoOptionsTest::fullStandardOutputIsAFailure() {
    QFETCH(QString, program);
    QFETCH(QString, option);
    const Run answer = run(program, {option}, QStringLiteral("/dev/full"));
    QVERIFY(answer.exitCode > 0);
    QCOMPARE(answer.err, program.toUtf8() + ": write error on standard output\n");
}

QTEST_GUILESS_MAIN(InfoOptionsTest)
#include "tst_InfoOptions.moc"
