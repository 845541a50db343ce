#include <QtTest>

#include "appearance/ColourText.h"
#include "appearance/Palette.h"
#include "platform/AppError.h"

class TintTest : public QObject {
    Q_OBJECT

  private slots:
    void palettes_data();
    void palettes();
    void paletteForSkin_data();
    void paletteForSkin();
    void boxOutsidePaletteIsRefused();
    void colourToText_data();
    void colourToText();
    void textToColour_data();
    void textToColour();
    void everyBoxRoundTrips();
};

namespace {

const QString Tail = QStringLiteral(
    "You can always select your own color or you can select any color from the pallete below by "
    "clicking the respective color box.");

}  // namespace

void TintTest::palettes_data() {
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("colourText");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("box14");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("message");
    QTest::newRow("dark") << true << "630E0E"
                          << "4C4646"
                          << "231E01"
                          << "011618"
                          << "You have selected a player that will look better with a dark color "
                             "tint." +
                                 Tail;
    QTest::newRow("light") << false << "FFCC66"
                           << "CFCECE"
                           << "3BAF77"
                           << "ECCB32"
                           << "You have selected a player that will look better with a light "
                              "color tint." +
                                  Tail;
}

void TintTest::palettes() {
    QFETCH(bool, dark);
    QFETCH(QString, colourText);
    QFETCH(QString, first);
    QFETCH(QString, box14);
    QFETCH(QString, last);
    QFETCH(QString, message);
    const Palette& palette = dark ? Palette::dark() : Palette::light();
    QCOMPARE(palette.kind(), dark ? Palette::Kind::Dark : Palette::Kind::Light);
    QCOMPARE(palette.colourText(), colourText);
    QCOMPARE(palette.boxText(0), first);
    QCOMPARE(palette.boxText(14), box14);
    QCOMPARE(palette.boxText(Palette::BoxCount - 1), last);
    QCOMPARE(palette.message(), message);
}

void TintTest::paletteForSkin_data() {
    QTest::addColumn<QString>("skin");
    QTest::addColumn<bool>("dark");
    QTest::newRow("dark") << "Skin-30-dark" << true;
    QTest::newRow("dark inside") << "abdarkness" << true;
    QTest::newRow("capital D") << "Skin-30-Dark" << false;
    QTest::newRow("upper case") << "SKIN-30-DARK" << false;
    QTest::newRow("plain") << "Skin-30-float" << false;
}

void TintTest::paletteForSkin() {
    QFETCH(QString, skin);
    QFETCH(bool, dark);
    QCOMPARE(&Palette::forSkin(skin), dark ? &Palette::dark() : &Palette::light());
}

void TintTest::boxOutsidePaletteIsRefused() {
    try {
        Palette::dark().boxText(Palette::BoxCount);
        QFAIL("box 18 exists");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 9);
    }
    QVERIFY_THROWS_EXCEPTION(AppError, Palette::light().boxColour(-1));
}

void TintTest::colourToText_data() {
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded bytes") << quint32(15 + 65536) << "0F0001";
    QTest::newRow("black") << quint32(0) << "000000";
    QTest::newRow("white") << quint32(0xFFFFFF) << "FFFFFF";
    QTest::newRow("red first") << quint32(0x0E0E63) << "630E0E";
    QTest::newRow("upper case") << quint32(0xab) << "AB0000";
    QTest::newRow("high byte ignored") << quint32(0xFF010203) << "030201";
}

void TintTest::colourToText() {
    QFETCH(quint32, colour);
    QFETCH(QString, text);
    QCOMPARE(ColourText::fromColour(colour), text);
}

void TintTest::textToColour_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("red only") << "63" << quint32(99);
    QTest::newRow("lower case") << "ff0000" << quint32(255);
    QTest::newRow("mixed case") << "aBcDeF" << quint32(0xEFCDAB);
    QTest::newRow("zero bytes") << "010721" << quint32(0x210701);
    QTest::newRow("black") << "000000" << quint32(0);
    QTest::newRow("empty") << "" << quint32(0);
    QTest::newRow("odd length") << "FFF" << quint32(0x0FFF);
    QTest::newRow("stops at non-hex") << "6G0A" << quint32(6 + 256 * 10);
    QTest::newRow("unreadable pair") << "GG11" << quint32(0x1100);
    QTest::newRow("past six ignored") << "00000012" << quint32(0);
}

void TintTest::textToColour() {
    QFETCH(QString, text);
    QFETCH(quint32, colour);
    QCOMPARE(ColourText::toColour(text), colour);
}

void TintTest::everyBoxRoundTrips() {
    for (const Palette* palette : {&Palette::dark(), &Palette::light()}) {
        for (int i = 0; i < Palette::BoxCount; ++i)
            QCOMPARE(ColourText::fromColour(palette->boxColour(i)), palette->boxText(i));
    }
}

QTEST_GUILESS_MAIN(TintTest)
#include "tst_Tint.moc"
