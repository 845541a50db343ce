#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "MediaTools.h"
#include "TestFiles.h"
#include "convert/Html5Copy.h"

// HTML5 copies of real clips that the ffmpeg tool makes here: what ffprobe reads of each copy,
// what a cancel or a bad source leaves behind, and that the source is never touched.
class Html5CopyTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();

    void makesMp4_data();
    void makesMp4();
    void remuxKeepsEveryPacket_data();
    void remuxKeepsEveryPacket();
    void remuxShowsFramesWhenFfmpegDoes_data();
    void remuxShowsFramesWhenFfmpegDoes();
    void everyFrameArrives_data();
    void everyFrameArrives();
    void unusableSoundConfiguration_data();
    void unusableSoundConfiguration();
    void makesWebm();
    void cancelLeavesNothing_data();
    void cancelLeavesNothing();
    void badSourceGivesMessageAndNoFile_data();
    void badSourceGivesMessageAndNoFile();
    void neverReplacesItsSource();
    void targetFolderMissing();

  private:
    QString clip(const QString& name) const { return m_clips.filePath(name); }
    QString target(const QString& name) const { return m_out->filePath(name); }
    // Every file of the output folder, hidden ones too.
    QStringList outputFiles() const {
        return QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir m_clips;
    std::unique_ptr<QTemporaryDir> m_out;
};

