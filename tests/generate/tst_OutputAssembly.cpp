#include <QProcess>
#include <QtTest>

#include "../flvmdi/FlvBuilder.h"
#include "FakeViews.h"
#include "GenerationInputs.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "generate/FileWorkRunner.h"
#include "generate/GenerationContext.h"
#include "generate/OutputAssembly.h"
#include "generate/UploadInstructions.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"

namespace {

void put(const QString& path, const QByteArray& content) {
    TextFile::writeBytes(path, content);
}

// Two seconds of H.263 frames of `frameSize` bytes each, a key frame every ten.
void putFlashVideo(const QString& path, size_t frameSize) {
    FlvBuilder b;
    for (uint32_t i = 0; i < 50; ++i)
        b.h263(i * 40, i % 10 == 0, frameSize);
    put(path,
        QByteArray(reinterpret_cast<const char*>(b.bytes().data()), qsizetype(b.bytes().size())));
}

// Names of the files (not folders) in `folder`, sorted.
QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

// An installation with every support file, and the videos in a folder of their own.
struct Assembly : GenerationInputs {
    TestInstallation install;
    FakeViews views;
    QString outputFolder = install.outputFolder();
    QString appFolder = install.appFolder();
    QString videos = install.path("videos") + QDir::separator();

    Assembly() {
        QDir().mkpath(install.path("videos"));
        QDir().mkpath(install.path("app/images"));
        put(install.path("app/zevoswf.js"), "swfobject");
        put(install.path("app/swfs/zevoseek.php"), "seek");
        put(install.path("app/images/wg_fb.jpg"), "facebook");
        put(install.path("app/images/wg_tw.jpg"), "twitter");
        for (const char* name :
             {"clip.flv", "clip.mp4", "clip.webm", "a.flv", "a.mp4", "b.flv", "b.webm"})
            put(videos + name, "source");
        snapshot.SkinFile = QStringLiteral("Skin-30-dark.swf");
        chooseSingle(videos, "clip.flv", "clip.mp4", "clip.webm");
        playlist.FLVVideoFilesPath = playlist.Mp4VideoFilesPath = playlist.WebMVideoFilesPath =
            videos;
    }

    void chooseSingle(const QString& folder, const QString& flv, const QString& mp4,
                      const QString& webm) {
        single.FlvVideoFilePathOnly = single.Mp4VideoFilePathOnly = single.WebmVideoFilePathOnly =
            folder;
        single.FlvVideoFileName = flv;
        single.FlvVideoFilePath = videos + flv;
        single.Mp4VideoFileName = mp4;
        single.Mp4VideoFilePath = mp4.isEmpty() ? QString() : videos + mp4;
        single.WebmVideoFileName = webm;
        single.WebmVideoFilePath = webm.isEmpty() ? QString() : videos + webm;
    }

    GenerationContext ctx() {
        return context(QStringLiteral("Skin-30-dark"), outputFolder, AppPaths::portable(appFolder));
    }

    // Plans, checks the sources and does the work, as a run does; the step cancelled at, or
    // FileWorkRunner::Completed.
    int run() {
        const GenerationContext c = ctx();
        const FileWorkPlan plan = OutputAssembly::plan(c);
        plan.checkSources();
        return OutputAssembly::assemble(c, plan, views);
    }

    QString scratch() const { return install.path("app/temp") + QDir::separator(); }
    QStringList outFiles() const { return filesIn(outputFolder); }
    QStringList scratchFiles() const { return filesIn(scratch()); }
    QString injected(const QString& name) const {
        return "inject:\"" + appFolder + QDir::separator() + "flvmdi\" /k /l \"" + outputFolder +
               name + "\"";
    }
};

const QStringList kSupport{"Skin-30-dark.swf", "zevoswf.js"};

}  // namespace

class OutputAssemblyTest : public QObject {
    Q_OBJECT

