#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "GenerationInputs.h"
#include "generate/GenerationDriver.h"
#include "generate/RunDecisions.h"
#include "platform/OutputFile.h"

class RunDecisionsTest : public QObject {
    Q_OBJECT

  private slots:
    void decidedOnce_data();
    void decidedOnce();
    void filesInWritingOrder_data();
    void filesInWritingOrder();
};

void RunDecisionsTest::decidedOnce_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<double>("uniform");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("ids");  // video, list, list scroll
    const QString e = QStringLiteral("earlier");
    QTest::newRow("single, Flash only")
        << false << false << 0.25 << 2501 * 89 << QStringList{e, e, e};
    QTest::newRow("single, HTML5") << false << true << 0.0 << 89 << QStringList{"vDiva0732", e, e};
    QTest::newRow("playlist, HTML5") << true << true << 0.99999999 << 970000
                                     << QStringList{"vDiva0732", "pDiva0732", "pDivSca0732"};
    QTest::newRow("playlist, Flash only")
        << true << false << 0.5 << 5001 * 97 << QStringList{e, e, e};
}

// One draw of the random source per run; the containers get ids only when an HTML5 script is
// written, and otherwise keep an earlier run's, as every field a run does not set.
void RunDecisionsTest::decidedOnce() {
    QFETCH(bool, playlist);
    QFETCH(bool, html5);
    QFETCH(double, uniform);
    QFETCH(int, code);
    QFETCH(QStringList, ids);
    GenerationInputs in;
    in.snapshot.GenerationTag = QStringLiteral("a0732");
    in.snapshot.UseHtml5 = html5;
    in.snapshot.VideoDivId = in.snapshot.ListDivId = in.snapshot.ListScrollId = "earlier";
    in.random.values << uniform << 0.75;  // a second draw would give another code
    RunDecisions::decide(in.snapshot, playlist, in.random);
    QCOMPARE(in.snapshot.VideoModeCode, code);
    QCOMPARE(in.random.reseeds, 1);
    QCOMPARE(in.random.values.size(), 1);
    QCOMPARE((QStringList{in.snapshot.VideoDivId, in.snapshot.ListDivId, in.snapshot.ListScrollId}),
             ids);
}

void RunDecisionsTest::filesInWritingOrder_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QStringList>("files");  // path below the run's folders, (files replaced)
    const QString config = QStringLiteral("out/zevoconfigsv.xml");
    const QString testConfig = QStringLiteral("app/temp/zevoconfigsv.xml");
    const QString core = QStringLiteral("out/zevocoresva0709.js (zevocoresv*.js)");
    const QString flash = QStringLiteral("out/zevoflashsva0709.js (zevoflashsv*.js)");
    const QString html5 = QStringLiteral("out/zevohtml5sva0709.js (zevohtml5*.js)");
    const QString action = QStringLiteral("out/zevoactona0709.js (zevoacton*.js)");
    const QString pages[] = {QStringLiteral("out/onlinetest.html"),
                             QStringLiteral("app/temp/do-not-upload.html")};
    QTest::newRow("single video") << "" << QStringList{config, testConfig, core,
                                                       flash,  pages[0],   pages[1]};
    QTest::newRow("single video, HTML5")
        << "html5" << QStringList{config, testConfig, html5, core, flash, pages[0], pages[1]};
    QTest::newRow("playlist, HTML5")
        << "playlist html5"
        << QStringList{config, testConfig, html5,    "out/zevostyle.css (zevostyle.css)",
                       core,   flash,      pages[0], pages[1]};
    QTest::newRow("action code, embedding allowed")
        << "action embed"
        << QStringList{config, testConfig, core, flash, action, "out/code.txt", pages[0], pages[1]};
    QTest::newRow("redirect") << "redirect" << QStringList{config, testConfig, core,    flash,
                                                           action, pages[0],   pages[1]};
}

// Every file of a run is made before the first is written, so making them touches nothing: the
// folders here do not exist and are not created.
void RunDecisionsTest::filesInWritingOrder() {
    QFETCH(QString, scenario);
    QFETCH(QStringList, files);
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("missing")) + QLatin1Char('/');
    GenerationInputs in;
    in.snapshot.GenerationTag = QStringLiteral("a0709");
    in.snapshot.ServerPath = in.snapshot.VideoPath = QStringLiteral("http://example.com/");
    in.snapshot.PlayerWidth = 480;
    in.snapshot.PlayerHeight = 270;
    in.snapshot.UseHtml5 = scenario.contains(QLatin1String("html5"));
    in.settings.Multiple = scenario.contains(QLatin1String("playlist"));
    in.settings.ShowEmbedCode = scenario.contains(QLatin1String("embed"));
    in.snapshot.HasActionCode = scenario.contains(QLatin1String("action"));
    if (scenario.contains(QLatin1String("redirect")))
        in.settings.RedirectURL = QStringLiteral("http://example.com/next");
    const GenerationContext ctx =
        in.context(QStringLiteral("Skin-30-dark"), root + "out/", AppPaths::portable(root + "app"));

    QStringList made;
    for (const OutputFile& file : GenerationDriver::outputFiles(ctx)) {
        QVERIFY2(file.path.startsWith(root), qPrintable(file.path));
        QString entry = file.path.mid(root.size());
        if (!file.replaces.isEmpty())
            entry += " (" + file.replaces + ")";
        made << entry;
        QVERIFY(!file.content.isEmpty());
    }
    QCOMPARE(made, files);
    QVERIFY(!QFileInfo::exists(root));
}

QTEST_GUILESS_MAIN(RunDecisionsTest)
#include "tst_RunDecisions.moc"
