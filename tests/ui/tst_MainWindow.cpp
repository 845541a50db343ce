#include <QtTest>
#include <QtWidgets>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "appearance/ColourText.h"
#include "appearance/PlayerSizes.h"
#include "models/ControlStates.h"
#include "platform/TextFile.h"
#include "settings/PlayerSizesFile.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileListing.h"
#include "ui/FrmMain.h"
#include "ui/FrmVideoFilesMulti.h"
#include "ui/FrmVideoFilesSingle.h"
#include "ui/QtViews.h"
#include "ui/TintSwatches.h"

namespace {

// The main window over a throw-away installation, started as start-up leaves it; the user's
// answers come from the scripted dialogs.
struct Window {
    TestInstallation install;
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.paths(), dialogs, views, clock, random};
    std::unique_ptr<FrmMain> frmMain;

    Window() {
        controller.loadInstallation();
        frmMain = std::make_unique<FrmMain>(controller);
        frmMain->show();
    }

    template <typename T>
    T* find(const QString& name) const {
        T* found = frmMain->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QWidget* widget(const QString& name) const { return find<QWidget>(name); }
    QString text(const QString& name) const { return find<QLineEdit>(name)->text(); }
    void trigger(const QString& menuItem) const { find<QAction>(menuItem)->trigger(); }
    // Near the left edge: a check box takes clicks only on its box and caption.
    void click(const QString& name) const {
        QWidget* target = widget(name);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
    }
    TintSwatches* swatches() const { return find<TintSwatches>("pctPlayerColorTint"); }
    void clickTintBox(int index) const {
        QTest::mouseClick(swatches(), Qt::LeftButton, {}, swatches()->swatchRect(index).center());
    }
    // The colour text that swatch `index` of the current palette gives.
    QString tintText(int index) {
        return ColourText::fromColour(controller.window().states().tintBoxColours.at(index));
    }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void modeMenu_data();
    void modeMenu();
    void liveVideoDisablesAndFillsEndOfVideoFields();
    void keyFilters_data();
    void keyFilters();
    void tintBoxSetsColourText();
    void tintSwatchesByKeyboard_data();
    void tintSwatchesByKeyboard();
    void tintSwatchesAreOneTabStop();
    void tintSwatchShowsFocus();
    void typedTextReachesTheSettings();
    void generateReportsMissingVideoThroughDialogs();
    void loadedProfileIsShown();
    void laterOptionChecks_data();
    void laterOptionChecks();
    void skinChoiceShowsPreviewAndPalette();
    void previewShowsTheTint();
    void selectionWindowsSayWhereHtml5IsSet_data();
    void selectionWindowsSayWhereHtml5IsSet();
    void tintDialog_data();
    void tintDialog();
    void outputFolderIsShown();
    void closeAsksFirst_data();
    void closeAsksFirst();
    void viewsMoveFocusAndTabs();
    void sizeBoxShowsSizeInForce();
    void everyControlStateIsShown_data();
    void everyControlStateIsShown();
};

void MainWindowTest::modeMenu_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("html5Visible");
    QTest::addColumn<bool>("liveVisible");
    QTest::addColumn<QString>("frameCaption");
    QTest::newRow("rtmp") << "mnuRtmpStreaming" << false << true << "Mode: Rtmp";
    QTest::newRow("pseudo") << "mnuPseudoStreaming" << true << false << "Mode: Pseudo";
    QTest::newRow("normal after rtmp") << "mnuNormalStreaming" << true << false << "Mode: Normal";
}

void MainWindowTest::modeMenu() {
    QFETCH(QString, item);
    QFETCH(bool, html5Visible);
    QFETCH(bool, liveVisible);
    QFETCH(QString, frameCaption);
    Window w;
    w.trigger("mnuRtmpStreaming");
    w.trigger(item);
    QCOMPARE(w.widget("chkHtml5")->isVisible(), html5Visible);
    QCOMPARE(w.widget("chkIsLive")->isVisible(), liveVisible);
    QCOMPARE(w.find<QGroupBox>("Frame1")->title(), frameCaption);
    QStringList checked;
    for (const char* name : {"mnuNormalStreaming", "mnuRtmpStreaming", "mnuPseudoStreaming"})
        if (w.find<QAction>(name)->isChecked())
            checked.append(name);
    QCOMPARE(checked, QStringList{item});
}

