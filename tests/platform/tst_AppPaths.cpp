#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/TextFile.h"

// Where a program finds its files: a folder with a writable temp/ keeps everything in it (the
// build folder); any other program folder is an installation, read from beside the program and
// never written, with each user's files in that user's XDG folders.
class AppPathsTest : public QObject {
    Q_OBJECT

  private slots:
    void layout_data();
    void layout();
    void readOnlyTempIsAnInstallation();
    void prepareFillsTheUsersFoldersOnce();
    void prepareNamesWhatCannotBeMade();
};

namespace {

// A root with usr/bin (the programs) and a home.
struct Tree {
    QTemporaryDir dir;
    QString root() const { return dir.path(); }
    QString bin() const { return root() + "/usr/bin"; }
    QString home() const { return root() + "/home/ann"; }
    Tree() {
        QDir().mkpath(bin());
        QDir().mkpath(home());
        QDir().mkpath(root() + "/usr/share/vidlark/config");
        TextFile::writeBytes(root() + "/usr/share/vidlark/config/configsv.txt",
                             "shipped options\r\n");
        TextFile::writeBytes(root() + "/usr/share/vidlark/config/configvws.txt", "480x270\r\n");
    }
};

}  // namespace

void AppPathsTest::layout_data() {
    QTest::addColumn<bool>("tempFolder");  // bin/temp/ exists
    QTest::addColumn<QString>("xdgConfig");
    QTest::addColumn<QString>("xdgCache");
    // config, scratch, lock, data, modules, with "@" for the root
    QTest::addColumn<QStringList>("expected");

    const QStringList installedDefaults{
        "@/home/ann/.config/vidlark", "@/home/ann/.cache/vidlark/temp",
        "@/home/ann/.cache/vidlark/vidlark.lock", "@/usr/bin/" VIDLARK_DATA_FROM_PROGRAMS,
        "@/usr/bin/" VIDLARK_MODULES_FROM_PROGRAMS};
    QTest::newRow("portable") << true << ""
                              << ""
                              << QStringList{"@/usr/bin/config", "@/usr/bin/temp", "", "@/usr/bin",
                                             "@/usr/bin"};
    QTest::newRow("installed, XDG unset") << false << ""
                                          << "" << installedDefaults;
    QTest::newRow("installed, XDG relative: ignored") << false << "conf"
                                                      << "cache" << installedDefaults;
    QTest::newRow("installed, XDG set")
        << false << "@/xdg/conf/"
        << "@/xdg/cache"
        << QStringList{"@/xdg/conf/vidlark", "@/xdg/cache/vidlark/temp",
                       "@/xdg/cache/vidlark/vidlark.lock", "@/usr/bin/" VIDLARK_DATA_FROM_PROGRAMS,
                       "@/usr/bin/" VIDLARK_MODULES_FROM_PROGRAMS};
}

void AppPathsTest::layout() {
    QFETCH(bool, tempFolder);
    QFETCH(QString, xdgConfig);
    QFETCH(QString, xdgCache);
    QFETCH(QStringList, expected);
    Tree tree;
    if (tempFolder)
        QVERIFY(QDir().mkpath(tree.bin() + "/temp"));
    const auto rooted = [&tree](QString s) { return s.replace('@', tree.root()); };
    const AppPaths paths =
        AppPaths::locate(tree.bin(), tree.home(), rooted(xdgConfig), rooted(xdgCache));
    QCOMPARE(paths.installed, !tempFolder);
    QCOMPARE(paths.programs, tree.bin());
    QCOMPARE(paths.config, rooted(expected[0]));
    QCOMPARE(paths.scratch, rooted(expected[1]));
    if (!expected[2].isEmpty())  // a portable folder keeps the lock where it always was
        QCOMPARE(paths.lock, rooted(expected[2]));
    QCOMPARE(paths.data, QDir::cleanPath(rooted(expected[3])));
    QCOMPARE(paths.modules, QDir::cleanPath(rooted(expected[4])));
}

void AppPathsTest::readOnlyTempIsAnInstallation() {
    if (::geteuid() == 0)
        QSKIP("folder permissions do not apply to root");
    Tree tree;
    QVERIFY(QDir().mkpath(tree.bin() + "/temp"));
    QVERIFY(QFile::setPermissions(tree.bin() + "/temp", QFile::ReadOwner | QFile::ExeOwner));
    const AppPaths paths = AppPaths::locate(tree.bin(), tree.home(), {}, {});
    QFile::setPermissions(tree.bin() + "/temp",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(paths.installed);
}

void AppPathsTest::prepareFillsTheUsersFoldersOnce() {
    Tree tree;
    const AppPaths paths = AppPaths::locate(tree.bin(), tree.home(), {}, {});
    paths.prepare();
    QVERIFY(QFileInfo(paths.scratch).isDir());
    QCOMPARE(TestFiles::readFile(paths.config + "/configsv.txt"), "shipped options\r\n");
    QCOMPARE(TestFiles::readFile(paths.config + "/configvws.txt"), "480x270\r\n");

    // The user's own file stays; a missing one is filled again.
    TextFile::writeBytes(paths.config + "/configvws.txt", "640x360\r\n");
    QVERIFY(QFile::remove(paths.config + "/configsv.txt"));
    paths.prepare();
    QCOMPARE(TestFiles::readFile(paths.config + "/configvws.txt"), "640x360\r\n");
    QCOMPARE(TestFiles::readFile(paths.config + "/configsv.txt"), "shipped options\r\n");

    // Nothing is written into the installation.
    QCOMPARE(QDir(tree.root() + "/usr/share/vidlark/config").entryList(QDir::Files),
             (QStringList{"configsv.txt", "configvws.txt"}));
    QCOMPARE(QDir(tree.bin()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
}

void AppPathsTest::prepareNamesWhatCannotBeMade() {
    Tree tree;
    // A file where the configuration folder should be.
    TextFile::writeBytes(tree.home() + "/.config", "not a folder");
    const AppPaths paths = AppPaths::locate(tree.bin(), tree.home(), {}, {});
    try {
        paths.prepare();
        QFAIL("made a folder under a file");
    } catch (const AppError& error) {
        QCOMPARE(error.path(), tree.home() + "/.config/vidlark");
    }
}

QTEST_GUILESS_MAIN(AppPathsTest)
#include "tst_AppPaths.moc"
