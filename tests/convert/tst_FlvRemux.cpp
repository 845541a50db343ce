#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "RemuxClip.h"
#include "TestFiles.h"
#include "convert/FlvRemux.h"
#include "convert/FlvRemuxScan.h"
#include "convert/ProgressMeter.h"
#include "flv/ByteSource.h"

// Our own remux end to end on FLVs assembled tag by tag: the body is copied while the index is
// planned, behind room guessed from the file's first tags, and every sample of the MP4 must still
// be the FLV's payload, byte for byte, whether the index fitted that room or the file was laid
// out again.
class FlvRemuxTest : public QObject {
    Q_OBJECT

  private slots:
    void samplesAreThePayloads_data();
    void samplesAreThePayloads();
    void notOursToCopy();
};

namespace {

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

uint32_t be32(const QByteArray& bytes, qsizetype at) {
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

struct Box {
    QByteArray type;
    qsizetype at = 0;  // of its header
    qsizetype size = 0;
};

// The boxes of one level, each with its place; stops at anything that does not nest.
QList<Box> boxesIn(const QByteArray& bytes, qsizetype from, qsizetype to) {
    QList<Box> boxes;
    while (from + 8 <= to) {
        const qsizetype size = be32(bytes, from);
        if (size < 8 || from + size > to)
            break;
        boxes << Box{bytes.mid(from + 4, 4), from, size};
        from += size;
    }
    return boxes;
}

// The body of the first box of `type` among `boxes`; null when there is none.
QByteArray bodyOf(const QByteArray& bytes, const QList<Box>& boxes, const QByteArray& type) {
    for (const Box& box : boxes)
        if (box.type == type)
            return bytes.mid(box.at + 8, box.size - 8);
    return {};
}

QByteArray find(const QByteArray& within, const QStringList& path) {
    QByteArray bytes = within;
    for (const QString& type : path)
        bytes = bodyOf(bytes, boxesIn(bytes, 0, bytes.size()), type.toLatin1());
    return bytes;
}

// Where each sample of the track lies in the MP4: one sample per chunk.
QList<std::pair<qsizetype, qsizetype>> samplesOf(const QByteArray& trak) {
    const QByteArray stbl = find(trak, {"mdia", "minf", "stbl"});
    const QByteArray stco = find(stbl, {"stco"});
    const QByteArray stsz = find(stbl, {"stsz"});
    QList<std::pair<qsizetype, qsizetype>> samples;
    const uint32_t same = be32(stsz, 4);
    for (uint32_t i = 0; i < be32(stco, 4); ++i)
        samples << std::pair{qsizetype(be32(stco, 8 + 4 * i)),
                             qsizetype(same ? same : be32(stsz, 12 + 4 * i))};
    return samples;
}

// A clip of `frames` pictures every 40 ms and sound every 23 ms, whose first `bigFrames`
// pictures are `bigSize` bytes each.
QByteArray clip(bool video, bool audio, int frames, int bigFrames = 0, size_t bigSize = 0) {
    Clip c;
    if (video)
        c.avcHeader();
    if (audio)
        c.aacHeader();
    for (int i = 0; i < frames; ++i) {
        if (video)
            c.frame(uint32_t(i * 40), i % 25 == 0, i % 3 == 1 ? 80 : 0,
                    i < bigFrames ? bigSize : 30 + size_t(i % 7));
        if (audio)
            c.aac(uint32_t(i * 23), 20 + size_t(i % 5));
    }
    return c.bytes();
}

}  // namespace

void FlvRemuxTest::samplesAreThePayloads_data() {
    QTest::addColumn<QByteArray>("flv");
    QTest::addColumn<bool>("laidOutAgain");
    QTest::newRow("picture and sound") << clip(true, true, 3000) << false;
    QTest::newRow("picture only") << clip(true, false, 3000) << false;
    QTest::newRow("sound only") << clip(false, true, 3000) << false;
    // The first 256 KiB hold a few large pictures, the rest thousands of small samples: the room
    // guessed from the start is far too small for the index.
    QTest::newRow("denser than its start") << clip(true, true, 6000, 8, 40000) << true;
}

void FlvRemuxTest::samplesAreThePayloads() {
    QFETCH(QByteArray, flv);
    QFETCH(bool, laidOutAgain);
    QTemporaryDir dir;
    put(dir.filePath("v.flv"), flv);
    ProgressMeter meter([](const CopyProgress&) { return true; });

    QCOMPARE(FlvRemux::make(dir.filePath("v.flv"), dir.filePath("v.mp4"), meter),
             FlvRemux::Outcome::Made);

    const QByteArray mp4 = TestFiles::readFile(dir.filePath("v.mp4"));
    const QList<Box> top = boxesIn(mp4, 0, mp4.size());
    QStringList types;
    for (const Box& box : top)
        types << QString::fromLatin1(box.type);
    QCOMPARE(types, (QStringList{"ftyp", "moov", "free", "mdat"}));
    QCOMPARE(top.last().at + top.last().size, mp4.size());
    // Laid out in order, the free box only keeps the body's place within a 4 KiB block.
    QCOMPARE(top[2].size < 4096 + 8, laidOutAgain);

    flvmdi::MemorySource source(
        {reinterpret_cast<const uint8_t*>(flv.constData()), size_t(flv.size())});
    const std::optional<RemuxPlan> plan = FlvRemuxScan::plan(source);
    QVERIFY(plan);
    const QByteArray moov = bodyOf(mp4, top, "moov");
    const QList<Box> traks = boxesIn(moov, 0, moov.size());
    int track = 0;
    for (const RemuxTrack* planned : plan->tracks()) {
        while (track < traks.size() && traks[track].type != "trak")
            ++track;
        QVERIFY(track < traks.size());
        const auto samples = samplesOf(moov.mid(traks[track].at + 8, traks[track].size - 8));
        ++track;
        QCOMPARE(samples.size(), qsizetype(planned->samples.size()));
        for (qsizetype i = 0; i < samples.size(); ++i) {
            const RemuxSample& want = planned->samples[size_t(i)];
            QCOMPARE(samples[i].second, qsizetype(want.size));
            QCOMPARE(mp4.mid(samples[i].first, samples[i].second),
                     flv.mid(qsizetype(want.offset), qsizetype(want.size)));
        }
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"v.flv", "v.mp4"}));
}

void FlvRemuxTest::notOursToCopy() {
    Clip c;
    c.plain();
    QByteArray flv = c.bytes();
    flv[13 + 11] = char(0x12);  // the picture's codec: Sorenson H.263, FFmpeg's to convert
    QTemporaryDir dir;
    put(dir.filePath("v.flv"), flv);
    ProgressMeter meter([](const CopyProgress&) { return true; });
    QCOMPARE(FlvRemux::make(dir.filePath("v.flv"), dir.filePath("v.mp4"), meter),
             FlvRemux::Outcome::NotPossible);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"v.flv"});
}

QTEST_GUILESS_MAIN(FlvRemuxTest)
#include "tst_FlvRemux.moc"
