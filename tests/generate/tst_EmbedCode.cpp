#include <QtTest>

#include "CoreScriptFixture.h"
#include "TestFiles.h"
#include "generate/EmbedCodeBuilder.h"

class EmbedCodeTest : public QObject {
    Q_OBJECT

  private slots:
    void plain_data();
    void plain();
    void escapedMatchesGolden_data();
    void escapedMatchesGolden();
    void escapedWritesTheCoreScriptInclude();
    void addressStaysInsideItsAttribute();
};

namespace {

const QString kInclude = QStringLiteral(
    "<script type=\"text/javascript\" "
    "src=\"http://www.example.com/videos/zevocoresva0709.js\"></script>");
const QString kStylesheet = QStringLiteral(
    "<link rel=\"stylesheet\" href=\"http://www.example.com/videos/zevostyle.css\" "
    "type=\"text/css\">");

}  // namespace

void EmbedCodeTest::plain_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QString>("code");
    QTest::newRow("single") << false << false << kInclude;
    QTest::newRow("single, HTML5") << false << true << kInclude;
    QTest::newRow("playlist") << true << false << kInclude;
    QTest::newRow("playlist, HTML5") << true << true << kStylesheet + "\r\n" + kInclude;
}

void EmbedCodeTest::plain() {
    QFETCH(bool, playlist);
    QFETCH(bool, html5);
    QFETCH(QString, code);
    CoreScriptFixture f;
    f.settings.Multiple = playlist;
    f.snapshot.UseHtml5 = html5;
    QCOMPARE(EmbedCodeBuilder::build(f.ctx()), code);
}

void EmbedCodeTest::escapedMatchesGolden_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<bool>("html5");
    QTest::addColumn<QString>("golden");
    QTest::newRow("single") << false << false << "generate/embed_escaped_single.txt";
    QTest::newRow("single, HTML5") << false << true << "generate/embed_escaped_single.txt";
    QTest::newRow("playlist") << true << false << "generate/embed_escaped_single.txt";
    QTest::newRow("playlist, HTML5") << true << true << "generate/embed_escaped_playlist_html5.txt";
}

void EmbedCodeTest::escapedMatchesGolden() {
    QFETCH(bool, playlist);
    QFETCH(bool, html5);
    QFETCH(QString, golden);
    CoreScriptFixture f;
    f.settings.Encrypt = true;
    f.settings.Multiple = playlist;
    f.snapshot.UseHtml5 = html5;
    COMPARE_GOLDEN(EmbedCodeBuilder::build(f.ctx()).toLatin1(), golden);
}

void EmbedCodeTest::escapedWritesTheCoreScriptInclude() {
    CoreScriptFixture f;
    f.settings.Encrypt = true;
    const QStringList lines = EmbedCodeBuilder::build(f.ctx()).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[1].startsWith(QStringLiteral("document.write(unescape(\"")));
    QVERIFY(!lines[1].contains(QLatin1String("script")));
    const NodeRun run = runInNode(lines[1].toLatin1(), QStringLiteral("x"));
    REQUIRE_NODE(run);
    QCOMPARE(run.html, QStringLiteral(" <script type=\"text/javascript\"  "
                                      "src=\"http://www.example.com/videos/zevocoresva0709.js\">"
                                      "</script>"));
}

void EmbedCodeTest::addressStaysInsideItsAttribute() {
    CoreScriptFixture f;
    f.settings.Multiple = true;
    f.snapshot.UseHtml5 = true;
    f.snapshot.ServerPath = QString::fromUtf8("http://example.com/\"x\"&<é>/");
    const QString server = "http://example.com/&quot;x&quot;&amp;&lt;&#233;&gt;/";
    QCOMPARE(EmbedCodeBuilder::build(f.ctx()),
             "<link rel=\"stylesheet\" href=\"" + server +
                 "zevostyle.css\" type=\"text/css\">\r\n<script type=\"text/javascript\" src=\"" +
                 server + "zevocoresva0709.js\"></script>");
}

QTEST_GUILESS_MAIN(EmbedCodeTest)
#include "tst_EmbedCode.moc"
