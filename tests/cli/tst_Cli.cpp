#include <sys/stat.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>

#include "../flvmdi/ScratchMount.h"
#include "CliFixtures.h"
#include "CliRun.h"
#include "LoopbackHttp.h"
#include "MediaTools.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "media/PlaylistFile.h"
#include "platform/Scrambler.h"
#include "platform/TextFile.h"

// vidlark-cli end to end: the built program is run on profiles and videos written here, and its
// exit status, its two output streams and the files of the output folder are checked.
class CliTest : public QObject {
    Q_OBJECT

  private slots:
    void init();

    void generatesSingleVideo_data();
    void generatesSingleVideo();
    void encryptedEmbedCode();
    void html5Sources_data();
    void html5Sources();
    void rtmpStreamName_data();
    void rtmpStreamName();
    void validationStops_data();
    void validationStops();
    void errorsEndTheRun_data();
    void errorsEndTheRun();
    void badCommandLines_data();
    void badCommandLines();
    void missingPlaylistFile();
    void generatesPlaylist();
    void installationWithoutSkins();
    void malformedPlayerSize_data();
    void malformedPlayerSize();
    void installationWithoutScratchFolder();
    void missingAppFolder();
    void relativePaths();
    void videoAlreadyWhereItsCopyGoes_data();
    void videoAlreadyWhereItsCopyGoes();
    void failedInjectionHasItsOwnStatus();
    void missingPlaylistVideoIsNamedAndNothingWritten();
    void servesTheLocalTestPage_data();
    void servesTheLocalTestPage();
    void serveWithoutARun();
    void playlistNamesStayInTheOutputFolder_data();
    void playlistNamesStayInTheOutputFolder();
    void makeMp4FromFlash_data();
    void makeMp4FromFlash();
    void makeMp4Refused_data();
    void makeMp4Refused();
    void makeMp4ForPlaylistRows();
    void interruptedMakeMp4LeavesNothing();
    void diskFullLeavesNoPartialVideo_data();
    void diskFullLeavesNoPartialVideo();
    void captionsForTheSingleVideo();
    void badCaptionFileStopsTheRun();
    void longVideoNames_data();
    void longVideoNames();
    void pictureInTheOutputFolderStopsTheRun();
    void unusableCaptionTrackStopsTheRun_data();
    void unusableCaptionTrackStopsTheRun();
    void missingPictureStopsTheRun_data();
    void missingPictureStopsTheRun();

  private:
    QString work(const QString& name) const { return m_work->filePath(name); }
    // A blank and a letter beyond ASCII, as in many users' folder names.
    QString outDir() const { return work(QStringLiteral("out \u00e9")); }
    QString videos() const { return work(QStringLiteral("videos")); }
    QString writeProfile(const TestProfile& profile) const {
        return profile.writeTo(work(QStringLiteral("project.epe")));
    }
    QStringList outputFiles() const { return QDir(outDir()).entryList(QDir::Files, QDir::Name); }
    // Replaces the placeholders of a data row with this run's folders.
    QString resolve(QString text) const;
    QStringList resolve(const QStringList& texts) const;
    // A real Flash video made by ffmpeg in the videos folder: H.263 and MP3, 160x120.
    QString makeFlashVideo(const QString& name, double seconds = 1) const;

    std::unique_ptr<QTemporaryDir> m_work;
};

namespace {

const QString ServerPath = QStringLiteral("http://www.example.com/player/");
const QString UsageFirstLine = QStringLiteral(
    "usage: vidlark-cli generate --profile FILE.epe [--app-folder DIR] [--output DIR]");
const QString UsageSecondLine = QStringLiteral(
    "[--flash FILE [--mp4 FILE] [--webm FILE] | --playlist FILE.plf] [--make-mp4] "
    "[--serve]");
const QString UsageThirdLine = QStringLiteral("vidlark-cli serve [--app-folder DIR]");

QString crlf() {
    return QStringLiteral("\r\n");
}

// What the code window's instructions box shows after a run.
QString instructions(const QString& outputFolder, const QString& serverPath,
                     const QString& videoPath) {
    return QStringLiteral("Vidlark output folder on your local PC:") + crlf() + outputFolder +
           crlf() + crlf() + crlf() + QStringLiteral("Upload Vidlark files to:") + crlf() +
           serverPath + crlf() + crlf() + QStringLiteral("Upload video files to:") + crlf() +
           videoPath + crlf() + crlf() + crlf() +
           QStringLiteral(
               "You can test the video player by playing onlinetest.html from your website");
}

QByteArray expectedOutput(const QString& embedCode, const QString& uploadInstructions) {
    return (embedCode + QStringLiteral("\n--\n") + uploadInstructions + QLatin1Char('\n')).toUtf8();
}

// The generation tag of the run, from the name of the core script it wrote; empty unless the
// folder holds exactly one core script named with a tag.
QString generationTag(const QString& folder) {
    const QStringList scripts =
        QDir(folder).entryList({QStringLiteral("zevocoresv*.js")}, QDir::Files);
    static const QRegularExpression name(QStringLiteral("^zevocoresv(a\\d{4})\\.js$"));
    if (scripts.size() != 1)
        return {};
    const QRegularExpressionMatch match = name.match(scripts.first());
    return match.hasMatch() ? match.captured(1) : QString();
}

QString plainEmbedCode(const QString& serverPath, const QString& tag) {
    return QStringLiteral("<script type=\"text/javascript\" src=\"") + serverPath +
           QStringLiteral("zevocoresv") + tag + QStringLiteral(".js\"></script>");
}

QString configXml(const QString& folder) {
    return TextFile::readAll(folder + QStringLiteral("/zevoconfigsv.xml"));
}

// The value of the first attribute `name` of the XML text; "(none)" when it is missing.
QString attributeOf(const QString& xml, const QString& name) {
    const QRegularExpression pattern(QStringLiteral("\\s") + name +
                                     QStringLiteral("=\"([^\"]*)\""));
    const QRegularExpressionMatch match = pattern.match(xml);
    return match.hasMatch() ? match.captured(1) : QStringLiteral("(none)");
}

QString elementOf(const QString& xml, const QString& name) {
    const QRegularExpression pattern(QLatin1Char('<') + name + QStringLiteral(">([^<]*)</") + name +
                                     QLatin1Char('>'));
    const QRegularExpressionMatch match = pattern.match(xml);
    return match.hasMatch() ? match.captured(1) : QStringLiteral("(none)");
}

// Reads back the text that a document.write(unescape("\x..")) statement writes; empty when the
// statement holds anything but two-digit escapes.
QString unescapeStatement(const QString& statement) {
    static const QRegularExpression form(
        QStringLiteral("^document\\.write\\(unescape\\(\"((?:\\\\x[0-9a-f]{2})+)\"\\)\\);$"));
    const QRegularExpressionMatch match = form.match(statement);
    if (!match.hasMatch())
        return {};
    const QString escapes = match.captured(1);
    QString text;
    for (qsizetype i = 0; i < escapes.size(); i += 4)
        text += QChar(escapes.mid(i + 2, 2).toUShort(nullptr, 16));
    return text;
}

// A playlist file as a hand edit or another program could leave it: the value lines are scrambled
// here, without the checks of the editor's save. `plain` holds lines 1 to 11, then the rows.
void writeRawPlaylist(const QString& path, const QStringList& plain, const QString& header) {
    QStringList lines;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (i == 11)
            lines.append(header);
        lines.append(Scrambler::scramble(plain[i], Scrambler::kScrambleKey));
    }
    TextFile::writeLines(path, lines);
}

// Every file below `root` but outside `except`, with a digest of its contents.
QMap<QString, QByteArray> filesBelow(const QString& root, const QString& except) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.startsWith(except))
            continue;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(path, QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

}  // namespace

void CliTest::init() {
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
    QVERIFY(QDir().mkpath(outDir()));
    QVERIFY(QDir(m_work->path()).mkpath(QStringLiteral("videos")));
    QVERIFY(QDir(m_work->path()).mkpath(QStringLiteral("elsewhere")));
    for (const char* name : {"clip.flv", "clip.mp4", "clip.f4v", "clip.webm"})
        writeVideo(videos(), QString::fromLatin1(name));
}