void MainWindowTest::liveVideoDisablesAndFillsEndOfVideoFields() {
    Window w;
    w.trigger("mnuRtmpStreaming");
    QTest::keyClicks(w.widget("txtRedirectURL"), "http://example.com/next");
    w.click("chkIsLive");
    const QStringList followers = {"txtRedirectURL", "lblRedirectURL",   "txtActionCode",
                                   "lblActionCode",  "chkShowEmbedCode", "optMultiple",
                                   "cmdIntroImage",  "cmdOutroImage"};
    for (const QString& name : followers)
        QVERIFY2(!w.widget(name)->isEnabled(), qPrintable(name));
    QCOMPARE(w.text("txtRedirectURL"), QStringLiteral("Not Applicable"));
    QCOMPARE(w.find<QPlainTextEdit>("txtActionCode")->toPlainText(),
             QStringLiteral("Not Applicable"));
    QVERIFY(w.find<QCheckBox>("chkIsLive")->isChecked());

    w.click("chkIsLive");
    for (const QString& name : followers)
        QVERIFY2(w.widget(name)->isEnabled(), qPrintable(name));
    QCOMPARE(w.text("txtRedirectURL"), QString());
    QCOMPARE(w.find<QPlainTextEdit>("txtActionCode")->toPlainText(), QString());
}

void MainWindowTest::keyFilters_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    // Typing starts with the whole box selected, so the first accepted key replaces its text.
    QTest::newRow("audio level: digits only") << "txtAudioLevel"
                                              << "7x5-"
                                              << "75";
    QTest::newRow("audio level: three digits") << "txtAudioLevel"
                                               << "1000"
                                               << "100";
    QTest::newRow("colour: hexadecimal either case") << "txtPlayerColor"
                                                     << "aG0Fz"
                                                     << "a0F";
    QTest::newRow("colour: six digits") << "txtPlayerColor"
                                        << "12345678"
                                        << "123456";
}

void MainWindowTest::keyFilters() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Window w;
    auto* edit = w.find<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), shown.chopped(1));
    const ProjectSettings& s = w.controller.settings();
    QCOMPARE(box == "txtAudioLevel" ? s.AudioLevel : s.PlayerColor, shown.chopped(1));
}

void MainWindowTest::tintBoxSetsColourText() {
    Window w;
    w.clickTintBox(14);
    QCOMPARE(w.text("txtPlayerColor"), QStringLiteral("231E01"));
    QCOMPARE(w.controller.settings().PlayerColor, QStringLiteral("231E01"));
    QVERIFY(w.widget("shpPlayerColor")->styleSheet().contains("#231e01"));
}

void MainWindowTest::tintSwatchesByKeyboard_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("picked");  // the swatch whose colour the text gets; -1: none picked
    using K = Qt::Key;
    QTest::newRow("space picks the first") << QList<int>{K::Key_Space} << 0;
    QTest::newRow("right, right, return")
        << QList<int>{K::Key_Right, K::Key_Right, K::Key_Return} << 2;
    QTest::newRow("down twice, keypad enter")
        << QList<int>{K::Key_Down, K::Key_Down, K::Key_Enter} << 12;
    QTest::newRow("down, right, up")
        << QList<int>{K::Key_Down, K::Key_Right, K::Key_Up, K::Key_Space} << 1;
    QTest::newRow("left stays in the row")
        << QList<int>{K::Key_Down, K::Key_Left, K::Key_Space} << 6;
    QTest::newRow("right stops at the row's end")
        << QList<int>{K::Key_Right, K::Key_Right, K::Key_Right, K::Key_Right,
                      K::Key_Right, K::Key_Right, K::Key_Right, K::Key_Space}
        << 5;
    QTest::newRow("down stops at the last row")
        << QList<int>{K::Key_Right, K::Key_Down, K::Key_Down, K::Key_Down, K::Key_Space} << 13;
    QTest::newRow("up stops at the first row") << QList<int>{K::Key_Up, K::Key_Space} << 0;
    QTest::newRow("arrows alone pick nothing") << QList<int>{K::Key_Right, K::Key_Down} << -1;
}

