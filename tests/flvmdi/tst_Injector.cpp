#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "InjectedFile.h"
#include "flv/Injector.h"
#include "flv/UndoJournal.h"

using namespace flvmdi;
using namespace injected;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(flvmdi::InjectResult::Kind)

namespace {

Bytes sampleFile() {
    FlvBuilder b;
    b.script(0, "onMetaData", "duration", 1);  // from an earlier tool
    b.avc(0, 1, 0, {1, 2, 3});
    for (uint32_t i = 0; i < 100; ++i) {
        b.avc(i * 40, i % 25 == 0 ? 1 : 2, 1, Bytes(300 + i, 0x11));
        b.mp3(i * 40 + 5);
        if (i == 30)
            b.script(i * 40, "onCuePoint", "time", 1.2);
        if (i == 50)
            b.tag(8, i * 40 + 6, {0x2F, 1, 2}, 7);  // a wrong trailer, put right on the way
        if (i == 70)
            b.script(i * 40, "onLastSecond");  // stale, from an earlier run
    }
    return b.bytes();
}

int runProgram(const QStringList& args, QString* err = nullptr) {
    QProcess p;
    p.start(QStringLiteral(FLVMDI_PROGRAM), args);
    p.waitForFinished(60000);
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool folderSupports(const QString& folder, int openFlag, bool xattr) {
    const QString probe = folder + "/probe";
    const int fd = ::open(probe.toLocal8Bit().constData(), O_RDWR | O_CREAT | openFlag, 0600);
    if (fd < 0)
        return false;
    const bool ok = !xattr || ::fsetxattr(fd, "user.probe", "1", 1, 0) == 0;
    ::close(fd);
    ::unlink(probe.toLocal8Bit().constData());
    return ok;
}

ino_t inodeOf(const QString& path) {
    struct stat st {};
    ::stat(path.toLocal8Bit().constData(), &st);
    return st.st_ino;
}

}  // namespace

class InjectorTest : public QObject {
    Q_OBJECT

  private slots:
    void injectsReplacesAndKeeps();
    void secondRunLeavesFileAlone();
    void grownRecordingIsUpdatedInPlace();
    void keepsPermissions();
    void stampSkipsScanUntilFileChanges();
    void largeFileGoesStraightToDisk();
    void copyDuringScanGivesSameFile_data();
    void copyDuringScanGivesSameFile();
    void copyDuringScanIsDroppedWithACorruptFile();
    void programRefusesBadInput_data();
    void programRefusesBadInput();
    void programOptions_data();
    void programOptions();
    void interruptedUpdateIsUndone();
    void brokenOrStaleJournalLeavesFileAlone();
};

void InjectorTest::injectsReplacesAndKeeps() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.flv");
    const Bytes input = sampleFile();
    writeFile(path, input);
    const auto result = Injector({true, true}).inject(path.toStdString());
    QCOMPARE(result.kind, InjectResult::Kind::Rewritten);
    QCOMPARE(result.keyframes, size_t(4));
    const Bytes output = readFile(path);
    QCOMPARE(result.fileSize, uint64_t(output.size()));
    const Injected file = readInjected(output);
    QCOMPARE(file.scriptNames,
             (std::vector<std::string>{"onMetaData", "onCuePoint", "onLastSecond"}));
    QCOMPARE(file.meta.find("keyframes")->find("times")->items.size(), size_t(4));
    QCOMPARE(file.meta.find("filesize")->number, double(output.size()));
    // Audio runs from 5 to 3965 ms in 101 frames and so ends at 4004.6 ms, after the video.
    QCOMPARE(file.meta.find("duration")->number, 4.0046);
    QCOMPARE(file.meta.find("videocodecid")->number, 7.0);
    QVERIFY(file.meta.find("padding"));
    // onLastSecond sits right before the first tag at or after 3.965 s - 1 s, with its time.
    const auto last = std::find_if(file.tags.begin(), file.tags.end(), [&](const FlvTag& t) {
        const auto name = reinterpret_cast<const char*>(&output[t.offset + 14]);
        return t.type == kTagScript && std::string_view(name, 12) == "onLastSecond";
    });
    QVERIFY(last != file.tags.end());
    QCOMPARE((last + 1)->timestamp, 2965u);
    QCOMPARE(last->timestamp, 2965u);
    QCOMPARE((last - 1)->timestamp, 2960u);
    // Every audio and video tag arrives in order with its bytes.
    QCOMPARE(std::count_if(file.tags.begin(), file.tags.end(),
                           [](const FlvTag& t) { return t.type != kTagScript; }),
             long(1 + 100 + 100 + 1));
    QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) ==
            QStringList{"a.flv"});
}

