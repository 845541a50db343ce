#include <QtTest>

#include "FlvBuilder.h"
#include "flv/FlvReader.h"
#include "flv/MetadataCalculator.h"

using namespace flvmdi;
using Bytes = std::vector<uint8_t>;
using Times = QList<uint32_t>;

namespace {

MetadataCalculator scan(const Bytes& bytes, InjectOptions options = {true, true}) {
    MemorySource source(bytes);
    FlvReader reader(source);
    MetadataCalculator calculator(options);
    calculator.setHeader(reader.readHeader());
    while (const auto tag = reader.next())
        calculator.add(*tag);
    return calculator;
}

// The canonical onLastSecond payload: the name and an empty ECMA array.
Bytes lastSecondPayload() {
    Bytes p;
    FlvBuilder::amfString(p, "onLastSecond");
    p.insert(p.end(), {8, 0, 0, 0, 0, 0, 0, 9});
    return p;
}

constexpr uint32_t kMetaSize = 1000;  // any size works: values move with it
constexpr uint64_t kShift = 13 + 11 + kMetaSize + 4;

}  // namespace

class MetadataCalculatorTest : public QObject {
    Q_OBJECT

  private slots:
    void valuesOfAPlainFile();
    void keyframeIndexLeavesOutHeadersCommandsAndRepeats();
    void oldScriptTagsAreDroppedAndOnLastSecondShiftsLaterTags();
    void lastSecondStartsAtFirstTagOfTheLastSecond_data();
    void lastSecondStartsAtFirstTagOfTheLastSecond();
    void inPlaceOnlyWhenNothingElseMoves_data();
    void inPlaceOnlyWhenNothingElseMoves();
    void longestRunSkipsEditsAndInsertion();
    void keyframeIndexThinsOutWhenFull();
    void extendedTimestampsAndFilesOver4GB();
    void aacConfigurationWinsOverFlags();
    void encryptedFilesAreRefused();
};

void MetadataCalculatorTest::valuesOfAPlainFile() {
    FlvBuilder b;
    for (uint32_t i = 0; i < 50; ++i)
        b.h263(i * 40, i % 25 == 0, 100);  // 106-byte payloads, 25 fps, keyframe every second
    for (uint32_t i = 0; i < 80; ++i)
        b.mp3(i * 25, 50);
    const auto m = scan(b.bytes(), {}).metadata(kMetaSize);
    QVERIFY(m.hasVideo && m.hasAudio && m.hasKeyframes);
    QVERIFY(!m.canSeekToEnd);
    QCOMPARE(m.duration, 2.0);  // both streams end one frame after 1960 and 1975 ms
    QCOMPARE(m.lastTimestamp, 1.975);
    QCOMPARE(m.frameRate, 25.0);
    QCOMPARE(m.dimensions->width, 320u);
    QCOMPARE(m.dimensions->height, 240u);
    QCOMPARE(m.videoCodecId, 2.0);
    QCOMPARE(m.videoSize, 50.0 * (11 + 106));
    QCOMPARE(m.audioSize, 80.0 * (11 + 50));
    QCOMPARE(m.videoDataRate, 50.0 * 106 * 8 / 2000);  // kbit/s
    QCOMPARE(m.audioDataRate, 80.0 * 50 * 8 / 2000);
    QCOMPARE(m.audio->sampleRate, 44100u);
    QCOMPARE(m.audio->sampleSize, 16u);
    QVERIFY(m.audio->stereo);
    QCOMPARE(m.fileSize, double(kShift + b.bytes().size() - 13));
    QCOMPARE(m.dataSize, 11.0 + kMetaSize);
    QVERIFY(!m.writeKeyframes);
    QVERIFY(m.keyframeTimes.empty());
}