// Real key events to the focused palette: the arrows move along its grid, Space and Enter pick
// as a click does.
void MainWindowTest::tintSwatchesByKeyboard() {
    QFETCH(QList<int>, keys);
    QFETCH(int, picked);
    Window w;
    w.frmMain->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.frmMain.get()));
    const QString before = w.text("txtPlayerColor");
    w.swatches()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w.swatches()->hasFocus());
    for (int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    const QString expected = picked < 0 ? before : w.tintText(picked);
    QCOMPARE(w.text("txtPlayerColor"), expected);
    QCOMPARE(w.controller.settings().PlayerColor, expected);
}

// One stop in the Tab order, however many swatches the palette has.
void MainWindowTest::tintSwatchesAreOneTabStop() {
    Window w;
    QCOMPARE(w.controller.window().states().tintBoxColours.size(), 18);
    int stops = 0;
    QWidget* start = w.find<QLineEdit>("txtPlayerColor");
    for (QWidget* next = start->nextInFocusChain(); next != start; next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) != 0 &&
            (next == w.swatches() || w.swatches()->isAncestorOf(next)))
            ++stops;
    QCOMPARE(stops, 1);
}

// The current swatch is framed while the palette has the focus, and only then.
void MainWindowTest::tintSwatchShowsFocus() {
    Window w;
    w.frmMain->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.frmMain.get()));
    TintSwatches* palette = w.swatches();
    const auto around = [palette](int index) {
        return palette->grab(palette->swatchRect(index)).toImage();
    };
    const QImage first = around(0);
    const QImage second = around(1);
    palette->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(palette->hasFocus());
    QVERIFY(around(0) != first);
    QCOMPARE(around(1), second);
    QTest::keyClick(palette, Qt::Key_Right);
    QCOMPARE(around(0), first);
    QVERIFY(around(1) != second);
    w.find<QLineEdit>("txtPlayerColor")->setFocus();
    QTRY_COMPARE(around(1), second);
}

void MainWindowTest::typedTextReachesTheSettings() {
    Window w;
    w.find<QTabWidget>("sstThis")->setCurrentIndex(1);
    QTest::keyClicks(w.widget("txtServerPath"), "example.com/");
    QCOMPARE(w.controller.settings().ServerPath, QStringLiteral("http://example.com/"));
    QCOMPARE(w.widget("txtServerPath")->toolTip(), QStringLiteral(" http://example.com/ "));
    QCOMPARE(w.find<QTabWidget>("sstThis")->currentIndex(), 0);

    QTest::keyClicks(w.widget("txtActionCode"), "<b>");
    QTest::keyClick(w.widget("txtActionCode"), Qt::Key_Return);
    QTest::keyClicks(w.widget("txtActionCode"), "</b>");
    QCOMPARE(w.controller.settings().ActionCode, QStringLiteral("<b>\r\n</b>"));
}

void MainWindowTest::generateReportsMissingVideoThroughDialogs() {
    Window w;
    QVERIFY(w.widget("lblVideoFilesStatus")->isVisible());
    w.click("cmdGenerate");
    QCOMPARE(w.dialogs.texts(), QStringList{"PLEASE SAVE YOUR VIDEO FILE LIST FIRST!"});
    QVERIFY(w.views.log.contains("singleVideoDialog"));
}

void MainWindowTest::loadedProfileIsShown() {
    Window w;
    const QString profile = w.install.path("site.epe");
    ProfileFile::write(profile, {"SIN2", "1", "1", "1", "1", "255", "0000FF", "0", "0", "80", "0",
                                 "", "", "", "", "http://example.com/", "rtmp://media/app/"});
    w.dialogs.openAnswers.enqueue(QStringList{profile});
    w.trigger("mnuLoadProfile");
    QCOMPARE(w.frmMain->windowTitle(), "Vidlark Streaming Video 14 " + profile);
    QCOMPARE(w.text("txtServerPath"), QStringLiteral("http://example.com/"));
    QCOMPARE(w.text("txtVideoPath"), QStringLiteral("rtmp://media/app/"));
    QCOMPARE(w.text("txtAudioLevel"), QStringLiteral("80"));
    QCOMPARE(w.text("txtPlayerColor"), QStringLiteral("0000FF"));
    QCOMPARE(w.find<QComboBox>("cmbPlayerStyle")->currentText(), QStringLiteral("Skin-40-light"));
    QCOMPARE(w.find<QComboBox>("cmbPlayerSize")->currentIndex(), 1);
    QVERIFY(w.find<QCheckBox>("chkIsLive")->isChecked());
    QVERIFY(!w.find<QCheckBox>("chkShowBigPlayButton")->isChecked());
    QVERIFY(w.find<QAction>("mnuRtmpStreaming")->isChecked());
}

