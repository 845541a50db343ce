#include <dlfcn.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "../cli/CliFixtures.h"
#include "MediaTools.h"
#include "convert/FfmpegModule.h"

// FFmpeg's side of the HTML5 copies is a module the programs load when a copy needs it: the
// programs start without FFmpeg's libraries, our own remux needs none of it, and a module that is
// missing or broken gives a message naming it instead of a crash.
class FfmpegModuleTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();

    void programsStartWithoutFfmpeg_data();
    void programsStartWithoutFfmpeg();
    void load_data();
    void load();
    void programWithoutWorkingModule_data();
    void programWithoutWorkingModule();

  private:
    QString clip(const QString& name) const { return m_clips.filePath(name); }

    QTemporaryDir m_clips;
};

namespace {

const QString ModuleName = QStringLiteral("libvidlark-ffmpeg.so");

QString appFile(const QString& name) {
    return QStringLiteral(VIDLARK_APP_DIR) + QLatin1Char('/') + name;
}

// The library holding `symbol` in this process.
QString libraryOf(const void* symbol) {
    Dl_info info{};
    return dladdr(symbol, &info) ? QFile::decodeName(info.dli_fname) : QString();
}

// A folder laid out as the application folder, with a copy of vidlark-cli (so its own folder is
// this one) and `module` as the FFmpeg module: "missing", "garbage" (a text file by its name) or
// "real" (a link to the built one).
bool makeAppFolder(const QString& folder, const QString& module) {
    const QDir app(QStringLiteral(VIDLARK_APP_DIR));
    for (const QString& name : app.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (name == QLatin1String("vidlark-cli") || name == ModuleName)
            continue;
        if (!QFile::link(app.filePath(name), folder + QLatin1Char('/') + name))
            return false;
    }
    if (!QFile::copy(app.filePath(QStringLiteral("vidlark-cli")), folder + "/vidlark-cli"))
        return false;
    const QString target = folder + QLatin1Char('/') + ModuleName;
    if (module == QLatin1String("real"))
        return QFile::link(app.filePath(ModuleName), target);
    if (module == QLatin1String("garbage")) {
        QFile file(target);
        // Longer than an ELF header, so the loader reads it and refuses it.
        return file.open(QIODevice::WriteOnly) &&
               file.write(QByteArray("not a library\n").repeated(64)) > 0;
    }
    return true;
}

}  // namespace

void FfmpegModuleTest::initTestCase() {
    if (!MediaTools::available())
        QSKIP("ffmpeg and ffprobe are not installed");
    QVERIFY(m_clips.isValid());
    const QStringList picture = MediaTools::testPicture(QStringLiteral("160x96"), 1);
    const QStringList sound = MediaTools::testSound(44100, 1);
    const QStringList inputs = picture + sound;
    QCOMPARE(MediaTools::ffmpeg(inputs + QStringList{"-c:v", "flv1", "-c:a", "libmp3lame",
                                                     clip(QStringLiteral("h263.flv"))}),
             QString());
    QCOMPARE(MediaTools::ffmpeg(inputs + QStringList{"-c:v", "libx264", "-preset", "veryfast",
                                                     "-pix_fmt", "yuv420p", "-c:a", "aac",
                                                     clip(QStringLiteral("h264.flv"))}),
             QString());
}

void FfmpegModuleTest::programsStartWithoutFfmpeg_data() {
    QTest::addColumn<QString>("program");
    QTest::newRow("vidlark-cli") << appFile(QStringLiteral("vidlark-cli"));
    QTest::newRow("vidlark") << appFile(QStringLiteral("vidlark"));
    // Its figures stand for the programs' only while it starts as they do.
    QTest::newRow("bench_Html5Copy") << appFile(QStringLiteral("../bench/bench_Html5Copy"));
    // The module is what brings them.
    QTest::newRow("the module") << appFile(ModuleName);
}

void FfmpegModuleTest::programsStartWithoutFfmpeg() {
    QFETCH(QString, program);
    if (!QFile::exists(program))
        QSKIP("not built");
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {program});
    QVERIFY(ldd.waitForFinished());
    const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    QVERIFY2(libraries.contains(QLatin1String("libQt6Core")), qPrintable(libraries));
    const bool loadsFfmpeg = libraries.contains(QLatin1String("libavcodec"));
    QCOMPARE(loadsFfmpeg, program.endsWith(ModuleName));
}

