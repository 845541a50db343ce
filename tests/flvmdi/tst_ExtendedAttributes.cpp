// A rewrite puts a new inode in the video's place: the user's extended attributes of the video
// must come along, while the injector's own stamp must describe the new file, not the old one.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <map>

#include "InjectedFile.h"
#include "ScratchMount.h"
#include "flv/InjectionStamp.h"
#include "flv/Injector.h"

using namespace flvmdi;
using namespace injected;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(flvmdi::InjectResult::Kind)

namespace {

using Attributes = std::map<std::string, std::string>;

QByteArray local(const QString& path) {
    return path.toLocal8Bit();
}

// All "user." attributes of a file but the injector's stamp.
Attributes userAttributes(const QString& path) {
    Attributes found;
    const QByteArray file = local(path);
    char names[4096];
    const ssize_t length = ::listxattr(file.constData(), names, sizeof names);
    for (ssize_t at = 0; at < length; at += ssize_t(std::strlen(names + at)) + 1) {
        const std::string name = names + at;
        if (!name.starts_with("user.") || name == InjectionStamp::kAttribute)
            continue;
        std::string value(8192, '\0');
        const ssize_t size = ::getxattr(file.constData(), name.c_str(), value.data(), value.size());
        value.resize(size_t(std::max<ssize_t>(size, 0)));
        found[name] = value;
    }
    return found;
}

bool setAttributes(const QString& path, const Attributes& attributes) {
    for (const auto& [name, value] : attributes)
        if (::setxattr(local(path).constData(), name.c_str(), value.data(), value.size(), 0) != 0)
            return false;
    return true;
}

const Attributes kUserAttributes = {
    {"user.note", "recorded at the fair"},
    {"user.binary", std::string("\0\xff\x01 zero inside", 16)},
    {"user.empty", ""},
    {"user.long", std::string(3000, 'L')},
};

// A recording injected once and grown since: the next run updates it in place.
Bytes grownRecording(const QString& folder) {
    const QString path = folder + "/grown.flv";
    writeFile(path, plainVideo(50));
    Injector({true, false}).inject(path.toStdString());
    FlvBuilder more;
    for (uint32_t i = 50; i < 90; ++i)
        more.h263(i * 100, i % 10 == 0);
    writeFile(path, Bytes(more.bytes().begin() + 13, more.bytes().end()), QIODevice::Append);
    const Bytes grown = readFile(path);
    QFile::remove(path);
    return grown;
}

}  // namespace

class ExtendedAttributesTest : public QObject {
    Q_OBJECT

  private slots:
    void userAttributesSurviveTheInjection_data();
    void userAttributesSurviveTheInjection();
    void injectsWhereNoAttributesAreKept();
};

void ExtendedAttributesTest::userAttributesSurviveTheInjection_data() {
    QTest::addColumn<Bytes>("video");
    QTest::addColumn<bool>("stamped");  // injected before, with onLastSecond
    QTest::addColumn<quint64>("earlyCopyFrom");
    QTest::addColumn<InjectResult::Kind>("kind");
    QTemporaryDir scratch;
    const auto rewritten = InjectResult::Kind::Rewritten;
    const quint64 never = UINT64_MAX;
    QTest::newRow("written in order") << plainVideo(60) << false << never << rewritten;
    QTest::newRow("copied during the scan") << plainVideo(60) << false << quint64(0) << rewritten;
    QTest::newRow("stale stamp of other options") << plainVideo(60) << true << never << rewritten;
    QTest::newRow("updated in place")
        << grownRecording(scratch.path()) << false << never << InjectResult::Kind::UpdatedInPlace;
}

void ExtendedAttributesTest::userAttributesSurviveTheInjection() {
    QFETCH(Bytes, video);
    QFETCH(bool, stamped);
    QFETCH(quint64, earlyCopyFrom);
    QFETCH(InjectResult::Kind, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("v.flv");
    writeFile(path, video);
    if (!setAttributes(path, kUserAttributes))
        QSKIP("the temporary folder keeps no extended attributes");
    if (stamped) {
        Injector({false, true}).inject(path.toStdString());
        QVERIFY(::getxattr(local(path).constData(), InjectionStamp::kAttribute, nullptr, 0) > 0);
    }
    ::chmod(local(path).constData(), 06755);

    // Without onLastSecond: an earlier one is dropped, so a stamped video is rewritten.
    const InjectOptions options{true, false};
    const auto result = Injector(options, {earlyCopyFrom, 0}).inject(path.toStdString());
    QCOMPARE(result.kind, kind);
    if (earlyCopyFrom == 0)
        QVERIFY(result.copiedDuringScan);
    QVERIFY(userAttributes(path) == kUserAttributes);
    readInjected(readFile(path));
    // The stamp describes the file as it is now: the next run needs no scan.
    QVERIFY(Injector(options).inject(path.toStdString()).stampMatched);
    // The new file does not take over the set-user and set-group-ID bits.
    if (kind == InjectResult::Kind::Rewritten) {
        struct stat st {};
        QCOMPARE(::stat(local(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0755u);
    }
}

// A file system without extended attributes must not stop the injection.
void ExtendedAttributesTest::injectsWhereNoAttributesAreKept() {
    ScratchMount disk("ramfs", "mode=0700");
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    const QString path = disk.filePath("v.flv");
    const Bytes input = plainVideo(60);
    writeFile(path, input);
    QVERIFY2(!setAttributes(path, {{"user.probe", "1"}}), "ramfs took an extended attribute");
    for (const quint64 earlyCopyFrom : {quint64(0), quint64(UINT64_MAX)}) {
        const auto result = Injector({true, true}, {earlyCopyFrom, 0}).inject(path.toStdString());
        QCOMPARE(result.kind, InjectResult::Kind::Rewritten);
        QVERIFY(keptTags(readFile(path)) == keptTags(input));
        readInjected(readFile(path));
        writeFile(path, input);
    }
}

QTEST_GUILESS_MAIN(ExtendedAttributesTest)
#include "tst_ExtendedAttributes.moc"
