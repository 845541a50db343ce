#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"
#include "settings/AdvancedOptionsFile.h"
#include "settings/PlayerSizesFile.h"

class ConfigFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void sizeEntries_data();
    void sizeEntries();
    void missingSizesFileRaises53();
    void sizesDialogTextGainsOneCrLfPerSave();
    void sizesTextIsWrittenWithCrLf();
    void advancedRead_data();
    void advancedRead();
    void missingAdvancedFileGivesDefaults();
    void advancedWriteKeepsEveryValueOnItsLine();
    void advancedWriteKeepsOldFileWhenFolderIsNotWritable();
    void shippedFilesAreUsable();
};

namespace {

// A configuration folder, as a portable application folder holds it.
struct AppFolder {
    QTemporaryDir dir;
    AppFolder() { QDir(dir.path()).mkdir("config"); }
    QString config() const { return dir.path() + "/config"; }
    QString file(const QString& name) const { return config() + '/' + name; }
};

// The seven values as the file holds them, line 2 as the plain digit.
QStringList asLines(const AdvancedOptions& o) {
    return {o.VideoBuffer,      o.HideControlsFloatingBar ? "1" : "0",
            o.ItemsPlaylist,    o.WidthPlaylist,
            o.PlayListFontSize, o.ErrorFlash,
            o.ErrorHtml5};
}

QString supportFolder() {
    return QStringLiteral(VIDLARK_TEST_DATA) + QStringLiteral("/../support");
}

}  // namespace

void ConfigFilesTest::sizeEntries_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");  // empty: error 9
    QTest::newRow("empty lines skipped") << QByteArray("480x270\r\n\r\n640x360 Widescreen\r\n\r\n")
                                         << QStringList{"480x270", "640x360 Widescreen"};
    QTest::newRow("bare LF") << QByteArray("854x480\n1280x720\n")
                             << QStringList{"854x480", "1280x720"};
    QTest::newRow("no final line break") << QByteArray("854x480") << QStringList{"854x480"};
    QTest::newRow("blanks kept as written")
        << QByteArray(" 320x180  small \r\n") << QStringList{" 320x180  small "};
    QTest::newRow("only empty lines") << QByteArray("\r\n\r\n") << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void ConfigFilesTest::sizeEntries() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    AppFolder app;
    TextFile::writeBytes(app.file("configvws.txt"), bytes);
    try {
        QCOMPARE(PlayerSizesFile::readEntries(app.config()), entries);
        QVERIFY(!entries.isEmpty());
    } catch (const AppError& e) {
        QVERIFY2(entries.isEmpty(), e.what());
        QCOMPARE(e.number(), 9);
    }
}

void ConfigFilesTest::missingSizesFileRaises53() {
    AppFolder app;
    try {
        PlayerSizesFile::readEntries(app.config());
        QFAIL("read a missing sizes file");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), 53);
    }
}

void ConfigFilesTest::sizesDialogTextGainsOneCrLfPerSave() {
    AppFolder app;
    TextFile::writeBytes(app.file("configvws.txt"), "480x270\r\n640x360 Widescreen\r\n");
    for (int save = 0; save < 2; ++save)
        PlayerSizesFile::writeText(app.config(), PlayerSizesFile::readText(app.config()));
    QCOMPARE(TestFiles::readFile(app.file("configvws.txt")),
             QByteArray("480x270\r\n640x360 Widescreen\r\n\r\n\r\n"));
    QCOMPARE(PlayerSizesFile::readEntries(app.config()),
             (QStringList{"480x270", "640x360 Widescreen"}));
}

void ConfigFilesTest::sizesTextIsWrittenWithCrLf() {
    AppFolder app;
    PlayerSizesFile::writeText(app.config(), QString::fromUtf8("480x270\n640x360 Breit\rsmall é"));
    QCOMPARE(TestFiles::readFile(app.file("configvws.txt")),
             QByteArray("480x270\r\n640x360 Breit\r\nsmall \xE9\r\n"));
}

void ConfigFilesTest::advancedRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("problem");
    const QStringList defaults = asLines(AdvancedOptionsFile::defaults());
    const QString incomplete = AdvancedOptionsFile::kIncompleteMessage;
    QTest::newRow("one group") << QByteArray("7\r\n 1 \r\n3\r\n200\r\n12\r\n<b>F</b>\r\nH\r\n")
                               << QStringList{"7", "1", "3", "200", "12", "<b>F</b>", "H"}
                               << QString();
    QTest::newRow("last complete group wins")
        << QByteArray("1\n 0 \n2\n3\n4\n5\n6\n7\n1\n8\n9\n10\n11\n12\nx\ny\n")
        << QStringList{"7", "1", "8", "9", "10", "11", "12"} << QString();
    QTest::newRow("check without blanks and empty texts")
        << QByteArray("5\r\n0\r\n4\r\n250\r\n\r\n\r\n\r\n")
        << QStringList{"5", "0", "4", "250", "", "", ""} << QString();
    QTest::newRow("six lines") << QByteArray("5\r\n 0 \r\n4\r\n250\r\n11\r\nF\r\n") << defaults
                               << incomplete;
    QTest::newRow("empty file") << QByteArray() << defaults << incomplete;
    QTest::newRow("check not a number") << QByteArray("5\r\nyes\r\n4\r\n250\r\n11\r\nF\r\nH\r\n")
                                        << QStringList{"5", "0", "4", "250", "11", "F", "H"}
                                        << AdvancedOptionsFile::kBadCheckMessage;
    QTest::newRow("check of 2") << QByteArray("5\r\n 2 \r\n4\r\n250\r\n11\r\nF\r\nH\r\n")
                                << QStringList{"5", "0", "4", "250", "11", "F", "H"}
                                << AdvancedOptionsFile::kBadCheckMessage;
}

