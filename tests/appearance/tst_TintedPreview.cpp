#include <QtTest>

#include "appearance/TintedPreview.h"

// The preview takes the tint where the player would show it: on the control bar only.
class TintedPreviewTest : public QObject {
    Q_OBJECT

  private slots:
    void pixels_data();
    void pixels();
    void nullPictureStaysNull();
};

void TintedPreviewTest::pixels_data() {
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QColor>("pixel");  // a pixel of the skin's preview
    QTest::addColumn<QColor>("shown");  // the same pixel tinted with 0x0000FF (red)
    const QColor red(0xFF, 0, 0);
    QTest::newRow("dark bar") << true << QColor(0x26, 0x26, 0x2A) << red;
    QTest::newRow("dark bar after JPEG") << true << QColor(0x2F, 0x1F, 0x33) << red;
    QTest::newRow("dark skin's video") << true << QColor(0, 0, 0) << QColor(0, 0, 0);
    QTest::newRow("dark skin's controls")
        << true << QColor(0xA8, 0xA8, 0xA8) << QColor(0xA8, 0xA8, 0xA8);
    QTest::newRow("dark skin's page")
        << true << QColor(0x7F, 0x7F, 0x7F) << QColor(0x7F, 0x7F, 0x7F);
    QTest::newRow("light bar") << false << QColor(0xE6, 0xE6, 0xE3) << red;
    QTest::newRow("light bar on a dark skin")
        << true << QColor(0xE6, 0xE6, 0xE3) << QColor(0xE6, 0xE6, 0xE3);
    QTest::newRow("dark bar on a light skin")
        << false << QColor(0x26, 0x26, 0x2A) << QColor(0x26, 0x26, 0x2A);
    QTest::newRow("light skin's controls")
        << false << QColor(0x50, 0x50, 0x55) << QColor(0x50, 0x50, 0x55);
    QTest::newRow("white near the light bar")
        << false << QColor(0xFF, 0xFF, 0xFF) << QColor(0xFF, 0xFF, 0xFF);
}

void TintedPreviewTest::pixels() {
    QFETCH(bool, dark);
    QFETCH(QColor, pixel);
    QFETCH(QColor, shown);
    QImage preview(3, 2, QImage::Format_RGB32);
    preview.fill(pixel);
    const QImage tinted = TintedPreview::apply(preview, dark, 0x0000FFu);
    QCOMPARE(tinted.size(), preview.size());
    QCOMPARE(tinted.pixelColor(2, 1), shown);
    QCOMPARE(preview.pixelColor(2, 1), pixel);  // the skin's own picture is left alone
}

void TintedPreviewTest::nullPictureStaysNull() {
    QVERIFY(TintedPreview::apply(QImage(), true, 0x0000FFu).isNull());
}

QTEST_GUILESS_MAIN(TintedPreviewTest)
#include "tst_TintedPreview.moc"