void InjectorTest::secondRunLeavesFileAlone() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.flv");
    writeFile(path, sampleFile());
    Injector injector({true, true});
    injector.inject(path.toStdString());
    const Bytes first = readFile(path);
    const ino_t inode = inodeOf(path);
    const auto result = injector.inject(path.toStdString());
    QCOMPARE(result.kind, InjectResult::Kind::Unchanged);
    QVERIFY(readFile(path) == first);
    QCOMPARE(inodeOf(path), inode);
}

void InjectorTest::grownRecordingIsUpdatedInPlace() {
    QTemporaryDir dir;
    const QString path = dir.filePath("rec.flv");
    FlvBuilder b;
    for (uint32_t i = 0; i < 50; ++i)
        b.h263(i * 100, i % 10 == 0);
    writeFile(path, b.bytes());
    Injector injector({true, false});
    injector.inject(path.toStdString());
    const ino_t inode = inodeOf(path);

    // The recording goes on: more frames are appended behind what was injected.
    FlvBuilder more;
    for (uint32_t i = 50; i < 120; ++i)
        more.h263(i * 100, i % 10 == 0);
    writeFile(path, Bytes(more.bytes().begin() + 13, more.bytes().end()), QIODevice::Append);
    const Bytes grown = readFile(path);

    const auto result = injector.inject(path.toStdString());
    QCOMPARE(result.kind, InjectResult::Kind::UpdatedInPlace);
    QCOMPARE(result.keyframes, size_t(12));
    QCOMPARE(inodeOf(path), inode);
    const Bytes updated = readFile(path);
    QCOMPARE(updated.size(), grown.size());
    const size_t metaEnd = 13 + 11 + readBe24(&updated[14]) + 4;
    QVERIFY(
        std::equal(updated.begin() + long(metaEnd), updated.end(), grown.begin() + long(metaEnd)));
    const Injected file = readInjected(updated);
    QCOMPARE(file.meta.find("keyframes")->find("times")->items.size(), size_t(12));
    QCOMPARE(file.meta.find("duration")->number, 12.0);
    QVERIFY(!QFile::exists(QString::fromStdString(UndoJournal::pathFor(path.toStdString()))));
    QCOMPARE(injector.inject(path.toStdString()).kind, InjectResult::Kind::Unchanged);
}

void InjectorTest::keepsPermissions() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.flv");
    writeFile(path, sampleFile());
    ::chmod(path.toLocal8Bit().constData(), 0604);
    Injector({false, false}).inject(path.toStdString());
    struct stat st {};
    ::stat(path.toLocal8Bit().constData(), &st);
    QCOMPARE(st.st_mode & 07777, 0604u);
    QVERIFY(!readInjected(readFile(path)).meta.find("keyframes"));
}

