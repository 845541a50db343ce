#include <QDir>
#include <QFile>
#include <QtTest>

#include "GenerationInputs.h"
#include "TestInstallation.h"
#include "generate/ScratchCopies.h"
#include "platform/TextFile.h"

// A run removes the video copies earlier runs left in the scratch folder, and nothing else: not
// the rendered pictures, the local test page or the thumbnails' folder, and never a video the
// user chose, wherever it lies.
class ScratchCopiesTest : public QObject {
    Q_OBJECT

  private slots:
    void removesOnlyEarlierCopies();
    void keepsWhatThePlaylistNames();
};

namespace {

struct Scratch {
    TestInstallation install;
    GenerationInputs in;
    QString scratch() const { return install.paths().scratch + '/'; }
    void put(const QStringList& names) const {
        for (const QString& name : names)
            TextFile::writeBytes(scratch() + name, "x");
    }
    QStringList left() const {
        return QDir(scratch()).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
    void run() {
        ScratchCopies::removeEarlier(
            in.context("Skin-30-dark", install.outputFolder(), install.paths()));
    }
};

}  // namespace

void ScratchCopiesTest::removesOnlyEarlierCopies() {
    Scratch s;
    s.put({"old.flv", "OLD.MP4", "old.webm", "old.f4v", "old.m4v", ".hidden.flv", "temp.jpg",
           "semp.jpg", "do-not-upload.html", "zevoconfigsv.xml", "clip.en.vtt", "mine.flv",
           "mine.mp4", "flv"});
    // A link to a video outside: the link goes, the video stays.
    const QString outside = s.install.path("kept.flv");
    TextFile::writeBytes(outside, "video");
    QVERIFY(QFile::link(outside, s.scratch() + "link.flv"));
    QVERIFY(QDir().mkpath(s.scratch() + "thumbs/pic1.flv"));
    // The user's chosen Flash file and Mp4 file (HTML5 off: the run does not read the Mp4).
    s.in.single.FlvVideoFilePath = s.scratch() + "mine.flv";
    s.in.single.Mp4VideoFilePath = s.scratch() + "mine.mp4";
    s.in.snapshot.UseHtml5 = false;
    s.run();
    QCOMPARE(s.left(),
             (QStringList{"clip.en.vtt", "do-not-upload.html", "flv", "mine.flv", "mine.mp4",
                          "semp.jpg", "temp.jpg", "thumbs", "zevoconfigsv.xml"}));
    QCOMPARE(TextFile::readBytes(outside), QByteArray("video"));
}

void ScratchCopiesTest::keepsWhatThePlaylistNames() {
    Scratch s;
    s.put({"a.flv", "a.mp4", "a.webm", "b.flv"});
    s.in.settings.Multiple = true;
    s.in.playlist.FLVVideoFilesPath = s.in.playlist.Mp4VideoFilesPath =
        s.in.playlist.WebMVideoFilesPath = s.scratch();
    s.in.playlist.rows = {PlaylistEntry{}};
    s.in.playlist.rows[0].FlashFile = "a.flv";
    s.in.playlist.rows[0].Mp4File = "a.mp4";
    s.in.playlist.rows[0].WebmFile = "a.webm";
    s.run();
    QCOMPARE(s.left(), (QStringList{"a.flv", "a.mp4", "a.webm", "thumbs"}));
}

QTEST_GUILESS_MAIN(ScratchCopiesTest)
#include "tst_ScratchCopies.moc"