void FfmpegModuleTest::load_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");  // empty: it loads

    QTest::newRow("the built module") << appFile(ModuleName) << QString();
    QTest::newRow("missing") << clip(ModuleName) << "the file is missing";
    QTest::newRow("not a library") << clip(QStringLiteral("h263.flv")) << "invalid ELF header";
    // A library, but not ours (or ours from a build whose entry had another form).
    QTest::newRow("another library")
        << libraryOf(reinterpret_cast<const void*>(&qVersion)) << "it has no vidlarkFfmpegCopyV1";
}

void FfmpegModuleTest::load() {
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QVERIFY(!path.isEmpty());

    const FfmpegModule module = FfmpegModule::load(path);

    QCOMPARE(module.loaded(), reason.isEmpty());
    if (reason.isEmpty()) {
        QCOMPARE(module.error(), QString());
        return;
    }
    QVERIFY2(module.error().startsWith(QStringLiteral("CANNOT LOAD THE VIDEO CONVERTER ") + path),
             qPrintable(module.error()));
    QVERIFY2(module.error().contains(reason), qPrintable(module.error()));
}

void FfmpegModuleTest::programWithoutWorkingModule_data() {
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("flash");
    QTest::addColumn<QString>("reason");  // empty: the copy is made

    QTest::newRow("H.263, module missing") << "missing"
                                           << "h263.flv"
                                           << "the file is missing";
    QTest::newRow("H.263, module damaged") << "garbage"
                                           << "h263.flv"
                                           << "invalid ELF header";
    QTest::newRow("H.263, module there") << "real"
                                         << "h263.flv" << QString();
    // Our own remux never needs the module.
    QTest::newRow("H.264, module missing") << "missing"
                                           << "h264.flv" << QString();
}

void FfmpegModuleTest::programWithoutWorkingModule() {
    QFETCH(QString, module);
    QFETCH(QString, flash);
    QFETCH(QString, reason);
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString app = work.filePath(QStringLiteral("app"));
    const QString videos = work.filePath(QStringLiteral("videos"));
    const QString out = work.filePath(QStringLiteral("out"));
    for (const QString& folder : {app, videos, out})
        QVERIFY(QDir().mkpath(folder));
    QVERIFY(makeAppFolder(app, module));
    const QString source = videos + QLatin1Char('/') + flash;
    QVERIFY(QFile::copy(clip(flash), source));
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"));

    QProcess cli;
    cli.start(
        app + QStringLiteral("/vidlark-cli"),
        {QStringLiteral("generate"), QStringLiteral("--profile"),
         profile.writeTo(work.filePath(QStringLiteral("project.epe"))), QStringLiteral("--output"),
         out, QStringLiteral("--flash"), source, QStringLiteral("--make-mp4")});
    cli.closeWriteChannel();
    QVERIFY(cli.waitForFinished(60000));
    const QString err = QString::fromUtf8(cli.readAllStandardError());

    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    const QString copy = QString(source).replace(QLatin1String(".flv"), QLatin1String(".mp4"));
    if (reason.isEmpty()) {
        QVERIFY2(cli.exitCode() == 0, qPrintable(err));
        QCOMPARE(MediaTools::probe(copy).videoCodec, QStringLiteral("h264"));
        return;
    }
    QCOMPARE(cli.exitCode(), 1);
    const QString expected = QStringLiteral("vidlark-cli: CANNOT LOAD THE VIDEO CONVERTER ") + app +
                             QLatin1Char('/') + ModuleName;
    QVERIFY2(err.contains(expected), qPrintable(err));
    QVERIFY2(err.contains(reason), qPrintable(err));
    QVERIFY2(err.contains(source + QStringLiteral(" CANNOT BE CONVERTED WITHOUT IT")),
             qPrintable(err));
    QCOMPARE(QDir(videos).entryList(QDir::Files | QDir::Hidden), QStringList{flash});
}

QTEST_GUILESS_MAIN(FfmpegModuleTest)
#include "tst_FfmpegModule.moc"