void ConfigFilesTest::advancedRead() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, values);
    QFETCH(QString, problem);
    AppFolder app;
    TextFile::writeBytes(app.file("configsv.txt"), bytes);
    QString reported = QStringLiteral("not touched");
    QCOMPARE(asLines(AdvancedOptionsFile::read(app.config(), &reported)), values);
    QCOMPARE(reported, problem);
}

void ConfigFilesTest::missingAdvancedFileGivesDefaults() {
    AppFolder app;
    QString problem;
    const AdvancedOptions options = AdvancedOptionsFile::read(app.config(), &problem);
    QCOMPARE(asLines(options), asLines(AdvancedOptionsFile::defaults()));
    QCOMPARE(problem, "ADVANCED OPTIONS FILE MISSING OR INCOMPLETE. DEFAULT VALUES ARE IN USE.");
    QVERIFY(options.ErrorFlash.contains("http://get.adobe.com/flashplayer/"));
    QVERIFY(!options.ErrorHtml5.isEmpty());
}

void ConfigFilesTest::advancedWriteKeepsEveryValueOnItsLine() {
    AppFolder app;
    AdvancedOptions options;
    options.VideoBuffer = "9";
    options.HideControlsFloatingBar = true;
    options.ItemsPlaylist = "3";
    options.WidthPlaylist = "300";
    options.PlayListFontSize = "";
    options.ErrorFlash = "<p>No\r\nFlash\rhere\nnow</p>";
    options.ErrorHtml5 = "\r\n\r\n";
    AdvancedOptionsFile::write(app.config(), options);
    QCOMPARE(TestFiles::readFile(app.file("configsv.txt")),
             QByteArray("9\r\n 1 \r\n3\r\n300\r\n\r\n<p>No Flash here now</p>\r\n  \r\n"));
}

void ConfigFilesTest::advancedWriteKeepsOldFileWhenFolderIsNotWritable() {
    AppFolder app;
    const QByteArray old("5\r\n 0 \r\n4\r\n250\r\n11\r\nF\r\nH\r\n");
    TextFile::writeBytes(app.file("configsv.txt"), old);
    const QString config = app.config();
    QFile::setPermissions(config, QFile::ReadOwner | QFile::ExeOwner);
    const bool privileged = QFile(config + "/probe").open(QIODevice::WriteOnly);
    bool refused = false;
    if (!privileged) {
        AdvancedOptions options = AdvancedOptionsFile::defaults();
        options.VideoBuffer = "8";
        try {
            AdvancedOptionsFile::write(app.config(), options);
        } catch (const AppError&) {
            refused = true;
        }
    }
    QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (privileged)
        QSKIP("folder permissions do not apply to this user");
    QVERIFY(refused);
    QCOMPARE(TestFiles::readFile(app.file("configsv.txt")), old);
    QCOMPARE(QDir(config).entryList(QDir::Files), QStringList{"configsv.txt"});
}

void ConfigFilesTest::shippedFilesAreUsable() {
    const QString support = supportFolder();
    QString problem = QStringLiteral("not touched");
    QCOMPARE(asLines(AdvancedOptionsFile::read(support + "/config", &problem)),
             asLines(AdvancedOptionsFile::defaults()));
    QCOMPARE(problem, QString());
    const QStringList sizes = PlayerSizesFile::readEntries(support + "/config");
    QCOMPARE(sizes.first(), "480x270");
    QVERIFY(sizes.contains("640x360 Widescreen"));
    static const QRegularExpression sizeEntry(QStringLiteral("^[1-9][0-9]*x[1-9][0-9]*( .*)?$"));
    for (const QString& size : sizes)
        QVERIFY2(sizeEntry.match(size).hasMatch(), qPrintable(size));
    for (const char* name : {"configsv.txt", "configvws.txt"}) {
        const QByteArray bytes = TestFiles::readFile(support + "/config/" + name);
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    }
}

QTEST_GUILESS_MAIN(ConfigFilesTest)
#include "tst_ConfigFiles.moc"
