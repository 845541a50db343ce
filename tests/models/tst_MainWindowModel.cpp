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
};

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
    m.setVideoPath(first == 1 ? QStringLiteral("typed") : m.settings().VideoPath);
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
    m.setVideoPath("http://cdn.example.com/");
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
    m.setIsLive(true);
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
    m.setAutoPlay(true);
    m.setIsLive(true);
    m.setRedirectURL("http://example.com/next");
    m.setIsLive(false);
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
    m.setIsLive(true);
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
    m.setIsLive(true);
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
    m.setAutoPlay(true);
    QVERIFY(!m.states().cmdIntroImageEnabled);
    QVERIFY(m.states().cmdIntroImage2Enabled);
    m.setAutoPlay(false);
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
    m.setAutoProgress(true);
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
    m.setOutDir(before);
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
    m.setServerPath("http://a/");
    m.setVideoPath("rtmp://b/");
    m.setAffiliateLink("http://c/");
    m.setRedirectURL("http://d/");
    QCOMPARE(m.states().txtServerPathToolTip, QStringLiteral(" http://a/ "));
    QCOMPARE(m.states().txtVideoPathToolTip, QStringLiteral(" rtmp://b/ "));
    QCOMPARE(m.states().txtAffiliateLinkToolTip, QStringLiteral(" http://c/ "));
    QCOMPARE(m.states().txtRedirectURLToolTip, QStringLiteral(" http://d/ "));
}

void MainWindowModelTest::serverPathBringsMarketingTabForward() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.setServerPath("a");
    QCOMPARE(v.log, QStringList{});  // already in front
    m.showTab(2);
    m.setServerPath("ab");
    QCOMPARE(v.log, (QStringList{"tab:2", "tab:0"}));
    QCOMPARE(m.states().currentTab, 0);
}

void MainWindowModelTest::socialDialogOpensOnlyByHand() {
    FakeDialogs d;
    FakeViews v;
    MainWindowModel m(d, v);
    m.setLoadingProfile(true);
    m.setSocialShare(true);
    m.setLoadingProfile(false);
    QCOMPARE(v.log, QStringList{});
    m.setSocialShare(false);
    QCOMPARE(v.log, QStringList{});
    m.setSocialShare(true);
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

QTEST_GUILESS_MAIN(MainWindowModelTest)
#include "tst_MainWindowModel.moc"
