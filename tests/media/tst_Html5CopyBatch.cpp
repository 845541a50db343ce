#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "FakeDialogs.h"
#include "MediaTools.h"
#include "TestFiles.h"
#include "media/Html5CopyBatch.h"
#include "media/Html5CopyTargets.h"
#include "media/Playlist.h"
#include "media/SingleVideo.h"

// Where a selection's HTML5 copies go, and the batch that makes them: the question before an
// existing copy is replaced, what a failure or a cancel leaves, and what the selection gets.
class Html5CopyBatchTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();

    void copyNames_data();
    void copyNames();
    void singleVideoCopyGoesBesideTheFlashFile();
    void playlistRowsWithoutMp4_data();
    void playlistRowsWithoutMp4();

    void existingCopies_data();
    void existingCopies();
    void failureDoesNotStopTheOthers();
    void cancelKeepsWhatWasMade();

  private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void writeFile(const QString& name, const QByteArray& content) const {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir m_clips;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void Html5CopyBatchTest::initTestCase() {
    if (!MediaTools::available())
        QSKIP("ffmpeg and ffprobe are not installed");
    const QString error = MediaTools::ffmpeg(
        MediaTools::testPicture(QStringLiteral("96x64"), 1) + MediaTools::testSound(22050, 1) +
        QStringList{QStringLiteral("-c:v"), QStringLiteral("flv1"), QStringLiteral("-c:a"),
                    QStringLiteral("libmp3lame"), m_clips.filePath(QStringLiteral("clip.flv"))});
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void Html5CopyBatchTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QFile::copy(m_clips.filePath(QStringLiteral("clip.flv")), path("a.flv")));
    QVERIFY(QFile::copy(m_clips.filePath(QStringLiteral("clip.flv")), path("b.flv")));
}

void Html5CopyBatchTest::copyNames_data() {
    QTest::addColumn<QString>("flash");
    QTest::addColumn<QString>("mp4");
    QTest::addColumn<QString>("webm");

    QTest::newRow("flv") << "clip.flv"
                         << "clip.mp4"
                         << "clip.webm";
    QTest::newRow("dots in the name") << "talk.v2.flv"
                                      << "talk.v2.mp4"
                                      << "talk.v2.webm";
    QTest::newRow("no extension") << "clip"
                                  << "clip.mp4"
                                  << "clip.webm";
    QTest::newRow("hidden file") << ".clip"
                                 << ".clip.mp4"
                                 << ".clip.webm";
    QTest::newRow("already an MP4") << "clip.mp4"
                                    << "clip.mp4"
                                    << "clip.webm";
    QTest::newRow("capital extension") << "CLIP.FLV"
                                       << "CLIP.mp4"
                                       << "CLIP.webm";
}

void Html5CopyBatchTest::copyNames() {
    QFETCH(QString, flash);
    QFETCH(QString, mp4);
    QFETCH(QString, webm);

    QCOMPARE(Html5CopyTargets::copyName(flash, Html5Format::Mp4), mp4);
    QCOMPARE(Html5CopyTargets::copyName(flash, Html5Format::WebM), webm);
}

void Html5CopyBatchTest::singleVideoCopyGoesBesideTheFlashFile() {
    SingleVideo video;
    QVERIFY(Html5CopyTargets::forSingleVideo(video, Html5Format::Mp4).isEmpty());
    video.FlvVideoFilePath = QStringLiteral("/v/talk.flv");
    video.FlvVideoFileName = QStringLiteral("talk.flv");
    video.FlvVideoFilePathOnly = QStringLiteral("/v/");

    const QList<Html5CopyJob> jobs = Html5CopyTargets::forSingleVideo(video, Html5Format::Mp4);

    QCOMPARE(jobs.size(), 1);
    QCOMPARE(jobs[0].source, QStringLiteral("/v/talk.flv"));
    QCOMPARE(jobs[0].target, QStringLiteral("/v/talk.mp4"));
}

void Html5CopyBatchTest::playlistRowsWithoutMp4_data() {
    QTest::addColumn<QString>("mp4Folder");
    QTest::addColumn<QStringList>("targets");  // row:target

    // Rows: a.flv with an Mp4 file, b.flv without, an empty row, c.flv without.
    QTest::newRow("no Mp4 folder yet: beside the Flash files")
        << "" << QStringList{"1:/flv/b.mp4", "3:/flv/c.mp4"};
    QTest::newRow("the Mp4 column's folder")
        << "/mp4/" << QStringList{"1:/mp4/b.mp4", "3:/mp4/c.mp4"};
    QTest::newRow("the Mp4 column's folder without its separator")
        << "/mp4" << QStringList{"1:/mp4/b.mp4", "3:/mp4/c.mp4"};
}