QString CliTest::resolve(QString text) const {
    return text.replace(QStringLiteral("%OUT%"), outDir())
        .replace(QStringLiteral("%VIDEOS%"), videos())
        .replace(QStringLiteral("%WORK%"), m_work->path());
}

QStringList CliTest::resolve(const QStringList& texts) const {
    QStringList resolved;
    for (const QString& text : texts)
        resolved << resolve(text);
    return resolved;
}

void CliTest::generatesSingleVideo_data() {
    QTest::addColumn<QString>("serverPath");
    QTest::addColumn<QString>("videoPath");
    QTest::addColumn<QString>("profileOutDir");
    QTest::addColumn<QString>("outputOption");  // empty for none
    QTest::addColumn<QString>("expectedServerPath");
    QTest::addColumn<QString>("expectedVideoPath");

    const QString none;
    QTest::newRow("videos beside the pages")
        << ServerPath << none << none << "%OUT%" << ServerPath << ServerPath;
    QTest::newRow("slashes completed") << "http://www.example.com/player"
                                       << "http://cdn.example.com/clips" << none << "%OUT%"
                                       << ServerPath << "http://cdn.example.com/clips/";
    QTest::newRow("--output with its separator")
        << ServerPath << none << none << "%OUT%/" << ServerPath << ServerPath;
    QTest::newRow("output folder of the profile")
        << ServerPath << none << "%OUT%/" << none << ServerPath << ServerPath;
    QTest::newRow("output folder of the profile without its separator")
        << ServerPath << none << "%OUT%" << none << ServerPath << ServerPath;
    QTest::newRow("--output over the profile's folder") << ServerPath << none << "%WORK%/elsewhere/"
                                                        << "%OUT%" << ServerPath << ServerPath;
}

void CliTest::generatesSingleVideo() {
    QFETCH(QString, serverPath);
    QFETCH(QString, videoPath);
    QFETCH(QString, profileOutDir);
    QFETCH(QString, outputOption);
    QFETCH(QString, expectedServerPath);
    QFETCH(QString, expectedVideoPath);
    TestProfile profile;
    profile.set(ProfileLine::ServerPath, serverPath)
        .set(ProfileLine::VideoPath, videoPath)
        .set(ProfileLine::OutDir, resolve(profileOutDir));
    QStringList options{QStringLiteral("--profile"), writeProfile(profile),
                        QStringLiteral("--flash"), videos() + QStringLiteral("/clip.flv")};
    if (!outputOption.isEmpty())
        options << QStringLiteral("--output") << resolve(outputOption);

    const CliRun run = runGenerate(options);

    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.injector.size(), 1);
    // The copy into the output folder already holds the metadata, stamped: the injector that
    // follows finds nothing to do.
    QVERIFY2(run.injector[0].contains(QLatin1String("clip.flv: metadata already up to date")),
             qPrintable(run.injector[0]));
    const QString tag = generationTag(outDir());
    QVERIFY2(!tag.isEmpty(), qPrintable(outputFiles().join(u' ')));
    QCOMPARE(run.out, expectedOutput(plainEmbedCode(expectedServerPath, tag),
                                     instructions(outDir() + QLatin1Char('/'), expectedServerPath,
                                                  expectedVideoPath)));
    const QStringList files = outputFiles();
    for (const QString& name : {QStringLiteral("zevoconfigsv.xml"), "zevocoresv" + tag + ".js",
                                "zevoflashsv" + tag + ".js"})
        QVERIFY2(files.contains(name), qPrintable(name + " missing: " + files.join(u' ')));
    const QString xml = configXml(outDir());
    QCOMPARE(attributeOf(xml, QStringLiteral("v1")), expectedVideoPath + "clip.flv");
    QCOMPARE(elementOf(xml, QStringLiteral("bb")), QStringLiteral("Progressive"));
    QCOMPARE(elementOf(xml, QStringLiteral("qq")), QStringLiteral("No"));
    QCOMPARE(elementOf(xml, QStringLiteral("tt")), expectedServerPath);
    QCOMPARE(QDir(work(QStringLiteral("elsewhere"))).entryList(QDir::Files), QStringList());
}

void CliTest::encryptedEmbedCode() {
    TestProfile profile;
    profile.set(ProfileLine::Encrypt, QStringLiteral("1"));
    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--flash"), videos() + QStringLiteral("/clip.flv")});

    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.err, QByteArray());
    const QString tag = generationTag(outDir());
    QVERIFY(!tag.isEmpty());
    const QString out = QString::fromUtf8(run.out);
    const qsizetype cut = out.indexOf(QStringLiteral("\n--\n"));
    QVERIFY2(cut > 0, run.describe());
    const QStringList embed = out.left(cut).split(crlf());
    QCOMPARE(embed.size(), 3);
    QCOMPARE(embed[0], QStringLiteral("<script type=\"text/javascript\">"));
    QVERIFY(embed[1].startsWith(QStringLiteral("document.write(unescape(\"")));
    QCOMPARE(unescapeStatement(embed[1]),
             QStringLiteral(" <script type=\"text/javascript\"  src=\"") + ServerPath +
                 QStringLiteral("zevocoresv") + tag + QStringLiteral(".js\"></script>"));
    QCOMPARE(embed[2], QStringLiteral("</script>"));
    QCOMPARE(out.mid(cut + 4),
             instructions(outDir() + QLatin1Char('/'), ServerPath, ServerPath) + QLatin1Char('\n'));
}

void CliTest::html5Sources_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("withWebm");
    QTest::addColumn<QString>("expectedFlash");
    QTest::addColumn<QString>("expectedWebm");

    QTest::newRow("mp4 only") << "SIN1" << false << ServerPath + "clip.flv" << ServerPath;
    QTest::newRow("mp4 and webm") << "SIN1" << true << ServerPath + "clip.flv"
                                  << ServerPath + "clip.webm";
    // The seek script serves the Flash file from beside the pages.
    QTest::newRow("pseudo") << "SIN3" << true << "clip.flv" << ServerPath + "clip.webm";
}

void CliTest::html5Sources() {
    QFETCH(QString, mode);
    QFETCH(bool, withWebm);
    QFETCH(QString, expectedFlash);
    QFETCH(QString, expectedWebm);
    TestProfile profile;
    profile.set(ProfileLine::Mode, mode).set(ProfileLine::Html5, QStringLiteral("1"));
    QStringList options{QStringLiteral("--profile"), writeProfile(profile),
                        QStringLiteral("--output"),  outDir(),
                        QStringLiteral("--flash"),   videos() + QStringLiteral("/clip.flv"),
                        QStringLiteral("--mp4"),     videos() + QStringLiteral("/clip.mp4")};
    if (withWebm)
        options << QStringLiteral("--webm") << videos() + QStringLiteral("/clip.webm");

    const CliRun run = runGenerate(options);

    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.err, QByteArray());
    const QString tag = generationTag(outDir());
    QVERIFY(!tag.isEmpty());
    QCOMPARE(run.out,
             expectedOutput(plainEmbedCode(ServerPath, tag),
                            instructions(outDir() + QLatin1Char('/'), ServerPath, ServerPath)));
    const QString xml = configXml(outDir());
    QCOMPARE(attributeOf(xml, QStringLiteral("v1")), expectedFlash);
    QCOMPARE(attributeOf(xml, QStringLiteral("v2")), ServerPath + "clip.mp4");
    QCOMPARE(attributeOf(xml, QStringLiteral("v3")), expectedWebm);
}

void CliTest::rtmpStreamName_data() {
    QTest::addColumn<QString>("flash");
    QTest::addColumn<QString>("streamName");

    QTest::newRow("mp4") << "clip.mp4"
                         << "mp4:clip.mp4";
    QTest::newRow("f4v") << "clip.f4v"
                         << "f4v:clip.f4v";
    QTest::newRow("flv") << "clip.flv"
                         << "clip";
}

