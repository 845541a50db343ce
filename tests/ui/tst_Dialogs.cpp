#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeViews.h"
#include "LoopbackHttp.h"
#include "TestFiles.h"
#include "TestInstallation.h"
#include "WidgetLookup.h"
#include "app/HelpTexts.h"
#include "app/MainController.h"
#include "models/SingleVideoDialogModel.h"
#include "platform/TextFile.h"
#include "settings/AdvancedOptionsFile.h"
#include "settings/PlayerSizesFile.h"
#include "ui/FrmAbout.h"
#include "ui/FrmAdvancedOptions.h"
#include "ui/FrmCopyCode.h"
#include "ui/FrmHelp.h"
#include "ui/FrmSocial.h"
#include "ui/FrmSplash.h"
#include "ui/FrmVideoFilesSingle.h"
#include "ui/FrmVideoPlayerSizes.h"

// The dialogs' wiring: each control reaches the core operation it stands for, and the dialog shows
// what the core holds. The rules themselves are tested in the core.
class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void singleVideoSaveHidesMarker();
    void singleVideoSaveWithoutFileStaysOpen();
    void singleVideoClosing_data();
    void singleVideoClosing();
    void singleVideoMirrorsHtml5();
    void singleVideoCaptionChooser();
    void copyCodePutsWholeCodeOnClipboard();
    void copyCodeOpensFolderAndTestPage();
    void advancedOptionsKeyFilters_data();
    void advancedOptionsKeyFilters();
    void advancedOptionsPasteIsNotFiltered();
    void advancedOptionsCancelKeepsEdits();
    void advancedOptionsSaveFocusesEmptyBox();
    void socialRefreshAndCancelKeepStoredValues();
    void socialEnterInLinkSaves();
    void helpShowsTopic_data();
    void helpShowsTopic();
    void playerSizesLoadAndSave();
    void splashClosesItself();
    void captionsNameTheVersion();
};

namespace {

using Fixture = FakeProgram;

// Records the addresses handed to the desktop for one scheme instead of opening them.
class OpenedUrls : public QObject {
    Q_OBJECT

  public:
    explicit OpenedUrls(const QString& scheme) : m_scheme(scheme) {
        QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(m_scheme); }

    QList<QUrl> urls;

  public slots:
    void open(const QUrl& url) { urls.append(url); }

  private:
    QString m_scheme;
};

}  // namespace

void DialogsTest::singleVideoSaveHidesMarker() {
    Fixture f;
    FrmVideoFilesSingle dialog(f.controller);
    QCOMPARE(dialog.objectName(), QStringLiteral("frmVideoFilesSingle"));
    dialog.show();
    QVERIFY(f.controller.videoFilesStatusVisible());

    f.dialogs.openAnswers.enqueue(QStringList{"/videos/my clip.flv"});
    click(dialog, "cmdFLVFile");
    QCOMPARE(f.dialogs.fileRequests.last().title, QStringLiteral("Open Video File"));
    QCOMPARE(child<QLabel>(dialog, "lblFlvVideoFileName")->text(), QStringLiteral("my clip.flv"));
    QCOMPARE(child<QLabel>(dialog, "lblFlvVideoFilePath")->text(),
             QStringLiteral("/videos/my clip.flv"));
    QCOMPARE(child<QLabel>(dialog, "lblFlvVideoFilePathOnly")->text(), QStringLiteral("/videos/"));
    QVERIFY(dialog.isVisible());

    click(dialog, "cmdSave");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!f.controller.videoFilesStatusVisible());
    QCOMPARE(f.dialogs.messages.size(), 0);
}

void DialogsTest::singleVideoSaveWithoutFileStaysOpen() {
    Fixture f;
    FrmVideoFilesSingle dialog(f.controller);
    dialog.show();
    // The file picked in the dialog that "FLV FILE MISSING" opens is taken, but Save must be
    // pressed again.
    f.dialogs.openAnswers.enqueue(QStringList{"/videos/clip.flv"});
    click(dialog, "cmdSave");
    QCOMPARE(f.dialogs.texts(), QStringList{"FLV FILE MISSING"});
    QCOMPARE(child<QLabel>(dialog, "lblFlvVideoFileName")->text(), QStringLiteral("clip.flv"));
    QVERIFY(dialog.isVisible());
    QVERIFY(f.controller.videoFilesStatusVisible());
    click(dialog, "cmdSave");
    QVERIFY(!dialog.isVisible());
    QVERIFY(!f.controller.videoFilesStatusVisible());
}

