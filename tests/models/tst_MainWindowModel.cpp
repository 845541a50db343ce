#include <QtTest>

#include "FakeDialogs.h"
#include "FakeViews.h"
#include "models/MainWindowModel.h"

class MainWindowModelTest : public QObject {
    Q_OBJECT

  private slots:
    void startValues();
    void modeChanges_data();
    void modeChanges();
    void choosingTheCurrentModeChangesNothing();
    void html5HiddenInRtmpKeepsItsValue();
    void liveVideoDisablesAndFills();
    void clearingLiveEmptiesUserText();
    void liveSwitchesPlaylistToSingle();
    void leavingRtmpClearsLive();
    void autoPlayOnlyTouchesFirstIntroCommand();
    void singleOrPlaylistSetsMarker_data();
    void singleOrPlaylistSetsMarker();
    void outputFolder_data();
    void outputFolder();
    void toolTipsFollowText();
    void serverPathBringsMarketingTabForward();
    void socialDialogOpensOnlyByHand();
    void socialDialogEditsCopies();
    void socialBoxFollowsTheDialog_data();
    void socialBoxFollowsTheDialog();
    void disabledControlsSayWhy_data();
    void disabledControlsSayWhy();
};

namespace {

// The steps of a user, by the control each acts on.
void act(MainWindowModel& m, const QString& step) {
    if (step == "rtmp")
        m.selectStreamingMode(StreamingMode::Rtmp);
    else if (step == "playlist")
        m.selectMultiple();
    else if (step == "single")
        m.selectSingle();
    else if (step == "live")
        m.change(&ProjectSettings::IsLive, true);
    else if (step == "not live")
        m.change(&ProjectSettings::IsLive, false);
    else if (step == "auto start")
        m.change(&ProjectSettings::AutoPlay, true);
    else if (step == "no auto start")
        m.change(&ProjectSettings::AutoPlay, false);
    else
        qFatal("unknown step %s", qPrintable(step));
}

QString shownState(const ControlStates& states, const QString& control, ControlProperty property) {
    for (const ControlStateRow<QString>& row : ControlStates::textRows())
        if (control == QLatin1String(row.control) && row.property == property)
            return states.*row.state;
    return QStringLiteral("<no row>");
}

}  // namespace

void MainWindowModelTest::startValues() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    const ProjectSettings& s = m.settings();
    QCOMPARE(s.streamingMode, StreamingMode::Normal);
    QCOMPARE(s.ServerPath, QStringLiteral("http://"));
    QCOMPARE(s.AudioLevel, QStringLiteral("50"));
    QVERIFY(s.ShowBigPlayButton);
    QVERIFY(!s.Multiple && !s.Html5 && !s.IsLive && !s.AutoPlay && !s.Encrypt);
    QCOMPARE(m.states().Frame1Caption, QStringLiteral("Mode: Normal"));
    QVERIFY(m.states().mnuNormalStreamingChecked);
    QVERIFY(!m.states().chkIsLiveVisible);
    QVERIFY(!m.states().chkAutoProgressEnabled);
    QVERIFY(m.states().optSingleEnabled && m.states().optMultipleEnabled);
}

void MainWindowModelTest::modeChanges_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("videoPath");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("html5Visible");
    QTest::addColumn<bool>("liveVisible");
    QTest::newRow("rtmp") << 1 << 2 << "rtmp://"
                          << "Mode: Rtmp" << false << true;
    QTest::newRow("normal after rtmp empties") << 2 << 1 << ""
                                               << "Mode: Normal" << true << false;
    QTest::newRow("pseudo after rtmp keeps") << 2 << 3 << "rtmp://"
                                             << "Mode: Pseudo" << true << false;
    QTest::newRow("pseudo keeps typed path") << 1 << 3 << "typed"
                                             << "Mode: Pseudo" << true << false;
}

void MainWindowModelTest::modeChanges() {
    QFETCH(int, first);
    QFETCH(int, second);
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.selectStreamingMode(static_cast<StreamingMode>(first));
    m.change(&ProjectSettings::VideoPath,
             first == 1 ? QStringLiteral("typed") : m.settings().VideoPath);
    m.selectStreamingMode(static_cast<StreamingMode>(second));
    QTEST(m.settings().VideoPath, "videoPath");
    QTEST(m.states().Frame1Caption, "caption");
    QTEST(m.states().chkHtml5Visible, "html5Visible");
    QTEST(m.states().chkIsLiveVisible, "liveVisible");
    QCOMPARE(int(m.settings().streamingMode), second);
    const int checked = int(m.states().mnuNormalStreamingChecked) +
                        int(m.states().mnuRtmpStreamingChecked) +
                        int(m.states().mnuPseudoStreamingChecked);
    QCOMPARE(checked, 1);
}