  private slots:
    void singleVideo_data();
    void singleVideo();
    void videosInTheOutputFolder_data();
    void videosInTheOutputFolder();
    void flashCopiesArriveInjected_data();
    void flashCopiesArriveInjected();
    void mirrorOfInjectedCopy_data();
    void mirrorOfInjectedCopy();
    void images_data();
    void images();
    void playlist_data();
    void playlist();
    void planNamesEveryFileWritten_data();
    void planNamesEveryFileWritten();
    void emulator_data();
    void emulator();
    void emulatorOfAnOutputFolderThatIsTheInstallation();
    void failures_data();
    void failures();
    void readOnlyOutputFolder();
    void programPathWithBlanksIsQuoted();
    void commandLineKeepsPathsWhole_data();
    void commandLineKeepsPathsWhole();
    void uploadInstructions();
    void uploadInstructionsWithCaptions();
    void uploadInstructionsWithoutVideoPath();
};

void OutputAssemblyTest::singleVideo_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<bool>("webm");
    QTest::addColumn<QStringList>("videosOut");
    QTest::addColumn<QStringList>("extraOut");
    QTest::addColumn<QStringList>("mirrored");
    const int normal = int(StreamingMode::Normal), rtmp = int(StreamingMode::Rtmp),
              pseudo = int(StreamingMode::Pseudo);
    const QStringList all{"clip.flv", "clip.mp4", "clip.webm"}, flv{"clip.flv"},
        noWebm{"clip.flv", "clip.mp4"}, none{}, seek{"zevoseek.php"};
    QTest::newRow("normal without HTML5") << normal << false << true << flv << none << flv;
    QTest::newRow("normal with HTML5") << normal << true << true << all << none << all;
    QTest::newRow("no WebM chosen") << normal << true << false << noWebm << none << noWebm;
    QTest::newRow("rtmp with HTML5") << rtmp << true << true << all << none << flv;
    QTest::newRow("rtmp without HTML5") << rtmp << false << true << flv << none << flv;
    QTest::newRow("pseudo with HTML5") << pseudo << true << true << all << seek << flv;
    QTest::newRow("pseudo without HTML5") << pseudo << false << false << flv << seek << flv;
}

void OutputAssemblyTest::singleVideo() {
    QFETCH(int, mode);
    QFETCH(bool, html5);
    QFETCH(bool, webm);
    QFETCH(QStringList, videosOut);
    QFETCH(QStringList, extraOut);
    QFETCH(QStringList, mirrored);
    Assembly a;
    a.snapshot.IsRtmp = mode == int(StreamingMode::Rtmp);
    a.snapshot.IsPseudo = mode == int(StreamingMode::Pseudo);
    a.snapshot.UseHtml5 = html5;
    a.chooseSingle(a.videos, "clip.flv", "clip.mp4", webm ? "clip.webm" : "");
    a.run();
    QCOMPARE(a.outFiles(), sorted(videosOut + extraOut + kSupport));
    QCOMPARE(a.scratchFiles(), sorted(mirrored + kSupport));
    QCOMPARE(a.views.log, QStringList{a.injected("clip.flv")});
    QCOMPARE(TestFiles::readFile(a.outputFolder + "clip.flv"), QByteArray("source"));
    QCOMPARE(TestFiles::readFile(a.scratch() + "Skin-30-dark.swf"), QByteArray("FWS"));
    QCOMPARE(TestFiles::readFile(a.scratch() + "zevoswf.js"), QByteArray("swfobject"));
}

void OutputAssemblyTest::videosInTheOutputFolder_data() {
    QTest::addColumn<bool>("sameText");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("folder text equal: left in place") << true << QByteArray("in place");
    // On a system that ignores case these would be one folder; the texts still differ.
    QTest::newRow("folder text differs in case: copied") << false << QByteArray("source");
}

void OutputAssemblyTest::videosInTheOutputFolder() {
    QFETCH(bool, sameText);
    QFETCH(QByteArray, content);
    Assembly a;
    a.snapshot.UseHtml5 = true;
    for (const char* name : {"clip.flv", "clip.mp4", "clip.webm"})
        put(a.outputFolder + name, "in place");
    // The selection still names the source copies, which differ from those in place.
    a.chooseSingle(sameText ? a.outputFolder : a.outputFolder.toUpper(), "clip.flv", "clip.mp4",
                   "clip.webm");
    a.run();
    for (const char* name : {"clip.flv", "clip.mp4", "clip.webm"}) {
        QCOMPARE(TestFiles::readFile(a.outputFolder + name), content);
        QCOMPARE(TestFiles::readFile(a.scratch() + name), content);
    }
    QCOMPARE(a.views.log, QStringList{a.injected("clip.flv")});
}

