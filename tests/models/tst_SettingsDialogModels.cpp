#include <QTemporaryDir>
#include <QtTest>

#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestFiles.h"
#include "models/AdvancedOptionsDialogModel.h"
#include "models/PlayerSizesDialogModel.h"
#include "platform/TextFile.h"
#include "settings/AdvancedOptionsFile.h"

using Answer = Dialogs::Answer;

class SettingsEditorsTest : public QObject {
    Q_OBJECT

  private slots:
    void sizesSave_data();
    void sizesSave();
    void sizesErrorsShowTheCommonMessage();
    void advancedSave_data();
    void advancedSave();
    void advancedSaveErrorShowsTheCommonMessage();
    void advancedLoadWarnsAndUsesDefaults();
};

namespace {

const QByteArray kOldSizes("480x270\r\n640x360 Widescreen\r\n");
const QByteArray kOldOptions("5\r\n 0 \r\n4\r\n250\r\n11\r\nF\r\nH\r\n");

struct AppFolder {
    QTemporaryDir dir;
    AppFolder() { QDir(dir.path()).mkdir("config"); }
    QString config() const { return dir.path() + "/config"; }
    QString file(const QString& name) const { return config() + '/' + name; }
};

AdvancedOptions filledOptions() {
    AdvancedOptions o;
    o.VideoBuffer = "3";
    o.HideControlsFloatingBar = true;
    o.ItemsPlaylist = "6";
    o.WidthPlaylist = "320";
    o.PlayListFontSize = "";
    o.ErrorFlash = "";
    o.ErrorHtml5 = "";
    return o;
}

}  // namespace

void SettingsEditorsTest::sizesSave_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QByteArray>("file");
    const QString ask = "DO YOU WANT TO SAVE?";
    QTest::newRow("No keeps the file")
        << Answer::No << "854x480" << QStringList{ask} << false << kOldSizes;
    QTest::newRow("blanks only") << Answer::Yes << "   " << QStringList{ask, "NOTHING TO SAVE!"}
                                 << false << kOldSizes;
    QTest::newRow("line breaks and blanks only")
        << Answer::Yes << "\r\n  \r\n\t" << QStringList{ask, "NOTHING TO SAVE!"} << false
        << kOldSizes;
    QTest::newRow("a character the file cannot hold")
        << Answer::Yes << QString::fromUtf8("480x270\r\n640x360 Широкий")
        << QStringList{ask, QString::fromUtf8("DATA NOT SAVED. CHARACTER 9 (\"Ш\") OF LINE 2 "
                                              "CANNOT BE STORED IN THE SIZES FILE. PLEASE REPLACE "
                                              "IT AND SAVE AGAIN.")}
        << false << kOldSizes;
    const auto notASize = [](int line, const QString& text) {
        return QStringLiteral(
                   "DATA NOT SAVED. LINE %1 (\"%2\") IS NOT A PLAYER SIZE OF THE FORM "
                   "WIDTHxHEIGHT WITH TWO WHOLE NUMBERS FROM 1 TO 32767. PLEASE "
                   "CORRECT IT AND SAVE AGAIN.")
            .arg(line)
            .arg(text);
    };
    QTest::newRow("a line that is not a size")
        << Answer::Yes << "480x270\n640x360 Widescreen\nbogus size"
        << QStringList{ask, notASize(3, "bogus size")} << false << kOldSizes;
    QTest::newRow("the first bad line is named, empty lines counted")
        << Answer::Yes << "\r\n480x270\r\n\r\n640X360\r\nwide"
        << QStringList{ask, notASize(4, "640X360")} << false << kOldSizes;
    QTest::newRow("a line of blanks") << Answer::Yes << "480x270\n  \n854x480"
                                      << QStringList{ask, notASize(2, "  ")} << false << kOldSizes;
    QTest::newRow("a blank before the size")
        << Answer::Yes << " 480x270" << QStringList{ask, notASize(1, " 480x270")} << false
        << kOldSizes;
    QTest::newRow("a size too large")
        << Answer::Yes << "480x270\r40000x300" << QStringList{ask, notASize(2, "40000x300")}
        << false << kOldSizes;
    QTest::newRow("No asks nothing more")
        << Answer::No << "bogus size" << QStringList{ask} << false << kOldSizes;
    QTest::newRow("sizes with texts, empty lines and bare CRs")
        << Answer::Yes << "480x270 Small\r\n\r854x480 Wide screen\n"
        << QStringList{ask, "DATA SAVED."} << true
        << QByteArray("480x270 Small\r\n\r\n854x480 Wide screen\r\n\r\n");
    QTest::newRow("saved with one CR LF added")
        << Answer::Yes << "480x270\r\n854x480" << QStringList{ask, "DATA SAVED."} << true
        << QByteArray("480x270\r\n854x480\r\n");
}

void SettingsEditorsTest::sizesSave() {
    QFETCH(Answer, answer);
    QFETCH(QString, text);
    QFETCH(QStringList, messages);
    QFETCH(bool, saved);
    QFETCH(QByteArray, file);
    AppFolder app;
    TextFile::writeBytes(app.file("configvws.txt"), kOldSizes);
    FakeDialogs dialogs;
    dialogs.answers.enqueue(answer);
    PlayerSizesDialogModel editor(dialogs, app.config());
    QCOMPARE(editor.load(), QString::fromLatin1(kOldSizes));
    QCOMPARE(editor.save(text), saved);
    QCOMPARE(dialogs.texts(), messages);
    QCOMPARE(TestFiles::readFile(app.file("configvws.txt")), file);
}

