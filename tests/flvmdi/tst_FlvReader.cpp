#include <QtTest>

#include "FlvBuilder.h"
#include "flv/Amf0.h"
#include "flv/FlvReader.h"

using namespace flvmdi;
using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

// Reads the whole file; the error message, or "" when it reads cleanly.
QString readAll(const Bytes& bytes) {
    MemorySource source(bytes);
    FlvReader reader(source);
    try {
        reader.readHeader();
        while (reader.next()) {
        }
    } catch (const FlvError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

Bytes validFile() {
    FlvBuilder b;
    b.h263(0, true);
    b.mp3(26);
    return b.bytes();
}

}  // namespace

class FlvReaderTest : public QObject {
    Q_OBJECT

  private slots:
    void readsHeaderAndTags();
    void readsExtendedTimestampsAndLongHeaders();
    void acrossManyWindowRefills();
    void rejectsWhatIsNoIntactFlv_data();
    void rejectsWhatIsNoIntactFlv();
    void amfValuesRoundTrip();
    void amfRejectsMalformedData_data();
    void amfRejectsMalformedData();
};

void FlvReaderTest::readsHeaderAndTags() {
    FlvBuilder b(1);
    const size_t first = b.h263(40, true);
    const size_t second = b.script(80, "onCuePoint");
    MemorySource source(b.bytes());
    FlvReader reader(source);
    const FlvHeader header = reader.readHeader();
    QCOMPARE(header.flags, uint8_t(1));
    QCOMPARE(header.firstTagOffset(), uint64_t(13));

    auto tag = reader.next();
    QVERIFY(tag);
    QCOMPARE(tag->offset, uint64_t(first));
    QCOMPARE(tag->type, kTagVideo);
    QCOMPARE(tag->dataSize, 26u);
    QCOMPARE(tag->timestamp, 40u);
    QVERIFY(tag->trailerIsRight());
    QCOMPARE(tag->head.size(), size_t(26));
    QCOMPARE(tag->head[0], uint8_t(0x12));

    tag = reader.next();
    QVERIFY(tag);
    QCOMPARE(tag->offset, uint64_t(second));
    QCOMPARE(tag->type, kTagScript);
    QCOMPARE(tag->end(), uint64_t(b.bytes().size()));
    QVERIFY(!reader.next());
}

void FlvReaderTest::readsExtendedTimestampsAndLongHeaders() {
    FlvBuilder b(5, 12);  // three unknown header bytes before the first tag
    b.mp3(0x01020304);
    b.tag(8, 5, {0x2F}, 3);  // trailer off by three: reported, not fatal
    MemorySource source(b.bytes());
    FlvReader reader(source);
    QCOMPARE(reader.readHeader().firstTagOffset(), uint64_t(16));
    const auto tag = reader.next();
    QVERIFY(tag);
    QCOMPARE(tag->offset, uint64_t(16));
    QCOMPARE(tag->timestamp, 0x01020304u);
    const auto odd = reader.next();
    QVERIFY(odd);
    QVERIFY(!odd->trailerIsRight());
}

void FlvReaderTest::acrossManyWindowRefills() {
    FlvBuilder b;
    uint32_t expected = 0;
    for (uint32_t i = 0; i < 3000; ++i) {
        // Alternate big and tiny tags so the window both jumps and runs on.
        if (i % 3 == 0)
            b.h263(i, i % 30 == 0, 70000);
        else
            b.mp3(i, 1 + i % 400);
        ++expected;
    }
    MemorySource source(b.bytes());
    FlvReader reader(source);
    reader.readHeader();
    uint32_t count = 0;
    while (const auto tag = reader.next()) {
        QCOMPARE(tag->timestamp, count);
        QVERIFY(tag->trailerIsRight());
        QCOMPARE(tag->head[0],
                 uint8_t(count % 3 == 0 ? ((count % 30 == 0 ? 0x10 : 0x20) | 2) : 0x2F));
        ++count;
    }
    QCOMPARE(count, expected);
}

void FlvReaderTest::rejectsWhatIsNoIntactFlv_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<QString>("reason");
    const Bytes good = validFile();
    auto cut = [&](size_t n) { return Bytes(good.begin(), good.begin() + long(n)); };
    auto patched = [&](size_t at, uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    QTest::newRow("empty") << Bytes{} << "the file is empty";
    QTest::newRow("mp4") << Bytes{0, 0, 0, 0x20, 'f', 't', 'y', 'p', 'i', 's', 'o', 'm', 0, 0}
                         << "MP4";
    QTest::newRow("text") << Bytes{'h', 'e', 'l', 'l', 'o'} << "not an FLV file";
    QTest::newRow("header cut") << cut(6) << "truncated inside the FLV header";
    QTest::newRow("version 2") << patched(3, 2) << "unsupported FLV version 2";
    QTest::newRow("data offset 3") << patched(8, 3) << "corrupt FLV header";
    QTest::newRow("data offset huge") << patched(5, 0x7F) << "corrupt FLV header";
    QTest::newRow("mid tag header") << cut(13 + 5) << "truncated inside the tag header";
    QTest::newRow("mid payload") << cut(13 + 11 + 10) << "truncated or corrupt";
    QTest::newRow("trailer missing") << cut(good.size() - 2) << "truncated or corrupt";
    QTest::newRow("unknown type") << patched(13, 7) << "corrupt tag at byte 13";
    QTest::newRow("reserved bits") << patched(13, 0x89) << "corrupt tag at byte 13";
    Bytes absurd = good;
    absurd[14] = absurd[15] = absurd[16] = 0xFF;
    QTest::newRow("absurd data size") << absurd << "needs 16777230 bytes";
}

void FlvReaderTest::rejectsWhatIsNoIntactFlv() {
    QFETCH(Bytes, bytes);
    QFETCH(QString, reason);
    const QString message = readAll(bytes);
    QVERIFY2(message.contains(reason), qPrintable(message));
}

void FlvReaderTest::amfValuesRoundTrip() {
    Bytes bytes;
    amf0::Writer w(bytes);
    w.string("onCuePoint");
    w.beginEcmaArray(3);
    w.key("time");
    w.number(-12.625);
    w.key("flags");
    w.beginStrictArray(2);
    w.boolean(true);
    w.boolean(false);
    w.key("parameters");
    w.beginObject();
    w.key("name");
    w.string(std::string(300, 'x'));
    w.endObject();
    w.endObject();

    amf0::Reader r(bytes);
    QCOMPARE(r.readValue().text, std::string("onCuePoint"));
    const amf0::Value array = r.readValue();
    QVERIFY(r.atEnd());
    QCOMPARE(array.marker, amf0::Marker::EcmaArray);
    QCOMPARE(array.find("time")->number, -12.625);
    QCOMPARE(array.find("flags")->items.size(), size_t(2));
    QVERIFY(array.find("flags")->items[0].boolean);
    QVERIFY(!array.find("flags")->items[1].boolean);
    QCOMPARE(array.find("parameters")->find("name")->text.size(), size_t(300));
    QVERIFY(!array.find("missing"));
}

void FlvReaderTest::amfRejectsMalformedData_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("number cut") << Bytes{0, 1, 2, 3} << "past the end";
    QTest::newRow("string longer than tag") << Bytes{2, 0, 9, 'a'} << "past the end";
    QTest::newRow("unknown marker") << Bytes{0x11} << "unknown type marker 17";
    QTest::newRow("strict array count lies")
        << Bytes{10, 0xFF, 0xFF, 0xFF, 0xFF, 5, 5} << "past the end";
    QTest::newRow("object without end") << Bytes{3, 0, 1, 'a', 5} << "past the end";
    Bytes deep;
    for (int i = 0; i < 100; ++i)
        deep.insert(deep.end(), {10, 0, 0, 0, 1});
    deep.push_back(5);
    QTest::newRow("nested too deeply") << deep << "nested too deeply";
}

void FlvReaderTest::amfRejectsMalformedData() {
    QFETCH(Bytes, bytes);
    QFETCH(QString, reason);
    try {
        amf0::Reader(bytes).readValue();
        QFAIL("malformed data was accepted");
    } catch (const FlvError& e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(reason), e.what());
    }
}

QTEST_GUILESS_MAIN(FlvReaderTest)
#include "tst_FlvReader.moc"