void Html5CopyBatchTest::playlistRowsWithoutMp4() {
    QFETCH(QString, mp4Folder);
    QFETCH(QStringList, targets);
    Playlist playlist;
    playlist.rows = {{"a.flv", "a.mp4", "", "A", "", ""},
                     {"b.flv", "", "b.webm", "B", "", ""},
                     {"", "", "", "", "", ""},
                     {"c.flv", "", "", "C", "", ""}};
    playlist.FLVVideoFilesPath = QStringLiteral("/flv/");
    playlist.Mp4VideoFilesPath = mp4Folder;

    QStringList planned;
    for (const Html5CopyJob& job :
         Html5CopyTargets::missingInPlaylist(playlist, Html5Format::Mp4)) {
        QCOMPARE(job.source, QStringLiteral("/flv/") + playlist.rows[job.row].FlashFile);
        planned.append(QString::number(job.row) + QLatin1Char(':') + job.target);
    }

    QCOMPARE(planned, targets);
}

void Html5CopyBatchTest::existingCopies_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("replace");  // the answer to the question, if one is asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("made");  // false: the old file is kept and used

    QTest::newRow("no copy yet") << false << false << false << true;
    QTest::newRow("replace the old copy") << true << true << true << true;
    QTest::newRow("keep and use the old copy") << true << false << true << false;
}

void Html5CopyBatchTest::existingCopies() {
    QFETCH(bool, exists);
    QFETCH(bool, replace);
    QFETCH(bool, asked);
    QFETCH(bool, made);
    if (exists)
        writeFile(QStringLiteral("a.mp4"), "an older copy");
    FakeDialogs dialogs;
    dialogs.answers.enqueue(replace ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    Html5CopyBatch batch({{path("a.flv"), path("a.mp4"), 0}}, Html5Format::Mp4);

    batch.confirmReplacements(dialogs);
    batch.run({});

    QCOMPARE(dialogs.messages.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
        QVERIFY2(dialogs.messages[0].text.contains(path("a.mp4")), qPrintable(dialogs.texts()[0]));
    }
    QCOMPARE(batch.ready().size(), 1);
    QCOMPARE(batch.ready()[0].target, path("a.mp4"));
    QCOMPARE(batch.failures(), QStringList());
    QCOMPARE(MediaTools::probe(path("a.mp4")).videoCodec,
             made ? QStringLiteral("h264") : QString());
    if (!made)
        QCOMPARE(TestFiles::readFile(path("a.mp4")), QByteArray("an older copy"));
}

void Html5CopyBatchTest::failureDoesNotStopTheOthers() {
    writeFile(QStringLiteral("bad.flv"), "not a video");
    FakeDialogs dialogs;
    Html5CopyBatch batch({{path("bad.flv"), path("bad.mp4"), 0},
                          {path("a.flv"), path("a.mp4"), 1},
                          // An MP4 chosen as the Flash video is its own copy.
                          {path("a.mp4"), path("a.mp4"), 2}},
                         Html5Format::Mp4);
    QList<double> fractions;

    batch.confirmReplacements(dialogs);
    batch.run([&fractions](const CopyProgress& progress) {
        fractions.append(progress.fraction);
        return true;
    });
    batch.reportFailures(dialogs);

    QCOMPARE(batch.ready().size(), 2);
    QCOMPARE(batch.ready()[0].row, 1);
    QCOMPARE(batch.ready()[1].row, 2);
    QCOMPARE(batch.failures().size(), 1);
    QVERIFY(batch.failures()[0].contains(path("bad.flv")));
    QCOMPARE(dialogs.texts(), batch.failures());
    QVERIFY(!QFile::exists(path("bad.mp4")));
    QCOMPARE(MediaTools::probe(path("a.mp4")).videoCodec, QStringLiteral("h264"));
    QVERIFY(!fractions.isEmpty());
    QCOMPARE(fractions.last(), 1.0);
    QVERIFY(std::is_sorted(fractions.begin(), fractions.end()));
}

void Html5CopyBatchTest::cancelKeepsWhatWasMade() {
    FakeDialogs dialogs;
    Html5CopyBatch batch({{path("a.flv"), path("a.mp4"), 0}, {path("b.flv"), path("b.mp4"), 1}},
                         Html5Format::Mp4);

    batch.confirmReplacements(dialogs);
    // Both sources are the same size, so the second copy runs from one half to the whole.
    batch.run([](const CopyProgress& progress) { return progress.fraction < 0.7; });

    QVERIFY(batch.cancelled());
    QCOMPARE(batch.ready().size(), 1);
    QCOMPARE(batch.ready()[0].row, 0);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{"a.flv", "a.mp4", "b.flv"}));
}

QTEST_GUILESS_MAIN(Html5CopyBatchTest)
#include "tst_Html5CopyBatch.moc"