void DialogsTest::singleVideoClosing_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("flashChosen");
    for (const char* how : {"cmdCancel", "close box", "Escape"}) {
        QTest::addRow("%s, nothing chosen", how) << QString::fromLatin1(how) << false;
        QTest::addRow("%s, Flash file chosen", how) << QString::fromLatin1(how) << true;
    }
}

void DialogsTest::singleVideoClosing() {
    QFETCH(QString, how);
    QFETCH(bool, flashChosen);
    Fixture f;
    FrmVideoFilesSingle dialog(f.controller);
    dialog.show();
    if (flashChosen) {
        f.dialogs.openAnswers.enqueue(QStringList{"/videos/clip.flv"});
        click(dialog, "cmdFLVFile");
    }
    if (how == u"cmdCancel")
        click(dialog, "cmdCancel");
    else if (how == u"close box")
        dialog.close();
    else
        QTest::keyClick(&dialog, Qt::Key_Escape);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.controller.videoFilesStatusVisible(), !flashChosen);
    // Nothing is rolled back, and the dialog shows the selection again next time.
    dialog.show();
    QCOMPARE(child<QLabel>(dialog, "lblFlvVideoFileName")->text(),
             flashChosen ? QStringLiteral("clip.flv") : QString());
    QCOMPARE(f.dialogs.messages.size(), 0);
}

void DialogsTest::singleVideoMirrorsHtml5() {
    Fixture f;
    f.controller.window().setHtml5(true);
    FrmVideoFilesSingle dialog(f.controller);
    dialog.show();
    const auto* chkHtml5 = child<QCheckBox>(dialog, "chkHtml5");
    QVERIFY(chkHtml5->isChecked());
    QVERIFY(!chkHtml5->isEnabled());
    QVERIFY(child<QPushButton>(dialog, "cmdMp4File")->isEnabled());
    click(dialog, "cmdCancel");

    f.controller.window().selectStreamingMode(StreamingMode::Rtmp);
    dialog.show();
    QVERIFY(!chkHtml5->isChecked());
    QVERIFY(!child<QPushButton>(dialog, "cmdMp4File")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "cmdWebmFile")->isEnabled());
    QVERIFY(!f.controller.settings().Html5);
}

// The chooser adds files with the language their names give; a typed language or label reaches
// the selection (control codes dropped); Remove takes the selected track.
void DialogsTest::singleVideoCaptionChooser() {
    Fixture f;
    QTemporaryDir dir;
    const QString english = dir.filePath("clip.en.vtt");
    const QString german = dir.filePath("clip.de.srt");
    TextFile::writeBytes(english, "WEBVTT\n\n00:01.000 --> 00:02.000\nHi\n");
    TextFile::writeBytes(german, "1\n00:00:01,000 --> 00:00:02,000\nHallo\n");
    FrmVideoFilesSingle dialog(f.controller);
    dialog.show();
    auto* grid = child<QTableWidget>(dialog, "grdCaptions");
    QCOMPARE(grid->rowCount(), 0);
    QVERIFY(!child<QPushButton>(dialog, "cmdRemoveCaption")->isEnabled());

    f.dialogs.openAnswers.enqueue(QStringList{english, german});
    click(dialog, "cmdAddCaptions");
    QCOMPARE(f.dialogs.fileRequests.last().title, QStringLiteral("Add Caption Files"));
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("clip.de.srt"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("de"));
    QVERIFY(!(grid->item(1, 0)->flags() & Qt::ItemIsEditable));

    grid->item(1, 2)->setText(QStringLiteral("Deutsch\t(SDH)"));
    grid->item(0, 1)->setText(QStringLiteral("en-GB"));
    const CaptionTracks& tracks = f.controller.singleVideo().video().Captions;
    QCOMPARE(tracks, (CaptionTracks{{english, "en-GB", ""}, {german, "de", "Deutsch(SDH)"}}));
    QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("Deutsch(SDH)"));

    grid->setCurrentCell(0, 1);
    click(dialog, "cmdRemoveCaption");
    QCOMPARE(tracks, (CaptionTracks{{german, "de", "Deutsch(SDH)"}}));
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("clip.de.srt"));
    QCOMPARE(f.dialogs.messages.size(), 0);
}

