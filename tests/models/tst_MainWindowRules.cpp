#include <QtTest>

#include "FakeDialogs.h"
#include "FakeViews.h"
#include "models/MainWindowModel.h"
#include "models/MainWindowRules.h"
#include "settings/ProfileLayout.h"

class MainWindowRulesTest : public QObject {
    Q_OBJECT

  private slots:
    void toolTipsShowOnTheSettingsControl();
    void theCurrentValueChangesNothing_data();
    void theCurrentValueChangesNothing();
};

namespace {

const ProfileSetting* settingOf(const ProfileSetting::Field& field) {
    for (const ProfileSetting& setting : ProfileLayout::settings()) {
        if (setting.field == field)
            return &setting;
    }
    return nullptr;
}

// Every state and the settings, as text, to tell whether anything changed.
QStringList everything(const MainWindowModel& m) {
    QStringList all = ProfileLayout::values(m.settings());
    for (const ControlStateRow<bool>& row : ControlStates::flagRows())
        all.append(QLatin1String(row.control) + (m.states().*row.state ? "=1" : "=0"));
    for (const ControlStateRow<QString>& row : ControlStates::textRows())
        all.append(QLatin1String(row.control) + u'=' + m.states().*row.state);
    return all;
}

}  // namespace

// A rule's tool tip must be the one the window shows on the control of the same setting.
void MainWindowRulesTest::toolTipsShowOnTheSettingsControl() {
    for (const MainWindowRules::Rule& rule : MainWindowRules::rules()) {
        if (rule.toolTip == nullptr)
            continue;
        const ProfileSetting* setting = settingOf(rule.field);
        QVERIFY(setting != nullptr && setting->control != nullptr);
        const auto row = std::find_if(
            ControlStates::textRows().begin(), ControlStates::textRows().end(),
            [&](const ControlStateRow<QString>& r) { return r.state == rule.toolTip; });
        QVERIFY(row != ControlStates::textRows().end());
        QCOMPARE(QLatin1String(row->control), QLatin1String(setting->control));
        QCOMPARE(row->property, ControlProperty::ToolTip);
    }
}

void MainWindowRulesTest::theCurrentValueChangesNothing_data() {
    QTest::addColumn<int>("line");
    for (const MainWindowRules::Rule& rule : MainWindowRules::rules()) {
        if (std::holds_alternative<bool ProjectSettings::*>(rule.field))
            QTest::newRow(settingOf(rule.field)->key) << settingOf(rule.field)->line;
    }
}

// A check box set to the state it has runs no rule: live off would otherwise empty the end-of-video
// fields, and sharing on would ask again.
void MainWindowRulesTest::theCurrentValueChangesNothing() {
    QFETCH(int, line);
    const auto field = std::get<bool ProjectSettings::*>(ProfileLayout::atLine(line)->field);
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    v.onSocialDialog = [&m] { m.social().save(); };
    for (const bool on : {false, true}) {
        m.change(field, on);
        m.change(&ProjectSettings::RedirectURL, QStringLiteral("http://example.com/next"));
        const QStringList before = everything(m);
        const QStringList log = v.log;
        m.change(field, on);
        QCOMPARE(everything(m), before);
        QCOMPARE(v.log, log);
    }
}

QTEST_MAIN(MainWindowRulesTest)
#include "tst_MainWindowRules.moc"