void CliTest::rtmpStreamName() {
    QFETCH(QString, flash);
    QFETCH(QString, streamName);
    const QString rtmpPath = QStringLiteral("rtmp://media.example.com/app");
    TestProfile profile;
    profile.set(ProfileLine::Mode, QStringLiteral("SIN2")).set(ProfileLine::VideoPath, rtmpPath);

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--flash"), videos() + QLatin1Char('/') + flash});

    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.err, QByteArray());
    const QString tag = generationTag(outDir());
    QVERIFY(!tag.isEmpty());
    QCOMPARE(run.out, expectedOutput(plainEmbedCode(ServerPath, tag),
                                     instructions(outDir() + QLatin1Char('/'), ServerPath,
                                                  rtmpPath + QLatin1Char('/'))));
    const QString xml = configXml(outDir());
    QCOMPARE(attributeOf(xml, QStringLiteral("v1")), streamName);
    QCOMPARE(elementOf(xml, QStringLiteral("bb")), QStringLiteral("Rtmp"));
    QCOMPARE(elementOf(xml, QStringLiteral("qq")), rtmpPath + QLatin1Char('/'));
}

void CliTest::validationStops_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("html5");
    QTest::addColumn<QString>("serverPath");
    QTest::addColumn<QString>("videoPath");
    QTest::addColumn<bool>("withFlash");
    QTest::addColumn<bool>("withOutput");
    QTest::addColumn<QStringList>("expectedErr");

    const QString saveFirst = QStringLiteral("Error: PLEASE SAVE YOUR VIDEO FILE LIST FIRST!");
    const QString single = QStringLiteral("SIN1");
    const QString rtmp = QStringLiteral("SIN2");
    const QString playlist = QStringLiteral("MUL1");
    const QString off = QStringLiteral("0");
    const QString none;
    QTest::newRow("no flash file")
        << single << off << ServerPath << none << false << true << QStringList{saveFirst};
    // The single-video dialog belongs to single-video projects; a playlist needs its editor.
    QTest::newRow("playlist profile")
        << playlist << off << ServerPath << none << false << true << QStringList{saveFirst};
    QTest::newRow("playlist profile with a flash file")
        << playlist << off << ServerPath << none << true << true << QStringList{saveFirst};
    QTest::newRow("html5 without mp4")
        << single << QStringLiteral("1") << ServerPath << none << true << true
        << QStringList{QStringLiteral("Error: MP4 FILE MISSING"), saveFirst};
    QTest::newRow("no output folder")
        << single << off << ServerPath << none << true << false
        << QStringList{QStringLiteral("Error: PLEASE PROVIDE OUTPUT FOLDER.")};
    QTest::newRow("blank server path")
        << single << off << QStringLiteral("   ") << none << true << true
        << QStringList{QStringLiteral("Error: NO HTML PATH SPECIFIED!")};
    QTest::newRow("incomplete server path")
        << single << off << QStringLiteral(" http:// ") << none << true << true
        << QStringList{QStringLiteral("Error: INCOMPLETE http:// PATH. REFER TO QUICK HELP.")};
    QTest::newRow("rtmp without video path")
        << rtmp << off << ServerPath << QStringLiteral("  ") << true << true
        << QStringList{
               QStringLiteral("Error: VIDEO FILE(S) PATH CANNOT BE BLANK FOR A RTMP PLAYER!")};
    QTest::newRow("incomplete rtmp path")
        << rtmp << off << ServerPath << QStringLiteral("rtmp://") << true << true
        << QStringList{QStringLiteral("Error: INCOMPLETE rtmp:// PATH. REFER TO QUICK HELP.")};
}

void CliTest::validationStops() {
    QFETCH(QString, mode);
    QFETCH(QString, html5);
    QFETCH(QString, serverPath);
    QFETCH(QString, videoPath);
    QFETCH(bool, withFlash);
    QFETCH(bool, withOutput);
    QFETCH(QStringList, expectedErr);
    TestProfile profile;
    profile.set(ProfileLine::Mode, mode)
        .set(ProfileLine::Html5, html5)
        .set(ProfileLine::ServerPath, serverPath)
        .set(ProfileLine::VideoPath, videoPath);
    QStringList options{QStringLiteral("--profile"), writeProfile(profile)};
    if (withFlash)
        options << QStringLiteral("--flash") << videos() + QStringLiteral("/clip.flv");
    if (withOutput)
        options << QStringLiteral("--output") << outDir();

    const CliRun run = runGenerate(options);

    QVERIFY2(run.exitCode == 2, run.describe());
    QCOMPARE(run.errLines(), expectedErr);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(outputFiles(), QStringList());
}

void CliTest::errorsEndTheRun_data() {
    QTest::addColumn<int>("line");  // of the profile, changed to `value`; 0 for none
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("flash");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("expectedErr");

    const QString profile = QStringLiteral("%WORK%/project.epe");
    const QString flash = QStringLiteral("%VIDEOS%/clip.flv");
    const QString out = QStringLiteral("%OUT%");
    const QString none;
    const QString pathNotFound =
        QStringLiteral("Error: ERROR# 76 PATH NOT FOUND. PLEASE CONTACT SUPPORT.");
    const QString outOfRange =
        QStringLiteral("Error: ERROR# 9 SUBSCRIPT OUT OF RANGE. PLEASE CONTACT SUPPORT.");
    QTest::newRow("profile missing")
        << 0 << none << QStringLiteral("%WORK%/missing.epe") << flash << out
        << QStringList{QStringLiteral("Error: ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT."),
                       QStringLiteral("Reading %WORK%/missing.epe"),
                       QStringLiteral("No such file or directory")};
    QTest::newRow("output folder missing")
        << 0 << none << profile << flash << QStringLiteral("%OUT%/missing")
        << QStringList{pathNotFound, QStringLiteral("Writing %OUT%/missing/zevoconfigsv.xml"),
                       QStringLiteral("No such file or directory")};
    QTest::newRow("output folder is a file")
        << 0 << none << profile << flash << QStringLiteral("%VIDEOS%/clip.mp4")
        << QStringList{pathNotFound, QStringLiteral("Writing %VIDEOS%/clip.mp4/zevoconfigsv.xml"),
                       QStringLiteral("Not a directory")};
    QTest::newRow("skin index past the list")
        << static_cast<int>(ProfileLine::PlayerStyle) << QStringLiteral("99") << profile << flash
        << out << QStringList{outOfRange};
    QTest::newRow("size index past the list")
        << static_cast<int>(ProfileLine::PlayerSize) << QStringLiteral("99") << profile << flash
        << out << QStringList{outOfRange};
    QTest::newRow("check state that is not 0 or 1")
        << static_cast<int>(ProfileLine::Html5) << QStringLiteral("2") << profile << flash << out
        << QStringList{QStringLiteral(
               "Error: ERROR# 5 INVALID PROCEDURE CALL OR ARGUMENT. PLEASE CONTACT SUPPORT.")};
    QTest::newRow("flash file missing")
        << 0 << none << profile << QStringLiteral("%VIDEOS%/gone.flv") << out
        << QStringList{QStringLiteral("vidlark-cli: no such video file: %VIDEOS%/gone.flv")};
}

void CliTest::errorsEndTheRun() {
    QFETCH(int, line);
    QFETCH(QString, value);
    QFETCH(QString, profile);
    QFETCH(QString, flash);
    QFETCH(QString, output);
    QFETCH(QStringList, expectedErr);
    TestProfile values;
    if (line > 0)
        values.set(static_cast<ProfileLine>(line), value);
    writeProfile(values);

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), resolve(profile), QStringLiteral("--flash"),
                     resolve(flash), QStringLiteral("--output"), resolve(output)});

    QVERIFY2(run.exitCode == 1, run.describe());
    QCOMPARE(run.errLines(), resolve(expectedErr));
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(outputFiles(), QStringList());
}

