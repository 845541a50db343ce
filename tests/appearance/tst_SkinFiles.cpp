#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtEndian>
#include <QtTest>

#include "appearance/SkinList.h"

// The skins the build compiles and the pictures it draws into the application folder: the files a
// generated page loads must be what a Flash player (or its emulator) and a browser accept, and
// each skin must look like its name says, because the program derives the player height and the
// tint palette from the name.
class SkinFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void skinNamesFollowTheRules();
    void skinMovie_data();
    void skinMovie();
    void skinPreview_data();
    void skinPreview();
    void shareButtons();
};

namespace {

const int VideoWidth = 480;
const int VideoHeight = 270;
const int TwipsPerPixel = 20;

QString appFolder() {
    return QStringLiteral(VIDLARK_APP_DIR);
}

QString swfsPath(const QString& file) {
    return appFolder() + QStringLiteral("/swfs/") + file;
}

bool twoDigitsAt6And7(const QString& name) {
    return name.size() >= 7 && name.at(5).isDigit() && name.at(6).isDigit();
}

// Reads the bit fields of a SWF RECT, most significant bit first.
class BitReader {
  public:
    explicit BitReader(const QByteArray& bytes, int byteOffset)
        : bytes_(bytes), bit_(byteOffset * 8) {}
    quint32 unsignedBits(int count) {
        quint32 value = 0;
        for (int i = 0; i < count; ++i, ++bit_) {
            const auto byte = quint8(bytes_.at(bit_ / 8));
            value = (value << 1) | ((byte >> (7 - bit_ % 8)) & 1U);
        }
        return value;
    }
    qint32 signedBits(int count) {
        const quint32 raw = unsignedBits(count);
        const bool negative = count > 0 && (raw >> (count - 1)) & 1U;
        return negative ? qint32(raw | ~((1U << count) - 1)) : qint32(raw);
    }
    int nextByte() const { return (bit_ + 7) / 8; }

  private:
    QByteArray bytes_;
    int bit_;
};

struct Tag {
    int code;
    QByteArray body;
};

// The tags after the header; stops at the End tag. Fails the test on a truncated record.
QList<Tag> readTags(const QByteArray& swf, int offset, int* endOffset) {
    QList<Tag> tags;
    while (offset + 2 <= swf.size()) {
        const quint16 header = qFromLittleEndian<quint16>(swf.constData() + offset);
        offset += 2;
        int length = header & 0x3F;
        if (length == 0x3F) {
            length = qFromLittleEndian<qint32>(swf.constData() + offset);
            offset += 4;
        }
        if (length < 0 || offset + length > swf.size())
            break;
        tags.append({header >> 6, swf.mid(offset, length)});
        offset += length;
        if (tags.last().code == 0)
            break;
    }
    *endOffset = offset;
    return tags;
}

void addSkinRows() {
    QTest::addColumn<QString>("name");
    for (const QString& name : SkinList::list(appFolder()))
        QTest::newRow(qPrintable(name)) << name;
}

// Share of pixels a light bar would colour; dark skins keep every part of the picture dim.
double brightShare(const QImage& image) {
    int bright = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            bright += qGray(image.pixel(x, y)) > 200 ? 1 : 0;
    }
    return double(bright) / (image.width() * image.height());
}

QImage loadJpeg(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (reader.format() != "jpeg")
        return {};
    return reader.read();
}

}  // namespace

void SkinFilesTest::skinNamesFollowTheRules() {
    const QStringList skins = SkinList::list(appFolder());
    QVERIFY2(skins.size() >= 4, qPrintable(skins.join(QLatin1Char(' '))));
    bool seen[2][2] = {};  // [dark][float]
    for (const QString& name : skins) {
        QVERIFY2(twoDigitsAt6And7(name), qPrintable(name));
        QVERIFY(SkinList::skinAllowance(name) > 0);
        seen[SkinList::isDark(name)][SkinList::isFloat(name)] = true;
    }
    QVERIFY2(seen[0][0] && seen[0][1] && seen[1][0] && seen[1][1],
             "dark and light skins, each with and without a floating bar");
    // A new project starts with the first skin and the dark tint of the demo profile.
    QVERIFY(SkinList::isDark(skins.first()));
}

void SkinFilesTest::skinMovie_data() {
    addSkinRows();
}

