// The scan of a file read through a buffer must see exactly what a scan of the same bytes in memory
// sees, wherever the window edges fall, and a file that becomes shorter while it is read must end
// the scan with an error.
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QtTest>

#include "FlvBuilder.h"
#include "flv/FileIo.h"
#include "flv/FlvReader.h"

using namespace flvmdi;
using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

constexpr size_t kWindow = 4096;

// What a scan saw: one line per tag, or the error that ended it.
QStringList scanOf(ByteSource& source) {
    QStringList seen;
    FlvReader reader(source);
    try {
        reader.readHeader();
        while (const auto tag = reader.next()) {
            const QByteArray head(reinterpret_cast<const char*>(tag->head.data()),
                                  qsizetype(tag->head.size()));
            seen << QStringLiteral("%1 type %2 size %3 time %4 trailer %5 head %6")
                        .arg(tag->offset)
                        .arg(tag->type)
                        .arg(tag->dataSize)
                        .arg(tag->timestamp)
                        .arg(tag->previousTagSize)
                        .arg(QString::fromLatin1(head.toHex()));
        }
    } catch (const FlvError& e) {
        seen << QStringLiteral("error: ") + QString::fromUtf8(e.what());
    }
    return seen;
}

FileDescriptor fileWith(const QTemporaryDir& dir, const Bytes& bytes) {
    const std::string path = (dir.path() + "/video.flv").toStdString();
    FileDescriptor fd = io::open(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
    io::writeAt(fd.get(), bytes, 0);
    return fd;
}

// A first tag whose payload puts the next tag's part at the given offset.
FlvBuilder leadingTo(size_t offset) {
    FlvBuilder b;
    const size_t first = b.bytes().size();
    b.mp3(0, offset - first - kTagHeaderSize - kTagTrailerSize);
    return b;
}

Bytes avcConfiguration(size_t size) {
    Bytes record = {1, 0x42, 0, 0x1E, 0xFF, 0xE1};
    record.resize(size, 0x67);
    return record;
}

Bytes smallTags(FlvBuilder b) {
    for (uint32_t i = 1; i < 8; ++i)
        b.h263(i * 40, i % 4 == 0, 30 + i * 7);
    return b.bytes();
}

}  // namespace

class FileSourceTest : public QObject {
    Q_OBJECT

  private slots:
    void scansAsInMemory_data();
    void scansAsInMemory();
    void fileShortenedDuringScan_data();
    void fileShortenedDuringScan();
    void oneRefillPerWindow_data();
    void oneRefillPerWindow();
};

void FileSourceTest::scansAsInMemory_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<size_t>("window");

    QTest::newRow("tag header split by the window edge")
        << smallTags(leadingTo(kWindow - 5)) << kWindow;
    // The next tag's payload is 43 bytes.
    QTest::newRow("trailer split by the window edge")
        << smallTags(leadingTo(kWindow - 2 - kTagHeaderSize - 43)) << kWindow;
    QTest::newRow("codec head split by the window edge")
        << smallTags(leadingTo(kWindow - kTagHeaderSize - 30)) << kWindow;
    QTest::newRow("tag ends on the window edge") << smallTags(leadingTo(kWindow)) << kWindow;

    FlvBuilder big;
    big.h263(0, true, 3 * kWindow + 123);
    big.mp3(10, 17);
    big.h263(40, false, 5 * kWindow);
    QTest::newRow("tags larger than the window") << smallTags(big) << kWindow;

    FlvBuilder avc;
    avc.avc(0, 1, 0, avcConfiguration(2 * kWindow + 9));
    avc.avc(0, 1, 1, Bytes(300, 0x11));
    QTest::newRow("codec configuration larger than the window") << smallTags(avc) << kWindow;
    QTest::newRow("window smaller than a tag header") << smallTags(leadingTo(100)) << size_t(7);

    FlvBuilder many;
    for (uint32_t i = 0; i < 2000; ++i)
        if (i % 5 == 0)
            many.h263(i, i % 50 == 0, 9000 + i);
        else
            many.mp3(i, 1 + i * 13 % 700);
    QTest::newRow("thousands of tags, mixed sizes") << many.bytes() << size_t(64 * 1024);

    const Bytes whole = smallTags(big);
    auto cut = [&](size_t n) { return Bytes(whole.begin(), whole.begin() + long(n)); };
    const size_t lastTag = whole.size() - (kTagHeaderSize + 6 + 79 + kTagTrailerSize);
    QTest::newRow("cut in a tag header") << cut(lastTag + 5) << kWindow;
    QTest::newRow("cut in a large payload") << cut(5 * kWindow) << kWindow;
    QTest::newRow("cut in a trailer") << cut(whole.size() - 2) << kWindow;
}

