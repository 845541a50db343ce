#include <QtEndian>
#include <QtTest>

#include "RemuxClip.h"
#include "convert/FlvRemuxScan.h"
#include "convert/IndexRoom.h"
#include "convert/Mp4Index.h"
#include "flv/ByteSource.h"

// The room our own remux leaves for the MP4 index before the scan: enough for the index of the
// whole file (or the file is copied twice), and not much more (every viewer downloads the rest as
// an empty box before the first picture).
class IndexRoomTest : public QObject {
    Q_OBJECT

  private slots:
    void fitsTheIndex_data();
    void fitsTheIndex();
    void notAnFlv();
};

namespace {

// `frames` pictures (every `frameMs` pattern in turn) with sound every 23 ms, in the order of
// their times, as an FLV holds them; the first picture `firstSize` bytes, the others 200.
QByteArray clip(int frames, const QList<int>& frameMs, bool reordered, bool sound,
                size_t firstSize = 200) {
    Clip c;
    c.avcHeader();
    if (sound)
        c.aacHeader();
    uint32_t ms = 0;
    uint32_t soundMs = 0;
    for (int i = 0; i < frames; ++i) {
        for (; sound && soundMs <= ms; soundMs += 23)
            c.aac(soundMs, 60);
        c.frame(ms, i % 50 == 0, reordered && i % 3 == 1 ? 80 : 0, i == 0 ? firstSize : 200);
        ms += uint32_t(frameMs[i % frameMs.size()]);
    }
    return c.bytes();
}

flvmdi::MemorySource sourceOf(const QByteArray& bytes) {
    return flvmdi::MemorySource(
        {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())});
}

}  // namespace

void IndexRoomTest::fitsTheIndex_data() {
    QTest::addColumn<QByteArray>("flv");
    QTest::addColumn<bool>("tight");  // measured on the first samples, counted by a steady clock
    QTest::newRow("25 frames a second, with sound") << clip(20000, {40}, false, true) << true;
    QTest::newRow("30 frames a second on a millisecond clock, reordered, with sound")
        << clip(20000, {33, 33, 34}, true, true) << true;
    QTest::newRow("picture only, reordered") << clip(30000, {40}, true, false) << true;
    // Fewer samples per byte at the start than later: counted by time, not by bytes.
    QTest::newRow("a large first key frame") << clip(20000, {40}, true, true, 100 << 10) << true;
    // A first picture larger than the look-ahead: nothing to measure, the widest tables are
    // assumed.
    QTest::newRow("first picture beyond the look-ahead")
        << clip(5000, {40}, false, false, 300 << 10) << false;
    // The last tag's time jumps hours ahead: the room grows, but no further than four times what
    // the bytes suggest.
    QByteArray jump = clip(20000, {40}, false, true);
    const qsizetype lastTag =
        jump.size() - 4 - qFromBigEndian<quint32>(jump.constData() + jump.size() - 4);
    jump[lastTag + 7] = char(0x01);  // 4.6 hours on
    QTest::newRow("a clock that jumps at the end") << jump << false;
}

void IndexRoomTest::fitsTheIndex() {
    QFETCH(QByteArray, flv);
    QFETCH(bool, tight);
    flvmdi::MemorySource whole = sourceOf(flv);
    const std::optional<RemuxPlan> plan = FlvRemuxScan::plan(whole);
    QVERIFY(plan);
    const uint64_t index = Mp4Index::head(*plan).size();

    const std::optional<uint64_t> room = IndexRoom::guess(whole);

    QVERIFY(room);
    QCOMPARE(*room % IndexRoom::kAlignment, uint64_t(0));
    // The body placed behind the room stays there: the index fits in front of it.
    QCOMPARE(Mp4Index::head(*plan, *room + plan->copyStart).size(), *room + plan->copyStart);
    QVERIFY(*room < uint64_t(flv.size()));
    if (tight) {
        QVERIFY2(double(*room) <= double(index) * 1.5 + double(IndexRoom::kAlignment),
                 qPrintable(QStringLiteral("room %1 for an index of %2").arg(*room).arg(index)));
    }
}

void IndexRoomTest::notAnFlv() {
    const QByteArray text(300 << 10, 'x');
    flvmdi::MemorySource start = sourceOf(text);
    QVERIFY(!IndexRoom::guess(start));
    Clip headerOnly;
    const QByteArray header = headerOnly.bytes();  // the source views these bytes: kept alive
    flvmdi::MemorySource empty = sourceOf(header);
    QVERIFY(IndexRoom::guess(empty));
}

QTEST_GUILESS_MAIN(IndexRoomTest)
#include "tst_IndexRoom.moc"