// The movie body after the 8-byte header: zlib-compressed ("CWS") or plain ("FWS").
QByteArray movieBody(const QByteArray& swf) {
    if (swf.startsWith("FWS"))
        return swf;
    if (!swf.startsWith("CWS"))
        return {};
    const quint32 size = qFromLittleEndian<quint32>(swf.constData() + 4);
    QByteArray zlib(4, '\0');
    qToBigEndian<quint32>(size - 8, zlib.data());  // qUncompress wants the length first
    zlib.append(swf.mid(8));
    const QByteArray body = qUncompress(zlib);
    return body.isEmpty() ? QByteArray() : swf.left(8) + body;
}

void SkinFilesTest::skinMovie() {
    QFETCH(QString, name);
    QFile file(swfsPath(name + QStringLiteral(".swf")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray swf = movieBody(file.readAll());
    QVERIFY2(swf.size() > 8, "a SWF movie, plain or compressed");
    // ActionScript 3 runs in Flash 9 and later; the player uses Flash 10's video features.
    QVERIFY(quint8(swf.at(3)) >= 10);
    QCOMPARE(qFromLittleEndian<quint32>(swf.constData() + 4), quint32(swf.size()));

    BitReader rect(swf, 8);
    const int bits = int(rect.unsignedBits(5));
    QVERIFY(8 + (5 + 4 * bits + 7) / 8 <= swf.size());
    const qint32 xMin = rect.signedBits(bits), xMax = rect.signedBits(bits);
    const qint32 yMin = rect.signedBits(bits), yMax = rect.signedBits(bits);
    QCOMPARE(xMin, 0);
    QCOMPARE(yMin, 0);
    QCOMPARE(xMax, VideoWidth * TwipsPerPixel);
    QCOMPARE(yMax, (VideoHeight + SkinList::skinAllowance(name)) * TwipsPerPixel);

    const int afterRect = rect.nextByte();
    QVERIFY(afterRect + 4 <= swf.size());
    QVERIFY(qFromLittleEndian<quint16>(swf.constData() + afterRect) > 0);  // frame rate

    int end = 0;
    const QList<Tag> tags = readTags(swf, afterRect + 4, &end);
    QCOMPARE(end, int(swf.size()));
    QList<int> codes;
    for (const Tag& tag : tags)
        codes.append(tag.code);
    // FileAttributes first, announcing ActionScript 3; the player's code; its main class.
    QVERIFY(!tags.isEmpty());
    QCOMPARE(tags.first().code, 69);
    QVERIFY(!tags.first().body.isEmpty() && (quint8(tags.first().body.at(0)) & 0x08));
    QVERIFY2(codes.contains(82) || codes.contains(72), "a DoABC tag with the player's code");
    QVERIFY(codes.contains(76));  // SymbolClass
    QCOMPARE(codes.last(), 0);
}

void SkinFilesTest::skinPreview_data() {
    addSkinRows();
}

void SkinFilesTest::skinPreview() {
    QFETCH(QString, name);
    const QImage preview = loadJpeg(swfsPath(name + QStringLiteral(".jpg")));
    QVERIFY2(!preview.isNull(), "the preview is a JPEG picture");
    QCOMPARE(preview.size(), QSize(320, 200));
    const double share = brightShare(preview);
    if (SkinList::isDark(name))
        QVERIFY2(share < 0.01, qPrintable(QString::number(share)));
    else
        QVERIFY2(share > 0.03, qPrintable(QString::number(share)));
}

void SkinFilesTest::shareButtons() {
    const QImage facebook = loadJpeg(appFolder() + QStringLiteral("/images/wg_fb.jpg"));
    const QImage twitter = loadJpeg(appFolder() + QStringLiteral("/images/wg_tw.jpg"));
    QVERIFY(!facebook.isNull());
    QVERIFY(!twitter.isNull());
    QCOMPARE(facebook.size(), QSize(60, 20));
    QCOMPARE(twitter.size(), QSize(60, 20));
    QVERIFY(facebook != twitter);
    // Lettering on a plate: both light and dark pixels in the middle row.
    for (const QImage& button : {facebook, twitter}) {
        int light = 0, dark = 0;
        for (int x = 0; x < button.width(); ++x) {
            const int gray = qGray(button.pixel(x, button.height() / 2));
            light += gray > 200 ? 1 : 0;
            dark += gray < 170 ? 1 : 0;
        }
        QVERIFY(light >= 5);
        QVERIFY(dark >= 20);
    }
}

QTEST_GUILESS_MAIN(SkinFilesTest)
#include "tst_SkinFiles.moc"