void MainWindowModelTest::choosingTheCurrentModeChangesNothing() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.change(&ProjectSettings::VideoPath, "http://cdn.example.com/");
    m.selectStreamingMode(StreamingMode::Normal);
    QCOMPARE(m.settings().VideoPath, QStringLiteral("http://cdn.example.com/"));
}

void MainWindowModelTest::html5HiddenInRtmpKeepsItsValue() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.setHtml5(true);
    m.selectStreamingMode(StreamingMode::Rtmp);
    QVERIFY(!m.states().chkHtml5Visible);
    QVERIFY(m.settings().Html5);
    m.selectStreamingMode(StreamingMode::Normal);
    QVERIFY(m.states().chkHtml5Visible);
    QVERIFY(m.settings().Html5);
}

void MainWindowModelTest::liveVideoDisablesAndFills() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.selectStreamingMode(StreamingMode::Rtmp);
    m.settings().IntroImageName = "intro.jpg";
    m.change(&ProjectSettings::IsLive, true);
    const ControlStates& c = m.states();
    QCOMPARE(m.settings().RedirectURL, QStringLiteral("Not Applicable"));
    QCOMPARE(m.settings().ActionCode, QStringLiteral("Not Applicable"));
    QCOMPARE(c.txtRedirectURLToolTip, QStringLiteral(" Not Applicable "));
    QVERIFY(!c.optMultipleEnabled && !c.cmdIntroImageEnabled && !c.cmdIntroImage2Enabled);
    QVERIFY(!c.cmdOutroImageEnabled && !c.cmdOutroImage2Enabled);
    QVERIFY(!c.lblRedirectURLEnabled && !c.txtRedirectURLEnabled);
    QVERIFY(!c.lblActionCodeEnabled && !c.txtActionCodeEnabled && !c.chkShowEmbedCodeEnabled);
    QCOMPARE(m.settings().IntroImageName, QStringLiteral("intro.jpg"));
}

void MainWindowModelTest::clearingLiveEmptiesUserText() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.selectStreamingMode(StreamingMode::Rtmp);
    m.change(&ProjectSettings::AutoPlay, true);
    m.change(&ProjectSettings::IsLive, true);
    m.change(&ProjectSettings::RedirectURL, "http://example.com/next");
    m.change(&ProjectSettings::IsLive, false);
    QCOMPARE(m.settings().RedirectURL, QString());
    QCOMPARE(m.settings().ActionCode, QString());
    const ControlStates& c = m.states();
    QVERIFY(c.optMultipleEnabled && c.cmdIntroImageEnabled && c.cmdOutroImage2Enabled);
    QVERIFY(c.txtRedirectURLEnabled && c.txtActionCodeEnabled && c.chkShowEmbedCodeEnabled);
}

void MainWindowModelTest::liveSwitchesPlaylistToSingle() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.setSelectionChecks([] { return true; }, [] { return false; });
    m.selectMultiple();
    QVERIFY(m.states().lblVideoFilesStatusVisible);
    m.selectStreamingMode(StreamingMode::Rtmp);
    m.change(&ProjectSettings::IsLive, true);
    QVERIFY(!m.settings().Multiple);
    QVERIFY(!m.states().optMultipleEnabled);
    QVERIFY(!m.states().chkAutoProgressEnabled);
    QVERIFY(!m.states().lblVideoFilesStatusVisible);
}

void MainWindowModelTest::leavingRtmpClearsLive() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.selectStreamingMode(StreamingMode::Rtmp);
    m.change(&ProjectSettings::IsLive, true);
    m.selectStreamingMode(StreamingMode::Pseudo);
    QVERIFY(!m.settings().IsLive);
    QVERIFY(!m.states().chkIsLiveVisible);
    QVERIFY(m.states().optMultipleEnabled);
    QCOMPARE(m.settings().RedirectURL, QString());
    QCOMPARE(m.settings().ActionCode, QString());
}

void MainWindowModelTest::autoPlayOnlyTouchesFirstIntroCommand() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.change(&ProjectSettings::AutoPlay, true);
    QVERIFY(!m.states().cmdIntroImageEnabled);
    QVERIFY(m.states().cmdIntroImage2Enabled);
    m.change(&ProjectSettings::AutoPlay, false);
    QVERIFY(m.states().cmdIntroImageEnabled);
}

void MainWindowModelTest::singleOrPlaylistSetsMarker_data() {
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<bool>("singleComplete");
    QTest::addColumn<bool>("playlistComplete");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<bool>("autoProgressEnabled");
    QTest::newRow("single complete") << false << true << false << false << false;
    QTest::newRow("single incomplete") << false << false << true << true << false;
    QTest::newRow("playlist complete") << true << false << true << false << true;
    QTest::newRow("playlist incomplete") << true << true << false << true << true;
}

