#include <QtEndian>
#include <QtTest>

#include "convert/Mp4Index.h"
#include "convert/RemuxPlan.h"

// The index our own remux writes before the copied FLV bytes, read back box by box: where the
// chunk offsets point, when they need 64 bits, the alignment of the copied bytes, and the edit
// lists that put each track's first picture or sound at its time.
class Mp4IndexTest : public QObject {
    Q_OBJECT

  private slots:
    void offsetsPointAtThePayloads_data();
    void offsetsPointAtThePayloads();
    void editListsWhereNeeded_data();
    void editListsWhereNeeded();
    void sampleTables();
    void roomForTheIndex_data();
    void roomForTheIndex();
};

namespace {

constexpr uint64_t GiB = uint64_t(1) << 30;

uint32_t be32(const QByteArray& bytes, qsizetype at) {
    return qFromBigEndian<quint32>(bytes.constData() + at);
}
uint64_t be64(const QByteArray& bytes, qsizetype at) {
    return qFromBigEndian<quint64>(bytes.constData() + at);
}

// The body of the box at `path` ("moov/trak#2/mdia"), found by walking the boxes; null when there
// is none.
QByteArray box(const QByteArray& bytes, const QString& path) {
    QByteArray within = bytes;
    for (const QString& step : path.split(QLatin1Char('/'))) {
        const QStringList parts = step.split(QLatin1Char('#'));
        int wanted = parts.size() > 1 ? parts[1].toInt() : 1;
        QByteArray found;
        for (qsizetype at = 0; at + 8 <= within.size();) {
            const qsizetype size = be32(within, at);
            if (size < 8 || at + size > within.size())
                break;
            if (within.mid(at + 4, 4) == parts[0].toLatin1() && --wanted == 0) {
                found = within.mid(at + 8, size - 8);
                break;
            }
            at += size;
        }
        if (found.isNull())
            return {};
        within = found;
    }
    return within;
}

RemuxTrack videoTrack(std::vector<RemuxSample> samples) {
    RemuxTrack track;
    track.kind = RemuxTrack::Kind::Video;
    track.timescale = 16000;
    track.width = 320;
    track.height = 240;
    track.configuration = {1, 0x42, 0xC0, 0x1E, 0xFF, 0xE1, 0, 0, 0xE0};
    track.samples = std::move(samples);
    return track;
}

RemuxTrack audioTrack(std::vector<RemuxSample> samples) {
    RemuxTrack track;
    track.kind = RemuxTrack::Kind::Audio;
    track.timescale = 44100;
    track.sampleRate = 44100;
    track.channels = 2;
    track.configuration = {0x12, 0x10};
    track.samples = std::move(samples);
    return track;
}

QByteArray headOf(const RemuxPlan& plan) {
    const std::vector<uint8_t> head = Mp4Index::head(plan);
    return QByteArray(reinterpret_cast<const char*>(head.data()), qsizetype(head.size()));
}

}  // namespace

void Mp4IndexTest::offsetsPointAtThePayloads_data() {
    QTest::addColumn<quint64>("copyStart");
    QTest::addColumn<quint64>("copyLength");
    QTest::addColumn<QByteArray>("offsetBox");
    QTest::addColumn<bool>("largeMdat");

    QTest::newRow("small file") << quint64(437) << quint64(30000) << QByteArray("stco") << false;
    // Where the copy starts in the FLV does not matter, only how far the payloads reach in the MP4.
    QTest::newRow("copy from far into the FLV")
        << quint64(6 * GiB + 5) << quint64(30000) << QByteArray("stco") << false;
    QTest::newRow("last payload beyond 4 GiB, mdat still under")
        << quint64(4099) << quint64(4 * GiB - 100) << QByteArray("co64") << false;
    QTest::newRow("mdat over 4 GiB")
        << quint64(13) << quint64(5 * GiB) << QByteArray("co64") << true;
}

