#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "TestFiles.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileListing.h"
#include "settings/ProfileListingError.h"
#include "settings/ProfileValueError.h"

// The settings table and the KEY=VALUE form of a profile: every setting written, stored and shown
// again, the hand-made profiles of tests/golden/settings read and written byte for byte, and the
// pairs a profile refuses.
class ProfileListingTest : public QObject {
    Q_OBJECT

  private slots:
    void tableHoldsEveryLineOnce();
    void unnamedSettingsTakeStartUpValues();
    void escapes_data();
    void escapes();
    void everySettingRoundTrips_data();
    void everySettingRoundTrips();
    void goldenProfiles_data();
    void goldenProfiles();
    void savedSettingsGiveTheGoldenFile();
    void laterLinesEndAtTheLastOneOn_data();
    void laterLinesEndAtTheLastOneOn();
    void leftOutLinesTakeTheirStartValues_data();
    void leftOutLinesTakeTheirStartValues();
    void refusedPairs_data();
    void refusedPairs();
    void unstorableValuesNameTheirSetting_data();
    void unstorableValuesNameTheirSetting();
};

namespace {

// A fresh start: a single video in Normal mode, the first skin and size, no tint, audio at 50,
// the big play button on, the server path "http://", every other text empty.
QStringList startUpValues() {
    return {"SIN1", "0", "0",       "0", "0", "0", "", "0", "0", "50", "1", "", "",
            "",     "",  "http://", "",  "",  "0", "", "",  "",  "0",  "0", "", ""};
}

// The start-up values through `line`: past the first 26, the later check lines, all off.
QStringList startUpValuesThrough(int line) {
    QStringList values = startUpValues();
    while (values.size() < line)
        values.append("0");
    return values;
}

QStringList linesOf(const QByteArray& text) {
    QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Samples of what each kind of setting holds; texts with quotes, "|", a backslash and
// characters beyond ASCII that Windows-1252 holds.
QStringList samplesOf(ProfileSetting::Kind kind) {
    using K = ProfileSetting::Kind;
    switch (kind) {
        case K::Mode:
            return {"SIN1", "SIN3", "MUL1", "MUL2"};
        case K::Check:
            return {"0", "1"};
        case K::Index:
            return {"0", "7", "-1", "32767"};
        case K::ColourNumber:
            return {"0", "16777215", "-1", "-2147483648", "2147483647"};
        case K::FileName:
            return {"intro.jpg", QString::fromUtf8("Zoë's \"best\" | café ½.jpg")};
        case K::Text:
            return {"", "http://www.example.com/a?b=1&c=\"2\"|3",
                    QString::fromUtf8("C:\\Users\\Zoë\\€ 5 ß ÿ Œ ‰ “x”")};
        case K::MultiLineText:
            return {"", "<p>one</p>\r\n<p>two | 'three'</p>",
                    QString::fromUtf8("a\\b\r\n\r\n€ “quoted” \"x\"\r\n")};
    }
    return {};
}

}  // namespace

void ProfileListingTest::tableHoldsEveryLineOnce() {
    const auto settings = ProfileLayout::settings();
    QCOMPARE(qsizetype(settings.size()), qsizetype(29));
    QSet<QString> keys;
    QSet<QString> labels;
    static const QRegularExpression field(QStringLiteral("^[A-Z][A-Za-z0-9]*$"));
    for (qsizetype i = 0; i < qsizetype(settings.size()); ++i) {
        const ProfileSetting& setting = settings[i];
        QCOMPARE(setting.line, int(i + 1));
        QVERIFY2(field.match(QLatin1String(setting.key)).hasMatch(), setting.key);
        QVERIFY2(!keys.contains(QLatin1String(setting.key)), setting.key);
        QVERIFY2(!labels.contains(QLatin1String(setting.label)), setting.label);
        keys.insert(QLatin1String(setting.key));
        labels.insert(QLatin1String(setting.label));
        QCOMPARE(ProfileLayout::byKey(QLatin1String(setting.key)), &setting);
        QCOMPARE(ProfileLayout::atLine(setting.line), &setting);
    }
    QCOMPARE(ProfileLayout::atLine(30), nullptr);
    QCOMPARE(ProfileLayout::byKey(QStringLiteral("autoplay")), nullptr);
}

void ProfileListingTest::unnamedSettingsTakeStartUpValues() {
    QCOMPARE(ProfileListing::write({}), startUpValues());
    QStringList expected = startUpValues();
    expected[7] = "1";
    expected[15] = "http://www.example.com/";
    QCOMPARE(ProfileListing::write({"AutoPlay=1", "ServerPath=http://www.example.com/"}), expected);
    // The last of two pairs for one setting counts.
    QCOMPARE(
        ProfileListing::write({"AutoPlay=0", "ServerPath=http://www.example.com/", "AutoPlay=1"}),
        expected);
}

void ProfileListingTest::escapes_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("plain") << "abc"
                           << "abc";
    QTest::newRow("backslash") << "C:\\out\\"
                               << "C:\\\\out\\\\";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\\r\\nb";
    QTest::newRow("backslash before n") << "\\n"
                                        << "\\\\n";
    QTest::newRow("equals and quotes") << "a=\"b\""
                                       << "a=\"b\"";
}

