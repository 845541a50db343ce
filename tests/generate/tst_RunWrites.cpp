#include <sys/statvfs.h>
#include <QImage>
#include <QtTest>
#include <memory>

#include "../flvmdi/ScratchMount.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "GenerationInputs.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "generate/GenerationDriver.h"
#include "platform/TextFile.h"

// What a whole run writes, against what the user keeps in the folders it writes to: links under
// the names of its files, a disk that fills up, and the run's own inputs in the output folder or
// the scratch folder.
class RunWritesTest : public QObject {
    Q_OBJECT

  private slots:
    void linksUnderTheRunsNames_data();
    void linksUnderTheRunsNames();
    void fullDiskKeepsTheOlderFile_data();
    void fullDiskKeepsTheOlderFile();
    void inputsAreNeverReplaced_data();
    void inputsAreNeverReplaced();
    void outputFolderThatIsTheScratchFolder_data();
    void outputFolderThatIsTheScratchFolder();
};

namespace {

const QByteArray kCaption = "WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n";

struct Run : GenerationInputs {
    TestInstallation install;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeViews views;
    QString outputFolder = install.outputFolder();
    QString videos = install.path("videos") + QDir::separator();

    // A single video with every generated file a run can write: HTML5 scripts, an action script,
    // code.txt and a caption track.
    Run() {
        QDir().mkpath(install.path("videos"));
        for (const char* name :
             {"app/zevoswf.js", "app/swfs/Skin-30-dark.swf", "videos/clip.flv", "videos/clip.mp4"})
            TextFile::writeBytes(install.path(name), "x");
        TextFile::writeBytes(install.path("videos/clip.en.vtt"), kCaption);
        settings.ServerPath = settings.VideoPath = QStringLiteral("http://example.com/");
        settings.Html5 = true;
        settings.ShowEmbedCode = true;
        settings.RedirectURL = QStringLiteral("http://example.com/next.html");
        single.FlvVideoFileName = QStringLiteral("clip.flv");
        single.FlvVideoFilePath = videos + "clip.flv";
        single.FlvVideoFilePathOnly = single.Mp4VideoFilePathOnly = videos;
        single.Mp4VideoFileName = QStringLiteral("clip.mp4");
        single.Mp4VideoFilePath = videos + "clip.mp4";
        single.Captions = {{videos + "clip.en.vtt", "en", ""}};
    }

    GenerationDriver::Outcome outcome() {
        const GenerationContext ctx =
            context(QStringLiteral("Skin-30-dark"), outputFolder, install.paths());
        return GenerationDriver::run(ctx, {snapshot, random}, 480, 270, clock, dialogs, views);
    }
    QString scratch() const { return install.path("app/temp"); }
    // The file a run wrote whose name matches `pattern`, in the output or the scratch folder.
    QString writtenFile(const QString& pattern) const {
        const bool inScratch = pattern.startsWith("temp/");
        const QString folder = inScratch ? scratch() : install.path("out");
        const QStringList names =
            QDir(folder).entryList({inScratch ? pattern.mid(5) : pattern}, QDir::Files);
        return names.size() == 1 ? folder + "/" + names[0] : QString();
    }
};

// Names of the files a run writes: the output folder's, and "temp/" for the scratch folder's.
void addNames(const QStringList& situations) {
    for (const char* name :
         {"zevoconfigsv.xml", "temp/zevoconfigsv.xml", "zevohtml5sv*.js", "zevocoresv*.js",
          "zevoflashsv*.js", "zevoacton*.js", "code.txt", "onlinetest.html",
          "temp/do-not-upload.html", "clip.en.vtt", "temp/clip.en.vtt"})
        for (const QString& situation : situations)
            QTest::addRow("%s, %s", name, qPrintable(situation)) << QString(name) << situation;
}

}  // namespace

void RunWritesTest::linksUnderTheRunsNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("link");
    addNames({"link to a file outside", "link to a folder"});
}

// An earlier run's file replaced by a link: the run replaces the link with its file and leaves
// what the link points to as it was.
void RunWritesTest::linksUnderTheRunsNames() {
    QFETCH(QString, name);
    QFETCH(QString, link);
    Run r;
    QCOMPARE(r.outcome(), GenerationDriver::Outcome::Completed);
    const QString path = r.writtenFile(name);
    QVERIFY2(!path.isEmpty(), qPrintable(name));
    const QByteArray expected = TestFiles::readFile(path);
    QDir().mkpath(r.install.path("outside/folder"));
    const QString outsideFile = r.install.path("outside/victim.txt");
    TextFile::writeBytes(outsideFile, "keep me");
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::link(link.contains("folder") ? r.install.path("outside/folder") : outsideFile,
                        path));

    QCOMPARE(r.outcome(), GenerationDriver::Outcome::Completed);

    QVERIFY2(!QFileInfo(path).isSymLink(), qPrintable(path));
    QCOMPARE(TestFiles::readFile(path), expected);
    QCOMPARE(TestFiles::readFile(outsideFile), QByteArray("keep me"));
    QCOMPARE(TestFiles::filesBelow(r.install.path("outside")).keys(), QStringList{outsideFile});
}

