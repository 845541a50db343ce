#include <sys/stat.h>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "../flvmdi/ScratchMount.h"
#include "CliFixtures.h"
#include "CliRun.h"
#include "TestFiles.h"
#include "platform/TextFile.h"

// vidlark-cli profile show / write and generate --set, run as built: the hand-made profiles of
// tests/golden/settings shown and written byte for byte, refused pairs that write nothing, and
// settings overridden for one run.
class ProfileCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void init();

    void showPrintsTheListing_data();
    void showPrintsTheListing();
    void writeMakesTheSameFile_data();
    void writeMakesTheSameFile();
    void refusedPairsWriteNothing_data();
    void refusedPairsWriteNothing();
    void badCommandLines_data();
    void badCommandLines();
    void writeOnAFullDiskKeepsTheOldFile();
    void showOfAFifoIsRefusedAtOnce();
    void demoProfileIsMadeFromItsListing();
    void setOverridesTheProfile_data();
    void setOverridesTheProfile();
    void refusedSetRunsNothing_data();
    void refusedSetRunsNothing();
    void setTurnsOnTheLaterOptions_data();
    void setTurnsOnTheLaterOptions();

  private:
    QString work(const QString& name) const { return m_work->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_work;
};

namespace {

QString golden(const QString& name) {
    return TestFiles::goldenPath(QStringLiteral("settings/") + name);
}

// A run with `input` on its standard input.
CliRun runWithInput(const QStringList& args, const QByteArray& input) {
    CliRun run;
    QProcess process;
    process.start(cliProgram(), args);
    if (!process.waitForStarted()) {
        run.problem = process.errorString();
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() == QProcess::CrashExit) {
        process.kill();
        process.waitForFinished();
        run.problem = QStringLiteral("crashed or did not end");
    } else {
        run.exitCode = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QStringList listingPairs(const QString& name) {
    QStringList pairs = QString::fromUtf8(TestFiles::readFile(golden(name + ".txt")))
                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return pairs;
}

}  // namespace

void ProfileCommandTest::init() {
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
}

void ProfileCommandTest::showPrintsTheListing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("demo") << "demo";
    QTest::newRow("every setting away from its start") << "full";
    QTest::newRow("demo playing inline") << "inline";
}

void ProfileCommandTest::showPrintsTheListing() {
    QFETCH(QString, name);
    const CliRun run = runCli({"profile", "show", golden(name + ".epe")});
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.out, TestFiles::readFile(golden(name + ".txt")));
}

void ProfileCommandTest::writeMakesTheSameFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("from");  // arguments, input (the listing), show (piped)
    for (const char* name : {"demo", "full", "inline"}) {
        for (const char* from : {"arguments", "input", "show"})
            QTest::addRow("%s from %s", name, from) << name << from;
    }
}

void ProfileCommandTest::writeMakesTheSameFile() {
    QFETCH(QString, name);
    QFETCH(QString, from);
    const QString target = work(QStringLiteral("made.epe"));
    CliRun run;
    if (from == QLatin1String("arguments")) {
        run = runCli(QStringList{"profile", "write", target} + listingPairs(name));
    } else {
        QByteArray input = TestFiles::readFile(golden(name + ".txt"));
        if (from == QLatin1String("show"))
            input = runCli({"profile", "show", golden(name + ".epe")}).out;
        run = runWithInput({"profile", "write", target}, input);
    }
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.err, QByteArray());
    COMPARE_GOLDEN(TestFiles::readFile(target), QStringLiteral("settings/") + name + ".epe");
}