void ProfileListingTest::escapes() {
    QFETCH(QString, value);
    QFETCH(QString, escaped);
    QCOMPARE(ProfileListing::escape(value), escaped);
    QCOMPARE(ProfileListing::unescape(QStringLiteral("K"), escaped), value);
}

void ProfileListingTest::everySettingRoundTrips_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("value");
    for (const ProfileSetting& setting : ProfileLayout::settings()) {
        const QStringList samples = samplesOf(setting.kind);
        for (qsizetype i = 0; i < samples.size(); ++i)
            QTest::addRow("%s %lld", setting.key, static_cast<long long>(i))
                << QString::fromLatin1(setting.key) << setting.line << samples[i];
    }
}

// KEY=VALUE → profile file → KEY=VALUE, with every other setting at its start-up value.
void ProfileListingTest::everySettingRoundTrips() {
    QFETCH(QString, key);
    QFETCH(int, line);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.epe"));
    const QString pair = key + QLatin1Char('=') + ProfileListing::escape(value);

    ProfileFile::write(path, ProfileListing::write({pair}));
    const QStringList shown = ProfileListing::show(ProfileFile::readValues(path));

    // A later line is written only when it holds something else than its start value.
    QStringList expected = ProfileListing::show(startUpValuesThrough(
        value == ProfileLayout::startText(*ProfileLayout::atLine(line)) ? 26 : line));
    if (line <= expected.size())
        expected[line - 1] = pair;
    QCOMPARE(shown, expected);
}

void ProfileListingTest::goldenProfiles_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("demo") << "demo";
    QTest::newRow("every setting away from its start") << "full";
    QTest::newRow("demo playing inline") << "inline";
}

// The files were scrambled by hand from their listings; reading shows the listing, and writing
// the listing gives the file byte for byte.
void ProfileListingTest::goldenProfiles() {
    QFETCH(QString, name);
    const QString base = QStringLiteral("settings/") + name;
    const QStringList listing = linesOf(TestFiles::readGolden(base + ".txt"));

    QCOMPARE(ProfileListing::show(ProfileFile::readValues(TestFiles::goldenPath(base + ".epe"))),
             listing);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.epe"));
    ProfileFile::write(path, ProfileListing::write(listing));
    COMPARE_GOLDEN(TestFiles::readFile(path), base + ".epe");
}