void MetadataCalculatorTest::keyframeIndexLeavesOutHeadersCommandsAndRepeats() {
    FlvBuilder b;
    b.avc(0, 1, 0, {1, 2, 3});  // sequence header
    const size_t first = b.avc(0, 1, 1);
    b.avc(40, 2, 1);
    b.tag(9, 60, {0x57, 0x00});  // command frame
    const size_t second = b.avc(80, 1, 1);
    b.avc(80, 1, 1);  // same time again
    b.avc(70, 1, 1);  // earlier than the last indexed one
    const size_t last = b.avc(120, 1, 1);
    b.avc(160, 1, 2);  // end of sequence
    const auto calculator = scan(b.bytes(), {true, false});
    const auto m = calculator.metadata(kMetaSize);
    QCOMPARE(m.keyframeTimes, (std::vector<double>{0, 0.08, 0.12}));
    QCOMPARE(m.keyframePositions,
             (std::vector<double>{double(kShift + first - 13), double(kShift + second - 13),
                                  double(kShift + last - 13)}));
    QCOMPARE(m.lastKeyframeTimestamp, 0.12);
    QCOMPARE(m.lastKeyframeLocation, double(kShift + last - 13));
    QVERIFY(m.canSeekToEnd);  // the end-of-sequence marker is not a frame
    QCOMPARE(m.videoCodecId, 7.0);
    QCOMPARE(m.frameRate, 5 * 1000 / 120.0);  // six pictures from 0 to 120 ms
}

void MetadataCalculatorTest::oldScriptTagsAreDroppedAndOnLastSecondShiftsLaterTags() {
    FlvBuilder b;
    b.script(0, "onMetaData", "duration", 99);
    const size_t k0 = b.h263(0, true);
    b.script(500, "onCuePoint");
    const size_t oldLast = b.script(900, "onLastSecond");
    const size_t afterOldLast = b.h263(1000, false);
    const size_t lastSecondStart = b.h263(1500, false);
    const size_t k1 = b.h263(2000, true);
    b.h263(2500, false);
    const Bytes& bytes = b.bytes();
    const auto calculator = scan(bytes);
    const auto point = calculator.lastSecondPoint();
    QVERIFY(point);
    QCOMPARE(point->inputOffset, uint64_t(lastSecondStart));
    QCOMPARE(point->timestamp, 1500u);
    const auto m = calculator.metadata(kMetaSize);
    // Before the dropped tags nothing moves but for the new metadata tag; the old onMetaData and
    // onLastSecond are gone; from the last second on, our onLastSecond (38 bytes) comes first.
    const uint64_t oldLastTagSize = afterOldLast - oldLast;
    const uint64_t lastSecondTag = 11 + lastSecondPayload().size() + 4;
    QCOMPARE(m.keyframePositions.size(), size_t(2));
    QCOMPARE(m.keyframePositions[0], double(kShift));
    QCOMPARE(m.keyframePositions[1], double(kShift + k1 - k0 - oldLastTagSize + lastSecondTag));
    QCOMPARE(calculator.outputSize(kMetaSize),
             kShift + (bytes.size() - k0) - oldLastTagSize + lastSecondTag);
}

void MetadataCalculatorTest::lastSecondStartsAtFirstTagOfTheLastSecond_data() {
    QTest::addColumn<Times>("times");
    QTest::addColumn<int>("start");
    QTest::newRow("steady") << Times{0, 500, 1000, 1500, 2000, 2500} << 3;
    QTest::newRow("exactly one second") << Times{0, 1000, 2000} << 1;
    QTest::newRow("out of order") << Times{0, 2000, 1200, 1600, 2600} << 1;
    QTest::newRow("late jump") << Times{0, 100, 5000} << 2;
    QTest::newRow("falls back at the end") << Times{0, 3000, 2500, 100} << 1;
    QTest::newRow("shorter than a second") << Times{0, 300, 600} << 0;
    QTest::newRow("all at once") << Times{500, 500, 500} << 0;
    QTest::newRow("extended times") << Times{0x00FFFF00, 0x01000100, 0x01000200} << 0;
}