void ProfileCommandTest::refusedPairsWriteNothing_data() {
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown key") << QStringList{"AutoPlay=1", "Autostart=1"}
                                 << "vidlark-cli: unknown setting: Autostart";
    QTest::newRow("bad check state")
        << QStringList{"AutoPlay=yes"} << "vidlark-cli: bad value for AutoPlay: yes";
    QTest::newRow("not a pair") << QStringList{"ServerPath"}
                                << "vidlark-cli: not a KEY=VALUE pair: ServerPath";
    QTest::newRow("line break in a one-line setting")
        << QStringList{"AutoPlay=1", "ShareURL=a\\rb"} << "vidlark-cli: bad value for ShareURL: ";
    QTest::newRow("image name with a folder") << QStringList{"IntroImageName=../../x.jpg"}
                                              << "vidlark-cli: bad value for IntroImageName: ";
    // A profile line holds at most 32767 characters; the message names the setting.
    QTest::newRow("one-line value over 32 K")
        << QStringList{"AutoPlay=1", "ShareTitle=" + QString(32768, u'x')}
        << "vidlark-cli: bad value for ShareTitle: 32768 characters, more than the 32767";
    QTest::newRow("multi-line value over 32 K")
        << QStringList{"ActionCode=" + QString(20000, u'a') + "\\r\\n" + QString(20000, u'b')}
        << "vidlark-cli: bad value for ActionCode: 40002 characters, more than the 32767";
}

// A refused pair, from the arguments or the input, leaves an existing file as it was.
void ProfileCommandTest::refusedPairsWriteNothing() {
    QFETCH(QStringList, pairs);
    QFETCH(QString, message);
    const QString target = work(QStringLiteral("kept.epe"));
    QVERIFY(QFile::copy(golden("demo.epe"), target));

    const CliRun fromArguments = runCli(QStringList{"profile", "write", target} + pairs);
    const CliRun fromInput =
        runWithInput({"profile", "write", target}, pairs.join(QLatin1Char('\n')).toUtf8());

    for (const CliRun& run : {fromArguments, fromInput}) {
        QVERIFY2(run.exitCode == 1, run.describe());
        QVERIFY2(run.errLines().value(0).startsWith(message), run.describe());
    }
    COMPARE_GOLDEN(TestFiles::readFile(target), QStringLiteral("settings/demo.epe"));
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Files), QStringList{"kept.epe"});
}

void ProfileCommandTest::badCommandLines_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{"profile"}
                             << "vidlark-cli: profile needs show or write and a file";
    QTest::newRow("no file") << QStringList{"profile", "show"}
                             << "vidlark-cli: profile needs show or write and a file";
    QTest::newRow("other action") << QStringList{"profile", "list", "%WORK%/a.epe"}
                                  << "vidlark-cli: profile needs show or write and a file";
    QTest::newRow("show with pairs") << QStringList{"profile", "show", "%WORK%/a.epe", "AutoPlay=1"}
                                     << "vidlark-cli: profile show takes one file";
    QTest::newRow("missing file") << QStringList{"profile", "show", "%WORK%/a.epe"}
                                  << "Error: ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.";
}

void ProfileCommandTest::badCommandLines() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    args.replaceInStrings(QStringLiteral("%WORK%"), m_work->path());
    const CliRun run = runCli(args);
    QVERIFY2(run.exitCode == 1, run.describe());
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.errLines().value(0), message);
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Files), QStringList());
}

// The disk fills up while the profile is written: the old profile stays byte for byte, nothing
// else is left beside it, and the message names the file and the cause.
void ProfileCommandTest::writeOnAFullDiskKeepsTheOldFile() {
    ScratchMount disk("tmpfs", "size=16k");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    const QString target = disk.filePath(QStringLiteral("p.epe"));
    QVERIFY(QFile::copy(golden("demo.epe"), target));
    const QByteArray old = TestFiles::readFile(target);
    {
        QFile filler(disk.filePath(QStringLiteral("fill")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(1024, 'f')) > 0) {
        }
        while (filler.write("f", 1) > 0) {
        }
    }

    const CliRun run = runCli({"profile", "write", target, "ShareTitle=new"});

    QVERIFY2(run.exitCode == 1, run.describe());
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.errLines(), (QStringList{"Error: ERROR# 61 DISK FULL. PLEASE CONTACT SUPPORT.",
                                          "Writing " + target, "No space left on device"}));
    QCOMPARE(TestFiles::readFile(target), old);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             (QStringList{"fill", "p.epe"}));
}

