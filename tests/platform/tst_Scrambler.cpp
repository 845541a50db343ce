#include <QtTest>

#include "platform/AppError.h"
#include "platform/Cp1252.h"
#include "platform/Scrambler.h"

// Expected codes are worked out by hand from the key "morvelquist":
// m 109, o 111, r 114, v 118, e 101, l 108, q 113, u 117, i 105, s 115, t 116.
class ScramblerTest : public QObject {
    Q_OBJECT

  private slots:
    void scramble_data();
    void scramble();
    void unscramble_data();
    void unscramble();
    void roundTripsEveryCodeAtEveryKeyPosition();
    void longTextRaisesOverflow();
    void unscrambleOfForeignTextNeverFails();
    void lineBreakIndex_data();
    void lineBreakIndex();
};

namespace {

QString fromCodes(const QByteArray& codes) {
    return Cp1252::decode(codes);
}

}  // namespace

void ScramblerTest::scramble_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("codes");
    const QString key = Scrambler::kScrambleKey;
    QTest::newRow("empty text") << "" << key << QByteArray();
    // 65 + o(111) = 176: the first character is shifted by the second key character.
    QTest::newRow("one character") << "A" << key << QByteArray("\xB0");
    QTest::newRow("eleven characters end on the first key character")
        << "aaaaaaaaaaa" << key << QByteArray("\xD0\xD3\xD7\xC6\xCD\xD2\xD6\xCA\xD4\xD5\xCE");
    QTest::newRow("twelfth character wraps to the second key character")
        << "aaaaaaaaaaaa" << key << QByteArray("\xD0\xD3\xD7\xC6\xCD\xD2\xD6\xCA\xD4\xD5\xCE\xD0");
    // U+2018 is code 145; 145 + 111 = 256.
    QTest::newRow("sum of 256 gives NUL") << QString(QChar(0x2018)) << key << QByteArray("\0", 1);
    // 255 + 111 = 366, less 256 = 110 ("n").
    QTest::newRow("sum above 255 wraps") << QString(QChar(0xFF)) << key << QByteArray("n");
    // a + o = 208, CR + r = 127, LF + v = 128 (the euro sign's code), b + e = 199.
    QTest::newRow("CR LF inside a value") << "a\r\nb" << key << QByteArray("\xD0\x7F\x80\xC7");
    // C 178, a 211, f 220, e-acute 233 + 101 = 78, blank 140, euro 128 + 113 = 241.
    QTest::newRow("Windows-1252 characters")
        << QString::fromUtf8("Café €") << key << QByteArray("\xB2\xD3\xDC\x4E\x8C\xF1");
    QTest::newRow("empty key leaves the text")
        << QString::fromUtf8("Zé") << "" << QByteArray("Z\xE9");
    // Position 1 takes key character 2 (d, 100), position 2 key character 1 (x, 120).
    QTest::newRow("other key") << "AB"
                               << "xd" << QByteArray("\xA5\xBA");
}

void ScramblerTest::scramble() {
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QByteArray, codes);
    const QString result = Scrambler::scramble(text, key);
    QCOMPARE(Cp1252::encode(result), codes);
    QCOMPARE(result.size(), codes.size());  // one file byte per result character
}

void ScramblerTest::unscramble_data() {
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    const QString key = Scrambler::kScrambleKey;
    QTest::newRow("one character") << QByteArray("\xB0") << key << "A";
    QTest::newRow("NUL comes back") << QByteArray("\0", 1) << key << QString(QChar(0x2018));
    QTest::newRow("CR LF comes back") << QByteArray("\xD0\x7F\x80\xC7") << key << "a\r\nb";
    // 5 - 100 = -95, low eight bits 161.
    QTest::newRow("negative difference") << QByteArray("\x05") << "xd" << QString(QChar(0xA1));
    QTest::newRow("empty key") << QByteArray("\xB0") << "" << QString(QChar(0xB0));
}

void ScramblerTest::unscramble() {
    QFETCH(QByteArray, codes);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QCOMPARE(Scrambler::unscramble(fromCodes(codes), key), text);
}

void ScramblerTest::roundTripsEveryCodeAtEveryKeyPosition() {
    // 256 and 11 share no factor, so position i meets code i mod 256 with every key position.
    QByteArray codes;
    for (int i = 0; i < 256 * 11; ++i)
        codes.append(static_cast<char>(i % 256));
    const QString text = fromCodes(codes);
    const QString scrambled = Scrambler::scramble(text, Scrambler::kScrambleKey);
    QCOMPARE(Cp1252::encode(scrambled).size(), codes.size());
    QVERIFY(scrambled != text);
    QCOMPARE(Scrambler::unscramble(scrambled, Scrambler::kScrambleKey), text);
}

void ScramblerTest::longTextRaisesOverflow() {
    const QString longest(32767, u'x');
    QCOMPARE(Scrambler::unscramble(Scrambler::scramble(longest, Scrambler::kScrambleKey),
                                   Scrambler::kScrambleKey),
             longest);
    const QString tooLong(32768, u'x');
    for (bool scrambling : {true, false}) {
        try {
            scrambling ? Scrambler::scramble(tooLong, Scrambler::kScrambleKey)
                       : Scrambler::unscramble(tooLong, Scrambler::kScrambleKey);
            QFAIL("no overflow");
        } catch (const AppError& e) {
            QCOMPARE(e.number(), 6);
        }
    }
}

void ScramblerTest::unscrambleOfForeignTextNeverFails() {
    // Characters outside Windows-1252 count as "?", one per character the user sees.
    const QString foreign = QString::fromUtf8("ж😀") + QChar(0) + QChar(0x81);
    const QString result = Scrambler::unscramble(foreign, Scrambler::kScrambleKey);
    QCOMPARE(Cp1252::encode(result).size(), 4);
    // "?" (63) - o (111) = -48, low eight bits 208.
    QCOMPARE(result.at(0), QChar(208));
}

void ScramblerTest::lineBreakIndex_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("index");
    const QString key = Scrambler::kScrambleKey;
    // z-caron 158 + o 111 = 269 = 256 + 13 (CR).
    QTest::newRow("z caron first") << QString(QChar(0x17E)) << key << 0;
    // single right angle quote 155 + o 111 = 266 = 256 + 10 (LF).
    QTest::newRow("angle quote first") << QString(QChar(0x203A)) << key << 0;
    // em dash 151 + v 118 = 269 at position 3; at position 1 it gives 6.
    QTest::newRow("em dash third") << QString::fromUtf8("ab—") << key << 2;
    QTest::newRow("em dash first") << QString::fromUtf8("—ab") << key << -1;
    // right double quote 148 + v 118 = 266.
    QTest::newRow("closing quote third") << QString::fromUtf8("ab”") << key << 2;
    QTest::newRow("CR LF of a multi-line value") << "a\r\nb" << key << -1;
    QTest::newRow("empty") << "" << key << -1;
    QTest::newRow("empty key keeps a line break") << "a\nb"
                                                  << "" << 1;
}

void ScramblerTest::lineBreakIndex() {
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(int, index);
    QCOMPARE(int(Scrambler::lineBreakIndex(text, key)), index);
    QCOMPARE(Scrambler::scramblesToLineBreak(text, key), index >= 0);
}

QTEST_GUILESS_MAIN(ScramblerTest)
#include "tst_Scrambler.moc"