void MainWindowModelTest::singleOrPlaylistSetsMarker() {
    QFETCH(bool, multiple);
    QFETCH(bool, singleComplete);
    QFETCH(bool, playlistComplete);
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.setSelectionChecks([=] { return singleComplete; }, [=] { return playlistComplete; });
    m.change(&ProjectSettings::AutoProgress, true);
    multiple ? m.selectMultiple() : m.selectSingle();
    QTEST(m.states().lblVideoFilesStatusVisible, "marker");
    QTEST(m.states().chkAutoProgressEnabled, "autoProgressEnabled");
    QVERIFY(m.settings().AutoProgress);  // disabling keeps the value
}

void MainWindowModelTest::outputFolder_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QVariant>("chosen");  // invalid = cancelled
    QTest::addColumn<QString>("after");
    const QString sep = QDir::separator();
    QTest::newRow("folder gets separator") << "" << QVariant("/home/u/out") << "/home/u/out" + sep;
    QTest::newRow("root stays") << "" << QVariant("/") << "/";
    QTest::newRow("cancel keeps") << "/old/" << QVariant() << "/old/";
    QTest::newRow("cancel still normalises") << "/old" << QVariant() << "/old" + sep;
    QTest::newRow("cancel with nothing") << "" << QVariant() << "";
}

void MainWindowModelTest::outputFolder() {
    QFETCH(QString, before);
    QFETCH(QVariant, chosen);
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.change(&ProjectSettings::OutDir, before);
    d.folderAnswers.enqueue(chosen.isValid() ? std::optional<QString>(chosen.toString())
                                             : std::nullopt);
    m.chooseOutputFolder();
    QTEST(m.settings().OutDir, "after");
    QCOMPARE(d.folderTitles, QStringList{"Select Your Output Folder:"});
    QCOMPARE(m.states().lblOutDirToolTip, " " + m.settings().OutDir + " ");
}

void MainWindowModelTest::toolTipsFollowText() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.change(&ProjectSettings::ServerPath, "http://a/");
    m.change(&ProjectSettings::VideoPath, "rtmp://b/");
    m.change(&ProjectSettings::AffiliateLink, "http://c/");
    m.change(&ProjectSettings::RedirectURL, "http://d/");
    QCOMPARE(m.states().txtServerPathToolTip, QStringLiteral(" http://a/ "));
    QCOMPARE(m.states().txtVideoPathToolTip, QStringLiteral(" rtmp://b/ "));
    QCOMPARE(m.states().txtAffiliateLinkToolTip, QStringLiteral(" http://c/ "));
    QCOMPARE(m.states().txtRedirectURLToolTip, QStringLiteral(" http://d/ "));
}

void MainWindowModelTest::serverPathBringsMarketingTabForward() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.change(&ProjectSettings::ServerPath, "a");
    QCOMPARE(v.log, QStringList{});  // already in front
    m.showTab(2);
    m.change(&ProjectSettings::ServerPath, "ab");
    QCOMPARE(v.log, (QStringList{"tab:2", "tab:0"}));
    QCOMPARE(m.states().currentTab, 0);
}

void MainWindowModelTest::socialDialogOpensOnlyByHand() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.setLoadingProfile(true);
    m.change(&ProjectSettings::SocialShare, true);
    m.setLoadingProfile(false);
    QCOMPARE(v.log, QStringList{});
    m.change(&ProjectSettings::SocialShare, false);
    QCOMPARE(v.log, QStringList{});
    m.change(&ProjectSettings::SocialShare, true);
    QCOMPARE(v.log, QStringList{"socialDialog"});
}

void MainWindowModelTest::socialDialogEditsCopies() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    SocialDialogModel& social = m.social();
    social.load();
    QCOMPARE(social.txtShareURL, QStringLiteral("http://"));
    social.txtShareTitle = "Holiday";
    social.txtShareURL = "http://example.com/page";
    social.save();
    QCOMPARE(m.settings().ShareTitle, QStringLiteral("Holiday"));
    social.refresh();
    social.cancel();
    QCOMPARE(m.settings().ShareTitle, QStringLiteral("Holiday"));
    QCOMPARE(m.settings().ShareURL, QStringLiteral("http://example.com/page"));
    social.load();
    QCOMPARE(social.txtShareURL, QStringLiteral("http://example.com/page"));
}