void InjectorTest::stampSkipsScanUntilFileChanges() {
    QTemporaryDir dir;
    if (!folderSupports(dir.path(), 0, true))
        QSKIP("the temporary folder keeps no extended attributes");
    const QString path = dir.filePath("a.flv");
    FlvBuilder b;
    size_t inter = 0;
    for (uint32_t i = 0; i < 60; ++i) {
        const size_t at = b.h263(i * 100, i % 20 == 0);
        inter = i == 45 ? at : inter;
    }
    writeFile(path, b.bytes());
    Injector injector({true, true});
    QVERIFY(!injector.inject(path.toStdString()).stampMatched);
    const auto again = injector.inject(path.toStdString());
    QVERIFY(again.stampMatched);
    QCOMPARE(again.keyframes, size_t(3));
    QCOMPARE(again.kind, InjectResult::Kind::Unchanged);
    // Other options make other metadata: no shortcut.
    QVERIFY(!Injector({true, false}).inject(path.toStdString()).stampMatched);
    injector.inject(path.toStdString());

    // An editor turns one frame into a keyframe: the write moves the modification time.
    QThread::msleep(20);
    const Bytes before = readFile(path);
    const auto it = std::search(before.begin() + 13, before.end(), b.bytes().begin() + long(inter),
                                b.bytes().begin() + long(inter) + 20);
    QVERIFY(it != before.end());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(qint64(it - before.begin()) + 11);
    f.write("\x12", 1);
    f.close();
    const auto changed = injector.inject(path.toStdString());
    QVERIFY(!changed.stampMatched);
    QCOMPARE(changed.kind, InjectResult::Kind::UpdatedInPlace);
    QCOMPARE(changed.keyframes, size_t(4));
    readInjected(readFile(path));

    // A copy carries no stamp and is scanned: nothing to change.
    QVERIFY(QFile::copy(path, dir.filePath("copy.flv")));
    const auto copy = injector.inject(dir.filePath("copy.flv").toStdString());
    QVERIFY(!copy.stampMatched);
    QCOMPARE(copy.kind, InjectResult::Kind::Unchanged);
}

void InjectorTest::largeFileGoesStraightToDisk() {
    QTemporaryDir dir;
    const QString path = dir.filePath("big.flv");
    FlvBuilder b;
    b.script(0, "onMetaData", "duration", 3);
    for (uint32_t i = 0; i < 600; ++i) {
        b.h263(i * 40, i % 25 == 0, 60000 + i * 13);
        b.mp3(i * 40 + 7, 300);
        if (i == 300)
            b.script(i * 40, "onCuePoint");
    }
    const Bytes input = b.bytes();
    writeFile(path, input);
    const auto result = Injector({true, true}).inject(path.toStdString());
    QCOMPARE(result.kind, InjectResult::Kind::Rewritten);
    const Bytes output = readFile(path);
    readInjected(output);
    QVERIFY(keptTags(output) == keptTags(input));
    if (folderSupports(dir.path(), O_DIRECT, false))
        QVERIFY(result.directBytes > 30 * 1024 * 1024);
    // The stretch written directly sits where the old file had it within a 4 KiB block.
    QCOMPARE((output.size() - 38 - input.size()) % 4096, size_t(0));
}

void InjectorTest::copyDuringScanGivesSameFile_data() {
    QTest::addColumn<Bytes>("input");
    QTest::addColumn<quint64>("frontReserve");
    QTest::addColumn<bool>("copied");
    QTest::addColumn<InjectResult::Kind>("kind");
    QTest::addColumn<bool>("lastSecond");
    QTest::addColumn<bool>("tmpfs");  // a file system that cannot move the copy
    enum Shape { Plain, StaleLastSecond, WrongTrailers };
    auto file = [](const std::string& metaKey, Shape shape) {
        FlvBuilder b;
        b.script(0, "onMetaData", metaKey, 1);
        for (uint32_t i = 0; i < 100; ++i) {
            b.h263(i * 40, i % 25 == 0, 2000 + i * 3);
            b.mp3(i * 40 + 5);
            if (i == 30)
                b.script(i * 40, "onCuePoint", "time", 1.2);
            // Wrong trailers in front of the last second and inside it.
            if ((i == 50 || i == 90) && shape == WrongTrailers)
                b.tag(8, i * 40 + 6, {0x2F, 1, 2}, 7);
            if (i == 70 && shape == StaleLastSecond)
                b.script(i * 40, "onLastSecond");
        }
        return b.bytes();
    };
    const auto rewritten = InjectResult::Kind::Rewritten;
    QTest::newRow("front guessed")
        << file("duration", WrongTrailers) << quint64(0) << true << rewritten << true << false;
    QTest::newRow("front too small: copy moved")
        << file("duration", WrongTrailers) << quint64(13) << true << rewritten << true << false;
    QTest::newRow("front too large: copy moved")
        << file("duration", WrongTrailers) << quint64(1 << 20) << true << rewritten << true
        << false;
    QTest::newRow("tag dropped inside: written in order")
        << file("duration", StaleLastSecond) << quint64(0) << false << rewritten << true << false;
    QTest::newRow("old tag roomy enough: updated in place")
        << file(std::string(3000, 'k'), Plain) << quint64(0) << false
        << InjectResult::Kind::UpdatedInPlace << false << false;
    QTest::newRow("cannot move, front too large: longer padding")
        << file("duration", WrongTrailers) << quint64(8192) << true << rewritten << true << true;
    QTest::newRow("cannot move, front too small: written in order")
        << file("duration", WrongTrailers) << quint64(13) << false << rewritten << true << true;
}