void OutputAssemblyTest::flashCopiesArriveInjected_data() {
    QTest::addColumn<bool>("playlist");
    QTest::newRow("single video") << false;
    QTest::newRow("playlist") << true;
}

// The injector that runs after the copy finds it done; the other videos are copied as they are.
void OutputAssemblyTest::flashCopiesArriveInjected() {
    QFETCH(bool, playlist);
    Assembly a;
    a.settings.Multiple = playlist;
    a.snapshot.UseHtml5 = true;
    a.playlist.rows = {PlaylistEntry{"b.flv", "", "b.webm", "B", "", ""},
                       PlaylistEntry{"a.flv", "a.mp4", "", "A", "", ""}};
    const QStringList flash = playlist ? QStringList{"a.flv", "b.flv"} : QStringList{"clip.flv"};
    for (const QString& name : flash)
        putFlashVideo(a.videos + name, 30 + size_t(name.size()));
    a.run();
    for (const QString& name : flash) {
        const QByteArray out = TestFiles::readFile(a.outputFolder + name);
        QCOMPARE(out.mid(13 + 11 + 3, 10), QByteArray("onMetaData"));
        QCOMPARE(TestFiles::readFile(a.scratch() + name), out);
    }
    for (const char* name : {"a.mp4", "b.webm", "clip.mp4", "clip.webm"})
        if (QFile::exists(a.outputFolder + name))
            QCOMPARE(TestFiles::readFile(a.outputFolder + name), QByteArray("source"));
    for (const FileWorkStep& step : a.views.plannedSteps)
        QCOMPARE(step.injected,
                 step.kind == FileWorkStep::Kind::Copy && step.name.endsWith(".flv"));
}

void OutputAssemblyTest::mirrorOfInjectedCopy_data() {
    QTest::addColumn<bool>("injectorRewrites");
    QTest::newRow("injector finds the copy done") << false;
    QTest::newRow("injector rewrites the copy") << true;
}

// The mirror of an injected copy is made while that copy is flushed, before the injector runs; it
// stands only while the injector leaves the copy as it was.
void OutputAssemblyTest::mirrorOfInjectedCopy() {
    QFETCH(bool, injectorRewrites);
    Assembly a;
    putFlashVideo(a.videos + "clip.flv", 30);
    QByteArray copyBeforeInjection;
    QByteArray mirrorBeforeInjection;
    a.views.onInjection = [&](int) {
        copyBeforeInjection = TestFiles::readFile(a.outputFolder + "clip.flv");
        mirrorBeforeInjection = TestFiles::readFile(a.scratch() + "clip.flv");
        if (injectorRewrites)
            put(a.outputFolder + "clip.flv", "rewritten by the injector");
        return true;
    };
    QCOMPARE(a.run(), FileWorkRunner::Completed);
    QCOMPARE(copyBeforeInjection.mid(13 + 11 + 3, 10), QByteArray("onMetaData"));
    QCOMPARE(mirrorBeforeInjection, copyBeforeInjection);
    const QByteArray out = TestFiles::readFile(a.outputFolder + "clip.flv");
    QCOMPARE(out == "rewritten by the injector", injectorRewrites);
    QCOMPARE(TestFiles::readFile(a.scratch() + "clip.flv"), out);
}