void Mp4IndexTest::offsetsPointAtThePayloads() {
    QFETCH(quint64, copyStart);
    QFETCH(quint64, copyLength);
    QFETCH(QByteArray, offsetBox);
    QFETCH(bool, largeMdat);
    RemuxPlan plan;
    plan.copyStart = copyStart;
    plan.copyEnd = copyStart + copyLength;
    const uint64_t lastOffset = plan.copyEnd - 40;
    plan.video = videoTrack({{copyStart, 30, 0, 0, true},
                             {copyStart + 1000, 30, 640, 0, false},
                             {lastOffset, 40, 1280, 0, false}});

    const QByteArray head = headOf(plan);

    QCOMPARE(uint64_t(head.size()) % 4096, copyStart % 4096);
    QCOMPARE(head.mid(0, 8), QByteArray("\0\0\0\x20"
                                        "ftyp",
                                        8));
    const QByteArray offsets =
        box(head, QStringLiteral("moov/trak/mdia/minf/stbl/") + QString::fromLatin1(offsetBox));
    QVERIFY2(!offsets.isNull(), offsetBox.constData());
    QCOMPARE(be32(offsets, 4), 3u);
    const uint64_t expected[] = {uint64_t(head.size()), uint64_t(head.size()) + 1000,
                                 uint64_t(head.size()) + lastOffset - copyStart};
    for (int i = 0; i < 3; ++i) {
        const uint64_t got =
            offsetBox == "co64" ? be64(offsets, 8 + 8 * i) : be32(offsets, 8 + 4 * i);
        QCOMPARE(got, expected[i]);
    }
    if (largeMdat) {
        QCOMPARE(head.right(16).mid(0, 8), QByteArray("\0\0\0\x01"
                                                      "mdat",
                                                      8));
        QCOMPARE(be64(head, head.size() - 8), 16 + copyLength);
    } else {
        QCOMPARE(head.right(8).mid(4), QByteArray("mdat"));
        QCOMPARE(uint64_t(be32(head, head.size() - 8)), 8 + copyLength);
    }
    // The free box fills exactly the room between the index and the mdat header.
    const qsizetype freeAt = head.size() - (largeMdat ? 16 : 8) - box(head, "free").size() - 8;
    QCOMPARE(head.mid(freeAt + 4, 4), QByteArray("free"));
    QCOMPARE(freeAt, 32 + box(head, "moov").size() + 8);
}

void Mp4IndexTest::editListsWhereNeeded_data() {
    QTest::addColumn<quint32>("videoComposition");  // of every frame, 16000ths of a second
    QTest::addColumn<quint32>("audioStartMs");
    QTest::addColumn<QList<quint64>>("videoEdits");  // duration, media time: pairs; empty: none
    QTest::addColumn<QList<quint64>>("audioEdits");

    // Three frames of 40 ms and 44 sound frames, all from the start.
    QTest::newRow("both from the start") << 0u << 0u << QList<quint64>{} << QList<quint64>{};
    // Frames shown 80 ms after they are decoded: the sound starts first, so the picture waits.
    QTest::newRow("picture delayed by reordering")
        << 1280u << 0u << QList<quint64>{80, 0xFFFFFFFF, 120, 1280} << QList<quint64>{};
    QTest::newRow("sound starting later")
        << 0u << 200u << QList<quint64>{} << QList<quint64>{200, 0xFFFFFFFF, 1022, 0};
}

void Mp4IndexTest::editListsWhereNeeded() {
    QFETCH(quint32, videoComposition);
    QFETCH(quint32, audioStartMs);
    QFETCH(QList<quint64>, videoEdits);
    QFETCH(QList<quint64>, audioEdits);
    RemuxPlan plan;
    plan.copyStart = 100;
    plan.copyEnd = 10000;
    plan.video = videoTrack({{100, 10, 0, videoComposition, true},
                             {200, 10, 640, videoComposition, false},
                             {300, 10, 1280, videoComposition, false}});
    std::vector<RemuxSample> sound;
    for (uint64_t i = 0; i < 44; ++i)
        sound.push_back({400 + 10 * i, 10, i * 1024, 0, true});
    plan.audio = audioTrack(sound);
    plan.audio->startMs = audioStartMs;

    const QByteArray head = headOf(plan);

    const QList<QList<quint64>> expected = {videoEdits, audioEdits};
    for (int track = 0; track < 2; ++track) {
        const QByteArray elst = box(head, QStringLiteral("moov/trak#%1/edts/elst").arg(track + 1));
        QList<quint64> edits;
        for (uint32_t i = 0; !elst.isNull() && i < be32(elst, 4); ++i) {
            edits << be32(elst, 8 + 12 * i) << be32(elst, 12 + 12 * i);
            QCOMPARE(be32(elst, 16 + 12 * i), 0x00010000u);
        }
        QCOMPARE(edits, expected[track]);
    }
}