void MainWindowTest::laterOptionChecks_data() {
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("laterLines");
    QTest::newRow("inline play") << "chkPlaysInline"
                                 << "PlaysInline" << QStringList{"1"};
    QTest::newRow("muted start") << "chkMutedAutoPlay"
                                 << "MutedAutoPlay" << QStringList{"0", "1"};
    QTest::newRow("fit to page width") << "chkFluidSize"
                                       << "FluidSize" << QStringList{"0", "0", "1"};
}

// A click sets the option and a second clears it; a profile with its line on checks the box, and
// one saved without it (an older profile) clears it again. Messages about the setting name it as
// the box does, without the access key's mark.
void MainWindowTest::laterOptionChecks() {
    QFETCH(QString, check);
    QFETCH(QString, key);
    QFETCH(QStringList, laterLines);
    Window w;
    QCOMPARE(w.find<QCheckBox>(check)->text().remove(u'&'),
             QString::fromLatin1(ProfileLayout::byKey(key)->label));
    const auto isOn = [&w, setting = ProfileLayout::byKey(key)] {
        return ProfileLayout::textOf(*setting, w.controller.settings()) == QLatin1String("1");
    };
    w.click(check);
    QVERIFY(isOn());
    w.click(check);
    QVERIFY(!isOn());

    const QStringList values = ProfileListing::write({});
    const QString older = w.install.path("older.epe");
    ProfileFile::write(older, values);
    const QString newer = w.install.path("newer.epe");
    ProfileFile::write(newer, values + laterLines);
    for (const auto& [profile, on] : {std::pair{newer, true}, std::pair{older, false}}) {
        w.dialogs.openAnswers.enqueue(QStringList{profile});
        w.trigger("mnuLoadProfile");
        QCOMPARE(w.find<QCheckBox>(check)->isChecked(), on);
        QCOMPARE(isOn(), on);
    }
}

void MainWindowTest::skinChoiceShowsPreviewAndPalette() {
    Window w;
    QImage preview(40, 25, QImage::Format_RGB32);
    preview.fill(Qt::gray);
    QVERIFY(preview.save(w.install.path("app/swfs/Skin-40-light.jpg")));
    w.find<QTabWidget>("sstThis")->setCurrentIndex(0);
    auto* skins = w.find<QComboBox>("cmbPlayerStyle");
    skins->setFocus();
    QTest::keyClick(skins, Qt::Key_Down);
    QCOMPARE(w.controller.settings().PlayerStyle, 1);
    QCOMPARE(w.find<QTabWidget>("sstThis")->currentIndex(), 1);
    QCOMPARE(w.text("txtPlayerColor"), QStringLiteral("FFCC66"));
    QVERIFY(w.find<QLabel>("lblPlayerTintMessage")->text().contains("light color tint"));
    QCOMPARE(w.find<QLabel>("imgVideoPlayerStyle")->pixmap().size(), QSize(40, 25));
}

// The preview's control bar takes each chosen tint, as the published player's bar does.
void MainWindowTest::previewShowsTheTint() {
    Window w;
    QImage preview(40, 25, QImage::Format_RGB32);
    preview.fill(QColor(0x7F, 0x7F, 0x7F));
    for (int y = 18; y < 25; ++y)
        for (int x = 0; x < 40; ++x)
            preview.setPixelColor(x, y, QColor(0x26, 0x26, 0x2A));  // a dark skin's bar
    QVERIFY(preview.save(w.install.path("app/swfs/Skin-30-dark.jpg"), "JPG", 100));
    const auto colour = [&w] {
        const quint32 n = w.controller.settings().PlayerColorNumber;
        return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
    };
    for (int box : {3, 16}) {
        w.clickTintBox(box);
        const QImage shown = w.find<QLabel>("imgVideoPlayerStyle")->pixmap().toImage();
        QCOMPARE(shown.pixelColor(20, 21), colour());
        QVERIFY(shown.pixelColor(20, 5) != colour());
    }
}

void MainWindowTest::selectionWindowsSayWhereHtml5IsSet_data() {
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<QStringList>("fileButtons");  // disabled while HTML5 is off
    QTest::newRow("single video") << false
                                  << QStringList{"cmdMp4File", "cmdWebmFile", "cmdMakeMp4",
                                                 "cmdMakeWebm"};
    QTest::newRow("playlist") << true
                              << QStringList{"cmdMp4Files", "cmdWebmFiles", "cmdMakeCopies"};
}