// Opening a FIFO for reading waits for a writer that never comes: the file is refused instead.
void ProfileCommandTest::showOfAFifoIsRefusedAtOnce() {
    const QString fifo = work(QStringLiteral("p.epe"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0666) == 0);
    QElapsedTimer clock;
    clock.start();
    const CliRun run = runCli({"profile", "show", fifo});
    QVERIFY2(run.exitCode == 1, run.describe());
    QVERIFY2(clock.elapsed() < 30000, run.describe());
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.errLines(),
             (QStringList{"Error: ERROR# 75 PATH/FILE ACCESS ERROR. PLEASE CONTACT SUPPORT.",
                          "Reading " + fifo, "Is a FIFO (named pipe), not a regular file"}));
}

// The build writes the profile of the demo from support/demo/demo.txt with the same command.
void ProfileCommandTest::demoProfileIsMadeFromItsListing() {
    const QString built = QStringLiteral(VIDLARK_APP_DIR) + QStringLiteral("/../demo/demo.epe");
    QVERIFY2(QFile::exists(built), qPrintable(built));
    COMPARE_GOLDEN(TestFiles::readFile(built), QStringLiteral("settings/demo.epe"));
}

void ProfileCommandTest::setOverridesTheProfile_data() {
    QTest::addColumn<QStringList>("sets");
    QTest::addColumn<QString>("serverPath");
    QTest::addColumn<QString>("videoPath");
    const QString profilePath = QStringLiteral("http://www.example.com/player/");
    QTest::newRow("none") << QStringList{} << profilePath << profilePath;
    QTest::newRow("one setting") << QStringList{"ServerPath=http://other.example.com/"}
                                 << "http://other.example.com/"
                                 << "http://other.example.com/";
    QTest::newRow("two, the last of one key counting")
        << QStringList{"VideoPath=http://cdn.example.com/a/", "ServerPath=http://x.example.com/",
                       "VideoPath=http://cdn.example.com/b/"}
        << "http://x.example.com/"
        << "http://cdn.example.com/b/";
}

void ProfileCommandTest::setOverridesTheProfile() {
    QFETCH(QStringList, sets);
    QFETCH(QString, serverPath);
    QFETCH(QString, videoPath);
    const QString profile = TestProfile().writeTo(work(QStringLiteral("p.epe")));
    const QByteArray before = TestFiles::readFile(profile);
    QVERIFY(QDir(m_work->path()).mkpath(QStringLiteral("out")));
    QStringList args{"--profile", profile,
                     "--flash",   writeVideo(m_work->path(), "clip.flv"),
                     "--output",  work(QStringLiteral("out"))};
    for (const QString& set : sets)
        args << QStringLiteral("--set") << set;

    const CliRun run = runGenerate(args);

    QVERIFY2(run.exitCode == 0, run.describe());
    QVERIFY2(run.out.startsWith("<script type=\"text/javascript\" src=\"" + serverPath.toUtf8() +
                                "zevocoresv"),
             run.describe());
    const QString xml = TextFile::readAll(work(QStringLiteral("out/zevoconfigsv.xml")));
    QVERIFY2(xml.contains(QStringLiteral("v1=\"") + videoPath + QStringLiteral("clip.flv\"")),
             qPrintable(xml));
    // The override is for the run: the profile file stays as it was.
    QCOMPARE(TestFiles::readFile(profile), before);
}