void OutputAssemblyTest::images_data() {
    QTest::addColumn<QString>("intro");
    QTest::addColumn<QString>("outro");
    QTest::addColumn<bool>("social");
    QTest::addColumn<QStringList>("extraOut");
    QTest::addColumn<QStringList>("extraScratch");
    QTest::newRow("none") << ""
                          << "" << false << QStringList{} << QStringList{};
    QTest::newRow("intro") << "beach.jpg"
                           << "" << false << QStringList{"beach.jpg"} << QStringList{"beach.jpg"};
    QTest::newRow("outro") << ""
                           << "thanks.jpg" << false << QStringList{"thanks.jpg"}
                           << QStringList{"thanks.jpg"};
    QTest::newRow("both and social")
        << "beach.jpg"
        << "thanks.jpg" << true << QStringList{"beach.jpg", "thanks.jpg", "wg_fb.jpg", "wg_tw.jpg"}
        << QStringList{"beach.jpg", "thanks.jpg"};
    // The scratch copy would be the rendered file itself.
    QTest::newRow("intro named like the rendered file")
        << "temp.jpg"
        << "" << false << QStringList{"temp.jpg"} << QStringList{};
}

void OutputAssemblyTest::images() {
    QFETCH(QString, intro);
    QFETCH(QString, outro);
    QFETCH(bool, social);
    QFETCH(QStringList, extraOut);
    QFETCH(QStringList, extraScratch);
    Assembly a;
    put(a.scratch() + "temp.jpg", "rendered intro");
    put(a.scratch() + "semp.jpg", "rendered outro");
    a.settings.IntroImageName = intro;
    a.settings.OutroImageName = outro;
    a.settings.SocialShare = social;
    a.run();
    QCOMPARE(a.outFiles(), sorted(extraOut + kSupport + QStringList{"clip.flv"}));
    QCOMPARE(a.scratchFiles(),
             sorted(extraScratch + kSupport + QStringList{"clip.flv", "temp.jpg", "semp.jpg"}));
    for (const QString& folder : {a.outputFolder, a.scratch()}) {
        if (!intro.isEmpty())
            QCOMPARE(TestFiles::readFile(folder + intro), QByteArray("rendered intro"));
        if (!outro.isEmpty())
            QCOMPARE(TestFiles::readFile(folder + outro), QByteArray("rendered outro"));
    }
    if (social) {
        QCOMPARE(TestFiles::readFile(a.outputFolder + "wg_fb.jpg"), QByteArray("facebook"));
        QCOMPARE(TestFiles::readFile(a.outputFolder + "wg_tw.jpg"), QByteArray("twitter"));
    }
}

void OutputAssemblyTest::playlist_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<bool>("flashInOutput");
    QTest::addColumn<QStringList>("videosOut");
    QTest::addColumn<QStringList>("mirrored");
    const int normal = int(StreamingMode::Normal), pseudo = int(StreamingMode::Pseudo);
    const QStringList flash{"a.flv", "b.flv"}, all{"a.flv", "a.mp4", "b.flv", "b.webm"};
    QTest::newRow("normal with HTML5") << normal << true << false << all << all;
    QTest::newRow("normal without HTML5") << normal << false << false << flash << flash;
    QTest::newRow("pseudo with HTML5") << pseudo << true << false << all << flash;
    QTest::newRow("Flash files already in place") << normal << false << true << flash << flash;
}

void OutputAssemblyTest::playlist() {
    QFETCH(int, mode);
    QFETCH(bool, html5);
    QFETCH(bool, flashInOutput);
    QFETCH(QStringList, videosOut);
    QFETCH(QStringList, mirrored);
    Assembly a;
    a.settings.Multiple = true;
    a.snapshot.IsPseudo = mode == int(StreamingMode::Pseudo);
    a.snapshot.UseHtml5 = html5;
    // The row with a title only would name the folder itself if it were visited.
    // A video played by two rows is handled once.
    a.playlist.rows = {PlaylistEntry{"b.flv", "", "b.webm", "B", "", ""},
                       PlaylistEntry{"", "", "", "Title only", "", ""},
                       PlaylistEntry{"a.flv", "a.mp4", "", "A", "", ""},
                       PlaylistEntry{"b.flv", "", "b.webm", "B again", "", ""}};
    if (flashInOutput) {
        put(a.outputFolder + "a.flv", "in place");
        put(a.outputFolder + "b.flv", "in place");
        a.playlist.FLVVideoFilesPath = a.outputFolder;
    }
    a.run();
    const QStringList extra = a.snapshot.IsPseudo ? QStringList{"zevoseek.php"} : QStringList{};
    QCOMPARE(a.outFiles(), sorted(videosOut + extra + kSupport));
    QCOMPARE(a.scratchFiles(), sorted(mirrored + kSupport));
    QCOMPARE(a.views.log, (QStringList{a.injected("b.flv"), a.injected("a.flv")}));
    const QByteArray flashContent = flashInOutput ? "in place" : "source";
    QCOMPARE(TestFiles::readFile(a.outputFolder + "a.flv"), flashContent);
    QCOMPARE(TestFiles::readFile(a.scratch() + "b.flv"), flashContent);
}