void CliTest::badCommandLines_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("explained");  // a line before the usage says what is wrong

    const QStringList profile{QStringLiteral("--profile"), QStringLiteral("%WORK%/project.epe")};
    const QStringList output{QStringLiteral("--output"), QStringLiteral("%OUT%")};
    const QStringList flash{QStringLiteral("--flash"), QStringLiteral("%VIDEOS%/clip.flv")};
    const QString generate = QStringLiteral("generate");

    QTest::newRow("nothing") << QStringList() << false;
    QTest::newRow("no command") << profile + output + flash << false;
    QTest::newRow("other command")
        << QStringList{QStringLiteral("build")} + profile + output + flash << false;
    QTest::newRow("unknown option")
        << QStringList{generate} + profile + output + flash + QStringList{"--verbose"} << true;
    QTest::newRow("unknown option with a value")
        << QStringList{generate} + profile + QStringList{"--skin", "dark"} + output + flash << true;
    QTest::newRow("missing value")
        << QStringList{generate} + profile + output + QStringList{"--flash"} << true;
    QTest::newRow("mp4 without flash")
        << QStringList{generate} + profile + output + QStringList{"--mp4", "%VIDEOS%/clip.mp4"}
        << true;
    QTest::newRow("webm without flash")
        << QStringList{generate} + profile + output + QStringList{"--webm", "%VIDEOS%/clip.webm"}
        << true;
    QTest::newRow("playlist with flash") << QStringList{generate} + profile + output + flash +
                                                QStringList{"--playlist", "%WORK%/list.plf"}
                                         << true;
    QTest::newRow("no profile") << QStringList{generate} + output + flash << true;
    QTest::newRow("make-mp4 without a video")
        << QStringList{generate} + profile + output + QStringList{"--make-mp4"} << true;
    QTest::newRow("make-mp4 with mp4")
        << QStringList{generate} + profile + output + flash +
               QStringList{"--mp4", "%VIDEOS%/clip.mp4", "--make-mp4"}
        << true;
    QTest::newRow("set without its pair")
        << QStringList{generate} + profile + output + flash + QStringList{"--set"} << true;
    QTest::newRow("set of an unknown setting")
        << QStringList{generate} + profile + output + flash + QStringList{"--set", "Skin=dark"}
        << true;
}

void CliTest::badCommandLines() {
    QFETCH(QStringList, args);
    QFETCH(bool, explained);
    writeProfile(TestProfile().set(ProfileLine::OutDir, outDir() + QLatin1Char('/')));

    const CliRun run = runCli(resolve(args));

    QVERIFY2(run.exitCode == 1, run.describe());
    QCOMPARE(run.out, QByteArray());
    const QStringList lines = run.errLines();
    QCOMPARE(lines.size(), explained ? 4 : 3);
    if (explained)
        QVERIFY2(lines[0].startsWith(QStringLiteral("vidlark-cli: ")), run.describe());
    QCOMPARE(lines[lines.size() - 3], UsageFirstLine);
    QCOMPARE(lines[lines.size() - 2].trimmed(), UsageSecondLine);
    QCOMPARE(lines.last().trimmed(), UsageThirdLine);
    QCOMPARE(outputFiles(), QStringList());
}

void CliTest::missingPlaylistFile() {
    TestProfile profile;
    profile.set(ProfileLine::Mode, QStringLiteral("MUL1"));
    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--playlist"), work(QStringLiteral("list.plf"))});

    QVERIFY2(run.exitCode == 1, run.describe());
    QCOMPARE(run.out, QByteArray());
    const QStringList lines = run.errLines();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(QStringLiteral("vidlark-cli: no such playlist file: ")),
             run.describe());
    QCOMPARE(outputFiles(), QStringList());
}

void CliTest::generatesPlaylist() {
    Playlist playlist;
    playlist.rows = {{"clip.flv", "", "", "First", "", ""}, {"clip.mp4", "", "", "Second", "", ""}};
    playlist.FLVVideoFilesPath = videos() + QLatin1Char('/');
    PlaylistFile::write(work(QStringLiteral("list.plf")), playlist, false);
    TestProfile profile;
    profile.set(ProfileLine::Mode, QStringLiteral("MUL1"));

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--playlist"), work(QStringLiteral("list.plf"))});

    QVERIFY2(run.exitCode == 0, run.describe());
    QVERIFY(outputFiles().contains(QStringLiteral("clip.flv")));
    QVERIFY(outputFiles().contains(QStringLiteral("clip.mp4")));
    const QString xml = configXml(outDir());
    QVERIFY2(xml.indexOf(QStringLiteral("clip.flv")) >= 0 &&
                 xml.indexOf(QStringLiteral("clip.flv")) < xml.indexOf(QStringLiteral("clip.mp4")),
             qPrintable(xml));
}

void CliTest::installationWithoutSkins() {
    // Nothing can be generated without a skin: the run ends at the message, whatever the profile.
    TestInstallation installation({}, {QStringLiteral("480x270")});
    installation.useBuiltSupportFiles();
    TestProfile profile;

    const CliRun run = runGenerate({QStringLiteral("--profile"), writeProfile(profile),
                                    QStringLiteral("--app-folder"), installation.appFolder(),
                                    QStringLiteral("--output"), outDir(), QStringLiteral("--flash"),
                                    videos() + QStringLiteral("/clip.flv")});

    QVERIFY2(run.exitCode == 1, run.describe());
    QCOMPARE(run.errLines(), QStringList{QStringLiteral(
                                 "Error: NO PLAYER SKINS FOUND. PLEASE REINSTALL THE SOFTWARE.")});
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(outputFiles(), QStringList());
}

void CliTest::malformedPlayerSize_data() {
    QTest::addColumn<QStringList>("sizes");
    QTest::addColumn<QString>("profileSize");
    QTest::addColumn<QString>("malformed");  // the entry named on standard error, if any
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");  // the skin's 30 pixels of controls included

    const QStringList sizes{QStringLiteral("640x360 Widescreen"), QStringLiteral("854x480")};
    QTest::newRow("well formed") << sizes << QStringLiteral("1") << QString() << 854 << 510;
    QTest::newRow("first entry malformed")
        << QStringList{QStringLiteral("abc")} + sizes << QStringLiteral("0")
        << QStringLiteral("abc") << 640 << 390;
    QTest::newRow("chosen entry malformed")
        << sizes + QStringList{QStringLiteral("widex480")} << QStringLiteral("2")
        << QStringLiteral("widex480") << 640 << 390;
}

void CliTest::malformedPlayerSize() {
    QFETCH(QStringList, sizes);
    QFETCH(QString, profileSize);
    QFETCH(QString, malformed);
    QFETCH(int, width);
    QFETCH(int, height);
    TestInstallation installation({QStringLiteral("Skin-30-dark")}, sizes);
    installation.useBuiltSupportFiles();
    TestProfile profile;
    profile.set(ProfileLine::PlayerSize, profileSize);

    const CliRun run = runGenerate({QStringLiteral("--profile"), writeProfile(profile),
                                    QStringLiteral("--app-folder"), installation.appFolder(),
                                    QStringLiteral("--output"), outDir(), QStringLiteral("--flash"),
                                    videos() + QStringLiteral("/clip.flv")});

    QVERIFY2(run.exitCode == 0, run.describe());
    const QStringList lines = run.errLines();
    if (malformed.isEmpty()) {
        QCOMPARE(lines, QStringList());
    } else {
        // A malformed first entry is reported when the list is read and again when the
        // profile chooses it; each time the size in force stays.
        QVERIFY2(!lines.isEmpty(), run.describe());
        for (const QString& line : lines) {
            QVERIFY2(line.startsWith(QStringLiteral("Error: ")), run.describe());
            QVERIFY2(line.contains(u'"' + malformed + u'"'), run.describe());
        }
    }
    const QString xml = configXml(outDir());
    QCOMPARE(elementOf(xml, QStringLiteral("kk")), QString::number(width));
    QCOMPARE(elementOf(xml, QStringLiteral("ll")), QString::number(height));
}

