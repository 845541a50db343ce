#include <QXmlStreamReader>
#include <QtTest>

#include "formats/Escaping.h"

class EscapingTest : public QObject {
    Q_OBJECT

  private slots:
    void escapes_data();
    void escapes();
    void attributeReadsBackAsTyped();
};

void EscapingTest::escapes_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    const QString plain = QStringLiteral("http://example.com/a-b_c.flv?x=1");
    for (const char* kind : {"text", "attr", "js'", "js\"", "query"})
        QTest::addRow("%s: plain text unchanged", kind) << kind << plain << plain;
    QTest::newRow("text: markup") << "text"
                                  << "a & <b> \"q\""
                                  << "a &amp; &lt;b&gt; \"q\"";
    QTest::newRow("attr: markup and quote") << "attr"
                                            << "a & <b> \"q\""
                                            << "a &amp; &lt;b&gt; &quot;q&quot;";
    QTest::newRow("attr: line breaks and tab") << "attr"
                                               << "a\r\nb\tc"
                                               << "a&#13;&#10;b&#9;c";
    QTest::newRow("text: line breaks stay") << "text"
                                            << "a\r\nb"
                                            << "a\r\nb";
    QTest::newRow("js': apostrophe, backslash, breaks, end tag")
        << "js'"
        << "It's C:\\x\r\n</script>"
        << "It\\'s C:\\\\x\\r\\n<\\/script>";
    QTest::newRow("js': double quote stays") << "js'"
                                             << "say \"hi\""
                                             << "say \"hi\"";
    QTest::newRow("js\": double quote escaped, apostrophe stays") << "js\""
                                                                  << "say \"hi\" it's"
                                                                  << "say \\\"hi\\\" it's";
    QTest::newRow("js': lone < stays") << "js'"
                                       << "a < b"
                                       << "a < b";
    QTest::newRow("query: reserved characters")
        << "query"
        << "Tom & Jerry's #1 \"best\" 100%+"
        << "Tom%20%26%20Jerry%27s%20%231%20%22best%22%20100%25%2B";
    QTest::newRow("query: non-ASCII as UTF-8")
        << "query" << QString::fromUtf8("Café €") << "Caf%C3%A9%20%E2%82%AC";
    QTest::newRow("query: beyond the basic plane")
        << "query" << QString::fromUtf8("😀") << "%F0%9F%98%80";
    // Readers take the files in character sets we do not know: beyond ASCII, references.
    QTest::newRow("text: beyond ASCII")
        << "text" << QString::fromUtf8("Café 视频 😀") << "Caf&#233; &#35270;&#39057; &#128512;";
    QTest::newRow("attr: beyond ASCII") << "attr" << QString::fromUtf8("€ ж") << "&#8364; &#1078;";
    QTest::newRow("js': beyond ASCII")
        << "js'" << QString::fromUtf8("é€ ж😀") << "\\u00e9\\u20ac \\u0436\\ud83d\\ude00";
}

void EscapingTest::escapes() {
    QFETCH(QString, kind);
    QFETCH(QString, input);
    QString out;
    if (kind == "text")
        out = Escaping::xmlText(input);
    else if (kind == "attr")
        out = Escaping::xmlAttribute(input);
    else if (kind == "js'")
        out = Escaping::jsString(input, u'\'');
    else if (kind == "js\"")
        out = Escaping::jsString(input, u'"');
    else
        out = Escaping::queryValue(input);
    QTEST(out, "output");
}

void EscapingTest::attributeReadsBackAsTyped() {
    const QString typed = QStringLiteral("Line one\r\nLine \"two\"\t& <three>");
    QXmlStreamReader xml(QStringLiteral("<v title=\"%1\"/>").arg(Escaping::xmlAttribute(typed)));
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.attributes().value(QStringLiteral("title")).toString(), typed);
    const QString foreign = QString::fromUtf8("Москва 😀");
    QXmlStreamReader back(QStringLiteral("<v t=\"%1\"/>").arg(Escaping::xmlAttribute(foreign)));
    QVERIFY(back.readNextStartElement());
    QCOMPARE(back.attributes().value(QStringLiteral("t")).toString(), foreign);
}

QTEST_GUILESS_MAIN(EscapingTest)
#include "tst_Escaping.moc"
