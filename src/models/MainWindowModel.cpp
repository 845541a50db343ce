#include "models/MainWindowModel.h"

#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "platform/Views.h"

namespace {

QString toolTipOf(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

const QString kNotApplicable = QStringLiteral("Not Applicable");

// A control's tool tip: what it does, or while a rule disables it, why.
QString toolTipOf(bool enabled, const QString& use, const QString& reason) {
    const QString& text = enabled ? use : reason;
    return text.isEmpty() ? QString() : toolTipOf(text);
}

const QString kLiveReason = QStringLiteral("Not used for a live video (Live Video Setup is on)");
const QString kPlaylistReason =
    QStringLiteral("Only for a playlist (Stream Multiple Videos via Playlist)");
const QString kSingleLiveReason =
    QStringLiteral("A live video is one stream: turn Live Video Setup off for a playlist");
const QString kAutoStartReason = QStringLiteral(
    "Not used while Auto Start Video is on: the video starts without an intro image");
const QString kIntroUse =
    QStringLiteral("Image to show on the video player in idle condition (optional)");
const QString kOutroUse =
    QStringLiteral("Image to show on the video player after the end of video (optional)");

}  // namespace

MainWindowModel::MainWindowModel(Dialogs& dialogs, Views& views)
    : m_dialogs(dialogs), m_views(views) {
    m_states.txtServerPathToolTip = toolTipOf(m_settings.ServerPath);
    explainDisabledControls();
}

// Live Video Setup disables the most, so its reason comes first where two rules disable a
// control.
void MainWindowModel::explainDisabledControls() {
    ControlStates& s = m_states;
    const bool live = m_settings.IsLive;
    s.chkAutoProgressToolTip = toolTipOf(s.chkAutoProgressEnabled, {}, kPlaylistReason);
    s.optMultipleToolTip = toolTipOf(s.optMultipleEnabled, {}, kSingleLiveReason);
    s.cmdIntroImageToolTip =
        toolTipOf(s.cmdIntroImageEnabled, kIntroUse, live ? kLiveReason : kAutoStartReason);
    s.cmdIntroImage2ToolTip = toolTipOf(s.cmdIntroImage2Enabled, {}, kLiveReason);
    s.cmdOutroImageToolTip = toolTipOf(s.cmdOutroImageEnabled, kOutroUse, kLiveReason);
    s.cmdOutroImage2ToolTip = toolTipOf(s.cmdOutroImage2Enabled, {}, kLiveReason);
    s.txtActionCodeToolTip = toolTipOf(s.txtActionCodeEnabled, {}, kLiveReason);
    s.chkShowEmbedCodeToolTip = toolTipOf(s.chkShowEmbedCodeEnabled, {}, kLiveReason);
}

void MainWindowModel::setSelectionChecks(std::function<bool()> singleComplete,
                                         std::function<bool()> playlistComplete) {
    m_singleComplete = std::move(singleComplete);
    m_playlistComplete = std::move(playlistComplete);
}

void MainWindowModel::selectStreamingMode(StreamingMode mode) {
    if (mode == m_settings.streamingMode)
        return;
    m_states.mnuNormalStreamingChecked = mode == StreamingMode::Normal;
    m_states.mnuRtmpStreamingChecked = mode == StreamingMode::Rtmp;
    m_states.mnuPseudoStreamingChecked = mode == StreamingMode::Pseudo;
    m_settings.streamingMode = mode;
    if (mode == StreamingMode::Rtmp) {
        m_states.chkHtml5Visible = false;
        m_states.chkIsLiveVisible = true;
    } else {
        m_states.chkHtml5Visible = true;
        setIsLive(false);
        m_states.chkIsLiveVisible = false;
    }
    if (mode == StreamingMode::Normal)
        setVideoPath(QString());
    else if (mode == StreamingMode::Rtmp)
        setVideoPath(QStringLiteral("rtmp://"));
    static const QString captions[] = {QString(), QStringLiteral("Mode: Normal"),
                                       QStringLiteral("Mode: Rtmp"),
                                       QStringLiteral("Mode: Pseudo")};
    m_states.Frame1Caption = captions[static_cast<int>(mode)];
}

void MainWindowModel::selectSingle() {
    m_settings.Multiple = false;
    m_states.chkAutoProgressEnabled = false;
    updateSelectionMarker(m_singleComplete && m_singleComplete());
}

void MainWindowModel::selectMultiple() {
    m_settings.Multiple = true;
    m_states.chkAutoProgressEnabled = true;
    updateSelectionMarker(m_playlistComplete && m_playlistComplete());
}

void MainWindowModel::updateSelectionMarker(bool complete) {
    m_states.lblVideoFilesStatusVisible = !complete;
    explainDisabledControls();
}

void MainWindowModel::setVideoFilesStatusVisible(bool visible) {
    m_states.lblVideoFilesStatusVisible = visible;
}

void MainWindowModel::setImageCommandsEnabled(bool enabled) {
    m_states.cmdIntroImageEnabled = enabled;
    m_states.cmdIntroImage2Enabled = enabled;
    m_states.cmdOutroImageEnabled = enabled;
    m_states.cmdOutroImage2Enabled = enabled;
}

void MainWindowModel::setIsLive(bool on) {
    if (on == m_settings.IsLive)
        return;
    m_settings.IsLive = on;
    if (on) {
        if (m_settings.Multiple)
            selectSingle();
        m_states.optMultipleEnabled = false;
        setImageCommandsEnabled(false);
    } else {
        m_states.optMultipleEnabled = true;
        // Clearing enables all four image commands, whatever auto start says.
        setImageCommandsEnabled(true);
    }
    m_states.lblRedirectURLEnabled = !on;
    m_states.txtRedirectURLEnabled = !on;
    setRedirectURL(on ? kNotApplicable : QString());
    m_states.lblActionCodeEnabled = !on;
    m_states.txtActionCodeEnabled = !on;
    setActionCode(on ? kNotApplicable : QString());
    m_states.chkShowEmbedCodeEnabled = !on;
    explainDisabledControls();
}

void MainWindowModel::setAutoPlay(bool on) {
    if (on == m_settings.AutoPlay)
        return;
    m_settings.AutoPlay = on;
    m_states.cmdIntroImageEnabled = !on;
    explainDisabledControls();
}

void MainWindowModel::setSocialShare(bool on) {
    if (on == m_settings.SocialShare)
        return;
    m_settings.SocialShare = on;
    if (on && !m_loadingProfile) {
        m_social.load();
        m_views.showSocialDialog();
        // Ticking the box asks for the title and link; without them it stays as it was.
        if (!m_social.saved())
            m_settings.SocialShare = false;
    }
}

void MainWindowModel::setHtml5(bool on) {
    m_settings.Html5 = on;
}

void MainWindowModel::setServerPath(const QString& text) {
    m_settings.ServerPath = text;
    m_states.txtServerPathToolTip = toolTipOf(text);
    if (m_states.currentTab != 0)
        showTab(0);
}

void MainWindowModel::setVideoPath(const QString& text) {
    m_settings.VideoPath = text;
    m_states.txtVideoPathToolTip = toolTipOf(text);
}

void MainWindowModel::setOutDir(const QString& text) {
    m_settings.OutDir = text;
    m_states.lblOutDirToolTip = toolTipOf(text);
}

void MainWindowModel::setAffiliateLink(const QString& text) {
    m_settings.AffiliateLink = text;
    m_states.txtAffiliateLinkToolTip = toolTipOf(text);
}

void MainWindowModel::setRedirectURL(const QString& text) {
    m_settings.RedirectURL = text;
    m_states.txtRedirectURLToolTip = toolTipOf(text);
}

void MainWindowModel::chooseOutputFolder() {
    const std::optional<QString> chosen =
        m_dialogs.browseFolder(QStringLiteral("Select Your Output Folder:"));
    if (chosen && !chosen->isEmpty())
        setOutDir(*chosen);
    const QString normalised = FileOps::withTrailingSeparator(m_settings.OutDir);
    if (normalised != m_settings.OutDir)
        setOutDir(normalised);
}

void MainWindowModel::helpServerPath() {
    m_views.showQuickHelp(1);
}

void MainWindowModel::helpVideoPath() {
    m_views.showQuickHelp(2);
}

void MainWindowModel::showTab(int index) {
    m_states.currentTab = index;
    m_views.bringTabToFront(index);
}