// Copying while the scan runs, then moving the copy and writing around it, must give the tags
// that writing in order gives. Only the padding may differ: the copy's place within a block.
void InjectorTest::copyDuringScanGivesSameFile() {
    QFETCH(Bytes, input);
    QFETCH(quint64, frontReserve);
    QFETCH(bool, copied);
    QFETCH(InjectResult::Kind, kind);
    QFETCH(bool, lastSecond);
    QFETCH(bool, tmpfs);
    QTemporaryDir dir(tmpfs ? "/dev/shm/flvmdi-XXXXXX" : QDir::tempPath() + "/flvmdi-XXXXXX");
    const int probe = ::open(dir.path().toLocal8Bit().constData(), O_TMPFILE | O_RDWR, 0600);
    if (probe < 0)
        QSKIP("no folder with unnamed files");
    ::close(probe);
    const QString early = dir.filePath("early.flv");
    const QString ordered = dir.filePath("ordered.flv");
    writeFile(early, input);
    writeFile(ordered, input);
    const InjectOptions options{true, lastSecond};
    const auto result = Injector(options, {0, frontReserve}).inject(early.toStdString());
    Injector(options, {UINT64_MAX, 0}).inject(ordered.toStdString());
    QCOMPARE(result.copiedDuringScan, copied);
    QCOMPARE(result.kind, kind);
    const Bytes output = readFile(early);
    QCOMPARE(result.fileSize, uint64_t(output.size()));
    auto afterMetadata = [](const Bytes& bytes) {
        return Bytes(bytes.begin() + 13 + 11 + readBe24(&bytes[14]) + 4, bytes.end());
    };
    QVERIFY(afterMetadata(output) == afterMetadata(readFile(ordered)));
    const Injected file = readInjected(output);
    QCOMPARE(file.meta.find("filesize")->number, double(output.size()));
    QCOMPARE(file.meta.find("keyframes")->find("times")->items.size(), size_t(4));
}

void InjectorTest::copyDuringScanIsDroppedWithACorruptFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.flv");
    Bytes input = sampleFile();
    // The last tag cut off (erased rather than resized: GCC 12 cannot see that the file is longer
    // than 50 bytes and warns of a huge memset at -O2).
    input.erase(input.end() - 50, input.end());
    writeFile(path, input);
    QVERIFY_THROWS_EXCEPTION(FlvError, Injector({true, true}, {0, 0}).inject(path.toStdString()));
    QVERIFY(readFile(path) == input);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"cut.flv"});
}

void InjectorTest::programRefusesBadInput_data() {
    QTest::addColumn<Bytes>("bytes");
    QTest::addColumn<QString>("reason");
    const Bytes good = sampleFile();
    QTest::newRow("mp4") << Bytes{0, 0, 0, 0x18, 'f', 't', 'y', 'p', 'm', 'p', '4', '2', 0, 0, 0, 0}
                         << "MP4";
    QTest::newRow("empty") << Bytes{} << "empty";
    QTest::newRow("truncated mid-tag") << Bytes(good.begin(), good.end() - 100) << "truncated";
    Bytes header = good;
    header[1] = 'X';
    QTest::newRow("wrong header") << header << "not an FLV file";
    Bytes absurd = good;
    absurd[13 + 1] = 0xFF;
    QTest::newRow("absurd data size") << absurd << "truncated or corrupt";
    MemorySource source(good);
    FlvReader reader(source);
    reader.readHeader();
    for (int i = 0; i < 50; ++i)
        reader.next();
    const size_t middle = reader.next()->offset;  // an audio or video tag
    Bytes garbage = good;
    std::fill(garbage.begin() + long(middle), garbage.begin() + long(middle) + 100, 0xEE);
    QTest::newRow("garbage inside") << garbage << "corrupt tag";
    Bytes encrypted = good;
    encrypted[middle] |= 0x20;
    QTest::newRow("encrypted") << encrypted << "encrypted";
}

