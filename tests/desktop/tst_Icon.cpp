#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// The application icon as the build drew it into its theme folder: every PNG size, and the SVG
// rendered by librsvg (what desktops use for scalable icons) against the PNG of the same size.
class IconTest : public QObject {
    Q_OBJECT

  private slots:
    void pngSizes_data();
    void pngSizes();
    void svgAgreesWithPng_data();
    void svgAgreesWithPng();
};

namespace {

const QString Theme = QStringLiteral(VIDLARK_ICON_THEME);
const QRgb Dark = qRgb(0x63, 0x0E, 0x0E);
const QRgb Light = qRgb(0xFF, 0xCC, 0x66);

QString pngPath(int size) {
    return Theme + QStringLiteral("/%1x%1/apps/vidlark.png").arg(size);
}

QImage premultiplied(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The share of pixels where some channel differs by more than a quarter of its range: edges
// smoothed a little differently count for nothing, a shape moved or missing counts at once.
double differingShare(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int most =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            differing += most > 64 ? 1 : 0;
        }
    }
    return double(differing) / (a.width() * a.height());
}

}  // namespace

void IconTest::pngSizes_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

// Each size: transparent outside the frame's rounded corner, the frame dark beside the play
// sign, the sign light in the middle.
void IconTest::pngSizes() {
    QFETCH(int, size);
    const QImage icon = premultiplied(pngPath(size));
    QCOMPARE(icon.size(), QSize(size, size));
    const auto at = [&](qreal x, qreal y) { return icon.pixel(int(x * size), int(y * size)); };
    QCOMPARE(qAlpha(at(0, 0)), 0);
    QCOMPARE(qAlpha(at(0.99, 0.99)), 0);
    QCOMPARE(at(0.1, 0.53), Dark);
    QCOMPARE(at(0.53, 0.53), Light);
}

void IconTest::svgAgreesWithPng_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 48, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

void IconTest::svgAgreesWithPng() {
    QFETCH(int, size);
    const QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    if (rsvg.isEmpty())
        QSKIP("rsvg-convert is not installed (librsvg2-bin)");
    QTemporaryDir dir;
    const QString rendered = dir.filePath(QStringLiteral("svg.png"));
    const QStringList args{QStringLiteral("-w"),
                           QString::number(size),
                           QStringLiteral("-h"),
                           QString::number(size),
                           QStringLiteral("-o"),
                           rendered,
                           Theme + QStringLiteral("/scalable/apps/vidlark.svg")};
    QCOMPARE(QProcess::execute(rsvg, args), 0);
    const QImage fromSvg = premultiplied(rendered);
    QCOMPARE(fromSvg.size(), QSize(size, size));
    const double share = differingShare(fromSvg, premultiplied(pngPath(size)));
    QVERIFY2(share < 0.002,
             qPrintable(QStringLiteral("%1% of the pixels differ").arg(share * 100)));
}

QTEST_GUILESS_MAIN(IconTest)
#include "tst_Icon.moc"
