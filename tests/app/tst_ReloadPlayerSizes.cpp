#include <QFile>
#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "appearance/PlayerSizes.h"
#include "platform/TextFile.h"
#include "settings/PlayerSizesFile.h"

// The size list read again after the sizes dialog closed: whatever the dialog left in the file,
// the main window keeps a usable list and size.
class ReloadPlayerSizesTest : public QObject {
    Q_OBJECT

  private slots:
    void reload_data();
    void reload();
    void missingFileKeepsListAndSize();
    void malformedEntryChosenKeepsTheSizeInForce();
};

namespace {

struct Fixture {
    TestInstallation install{{"Skin-30-dark"}, {"480x270", "640x360 Widescreen", "800x450"}};
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.paths(), dialogs, views, clock, random};

    // Entry 2 (800 x 450) in force, as a user would have it before opening the sizes dialog.
    Fixture() {
        controller.loadInstallation();
        controller.selectPlayerSize(2);
    }

    void writeSizes(const QStringList& lines) {
        TextFile::writeLines(PlayerSizesFile::path(install.paths().config), lines);
    }
};

}  // namespace

void ReloadPlayerSizesTest::reload_data() {
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("message");

    QTest::newRow("edited list, first entry taken")
        << QStringList{"", "1280x720 HD", "", "320x180"} << QStringList{"1280x720 HD", "320x180"}
        << 1280 << 720 << 0 << QString();
    QTest::newRow("the entry in force is kept where it moved")
        << QStringList{"320x180", "bogus size", "800x450"}
        << QStringList{"320x180", "bogus size", "800x450"} << 800 << 450 << 2 << QString();
    // The list is the file's, but the malformed first entry cannot give a size: the list shows
    // the entry in force, the one before the dialog where it is still listed.
    QTest::newRow("malformed first entry")
        << QStringList{"wide", "320x180"} << QStringList{"wide", "320x180"} << 320 << 180 << 1
        << QStringLiteral("\"wide\"");
    QTest::newRow("malformed line added at the top")
        << QStringList{"bogus size", "480x270", "640x360 Widescreen", "800x450"}
        << QStringList{"bogus size", "480x270", "640x360 Widescreen", "800x450"} << 800 << 450 << 3
        << QString();
    QTest::newRow("no entry left")
        << QStringList{"", ""} << QStringList{"480x270", "640x360 Widescreen", "800x450"} << 800
        << 450 << 2 << QStringLiteral("ERROR# 9 SUBSCRIPT OUT OF RANGE. PLEASE CONTACT SUPPORT.");
}

void ReloadPlayerSizesTest::reload() {
    QFETCH(QStringList, file);
    QFETCH(QStringList, entries);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, selected);
    QFETCH(QString, message);

    Fixture f;
    f.writeSizes(file);
    f.controller.reloadPlayerSizes();

    QCOMPARE(f.controller.playerSizes().entries(), entries);
    QCOMPARE(f.controller.playerSizes().width(), qint16(width));
    QCOMPARE(f.controller.playerSizes().height(), qint16(height));
    if (message.isEmpty()) {
        QCOMPARE(f.dialogs.messages.size(), 0);
    } else {
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages[0].text.contains(message),
                 qPrintable(f.dialogs.messages[0].text));
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Error"));
    }
    QCOMPARE(f.controller.playerSizes().selectedIndex(), selected);
    QCOMPARE(f.controller.settings().PlayerSize, selected);
}

void ReloadPlayerSizesTest::missingFileKeepsListAndSize() {
    Fixture f;
    QVERIFY(QFile::remove(PlayerSizesFile::path(f.install.paths().config)));
    f.controller.reloadPlayerSizes();
    QCOMPARE(f.dialogs.texts(),
             QStringList{"ERROR# 53 FILE NOT FOUND. PLEASE CONTACT SUPPORT.\nReading " +
                         PlayerSizesFile::path(f.install.paths().config) +
                         "\nNo such file or directory"});
    QCOMPARE(f.controller.playerSizes().entries().size(), 3);
    QCOMPARE(f.controller.playerSizes().width(), qint16(800));
    QCOMPARE(f.controller.settings().PlayerSize, 2);
    // The list stays usable: another entry can still be chosen.
    f.controller.selectPlayerSize(0);
    QCOMPARE(f.controller.playerSizes().width(), qint16(480));
}

// Choosing a malformed entry is refused, and the size in force stays what the settings (and so a
// profile saved next) hold.
void ReloadPlayerSizesTest::malformedEntryChosenKeepsTheSizeInForce() {
    Fixture f;
    f.writeSizes({"480x270", "640x360 Widescreen", "800x450", "bogus size"});
    f.controller.reloadPlayerSizes();
    f.controller.selectPlayerSize(1);
    f.dialogs.messages.clear();

    f.controller.selectPlayerSize(3);

    QCOMPARE(f.dialogs.texts(),
             QStringList{PlayerSizes::malformedEntryMessage(QStringLiteral("bogus size"))});
    QCOMPARE(f.controller.settings().PlayerSize, 1);
    QCOMPARE(f.controller.playerSizes().selectedIndex(), 1);
    QCOMPARE(f.controller.playerSizes().width(), qint16(640));
}

QTEST_GUILESS_MAIN(ReloadPlayerSizesTest)
#include "tst_ReloadPlayerSizes.moc"