void CliTest::installationWithoutScratchFolder() {
    // The desktop program makes temp/thumbs at start-up, so a fresh installation needs none.
    TestInstallation installation({QStringLiteral("Skin-30-dark")}, {QStringLiteral("480x270")});
    installation.useBuiltSupportFiles();
    QVERIFY(QDir(installation.path(QStringLiteral("app/temp"))).removeRecursively());

    const CliRun run = runGenerate({QStringLiteral("--profile"), writeProfile(TestProfile()),
                                    QStringLiteral("--app-folder"), installation.appFolder(),
                                    QStringLiteral("--output"), outDir(), QStringLiteral("--flash"),
                                    videos() + QStringLiteral("/clip.flv")});

    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.err, QByteArray());
    QVERIFY(!generationTag(outDir()).isEmpty());
}

void CliTest::missingAppFolder() {
    const QString appFolder = work(QStringLiteral("nowhere"));

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(TestProfile()),
                     QStringLiteral("--app-folder"), appFolder, QStringLiteral("--output"),
                     outDir(), QStringLiteral("--flash"), videos() + QStringLiteral("/clip.flv")});

    QVERIFY2(run.exitCode == 1, run.describe());
    const QStringList lines = run.errLines();
    QVERIFY2(!lines.isEmpty(), run.describe());
    QCOMPARE(lines.last(),
             QStringLiteral("Error: NO PLAYER SKINS FOUND. PLEASE REINSTALL THE SOFTWARE."));
    QVERIFY(!QFileInfo::exists(appFolder));
    QCOMPARE(outputFiles(), QStringList());
}

void CliTest::relativePaths() {
    writeProfile(TestProfile());

    const CliRun run = runCli(
        {QStringLiteral("generate"), QStringLiteral("--profile"), QStringLiteral("project.epe"),
         QStringLiteral("--output"), QFileInfo(outDir()).fileName(), QStringLiteral("--flash"),
         QStringLiteral("videos/clip.flv")},
        m_work->path());

    QVERIFY2(run.exitCode == 0, run.describe());
    const QString tag = generationTag(outDir());
    QVERIFY(!tag.isEmpty());
    QCOMPARE(run.out,
             expectedOutput(plainEmbedCode(ServerPath, tag),
                            instructions(outDir() + QLatin1Char('/'), ServerPath, ServerPath)));
    QCOMPARE(attributeOf(configXml(outDir()), QStringLiteral("v1")), ServerPath + "clip.flv");
}

// The output folder reaches the chosen video under another text: a hard link to it in the output
// folder, or the video folder mounted over the output folder. The run must see one file, not copy
// it onto itself (which emptied the user's video).
void CliTest::videoAlreadyWhereItsCopyGoes_data() {
    QTest::addColumn<bool>("bindMount");
    QTest::newRow("hard link in the output folder") << false;
    QTest::newRow("video folder mounted over the output folder") << true;
}

void CliTest::videoAlreadyWhereItsCopyGoes() {
    QFETCH(bool, bindMount);
    const QString source = videos() + QStringLiteral("/clip.flv");
    const QByteArray original = TextFile::readBytes(source);
    if (bindMount) {
        if (QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("--bind"), videos(), outDir()}) != 0)
            QSKIP("a bind mount needs root");
    } else {
        QCOMPARE(::link(QFile::encodeName(source),
                        QFile::encodeName(outDir() + QStringLiteral("/clip.flv"))),
                 0);
    }
    auto unmount = qScopeGuard([&] {
        if (bindMount)
            QProcess::execute(QStringLiteral("umount"), {outDir()});
    });

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(TestProfile()),
                     QStringLiteral("--flash"), source, QStringLiteral("--output"), outDir()});

    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.injector.size(), 1);
    QVERIFY2(run.injector[0].contains(QLatin1String("clip.flv: metadata injected")),
             qPrintable(run.injector[0]));
    const QByteArray after = TextFile::readBytes(source);
    if (bindMount)  // the output folder is the video's folder: its video is the one injected
        QVERIFY2(after.startsWith(original.left(3)) && after.size() > original.size(),
                 after.toHex().constData());
    else  // the injected copy replaced the link; the user's video is as it was
        QCOMPARE(after, original);
}

void CliTest::failedInjectionHasItsOwnStatus() {
    const QString bad = videos() + QStringLiteral("/broken.flv");
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a video at all");
    file.close();

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(TestProfile()),
                     QStringLiteral("--flash"), bad, QStringLiteral("--output"), outDir()});

    QVERIFY2(run.exitCode == 3, run.describe());
    QVERIFY2(run.out.contains("\n--\n"), run.describe());  // the result was printed
    QCOMPARE(run.injector.size(), 1);
    QCOMPARE(run.errLines().constLast(),
             QStringLiteral("vidlark-cli: metadata injection failed for 1 of the videos: ") +
                 outDir() + QStringLiteral("/broken.flv"));
}

// A playlist row's video that was deleted after the playlist was saved: the run names it and
// stops before the output folder or the scratch folder is touched.
void CliTest::missingPlaylistVideoIsNamedAndNothingWritten() {
    TestInstallation installation({QStringLiteral("Skin-30-dark")}, {QStringLiteral("480x270")});
    installation.useBuiltSupportFiles();
    writeVideo(videos(), QStringLiteral("gone.flv"));
    Playlist playlist;
    playlist.rows = {{"clip.flv", "", "", "First", "", ""}, {"gone.flv", "", "", "Second", "", ""}};
    playlist.FLVVideoFilesPath = videos() + QLatin1Char('/');
    PlaylistFile::write(work(QStringLiteral("list.plf")), playlist, false);
    QVERIFY(QFile::remove(videos() + QStringLiteral("/gone.flv")));
    const QString output = installation.outputFolder();
    const QString scratch = installation.path(QStringLiteral("app/temp"));
    const QMap<QString, QByteArray> outputBefore = filesBelow(output, QStringLiteral("-"));
    const QMap<QString, QByteArray> scratchBefore = filesBelow(scratch, QStringLiteral("-"));
    TestProfile profile;
    profile.set(ProfileLine::Mode, QStringLiteral("MUL1"));

    const CliRun run = runGenerate(
        {QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--app-folder"),
         installation.appFolder(), QStringLiteral("--output"), output, QStringLiteral("--playlist"),
         work(QStringLiteral("list.plf"))});

    QVERIFY2(run.exitCode == 2, run.describe());
    QCOMPARE(
        run.errLines(),
        (QStringList{QStringLiteral("Error: ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT."),
                     QStringLiteral("Reading ") + videos() + QStringLiteral("/gone.flv")}));
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(filesBelow(output, QStringLiteral("-")), outputBefore);
    QCOMPARE(filesBelow(scratch, QStringLiteral("-")), scratchBefore);
}

// generate --serve, and serve on its own after a run: the address printed leads to the local
// test page and the video beside it, and an interrupt ends the program normally.
void CliTest::servesTheLocalTestPage_data() {
    QTest::addColumn<bool>("separately");
    QTest::newRow("generate --serve") << false;
    QTest::newRow("serve after generate") << true;
}

void CliTest::servesTheLocalTestPage() {
    QFETCH(bool, separately);
    TestInstallation installation({QStringLiteral("Skin-30-dark")}, {QStringLiteral("480x270")});
    installation.useBuiltSupportFiles();
    QStringList generate{QStringLiteral("generate"),
                         QStringLiteral("--profile"),
                         writeProfile(TestProfile()),
                         QStringLiteral("--app-folder"),
                         installation.appFolder(),
                         QStringLiteral("--output"),
                         outDir(),
                         QStringLiteral("--flash"),
                         videos() + QStringLiteral("/clip.flv")};
    if (separately)
        QVERIFY2(runCli(generate).exitCode == 0, "the run before serving failed");
    QProcess cli;
    cli.start(cliProgram(),
              separately ? QStringList{QStringLiteral("serve"), QStringLiteral("--app-folder"),
                                       installation.appFolder()}
                         : generate + QStringList{QStringLiteral("--serve")});
    static const QRegularExpression serving(
        QStringLiteral("Serving the local test page at http://127\\.0\\.0\\.1:(\\d+)/"
                       "do-not-upload\\.html \\(Ctrl\\+C ends\\)"));
    QRegularExpressionMatch match;
    QTRY_VERIFY_WITH_TIMEOUT(
        (match = serving.match(QString::fromUtf8(cli.peek(1 << 20)))).hasMatch(), 20000);
    const quint16 port = match.captured(1).toUShort();
    const HttpAnswer page = httpRequest(port, "GET", "/do-not-upload.html");
    QCOMPARE(page.status, 200);
    QCOMPARE(page.body,
             TextFile::readBytes(installation.path(QStringLiteral("app/temp/do-not-upload.html"))));
    const HttpAnswer video = httpRequest(port, "GET", "/clip.flv", "Range: bytes=0-2\r\n");
    QCOMPARE(video.status, 206);
    QCOMPARE(video.body, QByteArray("FLV"));
    QCOMPARE(httpRequest(port, "GET", "/../project.epe").status, 404);
    cli.terminate();
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
}