namespace {

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

// The clips, 1.5 seconds each at 15 frames a second, as Flash files of the last decade hold them.
const struct {
    const char* name;
    bool picture;
    const char* pictureSize;
    int soundRate;  // 0: no sound
    QStringList codecs;
} Recipes[] = {
    {"h263-mp3.flv", true, "160x120", 22050, {"-c:v", "flv1", "-c:a", "libmp3lame"}},
    {"h264-aac.flv",
     true,
     "160x96",
     44100,
     {"-c:v", "libx264", "-preset", "veryfast", "-bf", "2", "-x264-params", "b-adapt=0", "-pix_fmt",
      "yuv420p", "-c:a", "aac"}},
    // Odd dimensions: the copy must drop a column and a row to get 4:2:0.
    {"screen-adpcm.flv", true, "161x121", 22050, {"-c:v", "flashsv", "-c:a", "adpcm_swf"}},
    {"sound-only.flv", false, "", 44100, {"-c:a", "libmp3lame"}},
    {"picture-only.flv", true, "160x120", 0, {"-c:v", "flv1"}},
    {"h264-only.flv",
     true,
     "160x96",
     0,
     {"-c:v", "libx264", "-preset", "veryfast", "-bf", "2", "-x264-params", "b-adapt=0", "-pix_fmt",
      "yuv420p"}},
    {"aac-only.flv", false, "", 44100, {"-c:a", "aac"}},
    {"h264-mp3.flv",
     true,
     "160x96",
     22050,
     {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-c:a", "libmp3lame"}},
    {"h264-444.flv",
     true,
     "160x96",
     0,
     {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv444p"}},
    {"h264-10bit.flv",
     true,
     "160x96",
     0,
     {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p10le"}},
    {"mp4-in-flash-column.mp4",
     true,
     "160x120",
     44100,
     {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-c:a", "aac"}},
};

// The tags of an FLV as (offset, length) pairs, trailers included.
QList<std::pair<qsizetype, qsizetype>> flvTags(const QByteArray& flv) {
    QList<std::pair<qsizetype, qsizetype>> tags;
    for (qsizetype at = 13; at + 15 <= flv.size();) {
        const auto* p = reinterpret_cast<const uchar*>(flv.constData() + at);
        const qsizetype length = 11 + (p[1] << 16 | p[2] << 8 | p[3]) + 4;
        tags.append({at, length});
        at += length;
    }
    return tags;
}

bool isVideoSequenceHeader(const QByteArray& flv, qsizetype tag) {
    return flv[tag] == 9 && flv[tag + 12] == 0;
}

// The H.264 + AAC clip in ways our own remux leaves to FFmpeg.
QByteArray withSecondSequenceHeader(const QByteArray& flv) {
    const auto tags = flvTags(flv);
    for (const auto& [at, length] : tags) {
        if (isVideoSequenceHeader(flv, at)) {
            QByteArray copy = flv;
            const qsizetype middle = tags[tags.size() / 2].first;
            QByteArray header = flv.mid(at, length);
            header.replace(4, 4, flv.mid(middle + 4, 4));  // the time of the tag it goes before
            return copy.insert(middle, header);
        }
    }
    return {};
}

QByteArray withWrongTrailer(const QByteArray& flv) {
    const auto tags = flvTags(flv);
    const auto [at, length] = tags[tags.size() / 2];
    QByteArray copy = flv;
    copy[at + length - 1] = char(copy[at + length - 1] ^ 0x10);
    return copy;
}

// The H.264 + AAC clip with another AudioSpecificConfig in its AAC sequence header.
QByteArray withSoundConfiguration(const QByteArray& flv, const QByteArray& config) {
    QByteArray copy = flv;
    const auto tags = flvTags(flv);
    for (auto tag = tags.rbegin(); tag != tags.rend(); ++tag) {
        const auto [at, length] = *tag;
        if (flv[at] != 8 || flv[at + 12] != 0)
            continue;
        const qsizetype size = 2 + config.size();
        QByteArray header = flv.mid(at, 13);
        header[1] = char(size >> 16);
        header[2] = char(size >> 8);
        header[3] = char(size);
        const quint32 trailer = quint32(11 + size);
        header += config;
        for (int shift = 24; shift >= 0; shift -= 8)
            header += char(trailer >> shift);
        copy.replace(at, length, header);
    }
    return copy;
}

QString ffprobeField(const QString& path, const QString& stream, const QString& entry,
                     bool countFrames = false) {
    QStringList args{QStringLiteral("-v"),
                     QStringLiteral("error"),
                     QStringLiteral("-select_streams"),
                     stream,
                     QStringLiteral("-show_entries"),
                     entry,
                     QStringLiteral("-of"),
                     QStringLiteral("csv=p=0"),
                     path};
    if (countFrames)
        args.prepend(QStringLiteral("-count_frames"));
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"), args);
    probe.waitForFinished(120000);
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

// The frames a decoder gets from the first stream of that kind, as ffprobe counts them: a
// sample an edit list leaves out is not counted.
int decodedFrames(const QString& path, const QString& kind) {
    return ffprobeField(path, kind + QStringLiteral(":0"), QStringLiteral("stream=nb_read_frames"),
                        true)
        .toInt();
}

}  // namespace

void Html5CopyTest::initTestCase() {
    if (!MediaTools::available())
        QSKIP("ffmpeg and ffprobe are not installed");
    QVERIFY(m_clips.isValid());
    for (const auto& recipe : Recipes) {
        QStringList args;
        if (recipe.picture)
            args += MediaTools::testPicture(QString::fromLatin1(recipe.pictureSize), 1.5);
        if (recipe.soundRate)
            args += MediaTools::testSound(recipe.soundRate, 1.5);
        args += recipe.codecs;
        args << clip(QString::fromLatin1(recipe.name));
        const QString error = MediaTools::ffmpeg(args);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    // A picture is no video, whatever its name.
    const QString error =
        MediaTools::ffmpeg(MediaTools::testPicture(QStringLiteral("64x48"), 1) +
                           QStringList{QStringLiteral("-frames:v"), QStringLiteral("1"),
                                       clip(QStringLiteral("picture.png"))});
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // A download that stopped part way: the first 60 % of a Flash file.
    QFile whole(clip(QStringLiteral("h263-mp3.flv")));
    QFile cut(clip(QStringLiteral("truncated.flv")));
    QVERIFY(whole.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(whole.size() * 6 / 10));
    const QByteArray h264 = TestFiles::readFile(clip(QStringLiteral("h264-aac.flv")));
    const struct {
        const char* name;
        QByteArray bytes;
    } odd[] = {{"h264-cut.flv", h264.left(h264.size() * 6 / 10)},
               {"h264-second-header.flv", withSecondSequenceHeader(h264)},
               {"h264-wrong-trailer.flv", withWrongTrailer(h264)}};
    for (const auto& [name, bytes] : odd) {
        QFile file(clip(QString::fromLatin1(name)));
        QVERIFY(!bytes.isEmpty() && file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
}

void Html5CopyTest::init() {
    m_out = std::make_unique<QTemporaryDir>();
    QVERIFY(m_out->isValid());
}

void Html5CopyTest::makesMp4_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("width");  // 0: no picture
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<bool>("reencoded");
    QTest::addColumn<bool>("ownRemux");  // made by our own remux, not through FFmpeg

    QTest::newRow("Sorenson H.263 and MP3")
        << "h263-mp3.flv" << 160 << 120 << true << true << false;
    QTest::newRow("H.264 and AAC") << "h264-aac.flv" << 160 << 96 << true << false << true;
    QTest::newRow("H.264 only") << "h264-only.flv" << 160 << 96 << false << false << true;
    QTest::newRow("AAC only") << "aac-only.flv" << 0 << 0 << true << false << true;
    QTest::newRow("Screen Video, odd size")
        << "screen-adpcm.flv" << 160 << 120 << true << true << false;
    QTest::newRow("sound only") << "sound-only.flv" << 0 << 0 << true << true << false;
    QTest::newRow("picture only") << "picture-only.flv" << 160 << 120 << false << true << false;
    QTest::newRow("cut off") << "truncated.flv" << 160 << 120 << true << true << false;
    QTest::newRow("MP4 chosen as the Flash video")
        << "mp4-in-flash-column.mp4" << 160 << 120 << true << false << false;
    // H.264 FLVs our own remux leaves to FFmpeg.
    QTest::newRow("H.264 and MP3") << "h264-mp3.flv" << 160 << 96 << true << true << false;
    QTest::newRow("H.264 in 4:4:4") << "h264-444.flv" << 160 << 96 << false << true << false;
    QTest::newRow("H.264 cut off") << "h264-cut.flv" << 160 << 96 << true << false << false;
    QTest::newRow("H.264, second sequence header")
        << "h264-second-header.flv" << 160 << 96 << true << false << false;
    QTest::newRow("H.264, a damaged tag trailer")
        << "h264-wrong-trailer.flv" << 160 << 96 << true << false << false;
}

void Html5CopyTest::makesMp4() {
    QFETCH(QString, source);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, sound);
    QFETCH(bool, reencoded);
    QFETCH(bool, ownRemux);
    const QByteArray sourceBefore = fileHash(clip(source));
    QList<CopyProgress> reports;

    const Html5CopyResult result =
        Html5Copy::make(clip(source), target(QStringLiteral("copy.mp4")), Html5Format::Mp4,
                        [&reports](const CopyProgress& progress) {
                            reports.append(progress);
                            return true;
                        });

    QVERIFY2(result.made(), qPrintable(result.message));
    QCOMPARE(result.reencoded, reencoded);
    QCOMPARE(result.ownRemux, ownRemux);
    QCOMPARE(outputFiles(), QStringList{QStringLiteral("copy.mp4")});
    // It plays: every packet decodes.
    const QString decoding =
        MediaTools::ffmpeg({QStringLiteral("-i"), target(QStringLiteral("copy.mp4")),
                            QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
    QVERIFY2(decoding.isEmpty(), qPrintable(decoding));
    QCOMPARE(fileHash(clip(source)), sourceBefore);
    const MediaTools::Probe copy = MediaTools::probe(target(QStringLiteral("copy.mp4")));
    QCOMPARE(copy.videoCodec, width ? QStringLiteral("h264") : QString());
    QCOMPARE(copy.audioCodec, sound ? QStringLiteral("aac") : QString());
    if (width) {
        QCOMPARE(copy.pixelFormat, QStringLiteral("yuv420p"));
        QCOMPARE(copy.width, width);
        QCOMPARE(copy.height, height);
    }
    // A cut-off file still names its whole length; what it holds ends with its last packet.
    const double played =
        source.endsWith(QLatin1String("cut.flv")) || source == QLatin1String("truncated.flv")
            ? MediaTools::playedSeconds(clip(source))
            : MediaTools::probe(clip(source)).duration;
    QVERIFY2(played > 0.5 && std::abs(copy.duration - played) <= 0.1,
             qPrintable(QStringLiteral("copy %1 s, source %2 s").arg(copy.duration).arg(played)));
    // The index comes first, so a browser can start while the rest downloads.
    const QStringList boxes = MediaTools::topLevelBoxes(target(QStringLiteral("copy.mp4")));
    QVERIFY2(boxes.contains(QStringLiteral("moov")) &&
                 boxes.indexOf(QStringLiteral("moov")) < boxes.indexOf(QStringLiteral("mdat")),
             qPrintable(boxes.join(QLatin1Char(' '))));
    QVERIFY(!reports.isEmpty());
    QCOMPARE(reports.last().fraction, 1.0);
    QCOMPARE(reports.last().secondsLeft, std::optional<double>(0.0));
    for (qsizetype i = 1; i < reports.size(); ++i)
        QVERIFY(reports[i].fraction >= reports[i - 1].fraction);
}

void Html5CopyTest::remuxKeepsEveryPacket_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("kinds");  // ffprobe's stream kinds the clip holds

    QTest::newRow("H.264 and AAC") << "h264-aac.flv" << QStringList{"v", "a"};
    QTest::newRow("H.264 only") << "h264-only.flv" << QStringList{"v"};
    QTest::newRow("AAC only") << "aac-only.flv" << QStringList{"a"};
    QTest::newRow("through FFmpeg") << "h264-wrong-trailer.flv" << QStringList{"v", "a"};
}

void Html5CopyTest::remuxKeepsEveryPacket() {
    QFETCH(QString, source);
    QFETCH(QStringList, kinds);
    QVERIFY(
        Html5Copy::make(clip(source), target(QStringLiteral("copy.mp4")), Html5Format::Mp4).made());

    for (const QString& kind : kinds) {
        const QStringList before = MediaTools::packetHashes(clip(source), kind);
        QVERIFY(before.size() > 10);
        QCOMPARE(MediaTools::packetHashes(target(QStringLiteral("copy.mp4")), kind), before);
    }
}

void Html5CopyTest::remuxShowsFramesWhenFfmpegDoes_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<bool>("reordered");  // B-frames: shown in another order than stored

    QTest::newRow("H.264 with B-frames and AAC") << "h264-aac.flv" << QStringList{"v", "a"} << true;
    QTest::newRow("H.264 only") << "h264-only.flv" << QStringList{"v"} << true;
    QTest::newRow("AAC only") << "aac-only.flv" << QStringList{"a"} << false;
}

// The presentation time of every packet, as ffprobe reads it, matches FFmpeg's own remux of the
// same FLV on the FLV's clock (-copyts, as the FFmpeg path of the program keeps it): the
// composition offsets and edit lists put each frame where FFmpeg puts it.
void Html5CopyTest::remuxShowsFramesWhenFfmpegDoes() {
    QFETCH(QString, source);
    QFETCH(QStringList, kinds);
    QFETCH(bool, reordered);
    const QString ours = target(QStringLiteral("ours.mp4"));
    const QString theirs = target(QStringLiteral("ffmpeg.mp4"));
    const Html5CopyResult result = Html5Copy::make(clip(source), ours, Html5Format::Mp4);
    QVERIFY(result.made() && result.ownRemux);
    const QString error =
        MediaTools::ffmpeg({QStringLiteral("-copyts"), QStringLiteral("-i"), clip(source),
                            QStringLiteral("-c"), QStringLiteral("copy"),
                            QStringLiteral("-movflags"), QStringLiteral("+faststart"), theirs});
    QVERIFY2(error.isEmpty(), qPrintable(error));

    for (const QString& kind : kinds) {
        const QList<double> expected = MediaTools::packetTimes(theirs, kind);
        const QList<double> got = MediaTools::packetTimes(ours, kind);
        QVERIFY(expected.size() > 10);
        QCOMPARE(got.size(), expected.size());
        // Sound frames are placed by their exact length, FFmpeg keeps the FLV's milliseconds.
        const double tolerance = kind == QLatin1String("a") ? 0.0011 : 0.0001;
        bool outOfOrder = false;
        for (qsizetype i = 0; i < got.size(); ++i) {
            QVERIFY2(std::abs(got[i] - expected[i]) <= tolerance,
                     qPrintable(QStringLiteral("%1 packet %2: %3 s, FFmpeg %4 s")
                                    .arg(kind)
                                    .arg(i)
                                    .arg(got[i])
                                    .arg(expected[i])));
            outOfOrder = outOfOrder || (i > 0 && got[i] < got[i - 1]);
        }
        if (kind == QLatin1String("v"))
            QCOMPARE(outOfOrder, reordered);
    }
}

void Html5CopyTest::everyFrameArrives_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("ownRemux");
    QTest::addColumn<bool>("soundCopied");  // AAC packets taken as they are

    QTest::newRow("Sorenson H.263") << "h263-mp3.flv" << false << false;
    QTest::newRow("Screen Video") << "screen-adpcm.flv" << false << false;
    QTest::newRow("H.264 in 4:4:4") << "h264-444.flv" << false << false;
    QTest::newRow("H.264 in 10 bits") << "h264-10bit.flv" << false << false;
    QTest::newRow("H.264 and AAC, our remux") << "h264-aac.flv" << true << true;
    QTest::newRow("H.264 copied, MP3 encoded") << "h264-mp3.flv" << false << false;
    QTest::newRow("H.264 and AAC copied by FFmpeg") << "h264-wrong-trailer.flv" << false << true;
}

// A player shows every frame of the source: the last sample lies inside the track's edit list
// and lasts as long as a frame, not nothing.
void Html5CopyTest::everyFrameArrives() {
    QFETCH(QString, source);
    QFETCH(bool, ownRemux);
    QFETCH(bool, soundCopied);
    const QString copy = target(QStringLiteral("copy.mp4"));

    const Html5CopyResult result = Html5Copy::make(clip(source), copy, Html5Format::Mp4);

    QVERIFY2(result.made(), qPrintable(result.message));
    QCOMPARE(result.ownRemux, ownRemux);
    const int frames = decodedFrames(clip(source), QStringLiteral("v"));
    QVERIFY(frames > 10);
    QCOMPARE(decodedFrames(copy, QStringLiteral("v")), frames);
    if (soundCopied)
        QCOMPARE(decodedFrames(copy, QStringLiteral("a")),
                 decodedFrames(clip(source), QStringLiteral("a")));
    const QList<double> shown = MediaTools::packetTimes(copy, QStringLiteral("v"));
    QVERIFY(!shown.isEmpty());
    const double lastFrame = *std::max_element(shown.begin(), shown.end());
    const double end =
        ffprobeField(copy, QStringLiteral("v:0"), QStringLiteral("stream=duration")).toDouble() +
        ffprobeField(copy, QStringLiteral("v:0"), QStringLiteral("stream=start_time")).toDouble();
    // The clips run at 15 frames a second: the last one lasts about 67 ms.
    QVERIFY2(end >= lastFrame + 0.05,
             qPrintable(
                 QStringLiteral("track ends at %1 s, last frame at %2 s").arg(end).arg(lastFrame)));
}

void Html5CopyTest::unusableSoundConfiguration_data() {
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<bool>("playable");  // false: no decoder makes sound of it, so it is refused

    QTest::newRow("object type 0") << QByteArray::fromHex("0210") << false;
    QTest::newRow("reserved rate index 13") << QByteArray::fromHex("1690") << false;
    QTest::newRow("reserved rate index 14") << QByteArray::fromHex("1710") << false;
    QTest::newRow("no channels, no program config") << QByteArray::fromHex("1200") << false;
    QTest::newRow("one byte") << QByteArray::fromHex("12") << false;
    QTest::newRow("escaped object type, garbage")
        << QByteArray::fromHex("f8ffffffffffffffff") << false;
    // Opens a decoder, but contradicts the frames: 88.2 kHz tables for 44.1 kHz frames.
    QTest::newRow("rate the frames do not have") << QByteArray::fromHex("1090") << false;
    QTest::newRow("HE-AAC over plain frames") << QByteArray::fromHex("2b920800") << false;
    QTest::newRow("plain, then garbage") << QByteArray::fromHex("1210deadbeefcafe") << true;
    QTest::newRow("plain, one byte more") << QByteArray::fromHex("1210ff") << true;
    // FFmpeg guesses from the tag's flags; the copy must carry a configuration of its own.
    QTest::newRow("none at all") << QByteArray("") << true;
}

void Html5CopyTest::unusableSoundConfiguration() {
    QFETCH(QByteArray, config);
    QFETCH(bool, playable);
    const QString source = m_clips.filePath(QStringLiteral("odd sound.flv"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        withSoundConfiguration(TestFiles::readFile(clip(QStringLiteral("h264-aac.flv"))), config));
    file.close();
    const QString copy = target(QStringLiteral("copy.mp4"));

    const Html5CopyResult result = Html5Copy::make(source, copy, Html5Format::Mp4);

    if (!playable) {
        QCOMPARE(result.outcome, Html5CopyResult::Outcome::Failed);
        QVERIFY2(result.message.contains(QStringLiteral("CANNOT DECODE THE SOUND OF ") + source),
                 qPrintable(result.message));
        QCOMPARE(outputFiles(), QStringList());
        return;
    }
    QVERIFY2(result.made(), qPrintable(result.message));
    const QString decoding = MediaTools::ffmpeg({QStringLiteral("-i"), copy, QStringLiteral("-f"),
                                                 QStringLiteral("null"), QStringLiteral("-")});
    QVERIFY2(decoding.isEmpty(), qPrintable(decoding));
    QVERIFY(decodedFrames(copy, QStringLiteral("a")) > 50);
    QVERIFY(ffprobeField(copy, QStringLiteral("a:0"), QStringLiteral("stream=extradata_size"))
                .toInt() >= 2);
}

void Html5CopyTest::makesWebm() {
    const Html5CopyResult result =
        Html5Copy::make(clip(QStringLiteral("h263-mp3.flv")), target(QStringLiteral("copy.webm")),
                        Html5Format::WebM);

    QVERIFY2(result.made(), qPrintable(result.message));
    const MediaTools::Probe copy = MediaTools::probe(target(QStringLiteral("copy.webm")));
    QCOMPARE(copy.videoCodec, QStringLiteral("vp9"));
    QCOMPARE(copy.audioCodec, QStringLiteral("opus"));
    QCOMPARE(copy.pixelFormat, QStringLiteral("yuv420p"));
    QCOMPARE(copy.width, 160);
    QCOMPARE(copy.height, 120);
    const double source = MediaTools::probe(clip(QStringLiteral("h263-mp3.flv"))).duration;
    QVERIFY2(std::abs(copy.duration - source) <= 0.1,
             qPrintable(QStringLiteral("copy %1 s, source %2 s").arg(copy.duration).arg(source)));
}

void Html5CopyTest::cancelLeavesNothing_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("targetExists");

    QTest::newRow("new copy, encoded") << "h263-mp3.flv" << false;
    QTest::newRow("new copy, remuxed") << "h264-aac.flv" << false;
    QTest::newRow("over an older copy") << "h263-mp3.flv" << true;
}

void Html5CopyTest::cancelLeavesNothing() {
    QFETCH(QString, source);
    QFETCH(bool, targetExists);
    const QString copy = target(QStringLiteral("copy.mp4"));
    if (targetExists) {
        QFile older(copy);
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("the copy of last week");
    }
    const QByteArray sourceBefore = fileHash(clip(source));
    double cancelledAt = -1;

    const Html5CopyResult result = Html5Copy::make(clip(source), copy, Html5Format::Mp4,
                                                   [&cancelledAt](const CopyProgress& progress) {
                                                       if (progress.fraction < 0.3)
                                                           return true;
                                                       cancelledAt = progress.fraction;
                                                       return false;
                                                   });

    QCOMPARE(result.outcome, Html5CopyResult::Outcome::Cancelled);
    QVERIFY2(cancelledAt >= 0.3 && cancelledAt < 0.9, qPrintable(QString::number(cancelledAt)));
    QCOMPARE(fileHash(clip(source)), sourceBefore);
    if (targetExists) {
        QCOMPARE(outputFiles(), QStringList{QStringLiteral("copy.mp4")});
        QCOMPARE(TestFiles::readFile(copy), QByteArray("the copy of last week"));
    } else {
        QCOMPARE(outputFiles(), QStringList());
    }
}

void Html5CopyTest::badSourceGivesMessageAndNoFile_data() {
    QTest::addColumn<QByteArray>("content");  // the source's bytes; empty: no file at all
    QTest::addColumn<QString>("reason");      // in the message, after the file's name

    QTest::newRow("text") << QByteArray("<html>not a video</html>\n") << "Invalid data";
    QTest::newRow("Flash header only")
        << QByteArray("FLV\x01\x05\x00\x00\x00\x09\x00\x00\x00\x00", 13) << "Invalid data";
    QTest::newRow("picture") << TestFiles::readFile(clip(QStringLiteral("picture.png")))
                             << "not a Flash or MP4 video";
    QTest::newRow("empty") << QByteArray("", 0) << "";
    QTest::newRow("missing") << QByteArray() << "No such file";
}

void Html5CopyTest::badSourceGivesMessageAndNoFile() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString source = m_clips.filePath(QStringLiteral("bad source.flv"));
    QFile::remove(source);
    if (!content.isNull()) {
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    const Html5CopyResult result =
        Html5Copy::make(source, target(QStringLiteral("copy.mp4")), Html5Format::Mp4);

    QCOMPARE(result.outcome, Html5CopyResult::Outcome::Failed);
    QVERIFY2(result.message.contains(source) && result.message.contains(reason),
             qPrintable(result.message));
    QCOMPARE(outputFiles(), QStringList());
}

void Html5CopyTest::neverReplacesItsSource() {
    const QString source = target(QStringLiteral("clip.mp4"));
    QVERIFY(QFile::copy(clip(QStringLiteral("mp4-in-flash-column.mp4")), source));
    const QByteArray before = fileHash(source);

    const Html5CopyResult result = Html5Copy::make(source, source, Html5Format::Mp4);

    QCOMPARE(result.outcome, Html5CopyResult::Outcome::Failed);
    QVERIFY2(result.message.contains(source), qPrintable(result.message));
    QCOMPARE(fileHash(source), before);
    QCOMPARE(outputFiles(), QStringList{QStringLiteral("clip.mp4")});
}

void Html5CopyTest::targetFolderMissing() {
    const QString copy = target(QStringLiteral("gone/copy.mp4"));

    const Html5CopyResult result =
        Html5Copy::make(clip(QStringLiteral("h263-mp3.flv")), copy, Html5Format::Mp4);

    QCOMPARE(result.outcome, Html5CopyResult::Outcome::Failed);
    QVERIFY2(result.message.contains(copy), qPrintable(result.message));
}

QTEST_GUILESS_MAIN(Html5CopyTest)
#include "tst_Html5Copy.moc"