void OutputAssemblyTest::planNamesEveryFileWritten_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<bool>("extras");  // intro and outro images, share buttons
    const int normal = int(StreamingMode::Normal), pseudo = int(StreamingMode::Pseudo);
    QTest::newRow("single with HTML5") << false << normal << true << false;
    QTest::newRow("single without HTML5, images") << false << normal << false << true;
    QTest::newRow("playlist in pseudo mode with HTML5") << true << pseudo << true << false;
    QTest::newRow("playlist without HTML5, images") << true << normal << false << true;
}

// The plan the progress and the source check go by is the work that is done: every file the run
// writes is a target of a step, and every copy's target is written.
void OutputAssemblyTest::planNamesEveryFileWritten() {
    QFETCH(bool, playlist);
    QFETCH(int, mode);
    QFETCH(bool, html5);
    QFETCH(bool, extras);
    Assembly a;
    a.settings.Multiple = playlist;
    a.snapshot.IsPseudo = mode == int(StreamingMode::Pseudo);
    a.snapshot.UseHtml5 = html5;
    a.playlist.rows = {PlaylistEntry{"b.flv", "", "b.webm", "B", "", ""},
                       PlaylistEntry{"a.flv", "a.mp4", "", "A", "", ""}};
    put(a.scratch() + "temp.jpg", "rendered intro");
    put(a.scratch() + "semp.jpg", "rendered outro");
    if (extras) {
        a.settings.IntroImageName = "beach.jpg";
        a.settings.OutroImageName = "thanks.jpg";
        a.settings.SocialShare = true;
    }
    const auto outBefore = TestFiles::filesBelow(a.outputFolder);
    const auto scratchBefore = TestFiles::filesBelow(a.scratch());
    a.run();
    QSet<QString> written;
    for (const auto& [before, folder] :
         {std::pair{outBefore, a.outputFolder}, std::pair{scratchBefore, a.scratch()}}) {
        const auto after = TestFiles::filesBelow(folder);
        for (auto it = after.begin(); it != after.end(); ++it)
            if (before.value(it.key()) != it.value())
                written << QDir::cleanPath(it.key());
    }
    QSet<QString> planned;
    for (const FileWorkStep& step : a.views.plannedSteps)
        if (step.kind == FileWorkStep::Kind::Copy || step.kind == FileWorkStep::Kind::Mirror)
            planned << QDir::cleanPath(step.target);
    QCOMPARE(written, planned);
}

void OutputAssemblyTest::emulator_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<bool>("copied");
    const int normal = int(StreamingMode::Normal), rtmp = int(StreamingMode::Rtmp),
              pseudo = int(StreamingMode::Pseudo);
    QTest::newRow("single without HTML5") << false << normal << false << true;
    QTest::newRow("single with HTML5") << false << normal << true << false;
    QTest::newRow("playlist without HTML5") << true << normal << false << true;
    QTest::newRow("playlist with HTML5") << true << normal << true << false;
    QTest::newRow("pseudo without HTML5") << false << pseudo << false << true;
    QTest::newRow("pseudo with HTML5") << false << pseudo << true << false;
    QTest::newRow("rtmp without HTML5") << false << rtmp << false << true;
}