void MainWindowModelTest::socialBoxFollowsTheDialog_data() {
    QTest::addColumn<QString>("answer");  // what the user does in the dialog
    QTest::addColumn<bool>("ticked");
    QTest::newRow("save") << "save" << true;
    QTest::newRow("cancel") << "cancel" << false;
    QTest::newRow("window closed") << "close" << false;
}

// Ticking the box opens the dialog; only saving its title and link keeps it ticked.
void MainWindowModelTest::socialBoxFollowsTheDialog() {
    QFETCH(QString, answer);
    QFETCH(bool, ticked);
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    v.onSocialDialog = [&] {
        m.social().txtShareTitle = "Holiday";
        if (answer == "save")
            m.social().save();
        else if (answer == "cancel")
            m.social().cancel();
    };
    m.change(&ProjectSettings::SocialShare, true);
    QCOMPARE(v.log, QStringList{"socialDialog"});
    QCOMPARE(m.settings().SocialShare, ticked);
    QCOMPARE(m.settings().ShareTitle, ticked ? QStringLiteral("Holiday") : QString());
    // Ticked again after a cancel, the dialog asks again.
    v.onSocialDialog = [&] { m.social().save(); };
    m.change(&ProjectSettings::SocialShare, true);
    QVERIFY(m.settings().SocialShare);
}

void MainWindowModelTest::disabledControlsSayWhy_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("toolTip");  // a part of it; empty: no tool tip
    QTest::newRow("single: auto progress") << QStringList{} << "chkAutoProgress"
                                           << "Only for a playlist";
    QTest::newRow("playlist: auto progress") << QStringList{"playlist"} << "chkAutoProgress"
                                             << "";
    QTest::newRow("back to single") << QStringList{"playlist", "single"} << "chkAutoProgress"
                                    << "Only for a playlist";
    QTest::newRow("intro image") << QStringList{} << "cmdIntroImage"
                                 << "in idle condition";
    QTest::newRow("auto start: intro image") << QStringList{"auto start"} << "cmdIntroImage"
                                             << "Auto Start Video is on";
    QTest::newRow("auto start: intro tab's command")
        << QStringList{"auto start"} << "cmdIntroImage2"
        << "";
    QTest::newRow("auto start off again")
        << QStringList{"auto start", "no auto start"} << "cmdIntroImage"
        << "in idle condition";
    QTest::newRow("live: intro image") << QStringList{"rtmp", "live"} << "cmdIntroImage"
                                       << "live video";
    QTest::newRow("live and auto start: intro image")
        << QStringList{"auto start", "rtmp", "live"} << "cmdIntroImage"
        << "live video";
    QTest::newRow("live: intro tab's command") << QStringList{"rtmp", "live"} << "cmdIntroImage2"
                                               << "live video";
    QTest::newRow("live: outro image") << QStringList{"rtmp", "live"} << "cmdOutroImage"
                                       << "live video";
    QTest::newRow("live: outro tab's command") << QStringList{"rtmp", "live"} << "cmdOutroImage2"
                                               << "live video";
    QTest::newRow("live: playlist option") << QStringList{"rtmp", "live"} << "optMultiple"
                                           << "turn Live Video Setup off";
    QTest::newRow("live: end-of-video code") << QStringList{"rtmp", "live"} << "txtActionCode"
                                             << "live video";
    QTest::newRow("live: embedding") << QStringList{"rtmp", "live"} << "chkShowEmbedCode"
                                     << "live video";
    QTest::newRow("live off: outro image")
        << QStringList{"rtmp", "live", "not live"} << "cmdOutroImage"
        << "after the end of video";
    QTest::newRow("live off: playlist option")
        << QStringList{"rtmp", "live", "not live"} << "optMultiple"
        << "";
}

// Each control a rule disables says why while it is disabled, and no longer once enabled; every
// disabled control the window shows has a reason (labels are the captions of such controls).
void MainWindowModelTest::disabledControlsSayWhy() {
    QFETCH(QStringList, steps);
    QFETCH(QString, control);
    QFETCH(QString, toolTip);
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    for (const QString& step : steps)
        act(m, step);
    const QString shown = shownState(m.states(), control, ControlProperty::ToolTip);
    if (toolTip.isEmpty())
        QCOMPARE(shown, QString());
    else
        QVERIFY2(shown.contains(toolTip), qPrintable(shown));
    for (const ControlStateRow<bool>& row : ControlStates::flagRows()) {
        const QString name = QLatin1String(row.control);
        if (row.property != ControlProperty::Enabled || m.states().*row.state ||
            name.startsWith(QLatin1String("lbl")))
            continue;
        const QString reason = shownState(m.states(), name, ControlProperty::ToolTip);
        QVERIFY2(!reason.trimmed().isEmpty() && reason != "<no row>", qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(MainWindowModelTest)
#include "tst_MainWindowModel.moc"
