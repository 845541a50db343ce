// The body of a remuxed MP4 is a range of the FLV copied behind the index: every byte must arrive
// wherever the range starts and ends within a block, and on a file system that shares blocks the
// whole blocks between must be shared rather than copied.
#include <fcntl.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "ReflinkMount.h"
#include "convert/RangeCopy.h"

namespace {

constexpr qint64 kBlock = 4096;

QByteArray randomBytes(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Copies [offset, offset + length) of `from` behind the first toOffset bytes of `to`; the
// progress reports heard.
QList<uint64_t> copyRange(const QString& from, qint64 offset, qint64 length, const QString& to,
                          qint64 toOffset) {
    put(to, QByteArray(toOffset, 'h'));
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CLOEXEC);
    QList<uint64_t> reports;
    const bool done = RangeCopy::copy(in, uint64_t(offset), uint64_t(length), out,
                                      uint64_t(toOffset), [&reports](uint64_t bytes) {
                                          reports << bytes;
                                          return true;
                                      });
    ::close(in);
    ::close(out);
    return done ? reports : QList<uint64_t>{};
}

}  // namespace

class RangeCopyTest : public QObject {
    Q_OBJECT

  private slots:
    void copiesEveryByte_data();
    void copiesEveryByte();
    void sharesTheWholeBlocks();
    void piecesEndOnWholeRuns_data();
    void piecesEndOnWholeRuns();
};

void RangeCopyTest::copiesEveryByte_data() {
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<qint64>("toOffset");
    const auto row = [](const char* name, qint64 offset, qint64 length, qint64 toOffset) {
        QTest::newRow(name) << offset << length << toOffset;
    };
    row("whole blocks", kBlock, 40 * kBlock, 2 * kBlock);
    row("alike within a block", 1000, 40 * kBlock + 77, kBlock + 1000);
    row("unlike within a block", 1000, 40 * kBlock + 77, 13);
    row("inside one block", 10, 100, 5);
    row("ending on a block edge", 10, 3 * kBlock - 10, kBlock + 10);
    row("across one block edge", kBlock - 3, 6, 1);
    row("many pieces", 333, 300 * kBlock + 1, 333 + 5 * kBlock);
}

void RangeCopyTest::copiesEveryByte() {
    QFETCH(qint64, offset);
    QFETCH(qint64, length);
    QFETCH(qint64, toOffset);
    QTemporaryDir dir;
    const QByteArray source = randomBytes(offset + length + 3 * kBlock);
    put(dir.filePath("from"), source);
    const QList<uint64_t> reports =
        copyRange(dir.filePath("from"), offset, length, dir.filePath("to"), toOffset);
    QCOMPARE(contentOf(dir.filePath("to")), QByteArray(toOffset, 'h') + source.mid(offset, length));
    QVERIFY(!reports.isEmpty());
    QCOMPARE(reports.last(), uint64_t(length));
    QVERIFY(std::is_sorted(reports.begin(), reports.end()));
}

void RangeCopyTest::sharesTheWholeBlocks() {
    ReflinkMount mount;
    if (!mount.mounted())
        QSKIP(qPrintable("no XFS with shared blocks to test on: " + mount.problem()));
    const qint64 offset = 1000;
    const qint64 length = 2048 * kBlock + 555;
    const QByteArray source = randomBytes(offset + length + kBlock);
    put(mount.filePath("from"), source);
    const QList<uint64_t> reports = copyRange(mount.filePath("from"), offset, length,
                                              mount.filePath("to"), 3 * kBlock + offset);
    QVERIFY(!reports.isEmpty());
    QCOMPARE(contentOf(mount.filePath("to")),
             QByteArray(3 * kBlock + offset, 'h') + source.mid(offset, length));
    // All but the partial blocks at either end.
    const qint64 wholeBlocks = (offset + length) / kBlock * kBlock - kBlock;
    QCOMPARE(ReflinkMount::sharedBytes(mount.filePath("to")), uint64_t(wholeBlocks));
}

void RangeCopyTest::piecesEndOnWholeRuns_data() {
    QTest::addColumn<qint64>("length");
    // Every piece ends on a multiple of this, but the last two: the one ending at the last whole
    // block and the part of a block behind it.
    QTest::addColumn<qint64>("unit");
    QTest::newRow("a hundredth below 64 KiB: whole blocks") << 1000 * kBlock + 9 << kBlock;
    QTest::newRow("a hundredth of 64 KiB and more: whole 64 KiB runs")
        << 2600 * kBlock + 9 << 16 * kBlock;
}

// The kernel copies pieces that end inside a run of 64 KiB measurably slower, so the pieces of a
// long copy end on whole runs, and still report at least every other per cent.
void RangeCopyTest::piecesEndOnWholeRuns() {
    QFETCH(qint64, length);
    QFETCH(qint64, unit);
    QTemporaryDir dir;
    put(dir.filePath("from"), randomBytes(length));
    const QList<uint64_t> reports =
        copyRange(dir.filePath("from"), 0, length, dir.filePath("to"), 0);
    QVERIFY2(reports.size() >= 50 && reports.size() <= 101,
             qPrintable(QString::number(reports.size())));
    for (qsizetype i = 0; i + 2 < reports.size(); ++i)
        QVERIFY2(reports[i] % uint64_t(unit) == 0, qPrintable(QString::number(reports[i])));
    QCOMPARE(reports[reports.size() - 2], uint64_t(length / kBlock * kBlock));
    QCOMPARE(reports.last(), uint64_t(length));
}

QTEST_GUILESS_MAIN(RangeCopyTest)
#include "tst_RangeCopy.moc"
