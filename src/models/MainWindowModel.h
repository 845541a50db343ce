#pragma once

#include <functional>
#include <utility>
#include <vector>

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

    // The one way a setting changes, whether the user changed its control or a profile's line did:
    // the value is stored and its rule (MainWindowRules) runs. A check or a list index set to the
    // value it has changes nothing. A text runs its rule on every set, as its box's handler did:
    // its tool tip, the tint's number, the Marketing tab brought forward.
    void change(bool ProjectSettings::*field, bool on);
    void change(int ProjectSettings::*field, int index);
    void change(quint32 ProjectSettings::*field, quint32 number);
    void change(QString ProjectSettings::*field, const QString& text);
    // A rule the controller keeps (see MainWindowRules): a change of `field` calls `take`, which
    // stores the value itself, or refuses it.
    void takeChanges(int ProjectSettings::*field, std::function<void(int)> take);
    void takeChanges(QString ProjectSettings::*field, std::function<void(const QString&)> take);
    // chkHtml5, also set by the video-selection dialogs.
    void setHtml5(bool on) override { change(&ProjectSettings::Html5, on); }

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
    friend class MainWindowRules;

    template <typename T>
    using Taker = std::pair<T ProjectSettings::*, std::function<void(const T&)>>;
    template <typename T>
    void store(T ProjectSettings::*field, const T& value);
    template <typename T>
    static bool handOver(const std::vector<Taker<T>>& takers, T ProjectSettings::*field,
                         const T& value);
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
    std::vector<Taker<int>> m_indexTakers;
    std::vector<Taker<QString>> m_textTakers;
};
