#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "appearance/SkinList.h"
#include "platform/AppError.h"

class SkinListTest : public QObject {
    Q_OBJECT

  private slots:
    void listsSkinsAlphabetically();
    void missingFolderListsNothing();
    void skinAllowance_data();
    void skinAllowance();
    void floatSkins_data();
    void floatSkins();
};

namespace {

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

void SkinListTest::listsSkinsAlphabetically() {
    QTemporaryDir app;
    QVERIFY(QDir(app.path()).mkpath("swfs/folder.swf"));
    for (const char* name :
         {"zeta-30-dark.swf", "Alpha-25.swf", "beta-30-float.swf", "beta-30-float.jpg",
          "Gamma-30.swf", "zevoseek.php", "notaskin.swf.bak", "old.SWF"})
        touch(app.filePath(QStringLiteral("swfs/") + name));
    QCOMPARE(SkinList::list(app.path()),
             (QStringList{"Alpha-25", "beta-30-float", "Gamma-30", "old", "zeta-30-dark"}));
}

void SkinListTest::missingFolderListsNothing() {
    QTemporaryDir app;
    QVERIFY(SkinList::list(app.path()).isEmpty());
}

void SkinListTest::skinAllowance_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("allowance");  // or -error number
    QTest::newRow("two digits") << "Skin-30-dark" << 30;
    QTest::newRow("leading zero") << "Skin-05" << 5;
    QTest::newRow("letters") << "Skin-ab-dark" << -13;
    QTest::newRow("one digit one letter") << "Skin-3x" << -13;
    QTest::newRow("short") << "Skin" << -13;
    QTest::newRow("only character 6") << "Skin-7" << 7;
    QTest::newRow("empty") << "" << -13;
}

void SkinListTest::skinAllowance() {
    QFETCH(QString, name);
    QFETCH(int, allowance);
    try {
        QCOMPARE(int(SkinList::skinAllowance(name)), allowance);
    } catch (const AppError& e) {
        QCOMPARE(-e.number(), allowance);
    }
}

void SkinListTest::floatSkins_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isFloat");
    QTest::newRow("float") << "Skin-30-float" << true;
    QTest::newRow("capital F") << "Skin-30-Float" << false;
    QTest::newRow("none") << "Skin-30-dark" << false;
}

void SkinListTest::floatSkins() {
    QFETCH(QString, name);
    QFETCH(bool, isFloat);
    QCOMPARE(SkinList::isFloat(name), isFloat);
}

QTEST_GUILESS_MAIN(SkinListTest)
#include "tst_SkinList.moc"