void Mp4IndexTest::sampleTables() {
    RemuxPlan plan;
    plan.copyStart = 100;
    plan.copyEnd = 10000;
    // Decode order I P B, shown as I B P.
    plan.video = videoTrack({{100, 10, 0, 640, true},
                             {200, 12, 640, 1920, false},
                             {300, 10, 1280, 0, false},
                             {400, 10, 1920, 640, true}});

    const QByteArray head = headOf(plan);
    const QString stbl = QStringLiteral("moov/trak/mdia/minf/stbl/");

    auto words = [&](const QString& name) {
        const QByteArray body = box(head, stbl + name);
        QList<quint32> all;
        for (qsizetype at = 4; at + 4 <= body.size(); at += 4)
            all << be32(body, at);
        return all;
    };
    QCOMPARE(words("stts"), (QList<quint32>{1, 4, 640}));
    QCOMPARE(words("ctts"), (QList<quint32>{4, 1, 640, 1, 1920, 1, 0, 1, 640}));
    QCOMPARE(words("stss"), (QList<quint32>{2, 1, 4}));
    QCOMPARE(words("stsz"), (QList<quint32>{0, 4, 10, 12, 10, 10}));
    QCOMPARE(words("stsc"), (QList<quint32>{1, 1, 1, 1}));
    const QByteArray mdhd = box(head, "moov/trak/mdia/mdhd");
    QCOMPARE(be32(mdhd, 12), 16000u);
    QCOMPARE(be32(mdhd, 16), 2560u);
    const QByteArray avcC = box(head, stbl + "stsd");
    QVERIFY(avcC.contains(QByteArray("avcC\x01\x42\xC0\x1E", 8)));
    // The FLV's clock is kept: the movie lasts until the last picture's end (2560 + 640), the
    // first picture shows at 640 after an empty edit.
    QCOMPARE(be32(box(head, "moov/mvhd"), 16), 200u);
}

void Mp4IndexTest::roomForTheIndex_data() {
    QTest::addColumn<int>("kind");  // 0: worst video, 1: sound in frames, 2: sound with gaps
    QTest::addColumn<quint64>("copyLength");
    QTest::addColumn<bool>("fits");
    QTest::newRow("picture, every table at its widest") << 0 << quint64(1) << true;
    QTest::newRow("picture, offsets past 4 GiB") << 0 << quint64(5 * GiB) << true;
    QTest::newRow("sound in whole frames") << 1 << quint64(1) << true;
    // The room counts on sound frames that mostly follow one another; a gap at every frame needs
    // a duration entry each, and the copy is laid out again.
    QTest::newRow("sound with a gap at every frame") << 2 << quint64(1) << false;
}

// The room guessed before the scan holds the index of the widest sample tables the remux makes
// for pictures, so the body copied behind it can stay where it is.
void Mp4IndexTest::roomForTheIndex() {
    QFETCH(int, kind);
    QFETCH(quint64, copyLength);
    QFETCH(bool, fits);
    constexpr uint64_t count = 5000;
    RemuxPlan plan;
    plan.copyStart = 437;
    std::vector<RemuxSample> samples;
    uint64_t time = 0;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t offset = plan.copyStart + i * 100;
        if (kind == 0) {
            // Durations, composition offsets and sizes all change from one frame to the next,
            // and every frame but the second is a key frame.
            samples.push_back({offset, uint32_t(30 + i % 2), time, uint32_t(i % 2 * 640), i != 1});
            time += 528 + i % 2 * 16;
        } else {
            samples.push_back({offset, uint32_t(20 + i % 2), time, 0, true});
            time += kind == 1 ? 1024 : 1024 + i % 2 + 1;
        }
    }
    plan.copyEnd = std::max<uint64_t>(plan.copyStart + count * 100, plan.copyStart + copyLength);
    samples.back().offset = plan.copyEnd - 31;
    if (kind == 0)
        plan.video = videoTrack(samples);
    else
        plan.audio = audioTrack(samples);
    const bool wide = copyLength > 4 * GiB;
    const uint64_t room = (Mp4Index::room(kind == 0 ? count : 0, kind == 0 ? 0 : count, wide) +
                           Mp4Index::kBlock - 1) /
                          Mp4Index::kBlock * Mp4Index::kBlock;

    const std::vector<uint8_t> placed = Mp4Index::head(plan, room + plan.copyStart);

    QCOMPARE(placed.size() == room + plan.copyStart, fits);
    QVERIFY(placed.size() >= room + plan.copyStart);
    const QByteArray head(reinterpret_cast<const char*>(placed.data()), qsizetype(placed.size()));
    // The first sample is the body's first byte, wherever the body was placed.
    const QByteArray offsets =
        box(head, QStringLiteral("moov/trak/mdia/minf/stbl/") + (wide ? "co64" : "stco"));
    QVERIFY(!offsets.isNull());
    QCOMPARE(wide ? be64(offsets, 8) : uint64_t(be32(offsets, 8)), uint64_t(placed.size()));
}

QTEST_GUILESS_MAIN(Mp4IndexTest)
#include "tst_Mp4Index.moc"