void RunWritesTest::fullDiskKeepsTheOlderFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("roomKiB");  // left on the disk: what the run writes before the name
    QTest::newRow("zevoconfigsv.xml, the first file") << "zevoconfigsv.xml" << 0;
    QTest::newRow("clip.en.vtt, after the generated files") << "clip.en.vtt" << 160;
}

// The output folder on a disk that fills up while `name` is written: its older version stays
// whole, no part of the new one is left, and the message names it.
void RunWritesTest::fullDiskKeepsTheOlderFile() {
    QFETCH(QString, name);
    QFETCH(int, roomKiB);
    ScratchMount disk("tmpfs", "size=1m");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    Run r;
    r.outputFolder = disk.path() + QDir::separator();
    QByteArray caption = kCaption;
    for (int cue = 0; caption.size() < 600 * 1024; ++cue)
        caption += "\n00:02.000 --> 00:03.000\n" + QByteArray(200, 'c') + '\n';
    TextFile::writeBytes(r.videos + "clip.en.vtt", caption);
    TextFile::writeBytes(r.outputFolder + name, "older");
    QFile filler(disk.filePath(".filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'f');
    struct statvfs room {};
    while (statvfs(QFile::encodeName(disk.path()).constData(), &room) == 0 &&
           qint64(room.f_bavail) * qint64(room.f_frsize) > roomKiB * 1024 &&
           filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    const QStringList before = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);

    QCOMPARE(r.outcome(), GenerationDriver::Outcome::Failed);

    QCOMPARE(TestFiles::readFile(r.outputFolder + name), QByteArray("older"));
    QStringList hidden = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);
    hidden = hidden.filter(QRegularExpression("^\\.(?!filler$)"));
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(", ")));
    QCOMPARE(r.dialogs.texts().join(""), "ERROR# 61 DISK FULL. PLEASE CONTACT SUPPORT.\nWriting " +
                                             r.outputFolder + name + "\nNo space left on device");
    QVERIFY(before.contains(name));
}

void RunWritesTest::inputsAreNeverReplaced_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("folder");   // "out" or "scratch"
    QTest::addColumn<QString>("written");  // the path that would replace it; empty: run completes
    for (const char* kind : {"intro", "outro"}) {
        QTest::addRow("%s image in the output folder", kind) << kind << "out"
                                                             << "out/red.jpg";
        QTest::addRow("%s image in the scratch folder", kind) << kind << "scratch"
                                                              << "app/temp/red.jpg";
    }
    QTest::newRow("thumbnail in the output folder's thumbs") << "thumbnail"
                                                             << "out/thumbs"
                                                             << "out/thumbs/red.jpg";
    QTest::newRow("thumbnail in the scratch folder's thumbs") << "thumbnail"
                                                              << "scratch/thumbs"
                                                              << "app/temp/thumbs/red.jpg";
    QTest::newRow("caption in the output folder, as the run would not write it")
        << "caption"
        << "out"
        << "out/clip.en.vtt";
    QTest::newRow("caption in the scratch folder") << "caption"
                                                   << "scratch"
                                                   << "app/temp/clip.en.vtt";
    QTest::newRow("Flash video in the scratch folder") << "flash"
                                                       << "scratch"
                                                       << "app/temp/clip.flv";
    QTest::newRow("Mp4 video in the scratch folder") << "mp4"
                                                     << "scratch"
                                                     << "app/temp/clip.mp4";
    QTest::newRow("WebM video in the scratch folder") << "webm"
                                                      << "scratch"
                                                      << "app/temp/clip.webm";
    // Already where the run puts them: left as they are, as before.
    QTest::newRow("caption in the output folder as the run writes it") << "caption vtt"
                                                                       << "out"
                                                                       << "";
    QTest::newRow("Flash video in the output folder") << "flash"
                                                      << "out"
                                                      << "";
    QTest::newRow("Mp4 video in the output folder") << "mp4"
                                                    << "out"
                                                    << "";
    QTest::newRow("WebM video in the output folder") << "webm"
                                                     << "out"
                                                     << "";
    QTest::newRow("skin, output folder the skins' folder") << "skin"
                                                           << "app/swfs"
                                                           << "";
}

