#include <QtTest>

#include "appearance/PlayerSizes.h"
#include "platform/AppError.h"

class PlayerSizesTest : public QObject {
    Q_OBJECT

  private slots:
    void startSize();
    void selectEntry_data();
    void selectEntry();
    void setEntriesSkipsEmptyAndSelectsFirst();
    void malformedFirstEntryIsPassedOver_data();
    void malformedFirstEntryIsPassedOver();
    void emptyListIsRefused();
    void indexOutsideListChangesNothing();
    void malformedMessageNamesEntry();
};

void PlayerSizesTest::startSize() {
    const PlayerSizes sizes;
    QCOMPARE(sizes.width(), qint16(480));
    QCOMPARE(sizes.height(), qint16(270));
    QCOMPARE(sizes.selectedIndex(), -1);
}

void PlayerSizesTest::selectEntry_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("wellFormed");
    QTest::addColumn<int>("width");  // in force after selecting it
    QTest::addColumn<int>("height");
    QTest::newRow("with description") << "640x360 Widescreen" << true << 640 << 360;
    QTest::newRow("bare") << "1280x720" << true << 1280 << 720;
    QTest::newRow("largest") << "32767x32767" << true << 32767 << 32767;
    QTest::newRow("letters") << "abc" << false << 320 << 240;
    QTest::newRow("no x") << "640" << false << 320 << 240;
    QTest::newRow("no height") << "640x" << false << 320 << 240;
    QTest::newRow("no width") << "x360" << false << 320 << 240;
    QTest::newRow("out of range") << "99999x10" << false << 320 << 240;
    QTest::newRow("capital X") << "640X360" << false << 320 << 240;
    QTest::newRow("three parts") << "640x360x2" << false << 320 << 240;
    QTest::newRow("negative") << "-640x360" << false << 320 << 240;
    QTest::newRow("zero") << "0x360" << false << 320 << 240;
    QTest::newRow("leading blank") << " 640x360" << false << 320 << 240;
}

void PlayerSizesTest::selectEntry() {
    QFETCH(QString, entry);
    QFETCH(bool, wellFormed);
    QFETCH(int, width);
    QFETCH(int, height);
    PlayerSizes sizes;
    QVERIFY(sizes.setEntries({"320x240 Small", entry}));
    QCOMPARE(sizes.select(1), wellFormed);
    QCOMPARE(sizes.selectedIndex(), wellFormed ? 1 : 0);
    QCOMPARE(int(sizes.width()), width);
    QCOMPARE(int(sizes.height()), height);
}

void PlayerSizesTest::setEntriesSkipsEmptyAndSelectsFirst() {
    PlayerSizes sizes;
    QVERIFY(sizes.setEntries({"800x450 Large", "", "640x360 Widescreen", ""}));
    QCOMPARE(sizes.entries(), (QStringList{"800x450 Large", "640x360 Widescreen"}));
    QVERIFY(sizes.select(1));
    // Reading the list again (after the sizes dialog closes) keeps the entry in force where it
    // is still listed, and otherwise returns to the first entry.
    QVERIFY(sizes.setEntries({"1280x720 HD", "", "bogus", "640x360 Widescreen"}));
    QCOMPARE(sizes.selectedIndex(), 2);
    QCOMPARE(sizes.width(), qint16(640));
    QVERIFY(sizes.setEntries({"1280x720 HD", "640x360"}));
    QCOMPARE(sizes.selectedIndex(), 0);
    QCOMPARE(sizes.width(), qint16(1280));
    QCOMPARE(sizes.height(), qint16(720));
}

void PlayerSizesTest::malformedFirstEntryIsPassedOver_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("message");
    const QString notOfTheForm =
        QStringLiteral(" IS NOT OF THE FORM WIDTHxHEIGHT WITH TWO WHOLE NUMBERS FROM 1 TO 32767. ");
    // In force before: "640x360 Widescreen", entry 1 of the first list, now gone.
    QTest::newRow("the entry in force is gone")
        << QStringList{"wide", "", "tall", "800x450 Large"} << 2 << 800
        << "THE PLAYER SIZE \"wide\"" + notOfTheForm + "THE SIZE \"800x450 Large\" IS IN USE.";
    QTest::newRow("no entry gives a size")
        << QStringList{"wide", "tall"} << 0 << 640
        << "THE PLAYER SIZE \"wide\"" + notOfTheForm + "THE PREVIOUS SIZE STAYS IN USE.";
}

// A malformed first entry (a hand-edited sizes file) never stands in the list for the size in
// force: the selection is the entry whose size is used, wherever it can be.
void PlayerSizesTest::malformedFirstEntryIsPassedOver() {
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(int, width);
    QFETCH(QString, message);
    PlayerSizes sizes;
    QVERIFY(sizes.setEntries({"320x240 Small", "640x360 Widescreen"}));
    QVERIFY(sizes.select(1));

    QVERIFY(!sizes.setEntries(entries));

    QCOMPARE(sizes.selectedIndex(), selected);
    QCOMPARE(int(sizes.width()), width);
    QCOMPARE(sizes.takenMessage(), message);
}

void PlayerSizesTest::emptyListIsRefused() {
    PlayerSizes sizes;
    QVERIFY(sizes.setEntries({"640x360"}));
    try {
        sizes.setEntries({"", ""});
        QFAIL("an empty list was accepted");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 9);
    }
    QVERIFY(sizes.entries().isEmpty());
    QCOMPARE(sizes.selectedIndex(), -1);
    QCOMPARE(sizes.width(), qint16(640));
    QCOMPARE(sizes.height(), qint16(360));
}

void PlayerSizesTest::indexOutsideListChangesNothing() {
    PlayerSizes sizes;
    QVERIFY(sizes.setEntries({"640x360", "800x450"}));
    QVERIFY(sizes.select(1));
    for (int index : {2, -1}) {
        try {
            sizes.select(index);
            QFAIL("selected an entry that does not exist");
        } catch (const AppError& e) {
            QCOMPARE(e.number(), 9);
        }
        QCOMPARE(sizes.selectedIndex(), 1);
        QCOMPARE(sizes.width(), qint16(800));
        QCOMPARE(sizes.height(), qint16(450));
    }
}

void PlayerSizesTest::malformedMessageNamesEntry() {
    QCOMPARE(PlayerSizes::malformedEntryMessage("640X360 Big"),
             QStringLiteral("THE PLAYER SIZE \"640X360 Big\" IS NOT OF THE FORM WIDTHxHEIGHT WITH "
                            "TWO WHOLE NUMBERS FROM 1 TO 32767. THE PREVIOUS SIZE STAYS IN USE."));
}

QTEST_GUILESS_MAIN(PlayerSizesTest)
#include "tst_PlayerSizes.moc"
