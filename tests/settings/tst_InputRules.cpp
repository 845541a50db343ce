#include <QtTest>

#include "settings/InputRules.h"

class InputRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void keyFilters_data();
    void keyFilters();
};

void InputRulesTest::keyFilters_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QChar>("typed");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("accepted");
    const QChar bs = InputRules::kBackspace;
    auto row = [](const char* name, const char* control, const char* current, QChar typed,
                  int selected, bool accepted) {
        QTest::newRow(name) << QString::fromLatin1(control) << QString::fromLatin1(current) << typed
                            << selected << accepted;
    };
    row("audio digit", "txtAudioLevel", "", u'7', 0, true);
    row("audio letter", "txtAudioLevel", "5", u'a', 0, false);
    row("audio minus", "txtAudioLevel", "", u'-', 0, false);
    row("audio third digit", "txtAudioLevel", "10", u'0', 0, true);
    row("audio fourth digit", "txtAudioLevel", "100", u'0', 0, false);
    row("audio fourth digit over a selection", "txtAudioLevel", "100", u'5', 1, true);
    row("audio backspace when full", "txtAudioLevel", "100", bs, 0, true);
    row("colour upper hex", "txtPlayerColor", "63", u'E', 0, true);
    row("colour lower hex", "txtPlayerColor", "63", u'f', 0, true);
    row("colour G", "txtPlayerColor", "63", u'G', 0, false);
    row("colour hash", "txtPlayerColor", "", u'#', 0, false);
    row("colour sixth digit", "txtPlayerColor", "630E0", u'E', 0, true);
    row("colour seventh digit", "txtPlayerColor", "630E0E", u'0', 0, false);
    row("buffer zero", "txtVideoBuffer", "", u'0', 0, false);
    row("buffer zero after one", "txtVideoBuffer", "1", u'0', 0, false);
    row("buffer nine", "txtVideoBuffer", "", u'9', 0, true);
    row("buffer third digit", "txtVideoBuffer", "99", u'1', 0, false);
    row("buffer backspace", "txtVideoBuffer", "", bs, 0, true);
    row("items zero", "txtItemsPlaylist", "", u'0', 0, false);
    row("items one", "txtItemsPlaylist", "", u'1', 0, false);
    row("items two", "txtItemsPlaylist", "", u'2', 0, true);
    row("items third digit", "txtItemsPlaylist", "22", u'2', 0, false);
    row("width zero", "txtWidthPlaylist", "25", u'0', 0, true);
    row("width fourth digit", "txtWidthPlaylist", "250", u'0', 0, false);
    row("width blank", "txtWidthPlaylist", "", u' ', 0, false);
    row("font digit", "txtPlayListFontSize", "1", u'1', 0, true);
    row("font fourth digit", "txtPlayListFontSize", "111", u'1', 0, false);
    row("font letter", "txtPlayListFontSize", "", u'x', 0, false);
    row("box without a filter", "txtServerPath", "http://", u'x', 0, true);
}

void InputRulesTest::keyFilters() {
    QFETCH(QString, control);
    QFETCH(QString, current);
    QFETCH(QChar, typed);
    QFETCH(int, selected);
    QFETCH(bool, accepted);
    QCOMPARE(InputRules::accepts(control, current, typed, selected), accepted);
}

QTEST_GUILESS_MAIN(InputRulesTest)
#include "tst_InputRules.moc"