// Both selection windows' HTML5 check box is disabled; its tool tip follows the main window's box.
void MainWindowTest::selectionWindowsSayWhereHtml5IsSet() {
    QFETCH(bool, playlist);
    QFETCH(QStringList, fileButtons);
    Window w;
    std::unique_ptr<QDialog> dialog;
    if (playlist)
        dialog = std::make_unique<FrmVideoFilesMulti>(w.controller);
    else
        dialog = std::make_unique<FrmVideoFilesSingle>(w.controller);
    const auto shownTip = [&dialog] {
        dialog->show();
        const QString tip = dialog->findChild<QCheckBox*>("chkHtml5")->toolTip();
        dialog->reject();  // closed as Cancel closes it, so the next showing starts afresh
        return tip;
    };
    // The Mp4 and WebM commands, disabled while HTML5 is off, say so; enabled, they keep their own.
    const auto buttonTips = [&dialog, &fileButtons] {
        dialog->show();
        QStringList tips;
        for (const QString& name : fileButtons) {
            const auto* button = dialog->findChild<QPushButton*>(name);
            tips << QString::number(button->isEnabled()) + u' ' + button->toolTip();
        }
        dialog->reject();
        return tips;
    };
    QVERIFY2(shownTip().contains("is off in the main window"), qPrintable(shownTip()));
    const QStringList off = buttonTips();
    for (const QString& tip : off)
        QVERIFY2(tip.startsWith(u'0') && tip.contains("is off in the main window"),
                 qPrintable(off.join('\n')));
    w.click("chkHtml5");
    QVERIFY(w.controller.settings().Html5);
    QVERIFY2(shownTip().contains("Set by"), qPrintable(shownTip()));
    const QStringList on = buttonTips();
    for (const QString& tip : on)
        QVERIFY2(!tip.contains("is off in the main window"), qPrintable(on.join('\n')));
}

void MainWindowTest::tintDialog_data() {
    QTest::addColumn<bool>("byDoubleClick");
    QTest::newRow("&Tint") << false;
    QTest::newRow("double click on the colour text") << true;
}

void MainWindowTest::tintDialog() {
    QFETCH(bool, byDoubleClick);
    Window w;
    w.dialogs.colourAnswers.enqueue(0x0000FFu);  // red
    if (byDoubleClick)
        QTest::mouseDClick(w.widget("txtPlayerColor"), Qt::LeftButton);
    else
        w.click("cmdChangePlayerColor");
    QCOMPARE(w.dialogs.colourRequests, QList<quint32>{0x0E0E63u});
    QCOMPARE(w.text("txtPlayerColor"), QStringLiteral("FF0000"));
}

void MainWindowTest::outputFolderIsShown() {
    Window w;
    w.dialogs.folderAnswers.enqueue(w.install.path("out"));
    w.click("cmdOutput");
    const QString folder = w.install.outputFolder();
    QCOMPARE(w.find<QLabel>("lblOutDir")->text(), folder);
    QCOMPARE(w.widget("lblOutDir")->toolTip(), ' ' + folder + ' ');
}

void MainWindowTest::closeAsksFirst_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("no keeps the window") << false;
    QTest::newRow("yes closes it") << true;
}

void MainWindowTest::closeAsksFirst() {
    QFETCH(bool, yes);
    Window w;
    w.dialogs.answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    w.trigger("mnuExit");
    QCOMPARE(w.dialogs.texts(), QStringList{"CLOSE SOFTWARE?"});
    QCOMPARE(w.frmMain->isVisible(), !yes);
}

// The desktop program's views act on the main window's own controls.
void MainWindowTest::viewsMoveFocusAndTabs() {
    Window w;
    QtViews views;
    views.attach(w.controller, *w.frmMain);
    views.bringTabToFront(2);
    QCOMPARE(w.find<QTabWidget>("sstThis")->currentIndex(), 2);
    views.focusControl("txtVideoPath");
    QCOMPARE(w.frmMain->focusWidget(), w.widget("txtVideoPath"));
}