// An input kept where the run writes: the run stops before it writes anything, names both, and
// the user's file stays byte for byte; an input already in its place stays and the run completes.
void RunWritesTest::inputsAreNeverReplaced() {
    QFETCH(QString, kind);
    QFETCH(QString, folder);
    QFETCH(QString, written);
    Run r;
    const QString where = folder.replace("scratch", "app/temp");
    QDir().mkpath(r.install.path(where));
    const QString dir = r.install.path(where) + QDir::separator();
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QString input;
    QByteArray original;
    if (kind == "intro" || kind == "outro" || kind == "thumbnail") {
        input = dir + "red.jpg";
        QVERIFY(picture.save(input, "JPEG"));
        TextFile::writeBytes(r.install.path("app/temp/temp.jpg"), "fitted");
        TextFile::writeBytes(r.install.path("app/temp/semp.jpg"), "fitted");
    }
    if (kind == "intro") {
        r.settings.IntroImageName = "red.jpg";
        r.settings.IntroImagePath = input;
    } else if (kind == "outro") {
        r.settings.OutroImageName = "red.jpg";
        r.settings.OutroImagePath = input;
    } else if (kind == "thumbnail") {
        r.settings.Multiple = true;
        r.playlist.FLVVideoFilesPath = r.videos;
        r.playlist.ThumbImagesPath = dir;
        r.playlist.layout = PlaylistLayout::TitleDescThumb;
        r.playlist.rows = {PlaylistEntry{"clip.flv", "", "", "A", "", "red.jpg"}};
    } else if (kind.startsWith("caption")) {
        input = dir + "clip.en.vtt";
        // A byte-order mark, which the run's WebVTT does not keep.
        TextFile::writeBytes(input, kind == "caption vtt" ? kCaption : "\xEF\xBB\xBF" + kCaption);
        r.single.Captions = {{input, "en", ""}};
    } else if (kind == "flash") {
        input = dir + "clip.flv";
        TextFile::writeBytes(input, "FLV user's");
        r.single.FlvVideoFilePath = input;
        r.single.FlvVideoFilePathOnly = dir;
    } else if (kind == "mp4" || kind == "webm") {
        input = dir + "clip." + kind;
        TextFile::writeBytes(input, "user's " + kind.toLatin1());
        if (kind == "mp4") {
            r.single.Mp4VideoFilePath = input;
            r.single.Mp4VideoFilePathOnly = dir;
        } else {
            r.single.WebmVideoFileName = "clip.webm";
            r.single.WebmVideoFilePath = input;
            r.single.WebmVideoFilePathOnly = dir;
        }
    } else if (kind == "skin") {
        input = dir + "Skin-30-dark.swf";
    }
    if (folder.startsWith("out") || kind == "skin")
        r.outputFolder = (kind == "skin" ? dir : r.outputFolder);
    original = TestFiles::readFile(input);
    const auto outputBefore = TestFiles::filesBelow(r.outputFolder);
    const auto scratchBefore = TestFiles::filesBelow(r.scratch());

    const GenerationDriver::Outcome outcome = r.outcome();

    QCOMPARE(TestFiles::readFile(input), original);
    if (written.isEmpty()) {
        QVERIFY2(outcome == GenerationDriver::Outcome::Completed,
                 qPrintable(r.dialogs.texts().join("")));
        return;
    }
    QCOMPARE(outcome, GenerationDriver::Outcome::SourceMissing);
    QCOMPARE(r.dialogs.messages.size(), 1);
    const QString text = r.dialogs.messages[0].text;
    QVERIFY2(text.startsWith("THE RUN WOULD REPLACE ONE OF ITS OWN FILES. NOTHING HAS BEEN "
                             "WRITTEN.\n") &&
                 text.contains(": " + input + "\n") &&
                 text.contains("would be replaced by: " + r.install.path(written) + " ("),
             qPrintable(text));
    QCOMPARE(TestFiles::filesBelow(r.outputFolder), outputBefore);
    QCOMPARE(TestFiles::filesBelow(r.scratch()), scratchBefore);
}

void RunWritesTest::outputFolderThatIsTheScratchFolder_data() {
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("the scratch folder itself") << false;
    QTest::newRow("a link to the scratch folder") << true;
}

// The online and the local configuration file would be one file there, the local one written
// last: the run stops before it writes anything, naming the file and both of its writers.
void RunWritesTest::outputFolderThatIsTheScratchFolder() {
    QFETCH(bool, throughLink);
    Run r;
    QDir().mkpath(r.scratch());
    r.outputFolder = r.scratch() + QDir::separator();
    if (throughLink) {
        QVERIFY(QFile::link(r.scratch(), r.install.path("scratch-link")));
        r.outputFolder = r.install.path("scratch-link") + QDir::separator();
    }
    const QMap<QString, QByteArray> before = TestFiles::filesBelow(r.install.path("app"));

    QCOMPARE(r.outcome(), GenerationDriver::Outcome::SourceMissing);

    const QString text = r.dialogs.texts().join("\n");
    QVERIFY2(text.startsWith("THE RUN WOULD WRITE TWO OF ITS FILES UNDER ONE NAME. NOTHING HAS "
                             "BEEN WRITTEN."),
             qPrintable(text));
    QVERIFY2(text.contains("zevoconfigsv.xml"), qPrintable(text));
    QCOMPARE(TestFiles::filesBelow(r.install.path("app")), before);
}

QTEST_GUILESS_MAIN(RunWritesTest)
#include "tst_RunWrites.moc"