void MetadataCalculatorTest::lastSecondStartsAtFirstTagOfTheLastSecond() {
    QFETCH(Times, times);
    QFETCH(int, start);
    FlvBuilder b;
    b.script(0, "onCuePoint");  // script tags never start the last second
    std::vector<size_t> offsets;
    for (const uint32_t t : times)
        offsets.push_back(b.mp3(t));
    const auto point = scan(b.bytes()).lastSecondPoint();
    QVERIFY(point);
    QCOMPARE(point->inputOffset, uint64_t(offsets[size_t(start)]));
    QCOMPARE(point->timestamp, times[start]);
    QVERIFY(!scan(b.bytes(), {true, false}).lastSecondPoint());
}

void MetadataCalculatorTest::inPlaceOnlyWhenNothingElseMoves_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<bool>("lastSecond");
    QTest::addColumn<bool>("inPlace");
    auto file = [](auto&& middle, uint8_t headerSize = 9) {
        FlvBuilder b(5, headerSize);
        b.script(0, "onMetaData");
        b.h263(0, true);
        middle(b);
        b.mp3(2000);
        return b.bytes();
    };
    auto nothing = [](FlvBuilder&) {};
    // Before the first tag of the last second, with that tag's time.
    auto goodLast = [](FlvBuilder& b) { b.tag(18, 2000, lastSecondPayload()); };
    QTest::newRow("leading onMetaData") << file(nothing) << false << true;
    QTest::newRow("onLastSecond wanted, none there") << file(nothing) << true << false;
    QTest::newRow("onLastSecond in place") << file(goodLast) << true << true;
    QTest::newRow("onLastSecond not wanted") << file(goodLast) << false << false;
    QTest::newRow("onLastSecond too early")
        << file([](FlvBuilder& b) { b.tag(18, 2000, lastSecondPayload()), b.mp3(500); }) << true
        << false;
    QTest::newRow("onLastSecond with another time")
        << file([](FlvBuilder& b) { b.tag(18, 1999, lastSecondPayload()); }) << true << false;
    QTest::newRow("onLastSecond with other content")
        << file([](FlvBuilder& b) { b.script(1000, "onLastSecond"); }) << true << false;
    QTest::newRow("second onMetaData")
        << file([](FlvBuilder& b) { b.script(5, "onMetaData"); }) << false << false;
    QTest::newRow("wrong trailer")
        << file([](FlvBuilder& b) { b.tag(8, 10, {0x2F}, 1); }) << false << false;
    QTest::newRow("long file header") << file(nothing, 10) << false << false;
    FlvBuilder cueFirst;
    cueFirst.script(0, "onCuePoint");
    cueFirst.script(0, "onMetaData");
    cueFirst.mp3(0);
    QTest::newRow("onMetaData not first") << cueFirst.bytes() << false << false;
}

void MetadataCalculatorTest::inPlaceOnlyWhenNothingElseMoves() {
    QFETCH(Bytes, bytes);
    QFETCH(bool, lastSecond);
    QFETCH(bool, inPlace);
    const auto size = scan(bytes, {true, lastSecond}).inPlaceDataSize();
    QCOMPARE(size.has_value(), inPlace);
    if (size)
        QCOMPARE(*size, uint32_t(readBe24(&bytes[14])));
}

void MetadataCalculatorTest::longestRunSkipsEditsAndInsertion() {
    FlvBuilder b;
    const size_t oldMeta = b.script(0, "onMetaData");
    const size_t first = b.h263(0, true, 5000);
    b.h263(100, false, 5000);
    const size_t badTrailer = b.tag(8, 150, {0x2F, 1}, 2);
    const size_t afterBad = b.h263(200, false, 20000);
    for (uint32_t t = 300; t < 2000; t += 100)
        b.h263(t, false, 3000);
    const size_t stale = b.script(1500, "onLastSecond");
    const size_t afterStale = b.h263(2100, false, 10);
    const Bytes& bytes = b.bytes();
    const size_t dropped = first - oldMeta;

    auto calculator = scan(bytes, {true, false});
    auto run = calculator.longestRun();
    // From behind the wrong trailer to the stale onLastSecond.
    QCOMPARE(run.inputOffset, uint64_t(afterBad));
    QCOMPARE(run.length, uint64_t(stale - run.inputOffset));
    QCOMPARE(run.position, run.inputOffset - 13 - dropped);
    QCOMPARE(calculator.edits().size(), size_t(3));
    QCOMPARE(calculator.edits()[1],
             (MetadataCalculator::Edit{badTrailer + 11 + 2,
                                       MetadataCalculator::Edit::Kind::FixTrailer, 13}));

    // The onLastSecond tag goes before the tag at 1100 ms and cuts the run there.
    calculator = scan(bytes, {true, true});
    run = calculator.longestRun();
    const auto point = calculator.lastSecondPoint();
    QVERIFY(point);
    QCOMPARE(point->timestamp, 1100u);
    QCOMPARE(run.inputOffset, uint64_t(afterBad));
    QCOMPARE(run.length, point->inputOffset - run.inputOffset);
    QCOMPARE(calculator.edits().back().offset, uint64_t(stale));
    QCOMPARE(calculator.edits().back().value, uint32_t(afterStale - stale));
}

