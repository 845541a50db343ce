#include <QtTest>
#include <QtWidgets>

#include "FakeClockRandom.h"
#include "FakeDialogs.h"
#include "FakeViews.h"
#include "TestInstallation.h"
#include "app/MainController.h"
#include "appearance/PlayerSizes.h"
#include "models/ControlStates.h"
#include "platform/TextFile.h"
#include "settings/PlayerSizesFile.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileListing.h"
#include "ui/FrmMain.h"
#include "ui/QtViews.h"

namespace {

// The main window over a throw-away installation, started as start-up leaves it; the user's
// answers come from the scripted dialogs.
struct Window {
    TestInstallation install;
    FakeDialogs dialogs;
    FakeViews views;
    FakeClock clock;
    FakeRandom random;
    MainController controller{install.appFolder(), dialogs, views, clock, random};
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
    QToolButton* tintBox(int index) const {
        for (QToolButton* box : frmMain->findChildren<QToolButton*>("pctPlayerColorTint"))
            if (box->property("index").toInt() == index)
                return box;
        qFatal("no tint box %d", index);
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
    void typedTextReachesTheSettings();
    void generateReportsMissingVideoThroughDialogs();
    void loadedProfileIsShown();
    void laterOptionChecks_data();
    void laterOptionChecks();
    void skinChoiceShowsPreviewAndPalette();
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
    QTest::mouseClick(w.tintBox(14), Qt::LeftButton);
    QCOMPARE(w.text("txtPlayerColor"), QStringLiteral("231E01"));
    QCOMPARE(w.controller.settings().PlayerColor, QStringLiteral("231E01"));
    QVERIFY(w.widget("shpPlayerColor")->styleSheet().contains("#231e01"));
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

    TextFile::writeLines(PlayerSizesFile::path(w.install.appFolder()),
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