void CliTest::serveWithoutARun() {
    TestInstallation installation({QStringLiteral("Skin-30-dark")}, {QStringLiteral("480x270")});
    QFile::remove(installation.path(QStringLiteral("app/temp/do-not-upload.html")));
    const CliRun run =
        runCli({QStringLiteral("serve"), QStringLiteral("--app-folder"), installation.appFolder()});
    QVERIFY2(run.exitCode == 1, run.describe());
    QVERIFY2(run.err.startsWith("vidlark-cli: no local test page to serve ("), run.describe());
    QCOMPARE(run.out, QByteArray());
}

void CliTest::playlistNamesStayInTheOutputFolder_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fieldName");
    QTest::newRow("flash file") << 0 << "../escaped.flv"
                                << "FLV/MP4 VIDEO FILE";
    QTest::newRow("mp4 file") << 1 << "../escaped.mp4"
                              << "MP4 VIDEO FILE";
    QTest::newRow("webm file") << 2 << "../escaped.webm"
                               << "WEBM VIDEO FILE";
    QTest::newRow("thumbnail") << 5 << "../../notes.jpg"
                               << "THUMBNAIL IMAGE";
}

// A shared playlist file whose row 2 names a file one or two folders up. Every source it could
// reach exists, so a run that followed the name would copy over or beside the installation's and
// the user's files; the file is refused instead and nothing outside the output folder changes.
void CliTest::playlistNamesStayInTheOutputFolder() {
    QFETCH(int, field);
    QFETCH(QString, name);
    QFETCH(QString, fieldName);
    TestInstallation installation({QStringLiteral("Skin-30-dark")}, {QStringLiteral("480x270")});
    installation.useBuiltSupportFiles();
    const QString inner = installation.path(QStringLiteral("videos/inner"));
    QVERIFY(QDir().mkpath(inner));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    for (const QString& folder : {inner, installation.path(QStringLiteral("videos"))}) {
        for (const char* video :
             {"clip.flv", "clip.mp4", "clip.webm", "escaped.flv", "escaped.mp4", "escaped.webm"})
            writeVideo(folder, QString::fromLatin1(video));
        QVERIFY(picture.save(folder + QStringLiteral("/pic.jpg"), "JPG"));
    }
    QVERIFY(picture.save(installation.path(QStringLiteral("notes.jpg")), "JPG"));
    QStringList row{"clip.flv", "clip.mp4", "clip.webm", "Second", "The second", "pic.jpg"};
    row[field] = name;
    const QString folder = inner + QLatin1Char('/');
    writeRawPlaylist(
        work(QStringLiteral("shared.plf")),
        {"True", "False", "False", "False", "False", "True", "1", folder, folder, folder, folder,
         "clip.flv|clip.mp4|clip.webm|First|The first|pic.jpg", row.join(QLatin1Char('|'))},
        QStringLiteral("3|6"));
    const QString output = installation.outputFolder();
    const QMap<QString, QByteArray> before = filesBelow(installation.path(QString()), output);
    TestProfile profile;
    profile.set(ProfileLine::Mode, QStringLiteral("MUL1")).set(ProfileLine::Html5, "1");

    const CliRun run = runGenerate(
        {QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--app-folder"),
         installation.appFolder(), QStringLiteral("--output"), output, QStringLiteral("--playlist"),
         work(QStringLiteral("shared.plf"))});

    QVERIFY2(run.exitCode == 1, run.describe());
    QCOMPARE(run.errLines(),
             QStringList{QStringLiteral("Error: PLAYLIST NOT LOADED. THE %1 OF ROW 2 IS NOT A "
                                        "PLAIN FILE NAME: IT HOLDS A FOLDER SEPARATOR.")
                             .arg(fieldName)});
    QCOMPARE(filesBelow(installation.path(QString()), output), before);
    QCOMPARE(QDir(output).entryList(QDir::Files), QStringList());
}

QString CliTest::makeFlashVideo(const QString& name, double seconds) const {
    const QString path = videos() + QLatin1Char('/') + name;
    const QString error =
        MediaTools::ffmpeg(MediaTools::testPicture(QStringLiteral("160x120"), seconds) +
                           MediaTools::testSound(22050, seconds) +
                           QStringList{QStringLiteral("-c:v"), QStringLiteral("flv1"),
                                       QStringLiteral("-c:a"), QStringLiteral("libmp3lame"), path});
    return error.isEmpty() ? path : QString();
}

void CliTest::makeMp4FromFlash_data() {
    QTest::addColumn<QByteArray>("existing");  // what talk.mp4 holds before the run; null: none

    QTest::newRow("no copy yet") << QByteArray();
    // A script run twice must not convert again or fail: the question is answered No, and the
    // file there is kept and used.
    QTest::newRow("a copy is there") << QByteArray("the copy of last week");
}

void CliTest::makeMp4FromFlash() {
    if (!MediaTools::available())
        QSKIP("ffmpeg and ffprobe are not installed");
    QFETCH(QByteArray, existing);
    const QString flash = makeFlashVideo(QStringLiteral("talk.flv"));
    QVERIFY(!flash.isEmpty());
    const QString copy = videos() + QStringLiteral("/talk.mp4");
    if (!existing.isNull()) {
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(existing);
    }
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"));

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--flash"), flash, QStringLiteral("--make-mp4")});

    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(attributeOf(configXml(outDir()), QStringLiteral("v2")), ServerPath + "talk.mp4");
    QVERIFY(outputFiles().contains(QStringLiteral("talk.mp4")));
    const QStringList lines = run.errLines();
    if (existing.isNull()) {
        QCOMPARE(MediaTools::probe(copy).videoCodec, QStringLiteral("h264"));
        QCOMPARE(lines.first(), QStringLiteral("vidlark-cli: making HTML5 copies: 0%"));
        QVERIFY2(lines.last().startsWith(QStringLiteral("vidlark-cli: making HTML5 copies: 100%")),
                 run.describe());
    } else {
        QCOMPARE(TestFiles::readFile(copy), existing);
        QCOMPARE(lines,
                 QStringList{QStringLiteral("Confirm: ") + copy +
                             QStringLiteral(" ALREADY EXISTS. DO YOU WANT TO REPLACE IT WITH A NEW "
                                            "COPY OF talk.flv? REPLACE = Yes, USE THE EXISTING "
                                            "FILE = No")});
    }
}

void CliTest::makeMp4Refused_data() {
    QTest::addColumn<QString>("html5");
    QTest::addColumn<QString>("flash");    // in the videos folder
    QTest::addColumn<QString>("message");  // the last line of standard error

    // A Flash header without a single tag.
    QTest::newRow("not a video")
        << "1"
        << "empty.flv"
        << "vidlark-cli: CANNOT READ THE VIDEO FILE %VIDEOS%/empty.flv (Invalid data found when "
           "processing input)";
    QTest::newRow("HTML5 off") << "0"
                               << "talk.flv"
                               << "vidlark-cli: --make-mp4 needs HTML5 support on in the profile";
}