void MetadataCalculatorTest::keyframeIndexThinsOutWhenFull() {
    KeyframeIndex index(4);
    for (uint32_t t = 0; t < 10; ++t)
        index.add(t * 10, t);
    index.add(50, 99);  // not after the last one
    QCOMPARE(index.entries(), (std::vector<KeyframeIndex::Entry>{{0, 0}, {40, 4}, {80, 8}}));
}

void MetadataCalculatorTest::extendedTimestampsAndFilesOver4GB() {
    // Tags are handed over directly: 300 keyframes of 16 MB each make a 5 GB file.
    MetadataCalculator calculator({true, true});
    calculator.setHeader({1, 1, 9});
    const uint8_t head[] = {0x12, 0x00, 0x00, 0x84, 0x02, 0x80};
    uint64_t offset = 13;
    for (uint32_t i = 0; i < 300; ++i) {
        FlvTag tag;
        tag.offset = offset;
        tag.type = kTagVideo;
        tag.dataSize = kMaxTagDataSize;
        tag.timestamp = 0x00FF0000 + i * 1000;  // crosses 2^24 ms on the way
        tag.previousTagSize = 11 + kMaxTagDataSize;
        tag.head = head;
        calculator.add(tag);
        offset += tag.totalSize();
    }
    const auto m = calculator.metadata(kMetaSize);
    const uint64_t tagSize = 11 + uint64_t(kMaxTagDataSize) + 4;
    QCOMPARE(m.keyframePositions.size(), size_t(300));
    // The last keyframe lies in the last second, behind our 38-byte onLastSecond tag.
    QCOMPARE(m.keyframePositions.back(), double(kShift + 299 * tagSize + 38));
    QVERIFY(m.keyframePositions.back() > 4294967296.0);
    QCOMPARE(m.keyframeTimes.back(), (0x00FF0000 + 299000) / 1000.0);
    QCOMPARE(m.lastTimestamp, (0x00FF0000 + 299000) / 1000.0);
    QCOMPARE(m.fileSize, double(kShift + 300 * tagSize + 38));
    QVERIFY(m.canSeekToEnd);
}

void MetadataCalculatorTest::aacConfigurationWinsOverFlags() {
    FlvBuilder b;
    b.tag(8, 0, {0xAF, 0x01, 0x21});        // a raw frame before the configuration
    b.tag(8, 0, {0xAF, 0x00, 0x11, 0x88});  // 48 kHz mono
    b.tag(8, 23, {0xAF, 0x01, 0x21});
    const auto m = scan(b.bytes()).metadata(kMetaSize);
    QCOMPARE(m.audio->sampleRate, 48000u);
    QVERIFY(!m.audio->stereo);
    QVERIFY(!m.hasVideo);
    QVERIFY(!m.hasKeyframes);
}

void MetadataCalculatorTest::encryptedFilesAreRefused() {
    FlvBuilder b;
    b.h263(0, true);
    b.bytes()[13] |= 0x20;
    QVERIFY_THROWS_EXCEPTION(FlvError, scan(b.bytes()));
}

QTEST_GUILESS_MAIN(MetadataCalculatorTest)
#include "tst_MetadataCalculator.moc"