// The save path: every field of the settings to its line, as full.txt lists them.
void ProfileListingTest::savedSettingsGiveTheGoldenFile() {
    ProjectSettings s;
    s.Multiple = true;
    s.streamingMode = StreamingMode::Rtmp;
    s.IsLive = s.Html5 = s.AutoPlay = s.AutoProgress = true;
    s.PlayerStyle = 3;
    s.PlayerSize = -1;
    s.PlayerColorNumber = 0xFFFFFFFFu;
    s.PlayerColor = "0E230E";
    s.AudioLevel = "100";
    s.ShowBigPlayButton = false;
    s.IntroImageName = QString::fromUtf8("intro café.jpg");
    s.IntroImagePath = QString::fromUtf8("C:\\Users\\Zoë\\intro café.jpg");
    s.OutroImageName = "outro.jpg";
    s.OutroImagePath = "/home/ann/pictures/outro \"end\".jpg";
    s.ServerPath = "http://www.example.com/videos/";
    s.VideoPath = "rtmp://media.example.com/vod/";
    s.OutDir = "/home/ann/out/";
    s.Encrypt = s.ShowEmbedCode = s.SocialShare = true;
    s.RedirectURL = "http://www.example.com/next?a=1&b=2";
    s.AffiliateLink = "http://shop.example.com/?ref=a|b";
    s.ActionCode =
        QString::fromUtf8("<p class=\"end\">Thanks, “see you”</p>\r\n<a href='x'>€ 5 | ½</a>\r\n");
    s.ShareTitle = QString::fromUtf8("Ann's \"best\" video | part ½ Œuvre ß ÿ");
    s.ShareURL = QString::fromUtf8("http://www.example.com/share?x=é");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.epe"));
    ProfileFile::write(path, ProfileLayout::values(s));
    COMPARE_GOLDEN(TestFiles::readFile(path), QStringLiteral("settings/full.epe"));
}

void ProfileListingTest::laterLinesEndAtTheLastOneOn_data() {
    QTest::addColumn<bool>("playsInline");
    QTest::addColumn<bool>("mutedAutoPlay");
    QTest::addColumn<bool>("fluidSize");
    QTest::addColumn<QStringList>("laterLines");
    QTest::newRow("all off: the 26 lines of older versions")
        << false << false << false << QStringList{};
    QTest::newRow("inline play") << true << false << false << QStringList{"1"};
    QTest::newRow("muted start: the line before it too")
        << false << true << false << QStringList{"0", "1"};
    QTest::newRow("both") << true << true << false << QStringList{"1", "1"};
    QTest::newRow("fit to page width: both lines before it")
        << false << false << true << QStringList{"0", "0", "1"};
    QTest::newRow("inline play and fit to page width")
        << true << false << true << QStringList{"1", "0", "1"};
    QTest::newRow("all three") << true << true << true << QStringList{"1", "1", "1"};
}

// Saving the settings, and writing a listing that names the options, give the same lines.
void ProfileListingTest::laterLinesEndAtTheLastOneOn() {
    QFETCH(bool, playsInline);
    QFETCH(bool, mutedAutoPlay);
    QFETCH(bool, fluidSize);
    QFETCH(QStringList, laterLines);
    ProjectSettings s;
    s.PlaysInline = playsInline;
    s.MutedAutoPlay = mutedAutoPlay;
    s.FluidSize = fluidSize;
    const QStringList expected = startUpValues() + laterLines;
    QCOMPARE(ProfileLayout::values(s), expected);
    const QStringList pairs{QStringLiteral("PlaysInline=%1").arg(int(playsInline)),
                            QStringLiteral("MutedAutoPlay=%1").arg(int(mutedAutoPlay)),
                            QStringLiteral("FluidSize=%1").arg(int(fluidSize))};
    QCOMPARE(ProfileListing::write(pairs), expected);
}

void ProfileListingTest::leftOutLinesTakeTheirStartValues_data() {
    QTest::addColumn<int>("storedLines");
    QTest::addColumn<QList<int>>("leftOut");
    QTest::newRow("a short profile of an older version") << 5 << QList<int>{27, 28, 29};
    QTest::newRow("26 lines") << 26 << QList<int>{27, 28, 29};
    QTest::newRow("27 lines") << 27 << QList<int>{28, 29};
    QTest::newRow("28 lines") << 28 << QList<int>{29};
    QTest::newRow("every line") << 29 << QList<int>{};
    QTest::newRow("lines past the last setting") << 31 << QList<int>{};
}