// The sizes window refuses a line that is not a size, and a malformed entry of a hand-edited
// sizes file cannot be taken: the box stays on the entry whose size generation and the images
// use, and so does the setting a profile saves.
void MainWindowTest::sizeBoxShowsSizeInForce() {
    Window w;
    auto* sizes = w.find<QComboBox>("cmbPlayerSize");
    sizes->setFocus();
    QTest::keyClick(sizes, Qt::Key_Down);
    QCOMPARE(sizes->currentText(), QStringLiteral("640x360 Widescreen"));
    w.dialogs.answers.enqueue(Dialogs::Answer::Yes);  // "DO YOU WANT TO SAVE?"
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* text = dialog->findChild<QPlainTextEdit*>("txtVideoWindowSizes");
        text->setPlainText(text->toPlainText() + "bogus entry");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    w.trigger("mnuVideoPlayerSizes");
    QCOMPARE(w.dialogs.texts().value(1),
             QStringLiteral("DATA NOT SAVED. LINE 3 (\"bogus entry\") IS NOT A PLAYER SIZE OF THE "
                            "FORM WIDTHxHEIGHT WITH TWO WHOLE NUMBERS FROM 1 TO 32767. PLEASE "
                            "CORRECT IT AND SAVE AGAIN."));
    QCOMPARE(sizes->count(), 2);
    QCOMPARE(sizes->currentText(), QStringLiteral("640x360 Widescreen"));

    TextFile::writeLines(PlayerSizesFile::path(w.install.paths().config),
                         {"bogus entry", "480x270", "640x360 Widescreen"});
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    w.trigger("mnuVideoPlayerSizes");
    QCOMPARE(sizes->count(), 3);
    QCOMPARE(sizes->currentText(), QStringLiteral("640x360 Widescreen"));
    w.dialogs.messages.clear();

    QTest::keyClick(sizes, Qt::Key_Home);
    QCOMPARE(w.dialogs.texts(), QStringList{PlayerSizes::malformedEntryMessage("bogus entry")});
    QCOMPARE(sizes->currentText(), QStringLiteral("640x360 Widescreen"));
    QCOMPARE(w.controller.settings().PlayerSize, 2);
    QCOMPARE(w.controller.playerSizes().width(), 640);
}

// The window shows the model's control states by the rows of ControlStates: each row must name
// a control of the window with that property, and after the user's steps the control must hold
// the state's value (a widget's "visible" is its own flag, not whether its tab is in front).
void MainWindowTest::everyControlStateIsShown_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("start") << QStringList();
    QTest::newRow("live RTMP video")
        << QStringList{"mnuRtmpStreaming", "txtServerPath", "chkIsLive", "chkAutoPlay"};
    QTest::newRow("playlist in pseudo mode")
        << QStringList{"mnuPseudoStreaming", "optMultiple", "chkAutoPlay", "txtRedirectURL"};
}

void MainWindowTest::everyControlStateIsShown() {
    QFETCH(QStringList, steps);
    Window w;
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("mnu")))
            w.trigger(step);
        else if (step.startsWith(QLatin1String("txt")))
            QTest::keyClicks(w.widget(step), "http://example.com/" + step);
        else
            w.click(step);
    }
    const ControlStates& states = w.controller.window().states();
    const auto shown = [&](const char* control, ControlProperty state) {
        const char* property = ControlStates::qtProperty(state);
        QObject* target = w.frmMain->findChild<QObject*>(QLatin1String(control));
        if (target == nullptr || target->metaObject()->indexOfProperty(property) < 0)
            return QVariant();
        auto* widget = qobject_cast<QWidget*>(target);
        if (widget != nullptr && qstrcmp(property, "visible") == 0)
            return QVariant(!widget->isHidden());
        return target->property(property);
    };
    int differences = 0;
    for (const ControlStateRow<bool>& row : ControlStates::flagRows()) {
        const QVariant value = shown(row.control, row.property);
        if (value != QVariant(states.*row.state)) {
            qWarning("%s.%s shows %s", row.control, ControlStates::qtProperty(row.property),
                     qPrintable(value.toString()));
            ++differences;
        }
    }
    for (const ControlStateRow<QString>& row : ControlStates::textRows()) {
        const QVariant value = shown(row.control, row.property);
        if (value != QVariant(states.*row.state)) {
            qWarning("%s.%s shows \"%s\"", row.control, ControlStates::qtProperty(row.property),
                     qPrintable(value.toString()));
            ++differences;
        }
    }
    QCOMPARE(differences, 0);
}

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