void ProfileCommandTest::refusedSetRunsNothing_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown key") << "Server=x"
                                 << "vidlark-cli: unknown setting: Server";
    QTest::newRow("bad value") << "Encrypt=2"
                               << "vidlark-cli: bad value for Encrypt: 2";
    QTest::newRow("not a pair") << "Encrypt"
                                << "vidlark-cli: not a KEY=VALUE pair: Encrypt";
    QTest::newRow("image name with a folder") << "OutroImageName=../x.jpg"
                                              << "Error: ";
    QTest::newRow("value over 32 K")
        << "RedirectURL=http://x.example/" + QString(32760, u'x')
        << "vidlark-cli: bad value for RedirectURL: 32777 characters, more than the 32767";
}

void ProfileCommandTest::refusedSetRunsNothing() {
    QFETCH(QString, set);
    QFETCH(QString, message);
    const QString profile = TestProfile().writeTo(work(QStringLiteral("p.epe")));
    QVERIFY(QDir(m_work->path()).mkpath(QStringLiteral("out")));
    const CliRun run =
        runGenerate({"--profile", profile, "--flash", writeVideo(m_work->path(), "clip.flv"),
                     "--output", work(QStringLiteral("out")), "--set", set});
    QVERIFY2(run.exitCode == 1, run.describe());
    QVERIFY2(run.errLines().value(0).startsWith(message), run.describe());
    QCOMPARE(QDir(work(QStringLiteral("out"))).entryList(QDir::Files), QStringList());
}

void ProfileCommandTest::setTurnsOnTheLaterOptions_data() {
    QTest::addColumn<QStringList>("sets");
    QTest::addColumn<bool>("inlinePlay");
    QTest::addColumn<bool>("mutedStart");
    QTest::addColumn<bool>("fluid");
    QTest::newRow("neither") << QStringList{} << false << false << false;
    QTest::newRow("inline play") << QStringList{"PlaysInline=1"} << true << false << false;
    QTest::newRow("muted start") << QStringList{"AutoPlay=1", "MutedAutoPlay=1"} << false << true
                                 << false;
    QTest::newRow("muted start, no auto start")
        << QStringList{"MutedAutoPlay=1"} << false << false << false;
    QTest::newRow("fit to page width") << QStringList{"FluidSize=1"} << false << false << true;
}

// The older profile of the run has no lines for them; --set turns them on for the run.
void ProfileCommandTest::setTurnsOnTheLaterOptions() {
    QFETCH(QStringList, sets);
    QFETCH(bool, inlinePlay);
    QFETCH(bool, mutedStart);
    QFETCH(bool, fluid);
    const QString profile = TestProfile().writeTo(work(QStringLiteral("p.epe")));
    QVERIFY(QDir(m_work->path()).mkpath(QStringLiteral("out")));
    QStringList args{"--profile", profile,
                     "--flash",   writeVideo(m_work->path(), "clip.flv"),
                     "--mp4",     writeVideo(m_work->path(), "clip.mp4"),
                     "--output",  work(QStringLiteral("out")),
                     "--set",     "Html5=1"};
    for (const QString& set : sets)
        args << QStringLiteral("--set") << set;

    const CliRun run = runGenerate(args);

    QVERIFY2(run.exitCode == 0, run.describe());
    const QStringList scripts =
        QDir(work(QStringLiteral("out"))).entryList({QStringLiteral("zevohtml5sv*.js")});
    QCOMPARE(scripts.size(), 1);
    const QString script = TextFile::readAll(work(QStringLiteral("out/")) + scripts.first());
    QCOMPARE(script.contains(QStringLiteral("playsinline=")), inlinePlay);
    QCOMPARE(script.contains(QStringLiteral("muted=\"muted\" autoplay=\"autoplay\"")), mutedStart);
    QCOMPARE(script.contains(QStringLiteral("Unmute</button>")), mutedStart);
    QCOMPARE(script.contains(QStringLiteral("max-width:100%")), fluid);
}

QTEST_GUILESS_MAIN(ProfileCommandTest)
#include "tst_ProfileCommand.moc"