// The emulator's files go with a page that has no HTML5 alternative, and only there; the scratch
// folder never gets them (the preview server answers for them from the installation).
void OutputAssemblyTest::emulator() {
    QFETCH(bool, playlist);
    QFETCH(int, mode);
    QFETCH(bool, html5);
    QFETCH(bool, copied);
    Assembly a;
    a.settings.Multiple = playlist;
    a.playlist.rows = {PlaylistEntry{"a.flv", "a.mp4", "", "A", "", ""}};
    a.snapshot.IsRtmp = mode == int(StreamingMode::Rtmp);
    a.snapshot.IsPseudo = mode == int(StreamingMode::Pseudo);
    a.snapshot.UseHtml5 = html5;
    // A file left by an earlier run is brought up to date.
    QDir().mkpath(a.outputFolder + "ruffle");
    put(a.outputFolder + "ruffle/ruffle.js", "an older emulator");
    a.run();
    const QString out = a.outputFolder + "ruffle/";
    if (copied) {
        QCOMPARE(filesIn(out), (QStringList{"core.wasm", "ruffle.js"}));
        QCOMPARE(TestFiles::readFile(out + "ruffle.js"),
                 TestFiles::readFile(a.install.path("app/ruffle/ruffle.js")));
        QCOMPARE(TestFiles::readFile(out + "core.wasm"), QByteArray("\0asm", 4));
    } else {
        QCOMPARE(filesIn(out), QStringList{"ruffle.js"});
        QCOMPARE(TestFiles::readFile(out + "ruffle.js"), QByteArray("an older emulator"));
    }
    QVERIFY(!QFileInfo::exists(a.scratch() + "ruffle"));
}

// Copying a file onto itself by opening it for writing would empty the installation's emulator.
void OutputAssemblyTest::emulatorOfAnOutputFolderThatIsTheInstallation() {
    Assembly a;
    a.outputFolder = a.appFolder + QDir::separator();
    const QByteArray script = TestFiles::readFile(a.install.path("app/ruffle/ruffle.js"));
    a.run();
    QCOMPARE(TestFiles::readFile(a.install.path("app/ruffle/ruffle.js")), script);
    QCOMPARE(TestFiles::readFile(a.install.path("app/ruffle/core.wasm")), QByteArray("\0asm", 4));
}

void OutputAssemblyTest::failures_data() {
    QTest::addColumn<QString>("missing");
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("injections");
    // Sources are all looked for before the first step; a missing target folder is found by the
    // step that writes into it.
    QTest::newRow("skin") << "app/swfs/Skin-30-dark.swf" << false << 53 << 0;
    QTest::newRow("SWFObject library") << "app/zevoswf.js" << false << 53 << 0;
    QTest::newRow("source video") << "videos/clip.flv" << false << 53 << 0;
    QTest::newRow("second playlist video") << "videos/a.flv" << true << 53 << 0;
    QTest::newRow("output folder") << "out" << false << 76 << 0;
    QTest::newRow("scratch folder") << "app/temp" << false << 76 << 1;
    QTest::newRow("emulator folder") << "app/ruffle" << false << 76 << 0;
    QTest::newRow("emulator script") << "app/ruffle/ruffle.js" << true << 53 << 0;
}

void OutputAssemblyTest::failures() {
    QFETCH(QString, missing);
    QFETCH(bool, playlist);
    QFETCH(int, error);
    QFETCH(int, injections);
    Assembly a;
    a.settings.Multiple = playlist;
    a.playlist.rows = {PlaylistEntry{"b.flv", "", "", "B", "", ""},
                       PlaylistEntry{"a.flv", "", "", "A", "", ""}};
    const QString path = a.install.path(missing);
    QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
    try {
        a.run();
        QFAIL("the assembly completed without its file");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), error);
    }
    QCOMPARE(a.views.log.size(), injections);
}

void OutputAssemblyTest::readOnlyOutputFolder() {
    Assembly a;
    const auto writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(a.outputFolder, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(a.outputFolder + "probe");
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        QFile::setPermissions(a.outputFolder, writable);
        QSKIP("folder permissions are not enforced for this user");
    }
    int error = 0;
    try {
        a.run();
    } catch (const AppError& e) {
        error = e.number();
    }
    QFile::setPermissions(a.outputFolder, writable);
    QCOMPARE(error, int(AppError::PermissionDenied));
    QCOMPARE(a.views.log.size(), 0);
}

