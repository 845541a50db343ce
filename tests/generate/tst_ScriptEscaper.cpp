#include <QtTest>

#include "CoreScriptFixture.h"
#include "generate/GenerationTag.h"
#include "generate/ScriptEscaper.h"
#include "platform/Cp1252.h"

class ScriptEscaperTest : public QObject {
    Q_OBJECT

  private slots:
    void escape_data();
    void escape();
    void lengthIsFourPerCharacterPlus29();
    void browserWritesTheTextAsTyped();
    void tag_data();
    void tag();
};

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

QString statement(const char* escapes) {
    return QStringLiteral("document.write(unescape(\"") + QLatin1String(escapes) +
           QStringLiteral("\"));");
}

}  // namespace

void ScriptEscaperTest::escape_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("ab") << "ab" << statement("\\x61\\x62");
    QTest::newRow("blank") << " " << statement("\\x20");
    QTest::newRow("tab") << "\t" << statement("\\x09");
    QTest::newRow("upper A") << "A" << statement("\\x41");
    QTest::newRow("bracket, lower-case hex") << "[" << statement("\\x5b");
    QTest::newRow("e acute") << u8("é") << statement("\\xe9");
    QTest::newRow("y diaeresis") << u8("ÿ") << statement("\\xff");
    QTest::newRow("CR LF stays on the line") << "\r\n" << statement("\\x0d\\x0a");
    QTest::newRow("quote and backslash") << "\"\\" << statement("\\x22\\x5c");
    QTest::newRow("script end") << "</script>"
                                << statement("\\x3c\\x2f\\x73\\x63\\x72\\x69\\x70\\x74\\x3e");
    // unescape() would decode a typed "%20"; "%25" survives it as "%".
    QTest::newRow("percent") << "%20" << statement("\\x25\\x32\\x35\\x32\\x30");
    // Windows-1252 bytes 0x80..0x9F are other characters than U+0080..U+009F.
    QTest::newRow("euro") << u8("€") << statement("\\u20ac");
    QTest::newRow("typographic quotes and dash") << u8("“–”") << statement("\\u201c\\u2013\\u201d");
    QTest::newRow("unassigned 0x81") << QString(QChar(0x81)) << statement("\\x81");
    // Outside the code page the character keeps its own escape instead of becoming "?".
    QTest::newRow("not in code page") << u8("ж") << statement("\\u0436");
    QTest::newRow("outside the basic plane: both halves")
        << u8("a😀b") << statement("\\x61\\ud83d\\ude00\\x62");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("already escaped") << "x" + statement("\\x61") << "";
    QTest::newRow("marker at the end") << "<p>document.write(unescape(\"\\x"
                                       << "";
    QTest::newRow("marker in other case is text") << "Document.write(unescape(\"\\x"
                                                  << statement(
                                                         "\\x44\\x6f\\x63\\x75\\x6d\\x65\\x6e"
                                                         "\\x74\\x2e\\x77\\x72\\x69\\x74\\x65"
                                                         "\\x28\\x75\\x6e\\x65\\x73\\x63\\x61"
                                                         "\\x70\\x65\\x28\\x22\\x5c\\x78");
}

void ScriptEscaperTest::escape() {
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(ScriptEscaper::escape(text), escaped);
}

void ScriptEscaperTest::lengthIsFourPerCharacterPlus29() {
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QChar(u"<a href=\"x\">Buy\r\n</a>"[i % 21]);
    const QString escaped = ScriptEscaper::escape(text);
    QCOMPARE(escaped.size(), 4029);
    QVERIFY(!escaped.contains(u'\r') && !escaped.contains(u'\n'));
    QVERIFY(escaped.startsWith(QStringLiteral("document.write(unescape(\"\\x3c\\x61\\x20")));
    QVERIFY(escaped.endsWith(QStringLiteral("\\x42\"));")));  // character 999 is the B of Buy
}

// Every Windows-1252 character, and the text an action code typically holds, comes out of the
// JavaScript engine exactly as typed.
void ScriptEscaperTest::browserWritesTheTextAsTyped() {
    QString text =
        u8("<a href=\"http://shop.example.com/my%20cart?q=%u0041&x=1\">Buy “now” – €5</a>\r\n"
           "<p class='x'>done</p>");
    for (int b = 1; b < 256; ++b)
        text += QChar(Cp1252::decodeByte(static_cast<unsigned char>(b)));
    const NodeRun run = runInNode(ScriptEscaper::escape(text).toLatin1(), QStringLiteral("x"));
    REQUIRE_NODE(run);
    QCOMPARE(run.html, text);
}

void ScriptEscaperTest::tag_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("tag");
    QTest::newRow("14:07:09") << QTime(14, 7, 9) << "a0709";
    QTest::newRow("an hour later, same tag") << QTime(15, 7, 9) << "a0709";
    QTest::newRow("midnight") << QTime(0, 0, 0) << "a0000";
    QTest::newRow("23:59:59") << QTime(23, 59, 59) << "a5959";
    QTest::newRow("milliseconds ignored") << QTime(10, 30, 5, 999) << "a3005";
}

void ScriptEscaperTest::tag() {
    QFETCH(QTime, time);
    QFETCH(QString, tag);
    QCOMPARE(GenerationTag::fromTime(time), tag);
}

QTEST_GUILESS_MAIN(ScriptEscaperTest)
#include "tst_ScriptEscaper.moc"