void ProfileListingTest::leftOutLinesTakeTheirStartValues() {
    QFETCH(int, storedLines);
    QFETCH(QList<int>, leftOut);
    const QMap<int, QString> lines = ProfileLayout::leftOutLines(storedLines);
    QCOMPARE(lines.keys(), leftOut);
    for (const QString& value : lines)
        QCOMPARE(value, QStringLiteral("0"));
}

void ProfileListingTest::refusedPairs_data() {
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QString>("message");
    QTest::newRow("no equals sign") << QStringList{"AutoPlay"} << "not a KEY=VALUE pair: AutoPlay";
    QTest::newRow("unknown key") << QStringList{"AutoPlay=1", "Autoplay=1"}
                                 << "unknown setting: Autoplay";
    QTest::newRow("empty key") << QStringList{"=1"} << "unknown setting: ";
    QTest::newRow("check state 2") << QStringList{"AutoPlay=2"} << "bad value for AutoPlay: 2";
    QTest::newRow("later check line, not 0 or 1")
        << QStringList{"PlaysInline=yes"} << "bad value for PlaysInline: yes";
    QTest::newRow("fit to page width, not 0 or 1")
        << QStringList{"FluidSize=-1"} << "bad value for FluidSize: -1";
    QTest::newRow("check state empty") << QStringList{"Html5="} << "bad value for Html5: ";
    QTest::newRow("index not a number")
        << QStringList{"PlayerStyle=dark"} << "bad value for PlayerStyle: dark";
    QTest::newRow("index past 16 bits")
        << QStringList{"PlayerSize=32768"} << "bad value for PlayerSize: 32768";
    QTest::newRow("colour past 32 bits") << QStringList{"PlayerColorNumber=2147483648"}
                                         << "bad value for PlayerColorNumber: 2147483648";
    QTest::newRow("mode digit 4") << QStringList{"StreamingMode=SIN4"}
                                  << "bad value for StreamingMode: SIN4";
    QTest::newRow("mode without marker")
        << QStringList{"StreamingMode=2"} << "bad value for StreamingMode: 2";
    QTest::newRow("lower-case marker")
        << QStringList{"StreamingMode=sin1"} << "bad value for StreamingMode: sin1";
    QTest::newRow("unknown escape")
        << QStringList{"OutDir=C:\\out"}
        << "bad value for OutDir: a backslash must be followed by \\, r or n";
    QTest::newRow("backslash at the end")
        << QStringList{"ActionCode=a\\"}
        << "bad value for ActionCode: a backslash must be followed by \\, r or n";
}

void ProfileListingTest::refusedPairs() {
    QFETCH(QStringList, pairs);
    QFETCH(QString, message);
    try {
        ProfileListing::write(pairs);
        QFAIL("not refused");
    } catch (const ProfileListingError& error) {
        QCOMPARE(error.message(), message);
    }
}

void ProfileListingTest::unstorableValuesNameTheirSetting_data() {
    QTest::addColumn<QString>("pair");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("setting");
    QTest::newRow("line break in a one-line text")
        << "ShareTitle=a\\nb" << 25 << "Title of Content";
    QTest::newRow("folder in an image name")
        << "OutroImageName=../x.jpg" << 14 << "outro image name";
    // The first character is scrambled with "o" (111): "ž" (158) + 111 - 256 = 13, a CR.
    QTest::newRow("character that scrambles into CR")
        << QString::fromUtf8("ServerPath=\u017ex") << 16 << "HTML Files Path";
}

// The table passes text values through; the profile file refuses what it cannot store and names
// the setting by its label.
void ProfileListingTest::unstorableValuesNameTheirSetting() {
    QFETCH(QString, pair);
    QFETCH(int, line);
    QFETCH(QString, setting);
    const QStringList values = ProfileListing::write({pair});
    try {
        ProfileFile::scrambledLines(values);
        QFAIL("not refused");
    } catch (const ProfileValueError& error) {
        QCOMPARE(error.line(), line);
        QCOMPARE(error.setting(), setting);
    }
}

QTEST_GUILESS_MAIN(ProfileListingTest)
#include "tst_ProfileListing.moc"