void SettingsEditorsTest::sizesErrorsShowTheCommonMessage() {
    QTemporaryDir dir;  // no config folder at all
    FakeDialogs dialogs;
    dialogs.answers.enqueue(Answer::Yes);
    PlayerSizesDialogModel editor(dialogs, dir.path() + "/config");
    QCOMPARE(editor.load(), QString());
    QVERIFY(!editor.save("480x270"));
    const QString sizes = dir.path() + "/config/configvws.txt";
    QCOMPARE(dialogs.texts(),
             (QStringList{"ERROR# 76 PATH NOT FOUND. PLEASE CONTACT SUPPORT.\nReading " + sizes +
                              "\nNo such file or directory",
                          "DO YOU WANT TO SAVE?",
                          "ERROR# 76 PATH NOT FOUND. PLEASE CONTACT SUPPORT.\nWriting " + sizes +
                              "\nNo such file or directory"}));
}

void SettingsEditorsTest::advancedSave_data() {
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("width");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("focus");
    QTest::addColumn<bool>("saved");
    const QString ask = "DO YOU WANT TO SAVE?";
    QTest::newRow("all three missing: buffer first")
        << ""
        << ""
        << "" << Answer::Yes << QStringList{"VALUE MISSING FOR VIDEO BUFFER."}
        << QStringList{"focus:txtVideoBuffer"} << false;
    QTest::newRow("items and width blank: items first")
        << "3"
        << "  "
        << "" << Answer::Yes << QStringList{"VALUE MISSING FOR NUMBER OF ITEMS IN PLAYLIST."}
        << QStringList{"focus:txtItemsPlaylist"} << false;
    QTest::newRow("width blank") << "3"
                                 << "6"
                                 << " " << Answer::Yes
                                 << QStringList{"VALUE MISSING FOR PLAYLIST WIDTH."}
                                 << QStringList{"focus:txtWidthPlaylist"} << false;
    QTest::newRow("a character the file cannot hold")
        << QString::fromUtf8("3ж") << "6"
        << "320" << Answer::Yes
        << QStringList{QString::fromUtf8("OPTIONS NOT SAVED. CHARACTER 2 (\"ж\") OF THE VIDEO "
                                         "BUFFER CANNOT BE STORED IN THE OPTIONS FILE. PLEASE "
                                         "REPLACE IT AND SAVE AGAIN.")}
        << QStringList{"focus:txtVideoBuffer"} << false;
    QTest::newRow("No keeps the file")
        << "3"
        << "6"
        << "320" << Answer::No << QStringList{ask} << QStringList{} << false;
    QTest::newRow("saved with optional values empty")
        << "3"
        << "6"
        << "320" << Answer::Yes << QStringList{ask, "OPTIONS SAVED."} << QStringList{} << true;
}

void SettingsEditorsTest::advancedSave() {
    QFETCH(QString, buffer);
    QFETCH(QString, items);
    QFETCH(QString, width);
    QFETCH(Answer, answer);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, focus);
    QFETCH(bool, saved);
    AppFolder app;
    TextFile::writeBytes(app.file("configsv.txt"), kOldOptions);
    FakeDialogs dialogs;
    FakeViews views;
    dialogs.answers.enqueue(answer);
    AdvancedOptions options = filledOptions();
    options.VideoBuffer = buffer;
    options.ItemsPlaylist = items;
    options.WidthPlaylist = width;
    AdvancedOptionsDialogModel editor(dialogs, views, app.config());
    QCOMPARE(editor.save(options), saved);
    QCOMPARE(dialogs.texts(), messages);
    QCOMPARE(views.log, focus);
    QCOMPARE(TestFiles::readFile(app.file("configsv.txt")),
             saved ? QByteArray("3\r\n 1 \r\n6\r\n320\r\n\r\n\r\n\r\n") : kOldOptions);
}

void SettingsEditorsTest::advancedSaveErrorShowsTheCommonMessage() {
    QTemporaryDir dir;  // no config folder
    FakeDialogs dialogs;
    FakeViews views;
    dialogs.answers.enqueue(Answer::Yes);
    AdvancedOptionsDialogModel editor(dialogs, views, dir.path() + "/config");
    QVERIFY(!editor.save(filledOptions()));
    QCOMPARE(dialogs.texts(),
             (QStringList{"DO YOU WANT TO SAVE?",
                          "ERROR# 76 PATH NOT FOUND. PLEASE CONTACT SUPPORT.\n"
                          "Writing " +
                              dir.path() + "/config/configsv.txt\nNo such file or directory"}));
}

void SettingsEditorsTest::advancedLoadWarnsAndUsesDefaults() {
    AppFolder app;
    FakeDialogs dialogs;
    FakeViews views;
    AdvancedOptionsDialogModel editor(dialogs, views, app.config());
    const AdvancedOptions missing = editor.load();
    QCOMPARE(missing.ErrorFlash, AdvancedOptionsFile::defaults().ErrorFlash);
    QCOMPARE(dialogs.texts(), QStringList{AdvancedOptionsFile::kIncompleteMessage});
    QCOMPARE(dialogs.messages.first().title, "Warning");

    TextFile::writeBytes(app.file("configsv.txt"), kOldOptions);
    const AdvancedOptions read = editor.load();
    QCOMPARE(read.ErrorFlash, "F");
    QCOMPARE(dialogs.messages.size(), 1);
}

QTEST_GUILESS_MAIN(SettingsEditorsTest)
#include "tst_SettingsDialogModels.moc"