void DialogsTest::copyCodePutsWholeCodeOnClipboard() {
    Fixture f;
    const QString code = QStringLiteral(
        "<div id=\"zevosva0102\"></div>\r\n<script type=\"text/javascript\" "
        "src=\"http://example.com/v/zevocoresva0102.js\"></script>\r\n");
    FrmCopyCode dialog(f.controller);
    dialog.setTexts(code, QStringLiteral("Upload these files:\r\nzevoswf.js"));
    dialog.show();
    auto* box = child<QPlainTextEdit>(dialog, "txtCopyCode");
    QCOMPARE(box->font().family(), QStringLiteral("Courier New"));
    QTextCursor part = box->textCursor();
    part.setPosition(3);
    part.setPosition(9, QTextCursor::KeepAnchor);
    box->setTextCursor(part);

    click(dialog, "cmdCopyCode");
    QCOMPARE(QGuiApplication::clipboard()->text(), code);
    QCOMPARE(box->textCursor().selectedText().size(), box->toPlainText().size());
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages[0].text,
             QStringLiteral("CODE COPIED. YOU MAY PASTE IT NOW ON YOUR HTML EDITOR."));
    QCOMPARE(f.dialogs.messages[0].icon, Dialogs::Icon::Information);
    QCOMPARE(f.dialogs.messages[0].title, QStringLiteral(" Message"));
    QVERIFY(dialog.isVisible());
    click(dialog, "cmdClose");
    QVERIFY(!dialog.isVisible());
}

void DialogsTest::copyCodeOpensFolderAndTestPage() {
#ifndef Q_OS_LINUX
    QSKIP("the file manager is started as a program on this platform");
#endif
    Fixture f;
    const QString out = f.install.path("out put") + QLatin1Char('/');
    f.controller.window().change(&ProjectSettings::OutDir, out);
    FrmCopyCode dialog(f.controller);
    dialog.setTexts(QStringLiteral("<div></div>"), QString());
    TextFile::writeBytes(f.install.appFolder() + "/temp/do-not-upload.html", "<p>local</p>");
    OpenedUrls opened(QStringLiteral("file"));
    OpenedUrls browsed(QStringLiteral("http"));
    click(dialog, "cmdSaveCodeInst");
    click(dialog, "cmdTest");
    QCOMPARE(opened.urls.size(), 1);
    QCOMPARE(opened.urls[0].toLocalFile(), f.install.path("out put"));
    // The local test page goes to the browser through the program's own server.
    QCOMPARE(browsed.urls.size(), 1);
    const QUrl page = browsed.urls[0];
    QCOMPARE(page.host(), QStringLiteral("127.0.0.1"));
    QCOMPARE(page.path(), QStringLiteral("/do-not-upload.html"));
    QCOMPARE(httpRequest(quint16(page.port()), "GET", "/do-not-upload.html").body,
             QByteArray("<p>local</p>"));
}

void DialogsTest::advancedOptionsKeyFilters_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("buffer refuses 0") << "txtVideoBuffer"
                                      << "105"
                                      << "15";
    QTest::newRow("buffer holds two digits") << "txtVideoBuffer"
                                             << "987"
                                             << "98";
    QTest::newRow("items refuse 0 and 1") << "txtItemsPlaylist"
                                          << "1023"
                                          << "23";
    QTest::newRow("width refuses letters") << "txtWidthPlaylist"
                                           << "2a5x0"
                                           << "250";
    QTest::newRow("width holds three digits") << "txtWidthPlaylist"
                                              << "1234"
                                              << "123";
    QTest::newRow("font size refuses blanks") << "txtPlayListFontSize"
                                              << " 1 2"
                                              << "12";
    QTest::newRow("messages are not filtered") << "txtErrorFlash"
                                               << "No Flash 10!"
                                               << "No Flash 10!";
}