void FileSourceTest::scansAsInMemory() {
    QFETCH(Bytes, bytes);
    QFETCH(size_t, window);
    QTemporaryDir dir;
    const FileDescriptor fd = fileWith(dir, bytes);
    FileSource file(fd.get(), bytes.size(), window);
    MemorySource memory(bytes);
    const QStringList expected = scanOf(memory);
    QVERIFY(expected.size() > 1);
    QCOMPARE(scanOf(file), expected);
}

void FileSourceTest::fileShortenedDuringScan_data() {
    QTest::addColumn<int>("cutInTag");  // the tag the file is cut in, after the one before is read
    QTest::addColumn<int>("cutAt");     // bytes into that tag
    QTest::newRow("in the tag header") << 3 << 6;
    QTest::newRow("in the codec head") << 3 << int(kTagHeaderSize) + 3;
    QTest::newRow("in the payload") << 3 << int(kWindow);
    QTest::newRow("in the trailer") << 3 << int(kTagHeaderSize) + 2 * int(kWindow) + 4;
    QTest::newRow("before the window it is in was read") << 6 << int(kTagHeaderSize);
}

// The size is taken before the cut, as a copy takes it when it starts. The tag the cut is in must
// not come back, not even with stale bytes from the buffer.
void FileSourceTest::fileShortenedDuringScan() {
    QFETCH(int, cutInTag);
    QFETCH(int, cutAt);
    FlvBuilder b;
    std::vector<size_t> offsets;
    for (uint32_t i = 0; i < 8; ++i)
        offsets.push_back(b.h263(i * 40, i == 0, 2 * kWindow - 4));  // payload 2 * kWindow + 2
    QTemporaryDir dir;
    const FileDescriptor fd = fileWith(dir, b.bytes());
    FileSource source(fd.get(), b.bytes().size(), kWindow);
    FlvReader reader(source);
    reader.readHeader();
    for (int i = 0; i < cutInTag; ++i)
        QVERIFY(reader.next());
    QCOMPARE(::ftruncate(fd.get(), off_t(offsets[size_t(cutInTag)] + size_t(cutAt))), 0);
    QVERIFY_THROWS_EXCEPTION(FlvError, reader.next());
}

void FileSourceTest::oneRefillPerWindow_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<uint64_t>("mostRefills");

    constexpr size_t kTags = 400;
    FlvBuilder small;
    for (uint32_t i = 0; i < kTags; ++i)
        small.h263(i, i % 25 == 0, 6000);
    // A window may start up to a block before the request that needed it.
    const uint64_t windows = small.bytes().size() / (32 * 1024) + 1;
    QTest::newRow("tags smaller than the window") << small.bytes() << windows;

    // Each large tag: a window from its header, one from its trailer that also holds the next
    // header. Reading the head after the trailer would cost a third.
    FlvBuilder large;
    for (uint32_t i = 0; i < 20; ++i) {
        large.h263(i * 40, i % 10 == 0, 200 * 1024);
        large.mp3(i * 40, 300);
    }
    QTest::newRow("tags larger than the window") << large.bytes() << uint64_t(2 * 20 + 1);
}

void FileSourceTest::oneRefillPerWindow() {
    QFETCH(Bytes, bytes);
    QFETCH(uint64_t, mostRefills);
    QTemporaryDir dir;
    const FileDescriptor fd = fileWith(dir, bytes);
    FileSource source(fd.get(), bytes.size(), 64 * 1024);
    FlvReader reader(source);
    reader.readHeader();
    while (reader.next()) {
    }
    QVERIFY2(source.refills() <= mostRefills,
             qPrintable(QStringLiteral("%1 refills").arg(source.refills())));
}

QTEST_GUILESS_MAIN(FileSourceTest)
#include "tst_FileSource.moc"