void OutputAssemblyTest::programPathWithBlanksIsQuoted() {
    Assembly a;
    a.appFolder = a.install.path("Vidlark Streaming Video 14");
    QVERIFY(QDir().rename(a.install.path("app"), a.appFolder));
    a.run();
    const QString sep = QDir::separator();
    QCOMPARE(a.views.log, QStringList{"inject:\"" + a.appFolder + sep + "flvmdi\" /k /l \"" +
                                      a.outputFolder + "clip.flv\""});
    QVERIFY(a.views.log[0].contains(" Streaming Video 14" + sep + "flvmdi\" /k /l "));
}

void OutputAssemblyTest::commandLineKeepsPathsWhole_data() {
    QTest::addColumn<QString>("appFolder");
    QTest::addColumn<QString>("video");
    QTest::newRow("plain") << "/opt/vidlark"
                           << "/home/ann/site/clip.flv";
    QTest::newRow("blanks") << "/opt/Vidlark Streaming Video 14"
                            << "/home/ann/my site/a b.flv";
    QTest::newRow("quote at the end") << "/opt/vidlark"
                                      << "/home/ann/site/clip.flv\"";
    QTest::newRow("quotes inside") << "/opt/vid\"lark"
                                   << "/home/ann/x\" \"/etc/y\" \".flv";
    QTest::newRow("three quotes") << "/opt/vidlark"
                                  << "/home/ann/a\"\"\"b.flv";
}

// What the runner hands the injector is exactly the program, the two options and the one video.
void OutputAssemblyTest::commandLineKeepsPathsWhole() {
    QFETCH(QString, appFolder);
    QFETCH(QString, video);
    const QString line = OutputAssembly::injectionCommandLine(appFolder, video);
    QCOMPARE(QProcess::splitCommand(line),
             (QStringList{appFolder + QDir::separator() + "flvmdi", "/k", "/l", video}));
}

void OutputAssemblyTest::uploadInstructions() {
    Assembly a;
    a.outputFolder = "/home/ann/site/";
    a.settings.VideoPath = " http://media.example.com/clips/ ";
    a.snapshot.ServerPath = "http://www.example.com/videos/";
    a.snapshot.VideoPath = "http://media.example.com/clips/";
    COMPARE_GOLDEN(UploadInstructions::build(a.ctx()).toLatin1(),
                   "generate/upload_instructions.txt");
}

// The caption files go where the players look for them: beside the videos.
void OutputAssemblyTest::uploadInstructionsWithCaptions() {
    Assembly a;
    a.outputFolder = "/home/ann/site/";
    a.settings.VideoPath = "http://media.example.com/clips/";
    a.snapshot.ServerPath = "http://www.example.com/videos/";
    a.snapshot.VideoPath = "http://media.example.com/clips/";
    a.single.Captions = {{"/subs/a.vtt", "en", ""}};
    QCOMPARE(UploadInstructions::build(a.ctx()),
             "Vidlark output folder on your local PC:\r\n/home/ann/site/\r\n\r\n\r\n"
             "Upload Vidlark files to:\r\nhttp://www.example.com/videos/\r\n\r\n"
             "Upload video files and caption files (.vtt) to:\r\n"
             "http://media.example.com/clips/\r\n\r\n\r\n"
             "You can test the video player by playing onlinetest.html from your website");
}

void OutputAssemblyTest::uploadInstructionsWithoutVideoPath() {
    Assembly a;
    a.outputFolder = "/home/ann/site/";
    a.settings.VideoPath = "   ";
    a.snapshot.ServerPath = "http://www.example.com/videos/";
    QCOMPARE(UploadInstructions::build(a.ctx()),
             "Vidlark output folder on your local PC:\r\n/home/ann/site/\r\n\r\n\r\n"
             "Upload Vidlark files to:\r\nhttp://www.example.com/videos/\r\n\r\n\r\n\r\n\r\n"
             "You can test the video player by playing onlinetest.html from your website");
}

QTEST_GUILESS_MAIN(OutputAssemblyTest)
#include "tst_OutputAssembly.moc"
