#pragma once

#include <functional>

#include "models/ControlStates.h"
#include "models/SelectionHost.h"
#include "models/SocialDialogModel.h"
#include "settings/ProjectSettings.h"

class Dialogs;
class Views;

// The main window frmMain as plain state: the settings its controls hold, the states that follow
// from them, and the rules that tie one setting to another. Each public operation is what the
// named control's handler does; the window only forwards events here and shows the state.
class MainWindowModel : public SelectionHost {
  public:
    MainWindowModel(Dialogs& dialogs, Views& views);

    const ProjectSettings& settings() const { return m_settings; }
    ProjectSettings& settings() { return m_settings; }
    const ControlStates& states() const { return m_states; }
    SocialDialogModel& social() { return m_social; }

    // Silent completeness checks of the two video selections.
    void setSelectionChecks(std::function<bool()> singleComplete,
                            std::function<bool()> playlistComplete);

    // mnuNormalStreaming_Click, mnuRtmpStreaming_Click, mnuPseudoStreaming_Click.
    void selectStreamingMode(StreamingMode mode);
    // optSingle_Click / optMultiple_Click.
    void selectSingle();
    void selectMultiple();

    // Check boxes: a change of state runs its rules; setting the current state does nothing.
    void setIsLive(bool on);
    void setAutoPlay(bool on);
    // Turned on by hand, it asks for the share title and link; a cancel leaves it off.
    void setSocialShare(bool on);
    void setHtml5(bool on) override;
    void setAutoProgress(bool on) { m_settings.AutoProgress = on; }
    void setShowBigPlayButton(bool on) { m_settings.ShowBigPlayButton = on; }
    void setEncrypt(bool on) { m_settings.Encrypt = on; }
    void setPlaysInline(bool on) { m_settings.PlaysInline = on; }
    void setMutedAutoPlay(bool on) { m_settings.MutedAutoPlay = on; }
    void setFluidSize(bool on) { m_settings.FluidSize = on; }
    void setShowEmbedCode(bool on) { m_settings.ShowEmbedCode = on; }

    // Text boxes and labels: the change handlers keep the tool tips on the current text.
    void setServerPath(const QString& text);
    void setVideoPath(const QString& text);
    void setOutDir(const QString& text);
    void setAffiliateLink(const QString& text);
    void setRedirectURL(const QString& text);
    void setActionCode(const QString& text) { m_settings.ActionCode = text; }
    void setAudioLevel(const QString& text) { m_settings.AudioLevel = text; }

    // cmdOutput_Click: the folder browser; the folder text always ends in a separator.
    void chooseOutputFolder();
    // cmdHelpServerPath_Click / cmdHelpVideoPath_Click.
    void helpServerPath();
    void helpVideoPath();
    // The tab control sstThis.
    void showTab(int index);
    void setCaption(const QString& caption) { m_states.caption = caption; }
    // lblPlayerTintMessage and the colours of the 18 tint boxes.
    void setTintPalette(const QString& message, const QList<quint32>& boxColours) {
        m_states.lblPlayerTintMessage = message;
        m_states.tintBoxColours = boxColours;
    }

    // Set while a profile is applied: keeps the social-sharing dialog closed.
    void setLoadingProfile(bool loading) { m_loadingProfile = loading; }
    bool loadingProfile() const { return m_loadingProfile; }

    // SelectionHost
    StreamingMode streamingMode() const override { return m_settings.streamingMode; }
    bool html5() const override { return m_settings.Html5; }
    bool videoFilesStatusVisible() const override { return m_states.lblVideoFilesStatusVisible; }
    void setVideoFilesStatusVisible(bool visible) override;

  private:
    void updateSelectionMarker(bool complete);
    void setImageCommandsEnabled(bool enabled);
    // The tool tips of the controls the rules disable follow their enabled states.
    void explainDisabledControls();

    Dialogs& m_dialogs;
    Views& m_views;
    ProjectSettings m_settings;
    ControlStates m_states;
    SocialDialogModel m_social{m_settings};
    std::function<bool()> m_singleComplete;
    std::function<bool()> m_playlistComplete;
    bool m_loadingProfile = false;
};