void DialogsTest::advancedOptionsKeyFilters() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Fixture f;
    FrmAdvancedOptions dialog(f.controller);
    dialog.show();
    QWidget* edit = dialog.findChild<QWidget*>(box);
    QVERIFY(edit != nullptr);
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        line->clear();
    else
        qobject_cast<QPlainTextEdit*>(edit)->clear();
    QTest::keyClicks(edit, typed);

    const AdvancedOptions& o = f.controller.advancedOptions();
    const QMap<QString, QString> inForce{{"txtVideoBuffer", o.VideoBuffer},
                                         {"txtItemsPlaylist", o.ItemsPlaylist},
                                         {"txtWidthPlaylist", o.WidthPlaylist},
                                         {"txtPlayListFontSize", o.PlayListFontSize},
                                         {"txtErrorFlash", o.ErrorFlash}};
    QCOMPARE(inForce.value(box), expected);
}

void DialogsTest::advancedOptionsPasteIsNotFiltered() {
    Fixture f;
    FrmAdvancedOptions dialog(f.controller);
    dialog.show();
    auto* buffer = child<QLineEdit>(dialog, "txtVideoBuffer");
    buffer->setText(QStringLiteral("12"));
    buffer->selectAll();
    QTest::keyClick(buffer, '7');  // the selected text is replaced, so the key fits
    QCOMPARE(buffer->text(), QStringLiteral("7"));
    QTest::keyClick(buffer, Qt::Key_Backspace);
    QGuiApplication::clipboard()->setText(QStringLiteral("10"));
    buffer->paste();
    QCOMPARE(f.controller.advancedOptions().VideoBuffer, QStringLiteral("10"));
}

void DialogsTest::advancedOptionsCancelKeepsEdits() {
    Fixture f;
    const QString file = AdvancedOptionsFile::path(f.install.paths().config);
    const QByteArray before = TestFiles::readFile(file);
    FrmAdvancedOptions dialog(f.controller);
    dialog.show();
    QCOMPARE(child<QLineEdit>(dialog, "txtWidthPlaylist")->text(), QStringLiteral("250"));
    QCOMPARE(child<QPlainTextEdit>(dialog, "txtErrorFlash")->toPlainText(),
             QStringLiteral("No Flash here"));

    child<QLineEdit>(dialog, "txtWidthPlaylist")->clear();
    QTest::keyClicks(child<QLineEdit>(dialog, "txtWidthPlaylist"), "300");
    child<QCheckBox>(dialog, "chkHideControlsFloatingBar")->click();
    child<QPlainTextEdit>(dialog, "txtErrorHtml5")->moveCursor(QTextCursor::End);
    QTest::keyClicks(child<QPlainTextEdit>(dialog, "txtErrorHtml5"), "!");
    click(dialog, "cmdCancel");

    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.controller.advancedOptions().WidthPlaylist, QStringLiteral("300"));
    QVERIFY(f.controller.advancedOptions().HideControlsFloatingBar);
    QCOMPARE(f.controller.advancedOptions().ErrorHtml5, QStringLiteral("No HTML5 video!"));
    QCOMPARE(TestFiles::readFile(file), before);
    QCOMPARE(f.dialogs.messages.size(), 0);
    dialog.show();
    QCOMPARE(child<QLineEdit>(dialog, "txtWidthPlaylist")->text(), QStringLiteral("300"));
}

void DialogsTest::advancedOptionsSaveFocusesEmptyBox() {
    Fixture f;
    FrmAdvancedOptions dialog(f.controller);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    child<QLineEdit>(dialog, "txtItemsPlaylist")->clear();
    click(dialog, "cmdSave");
    QCOMPARE(f.dialogs.texts(), QStringList{"VALUE MISSING FOR NUMBER OF ITEMS IN PLAYLIST."});
    QVERIFY(child<QLineEdit>(dialog, "txtItemsPlaylist")->hasFocus());
    QVERIFY(!f.views.log.contains("focus:txtItemsPlaylist"));

    QTest::keyClicks(child<QLineEdit>(dialog, "txtItemsPlaylist"), "6");
    f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
    click(dialog, "cmdSave");
    QCOMPARE(f.dialogs.texts().last(), QStringLiteral("OPTIONS SAVED."));
    QVERIFY(dialog.isVisible());
    QCOMPARE(TestFiles::readFile(AdvancedOptionsFile::path(f.install.paths().config)),
             TestFiles::crlf({"5", " 0 ", "6", "250", "11", "No Flash here", "No HTML5 video"}));
}