void CliTest::makeMp4Refused() {
    if (!MediaTools::available())
        QSKIP("ffmpeg and ffprobe are not installed");
    QFETCH(QString, html5);
    QFETCH(QString, flash);
    QFETCH(QString, message);
    QVERIFY(!makeFlashVideo(QStringLiteral("talk.flv")).isEmpty());
    writeVideo(videos(), QStringLiteral("empty.flv"));
    const QStringList videosBefore = QDir(videos()).entryList(QDir::Files | QDir::Hidden);
    TestProfile profile;
    profile.set(ProfileLine::Html5, html5);

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--flash"), videos() + QLatin1Char('/') + flash,
                     QStringLiteral("--make-mp4")});

    QVERIFY2(run.exitCode == 1, run.describe());
    QCOMPARE(run.errLines().last(), resolve(message));
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(outputFiles(), QStringList());
    QCOMPARE(QDir(videos()).entryList(QDir::Files | QDir::Hidden), videosBefore);
}

void CliTest::makeMp4ForPlaylistRows() {
    if (!MediaTools::available())
        QSKIP("ffmpeg and ffprobe are not installed");
    QVERIFY(!makeFlashVideo(QStringLiteral("first.flv")).isEmpty());
    QVERIFY(!makeFlashVideo(QStringLiteral("second.flv")).isEmpty());
    // The first row has its Mp4 file (the stand-in clip.mp4); the second has none.
    Playlist playlist;
    playlist.rows = {{"first.flv", "clip.mp4", "", "First", "", ""},
                     {"second.flv", "", "", "Second", "", ""}};
    playlist.FLVVideoFilesPath = videos() + QLatin1Char('/');
    playlist.Mp4VideoFilesPath = videos() + QLatin1Char('/');
    PlaylistFile::write(work(QStringLiteral("list.plf")), playlist, /*html5Files=*/true);
    TestProfile profile;
    profile.set(ProfileLine::Mode, QStringLiteral("MUL1"))
        .set(ProfileLine::Html5, QStringLiteral("1"));

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--playlist"), work(QStringLiteral("list.plf")),
                     QStringLiteral("--make-mp4")});

    QVERIFY2(run.exitCode == 0, run.describe());
    QVERIFY(!QFile::exists(videos() + QStringLiteral("/first.mp4")));
    QCOMPARE(MediaTools::probe(videos() + QStringLiteral("/second.mp4")).videoCodec,
             QStringLiteral("h264"));
    QVERIFY(outputFiles().contains(QStringLiteral("clip.mp4")));
    QVERIFY(outputFiles().contains(QStringLiteral("second.mp4")));
}

void CliTest::interruptedMakeMp4LeavesNothing() {
    if (!MediaTools::available())
        QSKIP("ffmpeg and ffprobe are not installed");
    // Long enough that the copy is still under way when the interrupt arrives.
    const QString flash = makeFlashVideo(QStringLiteral("long.flv"), 60);
    QVERIFY(!flash.isEmpty());
    const QStringList videosBefore = QDir(videos()).entryList(QDir::Files | QDir::Hidden);
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"));
    QProcess process;
    process.start(cliProgram(), {QStringLiteral("generate"), QStringLiteral("--profile"),
                                 writeProfile(profile), QStringLiteral("--output"), outDir(),
                                 QStringLiteral("--flash"), flash, QStringLiteral("--make-mp4")});
    process.setReadChannel(QProcess::StandardError);
    QByteArray err;
    while (!err.contains("making HTML5 copies: 10%") && process.waitForReadyRead(30000))
        err += process.readAllStandardError();
    QVERIFY2(err.contains("10%"), err.constData());

    ::kill(pid_t(process.processId()), SIGINT);

    QVERIFY(process.waitForFinished(30000));
    err += process.readAllStandardError();
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 130,
             err.constData());
    QVERIFY2(err.endsWith("vidlark-cli: interrupted; the copy under way was removed\n"),
             err.constData());
    QCOMPARE(QDir(videos()).entryList(QDir::Files | QDir::Hidden), videosBefore);
    QCOMPARE(outputFiles(), QStringList());
}

// An output folder on a disk that fills up during the run: the run ends with error 61 naming
// the file it was copying, and no video in the output folder is a part of its source under the
// source's own name, which a user would take for the finished copy.
void CliTest::diskFullLeavesNoPartialVideo_data() {
    QTest::addColumn<QString>("large");  // the video too large for the room left
    QTest::newRow("the HTML5 video") << "clip.mp4";
    QTest::newRow("the Flash video") << "clip.flv";
}

void CliTest::diskFullLeavesNoPartialVideo() {
    QFETCH(QString, large);
    ScratchMount disk("tmpfs", "size=512k");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    QFile video(videos() + u'/' + large);
    QVERIFY(video.open(QIODevice::Append));
    video.write(QByteArray(900 * 1024, '\x55'));
    video.close();
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"));

    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     disk.path(), QStringLiteral("--flash"), videos() + QStringLiteral("/clip.flv"),
                     QStringLiteral("--mp4"), videos() + QStringLiteral("/clip.mp4")});

    QVERIFY2(run.exitCode == 1, run.describe());
    const QStringList left =
        QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : left) {
        QVERIFY2(!name.startsWith(u'.'), qPrintable(name + QStringLiteral(" left behind")));
        // The injector only adds to a Flash video: a copy smaller than its source is a part.
        if (QFile::exists(videos() + u'/' + name))
            QVERIFY2(
                QFileInfo(disk.filePath(name)).size() >= QFileInfo(videos() + u'/' + name).size(),
                qPrintable(name + QStringLiteral(" is a part of its source")));
    }
    QVERIFY2(!left.contains(large), qPrintable(left.join(u' ')));
    QVERIFY2(run.err.contains("ERROR# 61 DISK FULL.") &&
                 run.err.contains((disk.path() + u'/' + large).toUtf8()),
             run.describe());
}

// Tracks in the order given: an SRT in Windows-1252 converted, a label holding a colon, a file
// without language or label.
void CliTest::captionsForTheSingleVideo() {
    TextFile::writeBytes(videos() + "/clip.de.srt",
                         "1\r\n00:00:01,000 --> 00:00:02,000\r\nS\xFC\xDF\r\n");
    TextFile::writeBytes(videos() + "/plain.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\nx\n");
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"));
    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--flash"), videos() + "/clip.flv",
                     QStringLiteral("--mp4"), videos() + "/clip.mp4", QStringLiteral("--captions"),
                     videos() + "/clip.de.srt:de:Deutsch: SDH", QStringLiteral("--captions"),
                     videos() + "/plain.vtt"});
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(attributeOf(configXml(outDir()), QStringLiteral("cc")),
             ServerPath + "clip.de.vtt|de|Deutsch: SDH|" + ServerPath + "plain.vtt||");
    QCOMPARE(TestFiles::readFile(outDir() + "/clip.de.vtt"),
             QByteArray("WEBVTT\n\n1\n00:00:01.000 --> 00:00:02.000\nS\xC3\xBC\xC3\x9F\n"));
}

void CliTest::badCaptionFileStopsTheRun() {
    TextFile::writeBytes(videos() + "/bad.vtt", "WEBVTT\n\n00:01.000 -> 00:02.000\nx\n");
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"));
    const CliRun run = runGenerate(
        {QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"), outDir(),
         QStringLiteral("--flash"), videos() + "/clip.flv", QStringLiteral("--mp4"),
         videos() + "/clip.mp4", QStringLiteral("--captions"), videos() + "/bad.vtt:en"});
    QVERIFY2(run.exitCode == 2, run.describe());
    QVERIFY2(run.errLines().size() >= 3, run.describe());
    QCOMPARE(run.errLines().mid(0, 3),
             (QStringList{QStringLiteral("Error: CAPTION FILE NOT USABLE."), videos() + "/bad.vtt",
                          QStringLiteral("Line 3: \"00:01.000 -> 00:02.000\" is not a cue timing "
                                         "(start --> end, each HH:MM:SS.mmm or MM:SS.mmm).")}));
    QCOMPARE(outputFiles(), QStringList());
}

void CliTest::longVideoNames_data() {
    QTest::addColumn<QString>("base");  // the name less its four-byte suffix
    QTest::newRow("236 characters") << QString(232, u'v');
    QTest::newRow("255 bytes") << QString(251, u'v');
    QTest::newRow("255 bytes of two-byte letters") << QString(125, QChar(0x00e9)) + u'v';
}