void InjectorTest::programRefusesBadInput() {
    QFETCH(Bytes, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("my video.flv");
    writeFile(path, bytes);
    QString err;
    QCOMPARE(runProgram({"/k", "/l", path}, &err), 1);
    QVERIFY2(err.contains(reason) && err.count('\n') == 1 && err.contains(path), qPrintable(err));
    QVERIFY(readFile(path) == bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"my video.flv"});
}

void InjectorTest::programOptions_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("keyframes");
    QTest::addColumn<bool>("lastSecond");
    QTest::newRow("/k /l") << QStringList{"/k", "/l"} << true << true;
    QTest::newRow("-l -k") << QStringList{"-l", "-k"} << true << true;
    QTest::newRow("/K") << QStringList{"/K"} << true << false;
    QTest::newRow("-l") << QStringList{"-l"} << false << true;
    QTest::newRow("none") << QStringList{} << false << false;
}

void InjectorTest::programOptions() {
    QFETCH(QStringList, options);
    QFETCH(bool, keyframes);
    QFETCH(bool, lastSecond);
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    writeFile(path, sampleFile());
    // The file name may come first; the options after it still count.
    QCOMPARE(runProgram(QStringList{path} + options), 0);
    const Injected file = readInjected(readFile(path));
    QCOMPARE(file.meta.find("keyframes") != nullptr, keyframes);
    QCOMPARE(std::count(file.scriptNames.begin(), file.scriptNames.end(), "onLastSecond"),
             long(lastSecond));
    QString err;
    QCOMPARE(runProgram(options, &err), 2);
    QVERIFY(err.contains("usage"));
    QCOMPARE(runProgram(options + QStringList{path, path}, &err), 2);
    QCOMPARE(runProgram(options + QStringList{dir.filePath("missing.flv")}, &err), 3);
    QVERIFY(err.contains("missing.flv"));
}

void InjectorTest::interruptedUpdateIsUndone() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.flv");
    writeFile(path, sampleFile());
    Injector({true, true}).inject(path.toStdString());
    const Bytes original = readFile(path);

    // An update that wrote only its first half before the power went.
    const size_t region = 13 + 11 + readBe24(&original[14]) + 4;
    Bytes newer(original.begin(), original.begin() + long(region));
    for (size_t i = 40; i < region; i += 7)
        newer[i] ^= 0x5A;
    UndoJournal::write(path.toStdString(), original.size(), {original.data(), region}, newer);
    Bytes torn = original;
    std::copy(newer.begin(), newer.begin() + long(region / 2), torn.begin());
    writeFile(path, torn);

    const auto result = Injector({true, true}).inject(path.toStdString());
    QVERIFY(result.recoveredUpdate);
    QCOMPARE(result.kind, InjectResult::Kind::Unchanged);
    QVERIFY(readFile(path) == original);
    QVERIFY(!QFile::exists(QString::fromStdString(UndoJournal::pathFor(path.toStdString()))));
}

void InjectorTest::brokenOrStaleJournalLeavesFileAlone() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.flv");
    writeFile(path, sampleFile());
    Injector({true, true}).inject(path.toStdString());
    const Bytes injected = readFile(path);
    const QString journal = QString::fromStdString(UndoJournal::pathFor(path.toStdString()));
    const Bytes other(100, 0x77);

    // A journal cut short while it was written: the video was never touched.
    UndoJournal::write(path.toStdString(), injected.size(), other, other);
    QFile::resize(journal, QFileInfo(journal).size() - 3);
    QVERIFY(!Injector({true, true}).inject(path.toStdString()).recoveredUpdate);
    QVERIFY(readFile(path) == injected);
    QVERIFY(!QFile::exists(journal));

    // A journal about bytes the video does not hold: someone replaced the video since.
    UndoJournal::write(path.toStdString(), injected.size(), other, other);
    QVERIFY(!Injector({true, true}).inject(path.toStdString()).recoveredUpdate);
    QVERIFY(readFile(path) == injected);
    QVERIFY(!QFile::exists(journal));
}

QTEST_GUILESS_MAIN(InjectorTest)
#include "tst_Injector.moc"
