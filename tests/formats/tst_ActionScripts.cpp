#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

#include "EndAddresses.h"
#include "OutputFolder.h"
#include "ScriptRun.h"
#include "TestFiles.h"
#include "formats/ActionScriptWriter.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

namespace {

using Writer = OutputFile (*)(const ActionScriptWriter::Input&);

struct Run : OutputFolder {
    ActionScriptWriter::Input input{outputFolder(), QStringLiteral("a0732"), false,
                                    QStringLiteral("http://www.example.com/thanks.html")};
    QString script() const { return outFile("zevoacton" + input.tag + ".js"); }
};

// A page with the HTML5 container (or without, for a Flash-only page) whose video then ends.
QJsonObject page(bool html5) {
    const QJsonArray present = html5 ? QJsonArray{"vDiva0732"} : QJsonArray();
    return {{"present", present},
            {"xml", QJsonObject()},
            {"videos", QJsonArray()},
            {"fire", QJsonArray{"vDiva0732"}}};
}

}  // namespace

Q_DECLARE_METATYPE(Writer)

class ActionScriptsTest : public QObject {
    Q_OBJECT

  private slots:
    void goldenFiles_data();
    void goldenFiles();
    void deletesOnlyEarlierActionScripts_data();
    void deletesOnlyEarlierActionScripts();
    void redirectKeepsSurroundingBlanks();
    void redirectReachesThePageAsTyped_data();
    void redirectReachesThePageAsTyped();
    void redirectOpensOnlyPageAddresses_data();
    void redirectOpensOnlyPageAddresses();
};

void ActionScriptsTest::goldenFiles_data() {
    QTest::addColumn<Writer>("writer");
    QTest::addColumn<QString>("golden");
    QTest::newRow("redirect") << Writer(&ActionScriptWriter::redirectActionScript)
                              << "formats/action_redirect.js";
    QTest::newRow("show") << Writer(&ActionScriptWriter::showActionScript)
                          << "formats/action_show.js";
}

void ActionScriptsTest::goldenFiles() {
    QFETCH(Writer, writer);
    QFETCH(QString, golden);
    Run run;
    OutputFile::write(writer(run.input));
    QCOMPARE(run.files(), QStringList{"zevoactona0732.js"});
    COMPARE_GOLDEN(TestFiles::readFile(run.script()), golden);
}

void ActionScriptsTest::deletesOnlyEarlierActionScripts_data() {
    goldenFiles_data();
}

void ActionScriptsTest::deletesOnlyEarlierActionScripts() {
    QFETCH(Writer, writer);
    Run run;
    const QStringList earlier{"zevoacton.js", "zevoactona0000.js", "zevoactona0731.js"};
    const QStringList unrelated{"zevoactona0000.txt", "zevocoresva0000.js", "zevoflashsva0000.js",
                                "zevohtml5sva0000.js"};
    for (const QString& name : earlier + unrelated)
        TextFile::writeLines(run.outDir.filePath(name), {"earlier run"});
    // The other variant of an earlier run goes as well.
    OutputFile::write(ActionScriptWriter::showActionScript(run.input));
    run.input.tag = QStringLiteral("a0801");
    OutputFile::write(writer(run.input));
    QStringList expected = unrelated;
    expected << "zevoactona0801.js";
    expected.sort();
    QCOMPARE(run.files(), expected);
    QVERIFY(TestFiles::readFile(run.script()).contains("vDiva0801"));
}

void ActionScriptsTest::redirectKeepsSurroundingBlanks() {
    Run run;
    run.input.redirectUrl = QStringLiteral("  http://www.example.com/next.html ");
    OutputFile::write(ActionScriptWriter::redirectActionScript(run.input));
    QCOMPARE(TestFiles::readFile(run.script()).split('\n').value(1),
             QByteArray("function hndVidEnd(e){if(!e){e=window.event;}"
                        "var u=\"  http://www.example.com/next.html \";"
                        "if(sUa0732(u)){window.location=u;}}\r"));
}

void ActionScriptsTest::redirectReachesThePageAsTyped_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("html5");
    QTest::newRow("plain") << "http://www.example.com/thanks.html" << true;
    QTest::newRow("blanks") << " http://www.example.com/thanks.html  " << true;
    QTest::newRow("double quote") << "http://www.example.com/?q=\"best\"" << true;
    QTest::newRow("backslash, apostrophe, </") << "http://x.example.com/a\\b'c</script>" << true;
    QTest::newRow("line break") << "http://x.example.com/\r\nnext" << true;
    QTest::newRow("Windows-1252 letters")
        << QString::fromUtf8("http://x.example.com/café–€") << true;
    QTest::newRow("Flash-only page") << "http://www.example.com/thanks.html" << false;
}

void ActionScriptsTest::redirectReachesThePageAsTyped() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    QFETCH(QString, url);
    QFETCH(bool, html5);
    Run run;
    run.input.redirectUrl = url;
    OutputFile::write(ActionScriptWriter::redirectActionScript(run.input));
    const QJsonObject seen = ScriptRun::run(run.script(), page(html5));
    VERIFY_SCRIPT_RAN(seen);
    // Without the HTML5 container the handler is not attached; the Flash player redirects itself.
    QCOMPARE(seen["listeners"].toArray(), html5 ? QJsonArray{"vDiva0732:ended"} : QJsonArray());
    QCOMPARE(seen["location"].toString(), html5 ? url : QStringLiteral("unchanged"));
}

void ActionScriptsTest::redirectOpensOnlyPageAddresses_data() {
    EndAddresses::addRows();
}

void ActionScriptsTest::redirectOpensOnlyPageAddresses() {
    if (!ScriptRun::nodeAvailable())
        QSKIP("node is not installed");
    QFETCH(QString, address);
    QFETCH(bool, opens);
    Run run;
    run.input.redirectUrl = address;
    OutputFile::write(ActionScriptWriter::redirectActionScript(run.input));
    const QJsonObject seen = ScriptRun::run(run.script(), page(true));
    VERIFY_SCRIPT_RAN(seen);
    QCOMPARE(seen["location"].toString(), opens ? address : QStringLiteral("unchanged"));
}

QTEST_GUILESS_MAIN(ActionScriptsTest)
#include "tst_ActionScripts.moc"