// Any name the file system holds goes through a whole run: the copies, the injection, the
// mirrors and the captions are written beside their targets under hidden names that fit.
void CliTest::longVideoNames() {
    QFETCH(QString, base);
    QCOMPARE(QFile::encodeName(base + ".flv").size() <= 255, true);
    writeVideo(videos(), base + ".flv");
    writeVideo(videos(), base + ".mp4");
    TextFile::writeBytes(videos() + "/" + base + ".vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\nx\n");
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"));
    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--flash"), videos() + "/" + base + ".flv",
                     QStringLiteral("--mp4"), videos() + "/" + base + ".mp4",
                     QStringLiteral("--captions"), videos() + "/" + base + ".vtt:en"});
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.injector.size(), 1);
    // Injected on the way by the copy, so the injector finds it done.
    QVERIFY2(run.injector[0].endsWith(QLatin1String(".flv: metadata already up to date (0 "
                                                    "keyframes, 1440 bytes)")),
             qPrintable(run.injector[0]));
    for (const char* suffix : {".flv", ".mp4", ".vtt"})
        QVERIFY2(outputFiles().contains(base + suffix), qPrintable(outputFiles().join(", ")));
    QCOMPARE(QDir(outDir()).entryList({".*"}, QDir::Files | QDir::Hidden), QStringList());
    const QString scratch = QStringLiteral(VIDLARK_APP_DIR) + "/temp/";
    for (const char* suffix : {".flv", ".mp4", ".vtt"})
        QVERIFY(QFile::remove(scratch + base + suffix));
}

// The intro picture kept in the output folder would be replaced by its fitted copy: the run
// stops as a check of the request does, names both, writes nothing, and the picture stays.
void CliTest::pictureInTheOutputFolderStopsTheRun() {
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString red = outDir() + "/red.jpg";
    QVERIFY(picture.save(red, "JPEG"));
    const QByteArray original = TestFiles::readFile(red);
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"))
        .set(ProfileLine::IntroImageName, QStringLiteral("red.jpg"))
        .set(ProfileLine::IntroImagePath, red);
    const CliRun run =
        runGenerate({QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"),
                     outDir(), QStringLiteral("--flash"), videos() + "/clip.flv",
                     QStringLiteral("--mp4"), videos() + "/clip.mp4"});
    QVERIFY2(run.exitCode == 2, run.describe());
    QVERIFY2(run.errLines().size() >= 3, run.describe());
    QCOMPARE(
        run.errLines().mid(0, 3),
        (QStringList{QStringLiteral("Error: THE RUN WOULD REPLACE ONE OF ITS OWN FILES. "
                                    "NOTHING HAS BEEN WRITTEN."),
                     "The intro image: " + red,
                     "would be replaced by: " + red + " (Copy red.jpg to the output folder)"}));
    QCOMPARE(outputFiles(), QStringList{"red.jpg"});
    QCOMPARE(TestFiles::readFile(red), original);
}

// Every way a track cannot be used is a check of the request: status 2, the file named, nothing
// written. A pipe or a device is refused by its type, never read.
void CliTest::unusableCaptionTrackStopsTheRun_data() {
    QTest::addColumn<QString>("file");  // in the videos folder, or a device's path
    QTest::addColumn<QString>("made");  // what the test puts there: text, "folder", "fifo", ""
    QTest::addColumn<QString>("languageAndLabel");
    QTest::addColumn<QString>("message");
    const QString cue = QStringLiteral("WEBVTT\n\n00:01.000 --> 00:02.000\nx\n");
    QTest::newRow("missing") << "gone.vtt"
                             << ""
                             << ":en"
                             << "vidlark-cli: no such caption file: %VIDEOS%/gone.vtt";
    QTest::newRow("folder") << "dir.vtt"
                            << "folder"
                            << ":en"
                            << "not a regular file";
    QTest::newRow("named pipe") << "pipe.vtt"
                                << "fifo"
                                << ":en"
                                << "not a regular file";
    QTest::newRow("endless device") << "/dev/zero"
                                    << ""
                                    << ":en"
                                    << "not a regular file";
    QTest::newRow("header without cues") << "none.vtt"
                                         << "WEBVTT\n\nNOTE nothing yet\n"
                                         << ":en"
                                         << "holds no cue";
    QTest::newRow("start of heading in the label")
        << "a.vtt" << cue << ":en:Eng\x01lish"
        << "CHARACTER 4 (CONTROL CODE 1) OF THE LABEL OF CAPTION TRACK 1";
    QTest::newRow("unit separator in the label") << "a.vtt" << cue << ":en:\x1f"
                                                 << "CHARACTER 1 (CONTROL CODE 31) OF THE LABEL";
    QTest::newRow("delete in the label") << "a.vtt" << cue << ":en:x\x7f"
                                         << "CHARACTER 2 (CONTROL CODE 127) OF THE LABEL";
    QTest::newRow("control in the language") << "a.vtt" << cue << ":e\x01n:English"
                                             << "CHARACTER 2 (CONTROL CODE 1) OF THE LANGUAGE";
}

void CliTest::unusableCaptionTrackStopsTheRun() {
    QFETCH(QString, file);
    QFETCH(QString, made);
    QFETCH(QString, languageAndLabel);
    QFETCH(QString, message);
    const QString path = file.startsWith(u'/') ? file : videos() + u'/' + file;
    if (file.startsWith(u'/') && !QFileInfo::exists(file))
        QSKIP("this system has no such device");
    if (made == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (made == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (!made.isEmpty())
        TextFile::writeBytes(path, made.toUtf8());
    TestProfile profile;
    profile.set(ProfileLine::Html5, QStringLiteral("1"));
    const CliRun run = runGenerate(
        {QStringLiteral("--profile"), writeProfile(profile), QStringLiteral("--output"), outDir(),
         QStringLiteral("--flash"), videos() + "/clip.flv", QStringLiteral("--mp4"),
         videos() + "/clip.mp4", QStringLiteral("--captions"), path + languageAndLabel});
    QVERIFY2(run.exitCode == 2, run.describe());
    QVERIFY2(run.err.contains(resolve(message).toUtf8()), run.describe());
    QVERIFY2(run.err.contains(path.toUtf8()), run.describe());
    QCOMPARE(outputFiles(), QStringList());
}

// A picture the profile or --set names but that cannot be had stops the run: the page would
// otherwise be made without it as if nothing had happened.
void CliTest::missingPictureStopsTheRun_data() {
    QTest::addColumn<bool>("intro");
    QTest::addColumn<bool>("bySet");
    QTest::newRow("intro by --set") << true << true;
    QTest::newRow("outro by --set") << false << true;
    QTest::newRow("intro in the profile") << true << false;
}

void CliTest::missingPictureStopsTheRun() {
    QFETCH(bool, intro);
    QFETCH(bool, bySet);
    const QString picture = work(QStringLiteral("nonexistent/x.jpg"));
    const QString pathKey = intro ? "IntroImagePath" : "OutroImagePath";
    const QString nameKey = intro ? "IntroImageName" : "OutroImageName";
    TestProfile profile;
    QStringList options{QStringLiteral("--output"), outDir(), QStringLiteral("--flash"),
                        videos() + "/clip.flv"};
    if (bySet) {
        options << "--set" << nameKey + "=x.jpg"
                << "--set" << pathKey + u'=' + picture;
    } else {
        profile.set(intro ? ProfileLine::IntroImageName : ProfileLine::OutroImageName, "x.jpg");
        profile.set(intro ? ProfileLine::IntroImagePath : ProfileLine::OutroImagePath, picture);
    }
    const CliRun run =
        runGenerate(QStringList{QStringLiteral("--profile"), writeProfile(profile)} + options);
    QVERIFY2(run.exitCode == 2, run.describe());
    QVERIFY2(run.err.contains(picture.toUtf8()), run.describe());
    QVERIFY2(run.err.contains(pathKey.toUtf8()), run.describe());
    QCOMPARE(outputFiles(), QStringList());
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_Cli.moc"
