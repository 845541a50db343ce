// On a file system that shares blocks between files, the copy that injects on the way and the
// injector's own first rewrite of a video clone its body instead of copying it: the same bytes as
// elsewhere, with the blocks shared.
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "InjectedFile.h"
#include "ReflinkMount.h"
#include "flv/CopyInjector.h"
#include "flv/Injector.h"

using namespace flvmdi;
using namespace injected;

namespace {

// About 20 MiB: long enough for the injector to align its long run within a block.
Bytes longVideo() {
    FlvBuilder b;
    b.script(0, "onMetaData", "duration", 3);
    for (uint32_t i = 0; i < 400; ++i) {
        b.h263(i * 40, i % 25 == 0, 50000 + i * 13);
        b.mp3(i * 40 + 7, 300);
        if (i == 200)
            b.script(i * 40, "onCuePoint", "time", 8);
    }
    return b.bytes();
}

// What copying and injecting gives on an ordinary folder.
Bytes injectedElsewhere(const Bytes& input, const EarlyCopy::Tuning& tuning) {
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    writeFile(path, input);
    Injector({true, true}, tuning).inject(path.toStdString());
    return readFile(path);
}

}  // namespace

class SharedBlocksTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void copyClonesTheBody();
    void firstInjectionClonesTheBody_data();
    void firstInjectionClonesTheBody();

  private:
    std::unique_ptr<ReflinkMount> mount_;
};

void SharedBlocksTest::initTestCase() {
    mount_ = std::make_unique<ReflinkMount>();
    if (!mount_->mounted())
        QSKIP(qPrintable("no XFS with shared blocks to test on: " + mount_->problem()));
}

void SharedBlocksTest::copyClonesTheBody() {
    QVERIFY(QDir(mount_->path()).mkpath("in") && QDir(mount_->path()).mkpath("out"));
    const Bytes input = longVideo();
    const QString source = mount_->filePath("in/v.flv");
    const QString target = mount_->filePath("out/v.flv");
    writeFile(source, input);
    const auto copied = CopyInjector({true, true}).copy(source.toStdString(), target.toStdString());
    QVERIFY(copied);
    const Bytes output = readFile(target);
    QVERIFY(output == injectedElsewhere(input, {}));
    QVERIFY(copied->clonedBytes > input.size() * 9 / 10);
    QVERIFY(ReflinkMount::sharedBytes(target) > input.size() * 9 / 10);
    QVERIFY(readFile(source) == input);
    const auto after = Injector({true, true}).inject(target.toStdString());
    QCOMPARE(after.kind, InjectResult::Kind::Unchanged);
    QVERIFY(after.stampMatched);
}

void SharedBlocksTest::firstInjectionClonesTheBody_data() {
    QTest::addColumn<quint64>("minimumSize");
    QTest::newRow("written in order") << quint64(UINT64_MAX);
    QTest::newRow("copied during the scan") << quint64(0);
}

// A second name keeps the old content alive after the rename, so the sharing can be seen.
void SharedBlocksTest::firstInjectionClonesTheBody() {
    QFETCH(quint64, minimumSize);
    const EarlyCopy::Tuning tuning{minimumSize, 0};
    const QString folder = mount_->filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(folder));
    const QString video = folder + "/v.flv";
    const Bytes input = longVideo();
    writeFile(video, input);
    QVERIFY(::link(QFile::encodeName(video).constData(),
                   QFile::encodeName(folder + "/old.flv").constData()) == 0);
    Injector({true, true}, tuning).inject(video.toStdString());
    QVERIFY(readFile(video) == injectedElsewhere(input, tuning));
    QVERIFY(ReflinkMount::sharedBytes(video) > input.size() * 9 / 10);
    QVERIFY(readFile(folder + "/old.flv") == input);
}

QTEST_GUILESS_MAIN(SharedBlocksTest)
#include "tst_SharedBlocks.moc"
