#include <QtTest>
#include <QtWidgets>

#include "FakeProgram.h"
#include "models/ControlStates.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileLayout.h"
#include "settings/ProfileListing.h"
#include "ui/FrmMain.h"
#include "ui/SettingsBinder.h"

namespace {

// The main window as start-up leaves it, over a throw-away installation. Ticking the share box
// saves the social dialog as it stands, as a user pressing Save would.
struct Window : FakeProgram {
    std::unique_ptr<FrmMain> frmMain;

    Window() {
        frmMain = std::make_unique<FrmMain>(controller);
        frmMain->show();
        views.onSocialDialog = [this] { controller.window().social().save(); };
    }

    void load(const QStringList& values) {
        const QString profile = install.path("profile.epe");
        ProfileFile::write(profile, values);
        dialogs.openAnswers.enqueue(QStringList{profile});
        frmMain->findChild<QAction*>("mnuLoadProfile")->trigger();
    }

    // What the window holds and shows: every setting's text and every control state's value.
    QStringList shown() {
        QStringList all = ProfileLayout::values(controller.settings());
        const ControlStates& states = controller.window().states();
        for (const ControlStateRow<bool>& row : ControlStates::flagRows())
            all.append(QLatin1String(row.control) + (states.*row.state ? "=1" : "=0"));
        for (const ControlStateRow<QString>& row : ControlStates::textRows())
            all.append(QLatin1String(row.control) + u'=' + states.*row.state);
        return all;
    }
};

// A fresh start's profile as a playlist in RTMP mode, where every check box of the window can
// be clicked.
QStringList baseProfile() {
    QStringList values = ProfileListing::write({});
    values[0] = QStringLiteral("MUL2");
    while (values.size() < int(ProfileLayout::settings().size()))
        values.append(ProfileLayout::startText(ProfileLayout::settings()[values.size()]));
    return values;
}

}  // namespace

class SettingsBinderTest : public QObject {
    Q_OBJECT

  private slots:
    void everyNamedControlIsBound();
    void unfitControlsAreReported_data();
    void unfitControlsAreReported();
    void clickAndLoadAgree_data();
    void clickAndLoadAgree();
};

// A renamed or retyped control in the window would leave its setting silently unshown.
void SettingsBinderTest::everyNamedControlIsBound() {
    Window w;
    const SettingsBinder binder(*w.frmMain, w.controller.window(),
                                [](const auto& change) { change(); });
    QCOMPARE(binder.unbound(), QStringList{});
}

void SettingsBinderTest::unfitControlsAreReported_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("bound");
    QTest::newRow("check box for a check") << "chkEncrypt"
                                           << "QCheckBox" << true;
    QTest::newRow("text box for a check") << "chkEncrypt"
                                          << "QLineEdit" << false;
    QTest::newRow("list for an index") << "cmbPlayerSize"
                                       << "QComboBox" << true;
    QTest::newRow("check box for an index") << "cmbPlayerSize"
                                            << "QCheckBox" << false;
    QTest::newRow("text box for a text") << "txtServerPath"
                                         << "QLineEdit" << true;
    QTest::newRow("label for a text") << "lblOutDir"
                                      << "QLabel" << true;
    QTest::newRow("list for a text") << "txtServerPath"
                                     << "QComboBox" << false;
}

void SettingsBinderTest::unfitControlsAreReported() {
    QFETCH(QString, control);
    QFETCH(QString, type);
    QFETCH(bool, bound);
    FakeDialogs dialogs;
    FakeViews views;
    MainWindowModel model(dialogs, views);
    QWidget window;
    QWidget* widget = type == "QCheckBox"   ? static_cast<QWidget*>(new QCheckBox(&window))
                      : type == "QLineEdit" ? static_cast<QWidget*>(new QLineEdit(&window))
                      : type == "QComboBox" ? static_cast<QWidget*>(new QComboBox(&window))
                                            : static_cast<QWidget*>(new QLabel(&window));
    widget->setObjectName(control);
    const SettingsBinder binder(window, model, [](const auto& change) { change(); });
    const QString key = QString::fromLatin1(
        std::find_if(ProfileLayout::settings().begin(), ProfileLayout::settings().end(),
                     [&](const ProfileSetting& s) { return control == QLatin1String(s.control); })
            ->key);
    QCOMPARE(!binder.unbound().contains(key + ": " + control), bound);
}

void SettingsBinderTest::clickAndLoadAgree_data() {
    QTest::addColumn<int>("line");
    for (const ProfileSetting& setting : ProfileLayout::settings()) {
        if (setting.kind == ProfileSetting::Kind::Check && setting.control != nullptr)
            QTest::newRow(setting.key) << setting.line;
    }
}

// A check box clicked, and the profile saved after that click read into a window, leave both
// windows alike: the settings, what the rules enabled, cleared and filled, and the tool tips.
void SettingsBinderTest::clickAndLoadAgree() {
    QFETCH(int, line);
    const ProfileSetting& setting = *ProfileLayout::atLine(line);
    Window clicked;
    clicked.load(baseProfile());
    clicked.frmMain->findChild<QCheckBox*>(setting.control)->click();
    const QStringList saved = ProfileLayout::values(clicked.controller.settings());
    QVERIFY(saved.value(line - 1, ProfileLayout::startText(setting)) != baseProfile()[line - 1]);

    Window loaded;
    loaded.load(baseProfile());
    loaded.load(saved);
    QCOMPARE(clicked.shown(), loaded.shown());
    QCOMPARE(clicked.frmMain->findChild<QCheckBox*>(setting.control)->isChecked(),
             loaded.frmMain->findChild<QCheckBox*>(setting.control)->isChecked());
}

QTEST_MAIN(SettingsBinderTest)
#include "tst_SettingsBinder.moc"
