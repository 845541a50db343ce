#include "models/MainWindowModel.h"

#include "models/MainWindowRules.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "platform/Views.h"

namespace {

QString toolTipOf(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

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
        change(&ProjectSettings::IsLive, false);
        m_states.chkIsLiveVisible = false;
    }
    if (mode == StreamingMode::Normal)
        change(&ProjectSettings::VideoPath, QString());
    else if (mode == StreamingMode::Rtmp)
        change(&ProjectSettings::VideoPath, QStringLiteral("rtmp://"));
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

template <typename T>
void MainWindowModel::store(T ProjectSettings::*field, const T& value) {
    m_settings.*field = value;
    const MainWindowRules::Rule* rule = MainWindowRules::of(field);
    if (rule == nullptr)
        return;
    if constexpr (std::is_same_v<T, QString>) {
        if (rule->toolTip != nullptr)
            m_states.*rule->toolTip = toolTipOf(value);
    }
    if (rule->follow != nullptr)
        rule->follow(*this);
}

template <typename T>
bool MainWindowModel::handOver(const std::vector<Taker<T>>& takers, T ProjectSettings::*field,
                               const T& value) {
    for (const auto& [taken, take] : takers) {
        if (taken == field) {
            take(value);
            return true;
        }
    }
    return false;
}

void MainWindowModel::change(bool ProjectSettings::*field, bool on) {
    if (m_settings.*field != on)
        store(field, on);
}

void MainWindowModel::change(int ProjectSettings::*field, int index) {
    if (m_settings.*field != index && !handOver(m_indexTakers, field, index))
        store(field, index);
}

void MainWindowModel::change(quint32 ProjectSettings::*field, quint32 number) {
    store(field, number);
}

void MainWindowModel::change(QString ProjectSettings::*field, const QString& text) {
    if (!handOver(m_textTakers, field, text))
        store(field, text);
}

void MainWindowModel::takeChanges(int ProjectSettings::*field, std::function<void(int)> take) {
    m_indexTakers.emplace_back(field, std::move(take));
}

void MainWindowModel::takeChanges(QString ProjectSettings::*field,
                                  std::function<void(const QString&)> take) {
    m_textTakers.emplace_back(field, std::move(take));
}

void MainWindowModel::chooseOutputFolder() {
    const std::optional<QString> chosen =
        m_dialogs.browseFolder(QStringLiteral("Select Your Output Folder:"));
    if (chosen && !chosen->isEmpty())
        change(&ProjectSettings::OutDir, *chosen);
    const QString normalised = FileOps::withTrailingSeparator(m_settings.OutDir);
    if (normalised != m_settings.OutDir)
        change(&ProjectSettings::OutDir, normalised);
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