void DialogsTest::socialRefreshAndCancelKeepStoredValues() {
    Fixture f;
    f.controller.window().settings().ShareTitle = QStringLiteral("Holiday");
    f.controller.window().settings().ShareURL = QStringLiteral("http://example.com/trip");
    FrmSocial dialog(f.controller);
    dialog.show();
    auto* title = child<QLineEdit>(dialog, "txtShareTitle");
    auto* link = child<QLineEdit>(dialog, "txtShareURL");
    QCOMPARE(title->text(), QStringLiteral("Holiday"));
    QCOMPARE(link->text(), QStringLiteral("http://example.com/trip"));

    click(dialog, "cmdRefresh");
    QCOMPARE(title->text(), QString());
    QCOMPARE(link->text(), QStringLiteral("http://"));
    click(dialog, "cmdCancel");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.controller.settings().ShareTitle, QStringLiteral("Holiday"));
    QCOMPARE(f.controller.settings().ShareURL, QStringLiteral("http://example.com/trip"));

    // A link typed and cancelled is gone at the next showing, also where none is stored.
    f.controller.window().settings().ShareURL.clear();
    dialog.show();
    QTest::keyClicks(link, "example.org");
    click(dialog, "cmdCancel");
    dialog.show();
    QCOMPARE(link->text(), QStringLiteral("http://"));
}

void DialogsTest::socialEnterInLinkSaves() {
    Fixture f;
    FrmSocial dialog(f.controller);
    dialog.show();
    QTest::keyClicks(child<QLineEdit>(dialog, "txtShareTitle"), " Our trip ");
    QTest::keyClick(child<QLineEdit>(dialog, "txtShareTitle"), Qt::Key_Return);
    QVERIFY(dialog.isVisible());  // Enter in the title box does not save
    QCOMPARE(f.controller.settings().ShareTitle, QString());
    QTest::keyClicks(child<QLineEdit>(dialog, "txtShareURL"), "example.com/");
    QTest::keyClick(child<QLineEdit>(dialog, "txtShareURL"), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.controller.settings().ShareTitle, QStringLiteral(" Our trip "));
    QCOMPARE(f.controller.settings().ShareURL, QStringLiteral("http://example.com/"));
}

void DialogsTest::helpShowsTopic_data() {
    QTest::addColumn<int>("topic");
    for (int topic : {1, 2, 3, 0})
        QTest::addRow("topic %d", topic) << topic;
}

void DialogsTest::helpShowsTopic() {
    QFETCH(int, topic);
    FrmHelp dialog(topic);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quick Help"));
    QString expected = HelpTexts::topic(topic);
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(child<QPlainTextEdit>(dialog, "txtInfo")->toPlainText(), expected);
    QCOMPARE(expected.isEmpty(), topic == 0);
}

void DialogsTest::playerSizesLoadAndSave() {
    Fixture f;
    FrmVideoPlayerSizes dialog(f.controller);
    dialog.show();
    auto* box = child<QPlainTextEdit>(dialog, "txtVideoWindowSizes");
    QCOMPARE(box->toPlainText(), QStringLiteral("480x270\n640x360 Widescreen\n"));
    box->setPlainText(QStringLiteral("320x180\n1280x720 HD"));
    f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
    click(dialog, "cmdSave");
    QCOMPARE(f.dialogs.texts(), (QStringList{"DO YOU WANT TO SAVE?", "DATA SAVED."}));
    QVERIFY(dialog.isVisible());
    QCOMPARE(TestFiles::readFile(PlayerSizesFile::path(f.install.paths().config)),
             TestFiles::crlf({"320x180", "1280x720 HD"}));
    click(dialog, "cmdCancel");
    QVERIFY(!dialog.isVisible());
}

void DialogsTest::splashClosesItself() {
    FrmSplash splash;
    const auto* timer = child<QTimer>(splash, "tmrSplash");
    QCOMPARE(timer->interval(), 2000);
    QVERIFY(!timer->isActive());
    splash.show();
    QVERIFY(timer->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 20000);
}

// The major number comes from the build's version; the captions around it stay as they were.
void DialogsTest::captionsNameTheVersion() {
    QCOMPARE(FrmAbout().windowTitle(),
             QStringLiteral("Vidlark Streaming Video Ver 14 build 2.0.4 revision 50"));
    QCOMPARE(FrmSplash().windowTitle(), QStringLiteral("Vidlark Streaming Video 14"));
}

QTEST_MAIN(DialogsTest)
#include "tst_Dialogs.moc"
